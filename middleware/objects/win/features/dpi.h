// CDpi (IDpi): the current DPI and the DPI stages of one profile block. Slot 0 addresses the
// active profile (objects made through IProfile), 1 to 5 an on-board profile.
#pragma once
#include <ServerLib.h>

#include <cstdint>

#include "middleware/objects/win/com/com_object.h"
#include "middleware/objects/win/com/connection_point.h"
#include "middleware/objects/win/features/device_bound.h"

namespace quill::server {

class CDpi final : public com::ComObject<IDpi, com::EventSource<_IDpiEvents>>,
                   private DeviceBound {
 public:
  explicit CDpi(CDeviceType& owner, int32_t slot = 0) : DeviceBound(owner), slot_(slot) {}

  STDMETHODIMP GetDpiLevel(_stSensitivityType* pstSensitivity) override;
  STDMETHODIMP SetDpiLevel(_stSensitivityType stSensitivity) override;
  // One CoTaskMem block of sizeof(_stDpiStageType) (100 bytes), the caller's to free. Handed
  // out whenever the profile block could be read, even when the current-stage read then fails.
  STDMETHODIMP GetDpiStages(ULONG* pulSize, _stDpiStageType** pstDpiStage) override;
  STDMETHODIMP SetDpiStages(ULONG ulSize, _stDpiStageType* pstDpiStage) override;

 private:
  int32_t slot_;
};

}  // namespace quill::server
