// Texts of the middleware's store as the client reads and writes them: user-action codes and
// bytes, macro options and types, and the elements of an export file (what `store list
// profiles` and `store show profile` read back from a file the middleware exported).
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/button_text.h"

namespace quill::cli {

// A 32-bit code: decimal with an optional "-" (-2147483648 to 2147483647), or "0x" and 1 to 8
// hexadecimal digits (the bits as they stand, so 0xFFFFFFFF is -1).
std::optional<int32_t> ParseCode(std::string_view text);

// Bytes written as pairs of hexadecimal digits: "01 02 03", "010203", "01,02:03"; spaces, commas
// and colons separate pairs (not digits of one pair); "" is no bytes. At most `max_bytes`.
struct HexBytesResult {
  bool ok = false;
  std::vector<uint8_t> bytes;
  std::string error;
};
HexBytesResult ParseHexBytes(std::string_view text, size_t max_bytes);
// "01 02 03" (upper-case digits, one space between bytes).
std::string HexBytesText(const std::vector<uint8_t>& bytes);

// _TMacroOptions 0, 1, 2: "count", "until-same", "until-released"; other values "options N".
std::string MacroModeName(int32_t options);
std::optional<int32_t> MacroModeFromName(std::string_view name);
// _TMacroType 0, 1, 2: "action", "keystroke", "macro"; other values "type N".
std::string MacroTypeName(int32_t type);
std::optional<int32_t> MacroTypeFromName(std::string_view name);

// One element of an export file: its name and its Key children (value name, type word, data).
struct ExchangeKey {
  std::string value;
  std::string type;
  std::string data;
};
struct ExchangeElement {
  std::string name;
  std::vector<ExchangeKey> keys;
  std::vector<std::string> pointers;  // ptr of ProfilePtr / MacroPtr children
  const ExchangeKey* Key(std::string_view value) const;
};

// The elements of `kind` ("Profile", "Macro", ...) in UTF-8 export-file text, in file order.
// Text outside such elements is skipped; an element that is not closed is left out.
std::vector<ExchangeElement> ReadExchangeElements(std::string_view text, std::string_view kind);

// One button mapping of a stored profile, decoded from its BINARY data: the 24-byte record and,
// for macro (2) and user-action (3) mappings, the name behind it.
struct StoredMapping {
  ButtonMapping words;
  std::string name;
};
std::optional<StoredMapping> DecodeStoredMapping(std::string_view hex);
// "macro Greet", "user action Launch", or AssignmentText of the other mappings.
std::string StoredAssignmentText(const StoredMapping& mapping);

}  // namespace quill::cli
