#include "middleware/objects/win/features/dpi_settings.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <span>

#include "winsupport/co_task_string.h"

namespace quill::server {
namespace {

constexpr size_t kLevelWords = kDpiLevelListSize / 4;

void PutWord(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}
uint32_t TakeWord(const uint8_t* at) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(at[i]) << (8 * i);
  return value;
}

}  // namespace

STDMETHODIMP CDpiSettings::SetSettings(LONG lSettings) {
  return WithHandler([&](DriverHandler& handler) {
    std::array<uint8_t, kSettingWordSize> block{};
    PutWord(block.data(), static_cast<uint32_t>(lSettings));
    return handler.WriteSettingWord(block);
  });
}

STDMETHODIMP CDpiSettings::GetSettings(LONG* lpSettings) {
  if (!lpSettings) return E_POINTER;
  return WithHandler([&](DriverHandler& handler) {
    std::array<uint8_t, kSettingWordSize> request{};
    std::array<uint8_t, kSettingWordSize> reply{};
    const HResult hr = handler.ReadSettingWord(request, reply);
    if (Succeeded(hr)) *lpSettings = static_cast<LONG>(TakeWord(reply.data()));
    return hr;
  });
}

STDMETHODIMP CDpiSettings::GetLevelList(LONG* lpNumLevels, LONG** lppLevels) {
  if (!lpNumLevels || !lppLevels) return E_POINTER;
  *lpNumLevels = 0;
  *lppLevels = nullptr;
  return WithHandler([&](DriverHandler& handler) -> HResult {
    std::array<uint8_t, kDpiLevelListSize> table{};
    const HResult hr = handler.ReadDpiLevelList(table);
    if (Failed(hr)) return hr;
    // The table: a count word, then the levels.
    const size_t count = std::min<size_t>(TakeWord(table.data()), kLevelWords - 1);
    if (count == 0) return hr;
    com::CoTaskMemPtr<LONG> levels(static_cast<LONG*>(CoTaskMemAlloc(count * sizeof(LONG))));
    if (!levels.Get()) return E_OUTOFMEMORY;
    for (size_t i = 0; i < count; ++i) levels.Get()[i] = static_cast<LONG>(TakeWord(&table[4 * (i + 1)]));
    *lpNumLevels = static_cast<LONG>(count);
    *lppLevels = levels.Detach();
    return hr;
  });
}

STDMETHODIMP CDpiSettings::GetLevelListManaged(LONG* lpNumLevels, SAFEARRAY** lppLevels) {
  if (!lpNumLevels || !lppLevels) return E_POINTER;
  *lppLevels = nullptr;
  LONG* levels = nullptr;
  const HRESULT hr = GetLevelList(lpNumLevels, &levels);
  if (FAILED(hr)) return hr;
  com::CoTaskMemPtr<LONG> owned(levels);
  SAFEARRAY* array = SafeArrayCreateVector(VT_I4, 0, static_cast<ULONG>(*lpNumLevels));
  if (!array) {
    *lpNumLevels = 0;
    return E_OUTOFMEMORY;
  }
  for (LONG i = 0; i < *lpNumLevels; ++i) SafeArrayPutElement(array, &i, &levels[i]);
  *lppLevels = array;
  return hr;
}

STDMETHODIMP CDpiSettings::SetLevelList(LONG lNumLevels, LONG* lpLevels) {
  if (lNumLevels < 0 || static_cast<size_t>(lNumLevels) > kLevelWords - 1) return E_INVALIDARG;
  if (lNumLevels > 0 && !lpLevels) return E_POINTER;
  return WithHandler([&](DriverHandler& handler) -> HResult {
    com::CoTaskMemPtr<uint8_t> table(static_cast<uint8_t*>(CoTaskMemAlloc(kDpiLevelListSize)));
    if (!table.Get()) return E_OUTOFMEMORY;
    std::memset(table.Get(), 0, kDpiLevelListSize);
    PutWord(table.Get(), static_cast<uint32_t>(lNumLevels));
    for (LONG i = 0; i < lNumLevels; ++i) PutWord(table.Get() + 4 * (i + 1), static_cast<uint32_t>(lpLevels[i]));
    handler.WriteDpiLevelList(std::span<const uint8_t, kDpiLevelListSize>(table.Get(), kDpiLevelListSize));
    return S_OK;
  });
}

}  // namespace quill::server
