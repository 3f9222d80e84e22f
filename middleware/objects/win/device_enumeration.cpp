#include "middleware/objects/win/device_enumeration.h"

#include <utility>

#include "middleware/objects/device_info_text.h"
#include "middleware/objects/win/device_type.h"
#include "middleware/objects/win/system_driver_handler.h"

namespace quill::server {

CDeviceEnumeration::CDeviceEnumeration()
    : CDeviceEnumeration(&MakeSystemDriverHandler, ProductFeatureMakers()) {}

CDeviceEnumeration::CDeviceEnumeration(DeviceTypeCore::HandlerMaker make_handler,
                                       const FeatureMakerTable& makers)
    : make_handler_(std::move(make_handler)), makers_(makers) {}

STDMETHODIMP CDeviceEnumeration::OpenDeviceEnumerationInterface() { return S_OK; }
STDMETHODIMP CDeviceEnumeration::CloseDeviceEnumerationInterface() { return S_OK; }

// The product ID is given later, to OpenDeviceInterface.
STDMETHODIMP CDeviceEnumeration::EnumDeviceType(USHORT, IDeviceType** ppDeviceType) {
  return com::HandOut(com::MakeComObject<CDeviceType>(make_handler_, makers_), ppDeviceType);
}

STDMETHODIMP CDeviceEnumeration::GetMiddlewareVersion(ULONG* lpVersion) {
  if (!lpVersion) return E_POINTER;
  *lpVersion = kMiddlewareVersion;
  return S_OK;
}

}  // namespace quill::server
