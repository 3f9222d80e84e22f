#include "common/profile_text.h"

#include <algorithm>
#include <optional>

#include "common/macro_text.h"
#include "common/name_fields.h"
#include "common/text_blocks.h"
#include "common/text_values.h"
#include "common/translation.h"
#include "common/utf16.h"

namespace quill {

namespace {

using buttons::MappingWords;

constexpr int32_t kTypeDisabled = buttons::BUTTON_MAPPING_DISABLED;
constexpr int32_t kTypeDeviceAction = buttons::BUTTON_MAPPING_DEVICE_ACTION;
constexpr int32_t kTypeMacro = buttons::BUTTON_MAPPING_MACRO;
constexpr int32_t kTypeUserAction = buttons::BUTTON_MAPPING_USER_ACTION;
constexpr int32_t kTypeButtons = buttons::BUTTON_MAPPING_BUTTONS;
constexpr int32_t kActionKeycode = buttons::BUTTON_ACTION_KEYCODE;
constexpr int32_t kActionPressed = buttons::BUTTON_ACTION_PRESSED;
constexpr int32_t kPropertyProfile = buttons::PROPERTY_PROFILE;

constexpr std::u16string_view kInvalidMapping = u"Invalid Mapping!";
constexpr std::u16string_view kUnknownTarget = u"Mapping: 0 Data: 0 ''";

struct LedSection {
  std::u16string_view header;
  uint32_t bit;
};
constexpr LedSection kLedSections[] = {
    {u"[LEDSCROLLWHEEL]", kLedScrollWheel},
    {u"[LEDBATTERYINDICATOR]", kLedLogo},
    {u"[LEDCHARGINGDOCK]", kLedChargingDock},
};

std::u16string Indexed(std::u16string_view prefix, size_t index) {
  return std::u16string(prefix) + DecimalText(static_cast<int64_t>(index)) + u"]";
}

std::u16string NumberMapping(int32_t type, int32_t action, int32_t word) {
  return u"Mapping: " + DecimalText(type) + u" Data: " + DecimalText(action) + u" " + DecimalText(word);
}

std::u16string NamedMapping(int32_t type, int32_t data, std::u16string_view name) {
  return QuotedValue(u"Mapping: " + DecimalText(type) + u" Data: " + DecimalText(data) + u" ", name);
}

// The slot of a switch-profile button names a profile (rather than, say, a DPI stage).
bool SwitchesProfile(const MappingWords& slot) {
  return slot.mappingType == kTypeDeviceAction && slot.info[0] == kPropertyProfile;
}

void WriteDpiStages(TextWriter& out, const DpiStages& stages) {
  const uint32_t count = std::min(stages.ulTotalStages, kMaxDpiStages);
  out.WritePair(u"[DPISTAGES]", u"NoofStages: " + DecimalText(count));
  out.WritePair(u"[DEFAULTSTAGE]", u"Stage: " + DecimalText(stages.lDefaultStage));
  out.WritePair(u"[CURRENTSTAGE]", u"Stage: " + DecimalText(stages.lCurrentStage));
  for (uint32_t i = 0; i < count; ++i) {
    const SensitivityPair& s = stages.Sensitivity[i];
    out.WritePair(Indexed(u"[DPISTAGE", i), u"X-Sense: " + DecimalText(static_cast<int32_t>(s.ulXSensitivity)) +
                                                 u" Y-Sense: " + DecimalText(static_cast<int32_t>(s.ulYSensitivity)));
  }
}

// --- reading ------------------------------------------------------------------------------

// A DPI stage number of the file: 0 to 5, else refused.
std::optional<int32_t> StageNumber(std::u16string_view value) {
  auto n = WordThenNumber(value);
  if (!n || *n < 0 || *n > static_cast<int32_t>(kMaxDpiStages)) return std::nullopt;
  return n;
}

void ReadDpiStages(TextReader& in, DpiStages& stages) {
  std::u16string value;
  if (FindSection(in, u"[DPISTAGES]", value))
    if (auto n = WordThenNumber(value))
      stages.ulTotalStages = static_cast<uint32_t>(std::clamp<int32_t>(*n, 0, kMaxDpiStages));
  if (FindSection(in, u"[DEFAULTSTAGE]", value))
    if (auto n = StageNumber(value)) stages.lDefaultStage = *n;
  if (FindSection(in, u"[CURRENTSTAGE]", value))
    if (auto n = StageNumber(value)) stages.lCurrentStage = *n;
  const uint32_t count = std::min(stages.ulTotalStages, kMaxDpiStages);
  for (uint32_t i = 0; i < count; ++i) {
    if (!FindSection(in, Indexed(u"[DPISTAGE", i), value)) continue;
    ValueScanner scan(value);
    if (!scan.Word()) continue;
    const auto x = scan.Number();
    if (!x || *x < 0 || !scan.Word()) continue;
    const auto y = scan.Number();
    if (!y || *y < 0) continue;
    stages.Sensitivity[i] = {static_cast<uint32_t>(*x), static_cast<uint32_t>(*y)};
  }
}

void ReadLedFlags(TextReader& in, uint32_t& flags) {
  std::u16string value;
  for (const LedSection& led : kLedSections) {
    if (!FindSection(in, led.header, value)) continue;
    if (auto n = WordThenNumber(value); n && *n != 0) flags |= led.bit;
  }
}

void ReadSwitch(TextReader& in, std::u16string_view header, int32_t& field) {
  std::u16string value;
  if (!FindSection(in, header, value)) return;
  if (auto n = NumberValue(value)) field = *n;
}

// The fields of a mapping text: "word M word D1 D2", as far as they parse.
struct MappingFields {
  std::optional<int32_t> type;
  std::optional<int32_t> data1;
  std::optional<int32_t> data2;
};

MappingFields ScanMapping(std::u16string_view value) {
  MappingFields f;
  ValueScanner scan(value);
  if (!scan.Word() || !(f.type = scan.Number()) || !scan.Word() || !(f.data1 = scan.Number())) return f;
  f.data2 = scan.Number();
  return f;
}

std::u16string ButtonName(std::u16string_view name) { return std::u16string(CutToUnits(name, kButtonTargetNameUnits)); }

std::u16string QuotedButtonName(std::u16string_view value) {
  return ButtonName(QuotedName(value).value_or(std::u16string_view()));
}

void ReadMapping(std::u16string_view value, size_t fileIndex, ProfileEntry& entry, const EntryLists& lists,
                 bool import) {
  MappingWords& slot = (*entry.pMappings)[SlotOfFileIndex(fileIndex)];
  const int32_t button = buttons::ButtonForFileIndex(static_cast<int>(fileIndex))->lButton;
  const MappingFields f = ScanMapping(value);
  const int32_t type = f.type.value_or(kTypeDisabled);

  std::optional<MappingWords> read;
  bool namesProfile = false;
  bool namesMacro = false;
  if (type == kTypeUserAction) {
    if (f.data2) read = MappingWords{button, kTypeUserAction, kActionKeycode, {*f.data2, 0, 0}};
  } else if (type == kTypeDeviceAction || (!import && slot.mappingType == kTypeDeviceAction)) {
    namesProfile = true;
    const ProfileEntry* target = nullptr;
    if (!import && SwitchesProfile(slot) && slot.info[2] != 0) target = lists.profiles.FindById(slot.info[2]);
    entry.aszTargetProfileNames[fileIndex] = target ? ButtonName(target->szName) : QuotedButtonName(value);
    read = MappingWords{button, type, 0, {kPropertyProfile, 0, 0}};
  } else if (type == kTypeMacro || (!import && slot.mappingType == kTypeMacro)) {
    namesMacro = true;
    const MacroEntry* macro = nullptr;
    if (!import && slot.mappingType == kTypeMacro && slot.info[0] != 0) macro = lists.macros.FindById(slot.info[0]);
    entry.aszMacroNames[fileIndex] = macro ? ButtonName(macro->szName) : QuotedButtonName(value);
    read = MappingWords{button, kTypeMacro, 0, {0, 0, 0}};
  } else if (type == kTypeButtons) {
    if (f.data2) read = MappingWords{button, kTypeButtons, kActionPressed, {*f.data2, 0, 0}};
  }
  if (!namesProfile) entry.aszTargetProfileNames[fileIndex].clear();
  if (!namesMacro) entry.aszMacroNames[fileIndex].clear();
  if (import) slot = read.value_or(MappingWords{});
}

}  // namespace

std::u16string QuotedValue(std::u16string_view prefix, std::u16string_view name) {
  const size_t room = kValueLineUnits > prefix.size() + 2 ? kValueLineUnits - prefix.size() - 2 : 0;
  std::u16string line(prefix);
  line += u'\'';
  line += CutToUnits(name, room);
  line += u'\'';
  return line;
}

std::u16string MappingText(ProfileEntry& profile, size_t fileIndex, const EntryLists& lists) {
  if (!profile.pMappings || fileIndex >= kProfileButtons) return std::u16string(kInvalidMapping);
  const MappingWords& slot = (*profile.pMappings)[SlotOfFileIndex(fileIndex)];
  switch (slot.mappingType) {
    case kTypeUserAction:
      if (slot.actionType == kActionKeycode) return NumberMapping(kTypeUserAction, kActionKeycode, slot.info[0]);
      break;
    case kTypeDeviceAction: {
      ProfileEntry*& target = profile.apTargetProfiles[fileIndex];
      if (!target && SwitchesProfile(slot) && slot.info[2] != 0) target = lists.profiles.FindById(slot.info[2]);
      if (!target) break;
      if (slot.info[0] == kPropertyProfile) return NamedMapping(kTypeDeviceAction, kPropertyProfile, target->szName);
      return std::u16string(kUnknownTarget);
    }
    case kTypeMacro: {
      MacroEntry*& macro = profile.apMacros[fileIndex];
      if (!macro && slot.info[0] != 0) macro = lists.macros.FindById(slot.info[0]);
      if (macro) return NamedMapping(kTypeMacro, 0, macro->szName);
      return std::u16string(kUnknownTarget);
    }
    case kTypeButtons:
      if (slot.actionType == kActionPressed) return NumberMapping(kTypeButtons, kActionPressed, slot.info[0]);
      break;
    default:
      break;
  }
  return std::u16string(kInvalidMapping);
}

void WriteProfileText(TextWriter& out, ProfileEntry& profile, const EntryLists& lists) {
  WriteBlockOpening(out, kDataTypeProfile);
  WriteBlockName(out, u"[PROFILENAME]", profile.szName);
  if (profile.pDpiStages) WriteDpiStages(out, *profile.pDpiStages);
  for (const LedSection& led : kLedSections)
    out.WritePair(led.header, u"LEDState: " + DecimalText(profile.ulLedFlags & led.bit));
  out.WritePair(u"[EXECUTABLE]", CutToUnits(profile.szExecutable, kExecutableLineUnits));
  out.WritePair(u"[AUTOLOAD]", DecimalText(profile.bAutoLoad));
  out.WritePair(u"[OTFSOSD]", DecimalText(profile.bOtfsOsd));
  out.WritePair(u"[PROFILEOSD]", DecimalText(profile.bProfileOsd));
  if (profile.pMappings)
    for (size_t i = 0; i < kProfileButtons; ++i)
      out.WritePair(Indexed(u"[BUTTONMAPPING", i), MappingText(profile, i, lists));
  for (const MacroEntry* macro : profile.apMacros)
    if (macro) WriteMacroText(out, *macro);
}

ProfileReadResult ReadProfileText(TextReader& in, EntryLists& lists, std::u16string_view requestedName,
                                  bool import, Translator* translator) {
  ProfileReadResult result;
  in.Rewind();
  std::u16string value;
  while (NextBlock(in, kDataTypeProfile)) {
    const auto name = ReadBlockName(in, u"[PROFILENAME]", kEntryNameUnits);
    if (!name) continue;
    if (!requestedName.empty() && *name != requestedName) continue;

    ProfileEntry* found = lists.profiles.FindByName(*name);
    if (!found && !import) continue;
    std::unique_ptr<ProfileEntry> created;
    ProfileEntry* entry = found;
    if (!found || found->bMarkedForDelete || found->bDeleted) {
      created = lists.profiles.Make(*name);
      created->bCreated = 1;
      entry = created.get();
    } else {
      entry->bCreated = 0;
    }
    entry->bModified = 1;

    const bool whole = import || created;
    if (whole) {
      if (!entry->pDpiStages) entry->pDpiStages = std::make_unique<DpiStages>();
      ReadDpiStages(in, *entry->pDpiStages);
    }
    // An imported profile gets its button assignments also when it had none yet.
    if (import && !entry->pMappings) entry->pMappings = std::make_unique<MappingSlots>();
    if (import) ReadLedFlags(in, entry->ulLedFlags);

    if (FindSection(in, u"[EXECUTABLE]", value)) {
      const std::u16string_view executable = TrimBlanks(value);
      if (!executable.empty())
        entry->szExecutable = std::u16string(CutToUnits(executable, kEntryNameUnits));
      else
        entry->szExecutable = translator ? translator->Translate(kNoExecutable) : std::u16string(kNoExecutable);
    }
    ReadSwitch(in, u"[AUTOLOAD]", entry->bAutoLoad);
    ReadSwitch(in, u"[OTFSOSD]", entry->bOtfsOsd);
    ReadSwitch(in, u"[PROFILEOSD]", entry->bProfileOsd);

    if (entry->pMappings) {
      for (size_t i = 0; i < kProfileButtons; ++i) {
        if (!FindSection(in, Indexed(u"[BUTTONMAPPING", i), value)) continue;
        ReadMapping(value, i, *entry, lists, import);
      }
    }
    result.created = std::move(created);
    result.entry = entry;
  }
  return result;
}

}  // namespace quill
