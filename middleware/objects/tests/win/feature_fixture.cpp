#include "middleware/objects/tests/win/feature_fixture.h"

#include <cstdio>
#include <memory>
#include <sstream>

#include "middleware/objects/win/feature_slots.h"
#include "middleware/objects/win/system_driver_handler.h"
#include "middleware/transport/device_ids.h"

namespace quill::test {

emu::EmulatorOptions FeatureTest::MouseOptions() const {
  emu::EmulatorOptions options;
  options.keystrokes = false;
  return options;
}

void FeatureTest::SetUp() {
  ComTest::SetUp();
  emulator_ = std::make_unique<emu::EmulatorProcess>(MouseOptions());
  ASSERT_TRUE(emulator_->ok()) << emulator_->error();
  emulator_->SetEnvironment();
  const auto& makers = server::ProductFeatureMakers();
  open_ = com::MakeComObject<server::CDeviceType>(&server::MakeSystemDriverHandler, makers);
  closed_ = com::MakeComObject<server::CDeviceType>(&server::MakeSystemDriverHandler, makers);
  ASSERT_TRUE(open_ && closed_);
  ASSERT_EQ(open_->OpenDeviceInterface(QUILLFERN_PID), S_OK);
  ClearLog();
}

void FeatureTest::TearDown() {
  open_.Reset();
  closed_.Reset();
  emulator_.reset();
  ComTest::TearDown();
}

void FeatureTest::ClearLog() { ASSERT_EQ(Ctl("log-clear").exit_code, 0); }

int FeatureTest::Requests(int cmd) {
  char needle[32];
  std::snprintf(needle, sizeof needle, " request cmd=%02x ", cmd);
  std::istringstream lines(Ctl("log").output);
  int count = 0;
  for (std::string line; std::getline(lines, line);) count += line.find(needle) != std::string::npos;
  return count;
}

int FeatureTest::AllRequests() {
  std::istringstream lines(Ctl("log").output);
  int count = 0;
  for (std::string line; std::getline(lines, line);) count += line.find(" request ") != std::string::npos;
  return count;
}

}  // namespace quill::test
