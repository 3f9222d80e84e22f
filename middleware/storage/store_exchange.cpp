#include "middleware/storage/store_exchange.h"

#include <memory>

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

HResult StoreExchange::ExportProfileGroup(std::u16string_view group, const std::u16string& path) {
  return Run(path, Mode::kExport, [&](Session& s) { return s.Profiles().ExportGroup(group); });
}
HResult StoreExchange::ImportProfileGroup(std::u16string_view group, const std::u16string& path) {
  return Run(path, Mode::kImport, [&](Session& s) { return s.Profiles().ImportGroup(group); });
}
HResult StoreExchange::ExportAllProfileGroups(const std::u16string& path) {
  return Run(path, Mode::kExport, [](Session& s) { return s.Profiles().ExportAllGroups(); });
}
HResult StoreExchange::ImportAllProfileGroups(const std::u16string& path) {
  return Run(path, Mode::kImport, [](Session& s) { return s.Profiles().ImportAllGroups(); });
}

HResult StoreExchange::ExportProfile(std::u16string_view profile, const std::u16string& path) {
  return Run(path, Mode::kExport, [&](Session& s) {
    ProfileRecord exported;
    HResult hr = s.Profiles().Export(profile, &exported);
    MacroExchange macros = s.Macros();
    UserActionExchange actions = s.UserActions();
    for (const ButtonMapping& mapping : exported.mappings) {
      if (Succeeded(hr) && mapping.NamesMacro()) hr = macros.Export(mapping.name);
    }
    for (const ButtonMapping& mapping : exported.mappings) {
      if (Succeeded(hr) && mapping.NamesUserAction()) hr = actions.Export(mapping.name);
    }
    return hr;
  });
}

HResult StoreExchange::ImportProfile(std::u16string_view profile, const std::u16string& path) {
  return Run(path, Mode::kImport, [&](Session& s) {
    const std::u16string* text = s.file->Find(ElementKind::kProfile, profile);
    if (text == nullptr) return kE_FAIL;
    ProfileRecord record;
    HResult hr = ReadElement(*text, record);
    MacroExchange macros = s.Macros();
    UserActionExchange actions = s.UserActions();
    for (const ButtonMapping& mapping : record.mappings) {
      if (Succeeded(hr) && mapping.NamesMacro() && macros.InFile(mapping.name)) hr = macros.Import(mapping.name);
    }
    for (const ButtonMapping& mapping : record.mappings) {
      if (Succeeded(hr) && mapping.NamesUserAction() && actions.InFile(mapping.name)) {
        hr = actions.Import(mapping.name);
      }
    }
    return Succeeded(hr) ? s.Profiles().Import(profile) : hr;
  });
}

HResult StoreExchange::ExportAllProfiles(const std::u16string& path) {
  return Run(path, Mode::kExport, [](Session& s) { return s.Profiles().ExportAll(); });
}
HResult StoreExchange::ImportAllProfiles(const std::u16string& path) {
  return Run(path, Mode::kImport, [](Session& s) { return s.Profiles().ImportAll(); });
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
