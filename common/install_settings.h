// Installation and language settings of the desktop programs, kept under HKEY_LOCAL_MACHINE
// "Software\Torvo\Torvo Quillfern":
//   "InstallDir"                 install folder (string; ends with a backslash)
//   "Translation"                current language index (DWORD)
//   "TranslationMode"            0 normal, 1 recording, 2 recording from an empty file (DWORD;
//                                configuration application only, the tray always uses 0)
//   "Language%d", "TranslationFile%d", "TranslationDefaultFont%d", "TranslationFont%d"
//                                the language table, per language index (strings)
//
// The key is reached through SettingsKey, so this code needs no registry: the Windows adapter is
// in common/win/registry_settings.h, tests use MemorySettingsKey.
//
// A string value holds at most 520 bytes with its terminator (259 characters); a longer value is
// refused and counts as missing, so a cut path or name is never used.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/translation.h"

namespace quill {

inline constexpr std::u16string_view kInstallKeyPath = u"Software\\Torvo\\Torvo Quillfern";
constexpr size_t kMaxSettingsStringUnits = 259;
// Language rows: 51 for the configuration application (indexes 0 to 50), 50 for the tray.
constexpr size_t kConfiguratorLanguageRows = 51;
constexpr size_t kTrayLanguageRows = 50;
inline constexpr std::u16string_view kDefaultFontFace = u"Arial";

class SettingsKey {
 public:
  virtual ~SettingsKey() = default;
  // The value as stored (any length), nullopt when missing or of another type.
  virtual std::optional<std::u16string> ReadString(std::u16string_view name) const = 0;
  virtual std::optional<uint32_t> ReadDword(std::u16string_view name) const = 0;
  virtual bool WriteDword(std::u16string_view name, uint32_t value) = 0;
};

// Values in memory, for tests.
class MemorySettingsKey final : public SettingsKey {
 public:
  std::optional<std::u16string> ReadString(std::u16string_view name) const override;
  std::optional<uint32_t> ReadDword(std::u16string_view name) const override;
  bool WriteDword(std::u16string_view name, uint32_t value) override;

  std::map<std::u16string, std::u16string, std::less<>> strings;
  std::map<std::u16string, uint32_t, std::less<>> dwords;
};

struct LanguageRow {
  std::u16string name;         // "Language%d"
  std::u16string file;         // "TranslationFile%d"
  std::u16string defaultFont;  // "TranslationDefaultFont%d" (configuration application)
  std::u16string font;         // "TranslationFont%d" (configuration application)
};

struct InstallSettings {
  std::u16string installFolder;
  uint32_t currentLanguage = 0;
  uint32_t translationMode = kTranslationNormal;
  std::vector<LanguageRow> languages;
  int32_t highestLanguageIndex = -1;  // index of the last row read; -1 without rows

  // Row of the current language; null when the index has no row.
  const LanguageRow* CurrentLanguage() const;
  // Folder, file of the current language (empty without a row) and mode for Translate.
  TranslationSource Translation() const;
  // Font faces of the current language for the skinned controls, "Arial" where none is set.
  std::u16string DefaultFontFace() const;
  std::u16string FontFace() const;
};

// Configuration application: "InstallDir", "Translation", "TranslationMode", then rows 0 to 50
// of the four language strings, up to the first row with a missing value (rows count only when
// complete). With no key (null) the previous values stay.
void ReadInstallSettings(const SettingsKey* key, InstallSettings& settings);

// Tray agent: "InstallDir", "Translation", then rows of "Language%d" and "TranslationFile%d",
// at most 50: a missing name ends the table, a missing file name ends it after that row. The
// translation mode is always 0. With no key (null) the previous values stay.
void ReadTraySettings(const SettingsKey* key, InstallSettings& settings);

// After a language switch: reads "InstallDir" again and writes "Translation" with the current
// language. False when there is no key or the write fails.
bool WriteLanguage(SettingsKey* key, InstallSettings& settings);

// Value name of a language row ("Language" and 3 give "Language3").
std::u16string IndexedValueName(std::u16string_view prefix, size_t index);

}  // namespace quill
