// The decisions of the "Sensitivity Stage Settings" dialog (CDPIStagesDlg): the stage table, the
// two sliders, the stage buttons, the independent X-Y toggle and the number of stages.
//
// The dialog calls:
//   Open(profile, live)        at OnInitDialog; live: the performance page's X/Y slider values
//                              (hundreds of DPI) when the page exists, for the current stage
//   MoveX / MoveY              a slider moved (hundreds, 1.0 to 56.0)
//   SelectStage(s)             stage buttons 905 to 909
//   SetIndependent(on)         the toggle 911
//   SetStageCount(v)           the spin 924; answers the value to put back into the spin
//   Commit()                   OK and APPLY; answers what the performance page is to show
//   Cancel()                   CANCEL
// and draws from Stage(i), Slider values, Independent(), StageCount(), Selected().
//
// Values are DPI in steps of 100 from 100 to 5600; a slider value v is (int)(v + 0.49) * 100 DPI.
// A profile without stages shows the default table with all five stages; a commit then changes
// only the dialog and the page. CANCEL leaves the profile exactly as it was, its modified mark
// included.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "common/dpi_stages.h"
#include "common/profile_records.h"

namespace quill::editors {

constexpr int kMinStageCount = 2;
constexpr int kMaxStageCount = 5;
constexpr int32_t kMinDpi = 100;
constexpr int32_t kMaxDpi = 5600;
constexpr std::array<int32_t, kMaxStageCount> kDefaultStageDpi = {800, 1200, 1600, 2400, 5600};

// DPI of a slider value in hundreds, within 100 to 5600.
int32_t DpiFromSlider(double hundreds);

// The performance page's live X and Y slider values, in hundreds of DPI.
struct LiveSliders {
  double x = 0;
  double y = 0;
};

struct StageView {
  int32_t x = 0;
  int32_t y = 0;
  bool independent = false;
  bool shown = false;
  std::u16string xLabel;  // "%d" of X
  std::u16string yLabel;  // "%d" of Y for a shown independent stage, else empty (label hidden)
};

// What the performance page shows after a commit: the stage now current.
struct PageValues {
  int32_t x = 0;
  int32_t y = 0;
  bool independent = false;  // shows the page's Y controls
  std::u16string xLabel;     // "X: %d", or "%d" of X for a stage that is not independent
  std::u16string yLabel;     // "Y: %d"
};

class DpiStagesModel {
 public:
  void Open(ProfileEntry* profile, std::optional<LiveSliders> live);

  int StageCount() const { return count_; }
  int Selected() const { return selected_; }
  int Current() const { return current_; }
  const StageView& Stage(int stage) const { return stages_[stage - 1]; }  // 1 to 5
  double XSlider() const { return x_; }
  double YSlider() const { return y_; }
  bool Independent() const { return independent_; }

  void MoveX(double hundreds);
  void MoveY(double hundreds);
  bool SelectStage(int stage);  // false for a stage that is not shown
  void SetIndependent(bool on);
  int SetStageCount(double value);
  std::optional<PageValues> Commit();
  void Cancel();

 private:
  void StoreSliders();
  void LoadSliders();
  void Relabel(int stage);
  void MarkModified();

  ProfileEntry* profile_ = nullptr;
  int32_t modifiedAtOpen_ = 0;
  int count_ = kMaxStageCount;
  int selected_ = 1;
  int current_ = 0;
  std::array<StageView, kMaxStageCount> stages_{};
  double x_ = 8, y_ = 8;
  bool independent_ = false;
};

}  // namespace quill::editors
