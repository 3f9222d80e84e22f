// Command presets of the Advanced Settings box: ready-made key sequences inserted into the key
// list of the macro being edited.
//
// A preset of "Basic Commands" or "Additional Commands" inserts four key events: key A pressed,
// key B pressed, key B released, key A released (for "Swap Windows": LAlt down, Tab down, Tab up,
// LAlt up). The entries of "Media Functions" insert nothing.
#pragma once
#include <array>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "common/macro_events.h"

namespace quill::presets {

enum class PresetList { Basic = 0, Additional = 1, Media = 2 };

struct Preset {
  std::u16string_view text;  // English key for the translation
  std::u16string_view keyA;  // key names as the key list shows them; empty for media entries
  std::u16string_view keyB;
};

inline constexpr std::u16string_view kBasicCommandsTitle = u"Basic Commands";
inline constexpr std::u16string_view kAdditionalCommandsTitle = u"Additional Commands";
inline constexpr std::u16string_view kMediaFunctionsTitle = u"Media Functions";

std::u16string_view ListTitle(PresetList list);
std::span<const Preset> Presets(PresetList list);

// The four rows of a preset; nullopt for a position outside the list or a media entry.
std::optional<std::array<MacroRow, 4>> PresetRows(PresetList list, int position);

enum class InsertResult { Inserted, NothingToInsert, MacroFull };

// Inserts a preset into the key list after row `selectedRow` (at the start when it is negative;
// at the end when it is past the last row). A macro that cannot take four more events is left as
// it is (MacroFull): a preset cut short would leave its first key held down.
InsertResult InsertPreset(std::vector<MacroRow>& rows, int selectedRow, PresetList list, int position);

}  // namespace quill::presets
