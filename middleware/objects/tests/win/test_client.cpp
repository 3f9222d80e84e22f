// objects_test_client.exe: a client of the registered server in a process of its own.
//
//   objects_test_client ACTION...
//
// Creates DeviceEnumeration with CoCreateInstance, takes one device type object from it and
// runs the actions in order on it, printing one line "action=HRESULT value" each (HRESULT as
// eight hex digits). Actions: open:PID (hex), close, firmware, serial, hardware, caps,
// connected, bus, driver, version.
#include <ServerLib.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

void Print(const wchar_t* action, HRESULT hr, const std::wstring& value) {
  std::wprintf(L"%ls=%08lX %ls\n", action, static_cast<unsigned long>(hr), value.c_str());
}

std::wstring Take(LPWSTR text) {
  std::wstring copy = text ? text : L"<null>";
  CoTaskMemFree(text);
  return copy;
}

void Run(IDeviceEnumeration* enumeration, IDeviceType* device, const std::wstring& action) {
  LPWSTR text = nullptr;
  if (action.rfind(L"open:", 0) == 0) {
    const USHORT pid = static_cast<USHORT>(std::wcstoul(action.c_str() + 5, nullptr, 16));
    Print(L"open", device->OpenDeviceInterface(pid), L"");
  } else if (action == L"close") {
    Print(L"close", device->CloseDeviceInterface(), L"");
  } else if (action == L"firmware") {
    const HRESULT hr = device->GetFirmwareVersion(&text);
    Print(L"firmware", hr, Take(text));
  } else if (action == L"serial") {
    const HRESULT hr = device->GetSerialNumber(&text);
    Print(L"serial", hr, Take(text));
  } else if (action == L"hardware") {
    const HRESULT hr = device->GetHardwareId(&text);
    Print(L"hardware", hr, Take(text));
  } else if (action == L"driver") {
    const HRESULT hr = device->GetDriverVersion(&text);
    Print(L"driver", hr, Take(text));
  } else if (action == L"caps") {
    _TDeviceCapabilities caps{};
    caps.bHasMeridex = 77;
    const HRESULT hr = device->GetDeviceCapabilities(&caps);
    wchar_t line[160];
    std::swprintf(line, 160, L"%04lX %ld %ld %ld %lu %ld %ld", caps.ulPid, caps.lNoOfMouseButtons,
                  caps.lNoOfTotalButtons, caps.bHasMeridex, caps.ulMaxMacroLen,
                  caps.bDpiSettingsSupported, caps.bPollingRateSupported);
    Print(L"caps", hr, line);
  } else if (action == L"connected") {
    LONG connected = -1;
    const HRESULT hr = device->IsConnected(&connected);
    Print(L"connected", hr, std::to_wstring(connected));
  } else if (action == L"bus") {
    _TBusType bus = static_cast<_TBusType>(-1);
    const HRESULT hr = device->GetBusType(&bus);
    Print(L"bus", hr, std::to_wstring(static_cast<int>(bus)));
  } else if (action == L"version") {
    ULONG version = 0;
    const HRESULT hr = enumeration->GetMiddlewareVersion(&version);
    Print(L"version", hr, std::to_wstring(version));
  } else {
    Print(action.c_str(), E_INVALIDARG, L"unknown action");
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  IDeviceEnumeration* enumeration = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_DeviceEnumeration, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IDeviceEnumeration, reinterpret_cast<void**>(&enumeration));
  Print(L"create", hr, L"");
  int status = 1;
  if (SUCCEEDED(hr)) {
    IDeviceType* device = nullptr;
    hr = enumeration->EnumDeviceType(0, &device);
    Print(L"enum", hr, L"");
    if (SUCCEEDED(hr)) {
      for (int i = 1; i < argc; ++i) Run(enumeration, device, argv[i]);
      device->Release();
      status = 0;
    }
    enumeration->Release();
  }
  std::fflush(stdout);
  CoUninitialize();
  return status;
}
