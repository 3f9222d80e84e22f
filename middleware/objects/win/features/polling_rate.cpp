#include "middleware/objects/win/features/polling_rate.h"

#include <array>

#include "middleware/objects/device/performance_features.h"
#include "winsupport/co_task_string.h"

namespace quill::server {

STDMETHODIMP CPollingRate::SetRate(LONG lRate) {
  return WithHandler([&](DriverHandler& channel) { return device::SetRate(channel, lRate); });
}

STDMETHODIMP CPollingRate::GetRate(LONG* lpRate) {
  if (!lpRate) return E_POINTER;
  return WithHandler([&](DriverHandler& channel) {
    int32_t rate = 0;
    const HResult hr = device::GetRate(channel, rate);
    if (Succeeded(hr)) *lpRate = rate;
    return hr;
  });
}

STDMETHODIMP CPollingRate::GetRateList(LONG* lpNumRates, LONG** lppRates) {
  if (!lpNumRates || !lppRates) return E_POINTER;
  *lpNumRates = 0;
  *lppRates = nullptr;
  static constexpr std::array<LONG, 3> kRates = {1000, 500, 125};
  com::CoTaskMemPtr<LONG> list(static_cast<LONG*>(CoTaskMemAlloc(sizeof(kRates))));
  if (!list.Get()) return E_OUTOFMEMORY;
  for (size_t i = 0; i < kRates.size(); ++i) list.Get()[i] = kRates[i];
  *lpNumRates = static_cast<LONG>(kRates.size());
  *lppRates = list.Detach();
  return S_OK;
}

STDMETHODIMP CPollingRate::GetRateListManaged(LONG* lpNumRates, SAFEARRAY** lppRates) {
  if (lpNumRates) *lpNumRates = 0;
  if (lppRates) *lppRates = nullptr;
  return E_FAIL;
}

}  // namespace quill::server
