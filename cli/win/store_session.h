// The middleware's store as the store commands reach it: the kinds of stored objects, their
// names checked before the middleware sees them, the three store interfaces (created once), and
// the name lists, existence checks and failures in one form (each helper returns false after
// printing what went wrong).
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "cli/win/commands.h"

namespace quill::cli {

enum class StoreKind { kGroup, kProfile, kBook, kMacro, kAction };

struct KindArgument {
  StoreKind kind;
  bool all;  // the plural word: every object of the kind
};
// "group"/"groups", "profile"/"profiles", "book"/"books", "macro"/"macros", "action"/"actions".
std::optional<KindArgument> ParseKind(const std::string& word);
// "group", "profile", ...: the word of one object.
const char* KindWord(StoreKind kind);
// "profile group", "stored profile", "spell book", "macro", "user action".
const char* KindTitle(StoreKind kind);

// Longest name the store keeps (registry key names), in UTF-16 units.
constexpr size_t kMaxStoreNameLength = 255;

// A name for the store: not empty, at most 255 UTF-16 units, without backslash, double quote,
// "<", ">" or control characters (the store or its export files cannot carry them). "" when it
// fits, else the usage error.
std::string CheckStoreName(const std::string& name, std::wstring& wide);

// `path` made absolute against the current folder, as the middleware is to open it.
bool AbsolutePath(const std::string& path, std::wstring& absolute, std::string& error);

// A short English description of a store or export-file result, with its code.
std::string DescribeStoreResult(HRESULT hr);
// "<what> (<DescribeStoreResult>)", exit code 1.
int StoreFailure(Output& out, const std::string& what, HRESULT hr);

// A temporary file of the client's, deleted with the object.
class TempFile {
 public:
  TempFile();
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  bool ok() const { return !path_.empty(); }
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};

class Store {
 public:
  Store(DeviceSession& session, Output& out) : session_(session), out_(out) {}

  IProfile* profile();
  IMacroHandling* macros();
  IUserAction* actions();

  // Every name of a kind in the store's order. Stored profiles have no list of their own: their
  // names are read back from a temporary file that every stored profile is exported to.
  bool Names(StoreKind kind, std::vector<std::string>& names);
  // The members of a profile group or spell book.
  bool Members(StoreKind kind, const std::wstring& name, std::vector<std::string>& members);
  // Whether a group, book, macro or user action of that name is stored (a failure other than
  // "not there" is printed and gives nullopt). Profiles: through Names.
  std::optional<bool> Exists(StoreKind kind, const std::wstring& name);
  // The stored profiles' elements as an export of them reads back (all of them when `name` is
  // null, else that one; E_FAIL from the middleware when it is not stored).
  HRESULT ExportedProfiles(const std::wstring* name, std::string& text);

 private:
  bool Opened();
  template <class T>
  T* Lazy(com::ComPtr<T>& held, HRESULT (STDMETHODCALLTYPE IDeviceType::*make)(T**), const char* what);

  DeviceSession& session_;
  Output& out_;
  bool opened_ = false;
  com::ComPtr<IProfile> profile_;
  com::ComPtr<IMacroHandling> macros_;
  com::ComPtr<IUserAction> actions_;
};

// The UTF-8 of a wide name (for messages and output).
std::string Utf8Of(const std::wstring& text);

}  // namespace quill::cli
