#include "emulator/control_commands.h"

#include <cstdio>

#include "emulator/state_file.h"

namespace quill::emu {
namespace {

ControlResult Ok(std::string output) { return ControlResult{true, std::move(output), false}; }
ControlResult Error(const std::string& message) { return ControlResult{false, "error: " + message + "\n", false}; }

bool ParseUnsigned(const std::string& text, unsigned max, unsigned& value, int base = 10) {
  if (text.empty() || text.size() > 8) return false;
  unsigned v = 0;
  for (char c : text) {
    int d = (c >= '0' && c <= '9') ? c - '0' : (base == 16 && c >= 'a' && c <= 'f') ? c - 'a' + 10
            : (base == 16 && c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
    if (d < 0) return false;
    v = v * static_cast<unsigned>(base) + static_cast<unsigned>(d);
  }
  if (v > max) return false;
  value = v;
  return true;
}

std::string PerformanceLine(const PerformanceRecord& p) {
  char line[128];
  std::snprintf(line, sizeof line, "active-slot=%u polling-rate=%u stage=%u dpi=%ux%u\n", p.active_slot,
                p.polling_rate_code, p.current_stage, DpiFromCode(p.dpi_x_code), DpiFromCode(p.dpi_y_code));
  return line;
}

ControlResult Press(QuillfernModel& model, const std::vector<std::string>& w) {
  if (w.size() != 2) return Error("usage: press dpi-up|dpi-down|profile");
  ButtonResult r;
  if (w[1] == "dpi-up") r = model.PressDpiUp();
  else if (w[1] == "dpi-down") r = model.PressDpiDown();
  else if (w[1] == "profile") r = model.PressProfileSwitch();
  else return Error("unknown button \"" + w[1] + "\" (dpi-up, dpi-down, profile)");
  return Ok(std::string("changed=") + (r.changed ? "1 " : "0 ") + PerformanceLine(r.performance));
}

ControlResult Fault(QuillfernModel& model, const std::vector<std::string>& w) {
  if (w.size() == 2 && w[1] == "clear") {
    model.ClearFaults();
    return Ok("faults cleared\n");
  }
  if (w.size() < 3 || w.size() > 4 || (w.size() == 4 && w[3] != "repeat"))
    return Error("usage: fault <command-hex> <status,status,...> [repeat] | fault clear");
  unsigned command = 0;
  if (!ParseUnsigned(w[1].rfind("0x", 0) == 0 ? w[1].substr(2) : w[1], 0xFF, command, 16))
    return Error("command \"" + w[1] + "\" is not a hex byte");
  StatusScript script;
  script.repeat = w.size() == 4;
  size_t start = 0;
  while (start <= w[2].size()) {
    size_t comma = w[2].find(',', start);
    if (comma == std::string::npos) comma = w[2].size();
    unsigned status = 0;
    if (!ParseUnsigned(w[2].substr(start, comma - start), 255, status))
      return Error("status list \"" + w[2] + "\" must be decimal bytes separated by commas");
    if (script.statuses.size() >= 1000) return Error("status list longer than 1000");
    script.statuses.push_back(static_cast<uint8_t>(status));
    start = comma + 1;
  }
  model.SetStatusScript(static_cast<uint8_t>(command), script);
  char line[64];
  std::snprintf(line, sizeof line, "fault cmd=%02x statuses=%zu repeat=%d\n", command, script.statuses.size(),
                script.repeat ? 1 : 0);
  return Ok(line);
}

ControlResult Fail(QuillfernModel& model, const std::vector<std::string>& w) {
  unsigned n = 0;
  if (w.size() != 3 || !ParseUnsigned(w[2], 1000000, n)) return Error("usage: fail set|get|reset|open <count>");
  if (w[1] == "set") model.FailNextSetFeatures(n);
  else if (w[1] == "get") model.FailNextGetFeatures(n);
  else if (w[1] == "reset") model.FailNextResets(n);
  else if (w[1] == "open") model.FailNextOpens(n);
  else return Error("unknown transfer \"" + w[1] + "\" (set, get, reset, open)");
  return Ok("fail " + w[1] + "=" + std::to_string(n) + "\n");
}

}  // namespace

std::string Utf8(const std::u16string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00u);
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | c >> 12);
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | c >> 18);
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string ControlHelp() {
  return "commands:\n"
         "  press dpi-up|dpi-down|profile   press a button on the mouse (sends F20)\n"
         "  unplug                          unplug the mouse\n"
         "  replug [new-path]               plug it in again (under a new device path)\n"
         "  path                            the current device path\n"
         "  fault <cmd-hex> <s,s,...> [repeat] | fault clear\n"
         "                                  scripted reply statuses for a command\n"
         "  fail set|get|reset|open <n>     the next n such transfers fail\n"
         "  busy <polls>                    busy answers before every reply\n"
         "  faults                          the active fault settings\n"
         "  state                           the device memory (state file format)\n"
         "  factory-reset                   the memory of a new mouse\n"
         "  log | log-check | log-clear     request log, interleave verdict, clear\n"
         "  quit                            save the state and stop the server\n";
}

std::vector<std::string> SplitControlLine(std::string_view line) {
  std::vector<std::string> words;
  std::string word;
  bool quoted = false, in_word = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      in_word = true;
    } else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
      if (in_word) words.push_back(word);
      word.clear();
      in_word = false;
    } else {
      word += c;
      in_word = true;
    }
  }
  if (in_word) words.push_back(word);
  return words;
}

ControlResult RunControlCommand(QuillfernModel& model, const std::vector<std::string>& w) {
  if (w.empty()) return Error("no command; try \"help\"");
  const std::string& c = w[0];
  auto no_args = [&] { return w.size() == 1; };
  if (c == "help" && no_args()) return Ok(ControlHelp());
  if (c == "press") return Press(model, w);
  if (c == "unplug" && no_args()) {
    model.Unplug();
    return Ok("unplugged\n");
  }
  if (c == "replug" && (no_args() || (w.size() == 2 && w[1] == "new-path"))) {
    model.Replug(w.size() == 2);
    return Ok("plugged path=" + Utf8(model.DevicePath()) + "\n");
  }
  if (c == "path" && no_args())
    return Ok(std::string(model.Plugged() ? "plugged" : "unplugged") + " path=" + Utf8(model.DevicePath()) + "\n");
  if (c == "fault") return Fault(model, w);
  if (c == "fail") return Fail(model, w);
  if (c == "busy") {
    unsigned n = 0;
    if (w.size() != 2 || !ParseUnsigned(w[1], 100000, n)) return Error("usage: busy <polls>");
    model.SetBusyPolls(n);
    return Ok("busy-polls=" + std::to_string(n) + "\n");
  }
  if (c == "faults" && no_args()) return Ok(model.DescribeFaults());
  if (c == "state" && no_args()) return Ok(FormatStateText(model.State()));
  if (c == "factory-reset" && no_args()) {
    model.SetState(DeviceState::Factory());
    return Ok("state reset\n");
  }
  if (c == "log" && no_args()) return Ok(model.FormatLog());
  if (c == "log-check" && no_args()) return Ok(model.InterleaveVerdict());
  if (c == "log-clear" && no_args()) {
    model.ClearLog();
    return Ok("log cleared\n");
  }
  if (c == "quit" && no_args()) return ControlResult{true, "quitting\n", true};
  return Error("unknown command or wrong arguments: \"" + c + "\"; try \"help\"");
}

}  // namespace quill::emu
