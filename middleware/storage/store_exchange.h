// The export and import operations of the storage interfaces, one call each.
//
// Each call opens the file (one ExchangeFile), creates the stores for the device key name,
// runs one operation and, for an export, commits the file once: a failed export leaves the
// file as it was. An import never writes the file and does not create a missing one.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "middleware/storage/file_system.h"
#include "middleware/storage/registry_key.h"

namespace quill::storage {

class StoreExchange {
 public:
  // `machine` is the key the collections lie under (HKEY_LOCAL_MACHINE); both seams must
  // outlive the object.
  StoreExchange(RegistryKey& machine, FileSystem& files, std::u16string device_key_name);

  // Profiles travel with the macros and user actions their mappings name: every export of
  // profiles (one, a group's, all) adds those objects' elements, and every import of profiles
  // first imports those of them the file holds, so that the profiles' references find them.
  //
  // Profile groups with their member profiles.
  HResult ExportProfileGroup(std::u16string_view group, const std::u16string& path);
  HResult ImportProfileGroup(std::u16string_view group, const std::u16string& path);
  HResult ExportAllProfileGroups(const std::u16string& path);
  HResult ImportAllProfileGroups(const std::u16string& path);

  // A profile, then the macros and user actions its mappings name (mapping order, macros
  // first).
  HResult ExportProfile(std::u16string_view profile, const std::u16string& path);
  HResult ImportProfile(std::u16string_view profile, const std::u16string& path);
  HResult ExportAllProfiles(const std::u16string& path);
  HResult ImportAllProfiles(const std::u16string& path);

  // Spell books with their member macros.
  HResult ExportSpellBook(std::u16string_view book, const std::u16string& path);
  HResult ImportSpellBook(std::u16string_view book, const std::u16string& path);
  HResult ExportAllSpellBooks(const std::u16string& path);
  HResult ImportAllSpellBooks(const std::u16string& path);

  HResult ExportMacro(std::u16string_view macro, const std::u16string& path);
  HResult ImportMacro(std::u16string_view macro, const std::u16string& path);
  HResult ExportAllMacros(const std::u16string& path);
  HResult ImportAllMacros(const std::u16string& path);

  HResult ExportUserAction(std::u16string_view action, const std::u16string& path);
  HResult ImportUserAction(std::u16string_view action, const std::u16string& path);
  HResult ExportAllUserActions(const std::u16string& path);
  HResult ImportAllUserActions(const std::u16string& path);

 private:
  struct Session;
  enum class Mode { kImport, kExport };
  // Opens the file and the stores, runs `operation` and commits after a successful export.
  template <class Operation>
  HResult Run(const std::u16string& path, Mode mode, Operation&& operation);
  static HResult ExportNamedBy(Session& s, const std::vector<std::u16string>& profiles);
  static HResult ImportNamedBy(Session& s, const std::vector<std::u16string>& profiles);
  static HResult StoredMembers(Session& s, const std::vector<std::u16string>& groups,
                               std::vector<std::u16string>& members);
  static std::vector<std::u16string> FileMembers(Session& s, const std::vector<std::u16string>& groups);

  RegistryKey& machine_;
  FileSystem& files_;
  std::u16string device_key_name_;
};

}  // namespace quill::storage
