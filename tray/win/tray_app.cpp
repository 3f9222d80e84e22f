#include "tray/win/tray_app.h"

#include <objbase.h>
#include <shellapi.h>

#include <memory>

#include "common/dat_files.h"
#include "common/profile_text.h"
#include "common/tray_protocol.h"
#include "common/utf16.h"
#include "common/win/ansi_text.h"
#include "common/win/program_windows.h"
#include "common/win/registry_settings.h"
#include "tray/display_text.h"
#include "tray/win/foreground_app.h"
#include "tray/win/tray_resources.h"

namespace quill::tray {
namespace {

constexpr UINT kIconId = IDI_TRAY_ICON;
constexpr DWORD kNotifyForThisSession = 0;   // NOTIFY_FOR_THIS_SESSION of wtsapi32.h
constexpr DWORD kNotifyIconDataSize = 952;   // the version-3 layout
constexpr int kIconAddTries = 5;
constexpr int kConfiguratorLooks = 22;
constexpr DWORD kConfiguratorLookMs = 500;
constexpr DWORD kCommandLinePauseMs = 50;
constexpr DWORD kResumePauseMs = 5000;
constexpr UINT kSendTimeoutMs = 5000;
constexpr size_t kInstallDirUnits = 254;     // 510 bytes with the terminator
constexpr size_t kTipUnits = 127;

const wchar_t* W(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

using RegisterSessionFn = BOOL(WINAPI*)(HWND, DWORD);
using UnregisterSessionFn = BOOL(WINAPI*)(HWND);
using ActiveConsoleFn = DWORD(WINAPI*)();

template <class Fn>
Fn Lookup(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

bool WindowsVersionReadable(DWORD& major, DWORD& minor) {
  OSVERSIONINFOEXW extended{};
  extended.dwOSVersionInfoSize = sizeof(extended);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&extended))) {
    major = extended.dwMajorVersion;
    minor = extended.dwMinorVersion;
    return true;
  }
  OSVERSIONINFOW plain{};
  plain.dwOSVersionInfoSize = sizeof(plain);
  if (GetVersionExW(&plain)) {
    major = plain.dwMajorVersion;
    minor = plain.dwMinorVersion;
    return true;
  }
#pragma GCC diagnostic pop
  return false;
}

// Folder of this program, with a closing backslash.
std::u16string ProgramFolder() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  std::u16string folder(reinterpret_cast<const char16_t*>(path), n);
  const size_t slash = folder.find_last_of(u"\\/");
  return slash == std::u16string::npos ? std::u16string() : folder.substr(0, slash + 1);
}

void PostClose(HWND window) {
  if (window) PostMessageW(window, WM_CLOSE, 0, 0);
}

}  // namespace

TrayApp::TrayApp() = default;

const std::u16string& TrayApp::Text(std::u16string_view english) { return translator_.Translate(english); }

void TrayApp::ReadSettings() {
  std::unique_ptr<SettingsKey> key = win::OpenInstallKey(false);
  ReadTraySettings(key.get(), settings_);
  translator_.SetSource(settings_.Translation());
  translator_.Clear();
}

int TrayApp::Run(HINSTANCE instance, std::u16string_view commandLine) {
  instance_ = instance;
  bitmaps_.SetInstance(instance);
  action_ = ParseCommandLineAction(commandLine);
  RunCommandLineAction(false);
  if (StartEndsAtOnce(action_, win::FindWindowByExactTitle(kTrayWindowTitle) != nullptr)) return 0;

  ReadSettings();
  const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  OpenSession();
  displays_.Create(instance);

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  const std::u16string cls(kTrayWindowClass), title(kTrayWindowTitle);
  wc.lpszClassName = W(cls);
  RegisterClassExW(&wc);
  CreateWindowExW(0, W(cls), W(title), WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, this);

  MSG msg;
  while (window_ && !leaveLoop_) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) break;   // WM_QUIT or an error
    if (suspended_ && msg.message == WM_TIMER) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    if (msg.message == WM_CLOSE) break;
  }

  DropSession();
  if (window_) DestroyWindow(window_);
  translator_.Clear();
  if (com) CoUninitialize();
  return 0;
}

LRESULT CALLBACK TrayApp::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TrayApp* app = nullptr;
  if (message == WM_NCCREATE) {
    app = static_cast<TrayApp*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(app));
    app->window_ = window;
  } else {
    app = reinterpret_cast<TrayApp*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  if (!app) return DefWindowProcW(window, message, wParam, lParam);
  LRESULT result = 0;
  try {
    result = app->Handle(message, wParam, lParam);
  } catch (...) {
    result = 0;  // nothing escapes the window procedure
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    app->window_ = nullptr;
  }
  return result;
}

LRESULT TrayApp::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == iconMessage_ && iconMessage_ != 0) {
    if (wParam == kIconId) {
      if (lParam == WM_CONTEXTMENU || lParam == WM_RBUTTONUP) ShowTrayMenu();
      else if (lParam == WM_LBUTTONDBLCLK) OpenConfigurator();
    }
    return 0;
  }
  if (message == taskbarCreated_ && taskbarCreated_ != 0) {
    AddTrayIcon();
    return 0;
  }
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case UM_TRAY_RELOAD:
      OnReload();
      return 0;
    case UM_TRAY_LANGUAGE: {
      ReadSettings();
      DrawMenuBar(window_);
      if (iconAdded_) {   // the tooltip in the new language
        NOTIFYICONDATAW nid{};
        nid.cbSize = kNotifyIconDataSize;
        nid.hWnd = window_;
        nid.uID = kIconId;
        nid.uFlags = NIF_TIP;
        const std::u16string tip(CutToUnits(Text(u"Torvo Quillfern Configurator"), kTipUnits));
        tip.copy(reinterpret_cast<char16_t*>(nid.szTip), kTipUnits);
        Shell_NotifyIconW(NIM_MODIFY, &nid);
      }
      return 0;
    }
    case UM_TRAY_OPEN_CONFIG:
      OpenConfigurator();
      return 0;
    case UM_TRAY_EXIT:
      closeConfigurator_ = false;
      RemoveTrayIcon();
      PostMessageW(window_, WM_CLOSE, 0, 0);
      return 0;
    case UM_TRAY_ACTIVATE:
      if (wParam >= 1 && wParam <= 6) ActivateProfile(ProfileAtOrLast(session_.connection().lists.profiles, static_cast<int32_t>(wParam) - 1), false);
      return 0;
    case UM_TRAY_LOG_MENU:
      log_.Line(u"menu\n" + DescribeMenu(MenuModel()) + u"menu end");
      return 0;
    case UM_PING:
      return static_cast<LRESULT>(PING_REPLY);
    case WM_TIMER:
      if (wParam == kTimerId) OnTimer();
      return 0;
    case WM_POWERBROADCAST:
      OnPower(wParam);
      return TRUE;
    case WM_WTSSESSION_CHANGE: {
      if (auto active = Lookup<ActiveConsoleFn>(wtsapi_.Get(), "WTSGetActiveConsoleSessionId")) active();
      if (wParam == WTS_CONSOLE_DISCONNECT) EndTray(true);
      return 0;
    }
    case WM_CLOSE:
    case WM_DESTROY:
      OnClose();
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        DestroyWindow(window_);
        PostQuitMessage(0);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void TrayApp::OnCreate() {
  const std::u16string callback(kIconCallbackMessage), taskbar(kTaskbarCreatedMessage);
  iconMessage_ = RegisterWindowMessageW(W(callback));
  AddTrayIcon();
  taskbarCreated_ = RegisterWindowMessageW(W(taskbar));
  wtsapi_.Reset(LoadLibraryW(L"wtsapi32.dll"));
  if (auto reg = Lookup<RegisterSessionFn>(wtsapi_.Get(), "WTSRegisterSessionNotification"))
    sessionNotifications_ = reg(window_, kNotifyForThisSession) != FALSE;
  RunCommandLineAction(true);
  SetTimer(window_, kTimerId, kTimerMilliseconds, nullptr);
}

void TrayApp::RunCommandLineAction(bool ownWindow) {
  if (action_ == kNoAction) return;
  win::PumpingWait(kCommandLinePauseMs);
  HWND tray = win::FindTrayWindow();
  const ActionPlan plan = PlanCommandLineAction(action_, tray != nullptr, ownWindow);
  action_ = plan.action;
  DWORD_PTR reply = 0;
  switch (plan.step) {
    case ActionStep::kSendOpenConfig:
      if (tray == window_) OpenConfigurator();
      else SendMessageTimeoutW(tray, UM_TRAY_OPEN_CONFIG, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &reply);
      break;
    case ActionStep::kOpenConfigurator:
      OpenConfigurator();
      break;
    case ActionStep::kActivateProfile:
      ActivateProfile(ProfileAtOrLast(session_.connection().lists.profiles, plan.profileIndex), false);
      break;
    case ActionStep::kHandOver:
      SendMessageTimeoutW(tray, UM_TRAY_ACTIVATE, static_cast<WPARAM>(action_), 0, SMTO_NORMAL, kSendTimeoutMs, &reply);
      break;
    case ActionStep::kCloseAll:
      PostClose(tray);
      PostClose(win::FindConfiguratorDialog());
      break;
    case ActionStep::kNothing:
      break;
  }
}

// ---- icon and menu -----------------------------------------------------------------------

bool TrayApp::AddTrayIcon() {
  if (!icon_) {
    ownIcon_.Reset(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_TRAY_ICON), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    icon_ = ownIcon_ ? ownIcon_.Get() : LoadIconW(nullptr, IDI_APPLICATION);
  }
  NOTIFYICONDATAW nid{};
  nid.cbSize = kNotifyIconDataSize;
  nid.hWnd = window_;
  nid.uID = kIconId;
  nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  nid.uCallbackMessage = iconMessage_;
  nid.hIcon = icon_;
  const std::u16string tip(CutToUnits(Text(u"Torvo Quillfern Configurator"), kTipUnits));
  tip.copy(reinterpret_cast<char16_t*>(nid.szTip), kTipUnits);
  DWORD major = 0, minor = 0;
  WindowsVersionReadable(major, minor);
  nid.uVersion = (major > 4 || (major == 4 && minor == 90)) ? NOTIFYICON_VERSION : 0;
  bool added = false;
  for (int i = 0; i < kIconAddTries && !added; ++i) added = Shell_NotifyIconW(NIM_ADD, &nid) != FALSE;
  if (added && major >= 5) Shell_NotifyIconW(NIM_SETVERSION, &nid);
  iconAdded_ = added;
  if (added) log_.Line(u"icon added");
  return added;
}

void TrayApp::RemoveTrayIcon() {
  NOTIFYICONDATAW nid{};
  nid.cbSize = kNotifyIconDataSize;
  nid.hWnd = window_;
  nid.uID = kIconId;
  Shell_NotifyIconW(NIM_DELETE, &nid);
  if (iconAdded_) log_.Line(u"icon removed");
  iconAdded_ = false;
}

std::vector<MenuItem> TrayApp::MenuModel() {
  return BuildTrayMenu(session_.connection().lists.profiles, Text(u"Load Quillfern Configurator"),
                       Text(u"Close Tray Icon"));
}

void TrayApp::ShowTrayMenu() {
  const win::Menu bar(LoadMenuW(instance_, MAKEINTRESOURCEW(IDR_TRAY_MENU)));
  if (!bar) return;
  HMENU popup = GetSubMenu(bar.Get(), 0);
  if (!popup) return;
  while (GetMenuItemCount(popup) > 0) DeleteMenu(popup, 0, MF_BYPOSITION);
  for (const MenuItem& item : MenuModel()) {
    if (item.separator()) {
      AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    // "&" in a profile name is shown as it is, not as an accelerator mark.
    std::u16string text = item.text;
    if (item.command != kCmdOpenConfigurator && item.command != kCmdCloseTray) {
      for (size_t at = text.find(u'&'); at != std::u16string::npos; at = text.find(u'&', at + 2)) text.insert(at, 1, u'&');
    }
    AppendMenuW(popup, MF_STRING | MF_ENABLED, item.command, W(text));
  }
  SetForegroundWindow(window_);
  SetMenuDefaultItem(popup, 0, TRUE);
  DrawMenuBar(window_);
  POINT at{};
  GetCursorPos(&at);
  const UINT command = static_cast<UINT>(
      TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, window_, nullptr));
  PostMessageW(window_, WM_NULL, 0, 0);
  const MenuChoice choice = InterpretMenuCommand(command);
  switch (choice.action) {
    case MenuAction::kActivateProfile:
      ActivateProfile(ProfileAtOrLast(session_.connection().lists.profiles, choice.profileIndex), false);
      break;
    case MenuAction::kOpenConfigurator:
      OpenConfigurator();
      break;
    case MenuAction::kCloseTray:
      EndTray(false);
      break;
    case MenuAction::kNothing:
      break;
  }
}

// ---- the configuration application ---------------------------------------------------------

void TrayApp::OpenConfigurator() {
  HWND marker = win::FindConfiguratorMarker();
  if (launching_) return;
  launching_ = true;
  if (marker) {
    HWND dialog = GetParent(marker);
    DWORD_PTR reply = 0;
    SendMessageTimeoutW(dialog, UM_PING, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &reply);
    SetForegroundWindow(dialog);
    launching_ = false;
    return;
  }
  DWORD major = 0, minor = 0;
  if (WindowsVersionReadable(major, minor)) {
    // Started by its full path: the install folder, else the folder of this program.
    std::u16string folder;
    std::unique_ptr<SettingsKey> key = win::OpenInstallKey(false);
    if (key) {
      if (auto dir = key->ReadString(u"InstallDir"); dir && !dir->empty() && dir->size() <= kInstallDirUnits)
        folder = *dir;
    }
    if (folder.empty()) folder = ProgramFolder();
    const std::u16string path = JoinPath(folder, kConfiguratorExecutable);
    ShellExecuteW(nullptr, L"open", W(path), nullptr, folder.empty() ? nullptr : W(folder), SW_SHOWNORMAL);
    for (int look = 0; look < kConfiguratorLooks && !leaveLoop_; ++look) {
      if (HWND found = win::FindConfiguratorMarker()) {
        SetForegroundWindow(GetParent(found));
        break;
      }
      if (!win::PumpingWait(kConfiguratorLookMs)) break;
    }
  }
  launching_ = false;
}

void TrayApp::CloseConfigurator() {
  if (HWND dialog = win::FindConfiguratorDialog()) {
    DWORD_PTR reply = 0;
    SendMessageTimeoutW(dialog, WM_CLOSE, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &reply);
  }
}

void TrayApp::UnregisterSession() {
  if (!sessionNotifications_) return;
  if (auto unreg = Lookup<UnregisterSessionFn>(wtsapi_.Get(), "WTSUnRegisterSessionNotification")) unreg(window_);
  sessionNotifications_ = false;
}

void TrayApp::EndTray(bool consoleDisconnect) {
  if (consoleDisconnect) {
    if (present_) DropSession();
    UnregisterSession();
    if (closeConfigurator_) CloseConfigurator();
  }
  RemoveTrayIcon();
  leaveLoop_ = true;
  PostClose(win::FindConfiguratorDialog());
  PostClose(window_);
}

void TrayApp::OnClose() {
  if (!closed_) {
    closed_ = true;
    UnregisterSession();
    if (closeConfigurator_) CloseConfigurator();
    RemoveTrayIcon();
  }
  leaveLoop_ = true;
  if (window_) PostMessageW(window_, WM_NULL, 0, 0);  // wakes the loop when the close was sent
}

// ---- the device session --------------------------------------------------------------------

void TrayApp::TakeActiveSwitches() {
  const win::DeviceConnection& c = session_.connection();
  if (c.activeIndex < 0) return;
  if (ProfileEntry* active = c.lists.profiles.At(static_cast<size_t>(c.activeIndex))) switches_ = SwitchesOf(*active);
}

void TrayApp::OpenSession() {
  present_ = session_.Probe();
  if (std::u16string folder = win::RoamingAppDataFolder(); !folder.empty())
    LoadProfileFiles(files_, folder, session_.connection().lists, &translator_);
  if (!present_) {
    session_.Drop();
    return;
  }
  session_.OpenTrayInterfaces();
  session_.AdviseEvents();
  TakeActiveSwitches();
  log_.Line(u"session open");
}

void TrayApp::DropSession() {
  const bool had = present_;
  present_ = false;
  session_.Drop();
  if (had) log_.Line(TraySession::MiddlewareIdle() ? u"session closed, middleware objects released"
                                                   : u"session closed, middleware objects still held");
}

void TrayApp::DeviceCheck() {
  if (present_) {
    if (session_.StillConnected()) return;
    DropSession();
  }
  OpenSession();
}

void TrayApp::OnTimer() {
  const TickWork work = cycle_.Advance();
  if (work.applicationCheck && !session_.connection().lists.profiles.empty()) ApplicationCheck();
  if (work.deviceCheck) DeviceCheck();
  StepCountdowns();
}

void TrayApp::StepCountdowns() {
  const auto hide = countdowns_.Step();
  for (size_t d = 0; d < kDisplayCount; ++d)
    if (hide[d]) displays_.Hide(static_cast<Display>(d));
}

void TrayApp::ApplicationCheck() {
  const ApplicationSwitch s = CheckApplication(session_.connection().lists.profiles, ForegroundExecutable(),
                                               lastExecutable_, Text(kNoExecutable));
  if (!s.profile) return;
  lastExecutable_ = s.lastExecutable;
  if (s.activate) ActivateProfile(s.profile, true);
}

void TrayApp::OnReload() {
  log_.Line(u"reload");
  win::DeviceConnection& c = session_.connection();
  c.lists.Clear();
  if (!present_) return;
  c.ReadProfiles();
  c.ReadMacros();
  if (std::u16string folder = win::RoamingAppDataFolder(); !folder.empty())
    LoadProfileFiles(files_, folder, c.lists, &translator_);
  TakeActiveSwitches();
  ActivateProfile(c.activeIndex >= 0 ? c.lists.profiles.At(static_cast<size_t>(c.activeIndex)) : nullptr, true);
  session_.LoadDpiTable();
}

void TrayApp::OnPower(WPARAM event) {
  if (event == PBT_APMSUSPEND) {
    KillTimer(window_, kTimerId);
    suspended_ = true;
    if (present_) DropSession();
  } else if (event == PBT_APMRESUMEAUTOMATIC) {
    win::PumpingWait(kResumePauseMs);
    SetTimer(window_, kTimerId, kTimerMilliseconds, nullptr);
    suspended_ = false;
  }
}

// ---- profiles and displays -----------------------------------------------------------------

void TrayApp::ActivateProfile(ProfileEntry* profile, bool showDisplay) {
  if (!profile) return;
  if (win::ProfileLinks* links = win::LinksOf(*profile); links && links->object) {
    if (IMeridexProfileManager* manager = session_.profileManager()) manager->SetActiveProfile(links->object.Get());
  }
  const Activation a = PlanActivation(*profile, showDisplay, switches_);
  if (a.display != ProfileDisplayStep::kNone) {
    const std::string text = win::ToAnsi(ProfileDisplayText(Text(u"%s%s"), profile->szName));
    if (a.display == ProfileDisplayStep::kShow) {
      displays_.SetText(kProfileDisplay, text);
      displays_.Show(kProfileDisplay);
      countdowns_.Start(kProfileDisplay);
    } else {
      displays_.Hide(kProfileDisplay);
      displays_.SetText(kProfileDisplay, text);
      countdowns_.Stop(kProfileDisplay);
    }
  }
  switches_ = a.switches;
  lastExecutable_ = a.lastExecutable;
  log_.Line(u"activate slot " + DecimalText(profile->lId));
}

void TrayApp::OnMeridexInfo(const _TMeridexInfoType& info) {
  if (info.ValidFields & 2) ActivateProfile(ProfileInSlot(session_.connection().lists.profiles, info.ActiveProfile), true);
  if ((info.ValidFields & 1) && displays_.Exists(kXDisplay) && displays_.Exists(kYDisplay)) ShowDpi(info.DpiX, info.DpiY);
}

void TrayApp::ShowDpi(int32_t x, int32_t y) {
  const std::string text = win::ToAnsi(DpiDisplayText(Text(u"X:%d Y:%d"), x, y));
  if (!switches_.bOtfsOsd) {
    displays_.Hide(kXDisplay);
    displays_.SetText(kXDisplay, text);
    countdowns_.Stop(kXDisplay);
    return;
  }
  displays_.SetBitmap(kXDisplay, bitmaps_.Get(DpiBitmapId(x)));
  displays_.Show(kXDisplay);
  countdowns_.Start(kXDisplay);
  log_.Line(u"dpi display X bitmap " + DecimalText(DpiBitmapId(x)));
  if (y != x) {
    displays_.SetBitmap(kYDisplay, bitmaps_.Get(DpiBitmapId(y)));
    displays_.Show(kYDisplay);
    countdowns_.Start(kYDisplay);
    log_.Line(u"dpi display Y bitmap " + DecimalText(DpiBitmapId(y)));
  }
}

}  // namespace quill::tray
