// Fuzzes the macro-stream decoder and the parsing of device replies.
//
// The input is decoded as a macro stream (whatever decodes must re-encode and decode to the
// same elements), then served, 91 bytes at a time and round and round, as the replies of a
// device to the read operations of the features and managers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "middleware/objects/device/button_entries.h"
#include "middleware/objects/device/dpi_table.h"
#include "middleware/objects/device/macro_manager.h"
#include "middleware/objects/device/macro_object.h"
#include "middleware/objects/device/macro_stream.h"
#include "middleware/objects/device/performance_features.h"
#include "middleware/objects/device/profile_manager.h"
#include "middleware/objects/device/tests/scripted_channel.h"
#include "middleware/transport/device_ids.h"

namespace {

using namespace quill;
using namespace quill::device;

void CheckStream(std::span<const uint8_t> data) {
  MacroRecord decoded;
  if (Failed(DecodeMacroStream(data, decoded))) return;
  std::vector<uint8_t> again;
  if (Failed(EncodeMacroStream(decoded, again))) std::abort();
  MacroRecord twice;
  if (Failed(DecodeMacroStream(again, twice)) || twice.elements != decoded.elements) std::abort();
}

void CheckReplies(std::span<const uint8_t> data) {
  size_t at = 0;
  test::ScriptedChannel device([&](FeatureReport& report) {
    report.fill(0);
    for (size_t i = 0; i < report.size() && !data.empty(); ++i) {
      report[i] = data[at];
      at = (at + 1) % data.size();
    }
    return report[kStatus] == kStatusDone ? kS_OK : kE_FAIL;
  });

  SensitivityRecord level;
  GetDpiLevel(device, level);
  DpiStageRecord stages;
  bool filled = false;
  GetDpiStages(device, 1, stages, filled);
  int32_t value = 0;
  GetRate(device, value);
  std::vector<ButtonMappingRecord> mappings;
  GetProfileMappings(device, 2, mappings);
  std::u16string name;
  GetProfileName(device, 3, name);
  GetMacroName(device, 5, name);
  MacroRecord macro;
  GetMacro(device, 5, macro);
  MacroManager manager;
  for (int32_t index = 0; index < 3; ++index) manager.GetMacroByIndex(device, index, value);
  manager.CreateMacro(device, value);
  GetProfileByIndex(device, 1, value);
  DeleteProfile(device, 2);
  DpiTable table;
  LoadDpiTable(device, QUILLFERN_PID, table);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);
  CheckStream(input);
  CheckReplies(input);
  return 0;
}
