// CDeviceEnumeration, the coclass DeviceEnumeration: hands out closed device type objects.
#pragma once
#include <ServerLib.h>

#include "middleware/objects/device_type_core.h"
#include "middleware/objects/win/com/com_object.h"
#include "middleware/objects/win/com/connection_point.h"
#include "middleware/objects/win/feature_slots.h"

namespace quill::server {

class CDeviceEnumeration final
    : public com::ComObject<IDeviceEnumeration, com::EventSource<_IDeviceEnumerationEvents>> {
 public:
  // The product: device type objects on the system's HID devices (or the emulator's pipe)
  // with the product's feature makers.
  CDeviceEnumeration();
  CDeviceEnumeration(DeviceTypeCore::HandlerMaker make_handler, const FeatureMakerTable& makers);

  STDMETHODIMP OpenDeviceEnumerationInterface() override;
  STDMETHODIMP CloseDeviceEnumerationInterface() override;
  STDMETHODIMP EnumDeviceType(USHORT usPid, IDeviceType** ppDeviceType) override;
  STDMETHODIMP GetMiddlewareVersion(ULONG* lpVersion) override;

 private:
  DeviceTypeCore::HandlerMaker make_handler_;
  const FeatureMakerTable& makers_;
};

}  // namespace quill::server
