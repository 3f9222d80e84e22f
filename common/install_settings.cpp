#include "common/install_settings.h"

#include "common/utf16.h"

namespace quill {

std::optional<std::u16string> MemorySettingsKey::ReadString(std::u16string_view name) const {
  auto it = strings.find(name);
  if (it == strings.end()) return std::nullopt;
  return it->second;
}

std::optional<uint32_t> MemorySettingsKey::ReadDword(std::u16string_view name) const {
  auto it = dwords.find(name);
  if (it == dwords.end()) return std::nullopt;
  return it->second;
}

bool MemorySettingsKey::WriteDword(std::u16string_view name, uint32_t value) {
  dwords[std::u16string(name)] = value;
  return true;
}

namespace {

// A string value within the 520-byte limit; a value stored with a terminator inside ends there.
std::optional<std::u16string> ReadBounded(const SettingsKey& key, std::u16string_view name) {
  auto value = key.ReadString(name);
  if (!value) return std::nullopt;
  if (auto nul = value->find(u'\0'); nul != std::u16string::npos) value->resize(nul);
  if (value->size() > kMaxSettingsStringUnits) return std::nullopt;
  return value;
}

void ReadFolderAndLanguage(const SettingsKey& key, InstallSettings& settings) {
  if (auto folder = ReadBounded(key, u"InstallDir")) settings.installFolder = *folder;
  if (auto language = key.ReadDword(u"Translation")) settings.currentLanguage = *language;
}

}  // namespace

std::u16string IndexedValueName(std::u16string_view prefix, size_t index) {
  return std::u16string(prefix) + DecimalText(static_cast<int64_t>(index));
}

const LanguageRow* InstallSettings::CurrentLanguage() const {
  if (currentLanguage >= languages.size()) return nullptr;
  return &languages[currentLanguage];
}

TranslationSource InstallSettings::Translation() const {
  const LanguageRow* row = CurrentLanguage();
  return {installFolder, row ? row->file : std::u16string(), translationMode};
}

std::u16string InstallSettings::DefaultFontFace() const {
  const LanguageRow* row = CurrentLanguage();
  return row && !row->defaultFont.empty() ? row->defaultFont : std::u16string(kDefaultFontFace);
}

std::u16string InstallSettings::FontFace() const {
  const LanguageRow* row = CurrentLanguage();
  return row && !row->font.empty() ? row->font : std::u16string(kDefaultFontFace);
}

void ReadInstallSettings(const SettingsKey* key, InstallSettings& settings) {
  if (!key) return;
  ReadFolderAndLanguage(*key, settings);
  if (auto mode = key->ReadDword(u"TranslationMode")) settings.translationMode = *mode;
  settings.languages.clear();
  for (size_t i = 0; i < kConfiguratorLanguageRows; ++i) {
    auto name = ReadBounded(*key, IndexedValueName(u"Language", i));
    if (!name) break;
    auto file = ReadBounded(*key, IndexedValueName(u"TranslationFile", i));
    if (!file) break;
    auto defaultFont = ReadBounded(*key, IndexedValueName(u"TranslationDefaultFont", i));
    if (!defaultFont) break;
    auto font = ReadBounded(*key, IndexedValueName(u"TranslationFont", i));
    if (!font) break;
    settings.languages.push_back({std::move(*name), std::move(*file), std::move(*defaultFont), std::move(*font)});
  }
  settings.highestLanguageIndex = static_cast<int32_t>(settings.languages.size()) - 1;
}

void ReadTraySettings(const SettingsKey* key, InstallSettings& settings) {
  if (!key) return;
  ReadFolderAndLanguage(*key, settings);
  settings.translationMode = kTranslationNormal;
  settings.languages.clear();
  for (size_t i = 0; i < kTrayLanguageRows; ++i) {
    auto name = ReadBounded(*key, IndexedValueName(u"Language", i));
    if (!name) break;
    auto file = ReadBounded(*key, IndexedValueName(u"TranslationFile", i));
    settings.languages.push_back({std::move(*name), file ? std::move(*file) : std::u16string(), {}, {}});
    if (!file) break;
  }
  settings.highestLanguageIndex = static_cast<int32_t>(settings.languages.size()) - 1;
}

bool WriteLanguage(SettingsKey* key, InstallSettings& settings) {
  if (!key) return false;
  if (auto folder = ReadBounded(*key, u"InstallDir")) settings.installFolder = *folder;
  return key->WriteDword(u"Translation", settings.currentLanguage);
}

}  // namespace quill
