#include "configurator/win/main_dialog.h"

#include <shellapi.h>

#include <algorithm>
#include <cmath>

#include "common/tray_protocol.h"
#include "common/utf16.h"
#include "configurator/kit/win/message_box.h"
#include "configurator/kit/win/skin.h"
#include "configurator/language_command.h"
#include "configurator/win/cfg_app.h"
#include "configurator/win/cfg_resources.h"

namespace quill::cfg::win {
namespace {

using kit::win::Scale;

constexpr int kWidth = 640, kHeight = 420, kTitle = 34;
constexpr int kLanguageMenuLimit = kLastLanguageCommand - kFirstLanguageCommand;

std::wstring WideOf(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

bool CursorOver(HWND control) {
  if (!control || !IsWindowVisible(control)) return false;
  POINT p;
  RECT r;
  return GetCursorPos(&p) && GetWindowRect(control, &r) && PtInRect(&r, p);
}

}  // namespace

CTolvaCfgDlg::~CTolvaCfgDlg() { ShutDownWorkers(); }

INT_PTR CTolvaCfgDlg::Run() { return RunModalResource(app_.instance(), IDD_TOLVACFG_DIALOG, nullptr); }

RECT CTolvaCfgDlg::At(int x, int y, int w, int h) const {
  return {Scale(x, dpi_), Scale(y, dpi_), Scale(x + w, dpi_), Scale(y + h, dpi_)};
}

bool CTolvaCfgDlg::OnInit() {
  HWND dialog = hwnd();
  SetWindowTextW(dialog, app_.Text(u"Torvo Quillfern Config"));
  dpi_ = kit::win::WindowDpi(dialog);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int w = Scale(kWidth, dpi_), h = Scale(kHeight, dpi_);
  SetWindowPos(dialog, nullptr, (work.left + work.right - w) / 2, (work.top + work.bottom - h) / 2, w, h,
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (HICON icon = LoadIconW(app_.instance(), MAKEINTRESOURCEW(IDI_QUILLFERN_CFG))) {
    SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
  BuildSystemMenu();
  CreateControls();
  SetWindowLongPtrW(dialog, GWL_EXSTYLE, GetWindowLongPtrW(dialog, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(dialog, RGB(255, 0, 255), 0, LWA_COLORKEY);

  worker_ = std::make_unique<DeviceWorker>(dialog, flags_, &app_.translator(), app_.settings().installFolder);
  worker_->Start();
  SetTimer(dialog, kWatchdogTimer, kWatchdogPeriodMs, nullptr);
  flags_.command.Store(kCommandOpen);
  waiting_.Start(dialog, app_.Text(kWaitingTitle), app_.Text(kReadingText), flags_.command);
  return true;
}

void CTolvaCfgDlg::BuildSystemMenu() {
  HMENU system = GetSystemMenu(hwnd(), FALSE);
  const InstallSettings& settings = app_.settings();
  if (!system || settings.highestLanguageIndex < 0) return;
  HMENU languages = CreatePopupMenu();
  if (!languages) return;
  const int last = std::min<int>(settings.highestLanguageIndex, kLanguageMenuLimit);
  for (int k = 0; k <= last && static_cast<size_t>(k) < settings.languages.size(); ++k) {
    const std::wstring name = WideOf(settings.languages[static_cast<size_t>(k)].name);
    UINT flags = MF_STRING;
    if (static_cast<uint32_t>(k) == settings.currentLanguage) flags |= MF_CHECKED;
    AppendMenuW(languages, flags, static_cast<UINT_PTR>(kFirstLanguageCommand + k), name.c_str());
  }
  AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
  // The system menu owns the submenu from here on.
  AppendMenuW(system, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(languages), app_.Text(u"Language"));
}

void CTolvaCfgDlg::CreateControls() {
  HWND dialog = hwnd();
  manual_.Create(dialog, IDC_MANUAL, At(kWidth - 108, 4, 30, 26), L"?");
  // Another copy and the tray find the dialog as the parent of this window text.
  SetWindowTextW(manual_.hwnd(), WideOf(tray::kConfiguratorMarker).c_str());
  minimise_.Create(dialog, IDC_MINIMISE, At(kWidth - 74, 4, 30, 26), L"_");
  closeButton_.Create(dialog, IDC_CLOSE_BUTTON, At(kWidth - 40, 4, 30, 26), L"X");

  sliders_.Create(dialog, IDC_PERFORMANCE_SLIDERS, At(24, 84, kWidth - 48, 3 * 30), Scale(30, dpi_));
  auto dpiText = [](double v) { return std::to_wstring(static_cast<int>(v) * 100); };
  sliderX_ = sliders_.AddRow(app_.Text(u"Sensitivity X"), IDC_SENSITIVITY_X, 1, 56, 1, 18, dpiText);
  sliderY_ = sliders_.AddRow(app_.Text(u"Sensitivity Y"), IDC_SENSITIVITY_Y, 1, 56, 1, 18, dpiText);
  acceleration_ = sliders_.AddRow(app_.Text(u"Acceleration"), IDC_ACCELERATION, 1, 10, 1, 5,
                                  [](double v) { return std::to_wstring(static_cast<int>(v)); });
  enableAcceleration_.Create(dialog, IDC_ENABLE_ACCELERATION, At(24, 184, 220, 28), app_.Text(u"Enable Acceleration"));
  if (acceleration_) acceleration_->SetEnabled(false);

  rate125_.Create(dialog, IDC_RATE_125, At(24, 258, 100, 28), app_.Text(u"125 Hz"));
  rate500_.Create(dialog, IDC_RATE_500, At(136, 258, 100, 28), app_.Text(u"500 Hz"));
  rate1000_.Create(dialog, IDC_RATE_1000, At(248, 258, 100, 28), app_.Text(u"1000 Hz"));

  apply_.Create(dialog, IDC_APPLY, At(kWidth - 360, kHeight - 48, 104, 30), app_.Text(u"APPLY"));
  ok_.Create(dialog, IDOK, At(kWidth - 244, kHeight - 48, 104, 30), app_.Text(u"OK"));
  cancel_.Create(dialog, IDCANCEL, At(kWidth - 128, kHeight - 48, 104, 30), app_.Text(u"CANCEL"));
}

bool CTolvaCfgDlg::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  switch (message) {
    case tray::UM_PING:
      result = static_cast<LRESULT>(tray::PING_REPLY);
      return true;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_PAINT:
      Paint();
      return true;
    case WM_NCHITTEST: {
      POINT p{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      ScreenToClient(hwnd(), &p);
      result = p.y >= 0 && p.y < Scale(kTitle, dpi_) ? HTCAPTION : HTCLIENT;
      return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: {
      HDC dc = reinterpret_cast<HDC>(wparam);
      SetTextColor(dc, RGB(255, 255, 255));
      SetBkMode(dc, TRANSPARENT);
      result = reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
      return true;
    }
    case WM_TIMER:
      if (wparam == kWatchdogTimer) {
        OnWatchdogTimer();
        return true;
      }
      return false;
    case WM_COMMAND:
      return OnCommand(LOWORD(wparam), reinterpret_cast<HWND>(lparam));
    case WM_SYSCOMMAND: {
      const int command = static_cast<int>(wparam & 0xFFFF);
      if (command >= kFirstLanguageCommand && command <= kLastLanguageCommand) return OnCommand(command, nullptr);
      return false;
    }
    case WM_CLOSE:
      Close();
      return true;
    case WM_POWERBROADCAST:
      if (wparam == PBT_APMSUSPEND) Close();
      result = TRUE;
      return true;
    case UM_CFG_OPENED:
      OnOpened(std::unique_ptr<OpenedReport>(reinterpret_cast<OpenedReport*>(lparam)));
      return true;
    case UM_CFG_APPLIED:
      ShowRate(static_cast<int32_t>(wparam));
      SetPropW(hwnd(), kAppliedProperty, reinterpret_cast<HANDLE>(++applies_));
      return true;
    case WM_DESTROY:
      ShutDownWorkers();
      RemovePropW(hwnd(), kOpenedProperty);
      RemovePropW(hwnd(), kAppliedProperty);
      return false;
    default:
      return false;
  }
}

void CTolvaCfgDlg::OnHoverButtonClicked(int id) {
  HWND from = GetDlgItem(hwnd(), id);
  OnCommand(id, from ? from : hwnd());
}

bool CTolvaCfgDlg::OnCommand(int id, HWND from) {
  const bool fromControl = from != nullptr;
  switch (id) {
    case IDC_APPLY:
      StartApply(false);
      return true;
    case IDOK:
      StartApply(true);
      return true;
    case IDCANCEL:
    case IDC_CLOSE_BUTTON:
      Cancel(fromControl || CursorOver(cancel_.hwnd()) || CursorOver(closeButton_.hwnd()));
      return true;
    case IDC_MINIMISE:
      PostMessageW(hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
      return true;
    case IDC_MANUAL:
      OpenManual();
      return true;
    case IDC_RATE_125:
      ShowRate(125);
      return true;
    case IDC_RATE_500:
      ShowRate(500);
      return true;
    case IDC_RATE_1000:
      ShowRate(1000);
      return true;
    case IDC_ENABLE_ACCELERATION:
      // A click has toggled the box already; a command alone toggles it here.
      if (!fromControl) enableAcceleration_.SetChecked(!enableAcceleration_.checked());
      if (acceleration_) acceleration_->SetEnabled(enableAcceleration_.checked());
      return true;
    default:
      if (id >= kFirstLanguageCommand && id <= kLastLanguageCommand) {
        if (app_.SwitchLanguage(id)) {
          ShutDownWorkers();
          End(IDCANCEL);
        }
        return true;
      }
      return false;
  }
}

void CTolvaCfgDlg::OnSliderMoved(kit::win::CBitmapSliderCtrl& slider, double value) {
  if (&slider == acceleration_) {
    // Whole steps; the top of the last step counts as the end.
    const double snapped = value > 9.2 ? 10 : std::floor(value);
    if (snapped != value) slider.SetValue(snapped);
  } else {
    const double snapped = std::min(56.0, value > 55 ? 56.0 : std::trunc(value + 0.49));
    if (snapped != value) slider.SetValue(snapped);
  }
  InvalidateRect(sliders_.hwnd(), nullptr, FALSE);
}

ApplyInputs CTolvaCfgDlg::CaptureInputs() const {
  ApplyInputs inputs;
  if (sliderX_) inputs.xSensitivity = sliderX_->value();
  if (sliderY_) inputs.ySensitivity = sliderY_->value();
  if (acceleration_) inputs.acceleration = acceleration_->value();
  inputs.accelerationEnabled = enableAcceleration_.checked();
  inputs.rate = rate_;
  inputs.selectedRow = selectedRow_;
  return inputs;
}

void CTolvaCfgDlg::StartApply(bool fromOk) {
  if (!worker_ || closing_) return;
  worker_->SetApplyInputs(CaptureInputs());
  watchdog_.StartApply(flags_, fromOk);   // writes command 2
  waiting_.Start(hwnd(), app_.Text(kWaitingTitle), app_.Text(kWritingText), flags_.command);
}

void CTolvaCfgDlg::Cancel(bool fromButton) {
  if (fromButton || (!flags_.mainConnected && !flags_.alternateConnected)) {
    ShutDownWorkers();
    End(IDCANCEL);
  }
}

void CTolvaCfgDlg::Close() {
  ShutDownWorkers();
  End(IDCANCEL);
}

void CTolvaCfgDlg::ShutDownWorkers() {
  closing_ = true;
  if (hwnd()) KillTimer(hwnd(), kWatchdogTimer);
  waiting_.Finish();
  if (worker_) {
    worker_->Stop();
    worker_.reset();
  }
}

void CTolvaCfgDlg::OnWatchdogTimer() {
  if (inTick_ || closing_ || !worker_) return;   // the probes' pauses dispatch messages
  inTick_ = true;
  PumpingClock clock;
  const WatchdogTick tick = watchdog_.Tick(flags_, versions_, worker_->watchdogPort(), clock, &app_.translator());
  inTick_ = false;
  if (closing_) return;
  if (tick.versions) {
    versionLines_ = *tick.versions;
    InvalidateRect(hwnd(), nullptr, FALSE);
  }
  if (tick.rate) ShowRate(*tick.rate);
  switch (tick.outcome) {
    case WatchdogOutcome::Continue:
      break;
    case WatchdogOutcome::EndDialogOk:
      ShutDownWorkers();
      End(IDOK);
      break;
    case WatchdogOutcome::Unplugged:
      ShowClosingMessage(kUnpluggedMessage);
      break;
    case WatchdogOutcome::NoDevice:
      ShowClosingMessage(kNoDeviceMessage);
      break;
  }
}

void CTolvaCfgDlg::ShowClosingMessage(const ClosingMessage& message) {
  EnableWindow(hwnd(), FALSE);
  KillTimer(hwnd(), kWatchdogTimer);
  kit::win::CBitmapMessageBox box(app_.Text(message.title), app_.Text(message.text));
  box.AddButton(app_.Text(message.button), message.button == u"OK" ? IDOK : IDCANCEL);
  box.Show(hwnd());
  EnableWindow(hwnd(), TRUE);
  SendMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void CTolvaCfgDlg::OnOpened(std::unique_ptr<OpenedReport> report) {
  if (!report) return;
  versions_ = report->versions;
  selectedRow_ = report->selectedRow >= 0 ? report->selectedRow : 0;
  enableAcceleration_.SetChecked(report->accelerationControl != 0);
  if (acceleration_) {
    acceleration_->SetValue(std::clamp(report->acceleration, 1, 10));
    acceleration_->SetEnabled(report->accelerationControl != 0);
  }
  if (report->hasStage) {
    if (sliderX_) sliderX_->SetValue(std::clamp<double>(report->stageX / 100, 1, 56));
    if (sliderY_) sliderY_->SetValue(std::clamp<double>(report->stageY / 100, 1, 56));
  }
  InvalidateRect(sliders_.hwnd(), nullptr, FALSE);
  ShowRate(report->rate);
  SetPropW(hwnd(), kOpenedProperty, reinterpret_cast<HANDLE>(1));
}

void CTolvaCfgDlg::ShowRate(int32_t rate) {
  rate_ = rate;
  rate125_.SetChecked(rate == 125);
  rate500_.SetChecked(rate == 500);
  rate1000_.SetChecked(rate == 1000);
}

void CTolvaCfgDlg::OpenManual() {
  const InstallSettings& settings = app_.settings();
  const LanguageRow* language = settings.CurrentLanguage();
  if (!language) return;
  const std::wstring path = WideOf(settings.installFolder) + L"Translations\\Manuals\\" + WideOf(language->name) + L"\\index.html";
  ShellExecuteW(nullptr, L"OPEN", path.c_str(), nullptr, nullptr, SW_SHOW);
}

void CTolvaCfgDlg::Paint() {
  kit::win::PaintBuffer paint(hwnd());
  HDC dc = paint.dc();
  kit::win::Skin& skin = kit::win::Skin::Get();
  wchar_t title[128] = L"";
  GetWindowTextW(hwnd(), title, static_cast<int>(std::size(title)));
  kit::win::PaintWindowBackground(dc, paint.client(), Scale(kTitle, dpi_), Scale(18, dpi_), title, dpi_);
  const HFONT heading = skin.CaptionFont(dpi_, 13), text = skin.TextFont(dpi_);
  auto label = [&](int x, int y, int w, const wchar_t* s, COLORREF colour, HFONT font) {
    kit::win::DrawTextIn(dc, s, -1, At(x, y, w, 20), font, colour, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS);
  };
  label(24, 56, 400, app_.Text(u"ADJUST PERFORMANCE"), skin::kColourAccent, heading);
  label(24, 230, 400, app_.Text(u"Polling Rate"), skin::kColourAccent, heading);
  label(24, 294, kWidth - 48, app_.Text(u"Note : This Setting Applies To All Profiles"), skin::kColourTextDim, text);
  const std::wstring firmware = WideOf(versionLines_.firmware), driver = WideOf(versionLines_.driver);
  label(24, 330, 240, firmware.c_str(), skin::kColourTextDim, text);
  label(24, 350, 240, driver.c_str(), skin::kColourTextDim, text);
}

}  // namespace quill::cfg::win
