#include "configurator/win/cfg_app.h"

#include <commctrl.h>
#include <objbase.h>
#include <gdiplus.h>

#include <memory>

#include "common/tray_protocol.h"
#include "common/win/program_windows.h"
#include "common/win/registry_settings.h"
#include "configurator/language_command.h"
#include "configurator/win/main_dialog.h"
#include "configurator/win/tray_port_win.h"

namespace quill::cfg::win {
namespace {

const wchar_t* W(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

struct LaterNotice {
  uint32_t message;
  uint32_t delayMs;
};

DWORD WINAPI NotifyLater(void* parameter) {
  std::unique_ptr<LaterNotice> notice(static_cast<LaterNotice*>(parameter));
  Sleep(notice->delayMs);
  WinTrayPort tray(u"");
  NotifyTray(tray, notice->message);
  return 0;
}

// The running main dialog, brought to the front; false when there is none.
bool ActivateRunningDialog(bool onlyWhenAnswering) {
  HWND dialog = quill::win::FindConfiguratorDialog();
  if (!dialog) return false;
  if (onlyWhenAnswering) {
    DWORD_PTR reply = 0;
    if (!SendMessageTimeoutW(dialog, tray::UM_PING, 0, 0, SMTO_ABORTIFHUNG, kPingTimeoutMs, &reply) ||
        reply != tray::PING_REPLY)
      return false;
  }
  SetForegroundWindow(dialog);
  return true;
}

}  // namespace

void DebugLine(std::wstring_view line) {
  const std::wstring text(line);
  OutputDebugStringW(text.c_str());
  wchar_t path[MAX_PATH];
  const DWORD n = GetEnvironmentVariableW(L"QUILLFERN_CFG_DEBUG_LOG", path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  const quill::win::FileHandle file(CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  const int units = static_cast<int>(text.size());
  const int bytes = units ? WideCharToMultiByte(CP_UTF8, 0, text.data(), units, nullptr, 0, nullptr, nullptr) : 0;
  std::string utf8(static_cast<size_t>(bytes), '\0');
  if (bytes) WideCharToMultiByte(CP_UTF8, 0, text.data(), units, utf8.data(), bytes, nullptr, nullptr);
  DWORD written = 0;
  WriteFile(file.Get(), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

int CTolvaCfgApp::Run(HINSTANCE instance) {
  instance_ = instance;
  InitInstance();
  return ExitInstance();
}

bool CTolvaCfgApp::InitInstance() {
  const std::u16string mutexName(tray::kConfiguratorMutex);
  mutex_ = quill::win::KernelHandle(CreateMutexW(nullptr, FALSE, W(mutexName)));
  if (mutex_ && GetLastError() == ERROR_ALREADY_EXISTS) {
    ReleaseMutex(mutex_.Get());
    return false;   // a copy runs: end silently
  }
  if (mutex_) ReleaseMutex(mutex_.Get());
  if (ActivateRunningDialog(false)) return false;

  INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFF};
  InitCommonControlsEx(&controls);
  comInitialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  Gdiplus::GdiplusStartupInput gdiplusInput;
  Gdiplus::GdiplusStartup(&gdiplusToken_, &gdiplusInput, nullptr);

  for (;;) {
    CTolvaCfgDlg dialog(*this);
    if (ActivateRunningDialog(true)) break;
    ReadInstallSettings();
    if (restartFlag_) {
      restartFlag_ = 0;
    } else {
      StartTrayIfMissing();
      translator_.Translate(u"Torvo Quillfern Config", true);   // loads the current language
    }
    const INT_PTR result = dialog.Run();
    if ((result == IDOK || result == IDCANCEL) && restartFlag_) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      continue;
    }
    break;
  }
  return false;
}

int CTolvaCfgApp::ExitInstance() {
  // The notice threads only sleep and send with a time limit: wait for them rather than end
  // the process under them.
  for (auto& thread : notifyThreads_) WaitForSingleObject(thread.Get(), kTrayLanguageDelayMs + kNotifyTimeoutMs + 1000);
  notifyThreads_.clear();
  if (gdiplusToken_) Gdiplus::GdiplusShutdown(gdiplusToken_);
  gdiplusToken_ = 0;
  DebugLine(L"CTolvaCfgApp::ExitInstance() - BEFORE COMUnInit()\r\n");
  if (comInitialised_) CoUninitialize();
  comInitialised_ = false;
  DebugLine(L"CTolvaCfgApp::ExitInstance() - AFTER COMUnInit()\r\n");
  return 0;
}

void CTolvaCfgApp::ReadInstallSettings() {
  std::unique_ptr<SettingsKey> key = quill::win::OpenInstallKey(false);
  quill::ReadInstallSettings(key.get(), settings_);
  translator_.SetSource(settings_.Translation());
}

bool CTolvaCfgApp::WriteLanguage() {
  std::unique_ptr<SettingsKey> key = quill::win::OpenInstallKey(true);
  return quill::WriteLanguage(key.get(), settings_);
}

void CTolvaCfgApp::StartTrayIfMissing() {
  WinTrayPort tray(settings_.installFolder);
  PumpingClock clock;
  cfg::StartTrayIfMissing(tray, clock);
  settings_.installFolder = tray.installFolder();   // the current directory when it was empty
}

void CTolvaCfgApp::NotifyTrayLater(uint32_t message, uint32_t delayMs) {
  auto notice = std::make_unique<LaterNotice>(LaterNotice{message, delayMs});
  quill::win::KernelHandle thread(CreateThread(nullptr, 0, &NotifyLater, notice.get(), 0, nullptr));
  if (!thread) return;
  notice.release();
  notifyThreads_.push_back(std::move(thread));
}

const wchar_t* CTolvaCfgApp::Text(std::u16string_view english) { return W(translator_.Translate(english)); }

bool CTolvaCfgApp::SwitchLanguage(int command) {
  const std::optional<LanguageSwitch> change =
      DecideLanguageCommand(command, settings_.highestLanguageIndex, settings_.currentLanguage);
  if (!change) return false;
  settings_.currentLanguage = change->language;
  restartFlag_ = 1;
  WriteLanguage();
  translator_.SetSource(settings_.Translation());
  translator_.Translate(u"Torvo Quillfern Config", true);
  NotifyTrayLater(change->trayMessage, change->trayDelayMs);
  return true;
}

}  // namespace quill::cfg::win
