// store export, store import: one stored object or every one of a kind, to or from an export
// file of the middleware.
#include "cli/store_text.h"
#include "cli/win/store_commands.h"

namespace quill::cli {
namespace {

// Largest file read to tell why an import found nothing.
constexpr size_t kMaxInspectedBytes = size_t{64} << 20;

const char* ElementTag(StoreKind kind) {
  switch (kind) {
    case StoreKind::kGroup: return "ProfileGroup";
    case StoreKind::kProfile: return "Profile";
    case StoreKind::kBook: return "SpellBook";
    case StoreKind::kMacro: return "Macro";
    case StoreKind::kAction: return "UserAction";
  }
  return "";
}

HRESULT ExportOne(Store& store, StoreKind kind, LPCWSTR name, LPCWSTR file) {
  switch (kind) {
    case StoreKind::kGroup: return store.profile()->ExportProfileGroup(name, file);
    case StoreKind::kProfile: return store.profile()->ExportProfile(name, file);
    case StoreKind::kBook: return store.macros()->ExportSpellBook(name, file);
    case StoreKind::kMacro: return store.macros()->ExportMacro(name, file);
    case StoreKind::kAction: return store.actions()->ExportUserAction(name, file);
  }
  return E_UNEXPECTED;
}

HRESULT ImportOne(Store& store, StoreKind kind, LPCWSTR name, LPCWSTR file) {
  switch (kind) {
    case StoreKind::kGroup: return store.profile()->ImportProfileGroup(name, file);
    case StoreKind::kProfile: return store.profile()->ImportProfile(name, file);
    case StoreKind::kBook: return store.macros()->ImportSpellBook(name, file);
    case StoreKind::kMacro: return store.macros()->ImportMacro(name, file);
    case StoreKind::kAction: return store.actions()->ImportUserAction(name, file);
  }
  return E_UNEXPECTED;
}

HRESULT ExportAll(Store& store, StoreKind kind, LPCWSTR file) {
  switch (kind) {
    case StoreKind::kGroup: return store.profile()->ExportAllProfileGroups(file);
    case StoreKind::kProfile: return store.profile()->ExportAllProfiles(file);
    case StoreKind::kBook: return store.macros()->ExportAllSpellBooks(file);
    case StoreKind::kMacro: return store.macros()->ExportAllMacros(file);
    case StoreKind::kAction: return store.actions()->ExportAllUserActions(file);
  }
  return E_UNEXPECTED;
}

HRESULT ImportAll(Store& store, StoreKind kind, LPCWSTR file) {
  switch (kind) {
    case StoreKind::kGroup: return store.profile()->ImportAllProfileGroups(file);
    case StoreKind::kProfile: return store.profile()->ImportAllProfiles(file);
    case StoreKind::kBook: return store.macros()->ImportAllSpellBooks(file);
    case StoreKind::kMacro: return store.macros()->ImportAllMacros(file);
    case StoreKind::kAction: return store.actions()->ImportAllUserActions(file);
  }
  return E_UNEXPECTED;
}

// The interface the kind lives on, created (false after printing why not).
bool Ready(Store& store, StoreKind kind) {
  switch (kind) {
    case StoreKind::kGroup:
    case StoreKind::kProfile: return store.profile() != nullptr;
    case StoreKind::kBook:
    case StoreKind::kMacro: return store.macros() != nullptr;
    case StoreKind::kAction: return store.actions() != nullptr;
  }
  return false;
}

// Whether a UTF-8 export file holds an element of that kind and name (nullopt when the file
// cannot be read so or is in another encoding).
std::optional<bool> FileHolds(const std::wstring& file, StoreKind kind, const std::string& name) {
  std::string text, error;
  if (!ReadInput(Utf8Of(file), kMaxInspectedBytes, text, error)) return std::nullopt;
  if (text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0xFF && static_cast<unsigned char>(text[1]) == 0xFE)
    return std::nullopt;
  for (const ExchangeElement& e : ReadExchangeElements(text, ElementTag(kind)))
    if (e.name == name) return true;
  return false;
}

}  // namespace

int RunStoreExchange(Store& store, bool exporting, KindArgument kind, const std::vector<std::string>& rest,
                     Output& out) {
  const char* verb = exporting ? "export" : "import";
  const size_t wanted = kind.all ? 1 : 2;
  if (rest.size() != wanted)
    return UsageError(out, "store",
                      std::string("store ") + verb + " " + (kind.all ? std::string(KindWord(kind.kind)) + "s takes a file"
                                                                     : std::string(KindWord(kind.kind)) + " takes a name and a file"));
  std::wstring name;
  if (!kind.all) {
    if (std::string why = CheckStoreName(rest[0], name); !why.empty()) return UsageError(out, "store", why);
  }
  const std::string& given = rest.back();
  std::wstring file;
  std::string error;
  if (!AbsolutePath(given, file, error)) return UsageError(out, "store", error);
  const DWORD attributes = GetFileAttributesW(file.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    out.Error("'" + given + "' is a folder, not a file");
    return kExitFailed;
  }
  // The middleware would make an empty file there and import nothing.
  if (!exporting && attributes == INVALID_FILE_ATTRIBUTES) {
    out.Error("'" + given + "' does not exist; nothing imported");
    return kExitFailed;
  }
  if (!Ready(store, kind.kind)) return kExitFailed;

  const std::string what = kind.all ? std::string("every ") + KindTitle(kind.kind)
                                    : std::string(KindTitle(kind.kind)) + " '" + rest[0] + "'";
  HRESULT hr;
  if (exporting)
    hr = kind.all ? ExportAll(store, kind.kind, file.c_str()) : ExportOne(store, kind.kind, name.c_str(), file.c_str());
  else
    hr = kind.all ? ImportAll(store, kind.kind, file.c_str()) : ImportOne(store, kind.kind, name.c_str(), file.c_str());
  if (hr == E_FAIL && !kind.all) {
    if (exporting) {
      const std::optional<bool> exists = store.Exists(kind.kind, name);
      if (!exists) return kExitFailed;
      if (!*exists) {
        out.Error(std::string("no ") + KindTitle(kind.kind) + " '" + rest[0] + "' in the store; nothing exported");
        return kExitFailed;
      }
    } else if (FileHolds(file, kind.kind, rest[0]) == false) {
      out.Error("'" + given + "' holds no " + KindTitle(kind.kind) + " '" + rest[0] +
                "' (names compare case by case); nothing imported");
      return kExitFailed;
    }
  }
  if (FAILED(hr)) {
    std::string hint;
    if (hr == E_FAIL && !exporting && (kind.kind == StoreKind::kProfile || kind.kind == StoreKind::kGroup))
      hint = "; a profile's macros and user actions must be in the file or already stored";
    out.Error(std::string("could not ") + verb + " " + what + (exporting ? " to '" : " from '") + given + "' (" +
              DescribeStoreResult(hr) + ")" + hint);
    return kExitFailed;
  }
  Record r;
  r.Text(exporting ? "exported" : "imported", kind.all ? std::string(KindWord(kind.kind)) + "s" : KindWord(kind.kind));
  if (!kind.all) r.Text("name", rest[0]);
  r.Text("file", Utf8Of(file));
  out.Print(r);
  return kExitOk;
}

}  // namespace quill::cli
