#include "cli/mouse_backup.h"

#include <algorithm>
#include <map>

#include "cli/command_args.h"
#include "cli/json_text.h"

namespace quill::cli {
namespace {

using json::Value;
using Kind = json::Value::Kind;

constexpr size_t kMaxDeviceNameUnits = 19;  // 40 bytes with the terminator
constexpr int64_t kMaxLeds = 255;

Value StageValue(const BackupStage& s) {
  if (s.x == s.y) return Value::Number(s.x);
  return Value::Array({Value::Number(s.x), Value::Number(s.y)});
}

// Fails with the place of a fault; every check below returns false after Fail.
class Checker {
 public:
  bool Fail(const std::string& place, const std::string& message, const Value* at = nullptr) {
    if (!error_.empty()) return false;
    error_ = place + ": " + message;
    if (at) error_ += " (line " + std::to_string(at->line) + ", column " + std::to_string(at->column) + ")";
    return false;
  }
  const std::string& error() const { return error_; }

  bool Is(const Value& v, Kind kind, const std::string& place) {
    if (v.kind == kind) return true;
    return Fail(place, std::string(json::KindName(kind)) + " expected, found " + json::KindName(v.kind), &v);
  }

  // The object's members must be exactly `names`.
  bool Members(const Value& object, const std::string& place, std::initializer_list<const char*> names) {
    for (const auto& member : object.members) {
      if (std::none_of(names.begin(), names.end(), [&](const char* n) { return member.first == n; }))
        return Fail(place, "unknown member \"" + member.first + "\"", &member.second);
    }
    for (const char* name : names)
      if (!object.Find(name)) return Fail(place, "\"" + std::string(name) + "\" is missing", &object);
    return true;
  }

  bool Number(const Value& object, const char* name, const std::string& place, int64_t min, int64_t max,
              int64_t& out) {
    const Value& v = *object.Find(name);
    const std::string where = place + Dot(place) + name;
    if (!Is(v, Kind::kNumber, where)) return false;
    if (v.number < min || v.number > max)
      return Fail(where, std::to_string(v.number) + " is not " + std::to_string(min) + " to " + std::to_string(max), &v);
    out = v.number;
    return true;
  }

  bool Name(const Value& v, const std::string& place, bool allow_empty, std::string& out) {
    if (!Is(v, Kind::kString, place)) return false;
    if (!allow_empty && v.text.empty()) return Fail(place, "the name is empty", &v);
    if (Utf16Length(v.text) > kMaxDeviceNameUnits)
      return Fail(place, "\"" + v.text + "\" is longer than the mouse's 19 characters", &v);
    for (unsigned char c : v.text)
      if (c < 0x20) return Fail(place, "the name holds a control character", &v);
    out = v.text;
    return true;
  }

  static std::string Dot(const std::string& place) { return place.empty() ? "" : "."; }

 private:
  std::string error_;
};

bool ReadStages(Checker& check, const Value& list, const std::string& place, std::vector<BackupStage>& stages) {
  if (!check.Is(list, Kind::kArray, place)) return false;
  if (list.items.empty() || list.items.size() > kMaxDpiStages)
    return check.Fail(place, "1 to " + std::to_string(kMaxDpiStages) + " stages expected, found " +
                                 std::to_string(list.items.size()), &list);
  for (size_t i = 0; i < list.items.size(); ++i) {
    const Value& item = list.items[i];
    const std::string where = place + "[" + std::to_string(i) + "]";
    BackupStage stage;
    if (item.kind == Kind::kArray && item.items.size() == 2 && item.items[0].kind == Kind::kNumber &&
        item.items[1].kind == Kind::kNumber) {
      stage = {item.items[0].number, item.items[1].number};
    } else if (item.kind == Kind::kNumber) {
      stage = {item.number, item.number};
    } else {
      return check.Fail(where, "a DPI value or a list [x, y] expected", &item);
    }
    for (int64_t dpi : {stage.x, stage.y})
      if (std::string why = CheckDpi(dpi); !why.empty()) return check.Fail(where, why, &item);
    stages.push_back(stage);
  }
  return true;
}

bool ReadButtons(Checker& check, const Value& object, const std::string& place, BackupProfile& profile) {
  if (!check.Is(object, Kind::kObject, place)) return false;
  for (const auto& [name, value] : object.members) {
    if (!ButtonByName(name) || NameOfButton(*ButtonByName(name)) != name)
      return check.Fail(place, "unknown button \"" + name + "\"", &value);
  }
  for (const buttons::ButtonInfo& button : buttons::Buttons()) {
    const std::string name = NameOfButton(button);
    const std::string where = place + "." + name;
    const Value* v = object.Find(name);
    if (!v) return check.Fail(place, "\"" + name + "\" is missing", &object);
    if (!check.Is(*v, Kind::kString, where)) return false;
    std::string error;
    std::optional<ButtonAssignment> a = ParseAssignment(button, v->text, error);
    if (!a) return check.Fail(where, error, v);
    profile.buttons[static_cast<size_t>(button.fileIndex)] = *a;
  }
  std::array<buttons::MappingWords, buttons::kButtonCount> slots{};
  for (const buttons::ButtonInfo& button : buttons::Buttons())
    slots[static_cast<size_t>(button.slot)] = MappingOf(button, profile.buttons[static_cast<size_t>(button.fileIndex)]);
  if (!buttons::KeepsAClick(slots, 0, slots[0]))
    return check.Fail(place, "no button is on click (at least one must be)", &object);
  return true;
}

bool ReadProfile(Checker& check, const Value& v, const std::string& place, BackupProfile& profile) {
  if (!check.Is(v, Kind::kObject, place)) return false;
  if (!check.Members(v, place, {"slot", "name", "leds", "dpi stages", "default stage", "buttons"})) return false;
  if (!check.Number(v, "slot", place, kFirstProfileSlot, kLastProfileSlot, profile.slot)) return false;
  if (!check.Name(*v.Find("name"), place + ".name", true, profile.name)) return false;
  if (!check.Number(v, "leds", place, 0, kMaxLeds, profile.leds)) return false;
  if (!ReadStages(check, *v.Find("dpi stages"), place + ".dpi stages", profile.stages)) return false;
  if (!check.Number(v, "default stage", place, 1, static_cast<int64_t>(profile.stages.size()), profile.default_stage))
    return false;
  return ReadButtons(check, *v.Find("buttons"), place + ".buttons", profile);
}

bool ReadMacro(Checker& check, const Value& v, const std::string& place, BackupMacro& macro) {
  if (!check.Is(v, Kind::kObject, place)) return false;
  if (!check.Members(v, place, {"name", "events"})) return false;
  if (!check.Name(*v.Find("name"), place + ".name", false, macro.name)) return false;
  const Value& events = *v.Find("events");
  const std::string where = place + ".events";
  if (!check.Is(events, Kind::kArray, where)) return false;
  if (events.items.size() > kMaxMacroEventLines)
    return check.Fail(where, "more than " + std::to_string(kMaxMacroEventLines) + " lines", &events);
  std::string text;
  for (size_t i = 0; i < events.items.size(); ++i) {
    const Value& line = events.items[i];
    const std::string at = where + "[" + std::to_string(i) + "]";
    if (!check.Is(line, Kind::kString, at)) return false;
    if (line.text.find_first_of("\r\n") != std::string::npos) return check.Fail(at, "one event per line", &line);
    text += line.text + "\n";
  }
  // A macro without events is what the mouse holds for a new one; the text form has no such macro.
  MacroScriptResult parsed = events.items.empty() ? MacroScriptResult{true, {}, {}} : ParseMacroScript(text);
  if (!parsed.ok) {
    // "line N: ..." of the joined text is item N - 1.
    size_t line = 0, skip = 0;
    if (parsed.error.rfind("line ", 0) == 0) {
      const size_t colon = parsed.error.find(": ");
      const std::optional<int64_t> n =
          colon == std::string::npos ? std::nullopt : ParseBounded(std::string_view(parsed.error).substr(5, colon - 5), 1,
                                                                   static_cast<int64_t>(events.items.size()));
      if (n) line = static_cast<size_t>(*n), skip = colon + 2;
    }
    if (line == 0) return check.Fail(where, parsed.error, &events);
    return check.Fail(where + "[" + std::to_string(line - 1) + "]", parsed.error.substr(skip), &events.items[line - 1]);
  }
  macro.steps = std::move(parsed.steps);
  return true;
}

// Macro and profile references name something the file holds, exactly once.
bool ResolveReferences(Checker& check, MouseBackup& backup) {
  std::map<std::string, int32_t> macros;  // name -> position + 1
  for (size_t i = 0; i < backup.macros.size(); ++i) {
    if (!macros.emplace(backup.macros[i].name, static_cast<int32_t>(i + 1)).second)
      return check.Fail("macros[" + std::to_string(i) + "].name",
                        "\"" + backup.macros[i].name + "\" is the name of an earlier macro too");
  }
  for (size_t p = 0; p < backup.profiles.size(); ++p) {
    BackupProfile& profile = backup.profiles[p];
    for (const buttons::ButtonInfo& button : buttons::Buttons()) {
      ButtonAssignment& a = profile.buttons[static_cast<size_t>(button.fileIndex)];
      const std::string where = "profiles[" + std::to_string(p) + "].buttons." + NameOfButton(button);
      const buttons::FunctionKind kind = buttons::FunctionByIndex(a.function)->kind;
      if (kind == buttons::FunctionKind::Macro) {
        auto found = macros.find(a.target);
        if (found == macros.end()) return check.Fail(where, "no macro named \"" + a.target + "\" in this file");
        a.number = found->second;
      } else if (kind == buttons::FunctionKind::Profile) {
        size_t count = 0;
        for (const BackupProfile& other : backup.profiles) {
          if (other.name == a.target) {
            ++count;
            a.number = static_cast<int32_t>(other.slot);
          }
        }
        if (count == 0) return check.Fail(where, "no profile named \"" + a.target + "\" in this file");
        if (count > 1) return check.Fail(where, "more than one profile is named \"" + a.target + "\"");
      }
    }
  }
  return true;
}

}  // namespace

size_t Utf16Length(std::string_view utf8) {
  size_t units = 0;
  for (unsigned char c : utf8) {
    if ((c & 0xC0) == 0x80) continue;  // continuation byte
    units += c >= 0xF0 ? 2 : 1;
  }
  return units;
}

std::string WriteBackup(const MouseBackup& backup) {
  Value root = Value::Object();
  root.Add("format", Value::String(kBackupFormat))
      .Add("version", Value::Number(kBackupVersion))
      .Add("polling rate", Value::Number(backup.polling_rate))
      .Add("active profile", Value::Number(backup.active_profile));
  Value profiles = Value::Array();
  for (const BackupProfile& p : backup.profiles) {
    Value stages = Value::Array();
    for (const BackupStage& s : p.stages) stages.items.push_back(StageValue(s));
    Value buttons = Value::Object();
    for (const buttons::ButtonInfo& button : buttons::Buttons())
      buttons.Add(NameOfButton(button), Value::String(AssignmentWord(p.buttons[static_cast<size_t>(button.fileIndex)])));
    Value profile = Value::Object();
    profile.Add("slot", Value::Number(p.slot))
        .Add("name", Value::String(p.name))
        .Add("leds", Value::Number(p.leds))
        .Add("dpi stages", std::move(stages))
        .Add("default stage", Value::Number(p.default_stage))
        .Add("buttons", std::move(buttons));
    profiles.items.push_back(std::move(profile));
  }
  root.Add("profiles", std::move(profiles));
  Value macros = Value::Array();
  for (const BackupMacro& m : backup.macros) {
    Value events = Value::Array();
    const std::string script = FormatMacroScript(m.steps);
    for (size_t start = 0; start < script.size();) {
      const size_t end = script.find('\n', start);
      events.items.push_back(Value::String(script.substr(start, end - start)));
      if (end == std::string::npos) break;
      start = end + 1;
    }
    Value macro = Value::Object();
    macro.Add("name", Value::String(m.name)).Add("events", std::move(events));
    macros.items.push_back(std::move(macro));
  }
  root.Add("macros", std::move(macros));
  return json::Write(root);
}

BackupReadResult ReadBackup(std::string_view text) {
  BackupReadResult result;
  json::Limits limits;
  limits.max_bytes = kMaxBackupBytes;
  limits.max_values = kMaxBackupValues;
  json::ParseResult parsed = json::Parse(text, limits);
  if (!parsed.ok) {
    result.error = parsed.error;
    return result;
  }
  Checker check;
  const Value& root = parsed.value;
  MouseBackup& b = result.backup;
  auto done = [&](bool ok) {
    result.ok = ok;
    if (!ok) result.error = check.error();
    return result;
  };
  if (!check.Is(root, Kind::kObject, "the file")) return done(false);
  if (!check.Members(root, "the file", {"format", "version", "polling rate", "active profile", "profiles", "macros"}))
    return done(false);
  const Value& format = *root.Find("format");
  if (format.kind != Kind::kString || format.text != kBackupFormat)
    return done(check.Fail("format", "not \"" + std::string(kBackupFormat) + "\": this is no backup of the mouse", &format));
  int64_t version = 0;
  if (!check.Number(root, "version", "", kBackupVersion, kBackupVersion, version)) return done(false);
  const Value& rate = *root.Find("polling rate");
  if (!check.Is(rate, Kind::kNumber, "polling rate")) return done(false);
  if (rate.number != 1000 && rate.number != 500 && rate.number != 125)
    return done(check.Fail("polling rate", std::to_string(rate.number) + " Hz is not 1000, 500 or 125", &rate));
  b.polling_rate = rate.number;

  const Value& profiles = *root.Find("profiles");
  if (!check.Is(profiles, Kind::kArray, "profiles")) return done(false);
  if (profiles.items.size() > static_cast<size_t>(kLastProfileSlot))
    return done(check.Fail("profiles", "the mouse holds at most 5 profiles", &profiles));
  for (size_t i = 0; i < profiles.items.size(); ++i) {
    const std::string place = "profiles[" + std::to_string(i) + "]";
    BackupProfile profile;
    if (!ReadProfile(check, profiles.items[i], place, profile)) return done(false);
    for (const BackupProfile& earlier : b.profiles)
      if (earlier.slot == profile.slot)
        return done(check.Fail(place + ".slot", "slot " + std::to_string(profile.slot) + " appears twice",
                               profiles.items[i].Find("slot")));
    b.profiles.push_back(std::move(profile));
  }
  if (std::none_of(b.profiles.begin(), b.profiles.end(), [](const BackupProfile& p) { return p.slot == 1; }))
    return done(check.Fail("profiles", "slot 1 is missing (the mouse always keeps its base profile)", &profiles));
  if (!check.Number(root, "active profile", "", kFirstProfileSlot, kLastProfileSlot, b.active_profile))
    return done(false);
  if (std::none_of(b.profiles.begin(), b.profiles.end(), [&](const BackupProfile& p) { return p.slot == b.active_profile; }))
    return done(check.Fail("active profile", "the file holds no profile in slot " + std::to_string(b.active_profile),
                           root.Find("active profile")));

  const Value& macros = *root.Find("macros");
  if (!check.Is(macros, Kind::kArray, "macros")) return done(false);
  if (macros.items.size() > kMaxMacros)
    return done(check.Fail("macros", "the mouse holds at most " + std::to_string(kMaxMacros) + " macros", &macros));
  for (size_t i = 0; i < macros.items.size(); ++i) {
    BackupMacro macro;
    if (!ReadMacro(check, macros.items[i], "macros[" + std::to_string(i) + "]", macro)) return done(false);
    b.macros.push_back(std::move(macro));
  }
  if (!ResolveReferences(check, b)) return done(false);
  std::sort(b.profiles.begin(), b.profiles.end(),
            [](const BackupProfile& l, const BackupProfile& r) { return l.slot < r.slot; });
  return done(true);
}

}  // namespace quill::cli
