// profiles, activate, create, delete, rename: the on-board profiles through the profile manager.
#include "cli/command_args.h"
#include "cli/win/commands.h"
#include "cli/win/profile_view.h"

namespace quill::cli {
namespace {

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
  std::vector<std::vector<Record>> buttons;
  std::vector<Record> button_rows;
  if (!ReadProfiles(onboard, views) || !DescribeButtons(onboard, views, buttons, button_rows)) return kExitFailed;

  std::vector<Record> profile_rows;
  for (size_t i = 0; i < views.size(); ++i) {
    const ProfileView& view = views[i];
    std::vector<int64_t> stages;
    for (const StageView::Stage& s : view.stages.stages) stages.push_back(s.x);
    Record row;
    row.Number("slot", view.slot)
        .Flag("active", view.slot == active)
        .Text("name", view.name)
        .Number("leds", view.leds)
        .Numbers("dpi stages", stages)
        .Number("default stage", view.stages.default_stage);
    if (out.json()) row.Records("buttons", buttons[i]);
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
