// The client's commands. Each prints its records through the Output and returns the exit code.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "cli/record_output.h"
#include "cli/win/device_session.h"

namespace quill::cli {

enum ExitCode { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

class Output {
 public:
  explicit Output(bool json) : json_(json) {}
  bool json() const { return json_; }
  void Print(const Record& record);
  // Rows of one kind: an aligned table with a header line as text, one object per row in JSON.
  void PrintTable(const std::vector<Record>& rows);
  // A blank line between the parts of a text listing (nothing in JSON mode).
  void Gap();
  // One object with its parts: in JSON the head with the parts as the nested records `field`;
  // as text the head's lines, then a blank line and `table` (nothing more when it is empty).
  void PrintWithParts(Record head, const std::string& field, const std::vector<Record>& parts,
                      const std::vector<Record>& table);
  // A failure: to standard error as text, and as an {"error": ...} record in JSON mode.
  void Error(const std::string& message);

 private:
  void Write(const std::string& text);
  bool json_;
};

struct Command {
  const char* name;
  const char* usage;
  const char* summary;
  int (*run)(DeviceSession& session, const std::vector<std::string>& args, Output& out);
  const char* details = nullptr;  // more for "QuillfernCli help <command>"
};

const std::vector<Command>& AllCommands();
const Command* FindCommand(const std::string& name);

// "<message>; usage: QuillfernCli <usage>", exit code 2.
int UsageError(Output& out, const char* command, const std::string& message);
// "<what> (<DescribeResult>)", exit code 1.
int Failure(Output& out, const std::string& what, HRESULT hr);

// UTF-16 of UTF-8 text (the arguments arrive as UTF-8).
std::wstring WideFromUtf8(const std::string& text);
// A profile or macro name for the mouse: at most 19 characters (40 bytes with the terminator),
// not empty. "" when it fits, else the usage error.
std::string CheckDeviceName(const std::string& name, std::wstring& wide);

// Reads the whole of a file, or of standard input for "-", refusing more than `limit` bytes;
// `error` says why it failed.
bool ReadInput(const std::string& path, size_t limit, std::string& text, std::string& error);

int RunInfo(DeviceSession& session, const std::vector<std::string>& args, Output& out);
int RunProfiles(DeviceSession& session, const std::vector<std::string>& args, Output& out);
int RunActivate(DeviceSession& session, const std::vector<std::string>& args, Output& out);
int RunCreate(DeviceSession& session, const std::vector<std::string>& args, Output& out);
int RunDelete(DeviceSession& session, const std::vector<std::string>& args, Output& out);
int RunRename(DeviceSession& session, const std::vector<std::string>& args, Output& out);
int RunStages(DeviceSession& session, const std::vector<std::string>& args, Output& out);
int RunDpi(DeviceSession& session, const std::vector<std::string>& args, Output& out);
int RunRate(DeviceSession& session, const std::vector<std::string>& args, Output& out);
int RunLeds(DeviceSession& session, const std::vector<std::string>& args, Output& out);
int RunMacros(DeviceSession& session, const std::vector<std::string>& args, Output& out);
int RunMacro(DeviceSession& session, const std::vector<std::string>& args, Output& out);
int RunUpload(DeviceSession& session, const std::vector<std::string>& args, Output& out);
int RunWatch(DeviceSession& session, const std::vector<std::string>& args, Output& out);
int RunButtons(DeviceSession& session, const std::vector<std::string>& args, Output& out);
int RunPointer(DeviceSession& session, const std::vector<std::string>& args, Output& out);
int RunBackup(DeviceSession& session, const std::vector<std::string>& args, Output& out);
int RunRestore(DeviceSession& session, const std::vector<std::string>& args, Output& out);
int RunStore(DeviceSession& session, const std::vector<std::string>& args, Output& out);

}  // namespace quill::cli
