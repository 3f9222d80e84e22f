// The readable state file: round trips, hand edits, and clear errors for malformed files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "emulator/state_file.h"

namespace quill::emu {
namespace {

DeviceState BusyMouse() {
  DeviceState s = DeviceState::Factory();
  s.Slot(2).name = ProfileNameFromText(u"Sn\u00e4ll \"quote\" \\");
  s.Slot(2).block = DefaultProfileBlock(2);
  s.Slot(2).block[kBlockLed] = 3;
  s.Slot(2).block[25] = 0xEE;  // bytes the middleware only carries
  s.Slot(3).name = ProfileName{};  // created, empty name
  s.Slot(3).block = DefaultProfileBlock(3);
  s.Slot(4).name = EmptyProfileName();
  s.Slot(4).name[7] = 0x41;        // not text: kept as hex
  s.Slot(5).name = ProfileNameFromText(u"ABCDEFGHIJKLMNOPQRS");
  s.Slot(5).name[38] = 'T';         // 20 units, no terminator
  s.performance = PerformanceRecord{2, 8, 1, 28, 44};
  s.info.serial.fill(0xA5);
  s.info.firmware_major = 2;
  s.info.firmware_minor = 17;
  s.sensor_rom_status = 4;
  s.download_mode = true;
  s.total_space = 99;
  s.macros[0].data.assign(40, 0);
  s.macros[7].data.resize(1000);
  for (size_t i = 0; i < 1000; ++i) s.macros[7].data[i] = static_cast<uint8_t>(i * 13);
  s.macros[69].data = {1};
  return s;
}

TEST(StateFileTest, TextRoundTripKeepsEveryByte) {
  for (const DeviceState& state : {DeviceState::Factory(), BusyMouse()}) {
    const std::string text = FormatStateText(state);
    const StateParseResult parsed = ParseStateText(text);
    ASSERT_TRUE(parsed.ok) << parsed.error << "\n" << text;
    EXPECT_EQ(parsed.state, state);
    EXPECT_EQ(FormatStateText(parsed.state), text);
  }
  const std::string factory = FormatStateText(DeviceState::Factory());
  EXPECT_NE(factory.find("name = \"Profile 1\""), std::string::npos);
  EXPECT_NE(factory.find("serial = \"QF24EMU0001\""), std::string::npos);
  EXPECT_NE(factory.find("800 1200 1800 4000 5600 DPI"), std::string::npos);
}

TEST(StateFileTest, FileRoundTrip) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "quill_emu_state_test";
  std::filesystem::create_directories(dir);
  const std::filesystem::path file = dir / "mouse.state";
  std::string error;
  ASSERT_TRUE(SaveStateFile(file, BusyMouse(), &error)) << error;
  ASSERT_TRUE(SaveStateFile(file, BusyMouse(), &error)) << "replaces an existing file: " << error;
  const StateParseResult loaded = LoadStateFile(file);
  ASSERT_TRUE(loaded.ok) << loaded.error;
  EXPECT_EQ(loaded.state, BusyMouse());
  EXPECT_FALSE(std::filesystem::exists(dir / "mouse.state.tmp"));

  const StateParseResult missing = LoadStateFile(dir / "none.state");
  EXPECT_FALSE(missing.ok);
  EXPECT_NE(missing.error.find("cannot open"), std::string::npos);
  std::filesystem::remove_all(dir);
}

TEST(StateFileTest, HandEditedFileOverridesTheFactorySettings) {
  const StateParseResult r = ParseStateText(
      "format = 1\n"
      "[performance]\n"
      "polling-rate = 8   \r\n"
      "\n# a comment\n"
      "[profile 2]\n"
      "name = \"Zw\u00f6lf \xF0\x9F\x90\xAD\"\n"  // UTF-8, also beyond the basic plane
      "block = 02 07 03 05 1c 1c 2c 2c 44 44 9c 9c dc dc 00 00 00 00 00 00\n"
      "   01 01 00 00 02 02 00 00 03 03 00 00 04 04 00 00 05 05 00 00\n"
      "\t06 0b 00 00 07 0c 00 00 08 08 00 00 09 09 00 00\n"
      "[macro 3]\n"
      "data = 4a 00\n");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.state.performance.polling_rate_code, 8);
  EXPECT_EQ(r.state.performance.active_slot, 1);
  EXPECT_EQ(ProfileNameText(r.state.Slot(2).name), u"Zw\u00f6lf \U0001F42D");
  EXPECT_EQ(r.state.Slot(2).block, DefaultProfileBlock(2));
  EXPECT_EQ(r.state.macros[3].data, (std::vector<uint8_t>{0x4a, 0x00}));
  EXPECT_EQ(r.state.Slot(1), DeviceState::Factory().Slot(1));
}

struct BadFile {
  const char* text;
  const char* error;  // expected part of the message
};

TEST(StateFileTest, MalformedFilesGiveClearErrors) {
  const BadFile cases[] = {
      {"format = 2\n", "line 1: format 2 is not supported"},
      {"polling-rate = 8\n", "line 1: \"polling-rate\" outside a section"},
      {"[keyboard]\n", "line 1: unknown section [keyboard]"},
      {"[profile 6]\n", "line 1: [profile]: 6 is above 5"},
      {"[profile 0]\n", "slots are 1 to 5"},
      {"[macro 70]\n", "above 69"},
      {"[device]\ncolour = red\n", "line 2: unknown key \"colour\" in [device]"},
      {"[device]\n[device]\n", "line 2: section [device] appears twice"},
      {"[device\n", "section header without ]"},
      {"[device]\nfirmware 1.4\n", "line 2: expected key = value"},
      {"[device]\nfirmware = 14\n", "expected major.minor"},
      {"[device]\nsensor-rom = 256\n", "above 255"},
      {"[device]\nsensor-rom = -1\n", "not a decimal number"},
      {"[device]\nserial = \"abc\n", "expected a quoted string"},
      {"[device]\nserial = \"a\\x\"\n", "unknown escape"},
      {"[device]\nserial = \"\xC3\"\n", "invalid UTF-8"},
      {"[device]\nserial-hex = 00 01\n", "2 bytes, expected 32"},
      {"[profile 2]\nblock = 02 zz\n", "line 2: block: \"zz\" is not a hex byte"},
      {"[profile 2]\nblock = 03 07\n", "2 bytes, expected 56"},
      {"[profile 2]\nname = \"123456789012345678901\"\n", "longer than 20 characters"},
      {"  01 02\n", "line 1: indented line continues nothing"},
      {"[macro 1]\n[macro 2]\ndata = 00\n", "[macro 1] has no data"},
      {"[macro 1]\ndata =\n", "at least one byte"},
      {"[performance]\nactive-slot = 2\n", "active-slot names an empty profile slot"},
      {"[performance]\npolling-rate = 3\n", "polling-rate must be code 1, 2 or 8"},
      {"[performance]\ncurrent-stage = 0\n", "current-stage must be 1 to 5"},
      {"[performance]\ncurrent-dpi = 1\n", "expected two codes"},
      {"[device]\ntotal-space = 1\n[macro 0]\ndata = 00\n[macro 1]\ndata = 00\n", "macros take 2 space units"},
  };
  for (const BadFile& c : cases) {
    const StateParseResult r = ParseStateText(c.text);
    EXPECT_FALSE(r.ok) << c.text;
    EXPECT_NE(r.error.find(c.error), std::string::npos) << "file:\n" << c.text << "\nerror: " << r.error;
    EXPECT_EQ(r.state, DeviceState::Factory()) << "a failed load yields nothing half-read";
  }
  std::string with_nul = "[device]\nsensor-rom = 1\n";
  with_nul += '\0';
  const StateParseResult nul = ParseStateText(with_nul);
  EXPECT_FALSE(nul.ok);
  EXPECT_NE(nul.error.find("line 3: NUL byte"), std::string::npos) << nul.error;
}

}  // namespace
}  // namespace quill::emu
