// The client's commands. Each prints its records through the Output and returns the exit code.
#pragma once
#include <string>
#include <vector>

#include "cli/record_output.h"
#include "cli/win/device_session.h"

namespace quill::cli {

enum ExitCode { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

class Output {
 public:
  explicit Output(bool json) : json_(json) {}
  void Print(const Record& record);
  // A failure: to standard error as text, and as an {"error": ...} record in JSON mode.
  void Error(const std::string& message);

 private:
  bool json_;
};

struct Command {
  const char* name;
  const char* usage;
  const char* summary;
  int (*run)(DeviceSession& session, const std::vector<std::string>& args, Output& out);
};

const std::vector<Command>& AllCommands();

int RunInfo(DeviceSession& session, const std::vector<std::string>& args, Output& out);

}  // namespace quill::cli
