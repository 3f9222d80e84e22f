// The fixture of the client's device tests: the middleware registered, an emulated mouse of the
// test's own, runs of the client checked for what they print, and temporary files.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cli/win/tests/cli_child.h"
#include "emulator/win/emulator_process.h"
#include "middleware/objects/tests/win/test_support.h"

namespace quill::cli::test {

using quill::test::Regsvr32;

// One run of the client and what it must print (and must not).
struct Step {
  std::wstring args;
  int exit_code;
  std::vector<std::string> shown;
  std::vector<std::string> absent = {};
  std::string input = {};  // standard input
};

class CliDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Regsvr32(false), 0); }
  void TearDown() override {
    emulator_.reset();
    Regsvr32(true);
    for (const std::wstring& path : files_) DeleteFileW(path.c_str());
  }

  void StartEmulator(const std::string& initial_state = {}) {
    emu::EmulatorOptions options;
    options.initial_state = initial_state;
    emulator_ = std::make_unique<emu::EmulatorProcess>(options);
    ASSERT_TRUE(emulator_->ok()) << emulator_->error();
    emulator_->SetEnvironment();
  }

  std::string Ctl(const std::string& command) {
    const emu::EmulatorProcess::CtlResult r = emulator_->Ctl(command);
    EXPECT_EQ(r.exit_code, 0) << command << ": " << r.output;
    return r.output;
  }

  // Runs the steps in order; a step's output is checked for every text it must (not) show.
  void Run(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
      const std::string what(step.args.begin(), step.args.end());
      std::string out;
      EXPECT_EQ(RunClient(step.args, step.input, out), step.exit_code) << what << "\n" << out;
      for (const std::string& text : step.shown)
        EXPECT_NE(out.find(text), std::string::npos) << what << " should show: " << text << "\n" << out;
      for (const std::string& text : step.absent)
        EXPECT_EQ(out.find(text), std::string::npos) << what << " should not show: " << text << "\n" << out;
    }
  }

  std::wstring TempFile(const std::string& text) {
    wchar_t folder[MAX_PATH], path[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"qcl", 0, path);
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    files_.push_back(path);
    return path;
  }

  std::unique_ptr<emu::EmulatorProcess> emulator_;
  std::vector<std::wstring> files_;
};

}  // namespace quill::cli::test
