#include "cli/win/store_session.h"

#include "cli/store_text.h"
#include "middleware/typelib/quillfern_ids.h"

namespace quill::cli {
namespace {

// More names than this in one collection are taken for a broken count.
constexpr LONG kMaxListedNames = 1 << 20;
// Largest export file read back.
constexpr size_t kMaxExportBytes = size_t{64} << 20;

struct KindWords {
  StoreKind kind;
  const char* one;
  const char* all;
  const char* title;
};
constexpr KindWords kKinds[] = {
    {StoreKind::kGroup, "group", "groups", "profile group"},
    {StoreKind::kProfile, "profile", "profiles", "stored profile"},
    {StoreKind::kBook, "book", "books", "spell book"},
    {StoreKind::kMacro, "macro", "macros", "macro"},
    {StoreKind::kAction, "action", "actions", "user action"},
};

const KindWords& WordsOf(StoreKind kind) {
  for (const KindWords& k : kKinds)
    if (k.kind == kind) return k;
  return kKinds[0];
}

// Names through a count and a caller-sized list of CoTaskMem strings.
template <class Count, class List>
HRESULT LoadNameList(Count&& count, List&& list, std::vector<std::string>& names) {
  names.clear();
  LONG n = 0;
  HRESULT hr = count(&n);
  if (FAILED(hr)) return hr;
  if (n < 0 || n > kMaxListedNames) return E_UNEXPECTED;
  std::vector<LPWSTR> slots(static_cast<size_t>(n), nullptr);
  hr = list(n, slots.data());
  for (LPWSTR slot : slots) {
    std::string name = TakeCoTaskString(slot);
    if (SUCCEEDED(hr)) names.push_back(std::move(name));
  }
  if (FAILED(hr)) names.clear();
  return hr;
}

}  // namespace

std::optional<KindArgument> ParseKind(const std::string& word) {
  for (const KindWords& k : kKinds) {
    if (word == k.one) return KindArgument{k.kind, false};
    if (word == k.all) return KindArgument{k.kind, true};
  }
  return std::nullopt;
}

const char* KindWord(StoreKind kind) { return WordsOf(kind).one; }
const char* KindTitle(StoreKind kind) { return WordsOf(kind).title; }

std::string CheckStoreName(const std::string& name, std::wstring& wide) {
  wide = WideFromUtf8(name);
  if (wide.empty()) return "the name is empty";
  if (wide.size() > kMaxStoreNameLength)
    return "the name '" + name.substr(0, 24) + "...' is longer than the store's " +
           std::to_string(kMaxStoreNameLength) + " characters";
  for (wchar_t c : wide) {
    if (c < 0x20 || c == 0x7F) return "the name holds a control character";
    if (c == L'\\' || c == L'"' || c == L'<' || c == L'>')
      return "the name '" + name + "' holds " + static_cast<char>(c) +
             " (the store keeps no names with \\, \", < or >)";
  }
  return {};
}

bool AbsolutePath(const std::string& path, std::wstring& absolute, std::string& error) {
  const std::wstring wide = WideFromUtf8(path);
  if (wide.empty()) {
    error = "the file name is empty";
    return false;
  }
  std::wstring buffer(32768, L'\0');
  const DWORD n = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
  if (n == 0 || n >= buffer.size()) {
    error = "'" + path + "' is not a usable file name";
    return false;
  }
  buffer.resize(n);
  absolute = std::move(buffer);
  return true;
}

std::string DescribeStoreResult(HRESULT hr) {
  const char* what = nullptr;
  switch (static_cast<uint32_t>(hr)) {
    case 0x80004005u: what = "refused by the store"; break;
    case 0x80070006u: what = "the file cannot be opened"; break;
    case 0x8007000Du: what = "the stored or file data are invalid"; break;
    case 0x8007007Bu: what = "a name the store cannot carry"; break;
    case 0x800700DFu: what = "the file is too large"; break;
    case 0x800700EAu: what = "a stored value is too long"; break;
    case 0x80070459u: what = "text the file's encoding cannot hold"; break;
  }
  return what ? std::string(what) + ", " + HexCode(static_cast<uint32_t>(hr)) : DescribeResult(hr);
}

int StoreFailure(Output& out, const std::string& what, HRESULT hr) {
  out.Error(what + " (" + DescribeStoreResult(hr) + ")");
  return kExitFailed;
}

std::string Utf8Of(const std::wstring& text) {
  return Utf8FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

TempFile::TempFile() {
  wchar_t folder[MAX_PATH + 1], path[MAX_PATH + 1];
  const DWORD n = GetTempPathW(MAX_PATH + 1, folder);
  if (n == 0 || n > MAX_PATH) return;
  // An empty file: the middleware writes a new export file into it.
  if (GetTempFileNameW(folder, L"qcs", 0, path) == 0) return;
  path_ = path;
}

TempFile::~TempFile() {
  if (!path_.empty()) DeleteFileW(path_.c_str());
}

bool Store::Opened() {
  if (opened_) return true;
  // The store needs only the device type's key name, which opening sets even when no mouse
  // answers: the store's commands work without the mouse.
  session_.device()->OpenDeviceInterface(QUILLFERN_PID);
  opened_ = true;
  return true;
}

template <class T>
T* Store::Lazy(com::ComPtr<T>& held, HRESULT (STDMETHODCALLTYPE IDeviceType::*make)(T**), const char* what) {
  if (held) return held.Get();
  if (!Opened()) return nullptr;
  const HRESULT hr = (session_.device()->*make)(held.Put());
  if (FAILED(hr) || !held) {
    held.Reset();
    StoreFailure(out_, std::string("the middleware gave no ") + what + " interface", FAILED(hr) ? hr : E_POINTER);
    return nullptr;
  }
  return held.Get();
}

IProfile* Store::profile() { return Lazy(profile_, &IDeviceType::CreateProfileInterface, "profile store"); }
IMacroHandling* Store::macros() { return Lazy(macros_, &IDeviceType::CreateMacroHandlingInterface, "macro store"); }
IUserAction* Store::actions() { return Lazy(actions_, &IDeviceType::CreateUserActionInterface, "user-action store"); }

bool Store::Names(StoreKind kind, std::vector<std::string>& names) {
  HRESULT hr = E_FAIL;
  switch (kind) {
    case StoreKind::kGroup: {
      IProfile* p = profile();
      if (!p) return false;
      hr = LoadNameList([&](LONG* n) { return p->LoadNumProfileGroups(n); },
                        [&](LONG n, LPWSTR* slots) { return p->LoadProfileGroupList(n, slots); }, names);
      break;
    }
    case StoreKind::kProfile: {
      std::string text;
      hr = ExportedProfiles(nullptr, text);
      if (hr == E_ABORT) return false;  // printed
      names.clear();
      if (SUCCEEDED(hr))
        for (const ExchangeElement& e : ReadExchangeElements(text, "Profile")) names.push_back(e.name);
      break;
    }
    case StoreKind::kBook: {
      IMacroHandling* m = macros();
      if (!m) return false;
      hr = LoadNameList([&](LONG* n) { return m->LoadNumSpellBooks(n); },
                        [&](LONG n, LPWSTR* slots) { return m->LoadSpellBookList(n, slots); }, names);
      break;
    }
    case StoreKind::kMacro: {
      IMacroHandling* m = macros();
      if (!m) return false;
      hr = LoadNameList([&](LONG* n) { return m->LoadNumMacros(n); },
                        [&](LONG n, LPWSTR* slots) { return m->LoadMacroList(n, slots); }, names);
      break;
    }
    case StoreKind::kAction: {
      IUserAction* a = actions();
      if (!a) return false;
      hr = LoadNameList([&](LONG* n) { return a->LoadNumUserActions(n); },
                        [&](LONG n, LPWSTR* slots) { return a->LoadUserActionList(n, slots); }, names);
      break;
    }
  }
  if (FAILED(hr)) {
    StoreFailure(out_, std::string("could not list the ") + KindTitle(kind) + "s", hr);
    return false;
  }
  return true;
}

bool Store::Members(StoreKind kind, const std::wstring& name, std::vector<std::string>& members) {
  HRESULT hr = E_FAIL;
  if (kind == StoreKind::kGroup) {
    IProfile* p = profile();
    if (!p) return false;
    hr = LoadNameList([&](LONG* n) { return p->LoadNumProfilesInGroup(name.c_str(), n); },
                      [&](LONG n, LPWSTR* slots) { return p->LoadProfileGroup(name.c_str(), n, slots); }, members);
  } else {
    IMacroHandling* m = macros();
    if (!m) return false;
    hr = LoadNameList([&](LONG* n) { return m->LoadNumMacrosInSpellBook(name.c_str(), n); },
                      [&](LONG n, LPWSTR* slots) { return m->LoadSpellBook(name.c_str(), n, slots); }, members);
  }
  if (hr == E_FAIL) {
    out_.Error(std::string("no ") + KindTitle(kind) + " '" + Utf8Of(name) + "' in the store");
    return false;
  }
  if (FAILED(hr)) {
    StoreFailure(out_, std::string("could not read ") + KindTitle(kind) + " '" + Utf8Of(name) + "'", hr);
    return false;
  }
  return true;
}

std::optional<bool> Store::Exists(StoreKind kind, const std::wstring& name) {
  HRESULT hr = E_FAIL;
  switch (kind) {
    case StoreKind::kGroup: {
      IProfile* p = profile();
      if (!p) return std::nullopt;
      LONG n = 0;
      hr = p->LoadNumProfilesInGroup(name.c_str(), &n);
      break;
    }
    case StoreKind::kBook: {
      IMacroHandling* m = macros();
      if (!m) return std::nullopt;
      LONG n = 0;
      hr = m->LoadNumMacrosInSpellBook(name.c_str(), &n);
      break;
    }
    case StoreKind::kMacro: {
      IMacroHandling* m = macros();
      if (!m) return std::nullopt;
      _TMacroElement* elements = nullptr;
      LPWSTR icon = nullptr;
      _TMacroParams params{};
      params.ppElements = &elements;
      params.ppszIconFile = &icon;
      hr = m->LoadMacro(name.c_str(), &params);
      CoTaskMemFree(elements);
      CoTaskMemFree(icon);
      break;
    }
    case StoreKind::kAction: {
      IUserAction* a = actions();
      if (!a) return std::nullopt;
      BYTE* data = nullptr;
      _TUserActionParams params{};
      params.ppData = &data;
      hr = a->LoadUserAction(name.c_str(), &params);
      CoTaskMemFree(data);
      break;
    }
    case StoreKind::kProfile: {
      std::vector<std::string> names;
      if (!Names(kind, names)) return std::nullopt;
      // The registry compares key names ignoring case.
      for (const std::string& n : names)
        if (CompareStringOrdinal(WideFromUtf8(n).c_str(), -1, name.c_str(), -1, TRUE) == CSTR_EQUAL) return true;
      return false;
    }
  }
  if (hr == E_FAIL) return false;
  if (FAILED(hr)) {
    StoreFailure(out_, std::string("could not read ") + KindTitle(kind) + " '" + Utf8Of(name) + "'", hr);
    return std::nullopt;
  }
  return true;
}

HRESULT Store::ExportedProfiles(const std::wstring* name, std::string& text) {
  text.clear();
  IProfile* p = profile();
  if (!p) return E_ABORT;
  TempFile file;
  if (!file.ok()) {
    out_.Error("could not make a temporary file (" + DescribeResult(HRESULT_FROM_WIN32(GetLastError())) + ")");
    return E_ABORT;
  }
  HRESULT hr = name ? p->ExportProfile(name->c_str(), file.path().c_str()) : p->ExportAllProfiles(file.path().c_str());
  if (FAILED(hr)) return hr;
  std::string error;
  if (!ReadInput(Utf8Of(file.path()), kMaxExportBytes, text, error)) {
    out_.Error(error);
    return E_ABORT;
  }
  return S_OK;
}

}  // namespace quill::cli
