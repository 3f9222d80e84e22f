#include "configurator/editors/dpi_stages_model.h"

#include <algorithm>
#include <cmath>


namespace quill::editors {
namespace {

std::u16string Number(int32_t value) {
  const std::string text = std::to_string(value);
  return std::u16string(text.begin(), text.end());
}

double Clamped(double hundreds) {
  if (std::isnan(hundreds)) return kMinDpi / 100.0;
  return std::clamp(hundreds, kMinDpi / 100.0, kMaxDpi / 100.0);
}

int32_t ClampedDpi(uint32_t dpi) {
  return static_cast<int32_t>(std::clamp<uint32_t>(dpi, kMinDpi, kMaxDpi)) / 100 * 100;
}

}  // namespace

int32_t DpiFromSlider(double hundreds) {
  return static_cast<int32_t>(Clamped(hundreds) + 0.49) * 100;
}

void DpiStagesModel::Open(ProfileEntry* profile, std::optional<LiveSliders> live) {
  profile_ = profile;
  modifiedAtOpen_ = profile ? profile->bModified : 0;
  const DpiStages* stages = profile ? profile->pDpiStages.get() : nullptr;
  count_ = kMaxStageCount;
  selected_ = 1;
  current_ = 0;
  if (stages) {
    count_ = std::clamp<int>(static_cast<int>(std::min<uint32_t>(stages->ulTotalStages, kMaxStageCount)),
                             kMinStageCount, kMaxStageCount);
    selected_ = std::clamp<int32_t>(stages->lDefaultStage, 1, count_);
    current_ = stages->lCurrentStage;
  }
  for (int i = 1; i <= kMaxStageCount; ++i) {
    StageView& stage = stages_[i - 1];
    if (i == current_ && live) {
      stage.x = DpiFromSlider(live->x);
      stage.y = DpiFromSlider(live->y);
    } else if (stages && i <= count_) {
      stage.x = ClampedDpi(stages->Sensitivity[i - 1].ulXSensitivity);
      stage.y = ClampedDpi(stages->Sensitivity[i - 1].ulYSensitivity);
    } else {
      stage.x = stage.y = kDefaultStageDpi[i - 1];
    }
    stage.independent = stage.x / 100 != stage.y / 100;
    stage.shown = i <= count_;
    Relabel(i);
  }
  LoadSliders();
}

void DpiStagesModel::Relabel(int stage) {
  StageView& view = stages_[stage - 1];
  view.xLabel = Number(view.x);
  view.yLabel = view.shown && view.independent ? Number(view.y) : std::u16string();
}

void DpiStagesModel::MarkModified() {
  if (profile_) profile_->bModified = 1;
}

void DpiStagesModel::LoadSliders() {
  const StageView& stage = stages_[selected_ - 1];
  x_ = stage.x / 100.0;
  y_ = stage.y / 100.0;
  independent_ = stage.independent;
}

void DpiStagesModel::StoreSliders() {
  StageView& stage = stages_[selected_ - 1];
  stage.x = DpiFromSlider(x_);
  stage.y = independent_ ? DpiFromSlider(y_) : stage.x;
  stage.independent = independent_;
  Relabel(selected_);
}

void DpiStagesModel::MoveX(double hundreds) {
  x_ = Clamped(hundreds);
  if (!independent_) y_ = x_;
}

void DpiStagesModel::MoveY(double hundreds) {
  if (independent_) y_ = Clamped(hundreds);
}

bool DpiStagesModel::SelectStage(int stage) {
  if (stage < 1 || stage > count_) return false;
  StoreSliders();
  selected_ = stage;
  MarkModified();
  StageView& view = stages_[stage - 1];
  if (view.x != view.y) view.independent = true;
  LoadSliders();
  return true;
}

void DpiStagesModel::SetIndependent(bool on) {
  independent_ = on;
  if (!on) y_ = x_;
  StoreSliders();
  MarkModified();
}

int DpiStagesModel::SetStageCount(double value) {
  const int n = std::isnan(value) ? count_
                                  : static_cast<int>(std::clamp(std::lround(value), long{kMinStageCount},
                                                                long{kMaxStageCount}));
  if (n == count_) return n;
  MarkModified();
  if (selected_ > n) SelectStage(n);
  count_ = n;
  for (int i = 1; i <= kMaxStageCount; ++i) {
    stages_[i - 1].shown = i <= n;
    Relabel(i);
  }
  return n;
}

std::optional<PageValues> DpiStagesModel::Commit() {
  StoreSliders();
  current_ = std::min(current_, count_);
  selected_ = std::min(selected_, count_);
  if (profile_ && profile_->pDpiStages) {
    DpiStages& stages = *profile_->pDpiStages;
    stages.ulTotalStages = static_cast<uint32_t>(count_);
    stages.lCurrentStage = current_;
    stages.lDefaultStage = selected_;
    for (int i = 0; i < count_; ++i)
      stages.Sensitivity[i] = {static_cast<uint32_t>(stages_[i].x), static_cast<uint32_t>(stages_[i].y)};
  }
  if (current_ < 1) return std::nullopt;
  const StageView& stage = stages_[current_ - 1];
  PageValues page;
  page.x = stage.x;
  page.y = stage.y;
  page.independent = stage.independent;
  page.xLabel = stage.independent ? u"X: " + Number(stage.x) : Number(stage.x);
  page.yLabel = u"Y: " + Number(stage.y);
  return page;
}

void DpiStagesModel::Cancel() {
  if (profile_) profile_->bModified = modifiedAtOpen_;
}

}  // namespace quill::editors
