// backup, restore: the whole mouse (polling rate, profiles, macros) in one readable file, and the
// mouse made to hold exactly what such a file says, writing only what differs.
#include <algorithm>
#include <functional>
#include <set>

#include "cli/command_args.h"
#include "cli/mouse_backup.h"
#include "cli/win/commands.h"
#include "cli/win/macro_elements.h"
#include "cli/win/profile_view.h"
#include "winsupport/com_ptr.h"
#include "winsupport/handles.h"

namespace quill::cli {
namespace {

constexpr size_t kSpaceUnitBytes = 480;  // the mouse counts its macro memory in these

struct MacroNow {
  LONG id = 0;
  std::string name;
  std::vector<MacroStep> steps;
};

// What the mouse holds.
struct MouseNow {
  LONG rate = 0;
  LONG active = 0;
  std::vector<ProfileView> profiles;
  std::vector<MacroNow> macros;  // in directory order
};

bool Failed(Output& out, const std::string& what, HRESULT hr) {
  Failure(out, what, hr);
  return false;
}

HRESULT PollingRate(DeviceSession& session, com::ComPtr<IPollingRate>& rate) {
  return session.device()->CreatePollingRateInterface(rate.Put());
}

bool ReadMouse(Onboard& onboard, MouseNow& now) {
  Output& out = onboard.out();
  com::ComPtr<IPollingRate> rate;
  HRESULT hr = PollingRate(onboard.session(), rate);
  if (SUCCEEDED(hr)) hr = rate->GetRate(&now.rate);
  if (FAILED(hr)) return Failed(out, "could not read the polling rate", hr);
  if (!onboard.profiles()) return false;
  hr = onboard.profiles()->GetActiveProfileNumber(&now.active);
  if (FAILED(hr)) return Failed(out, "could not read the active profile", hr);
  if (!ReadProfiles(onboard, now.profiles)) return false;
  std::vector<std::pair<LONG, LONG>> list;
  if (!onboard.ListMacros(list)) return false;
  for (const auto& [id, size] : list) {
    MacroNow m;
    m.id = id;
    if (!onboard.MacroName(id, m.name)) return false;
    com::ComPtr<IMeridexMacroObject> macro;
    hr = onboard.macros()->OpenMacro(id, macro.Put());
    if (SUCCEEDED(hr)) hr = ReadSteps(macro.Get(), m.steps);
    if (FAILED(hr)) return Failed(out, "could not read macro " + std::to_string(id), hr);
    now.macros.push_back(std::move(m));
  }
  return true;
}

const ButtonMapping* MappingFor(const ProfileView& view, const buttons::ButtonInfo& button) {
  for (const ButtonMapping& m : view.buttons)
    if (m.button == button.lButton) return &m;
  return nullptr;
}

std::vector<BackupStage> StagesOf(const StageView& view) {
  std::vector<BackupStage> stages;
  for (const StageView::Stage& s : view.stages) stages.push_back({s.x, s.y});
  return stages;
}

// The mouse as a backup; "" or what the file cannot hold.
std::string ToBackup(const MouseNow& now, MouseBackup& b) {
  b.polling_rate = now.rate;
  b.active_profile = now.active;
  for (const ProfileView& view : now.profiles) {
    BackupProfile p;
    p.slot = view.slot;
    p.name = view.name;
    p.leds = view.leds;
    p.stages = StagesOf(view.stages);
    p.default_stage = view.stages.default_stage;
    const std::string where = "profile " + std::to_string(view.slot) + ": ";
    for (const buttons::ButtonInfo& button : buttons::Buttons()) {
      const ButtonMapping* m = MappingFor(view, button);
      if (!m) return where + "the mouse reports no " + NameOfButton(button) + " button";
      std::optional<ButtonAssignment> a = AssignmentOf(WordsOf(*m));
      if (!a) return where + NameOfButton(button) + " is " + AssignmentText(*m) + ", which a backup has no word for";
      if (buttons::FunctionByIndex(a->function)->kind == buttons::FunctionKind::Macro) {
        auto macro = std::find_if(now.macros.begin(), now.macros.end(), [&](const MacroNow& x) { return x.id == a->number; });
        if (macro == now.macros.end())
          return where + NameOfButton(button) + " plays macro " + std::to_string(a->number) + ", which the mouse does not hold";
        a->target = macro->name;
        a->number = static_cast<int32_t>(macro - now.macros.begin()) + 1;
      } else if (buttons::FunctionByIndex(a->function)->kind == buttons::FunctionKind::Profile) {
        auto target = std::find_if(now.profiles.begin(), now.profiles.end(),
                                   [&](const ProfileView& x) { return x.slot == a->number; });
        if (target == now.profiles.end())
          return where + NameOfButton(button) + " switches to profile slot " + std::to_string(a->number) + ", which is empty";
        a->target = target->name;
      }
      p.buttons[static_cast<size_t>(button.fileIndex)] = *a;
    }
    b.profiles.push_back(std::move(p));
  }
  for (const MacroNow& m : now.macros) b.macros.push_back({m.name, m.steps});
  return {};
}

bool WriteWholeFile(const std::string& path, const std::string& text, std::string& error) {
  // A file beside the target, then a replace: a failed write leaves the old file as it was.
  const std::wstring target = WideFromUtf8(path);
  const std::wstring temporary = target + L".new";
  win::FileHandle file(
      CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    error = "cannot create '" + path + ".new' (" + DescribeResult(HRESULT_FROM_WIN32(GetLastError())) + ")";
    return false;
  }
  DWORD written = 0;
  const BOOL wrote = WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  const DWORD code = GetLastError();
  file.Reset();
  if (!wrote || written != text.size()) {
    DeleteFileW(temporary.c_str());
    error = "cannot write '" + path + "' (" + DescribeResult(HRESULT_FROM_WIN32(wrote ? ERROR_WRITE_FAULT : code)) + ")";
    return false;
  }
  if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = "cannot replace '" + path + "' (" + DescribeResult(HRESULT_FROM_WIN32(GetLastError())) + ")";
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

std::string StagesText(const std::vector<BackupStage>& stages, int64_t default_stage) {
  std::string text;
  for (const BackupStage& s : stages)
    text += (text.empty() ? "" : ",") + std::to_string(s.x) + (s.x == s.y ? "" : "x" + std::to_string(s.y));
  return text + " (default " + std::to_string(default_stage) + ")";
}

// Makes the mouse hold what the file says. Every change is listed; without dry_run it is also
// made, and the first failure stops the restore.
class Restorer {
 public:
  Restorer(Onboard& onboard, const MouseBackup& file, MouseNow& now, bool dry_run)
      : onboard_(onboard), file_(file), now_(now), dry_run_(dry_run) {}

  bool Run() { return Rate() && Macros() && CreateProfiles() && Activate() && DeleteProfiles() && ProfileSettings(); }
  const std::vector<Record>& changes() const { return changes_; }
  const std::string& failure() const { return failure_; }
  HRESULT failure_result() const { return failure_result_; }

 private:
  bool Change(const std::string& what, const std::string& detail, const std::function<HRESULT()>& act) {
    if (!dry_run_) {
      const HRESULT hr = act();
      if (FAILED(hr)) {
        failure_ = "could not " + what + " (" + detail + ")";
        failure_result_ = hr;
        return false;
      }
    }
    Record r;
    r.Text("change", what).Text("detail", detail);
    changes_.push_back(r);
    return true;
  }

  IMeridexProfileManager* profiles() { return onboard_.profiles(); }
  IMeridexMacroManager* macros() { return onboard_.macros(); }

  HRESULT OpenProfile(int64_t slot, com::ComPtr<IMeridexProfileObject>& profile) {
    return profiles()->OpenProfile(static_cast<LONG>(slot), profile.Put());
  }

  bool Rate() {
    if (now_.rate == file_.polling_rate) return true;
    return Change("set polling rate", std::to_string(now_.rate) + " Hz to " + std::to_string(file_.polling_rate) + " Hz",
                  [&] {
                    com::ComPtr<IPollingRate> rate;
                    HRESULT hr = PollingRate(onboard_.session(), rate);
                    return SUCCEEDED(hr) ? rate->SetRate(static_cast<LONG>(file_.polling_rate)) : hr;
                  });
  }

  bool Macros() {
    if (!macros()) return false;
    // Macros the file does not name go first (also later ones of a name the mouse holds twice),
    // which frees their memory for the others.
    std::set<std::string> kept;
    for (const MacroNow& m : now_.macros) {
      const bool named = std::any_of(file_.macros.begin(), file_.macros.end(), [&](const BackupMacro& f) { return f.name == m.name; });
      if (named && kept.insert(m.name).second) continue;
      if (!Change("delete macro", std::to_string(m.id) + " (" + m.name + ")", [&] {
            com::ComPtr<IMeridexMacroObject> macro;
            HRESULT hr = macros()->OpenMacro(m.id, macro.Put());
            return SUCCEEDED(hr) ? macros()->DeleteMacro(macro.Get()) : hr;
          }))
        return false;
    }
    for (const BackupMacro& f : file_.macros) {
      auto held = std::find_if(now_.macros.begin(), now_.macros.end(), [&](const MacroNow& m) { return m.name == f.name; });
      if (held != now_.macros.end()) {
        ids_.push_back(held->id);
        if (held->steps == f.steps) continue;
        if (!Change("write macro", std::to_string(held->id) + " (" + f.name + ")", [&] {
              com::ComPtr<IMeridexMacroObject> macro;
              HRESULT hr = macros()->OpenMacro(held->id, macro.Put());
              return SUCCEEDED(hr) ? WriteSteps(macro.Get(), f.steps) : hr;
            }))
          return false;
        continue;
      }
      LONG id = -1;  // not known before it is made
      if (!Change("create macro", f.name, [&] {
            com::ComPtr<IMeridexMacroObject> macro;
            HRESULT hr = macros()->CreateMacro(macro.Put());
            if (SUCCEEDED(hr)) hr = macro->GetMacroId(&id);
            if (SUCCEEDED(hr)) hr = WriteMacro(macro.Get(), WideFromUtf8(f.name), f.steps);
            if (FAILED(hr) && id > 0) macros()->DeleteMacro(macro.Get());  // not left behind empty
            return hr;
          }))
        return false;
      ids_.push_back(id);
    }
    return true;
  }

  ProfileView* Held(int64_t slot) {
    for (ProfileView& v : now_.profiles)
      if (v.slot == slot) return &v;
    return nullptr;
  }

  bool CreateProfiles() {
    for (const BackupProfile& f : file_.profiles) {
      if (Held(f.slot)) continue;
      ProfileView view;
      view.slot = static_cast<LONG>(f.slot);
      view.leds = -1;  // a dry run does not know what a new profile holds: everything is set
      if (!Change("create profile", "slot " + std::to_string(f.slot), [&] { return CreateIn(f.slot, view); }))
        return false;
      now_.profiles.push_back(std::move(view));
    }
    return true;
  }

  // The mouse creates a profile in its first free slot: free slots before `slot` are filled for
  // the while and emptied again.
  HRESULT CreateIn(int64_t slot, ProfileView& view) {
    std::vector<com::ComPtr<IMeridexProfileObject>> fillers;
    HRESULT hr = S_OK;
    for (int64_t tries = kFirstProfileSlot; tries <= kLastProfileSlot; ++tries) {
      com::ComPtr<IMeridexProfileObject> profile;
      hr = profiles()->CreateProfile(profile.Put());
      LONG got = 0;
      if (SUCCEEDED(hr)) hr = profile->GetProfileNumber(&got);
      if (FAILED(hr)) break;
      if (got == slot) {
        hr = ReadProfile(profile.Get(), view);
        break;
      }
      fillers.push_back(std::move(profile));
      hr = E_FAIL;  // the slot never came free
    }
    for (auto& filler : fillers) {
      const HRESULT deleted = profiles()->DeleteProfile(filler.Get());
      if (SUCCEEDED(hr) && FAILED(deleted)) hr = deleted;
    }
    return hr;
  }

  bool Activate() {
    if (now_.active == file_.active_profile) return true;
    return Change("activate profile", "slot " + std::to_string(file_.active_profile), [&] {
      com::ComPtr<IMeridexProfileObject> profile;
      HRESULT hr = OpenProfile(file_.active_profile, profile);
      return SUCCEEDED(hr) ? profiles()->SetActiveProfile(profile.Get()) : hr;
    });
  }

  bool DeleteProfiles() {
    for (const ProfileView& v : now_.profiles) {
      const bool listed = std::any_of(file_.profiles.begin(), file_.profiles.end(),
                                      [&](const BackupProfile& f) { return f.slot == v.slot; });
      if (listed) continue;
      if (!Change("delete profile", "slot " + std::to_string(v.slot) + " (" + v.name + ")", [&] {
            com::ComPtr<IMeridexProfileObject> profile;
            HRESULT hr = OpenProfile(v.slot, profile);
            return SUCCEEDED(hr) ? profiles()->DeleteProfile(profile.Get()) : hr;
          }))
        return false;
    }
    return true;
  }

  // The file's assignment with its macro as the mouse numbers it.
  ButtonAssignment OnTheMouse(ButtonAssignment a) const {
    if (buttons::FunctionByIndex(a.function)->kind == buttons::FunctionKind::Macro)
      a.number = ids_[static_cast<size_t>(a.number - 1)];
    a.target.clear();
    return a;
  }

  bool ProfileSettings() {
    for (const BackupProfile& f : file_.profiles) {
      const ProfileView& v = *Held(f.slot);
      const std::string slot = "slot " + std::to_string(f.slot);
      auto with_profile = [&](const std::function<HRESULT(IMeridexProfileObject*)>& act) {
        return [&, act] {
          com::ComPtr<IMeridexProfileObject> profile;
          HRESULT hr = OpenProfile(f.slot, profile);
          return SUCCEEDED(hr) ? act(profile.Get()) : hr;
        };
      };
      if (v.name != f.name &&
          !Change("rename profile", slot + ": \"" + v.name + "\" to \"" + f.name + "\"",
                  with_profile([&](IMeridexProfileObject* p) { return p->SetProfileName(WideFromUtf8(f.name).c_str()); })))
        return false;
      if (v.leds != f.leds &&
          !Change("set leds", slot + ": " + std::to_string(f.leds), with_profile([&](IMeridexProfileObject* p) {
                    com::ComPtr<ILedStatus> leds;
                    HRESULT hr = ProfilePart(p, leds);
                    return SUCCEEDED(hr) ? leds->SetStatus(static_cast<LONG>(f.leds)) : hr;
                  })))
        return false;
      if ((StagesOf(v.stages) != f.stages || v.stages.default_stage != f.default_stage) &&
          !Change("set dpi stages", slot + ": " + StagesText(f.stages, f.default_stage),
                  with_profile([&](IMeridexProfileObject* p) {
                    std::vector<StageView::Stage> stages;
                    for (const BackupStage& s : f.stages) stages.push_back({s.x, s.y});
                    return WriteStages(p, stages, static_cast<LONG>(f.default_stage));
                  })))
        return false;
      if (!Buttons(f, v, slot, with_profile)) return false;
    }
    return true;
  }

  template <class WithProfile>
  bool Buttons(const BackupProfile& f, const ProfileView& v, const std::string& slot, WithProfile& with_profile) {
    std::string differing;
    std::vector<buttons::MappingWords> records(buttons::kButtonCount);
    for (const buttons::ButtonInfo& button : buttons::Buttons()) {
      const ButtonAssignment wanted = OnTheMouse(f.buttons[static_cast<size_t>(button.fileIndex)]);
      records[static_cast<size_t>(button.slot)] = MappingOf(button, wanted);
      const ButtonMapping* m = MappingFor(v, button);
      std::optional<ButtonAssignment> held = m ? AssignmentOf(WordsOf(*m)) : std::nullopt;
      // A macro made by this restore has no number in a dry run: it differs.
      if (!held || !(*held == wanted) || wanted.number < 0)
        differing += (differing.empty() ? "" : ", ") + NameOfButton(button);
    }
    if (differing.empty()) return true;
    return Change("set buttons", slot + ": " + differing,
                  with_profile([&](IMeridexProfileObject* p) { return WriteMappings(p, records); }));
  }

  Onboard& onboard_;
  const MouseBackup& file_;
  MouseNow& now_;
  bool dry_run_;
  std::vector<LONG> ids_;  // the mouse's id of each of the file's macros
  std::vector<Record> changes_;
  std::string failure_;
  HRESULT failure_result_ = S_OK;
};

}  // namespace

int RunBackup(DeviceSession& session, const std::vector<std::string>& args, Output& out) {
  if (args.size() != 1) return UsageError(out, "backup", "backup takes one file name");
  Onboard onboard(session, out);
  MouseNow now;
  if (!onboard.Open() || !ReadMouse(onboard, now)) return kExitFailed;
  MouseBackup backup;
  std::string error = ToBackup(now, backup);
  const std::string text = error.empty() ? WriteBackup(backup) : std::string();
  // What restore would refuse is not written: a backup must restore.
  if (error.empty()) {
    BackupReadResult check = ReadBackup(text);
    if (!check.ok) error = check.error;
  }
  if (!error.empty()) return Failure(out, "the mouse holds what a backup cannot: " + error, E_FAIL);
  if (!WriteWholeFile(args[0], text, error)) {
    out.Error(error);
    return kExitFailed;
  }
  Record r;
  r.Text("file", args[0])
      .Number("profiles", static_cast<int64_t>(backup.profiles.size()))
      .Number("macros", static_cast<int64_t>(backup.macros.size()))
      .Number("bytes", static_cast<int64_t>(text.size()));
  out.Print(r);
  return kExitOk;
}

int RunRestore(DeviceSession& session, const std::vector<std::string>& args, Output& out) {
  std::string path;
  bool dry_run = false;
  for (const std::string& arg : args) {
    if (arg == "--dry-run" && !dry_run) dry_run = true;
    else if (path.empty()) path = arg;
    else return UsageError(out, "restore", "unexpected argument '" + arg + "'");
  }
  if (path.empty()) return UsageError(out, "restore", "restore takes a backup file");
  std::string text, error;
  if (!ReadInput(path, kMaxBackupBytes, text, error)) {
    out.Error(error);
    return kExitFailed;
  }
  const BackupReadResult read = ReadBackup(text);
  if (!read.ok) {
    out.Error(path + ": " + read.error + " (nothing was changed)");
    return kExitUsage;
  }
  const MouseBackup& file = read.backup;

  Onboard onboard(session, out);
  MouseNow now;
  if (!onboard.Open() || !ReadMouse(onboard, now)) return kExitFailed;
  // The macros must fit the mouse's memory as a whole.
  com::ComPtr<IMeridex> meridex;
  LONG total = 0;
  HRESULT hr = session.Meridex(meridex);
  if (SUCCEEDED(hr)) hr = meridex->GetTotalSpace(&total);
  if (FAILED(hr)) return Failure(out, "could not read the mouse's macro memory", hr);
  size_t units = 0;
  for (const BackupMacro& m : file.macros) units += (EncodedMacroSize(m.steps) + kSpaceUnitBytes - 1) / kSpaceUnitBytes;
  if (units > static_cast<size_t>(total)) {
    out.Error(path + ": macros: they need " + std::to_string(units) + " units of " + std::to_string(kSpaceUnitBytes) +
              " bytes, the mouse has " + std::to_string(total) + " (nothing was changed)");
    return kExitUsage;
  }

  Restorer restorer(onboard, file, now, dry_run);
  const bool done = restorer.Run();
  out.PrintTable(restorer.changes());
  if (!done) {
    if (!out.json() && !restorer.changes().empty()) out.Gap();
    return Failure(out, "restore stopped after " + std::to_string(restorer.changes().size()) + " changes: " +
                            restorer.failure(), restorer.failure_result());
  }
  if (!out.json() && !restorer.changes().empty()) out.Gap();
  Record r;
  r.Text("file", path).Number("changes", static_cast<int64_t>(restorer.changes().size())).Flag("dry run", dry_run);
  out.Print(r);
  return kExitOk;
}

}  // namespace quill::cli
