// The client's connection to the middleware: COM in this thread's apartment, DeviceEnumeration,
// and the device type object opened on the Quillfern.
#pragma once
#include <windows.h>

#include <string>

#include "ServerLib.h"
#include "middleware/objects/win/com/com_ptr.h"

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

 private:
  bool com_ready_ = false;
  com::ComPtr<IDeviceEnumeration> enumeration_;
  com::ComPtr<IDeviceType> device_;
  std::string error_;
};

// A short English description of an HRESULT the middleware returns, with its code.
std::string DescribeResult(HRESULT hr);

// UTF-8 of a string the middleware allocated, which is freed here (null gives "").
std::string TakeCoTaskString(LPWSTR text);

}  // namespace quill::cli
