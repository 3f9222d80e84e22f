// Command table of the emulated mouse, byte for byte.
#include <gtest/gtest.h>

#include "emulator/quillfern_model.h"
#include "emulator/tests/report_helpers.h"

namespace quill::emu {
namespace {

using test::AsWrite;
using test::Read;
using test::Write;

class CommandTest : public ::testing::Test {
 protected:
  FeatureReport Do(const FeatureReport& r) { return model.HandleCommand(r, &note); }
  QuillfernModel model;
  std::string note;
};

// Every reply: header bytes 0, 1, 3, 4, 6, 7, 8 as sent, byte 90 = 1, byte 89 its own XOR.
void ExpectReplyFrame(const FeatureReport& request, const FeatureReport& reply, uint8_t status) {
  for (size_t i : {0u, 1u, 3u, 4u, 5u, 6u, 7u, 8u}) EXPECT_EQ(reply[i], request[i]) << "byte " << i;
  EXPECT_EQ(reply[kStatus], status);
  EXPECT_EQ(reply[kTrailer], 1);
  EXPECT_EQ(reply[kChecksum], ReportChecksum(reply));
}

TEST_F(CommandTest, DeviceInformationCarriesSerialAndFirmware) {
  const FeatureReport request = Read(kCmdDeviceInfo, 1, {0});
  const FeatureReport reply = Do(request);
  ExpectReplyFrame(request, reply, kStatusDone);
  const DeviceInfo& info = model.State().info;
  for (size_t i = 0; i < kSerialBytes; ++i) EXPECT_EQ(reply[9 + i], info.serial[i]);
  EXPECT_EQ(reply[9], 'Q');
  EXPECT_EQ(reply[41], 1);
  EXPECT_EQ(reply[42], 4);
  for (size_t i = 43; i < kChecksum; ++i) EXPECT_EQ(reply[i], 0) << i;
}

TEST_F(CommandTest, NewMouseReportsFactorySettings) {
  const FeatureReport perf = Do(Read(kCmdPerformance, 0));
  EXPECT_EQ(perf[9], 1);   // active slot
  EXPECT_EQ(perf[10], 2);  // 500 Hz
  EXPECT_EQ(perf[11], 3);  // stage 3
  EXPECT_EQ(perf[12], 68);
  EXPECT_EQ(perf[13], 68);

  // Profile 1: the default block, byte for byte.
  const uint8_t expected[kProfileBlockSize] = {
      1, 7, 3, 5, 28, 28, 44, 44, 68, 68, 156, 156, 220, 220, 0, 0, 0, 0, 0, 0,
      1, 1, 0, 0, 2, 2, 0, 0, 3, 3, 0, 0, 4, 4, 0, 0, 5, 5, 0, 0,
      6, 11, 0, 0, 7, 12, 0, 0, 8, 8, 0, 0, 9, 9, 0, 0};
  const FeatureReport block = Do(Read(kCmdProfile, 1, {1}));
  for (size_t i = 0; i < kProfileBlockSize; ++i) EXPECT_EQ(block[9 + i], expected[i]) << "block byte " << 9 + i;
  for (size_t i = 65; i < kChecksum; ++i) EXPECT_EQ(block[i], 0);

  const FeatureReport name = Do(Read(kCmdProfileName, 1, {1}));
  EXPECT_EQ(name[9], 1);
  const char16_t* text = u"Profile 1";
  for (size_t i = 0; text[i]; ++i) {
    EXPECT_EQ(name[10 + 2 * i], text[i]);
    EXPECT_EQ(name[11 + 2 * i], 0);
  }
  EXPECT_EQ(name[28], 0);  // terminator
  for (int slot = 2; slot <= 5; ++slot) {
    const FeatureReport empty = Do(Read(kCmdProfileName, 1, {static_cast<uint8_t>(slot)}));
    EXPECT_EQ(empty[kStatus], kStatusDone);
    for (size_t i = 10; i < 50; ++i) EXPECT_EQ(empty[i], 0xFF);
  }

  const FeatureReport space = Do(Read(kCmdMemorySpace, 0));
  EXPECT_EQ(space[9], kDefaultTotalSpace);
  EXPECT_EQ(space[10], 0);
  EXPECT_EQ(Do(Read(kCmdSensorRom, 1, {0}))[9], 0);
}

// A writer that reuses the reply sends back exactly what it read; only its bytes change.
TEST_F(CommandTest, ReadModifyWriteChangesOnlyTheWrittenBytes) {
  FeatureReport reply = Do(Read(kCmdPerformance, 0));
  FeatureReport write = AsWrite(reply, 5);
  write[10] = 8;
  write[kChecksum] = ReportChecksum(write);
  const FeatureReport ack = Do(write);
  ExpectReplyFrame(write, ack, kStatusDone);
  for (size_t i = kPayload; i < kChecksum; ++i) EXPECT_EQ(ack[i], write[i]) << "write reply echoes byte " << i;
  PerformanceRecord expected;
  expected.polling_rate_code = 8;
  EXPECT_EQ(model.State().performance, expected);

  // Profile block: LED bits only.
  reply = Do(Read(kCmdProfile, 1, {1}));
  write = AsWrite(reply, kProfileBlockSize);
  write[10] = 5;
  EXPECT_EQ(Do(write)[kStatus], kStatusDone);
  ProfileBlock block = DefaultProfileBlock(1);
  block[kBlockLed] = 5;
  EXPECT_EQ(model.State().Slot(1).block, block);

  // Sensor ROM.
  write = AsWrite(Do(Read(kCmdSensorRom, 1, {0})), 1);
  write[9] = 3;
  EXPECT_EQ(Do(write)[kStatus], kStatusDone);
  EXPECT_EQ(Do(Read(kCmdSensorRom, 1, {0}))[9], 3);
}

TEST_F(CommandTest, SlotZeroAddressesTheActiveProfile) {
  DeviceState s = model.State();
  s.Slot(2).name = ProfileNameFromText(u"Two");
  s.Slot(2).block = DefaultProfileBlock(2);
  s.Slot(2).block[kBlockLed] = 2;
  s.performance.active_slot = 2;
  model.SetState(s);
  const FeatureReport reply = Do(Read(kCmdProfile, 1, {0}));
  EXPECT_EQ(reply[9], 2);
  EXPECT_EQ(reply[10], 2);
}

TEST_F(CommandTest, ProfileCreateAndDeleteSequence) {
  // Creation: default block, then an empty (zero) name makes the slot occupied.
  FeatureReport block = Write(kCmdProfile, kProfileBlockSize);
  const ProfileBlock def = DefaultProfileBlock(3);
  std::copy(def.begin(), def.end(), block.begin() + kPayload);
  EXPECT_EQ(Do(block)[kStatus], kStatusDone);
  EXPECT_FALSE(model.State().Slot(3).Occupied());
  EXPECT_EQ(Do(Write(kCmdProfileName, 41, {3}))[kStatus], kStatusDone);
  EXPECT_TRUE(model.State().Slot(3).Occupied());
  EXPECT_EQ(Do(Read(kCmdProfileName, 1, {3}))[10], 0);

  // Deletion: erase, then the name of all 0xFF.
  EXPECT_EQ(Do(Write(kCmdProfileErase, 1, {3}))[kStatus], kStatusDone);
  FeatureReport erase_name = Write(kCmdProfileName, 41, {3});
  std::fill(erase_name.begin() + 10, erase_name.begin() + 50, 0xFF);
  EXPECT_EQ(Do(erase_name)[kStatus], kStatusDone);
  EXPECT_FALSE(model.State().Slot(3).Occupied());
  EXPECT_EQ(Do(Read(kCmdProfileName, 1, {3}))[10], 0xFF);
}

TEST_F(CommandTest, LegacyDefaultLayoutWriteIsAcknowledgedWithoutChange) {
  const DeviceState before = model.State();
  EXPECT_EQ(Do(Write(kCmdProfile, 0x41, {3, 2, 4, 0, 0, 1, 1}))[kStatus], kStatusDone);
  EXPECT_EQ(model.State(), before);
}

TEST_F(CommandTest, DownloadModeEntersAndLeaves) {
  EXPECT_EQ(Do(Write(kCmdDownloadMode, 1, {1}))[kStatus], kStatusDone);
  EXPECT_TRUE(model.State().download_mode);
  EXPECT_EQ(Do(Write(kCmdDownloadMode, 1, {2}))[kStatus], kStatusDone);
  EXPECT_FALSE(model.State().download_mode);
}

struct RejectCase {
  const char* what;
  FeatureReport request;
  uint8_t status;
};

// Requests the mouse refuses leave its memory exactly as it was.
TEST_F(CommandTest, RefusedRequestsChangeNothing) {
  FeatureReport bad_direction = Read(kCmdPerformance);
  bad_direction[kDirection] = 2;
  FeatureReport six_stages = AsWrite(Do(Read(kCmdProfile, 1, {1})), kProfileBlockSize);
  six_stages[12] = 6;
  const RejectCase cases[] = {
      {"unknown command", Read(0x55), kStatusUnknownCommand},
      {"device info write", Write(kCmdDeviceInfo, 1), kStatusUnknownCommand},
      {"memory space write", Write(kCmdMemorySpace, 0), kStatusUnknownCommand},
      {"erase as a read", Read(kCmdProfileErase, 1, {2}), kStatusUnknownCommand},
      {"direction 2", bad_direction, kStatusUnknownCommand},
      {"performance write length", Write(kCmdPerformance, 4, {1, 2, 3, 68, 68}), kStatusRejected},
      {"polling-rate code 3", Write(kCmdPerformance, 5, {1, 3, 3, 68, 68}), kStatusRejected},
      {"active slot empty", Write(kCmdPerformance, 5, {2, 2, 3, 68, 68}), kStatusRejected},
      {"stage 6", Write(kCmdPerformance, 5, {1, 2, 6, 68, 68}), kStatusRejected},
      {"profile read slot 6", Read(kCmdProfile, 1, {6}), kStatusRejected},
      {"profile write six stages", six_stages, kStatusRejected},
      {"profile write length 55", Write(kCmdProfile, 55, {1}), kStatusRejected},
      {"erase base profile", Write(kCmdProfileErase, 1, {1}), kStatusRejected},
      {"name slot 0", Read(kCmdProfileName, 1, {0}), kStatusRejected},
      {"empty name for the active profile", Write(kCmdProfileName, 41, {1, 0xFF}), kStatusRejected},
      {"name write length", Write(kCmdProfileName, 40, {2}), kStatusRejected},
      {"download-mode argument", Write(kCmdDownloadMode, 1, {3}), kStatusRejected},
      {"allocate macro 70", Write(kCmdMacroDirectory, 4, {70, 0, 40}), kStatusRejected},
      {"data of a free macro", Read(kCmdMacroData), kStatusRejected},
      {"name of a free macro", Read(kCmdMacroName), kStatusRejected},
  };
  const DeviceState before = model.State();
  const uint64_t version = model.StateVersion();
  for (const RejectCase& c : cases) {
    const FeatureReport reply = Do(c.request);
    EXPECT_EQ(reply[kStatus], c.status) << c.what;
    EXPECT_FALSE(note.empty()) << c.what;
    EXPECT_EQ(reply[kChecksum], ReportChecksum(reply)) << c.what;
  }
  EXPECT_EQ(model.State(), before);
  EXPECT_EQ(model.StateVersion(), version);
}

}  // namespace
}  // namespace quill::emu
