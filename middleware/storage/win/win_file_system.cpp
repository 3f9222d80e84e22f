#include "middleware/storage/win/win_file_system.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "middleware/storage/storage_errors.h"

namespace quill::storage {

namespace {

constexpr DWORD kChunk = 1 << 20;

HResult LastError() { return HResultFromWin32(GetLastError()); }

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (valid()) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  // Closes now; false when closing failed (the last writes may not have reached the file).
  bool Close() {
    const bool closed = CloseHandle(handle_) != FALSE;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

// The folder part of `path` ("." for a bare name).
std::wstring FolderOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return L".";
  if (slash == 0 || (slash == 2 && path[1] == L':')) return path.substr(0, slash + 1);
  return path.substr(0, slash);
}

HResult WriteAll(HANDLE file, std::span<const uint8_t> bytes) {
  for (size_t offset = 0; offset < bytes.size();) {
    const DWORD piece = static_cast<DWORD>(std::min<size_t>(kChunk, bytes.size() - offset));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + offset, piece, &written, nullptr)) return LastError();
    if (written != piece) return kE_FAIL;
    offset += piece;
  }
  return FlushFileBuffers(file) ? kS_OK : LastError();
}

// Whether the file at `path` opens for writing, or is not there.
bool WritableOrMissing(const std::wstring& path) {
  Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.valid() || GetLastError() == ERROR_FILE_NOT_FOUND;
}

}  // namespace

HResult WinFileSystem::ReadAll(const std::u16string& path, size_t max_size, std::vector<uint8_t>& bytes,
                                bool& found) {
  bytes.clear();
  found = false;
  Handle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? kS_OK : kE_HANDLE;
  }
  found = true;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return kE_FAIL;
  if (static_cast<unsigned long long>(size.QuadPart) > max_size) return kE_FILE_TOO_LARGE;
  std::vector<uint8_t> read(static_cast<size_t>(size.QuadPart));
  for (size_t offset = 0; offset < read.size();) {
    const DWORD piece = static_cast<DWORD>(std::min<size_t>(kChunk, read.size() - offset));
    DWORD got = 0;
    if (!::ReadFile(file.get(), read.data() + offset, piece, &got, nullptr)) return LastError();
    if (got == 0) return kE_FAIL;  // the file shrank under us
    offset += got;
  }
  bytes = std::move(read);
  return kS_OK;
}

HResult WinFileSystem::ReplaceAll(const std::u16string& path, std::span<const uint8_t> bytes) {
  const std::wstring target = Wide(path);
  // A target that cannot be opened for writing as it stands (read-only, refused, held by another
  // process, a folder) is not replaced, though the file beside it could take its place.
  if (!WritableOrMissing(target)) return kE_HANDLE;
  wchar_t beside[MAX_PATH];
  if (GetTempFileNameW(FolderOf(target).c_str(), L"TVO", 0, beside) == 0) return kE_HANDLE;
  HResult hr;
  {
    Handle file(CreateFileW(beside, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
      DeleteFileW(beside);
      return kE_HANDLE;
    }
    hr = WriteAll(file.get(), bytes);
    if (!file.Close() && Succeeded(hr)) hr = LastError();
  }
  if (Succeeded(hr) && !MoveFileExW(beside, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    hr = LastError();
  }
  if (Failed(hr)) DeleteFileW(beside);
  return hr;
}

}  // namespace quill::storage
