#include "middleware/objects/win/features/device_monitor.h"

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

namespace quill::server {
namespace {

constexpr wchar_t kWindowClass[] = L"QuillDeviceMonitorWindow";

HRESULT LastError() {
  const DWORD error = GetLastError();
  return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

class DeviceMonitor {
 public:
  ~DeviceMonitor() { Stop(); }

  HRESULT Start();
  void Stop();
  void OnKey(WPARAM message);
  LRESULT OnMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  std::vector<DeviceEventListener*> listeners;
  HWND window = nullptr;

 private:
  HHOOK hook_ = nullptr;
  bool class_registered_ = false;
  bool timers_running_ = false;
  bool event_pending_ = false;
};

DeviceMonitor* g_monitor = nullptr;

LRESULT CALLBACK KeyboardHook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && g_monitor &&
      reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam)->vkCode == VK_F20) {
    g_monitor->OnKey(wparam);
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);  // never swallowed
}

LRESULT CALLBACK MonitorWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (g_monitor && g_monitor->window == window) {
    return g_monitor->OnMessage(window, message, wparam, lparam);
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

HRESULT DeviceMonitor::Start() {
  hook_ = SetWindowsHookExW(WH_KEYBOARD_LL, &KeyboardHook, GetModuleHandleW(nullptr), 0);
  if (!hook_) return LastError();
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = &MonitorWindowProc;
  window_class.hInstance = ThisModule();
  window_class.lpszClassName = kWindowClass;
  class_registered_ = RegisterClassExW(&window_class) != 0;
  if (!class_registered_ && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return LastError();
  window = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           ThisModule(), nullptr);
  return window ? S_OK : LastError();
}

void DeviceMonitor::Stop() {
  if (hook_) UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  if (window) DestroyWindow(window);  // its timers go with it
  window = nullptr;
  // A class of a DLL outlives the DLL unless it is unregistered.
  if (class_registered_) UnregisterClassW(kWindowClass, ThisModule());
  class_registered_ = false;
}

void DeviceMonitor::OnKey(WPARAM message) {
  if (message != WM_KEYDOWN || !window) return;
  event_pending_ = true;
  if (!timers_running_) {
    SetTimer(window, kPostTimer, kPostTimerMs, nullptr);
    timers_running_ = true;
  }
  SetTimer(window, kStopTimer, kStopTimerMs, nullptr);
}

LRESULT DeviceMonitor::OnMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_TIMER:
      if (wparam == kPostTimer && event_pending_) {
        PostMessageW(hwnd, UM_DEVICE_EVENT, 0, 0);
        event_pending_ = false;
      } else if (wparam == kStopTimer) {
        KillTimer(hwnd, kPostTimer);
        KillTimer(hwnd, kStopTimer);
        timers_running_ = false;
      }
      return 0;
    case UM_DEVICE_EVENT: {
      // Each listener is held while the list is walked; releasing the last one may end the
      // monitor, so nothing of it is touched afterwards.
      const std::vector<DeviceEventListener*> called = listeners;
      for (DeviceEventListener* listener : called) listener->ListenerAddRef();
      for (DeviceEventListener* listener : called) listener->OnDeviceEvent();
      for (DeviceEventListener* listener : called) listener->ListenerRelease();
      return 0;
    }
    case WM_USER:
    case WM_USER + 1:
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wparam, lparam);
  }
}

}  // namespace

HRESULT RegisterDeviceListener(DeviceEventListener* listener) {
  if (!listener) return E_POINTER;
  if (!g_monitor) {
    g_monitor = new (std::nothrow) DeviceMonitor;
    if (!g_monitor) return E_OUTOFMEMORY;
  }
  if (g_monitor->listeners.empty()) {
    const HRESULT hr = g_monitor->Start();
    if (FAILED(hr)) {
      delete std::exchange(g_monitor, nullptr);
      return hr;
    }
  }
  auto& listeners = g_monitor->listeners;
  if (std::find(listeners.begin(), listeners.end(), listener) == listeners.end()) {
    try {
      listeners.push_back(listener);
    } catch (...) {
      if (listeners.empty()) delete std::exchange(g_monitor, nullptr);
      return E_OUTOFMEMORY;
    }
  }
  return S_OK;
}

HRESULT UnregisterDeviceListener(DeviceEventListener* listener) {
  if (!g_monitor) return E_FAIL;
  auto& listeners = g_monitor->listeners;
  const auto found = std::find(listeners.begin(), listeners.end(), listener);
  if (found == listeners.end()) return E_FAIL;
  listeners.erase(found);
  if (listeners.empty()) delete std::exchange(g_monitor, nullptr);
  return S_OK;
}

HWND DeviceMonitorWindow() { return g_monitor ? g_monitor->window : nullptr; }

}  // namespace quill::server
