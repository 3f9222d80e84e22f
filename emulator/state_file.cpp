#include "emulator/state_file.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <system_error>
#include <vector>

namespace quill::emu {
namespace {

constexpr int kFormatVersion = 1;
constexpr size_t kHexPerLine = 16;

// ---- writing ------------------------------------------------------------------------------

std::string HexBytes(const uint8_t* bytes, size_t count, const std::string& continuation) {
  std::string out;
  char buffer[4];
  for (size_t i = 0; i < count; ++i) {
    if (i && i % kHexPerLine == 0) out += "\n" + continuation;
    else if (i) out += ' ';
    std::snprintf(buffer, sizeof buffer, "%02x", bytes[i]);
    out += buffer;
  }
  return out;
}

// A quoted string of UTF-16 units: printable ASCII as is, everything else as \uXXXX.
std::string Quote(const std::u16string& text) {
  std::string out = "\"";
  for (char16_t unit : text) {
    if (unit == u'"' || unit == u'\\') {
      out += '\\';
      out += static_cast<char>(unit);
    } else if (unit >= 0x20 && unit < 0x7F) {
      out += static_cast<char>(unit);
    } else {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(unit));
      out += buffer;
    }
  }
  return out + "\"";
}

// The text of `units` when the bytes hold text followed only by zeros; nothing otherwise.
std::optional<std::u16string> ZeroPaddedText(const std::vector<char16_t>& units) {
  std::u16string text;
  size_t i = 0;
  for (; i < units.size() && units[i] != 0; ++i) {
    if (units[i] < 0x20 || (units[i] >= 0xD800 && units[i] < 0xE000)) return std::nullopt;
    text.push_back(units[i]);
  }
  for (; i < units.size(); ++i)
    if (units[i] != 0) return std::nullopt;
  return text;
}

std::optional<std::u16string> NameAsText(const ProfileName& name) {
  std::vector<char16_t> units;
  for (size_t i = 0; i + 1 < name.size(); i += 2) units.push_back(static_cast<char16_t>(name[i] | name[i + 1] << 8));
  return ZeroPaddedText(units);
}

std::optional<std::u16string> SerialAsText(const std::array<uint8_t, kSerialBytes>& serial) {
  std::vector<char16_t> units(serial.begin(), serial.end());
  for (char16_t u : units)
    if (u >= 0x7F) return std::nullopt;
  return ZeroPaddedText(units);
}

std::string DpiList(const ProfileBlock& block) {
  std::string out;
  const int count = std::min<int>(block[kBlockStageCount], kMaxDpiStages);
  for (int i = 0; i < count; ++i) {
    const unsigned x = DpiFromCode(block[kBlockStages + 2 * i]), y = DpiFromCode(block[kBlockStages + 2 * i + 1]);
    out += ' ';
    out += std::to_string(x);
    if (x != y) {
      out += 'x';
      out += std::to_string(y);
    }
  }
  return out;
}

// ---- reading ------------------------------------------------------------------------------

struct ParseError {
  std::string message;
};

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
  return std::string(s.substr(b, e - b));
}

unsigned ParseNumber(const std::string& value, unsigned max, const std::string& key) {
  if (value.empty() || value.size() > 9 || !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))
    throw ParseError{key + ": \"" + value + "\" is not a decimal number"};
  const unsigned long n = std::stoul(value);
  if (n > max) throw ParseError{key + ": " + value + " is above " + std::to_string(max)};
  return static_cast<unsigned>(n);
}

uint8_t ParseByte(const std::string& value, const std::string& key) {
  return static_cast<uint8_t>(ParseNumber(value, 255, key));
}

bool ParseFlag(const std::string& value, const std::string& key) { return ParseNumber(value, 1, key) == 1; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::vector<uint8_t> ParseHex(const std::string& value, const std::string& key, size_t max_bytes) {
  std::vector<uint8_t> bytes;
  std::istringstream in(value);
  std::string token;
  while (in >> token) {
    if (token.size() != 2 || HexDigit(token[0]) < 0 || HexDigit(token[1]) < 0)
      throw ParseError{key + ": \"" + token.substr(0, 16) + "\" is not a hex byte"};
    if (bytes.size() == max_bytes) throw ParseError{key + ": more than " + std::to_string(max_bytes) + " bytes"};
    bytes.push_back(static_cast<uint8_t>(HexDigit(token[0]) << 4 | HexDigit(token[1])));
  }
  return bytes;
}

template <size_t N>
std::array<uint8_t, N> ParseHexExact(const std::string& value, const std::string& key) {
  const std::vector<uint8_t> bytes = ParseHex(value, key, N);
  if (bytes.size() != N)
    throw ParseError{key + ": " + std::to_string(bytes.size()) + " bytes, expected " + std::to_string(N)};
  std::array<uint8_t, N> out{};
  std::copy(bytes.begin(), bytes.end(), out.begin());
  return out;
}

// A quoted string: UTF-8 text with the escapes \" \\ \uXXXX.
std::u16string ParseQuoted(const std::string& value, const std::string& key) {
  if (value.size() < 2 || value.front() != '"' || value.back() != '"')
    throw ParseError{key + ": expected a quoted string"};
  std::u16string out;
  const std::string body = value.substr(1, value.size() - 2);
  for (size_t i = 0; i < body.size();) {
    const unsigned char c = static_cast<unsigned char>(body[i]);
    if (c == '\\') {
      if (i + 1 >= body.size()) throw ParseError{key + ": string ends with a backslash"};
      const char e = body[i + 1];
      if (e == '"' || e == '\\') {
        out.push_back(static_cast<char16_t>(e));
        i += 2;
      } else if (e == 'u' && i + 6 <= body.size()) {
        unsigned unit = 0;
        for (size_t k = i + 2; k < i + 6; ++k) {
          const int d = HexDigit(body[k]);
          if (d < 0) throw ParseError{key + ": bad \\u escape"};
          unit = unit << 4 | static_cast<unsigned>(d);
        }
        out.push_back(static_cast<char16_t>(unit));
        i += 6;
      } else {
        throw ParseError{key + ": unknown escape \\" + std::string(1, e)};
      }
    } else if (c == '"') {
      throw ParseError{key + ": unescaped quote inside the string"};
    } else if (c < 0x80) {
      out.push_back(c);
      ++i;
    } else {
      // UTF-8 sequence of 2 to 4 bytes.
      const size_t length = (c >= 0xF0 && c < 0xF5) ? 4 : (c >= 0xE0) && c < 0xF0 ? 3 : (c >= 0xC2 && c < 0xE0) ? 2 : 0;
      if (!length || i + length > body.size()) throw ParseError{key + ": invalid UTF-8"};
      uint32_t code = c & (0x7F >> length);
      for (size_t k = 1; k < length; ++k) {
        const unsigned char t = static_cast<unsigned char>(body[i + k]);
        if ((t & 0xC0) != 0x80) throw ParseError{key + ": invalid UTF-8"};
        code = code << 6 | (t & 0x3F);
      }
      if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
          (code >= 0xD800 && code < 0xE000))
        throw ParseError{key + ": invalid UTF-8"};
      if (code >= 0x10000) {
        code -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
      } else {
        out.push_back(static_cast<char16_t>(code));
      }
      i += length;
    }
  }
  return out;
}

ProfileName ParseName(const std::string& value, const std::string& key) {
  if (value == "empty") return EmptyProfileName();
  const std::u16string text = ParseQuoted(value, key);
  if (text.size() > kProfileNameBytes / 2)
    throw ParseError{key + ": longer than " + std::to_string(kProfileNameBytes / 2) + " characters"};
  ProfileName name{};
  for (size_t i = 0; i < text.size(); ++i) {
    name[2 * i] = static_cast<uint8_t>(text[i] & 0xFF);
    name[2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
  }
  return name;
}

struct Line {
  int number;
  std::string text;  // trimmed, continuations joined
  bool continuation_start = false;
};

class Parser {
 public:
  explicit Parser(DeviceState& state) : s_(state) {}

  void Section(const std::string& header) {
    const std::string name = Trim(header);
    if (!seen_.insert(name).second) throw ParseError{"section [" + name + "] appears twice"};
    if (name == "device" || name == "performance") {
      section_ = name;
      index_ = 0;
      return;
    }
    const size_t space = name.find(' ');
    const std::string kind = name.substr(0, space);
    const std::string arg = space == std::string::npos ? "" : Trim(name.substr(space + 1));
    if (kind == "profile") {
      index_ = static_cast<int>(ParseNumber(arg, kProfileSlots, "[profile]"));
      if (index_ < 1) throw ParseError{"[profile]: slots are 1 to 5"};
      s_.Slot(index_).name = EmptyProfileName();  // a listed slot is described by the file alone
      s_.Slot(index_).block = ProfileBlock{};
      s_.Slot(index_).block[kBlockSlot] = static_cast<uint8_t>(index_);
    } else if (kind == "macro") {
      index_ = static_cast<int>(ParseNumber(arg, kMaxMacros - 1, "[macro]"));
      macro_has_data_ = false;
    } else {
      throw ParseError{"unknown section [" + name + "]"};
    }
    section_ = kind;
  }

  void EndSection() {
    if (section_ == "macro" && !macro_has_data_) throw ParseError{"[macro " + std::to_string(index_) + "] has no data"};
  }

  void Key(const std::string& key, const std::string& value) {
    if (section_.empty()) {
      if (key != "format") throw ParseError{"\"" + key + "\" outside a section"};
      if (ParseNumber(value, 1000, key) != kFormatVersion) throw ParseError{"format " + value + " is not supported"};
      return;
    }
    if (section_ == "device") Device(key, value);
    else if (section_ == "performance") Performance(key, value);
    else if (section_ == "profile") Profile(key, value);
    else Macro(key, value);
  }

 private:
  [[noreturn]] void Unknown(const std::string& key) {
    throw ParseError{"unknown key \"" + key + "\" in [" + section_ + "]"};
  }

  void Device(const std::string& key, const std::string& value) {
    if (key == "serial") {
      const std::u16string text = ParseQuoted(value, key);
      if (text.size() > kSerialBytes) throw ParseError{"serial: longer than 32 characters"};
      s_.info.serial.fill(0);
      for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= 0x80) throw ParseError{"serial: only ASCII characters (use serial-hex)"};
        s_.info.serial[i] = static_cast<uint8_t>(text[i]);
      }
    } else if (key == "serial-hex") {
      s_.info.serial = ParseHexExact<kSerialBytes>(value, key);
    } else if (key == "firmware") {
      const size_t dot = value.find('.');
      if (dot == std::string::npos) throw ParseError{"firmware: expected major.minor"};
      s_.info.firmware_major = ParseByte(value.substr(0, dot), key);
      s_.info.firmware_minor = ParseByte(value.substr(dot + 1), key);
    } else if (key == "sensor-rom") {
      s_.sensor_rom_status = ParseByte(value, key);
    } else if (key == "download-mode") {
      s_.download_mode = ParseFlag(value, key);
    } else if (key == "total-space") {
      s_.total_space = ParseByte(value, key);
    } else {
      Unknown(key);
    }
  }

  void Performance(const std::string& key, const std::string& value) {
    PerformanceRecord& p = s_.performance;
    if (key == "active-slot") p.active_slot = ParseByte(value, key);
    else if (key == "polling-rate") p.polling_rate_code = ParseByte(value, key);
    else if (key == "current-stage") p.current_stage = ParseByte(value, key);
    else if (key == "current-dpi") {
      std::istringstream in(value);
      std::string x, y, extra;
      in >> x >> y;
      if (y.empty() || (in >> extra)) throw ParseError{"current-dpi: expected two codes (X Y)"};
      p.dpi_x_code = ParseByte(x, key);
      p.dpi_y_code = ParseByte(y, key);
    } else {
      Unknown(key);
    }
  }

  void Profile(const std::string& key, const std::string& value) {
    ProfileSlot& slot = s_.Slot(index_);
    if (key == "name") {
      slot.name = ParseName(value, key);
    } else if (key == "name-hex") {
      slot.name = ParseHexExact<kProfileNameBytes>(value, key);
    } else if (key == "block") {
      slot.block = ParseHexExact<kProfileBlockSize>(value, key);
      if (slot.block[kBlockSlot] != index_)
        throw ParseError{"block: first byte " + std::to_string(slot.block[kBlockSlot]) + " is not the slot " + std::to_string(index_)};
      if (slot.block[kBlockStageCount] > kMaxDpiStages) throw ParseError{"block: more than 5 DPI stages"};
    } else {
      Unknown(key);
    }
  }

  void Macro(const std::string& key, const std::string& value) {
    if (key != "data") Unknown(key);
    std::vector<uint8_t> data = ParseHex(value, key, 0xFFFF);
    if (data.empty()) throw ParseError{"data: a macro needs at least one byte"};
    s_.macros[static_cast<size_t>(index_)].data = std::move(data);
    macro_has_data_ = true;
  }

  DeviceState& s_;
  std::string section_;
  int index_ = 0;
  bool macro_has_data_ = false;
  std::set<std::string> seen_;
};

void Validate(const DeviceState& s) {
  const PerformanceRecord& p = s.performance;
  if (p.active_slot < 1 || p.active_slot > kProfileSlots) throw ParseError{"active-slot must be 1 to 5"};
  if (!s.Slot(p.active_slot).Occupied()) throw ParseError{"active-slot names an empty profile slot"};
  if (p.polling_rate_code != 1 && p.polling_rate_code != 2 && p.polling_rate_code != 8)
    throw ParseError{"polling-rate must be code 1, 2 or 8"};
  if (p.current_stage < 1 || p.current_stage > kMaxDpiStages) throw ParseError{"current-stage must be 1 to 5"};
  if (s.UsedSpace() > s.total_space)
    throw ParseError{"macros take " + std::to_string(s.UsedSpace()) + " space units, total-space is " +
                     std::to_string(s.total_space)};
}

}  // namespace

std::string FormatStateText(const DeviceState& s) {
  std::string out;
  out += "# Quillfern emulator state. Numbers are decimal, byte lists hexadecimal;\n";
  out += "# a line starting with white space continues the line before.\n";
  out += "format = 1\n\n[device]\n";
  if (auto serial = SerialAsText(s.info.serial)) out += "serial = " + Quote(*serial) + "\n";
  else out += "serial-hex = " + HexBytes(s.info.serial.data(), kSerialBytes, "  ") + "\n";
  out += "firmware = " + std::to_string(s.info.firmware_major) + "." + std::to_string(s.info.firmware_minor) + "\n";
  out += "sensor-rom = " + std::to_string(s.sensor_rom_status) + "\n";
  out += "download-mode = " + std::to_string(s.download_mode ? 1 : 0) + "\n";
  out += "# space units of 480 bytes; macros use " + std::to_string(s.UsedSpace()) + "\n";
  out += "total-space = " + std::to_string(s.total_space) + "\n\n";

  const PerformanceRecord& p = s.performance;
  const char* rate = p.polling_rate_code == 1 ? "1000 Hz" : p.polling_rate_code == 2 ? "500 Hz"
                     : p.polling_rate_code == 8 ? "125 Hz" : "unknown";
  out += "[performance]\n";
  out += "active-slot = " + std::to_string(p.active_slot) + "\n";
  out += "# codes 1 = 1000 Hz, 2 = 500 Hz, 8 = 125 Hz (now " + std::string(rate) + ")\n";
  out += "polling-rate = " + std::to_string(p.polling_rate_code) + "\n";
  out += "current-stage = " + std::to_string(p.current_stage) + "\n";
  out += "# DPI codes X Y (DPI = code * 25 + 100: " + std::to_string(DpiFromCode(p.dpi_x_code)) + " x " +
         std::to_string(DpiFromCode(p.dpi_y_code)) + ")\n";
  out += "current-dpi = " + std::to_string(p.dpi_x_code) + " " + std::to_string(p.dpi_y_code) + "\n";

  for (int slot = 1; slot <= kProfileSlots; ++slot) {
    const ProfileSlot& profile = s.Slot(slot);
    out += "\n[profile " + std::to_string(slot) + "]\n";
    const bool all_ff = std::all_of(profile.name.begin(), profile.name.end(), [](uint8_t b) { return b == 0xFF; });
    if (all_ff) out += "name = empty\n";
    else if (auto text = NameAsText(profile.name); text && profile.Occupied()) out += "name = " + Quote(*text) + "\n";
    else out += "name-hex = " + HexBytes(profile.name.data(), kProfileNameBytes, "  ") + "\n";
    const ProfileBlock& b = profile.block;
    out += "# slot, LED " + std::to_string(b[kBlockLed]) + ", default stage " + std::to_string(b[kBlockDefaultStage]) +
           ", " + std::to_string(b[kBlockStageCount]) + " stages" + (b[kBlockStageCount] ? ":" + DpiList(b) + " DPI" : "") +
           ";\n";
    out += "# 5 stage code pairs, 6 bytes kept, 9 buttons (button, function, p1, p2)\n";
    out += "block = " + HexBytes(b.data(), kProfileBlockSize, "  ") + "\n";
  }
  for (int n = 0; n < kMaxMacros; ++n) {
    const auto& macro = s.macros[static_cast<size_t>(n)];
    if (!macro.Used()) continue;
    out += "\n[macro " + std::to_string(n) + "]\n";
    out += "# " + std::to_string(macro.data.size()) + " bytes\n";
    out += "data = " + HexBytes(macro.data.data(), macro.data.size(), "  ") + "\n";
  }
  return out;
}

StateParseResult ParseStateText(std::string_view text) {
  StateParseResult result;
  result.state = DeviceState::Factory();
  Parser parser(result.state);
  int line_number = 0;
  int error_line = 0;  // the line an error is reported at
  int key_line = 0;    // the line of the key whose value is being gathered
  std::string key, value;
  bool have_key = false;
  auto flush = [&] {
    if (have_key) {
      error_line = key_line;
      parser.Key(key, Trim(value));
    }
    have_key = false;
  };
  try {
    size_t start = 0;
    while (start <= text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      const std::string_view raw = text.substr(start, end - start);
      start = end + 1;
      ++line_number;
      error_line = line_number;
      if (raw.find('\0') != std::string_view::npos) throw ParseError{"NUL byte in the file"};
      const std::string line = Trim(raw);
      if (line.empty() || line[0] == '#') {
        if (end == text.size()) break;
        continue;
      }
      if (raw[0] == ' ' || raw[0] == '\t') {  // continuation of the value before
        if (!have_key) throw ParseError{"indented line continues nothing"};
        value += " " + line;
      } else {
        flush();
        error_line = key_line = line_number;
        if (line[0] == '[') {
          if (line.back() != ']') throw ParseError{"section header without ]"};
          parser.EndSection();
          parser.Section(line.substr(1, line.size() - 2));
        } else {
          const size_t eq = line.find('=');
          if (eq == std::string::npos) throw ParseError{"expected key = value"};
          key = Trim(line.substr(0, eq));
          value = line.substr(eq + 1);
          have_key = true;
        }
      }
      if (end == text.size()) break;
    }
    flush();
    error_line = 0;
    parser.EndSection();
    Validate(result.state);
  } catch (const ParseError& e) {
    result.ok = false;
    result.error = (error_line ? "line " + std::to_string(error_line) + ": " : std::string()) + e.message;
    result.state = DeviceState::Factory();
    return result;
  }
  result.ok = true;
  return result;
}

bool SaveStateFile(const std::filesystem::path& path, const DeviceState& state, std::string* error) {
  const std::string text = FormatStateText(state);
  std::filesystem::path temp = path;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
      if (error) *error = "cannot write " + temp.string();
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {  // some platforms refuse to rename onto an existing file
    std::filesystem::remove(path, ec);
    std::filesystem::rename(temp, path, ec);
  }
  if (ec) {
    if (error) *error = "cannot replace " + path.string() + ": " + ec.message();
    return false;
  }
  return true;
}

StateParseResult LoadStateFile(const std::filesystem::path& path) {
  StateParseResult result;
  result.state = DeviceState::Factory();
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    result.error = "cannot open " + path.string();
    return result;
  }
  std::string text;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text.append(buffer, static_cast<size_t>(in.gcount()));
    if (text.size() > kMaxStateFileBytes) {
      result.error = path.string() + ": larger than " + std::to_string(kMaxStateFileBytes) + " bytes";
      return result;
    }
  }
  result = ParseStateText(text);
  if (!result.ok) result.error = path.string() + ": " + result.error;
  return result;
}

}  // namespace quill::emu
