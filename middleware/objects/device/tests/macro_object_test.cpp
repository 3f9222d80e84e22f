// One on-board macro against the emulated mouse: upload with the stored name kept, download,
// names, sizes and the chunking of the stream.
#include "middleware/objects/device/macro_object.h"

#include <gtest/gtest.h>

#include "middleware/objects/device/macro_stream.h"
#include "middleware/objects/device/tests/device_fixture.h"

namespace quill::device::test {
namespace {

using namespace quill::layout;
using Strings = std::vector<std::string>;
using Bytes = std::vector<uint8_t>;

MacroElementRecord Key(int32_t scan, bool press) {
  MacroElementRecord e;
  e.actionType = kActionKeycode;
  e.info = {scan, 0, press ? 0 : kKeycodeOptionsBreak};
  return e;
}

// A macro whose stream is exactly `size` bytes (50 or more): key presses, then one mouse event
// for an odd remainder.
MacroRecord MacroOfSize(size_t size) {
  MacroRecord macro;
  macro.FixedDelay = 30;
  for (size_t n = kMacroHeaderSize; n + 2 <= size; n += 2) macro.elements.push_back(Key(0x10, true));
  if ((size - kMacroHeaderSize) % 2) {
    MacroElementRecord click;
    click.actionType = kActionClick;
    macro.elements.push_back(click);
  }
  return macro;
}

Bytes NameBytes(std::u16string_view name) {
  Bytes bytes(kMacroNameBlockSize, 0);
  for (size_t i = 0; i < name.size(); ++i) {
    bytes[2 * i] = static_cast<uint8_t>(name[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<uint8_t>(name[i] >> 8);
  }
  return bytes;
}

class MacroObject : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    Edit([](emu::DeviceState& s) {
      Bytes data = NameBytes(u"Combo");
      data.resize(60, 0x01);
      s.macros[4].data = data;
    });
    Forget();
  }
  Bytes Data(int n) const { return State().macros[static_cast<size_t>(n)].data; }
};

TEST_F(MacroObject, UploadKeepsTheStoredNameAndSendsSizeThenChunks) {
  const MacroRecord macro = MacroOfSize(120);
  ASSERT_EQ(SetMacro(handler_, 4, &macro), kS_OK);
  EXPECT_EQ(Sequence(), (Strings{"R23", "R0E", "W08", "W0D", "W0D"}));
  const std::vector<Exchange> ex = Exchanges();
  EXPECT_EQ(ex[1].request[kMacroSlot], 4);
  EXPECT_EQ(ex[2].request[9], 4);
  EXPECT_EQ(GetBigEndian16(ex[2].request, 10), 120);
  EXPECT_EQ(GetBigEndian16(ex[3].request, kCounterHigh), 1);
  EXPECT_EQ(ex[3].request[kLength], 80);
  EXPECT_EQ(GetBigEndian16(ex[4].request, kCounterHigh), 0);
  EXPECT_EQ(ex[4].request[kLength], 40);

  Bytes expected;
  ASSERT_EQ(EncodeMacroStream(macro, expected), kS_OK);
  const Bytes name = NameBytes(u"Combo");
  std::copy(name.begin(), name.end(), expected.begin());
  EXPECT_EQ(Data(4), expected);
}

TEST_F(MacroObject, ChunkCountsAndCounters) {
  struct Case {
    size_t size;
    std::vector<uint16_t> counters;
    uint8_t last_length;
  };
  for (const Case& c : {Case{80, {0}, 80}, Case{81, {1, 0}, 1}, Case{160, {1, 0}, 80}, Case{161, {2, 1, 0}, 1}}) {
    Forget();
    const MacroRecord macro = MacroOfSize(c.size);
    ASSERT_EQ(SetMacro(handler_, 4, &macro), kS_OK) << c.size;
    std::vector<uint16_t> counters;
    uint8_t last_length = 0;
    for (const Exchange& e : Exchanges()) {
      if (e.request[kCommand] != CMD_MACRO_DATA) continue;
      counters.push_back(GetBigEndian16(e.request, kCounterHigh));
      last_length = e.request[kLength];
    }
    EXPECT_EQ(counters, c.counters) << c.size;
    EXPECT_EQ(last_length, c.last_length) << c.size;
    EXPECT_EQ(Data(4).size(), c.size);
  }
}

TEST_F(MacroObject, AFailedNameReadWritesNothingSoTheNameSurvives) {
  const Bytes before = Data(4);
  model_.SetStatusScript(emu::kCmdMacroName, {{9}});
  const MacroRecord macro = MacroOfSize(70);
  EXPECT_EQ(SetMacro(handler_, 4, &macro), kE_FAIL);
  EXPECT_EQ(Sequence(), (Strings{"R23", "R0E"}));
  EXPECT_EQ(Data(4), before);
}

TEST_F(MacroObject, AFailedChunkEndsTheUpload) {
  model_.SetStatusScript(emu::kCmdMacroData, {{2, 9}});
  const MacroRecord macro = MacroOfSize(200);
  EXPECT_EQ(SetMacro(handler_, 4, &macro), kE_FAIL);
  EXPECT_EQ(Sequence(), (Strings{"R23", "R0E", "W08", "W0D", "W0D"}));  // the third chunk is not sent

  model_.ClearStatusScripts();
  model_.SetStatusScript(emu::kCmdMacroDirectory, {{9}});
  Forget();
  EXPECT_EQ(SetMacro(handler_, 4, &macro), kE_FAIL);
  EXPECT_EQ(Sequence(), (Strings{"R23", "R0E", "W08"}));  // no data without its size
}

TEST_F(MacroObject, AMacroThatDoesNotFitIsRefusedAfterTheSpaceRead) {
  Edit([](emu::DeviceState& s) { s.total_space = 1; });  // the 60-byte macro takes the one unit
  const MacroRecord macro = MacroOfSize(481);
  EXPECT_EQ(SetMacro(handler_, 4, &macro), kE_OUTOFMEMORY);
  EXPECT_EQ(Sequence(), (Strings{"R23"}));
  const MacroRecord fits = MacroOfSize(480);
  Forget();
  EXPECT_EQ(SetMacro(handler_, 4, &fits), kS_OK);
}

TEST_F(MacroObject, StreamsTheSizeFieldCannotCarryAndBadElementsFailWithoutTraffic) {
  const MacroRecord huge = MacroOfSize(65536);
  EXPECT_EQ(SetMacro(handler_, 4, &huge), kE_OUTOFMEMORY);
  MacroRecord bad = MacroOfSize(52);
  bad.elements[0].actionType = kActionInterrupt;
  EXPECT_EQ(SetMacro(handler_, 4, &bad), kE_FAIL);
  EXPECT_TRUE(Sequence().empty());
}

TEST_F(MacroObject, ClearingWritesFortyZeroBytes) {
  ASSERT_EQ(SetMacro(handler_, 9, nullptr), kS_OK);
  EXPECT_EQ(Sequence(), (Strings{"W08", "W0D"}));
  EXPECT_EQ(Data(9), Bytes(40, 0));
}

TEST_F(MacroObject, DownloadDecodesTheStreamOfTheDirectorySize) {
  MacroRecord macro = MacroOfSize(171);
  macro.elements[3].lDelayMs = 1000;
  ASSERT_EQ(SetMacro(handler_, 4, &macro), kS_OK);
  Forget();
  MacroRecord decoded;
  ASSERT_EQ(GetMacro(handler_, 4, decoded), kS_OK);
  EXPECT_EQ(Sequence(), (Strings{"R08", "R0D", "R0D", "R0D"}));
  EXPECT_EQ(decoded.FixedDelay, 30u);
  EXPECT_EQ(decoded.elements.size(), macro.elements.size());
  EXPECT_EQ(decoded.elements[3], macro.elements[3]);

  uint32_t size = 0;
  EXPECT_EQ(GetMacroSize(handler_, 4, size), kS_OK);
  EXPECT_EQ(size, 174u);  // 171 and the three bytes of the added delay
  size = 5;
  EXPECT_EQ(GetMacroSize(handler_, 40, size), kE_FAIL);  // not in the directory
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(GetMacro(handler_, 40, decoded), kE_FAIL);
}

TEST_F(MacroObject, NamesAreBoundedBothWays) {
  ASSERT_EQ(SetMacroName(handler_, 4, u"Nineteen characters"), kS_OK);
  std::u16string name;
  ASSERT_EQ(GetMacroName(handler_, 4, name), kS_OK);
  EXPECT_EQ(name, u"Nineteen characters");
  Forget();
  EXPECT_EQ(SetMacroName(handler_, 4, u"Twenty characters!!!"), kE_FAIL);
  EXPECT_TRUE(Sequence().empty());

  // A device name that fills its block without a terminator ends at the block.
  FeatureReport reply{};
  std::fill(reply.begin() + kPayload, reply.begin() + kPayload + kPayloadSize, 0x41);
  EXPECT_EQ(MacroNameFromReply(reply), std::u16string(20, u'\x4141'));
}

TEST_F(MacroObject, NumbersAreCheckedBeforeTraffic) {
  struct Case {
    int32_t number;
    HResult hr;
  };
  for (const Case c : {Case{kNoNumber, kE_FAIL}, Case{70, kE_INVALIDARG}, Case{-2, kE_INVALIDARG}}) {
    std::u16string name;
    MacroRecord macro;
    uint32_t size = 0;
    EXPECT_EQ(SetMacro(handler_, c.number, nullptr), c.hr);
    EXPECT_EQ(GetMacro(handler_, c.number, macro), c.hr);
    EXPECT_EQ(SetMacroName(handler_, c.number, u"x"), c.hr);
    EXPECT_EQ(GetMacroName(handler_, c.number, name), c.hr);
    EXPECT_EQ(GetMacroSize(handler_, c.number, size), c.hr);
  }
  EXPECT_TRUE(Sequence().empty());
}

}  // namespace
}  // namespace quill::device::test
