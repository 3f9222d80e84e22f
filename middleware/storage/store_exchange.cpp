#include "middleware/storage/store_exchange.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "middleware/storage/exchange_elements.h"
#include "middleware/storage/exchange_engines.h"

namespace quill::storage {

struct StoreExchange::Session {
  std::unique_ptr<ExchangeFile> file;
  std::unique_ptr<ProfileGroupStore> groups;
  std::unique_ptr<SpellBookStore> books;

  ProfileExchange Profiles() {
    return ProfileExchange(*file, *groups, groups->profiles(), ElementKind::kProfileGroup);
  }
  MacroExchange Macros() { return MacroExchange(*file, *books, books->macros(), ElementKind::kSpellBook); }
  UserActionExchange UserActions() { return UserActionExchange(*file, groups->profiles().user_actions()); }
};

StoreExchange::StoreExchange(RegistryKey& machine, FileSystem& files, std::u16string device_key_name)
    : machine_(machine), files_(files), device_key_name_(std::move(device_key_name)) {}

template <class Operation>
HResult StoreExchange::Run(const std::u16string& path, Mode mode, Operation&& operation) {
  Session session;
  HResult hr = ExchangeFile::Open(files_, path, device_key_name_, session.file);
  if (Failed(hr) || Failed(hr = ProfileGroupStore::Create(machine_, device_key_name_, session.groups)) ||
      Failed(hr = SpellBookStore::Create(machine_, device_key_name_, session.books)) ||
      Failed(hr = operation(session))) {
    return hr;
  }
  return mode == Mode::kExport ? session.file->Commit() : kS_OK;
}

namespace {

// The macros and user actions a profile names travel with it: an export adds their elements
// after the profile's, an import first imports those of them the file holds, so that a file
// exported from one store imports into an empty one.
HResult ExportNamed(MacroExchange& macros, UserActionExchange& actions, const ProfileRecord& profile) {
  HResult hr = kS_OK;
  for (const ButtonMapping& mapping : profile.mappings) {
    if (Succeeded(hr) && mapping.NamesMacro()) hr = macros.Export(mapping.name);
  }
  for (const ButtonMapping& mapping : profile.mappings) {
    if (Succeeded(hr) && mapping.NamesUserAction()) hr = actions.Export(mapping.name);
  }
  return hr;
}

HResult ImportNamed(MacroExchange& macros, UserActionExchange& actions, const ProfileRecord& profile) {
  HResult hr = kS_OK;
  for (const ButtonMapping& mapping : profile.mappings) {
    if (Succeeded(hr) && mapping.NamesMacro() && macros.InFile(mapping.name)) hr = macros.Import(mapping.name);
  }
  for (const ButtonMapping& mapping : profile.mappings) {
    if (Succeeded(hr) && mapping.NamesUserAction() && actions.InFile(mapping.name)) hr = actions.Import(mapping.name);
  }
  return hr;
}

void AddUnique(std::vector<std::u16string>& names, const std::vector<std::u16string>& more) {
  for (const std::u16string& name : more) {
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  }
}

}  // namespace

// After a successful export of the profiles `names` (stored ones), the objects they name.
HResult StoreExchange::ExportNamedBy(Session& s, const std::vector<std::u16string>& names) {
  MacroExchange macros = s.Macros();
  UserActionExchange actions = s.UserActions();
  for (const std::u16string& name : names) {
    ProfileRecord profile;
    HResult hr = s.groups->profiles().Load(name, profile);
    if (Failed(hr) || Failed(hr = ExportNamed(macros, actions, profile))) return hr;
  }
  return kS_OK;
}

// Before an import of the profiles `names` from the file, the objects they name that the file
// holds. A profile the file lacks or cannot be read is left to the profile import to report.
HResult StoreExchange::ImportNamedBy(Session& s, const std::vector<std::u16string>& names) {
  MacroExchange macros = s.Macros();
  UserActionExchange actions = s.UserActions();
  for (const std::u16string& name : names) {
    const std::u16string* text = s.file->Find(ElementKind::kProfile, name);
    ProfileRecord profile;
    if (text == nullptr || Failed(ReadElement(*text, profile))) continue;
    const HResult hr = ImportNamed(macros, actions, profile);
    if (Failed(hr)) return hr;
  }
  return kS_OK;
}

// Members of stored groups, or of the groups in the file, in order and once each.
HResult StoreExchange::StoredMembers(Session& s, const std::vector<std::u16string>& groups,
                                     std::vector<std::u16string>& members) {
  for (const std::u16string& group : groups) {
    int32_t count = 0;
    std::vector<std::u16string> these;
    HResult hr = s.groups->LoadNumMembers(group, count);
    if (Failed(hr) || Failed(hr = s.groups->LoadMembers(group, count, these))) return hr;
    AddUnique(members, these);
  }
  return kS_OK;
}

std::vector<std::u16string> StoreExchange::FileMembers(Session& s, const std::vector<std::u16string>& groups) {
  std::vector<std::u16string> members;
  for (const std::u16string& group : groups) {
    const std::u16string* text = s.file->Find(ElementKind::kProfileGroup, group);
    std::vector<std::u16string> these;
    if (text != nullptr && Succeeded(ReadGroupElement(ElementKind::kProfileGroup, *text, these))) {
      AddUnique(members, these);
    }
  }
  return members;
}

HResult StoreExchange::ExportProfileGroup(std::u16string_view group, const std::u16string& path) {
  return Run(path, Mode::kExport, [&](Session& s) {
    std::vector<std::u16string> members;
    HResult hr = s.Profiles().ExportGroup(group);
    if (Succeeded(hr)) hr = StoredMembers(s, {std::u16string(group)}, members);
    return Succeeded(hr) ? ExportNamedBy(s, members) : hr;
  });
}
HResult StoreExchange::ImportProfileGroup(std::u16string_view group, const std::u16string& path) {
  return Run(path, Mode::kImport, [&](Session& s) {
    const HResult hr = ImportNamedBy(s, FileMembers(s, {std::u16string(group)}));
    return Succeeded(hr) ? s.Profiles().ImportGroup(group) : hr;
  });
}
HResult StoreExchange::ExportAllProfileGroups(const std::u16string& path) {
  return Run(path, Mode::kExport, [](Session& s) {
    std::vector<std::u16string> groups, members;
    HResult hr = s.Profiles().ExportAllGroups();
    if (Succeeded(hr)) hr = s.groups->ListAll(groups);
    if (Succeeded(hr)) hr = StoredMembers(s, groups, members);
    return Succeeded(hr) ? ExportNamedBy(s, members) : hr;
  });
}
HResult StoreExchange::ImportAllProfileGroups(const std::u16string& path) {
  return Run(path, Mode::kImport, [](Session& s) {
    const HResult hr = ImportNamedBy(s, FileMembers(s, s.file->Names(ElementKind::kProfileGroup)));
    return Succeeded(hr) ? s.Profiles().ImportAllGroups() : hr;
  });
}

HResult StoreExchange::ExportProfile(std::u16string_view profile, const std::u16string& path) {
  return Run(path, Mode::kExport, [&](Session& s) {
    const HResult hr = s.Profiles().Export(profile);
    return Succeeded(hr) ? ExportNamedBy(s, {std::u16string(profile)}) : hr;
  });
}

HResult StoreExchange::ImportProfile(std::u16string_view profile, const std::u16string& path) {
  return Run(path, Mode::kImport, [&](Session& s) {
    if (s.file->Find(ElementKind::kProfile, profile) == nullptr) return kE_FAIL;
    const HResult hr = ImportNamedBy(s, {std::u16string(profile)});
    return Succeeded(hr) ? s.Profiles().Import(profile) : hr;
  });
}

HResult StoreExchange::ExportAllProfiles(const std::u16string& path) {
  return Run(path, Mode::kExport, [](Session& s) {
    std::vector<std::u16string> names;
    HResult hr = s.Profiles().ExportAll();
    if (Succeeded(hr)) hr = s.groups->profiles().ListAll(names);
    return Succeeded(hr) ? ExportNamedBy(s, names) : hr;
  });
}
HResult StoreExchange::ImportAllProfiles(const std::u16string& path) {
  return Run(path, Mode::kImport, [](Session& s) {
    const HResult hr = ImportNamedBy(s, s.file->Names(ElementKind::kProfile));
    return Succeeded(hr) ? s.Profiles().ImportAll() : hr;
  });
}

HResult StoreExchange::ExportSpellBook(std::u16string_view book, const std::u16string& path) {
  return Run(path, Mode::kExport, [&](Session& s) { return s.Macros().ExportGroup(book); });
}
HResult StoreExchange::ImportSpellBook(std::u16string_view book, const std::u16string& path) {
  return Run(path, Mode::kImport, [&](Session& s) { return s.Macros().ImportGroup(book); });
}
HResult StoreExchange::ExportAllSpellBooks(const std::u16string& path) {
  return Run(path, Mode::kExport, [](Session& s) { return s.Macros().ExportAllGroups(); });
}
HResult StoreExchange::ImportAllSpellBooks(const std::u16string& path) {
  return Run(path, Mode::kImport, [](Session& s) { return s.Macros().ImportAllGroups(); });
}

HResult StoreExchange::ExportMacro(std::u16string_view macro, const std::u16string& path) {
  return Run(path, Mode::kExport, [&](Session& s) { return s.Macros().Export(macro); });
}
HResult StoreExchange::ImportMacro(std::u16string_view macro, const std::u16string& path) {
  return Run(path, Mode::kImport, [&](Session& s) { return s.Macros().Import(macro); });
}
HResult StoreExchange::ExportAllMacros(const std::u16string& path) {
  return Run(path, Mode::kExport, [](Session& s) { return s.Macros().ExportAll(); });
}
HResult StoreExchange::ImportAllMacros(const std::u16string& path) {
  return Run(path, Mode::kImport, [](Session& s) { return s.Macros().ImportAll(); });
}

HResult StoreExchange::ExportUserAction(std::u16string_view action, const std::u16string& path) {
  return Run(path, Mode::kExport, [&](Session& s) { return s.UserActions().Export(action); });
}
HResult StoreExchange::ImportUserAction(std::u16string_view action, const std::u16string& path) {
  return Run(path, Mode::kImport, [&](Session& s) { return s.UserActions().Import(action); });
}
HResult StoreExchange::ExportAllUserActions(const std::u16string& path) {
  return Run(path, Mode::kExport, [](Session& s) { return s.UserActions().ExportAll(); });
}
HResult StoreExchange::ImportAllUserActions(const std::u16string& path) {
  return Run(path, Mode::kImport, [](Session& s) { return s.UserActions().ImportAll(); });
}

}  // namespace quill::storage
