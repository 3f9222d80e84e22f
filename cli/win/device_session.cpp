#include "cli/win/device_session.h"

#include <objbase.h>

#include "cli/record_output.h"
#include "middleware/typelib/quillfern_ids.h"
#include "winsupport/com_ptr.h"

namespace quill::cli {

DeviceSession::DeviceSession() {
  com_ready_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

DeviceSession::~DeviceSession() {
  // Interfaces go before the apartment does, IMeridex before its device type object.
  meridex_.Reset();
  device_.Reset();
  enumeration_.Reset();
  if (com_ready_) CoUninitialize();
}

bool DeviceSession::Create() {
  if (!com_ready_) {
    error_ = "COM could not be initialised";
    return false;
  }
  HRESULT hr = CoCreateInstance(CLSID_DeviceEnumeration, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IDeviceEnumeration, enumeration_.PutVoid());
  if (FAILED(hr)) {
    error_ = "the middleware is not available (" + DescribeResult(hr) +
             "); register it with: regsvr32 TorvoMiddlewareServer.dll";
    return false;
  }
  hr = enumeration_->EnumDeviceType(QUILLFERN_PID, device_.Put());
  if (FAILED(hr)) {
    error_ = "the middleware gave no device type object (" + DescribeResult(hr) + ")";
    return false;
  }
  return true;
}

bool DeviceSession::Open() {
  HRESULT hr = device_->OpenDeviceInterface(QUILLFERN_PID);
  if (FAILED(hr)) {
    error_ = "no Quillfern found (" + DescribeResult(hr) + ")";
    return false;
  }
  return true;
}

HRESULT DeviceSession::Meridex(com::ComPtr<IMeridex>& out) {
  if (!meridex_) {
    HRESULT hr = device_->CreateMeridexInterface(meridex_.Put());
    if (FAILED(hr)) return hr;
    if (!meridex_) return E_POINTER;
  }
  out = meridex_;
  return S_OK;
}

template <class Manager>
HRESULT DeviceSession::NewManager(com::ComPtr<Manager>& out) {
  com::ComPtr<IMeridex> meridex;
  HRESULT hr = Meridex(meridex);
  if (FAILED(hr)) return hr;
  com::ComPtr<IUnknown> manager;
  hr = meridex->CreateInterfaceInstance(__uuidof(Manager), manager.Put());
  if (FAILED(hr)) return hr;
  return manager.As(out);
}

HRESULT DeviceSession::ProfileManager(com::ComPtr<IMeridexProfileManager>& out) { return NewManager(out); }
HRESULT DeviceSession::MacroManager(com::ComPtr<IMeridexMacroManager>& out) { return NewManager(out); }

std::string DescribeResult(HRESULT hr) {
  const char* what = nullptr;
  switch (static_cast<uint32_t>(hr)) {
    case 0x80004001u: what = "not provided for this device"; break;
    case 0x80004003u: what = "null pointer"; break;
    case 0x80004004u: what = "the device could not be reached"; break;
    case 0x80004005u: what = "the device reported a failure"; break;
    case 0x80070005u: what = "refused"; break;
    case 0x80070006u: what = "the device is not open"; break;
    case 0x8007000Eu: what = "out of memory"; break;
    case 0x80070057u: what = "invalid argument"; break;
    case 0x80070103u: what = "no matching device"; break;
    case 0x80004002u: what = "interface not provided"; break;
    case 0x80040154u: what = "class not registered"; break;
  }
  std::string text = HexCode(static_cast<uint32_t>(hr));
  return what ? std::string(what) + ", " + text : text;
}

std::string TakeCoTaskString(LPWSTR text) {
  if (!text) return {};
  std::string utf8 = Utf8FromUtf16(reinterpret_cast<const char16_t*>(text));
  CoTaskMemFree(text);
  return utf8;
}

}  // namespace quill::cli

namespace quill::cli {

std::string TakeBstr(BSTR text) {
  if (!text) return {};
  std::string utf8 = Utf8FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text), SysStringLen(text)));
  SysFreeString(text);
  return utf8;
}

}  // namespace quill::cli
