// profiles, activate, create, delete, rename: the on-board profiles through the profile manager.
#include <array>
#include <map>

#include "cli/button_text.h"
#include "cli/command_args.h"
#include "cli/win/commands.h"
#include "cli/win/onboard.h"

namespace quill::cli {
namespace {

constexpr size_t kMappingRoom = 16;  // the mouse has nine buttons; room to spare

struct ProfileView {
  LONG slot = 0;
  std::string name;
  LONG leds = 0;
  std::vector<int64_t> stages;
  LONG default_stage = 0;
  std::vector<ButtonMapping> buttons;
};

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

  StageView stages;
  hr = ReadStages(profile, stages);
  if (FAILED(hr)) return hr;
  for (const StageView::Stage& s : stages.stages) view.stages.push_back(s.x);
  view.default_stage = stages.default_stage;

  std::array<_TButtonMappingInfo, kMappingRoom> records{};
  _TButtonMappingInfo* first = records.data();
  _TProfileParams params{};
  params.lNumMappings = 9;
  params.ppMappings = &first;
  hr = profile->GetProfileMappings(&params);
  if (FAILED(hr)) return hr;
  const size_t count = std::min<size_t>(params.lNumMappings > 0 ? static_cast<size_t>(params.lNumMappings) : 0,
                                        records.size());
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

// Commands that name a slot first: `count` arguments, the slot's profile opened. The exit code
// when that fails.
std::optional<int> OpenSlotArgument(Onboard& onboard, Output& out, const char* command,
                                    const std::vector<std::string>& args, size_t count, const char* expected,
                                    int64_t& slot, com::ComPtr<IMeridexProfileObject>& profile) {
  std::string error;
  if (args.size() != count) return UsageError(out, command, std::string(command) + " takes " + expected);
  std::optional<int64_t> parsed = ParseSlot(args[0], error);
  if (!parsed) return UsageError(out, command, error);
  slot = *parsed;
  if (!onboard.Open() || !onboard.Profile(slot, profile)) return kExitFailed;
  return std::nullopt;
}

int NamedProfile(Output& out, IMeridexProfileObject* profile, const std::string& name) {
  LONG slot = 0;
  profile->GetProfileNumber(&slot);
  Record r;
  r.Number("slot", slot).Text("name", name);
  out.Print(r);
  return kExitOk;
}

}  // namespace

int RunProfiles(DeviceSession& session, const std::vector<std::string>& args, Output& out) {
  if (!args.empty()) return UsageError(out, "profiles", "profiles takes no arguments");
  Onboard onboard(session, out);
  if (!onboard.Open()) return kExitFailed;
  IMeridexProfileManager* manager = onboard.profiles();
  if (!manager) return kExitFailed;
  LONG active = 0;
  HRESULT hr = manager->GetActiveProfileNumber(&active);
  if (FAILED(hr)) return Failure(out, "could not read the active profile", hr);

  std::vector<ProfileView> views;
  for (LONG slot = kFirstProfileSlot; slot <= kLastProfileSlot; ++slot) {
    if (manager->ProfileExists(slot) != S_OK) continue;
    com::ComPtr<IMeridexProfileObject> profile;
    hr = manager->OpenProfile(slot, profile.Put());
    if (hr == E_FAIL) continue;  // emptied meanwhile
    ProfileView view;
    if (SUCCEEDED(hr)) hr = ReadProfile(profile.Get(), view);
    if (FAILED(hr)) return Failure(out, "could not read profile " + std::to_string(slot), hr);
    views.push_back(std::move(view));
  }

  std::map<int32_t, std::string> macro_names;
  for (const ProfileView& view : views)
    for (const ButtonMapping& m : view.buttons)
      if (int32_t id = MacroIdOf(m)) macro_names[id];
  if (!macro_names.empty() && !onboard.NameMacros(macro_names)) return kExitFailed;
  auto assignment = [&](const ButtonMapping& m) {
    const int32_t id = MacroIdOf(m);
    return id ? AssignmentText(m) + " (" + macro_names[id] + ")" : AssignmentText(m);
  };

  std::vector<Record> profile_rows, button_rows;
  for (const ProfileView& view : views) {
    Record row;
    row.Number("slot", view.slot)
        .Flag("active", view.slot == active)
        .Text("name", view.name)
        .Number("leds", view.leds)
        .Numbers("dpi stages", view.stages)
        .Number("default stage", view.default_stage);
    std::vector<Record> buttons;
    for (const ButtonMapping& m : view.buttons) {
      Record b;
      b.Text("button", ButtonName(m.button)).Text("assignment", assignment(m));
      if (int32_t id = MacroIdOf(m)) b.Number("macro", id).Text("macro name", macro_names[id]);
      buttons.push_back(b);
      Record line;
      line.Number("slot", view.slot).Text("button", ButtonName(m.button)).Text("assignment", assignment(m));
      button_rows.push_back(line);
    }
    if (out.json()) row.Records("buttons", buttons);
    profile_rows.push_back(row);
  }
  out.PrintTable(profile_rows);
  if (!out.json()) {
    out.Gap();
    out.PrintTable(button_rows);
  }
  return kExitOk;
}

int RunActivate(DeviceSession& session, const std::vector<std::string>& args, Output& out) {
  Onboard onboard(session, out);
  com::ComPtr<IMeridexProfileObject> profile;
  int64_t slot = 0;
  if (auto code = OpenSlotArgument(onboard, out, "activate", args, 1, "one profile slot", slot, profile)) return *code;
  HRESULT hr = onboard.profiles()->SetActiveProfile(profile.Get());
  if (FAILED(hr)) return Failure(out, "could not activate profile " + std::to_string(slot), hr);
  BSTR name = nullptr;
  std::string text = SUCCEEDED(profile->GetProfileName(&name)) ? TakeBstr(name) : "";
  Record r;
  r.Number("active profile", slot).Text("name", text);
  out.Print(r);
  return kExitOk;
}

int RunCreate(DeviceSession& session, const std::vector<std::string>& args, Output& out) {
  if (args.size() != 1) return UsageError(out, "create", "create takes one profile name");
  std::wstring name;
  if (std::string why = CheckDeviceName(args[0], name); !why.empty()) return UsageError(out, "create", why);
  Onboard onboard(session, out);
  if (!onboard.Open() || !onboard.profiles()) return kExitFailed;
  com::ComPtr<IMeridexProfileObject> profile;
  HRESULT hr = onboard.profiles()->CreateProfile(profile.Put());
  if (hr == E_OUTOFMEMORY) return Failure(out, "all five profile slots are taken", hr);
  if (FAILED(hr)) return Failure(out, "could not create a profile", hr);
  hr = profile->SetProfileName(name.c_str());
  if (FAILED(hr)) {
    LONG slot = 0;
    profile->GetProfileNumber(&slot);
    return Failure(out, "created profile " + std::to_string(slot) + " but could not name it", hr);
  }
  return NamedProfile(out, profile.Get(), args[0]);
}

int RunDelete(DeviceSession& session, const std::vector<std::string>& args, Output& out) {
  Onboard onboard(session, out);
  com::ComPtr<IMeridexProfileObject> profile;
  int64_t slot = 0;
  if (auto code = OpenSlotArgument(onboard, out, "delete", args, 1, "one profile slot", slot, profile)) return *code;
  HRESULT hr = onboard.profiles()->DeleteProfile(profile.Get());
  if (hr == E_ACCESSDENIED)
    return Failure(out,
                   slot == 1 ? std::string("profile 1 is the base profile and is never deleted")
                             : "profile " + std::to_string(slot) + " is the active profile; activate another first",
                   hr);
  if (FAILED(hr)) return Failure(out, "could not delete profile " + std::to_string(slot), hr);
  Record r;
  r.Number("deleted profile", slot);
  out.Print(r);
  return kExitOk;
}

int RunRename(DeviceSession& session, const std::vector<std::string>& args, Output& out) {
  std::wstring name;
  if (args.size() == 2) {
    if (std::string why = CheckDeviceName(args[1], name); !why.empty()) return UsageError(out, "rename", why);
  }
  Onboard onboard(session, out);
  com::ComPtr<IMeridexProfileObject> profile;
  int64_t slot = 0;
  if (auto code = OpenSlotArgument(onboard, out, "rename", args, 2, "a profile slot and a name", slot, profile))
    return *code;
  HRESULT hr = profile->SetProfileName(name.c_str());
  if (FAILED(hr)) return Failure(out, "could not rename profile " + std::to_string(slot), hr);
  return NamedProfile(out, profile.Get(), args[1]);
}

}  // namespace quill::cli
