// Appends call log lines to the file named by the environment variable QUILLFERN_OSD_LOG
// (nothing when it is unset or empty). Each line is written and the file closed at once, so
// a reader sees every call as soon as it returns, also when the process is ended.
#pragma once
#include "osd/call_log.h"

namespace quill::osd {

void WriteLogLine(const LogLine& line);

}  // namespace quill::osd
