// CTolvaCfgDlg: the main dialog's frame. A skinned borderless dialog (resource 102) with the
// marker button, the performance controls the apply reads, APPLY / OK / CANCEL, the watchdog
// timer and the DeviceWorker; the pages are built on this frame.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "configurator/apply_settings.h"
#include "configurator/kit/win/hover_button.h"
#include "configurator/kit/win/slider_list.h"
#include "configurator/kit/win/window_base.h"
#include "configurator/watchdog.h"
#include "configurator/win/device_worker.h"
#include "configurator/win/waiting_dlg.h"

namespace quill::cfg::win {

class CTolvaCfgApp;

inline constexpr UINT_PTR kWatchdogTimer = 678;
inline constexpr UINT kWatchdogPeriodMs = 1000;
// Window properties of the dialog that tell other programs (and tests) how far it is: set once
// the connection has been opened, and the number of applies finished.
inline constexpr const wchar_t* kOpenedProperty = L"QuillfernCfg.Opened";
inline constexpr const wchar_t* kAppliedProperty = L"QuillfernCfg.Applied";

class CTolvaCfgDlg : public kit::win::Dialog,
                     private kit::win::HoverButtonV2Parent,
                     private kit::win::CSliderCtrlParent {
 public:
  explicit CTolvaCfgDlg(CTolvaCfgApp& app) : app_(app) {}
  ~CTolvaCfgDlg() override;

  // Runs the dialog modally; IDOK, IDCANCEL, or -1 when it could not be shown.
  INT_PTR Run();

 protected:
  bool OnInit() override;
  bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  void OnHoverButtonClicked(int id) override;
  void OnSliderMoved(kit::win::CBitmapSliderCtrl& slider, double value) override;

  void CreateControls();
  void BuildSystemMenu();
  bool OnCommand(int id, HWND from);
  void StartApply(bool fromOk);
  void Cancel(bool fromButton);
  void Close();
  void ShutDownWorkers();
  void OnWatchdogTimer();
  void ShowClosingMessage(const ClosingMessage& message);
  void OnOpened(std::unique_ptr<OpenedReport> report);
  void ShowRate(int32_t rate);
  void OpenManual();
  ApplyInputs CaptureInputs() const;
  void Paint();
  RECT At(int x, int y, int w, int h) const;

  CTolvaCfgApp& app_;
  SessionFlags flags_;
  Watchdog watchdog_;
  DeviceVersions versions_;
  VersionLines versionLines_;
  std::unique_ptr<DeviceWorker> worker_;
  WaitingBoxThread waiting_;
  int dpi_ = 96;
  bool inTick_ = false;
  bool closing_ = false;
  int32_t rate_ = 0;
  ptrdiff_t selectedRow_ = 0;
  uintptr_t applies_ = 0;

  kit::win::CHoverButtonV2 manual_{this};
  kit::win::CHoverButtonV2 minimise_{this};
  kit::win::CHoverButtonV2 closeButton_{this};
  kit::win::CSliderListCtrlV2 sliders_{this};
  kit::win::CBitmapSliderCtrl* sliderX_ = nullptr;
  kit::win::CBitmapSliderCtrl* sliderY_ = nullptr;
  kit::win::CBitmapSliderCtrl* acceleration_ = nullptr;
  kit::win::CHoverButtonV2 enableAcceleration_{this, true};
  kit::win::CHoverButtonV2 rate125_{this, true};
  kit::win::CHoverButtonV2 rate500_{this, true};
  kit::win::CHoverButtonV2 rate1000_{this, true};
  kit::win::CHoverButtonV2 apply_{this};
  kit::win::CHoverButtonV2 ok_{this};
  kit::win::CHoverButtonV2 cancel_{this};
};

}  // namespace quill::cfg::win
