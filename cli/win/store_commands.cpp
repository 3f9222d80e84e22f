// store list, show, save, delete: profile groups, stored profiles, spell books, macros and user
// actions in the middleware's registry store.
#include <cstdio>
#include <map>

#include "cli/command_args.h"
#include "cli/macro_script.h"
#include "cli/store_text.h"
#include "cli/win/macro_elements.h"
#include "cli/win/store_commands.h"

namespace quill::cli {
namespace {

// Most data bytes `store save action` takes.
constexpr size_t kMaxActionBytes = 8192;
constexpr int64_t kMaxRepeat = 65535;
constexpr size_t kMaxIconFileLength = MAX_PATH;

struct StoredMacro {
  LONG version = 0;
  LONG options = 0;
  LONG type = 0;
  LONG repeat = 0;
  std::string icon_file;
  std::vector<_TMacroElement> elements;
};

HRESULT LoadStoredMacro(IMacroHandling* macros, const std::wstring& name, StoredMacro& macro) {
  _TMacroElement* elements = nullptr;
  LPWSTR icon = nullptr;
  _TMacroParams params{};
  params.ppElements = &elements;
  params.ppszIconFile = &icon;
  const HRESULT hr = macros->LoadMacro(name.c_str(), &params);
  macro.icon_file = TakeCoTaskString(icon);
  if (SUCCEEDED(hr)) {
    macro.version = params.lVersion;
    macro.options = params.options;
    macro.type = params.type;
    macro.repeat = params.lRepeat;
    if (elements && params.lNumElements > 0) macro.elements.assign(elements, elements + params.lNumElements);
  }
  CoTaskMemFree(elements);
  return hr;
}

struct StoredAction {
  LONG code = 0;
  std::vector<uint8_t> data;
};

HRESULT LoadStoredAction(IUserAction* actions, const std::wstring& name, StoredAction& action) {
  BYTE* data = nullptr;
  _TUserActionParams params{};
  params.ppData = &data;
  const HRESULT hr = actions->LoadUserAction(name.c_str(), &params);
  if (SUCCEEDED(hr)) {
    action.code = params.lCode;
    if (data && params.lNumData > 0) action.data.assign(data, data + params.lNumData);
  }
  CoTaskMemFree(data);
  return hr;
}

Record MacroRow(const std::string& name, const StoredMacro& m) {
  Record r;
  r.Text("name", name)
      .Text("type", MacroTypeName(m.type))
      .Text("mode", MacroModeName(m.options))
      .Number("repeat", m.repeat)
      .Number("events", static_cast<int64_t>(m.elements.size()))
      .Text("icon file", m.icon_file);
  return r;
}

Record ActionRow(const std::string& name, const StoredAction& a) {
  Record r;
  r.Text("name", name)
      .Number("code", a.code)
      .Number("bytes", static_cast<int64_t>(a.data.size()))
      .Text("data", HexBytesText(a.data));
  return r;
}

// "no macro 'X' in the store" for E_FAIL, the middleware's result otherwise.
int Missing(Output& out, StoreKind kind, const std::wstring& name, HRESULT hr, const char* doing = "read") {
  if (hr == E_FAIL) {
    out.Error(std::string("no ") + KindTitle(kind) + " '" + Utf8Of(name) + "' in the store");
    return kExitFailed;
  }
  return StoreFailure(out, std::string("could not ") + doing + " " + KindTitle(kind) + " '" + Utf8Of(name) + "'", hr);
}

int ListAll(Store& store, StoreKind kind, Output& out) {
  std::vector<std::string> names;
  // Profiles are listed from their export below.
  if (kind != StoreKind::kProfile && !store.Names(kind, names)) return kExitFailed;
  std::vector<Record> rows;
  switch (kind) {
    case StoreKind::kGroup:
    case StoreKind::kBook:
      for (const std::string& name : names) {
        std::vector<std::string> members;
        if (!store.Members(kind, WideFromUtf8(name), members)) return kExitFailed;
        Record r;
        r.Text("name", name).Texts(kind == StoreKind::kGroup ? "profiles" : "macros", members);
        rows.push_back(r);
      }
      break;
    case StoreKind::kProfile: {
      std::string text;
      HRESULT hr = store.ExportedProfiles(nullptr, text);
      if (hr == E_ABORT) return kExitFailed;
      if (FAILED(hr)) return StoreFailure(out, "could not read the stored profiles", hr);
      std::vector<std::string> groups;
      if (!store.Names(StoreKind::kGroup, groups)) return kExitFailed;
      std::map<std::string, std::vector<std::string>> member_of;
      for (const std::string& group : groups) {
        std::vector<std::string> members;
        if (!store.Members(StoreKind::kGroup, WideFromUtf8(group), members)) return kExitFailed;
        for (const std::string& m : members) member_of[m].push_back(group);
      }
      for (const ExchangeElement& e : ReadExchangeElements(text, "Profile")) {
        const ExchangeKey* count = e.Key("NumMappings");
        Record r;
        r.Text("name", e.name)
            .Number("mappings", count ? ParseCode(count->data).value_or(0) : 0)
            .Texts("groups", member_of[e.name]);
        rows.push_back(r);
      }
      break;
    }
    case StoreKind::kMacro:
    case StoreKind::kAction:
      for (const std::string& name : names) {
        const std::wstring wide = WideFromUtf8(name);
        StoredMacro m;
        StoredAction a;
        const HRESULT hr = kind == StoreKind::kMacro ? LoadStoredMacro(store.macros(), wide, m)
                                                     : LoadStoredAction(store.actions(), wide, a);
        if (FAILED(hr)) return Missing(out, kind, wide, hr);
        rows.push_back(kind == StoreKind::kMacro ? MacroRow(name, m) : ActionRow(name, a));
      }
      break;
  }
  out.PrintTable(rows);
  return kExitOk;
}

int ShowProfile(Store& store, const std::wstring& name, Output& out) {
  std::string text;
  const HRESULT hr = store.ExportedProfiles(&name, text);
  if (hr == E_ABORT) return kExitFailed;
  if (FAILED(hr)) return Missing(out, StoreKind::kProfile, name, hr);
  const std::vector<ExchangeElement> elements = ReadExchangeElements(text, "Profile");
  if (elements.empty()) return StoreFailure(out, "the export of profile '" + Utf8Of(name) + "' holds no profile", E_FAIL);
  const ExchangeElement& profile = elements.front();  // the only one exported
  const ExchangeKey* version = profile.Key("Version");
  const ExchangeKey* count = profile.Key("NumMappings");
  std::vector<Record> rows;
  for (const ExchangeKey& key : profile.keys) {
    if (key.value == "Version" || key.value == "NumMappings") continue;
    Record r;
    r.Text("index", key.value);
    if (std::optional<StoredMapping> m = DecodeStoredMapping(key.data)) {
      r.Text("button", ButtonName(m->words.button)).Text("assignment", StoredAssignmentText(*m));
    } else {
      r.Text("button", "?").Text("assignment", "unreadable data " + key.data.substr(0, 64));
    }
    rows.push_back(r);
  }
  Record head;
  head.Text("name", profile.name)
      .Number("version", version ? ParseCode(version->data).value_or(0) : 0)
      .Number("mappings", count ? ParseCode(count->data).value_or(0) : 0);
  out.PrintWithParts(head, "buttons", rows, rows);
  return kExitOk;
}

int ShowMacro(Store& store, const std::wstring& name, bool script, Output& out) {
  IMacroHandling* macros = store.macros();
  if (!macros) return kExitFailed;
  StoredMacro m;
  const HRESULT hr = LoadStoredMacro(macros, name, m);
  if (FAILED(hr)) return Missing(out, StoreKind::kMacro, name, hr);
  const std::vector<MacroStep> steps = StepsOf(m.elements.data(), static_cast<LONG>(m.elements.size()));
  bool holds = false;
  for (const _TMacroElement& e : m.elements) holds = holds || e.lHoldMs != 0;
  if (script && !out.json()) {
    std::string text = "# stored macro: " + Utf8Of(name) + "\n";
    if (holds) text += "# the hold times of its events are not part of the text\n";
    text += FormatMacroScript(steps);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    return kExitOk;
  }
  Record head;
  head.Text("name", Utf8Of(name))
      .Text("type", MacroTypeName(m.type))
      .Text("mode", MacroModeName(m.options))
      .Number("repeat", m.repeat)
      .Text("icon file", m.icon_file)
      .Number("version", m.version)
      .Number("event count", static_cast<int64_t>(m.elements.size()));
  std::vector<Record> rows, events;
  for (size_t i = 0; i < steps.size(); ++i) {
    Record row;
    row.Number("step", static_cast<int64_t>(i + 1))
        .Text("event", StepEventText(steps[i]))
        .Number("delay ms", steps[i].delay_ms)
        .Number("hold ms", m.elements[i].lHoldMs);
    rows.push_back(row);
    Record event;
    event.Text("event", StepEventText(steps[i])).Number("delay ms", steps[i].delay_ms).Number("hold ms", m.elements[i].lHoldMs);
    events.push_back(event);
  }
  if (script) head.Text("script", FormatMacroScript(steps));  // JSON only: text printed it above
  out.PrintWithParts(head, "events", events, rows);
  return kExitOk;
}

int Show(Store& store, StoreKind kind, const std::vector<std::string>& rest, Output& out) {
  const bool script = rest.size() == 2 && rest[1] == "--script" && kind == StoreKind::kMacro;
  if (rest.empty() || (rest.size() > 1 && !script))
    return UsageError(out, "store", std::string("store show ") + KindWord(kind) + " takes one name" +
                                        (kind == StoreKind::kMacro ? " and optionally --script" : ""));
  std::wstring name;
  if (std::string why = CheckStoreName(rest[0], name); !why.empty()) return UsageError(out, "store", why);
  switch (kind) {
    case StoreKind::kGroup:
    case StoreKind::kBook: {
      std::vector<std::string> members;
      if (!store.Members(kind, name, members)) return kExitFailed;
      Record r;
      r.Text("name", rest[0]).Texts(kind == StoreKind::kGroup ? "profiles" : "macros", members);
      out.Print(r);
      return kExitOk;
    }
    case StoreKind::kProfile:
      return ShowProfile(store, name, out);
    case StoreKind::kMacro:
      return ShowMacro(store, name, script, out);
    case StoreKind::kAction: {
      IUserAction* actions = store.actions();
      if (!actions) return kExitFailed;
      StoredAction a;
      const HRESULT hr = LoadStoredAction(actions, name, a);
      if (FAILED(hr)) return Missing(out, kind, name, hr);
      out.Print(ActionRow(rest[0], a));
      return kExitOk;
    }
  }
  return kExitFailed;
}

// The members of a group or book to save, each checked as a name.
std::optional<int> MemberNames(Output& out, const std::vector<std::string>& given, std::vector<std::wstring>& wide) {
  for (const std::string& member : given) {
    std::wstring w;
    if (std::string why = CheckStoreName(member, w); !why.empty()) return UsageError(out, "store", why);
    wide.push_back(std::move(w));
  }
  return std::nullopt;
}

int SaveGroupOrBook(Store& store, StoreKind kind, const std::wstring& name, const std::vector<std::string>& given,
                    Output& out) {
  std::vector<std::wstring> members;
  if (std::optional<int> refused = MemberNames(out, given, members)) return *refused;
  std::vector<LPWSTR> pointers;
  for (std::wstring& m : members) pointers.push_back(m.data());
  const StoreKind member_kind = kind == StoreKind::kGroup ? StoreKind::kProfile : StoreKind::kMacro;
  const std::optional<bool> replaced = store.Exists(kind, name);
  if (!replaced) return kExitFailed;
  HRESULT hr = E_FAIL;
  if (kind == StoreKind::kGroup) {
    IProfile* p = store.profile();
    if (!p) return kExitFailed;
    hr = p->SaveProfileGroup(name.c_str(), static_cast<LONG>(pointers.size()), pointers.data());
  } else {
    IMacroHandling* m = store.macros();
    if (!m) return kExitFailed;
    hr = m->SaveSpellBook(name.c_str(), static_cast<LONG>(pointers.size()), pointers.data());
  }
  if (hr == E_FAIL) {
    // Every member must be stored: name the ones that are not.
    std::vector<std::string> missing;
    for (const std::wstring& m : members) {
      std::optional<bool> exists = store.Exists(member_kind, m);
      if (!exists) return kExitFailed;
      if (!*exists) missing.push_back("'" + Utf8Of(m) + "'");
    }
    if (!missing.empty()) {
      std::string list;
      for (const std::string& m : missing) list += (list.empty() ? "" : ", ") + m;
      out.Error(std::string("no ") + KindTitle(member_kind) + " " + list + " in the store; " + KindTitle(kind) +
                " '" + Utf8Of(name) + "' was not saved");
      return kExitFailed;
    }
  }
  if (FAILED(hr)) return StoreFailure(out, std::string("could not save ") + KindTitle(kind) + " '" + Utf8Of(name) + "'", hr);
  Record r;
  r.Text("saved", KindWord(kind))
      .Text("name", Utf8Of(name))
      .Texts(kind == StoreKind::kGroup ? "profiles" : "macros", given)
      .Flag("replaced", *replaced);
  out.Print(r);
  return kExitOk;
}

int SaveMacro(Store& store, const std::wstring& name, const std::vector<std::string>& rest, Output& out) {
  if (rest.empty()) return UsageError(out, "store", "store save macro takes a name and a file (or -)");
  StoredMacro macro;
  macro.type = MACRO_TYPE_KEYSTROKE;  // as a macro read from the mouse
  macro.options = MACRO_OPTIONS_USE_REPEAT_COUNT;
  macro.repeat = 1;
  std::wstring icon;
  for (size_t i = 1; i < rest.size(); i += 2) {
    const std::string& option = rest[i];
    if (i + 1 >= rest.size()) return UsageError(out, "store", option + " needs a value");
    const std::string& value = rest[i + 1];
    if (option == "--type") {
      std::optional<int32_t> type = MacroTypeFromName(value);
      if (!type) return UsageError(out, "store", "--type '" + value + "' is not action, keystroke or macro");
      macro.type = *type;
    } else if (option == "--mode") {
      std::optional<int32_t> mode = MacroModeFromName(value);
      if (!mode) return UsageError(out, "store", "--mode '" + value + "' is not count, until-same or until-released");
      macro.options = *mode;
    } else if (option == "--repeat") {
      std::optional<int64_t> repeat = ParseBounded(value, 0, kMaxRepeat);
      if (!repeat) return UsageError(out, "store", "--repeat '" + value + "' is not 0 to " + std::to_string(kMaxRepeat));
      macro.repeat = static_cast<LONG>(*repeat);
    } else if (option == "--icon") {
      icon = WideFromUtf8(value);
      if (icon.size() > kMaxIconFileLength)
        return UsageError(out, "store", "--icon is longer than " + std::to_string(kMaxIconFileLength) + " characters");
      for (wchar_t c : icon)
        if (c < 0x20 || c == L'"' || c == L'<' || c == L'>')
          return UsageError(out, "store", "--icon holds a character the store's files cannot carry (\", <, > or a control character)");
    } else {
      return UsageError(out, "store", "unknown option '" + option + "' (--type, --mode, --repeat, --icon)");
    }
  }
  std::vector<MacroStep> steps;
  if (std::optional<int> failed = ReadMacroText(out, rest[0], steps)) return *failed;
  IMacroHandling* macros = store.macros();
  if (!macros) return kExitFailed;
  const std::optional<bool> replaced = store.Exists(StoreKind::kMacro, name);
  if (!replaced) return kExitFailed;
  std::vector<_TMacroElement> elements = ElementsOf(steps);
  _TMacroElement* first = elements.data();
  LPWSTR icon_text = icon.data();
  _TMacroParams params{};
  params.lVersion = macro.version;
  params.options = static_cast<_TMacroOptions>(macro.options);
  params.type = static_cast<_TMacroType>(macro.type);
  params.lRepeat = macro.repeat;
  params.ppszIconFile = &icon_text;
  params.lNumElements = static_cast<LONG>(elements.size());
  params.ppElements = &first;
  const HRESULT hr = macros->SaveMacro(name.c_str(), &params);
  if (FAILED(hr)) return StoreFailure(out, "could not save macro '" + Utf8Of(name) + "'", hr);
  Record r;
  r.Text("saved", "macro")
      .Text("name", Utf8Of(name))
      .Text("type", MacroTypeName(macro.type))
      .Text("mode", MacroModeName(macro.options))
      .Number("repeat", macro.repeat)
      .Number("events", static_cast<int64_t>(steps.size()))
      .Flag("replaced", *replaced);
  out.Print(r);
  return kExitOk;
}

int SaveAction(Store& store, const std::wstring& name, const std::vector<std::string>& rest, Output& out) {
  if (rest.empty()) return UsageError(out, "store", "store save action takes a name, a code and the data bytes");
  std::optional<int32_t> code = ParseCode(rest[0]);
  if (!code) return UsageError(out, "store", "code '" + rest[0] + "' is not a 32-bit number (decimal or 0x...)");
  std::string hex;
  for (size_t i = 1; i < rest.size(); ++i) hex += (i > 1 ? " " : "") + rest[i];
  const HexBytesResult data = ParseHexBytes(hex, kMaxActionBytes);
  if (!data.ok) return UsageError(out, "store", "data: " + data.error);
  IUserAction* actions = store.actions();
  if (!actions) return kExitFailed;
  const std::optional<bool> replaced = store.Exists(StoreKind::kAction, name);
  if (!replaced) return kExitFailed;
  std::vector<BYTE> bytes(data.bytes.begin(), data.bytes.end());
  BYTE* first = bytes.data();
  _TUserActionParams params{};
  params.lCode = *code;
  params.lNumData = static_cast<LONG>(bytes.size());
  params.ppData = &first;
  const HRESULT hr = actions->SaveUserAction(name.c_str(), &params);
  if (FAILED(hr)) return StoreFailure(out, "could not save user action '" + Utf8Of(name) + "'", hr);
  Record r;
  r.Text("saved", "action")
      .Text("name", Utf8Of(name))
      .Number("code", *code)
      .Number("bytes", static_cast<int64_t>(data.bytes.size()))
      .Text("data", HexBytesText(data.bytes))
      .Flag("replaced", *replaced);
  out.Print(r);
  return kExitOk;
}

int Save(Store& store, StoreKind kind, const std::vector<std::string>& rest, Output& out) {
  if (rest.empty()) return UsageError(out, "store", std::string("store save ") + KindWord(kind) + " takes a name first");
  if (kind == StoreKind::kProfile)
    return UsageError(out, "store",
                      "stored profiles are not saved from the command line: import them from an export file "
                      "(store import profile <name> <file>)");
  std::wstring name;
  if (std::string why = CheckStoreName(rest[0], name); !why.empty()) return UsageError(out, "store", why);
  const std::vector<std::string> more(rest.begin() + 1, rest.end());
  switch (kind) {
    case StoreKind::kGroup:
    case StoreKind::kBook: return SaveGroupOrBook(store, kind, name, more, out);
    case StoreKind::kMacro: return SaveMacro(store, name, more, out);
    case StoreKind::kAction: return SaveAction(store, name, more, out);
    case StoreKind::kProfile: break;
  }
  return kExitFailed;
}

int Delete(Store& store, StoreKind kind, const std::vector<std::string>& rest, Output& out) {
  if (rest.size() != 1) return UsageError(out, "store", std::string("store delete ") + KindWord(kind) + " takes one name");
  std::wstring name;
  if (std::string why = CheckStoreName(rest[0], name); !why.empty()) return UsageError(out, "store", why);
  const std::optional<bool> exists = store.Exists(kind, name);
  if (!exists) return kExitFailed;
  if (!*exists) return Missing(out, kind, name, E_FAIL);
  HRESULT hr = E_FAIL;
  switch (kind) {
    case StoreKind::kGroup: hr = store.profile()->DeleteProfileGroup(name.c_str()); break;
    case StoreKind::kProfile: hr = store.profile()->DeleteProfile(name.c_str()); break;
    case StoreKind::kBook: hr = store.macros()->DeleteSpellBook(name.c_str()); break;
    case StoreKind::kMacro: hr = store.macros()->DeleteMacro(name.c_str()); break;
    case StoreKind::kAction: hr = store.actions()->DeleteUserAction(name.c_str()); break;
  }
  // The store refuses to delete what others still name (it answers E_FAIL as for a missing item,
  // which was ruled out above).
  if (hr == E_FAIL && kind == StoreKind::kMacro)
    return StoreFailure(out, "macro '" + rest[0] + "' is still named by a spell book or stored profile", hr);
  if (hr == E_FAIL && kind == StoreKind::kAction)
    return StoreFailure(out, "user action '" + rest[0] + "' is still named by a stored profile", hr);
  if (hr == E_FAIL && kind == StoreKind::kProfile)
    return StoreFailure(out, "stored profile '" + rest[0] + "' is still a member of a profile group", hr);
  if (FAILED(hr)) return StoreFailure(out, std::string("could not delete ") + KindTitle(kind) + " '" + rest[0] + "'", hr);
  Record r;
  r.Text("deleted", KindWord(kind)).Text("name", rest[0]);
  out.Print(r);
  return kExitOk;
}

}  // namespace

int RunStore(DeviceSession& session, const std::vector<std::string>& args, Output& out) {
  if (args.size() < 2) return UsageError(out, "store", "store takes an action and the kind of object it acts on");
  const std::string& action = args[0];
  const std::optional<KindArgument> kind = ParseKind(args[1]);
  if (action != "list" && action != "show" && action != "save" && action != "delete" && action != "export" &&
      action != "import")
    return UsageError(out, "store", "'" + action + "' is not list, show, save, delete, export or import");
  if (!kind)
    return UsageError(out, "store", "'" + args[1] + "' is not group(s), profile(s), book(s), macro(s) or action(s)");
  const std::vector<std::string> rest(args.begin() + 2, args.end());
  if (kind->all && (action == "show" || action == "save" || action == "delete"))
    return UsageError(out, "store", "store " + action + " acts on one object: " + KindWord(kind->kind) + ", not " +
                                        args[1]);
  Store store(session, out);
  if (action == "list") {
    if (!rest.empty()) return UsageError(out, "store", "store list takes no more arguments");
    return ListAll(store, kind->kind, out);
  }
  if (action == "show") return Show(store, kind->kind, rest, out);
  if (action == "save") return Save(store, kind->kind, rest, out);
  if (action == "delete") return Delete(store, kind->kind, rest, out);
  return RunStoreExchange(store, action == "export", *kind, rest, out);
}

}  // namespace quill::cli
