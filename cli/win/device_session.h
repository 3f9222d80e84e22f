// The client's connection to the middleware: COM in this thread's apartment, DeviceEnumeration,
// and the device type object opened on the Quillfern.
#pragma once
#include <windows.h>

#include <string>

#include "ServerLib.h"
#include "winsupport/com_ptr.h"

namespace quill::cli {

class DeviceSession {
 public:
  DeviceSession();
  ~DeviceSession();
  DeviceSession(const DeviceSession&) = delete;
  DeviceSession& operator=(const DeviceSession&) = delete;

  // Creates DeviceEnumeration and a device type object. On failure error() says why.
  bool Create();
  // Opens the device type object on the Quillfern's product ID (device search).
  bool Open();

  IDeviceEnumeration* enumeration() const { return enumeration_.Get(); }
  IDeviceType* device() const { return device_.Get(); }
  const std::string& error() const { return error_; }

  // The device type's IMeridex (created on first use) and new managers from it.
  HRESULT Meridex(com::ComPtr<IMeridex>& out);
  HRESULT ProfileManager(com::ComPtr<IMeridexProfileManager>& out);
  HRESULT MacroManager(com::ComPtr<IMeridexMacroManager>& out);

 private:
  template <class Manager>
  HRESULT NewManager(com::ComPtr<Manager>& out);

  bool com_ready_ = false;
  com::ComPtr<IDeviceEnumeration> enumeration_;
  com::ComPtr<IDeviceType> device_;
  com::ComPtr<IMeridex> meridex_;
  std::string error_;
};

// An interface of a profile object's sub-object (IDpi, ILedStatus) for this profile's slot.
template <class T>
HRESULT ProfilePart(IMeridexProfileObject* profile, com::ComPtr<T>& out) {
  com::ComPtr<IUnknown> part;
  HRESULT hr = profile->CreateSubInterface(__uuidof(T), part.Put());
  if (FAILED(hr)) return hr;
  return part.As(out);
}

// A short English description of an HRESULT the middleware returns, with its code.
std::string DescribeResult(HRESULT hr);

// UTF-8 of a string the middleware allocated, which is freed here (null gives "").
std::string TakeCoTaskString(LPWSTR text);
// The same for a BSTR.
std::string TakeBstr(BSTR text);

}  // namespace quill::cli
