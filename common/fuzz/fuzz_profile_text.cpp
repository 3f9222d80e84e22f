// Profile and macro files from outside (.dat, .txp, .txm): the line reader, the profile reader
// with and without import, the macro reader, and writing back what was read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/exchange_files.h"
#include "common/macro_text.h"
#include "common/memory_file_system.h"
#include "common/profile_text.h"

namespace {

using namespace quill;

void Check(bool ok) {
  if (!ok) std::abort();
}

void CheckProfile(const ProfileEntry& p) {
  if (p.pDpiStages) Check(p.pDpiStages->ulTotalStages <= kMaxDpiStages);
  Check(p.szName.size() <= kEntryNameUnits && p.szExecutable.size() <= kEntryNameUnits);
  for (size_t i = 0; i < kProfileButtons; ++i)
    Check(p.aszMacroNames[i].size() <= kButtonTargetNameUnits && p.aszTargetProfileNames[i].size() <= kButtonTargetNameUnits);
}

void CheckMacro(const MacroEntry& m) {
  Check(m.events.lNumElements >= 0 && m.events.lNumElements <= kMaxMacroEvents);
  Check(m.szName.size() <= kMacroFileNameUnits || m.bCreated == 0);
}

EntryLists MakeLists() {
  EntryLists lists;
  for (int32_t id = 1; id <= 3; ++id) {
    ProfileEntry& p = lists.profiles.Add(id == 1 ? u"Work" : id == 2 ? u"Game" : u"Profile 3");
    p.lId = id;
    if (id != 3) {
      p.pMappings = std::make_unique<MappingSlots>();
      (*p.pMappings)[0] = {1, buttons::BUTTON_MAPPING_DEVICE_ACTION, 0, {5, 0, 2}};
      (*p.pMappings)[1] = {2, buttons::BUTTON_MAPPING_MACRO, 5, {1, 1, 0}};
      p.pDpiStages = std::make_unique<DpiStages>();
    }
  }
  MacroEntry& m = lists.macros.Add(u"Combo");
  m.lId = 1;
  return lists;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TextReader in = TextReader::FromBytes(bytes);

  std::u16string line;
  while (in.ReadLine(line) != LineStatus::End) Check(line.size() <= kMaxTextLineUnits);

  for (bool import : {false, true}) {
    EntryLists lists = MakeLists();
    for (std::u16string_view name : {std::u16string_view(), std::u16string_view(u"Work")}) {
      ProfileReadResult read = ReadProfileText(in, lists, name, import, nullptr);
      if (!read.entry) continue;
      CheckProfile(*read.entry);
      TextWriter out;
      WriteProfileText(out, *read.entry, lists);
      for (const ProfileEntry& p : lists.profiles) CheckProfile(p);
    }
    MacroReadResult macro = ReadMacroText(in, lists.macros, {});
    if (macro.entry) CheckMacro(*macro.entry);
    MacroReadResult named = ReadMacroText(in, lists.macros, u"Combo");
    if (named.entry) CheckMacro(*named.entry);
  }

  // The import path as the dialog runs it, then the file written back reads back.
  MemoryFileSystem fs;
  fs.files[u"in.txp"] = std::string(bytes);
  EntryLists lists = MakeLists();
  ProfileImport imported = ImportProfileFile(fs, u"in.txp", lists, nullptr);
  if (imported.profile) {
    Check(ExportExchangeFile(fs, u"out.txp", imported.profile, nullptr, lists));
    EntryLists again = MakeLists();
    ProfileImport reread = ImportProfileFile(fs, u"out.txp", again, nullptr);
    Check(reread.profile != nullptr);
  }
  return 0;
}
