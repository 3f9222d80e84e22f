#include "middleware/objects/win/module.h"

namespace quill::server {
namespace {
HINSTANCE g_module = nullptr;
}  // namespace

void SetModuleHandle(HINSTANCE module) { g_module = module; }
HINSTANCE ModuleHandle() { return g_module; }

std::wstring ModulePath() {
  // Paths may exceed MAX_PATH; grow until the name is not cut.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(g_module, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

}  // namespace quill::server
