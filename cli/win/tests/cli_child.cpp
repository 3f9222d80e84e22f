#include "cli/win/tests/cli_child.h"

#include "middleware/objects/tests/win/test_support.h"

namespace quill::cli::test {

std::wstring ClientPath() { return quill::test::ExeDir() + L"\\QuillfernCli.exe"; }

namespace {
std::wstring CommandLine(const std::wstring& arguments) {
  return L"\"" + ClientPath() + L"\" " + arguments;
}
}  // namespace

ClientProcess::ClientProcess(const std::wstring& arguments) : child_(CommandLine(arguments)) {}

int RunClient(const std::wstring& arguments, const std::string& input, std::string& output,
              DWORD timeout_ms) {
  const quill::test::RunResult run = quill::test::RunToEnd(CommandLine(arguments), input, timeout_ms);
  output = quill::test::WithoutCarriageReturns(run.output);
  return run.exit_code;
}

}  // namespace quill::cli::test
