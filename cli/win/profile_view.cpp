#include "cli/win/profile_view.h"

#include <algorithm>
#include <array>

#include "cli/command_args.h"
#include "winsupport/com_ptr.h"

namespace quill::cli {
namespace {
constexpr size_t kMappingRoom = 16;  // the mouse has nine buttons; room to spare
}  // namespace

HRESULT ReadProfile(IMeridexProfileObject* profile, ProfileView& view) {
  HRESULT hr = profile->GetProfileNumber(&view.slot);
  if (FAILED(hr)) return hr;
  BSTR name = nullptr;
  hr = profile->GetProfileName(&name);
  if (FAILED(hr)) return hr;
  view.name = TakeBstr(name);

  com::ComPtr<ILedStatus> leds;
  hr = ProfilePart(profile, leds);
  if (SUCCEEDED(hr)) hr = leds->GetStatus(&view.leds);
  if (FAILED(hr)) return hr;

  hr = ReadStages(profile, view.stages);
  if (FAILED(hr)) return hr;

  std::array<_TButtonMappingInfo, kMappingRoom> records{};
  _TButtonMappingInfo* first = records.data();
  _TProfileParams params{};
  params.lNumMappings = 9;
  params.ppMappings = &first;
  hr = profile->GetProfileMappings(&params);
  if (FAILED(hr)) return hr;
  const size_t count = std::min<size_t>(params.lNumMappings > 0 ? static_cast<size_t>(params.lNumMappings) : 0,
                                        records.size());
  view.buttons.clear();
  for (size_t i = 0; i < count; ++i) {
    const _TButtonMappingInfo& r = records[i];
    ButtonMapping m;
    m.button = r.lButton;
    m.mapping_type = r.mappingType;
    m.action_type = r.actionOrMacro.actionInfo.actionType;
    for (size_t w = 0; w < 3; ++w) m.info[w] = r.actionOrMacro.actionInfo.info.alWords[w];
    view.buttons.push_back(m);
  }
  return S_OK;
}

bool ReadProfiles(Onboard& onboard, std::vector<ProfileView>& views) {
  IMeridexProfileManager* manager = onboard.profiles();
  if (!manager) return false;
  views.clear();
  for (LONG slot = kFirstProfileSlot; slot <= kLastProfileSlot; ++slot) {
    if (manager->ProfileExists(slot) != S_OK) continue;
    com::ComPtr<IMeridexProfileObject> profile;
    HRESULT hr = manager->OpenProfile(slot, profile.Put());
    if (hr == E_FAIL) continue;  // emptied meanwhile
    ProfileView view;
    if (SUCCEEDED(hr)) hr = ReadProfile(profile.Get(), view);
    if (FAILED(hr)) {
      Failure(onboard.out(), "could not read profile " + std::to_string(slot), hr);
      return false;
    }
    views.push_back(std::move(view));
  }
  return true;
}

bool DescribeButtons(Onboard& onboard, const std::vector<ProfileView>& views,
                     std::vector<std::vector<Record>>& per_profile, std::vector<Record>& rows) {
  std::map<int32_t, std::string> macro_names;
  for (const ProfileView& view : views)
    for (const ButtonMapping& m : view.buttons)
      if (int32_t id = MacroIdOf(m)) macro_names[id];
  if (!macro_names.empty() && !onboard.NameMacros(macro_names)) return false;
  auto assignment = [&](const ButtonMapping& m) {
    const int32_t id = MacroIdOf(m);
    return id ? AssignmentText(m) + " (" + macro_names[id] + ")" : AssignmentText(m);
  };
  per_profile.clear();
  rows.clear();
  for (const ProfileView& view : views) {
    std::vector<Record> buttons;
    for (const ButtonMapping& m : view.buttons) {
      Record b;
      b.Text("button", ButtonName(m.button)).Text("assignment", assignment(m));
      if (int32_t id = MacroIdOf(m)) b.Number("macro", id).Text("macro name", macro_names[id]);
      buttons.push_back(b);
      Record line;
      line.Number("slot", view.slot).Text("button", ButtonName(m.button)).Text("assignment", assignment(m));
      rows.push_back(line);
    }
    per_profile.push_back(std::move(buttons));
  }
  return true;
}

buttons::MappingWords WordsOf(const ButtonMapping& m) {
  return {m.button, m.mapping_type, m.action_type, {m.info[0], m.info[1], m.info[2]}};
}

_TButtonMappingInfo RecordOf(const buttons::MappingWords& words) {
  _TButtonMappingInfo r{};
  r.lButton = words.lButton;
  r.mappingType = static_cast<_TButtonMappingType>(words.mappingType);
  r.actionOrMacro.actionInfo.actionType = static_cast<_TButtonActionType>(words.actionType);
  for (size_t w = 0; w < 3; ++w) r.actionOrMacro.actionInfo.info.alWords[w] = words.info[w];
  return r;
}

HRESULT WriteMappings(IMeridexProfileObject* profile, const std::vector<buttons::MappingWords>& slots) {
  std::vector<_TButtonMappingInfo> records;
  for (const buttons::MappingWords& words : slots) records.push_back(RecordOf(words));
  _TButtonMappingInfo* first = records.data();
  _TProfileParams params{};
  params.lNumMappings = static_cast<LONG>(records.size());
  params.ppMappings = &first;
  return profile->SetProfileMappings(&params);
}

}  // namespace quill::cli
