#include "cli/win/onboard.h"

#include <algorithm>

namespace quill::cli {

bool Onboard::Open() {
  if (session_.Open()) return true;
  out_.Error(session_.error());
  return false;
}

template <class Manager>
Manager* Onboard::Lazy(com::ComPtr<Manager>& manager, HRESULT (DeviceSession::*make)(com::ComPtr<Manager>&),
                       const char* what) {
  if (!manager) {
    HRESULT hr = (session_.*make)(manager);
    if (FAILED(hr)) {
      Failure(out_, std::string("the middleware gave no ") + what, hr);
      return nullptr;
    }
  }
  return manager.Get();
}

IMeridexProfileManager* Onboard::profiles() {
  return Lazy(profiles_, &DeviceSession::ProfileManager, "profile manager");
}

IMeridexMacroManager* Onboard::macros() { return Lazy(macros_, &DeviceSession::MacroManager, "macro manager"); }

bool Onboard::Profile(int64_t slot, com::ComPtr<IMeridexProfileObject>& out) {
  IMeridexProfileManager* manager = profiles();
  if (!manager) return false;
  // OpenProfile answers E_FAIL for an empty slot and for a device failure alike; the existence
  // check tells them apart.
  HRESULT hr = manager->ProfileExists(static_cast<LONG>(slot));
  if (hr == E_FAIL) {
    Failure(out_, "profile slot " + std::to_string(slot) + " is empty", hr);
    return false;
  }
  hr = manager->OpenProfile(static_cast<LONG>(slot), out.Put());
  if (FAILED(hr)) {
    Failure(out_, "could not open profile " + std::to_string(slot), hr);
    return false;
  }
  return true;
}

bool Onboard::ListMacros(std::vector<std::pair<LONG, LONG>>& list) {
  IMeridexMacroManager* manager = macros();
  if (!manager) return false;
  LONG numbers[70], sizes[70];
  HRESULT hr = manager->ReadDirectory(numbers, sizes);
  if (FAILED(hr)) {
    Failure(out_, "could not read the macro directory", hr);
    return false;
  }
  list.clear();
  for (size_t i = 0; i < 70; ++i)
    if (sizes[i] > 0 && numbers[i] >= 0) list.emplace_back(numbers[i] + 1, sizes[i]);
  return true;
}

bool Onboard::MacroName(LONG id, std::string& name) {
  IMeridexMacroManager* manager = macros();
  if (!manager) return false;
  com::ComPtr<IMeridexMacroObject> macro;
  HRESULT hr = manager->OpenMacro(id, macro.Put());
  BSTR text = nullptr;
  if (SUCCEEDED(hr)) hr = macro->GetMacroName(&text);
  if (FAILED(hr)) {
    Failure(out_, "could not read the name of macro " + std::to_string(id), hr);
    return false;
  }
  name = TakeBstr(text);
  return true;
}

bool Onboard::NameMacros(std::map<int32_t, std::string>& names) {
  std::vector<std::pair<LONG, LONG>> list;
  if (!ListMacros(list)) return false;
  for (auto& [id, name] : names) {
    const bool stored = std::any_of(list.begin(), list.end(), [&](const auto& m) { return m.first == id; });
    if (!stored) {
      name = "missing";
    } else if (!MacroName(id, name)) {
      return false;
    }
  }
  return true;
}

HRESULT ReadStageRecord(IDpi* dpi, _stDpiStageType& record) {
  ULONG size = 0;
  _stDpiStageType* block = nullptr;
  HRESULT hr = dpi->GetDpiStages(&size, &block);
  if (block) {
    record = *block;
    CoTaskMemFree(block);
  }
  if (SUCCEEDED(hr) && !block) hr = E_POINTER;
  return hr;
}

HRESULT ReadStages(IMeridexProfileObject* profile, StageView& view) {
  com::ComPtr<IDpi> dpi;
  HRESULT hr = ProfilePart(profile, dpi);
  if (FAILED(hr)) return hr;
  _stDpiStageType record{};
  hr = ReadStageRecord(dpi.Get(), record);
  if (FAILED(hr)) return hr;
  const size_t count = std::min<size_t>(record.ulTotalStages, std::size(record.Sensitivity));
  view.stages.clear();
  for (size_t i = 0; i < count; ++i)
    view.stages.push_back({record.Sensitivity[i].ulXSensitivity, record.Sensitivity[i].ulYSensitivity});
  view.default_stage = record.lDefaultStage;
  view.current_stage = record.lCurrentStage;
  return S_OK;
}

HRESULT WriteStages(IMeridexProfileObject* profile, const std::vector<StageView::Stage>& stages,
                    std::optional<LONG> default_stage) {
  com::ComPtr<IDpi> dpi;
  HRESULT hr = ProfilePart(profile, dpi);
  _stDpiStageType record{};
  if (SUCCEEDED(hr)) hr = ReadStageRecord(dpi.Get(), record);
  if (FAILED(hr)) return hr;
  const LONG count = static_cast<LONG>(std::min(stages.size(), std::size(record.Sensitivity)));
  record.ulTotalStages = static_cast<ULONG>(count);
  for (size_t i = 0; i < std::size(record.Sensitivity); ++i) {
    const bool used = i < static_cast<size_t>(count);
    record.Sensitivity[i] = {used ? static_cast<ULONG>(stages[i].x) : 0, used ? static_cast<ULONG>(stages[i].y) : 0};
  }
  if (default_stage) record.lDefaultStage = *default_stage;
  else if (record.lDefaultStage < 1 || record.lDefaultStage > count) record.lDefaultStage = 1;
  if (record.lCurrentStage < 1 || record.lCurrentStage > count) record.lCurrentStage = record.lDefaultStage;
  return dpi->SetDpiStages(sizeof record, &record);
}

}  // namespace quill::cli
