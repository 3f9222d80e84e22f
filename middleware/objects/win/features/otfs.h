// COTFS (IOTFS): an on/off status kept in the object only (0 at creation); no device traffic.
#pragma once
#include <ServerLib.h>

#include "middleware/objects/win/com/com_object.h"
#include "middleware/objects/win/com/connection_point.h"

namespace quill::server {

class CDeviceType;

class COTFS final : public com::ComObject<IOTFS, com::EventSource<_IOTFSEvents>> {
 public:
  explicit COTFS(CDeviceType&) {}

  // 0 and 1 are stored; any other value is ignored.
  STDMETHODIMP SetStatus(LONG lStatus) override {
    if (lStatus == 0 || lStatus == 1) status_ = lStatus;
    return S_OK;
  }
  STDMETHODIMP GetStatus(LONG* lpStatus) override {
    if (!lpStatus) return E_POINTER;
    *lpStatus = status_;
    return S_OK;
  }

 private:
  LONG status_ = 0;
};

}  // namespace quill::server
