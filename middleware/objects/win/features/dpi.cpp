#include "middleware/objects/win/features/dpi.h"

#include <cstring>

#include "middleware/objects/device/performance_features.h"
#include "middleware/objects/win/features/record_copy.h"
#include "winsupport/co_task_string.h"

namespace quill::server {

static_assert(sizeof(_stDpiStageType) == 100);

STDMETHODIMP CDpi::GetDpiLevel(_stSensitivityType* pstSensitivity) {
  if (!pstSensitivity) return E_POINTER;
  return WithHandler([&](DriverHandler& channel) {
    device::SensitivityRecord level;
    const HResult hr = device::GetDpiLevel(channel, level);
    if (Succeeded(hr)) ToTypelib(level, *pstSensitivity);
    return hr;
  });
}

STDMETHODIMP CDpi::SetDpiLevel(_stSensitivityType stSensitivity) {
  return WithHandler([&](DriverHandler& channel) {
    return device::SetDpiLevel(channel, FromTypelib(stSensitivity));
  });
}

STDMETHODIMP CDpi::GetDpiStages(ULONG* pulSize, _stDpiStageType** pstDpiStage) {
  if (!pulSize || !pstDpiStage) return E_POINTER;
  *pstDpiStage = nullptr;
  return WithHandler([&](DriverHandler& channel) -> HResult {
    device::DpiStageRecord stages;
    bool filled = false;
    const HResult hr = device::GetDpiStages(channel, slot_, stages, filled);
    if (!filled) return hr;
    *pulSize = sizeof(_stDpiStageType);
    com::CoTaskMemPtr<_stDpiStageType> block(
        static_cast<_stDpiStageType*>(CoTaskMemAlloc(sizeof(_stDpiStageType))));
    if (!block.Get()) return E_OUTOFMEMORY;
    std::memset(block.Get(), 0, sizeof(_stDpiStageType));
    ToTypelib(stages, *block.Get());
    *pstDpiStage = block.Detach();
    return hr;
  });
}

STDMETHODIMP CDpi::SetDpiStages(ULONG /*ulSize*/, _stDpiStageType* pstDpiStage) {
  if (!pstDpiStage) return E_POINTER;
  const device::DpiStageRecord stages = FromTypelib(*pstDpiStage);
  return WithHandler(
      [&](DriverHandler& channel) { return device::SetDpiStages(channel, slot_, stages); });
}

}  // namespace quill::server
