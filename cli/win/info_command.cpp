// info: what the middleware and the mouse say about themselves.
#include <cstdio>

#include "cli/win/commands.h"

namespace quill::cli {

int RunInfo(DeviceSession& session, const std::vector<std::string>& args, Output& out) {
  if (!args.empty()) {
    out.Error("info takes no arguments");
    return kExitUsage;
  }
  IDeviceType* device = session.device();
  Record r;
  ULONG middleware = 0;
  if (SUCCEEDED(session.enumeration()->GetMiddlewareVersion(&middleware))) r.Number("middleware version", middleware);

  LPWSTR text = nullptr;
  HRESULT hr = device->GetDriverVersion(&text);
  r.Text("driver version", SUCCEEDED(hr) ? TakeCoTaskString(text) : DescribeResult(hr));

  if (!session.Open()) {
    out.Print(r);
    out.Error(session.error());
    return kExitFailed;
  }
  int status = kExitOk;
  auto text_field = [&](const char* name, HRESULT (STDMETHODCALLTYPE IDeviceType::*get)(LPWSTR*)) {
    LPWSTR value = nullptr;
    HRESULT result = (device->*get)(&value);
    if (SUCCEEDED(result)) {
      r.Text(name, TakeCoTaskString(value));
    } else {
      r.Text(name, "unavailable: " + DescribeResult(result));
      status = kExitFailed;
    }
  };
  text_field("firmware version", &IDeviceType::GetFirmwareVersion);
  text_field("serial number", &IDeviceType::GetSerialNumber);
  text_field("hardware id", &IDeviceType::GetHardwareId);

  LONG connected = 0;
  hr = device->IsConnected(&connected);
  if (FAILED(hr)) status = kExitFailed;
  r.Flag("connected", SUCCEEDED(hr) && connected != 0);

  _TDeviceCapabilities caps{};
  if (SUCCEEDED(device->GetDeviceCapabilities(&caps))) {
    char pid[8];
    std::snprintf(pid, sizeof pid, "%04X", static_cast<unsigned>(caps.ulPid));
    r.Text("product id", pid)
        .Number("mouse buttons", caps.lNoOfMouseButtons)
        .Number("total buttons", caps.lNoOfTotalButtons)
        .Number("max macro length", caps.ulMaxMacroLen)
        .Flag("dpi settings", caps.bDpiSettingsSupported != 0)
        .Flag("polling rate", caps.bPollingRateSupported != 0);
  }
  out.Print(r);
  return status;
}

}  // namespace quill::cli
