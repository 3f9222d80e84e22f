// The two exports of OSD.dll.
#include <windows.h>

#include "osd/call_log.h"
#include "osd/osd_api.h"
#include "osd/win/ansi_text.h"
#include "osd/win/call_log_file.h"
#include "osd/win/osd_display.h"

using quill::osd::LogLine;

extern "C" long OsdInitialize(int reserved) {
  quill::osd::WriteLogLine(LogLine("osd", "OsdInitialize").Number(reserved));
  return 0;
}

extern "C" quill::osd::IOsdDisplay* OsdCreate(HINSTANCE, const char* name) {
  quill::osd::OsdDisplay* display = nullptr;
  try {
    display = quill::osd::OsdDisplay::Create(name);
  } catch (...) {
    display = nullptr;
  }
  LogLine line(display ? quill::osd::DisplaySubject(display->number()) : std::string("osd"), "OsdCreate");
  if (name) {
    line.Text(quill::osd::WideToUtf8(quill::osd::AnsiToWide(name)));
  } else {
    line.Word("null");
  }
  if (!display) line.Word("failed");
  quill::osd::WriteLogLine(line);
  return display;
}
