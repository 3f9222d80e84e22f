#include "common/advanced_presets.h"

#include <algorithm>

#include "common/key_names.h"

namespace quill::presets {
namespace {

constexpr std::array<Preset, 9> kBasic = {{
    {u"Cut", u"LCtrl", u"X"},
    {u"Copy", u"LCtrl", u"C"},
    {u"Paste", u"LCtrl", u"V"},
    {u"Undo", u"LCtrl", u"Z"},
    {u"All", u"LCtrl", u"A"},
    {u"Find", u"LCtrl", u"F"},
    {u"New", u"LCtrl", u"N"},
    {u"Print", u"LCtrl", u"P"},
    {u"Save", u"LCtrl", u"S"},
}};

constexpr std::array<Preset, 8> kAdditional = {{
    {u"Swap Windows", u"LAlt", u"Tab"},
    {u"Close Window", u"LAlt", u"F4"},
    {u"Lock PC", u"LWin", u"L"},
    {u"Open Explorer", u"LWin", u"E"},
    {u"Run", u"LWin", u"R"},
    {u"Show Desktop", u"LWin", u"D"},
    {u"Zoom In", u"LCtrl", u"+="},
    {u"Zoom Out", u"LCtrl", u"_-"},
}};

constexpr std::array<Preset, 7> kMedia = {{
    {u"Play/Pause", u"", u""},
    {u"Stop", u"", u""},
    {u"Previous Track", u"", u""},
    {u"Next Track", u"", u""},
    {u"Shuffle", u"", u""},
    {u"Volume Up", u"", u""},
    {u"Volume Down", u"", u""},
}};

MacroRow KeyRow(std::u16string_view name, bool release) {
  const uint16_t key = KeyCodeFromName(name);
  return EventRow(static_cast<uint16_t>(key | (release ? kEventRelease : 0)));
}

}  // namespace

std::u16string_view ListTitle(PresetList list) {
  switch (list) {
    case PresetList::Basic: return kBasicCommandsTitle;
    case PresetList::Additional: return kAdditionalCommandsTitle;
    case PresetList::Media: return kMediaFunctionsTitle;
  }
  return {};
}

std::span<const Preset> Presets(PresetList list) {
  switch (list) {
    case PresetList::Basic: return kBasic;
    case PresetList::Additional: return kAdditional;
    case PresetList::Media: return kMedia;
  }
  return {};
}

std::optional<std::array<MacroRow, 4>> PresetRows(PresetList list, int position) {
  const std::span<const Preset> presets = Presets(list);
  if (position < 0 || static_cast<size_t>(position) >= presets.size()) return std::nullopt;
  const Preset& preset = presets[static_cast<size_t>(position)];
  if (preset.keyA.empty()) return std::nullopt;
  return std::array<MacroRow, 4>{KeyRow(preset.keyA, false), KeyRow(preset.keyB, false), KeyRow(preset.keyB, true),
                                 KeyRow(preset.keyA, true)};
}

InsertResult InsertPreset(std::vector<MacroRow>& rows, int selectedRow, PresetList list, int position) {
  const std::optional<std::array<MacroRow, 4>> preset = PresetRows(list, position);
  if (!preset) return InsertResult::NothingToInsert;
  if (CountEventRows(rows) + static_cast<int32_t>(preset->size()) > kMaxMacroEvents) return InsertResult::MacroFull;
  const size_t at = selectedRow < 0 ? 0 : std::min(rows.size(), static_cast<size_t>(selectedRow) + 1);
  rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), preset->begin(), preset->end());
  return InsertResult::Inserted;
}

}  // namespace quill::presets
