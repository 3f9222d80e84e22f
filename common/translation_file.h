// The translation file of a language: UTF-16 little-endian without byte-order mark, CR LF line
// ends (a bare LF is dropped), lines in pairs: an English source text, then its translation.
// Inside a line three characters stand for others:
//   "|" a line feed, "*" a carriage return, "^" an asterisk.
// Texts have no length limit. A last line without CR LF still counts; an odd last line (a
// source without translation) is dropped.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace quill {

struct TranslationPair {
  std::u16string source;
  std::u16string translation;
};

// The pairs of a file's bytes, in file order, with the stand-in characters replaced.
std::vector<TranslationPair> ParseTranslationFile(std::string_view bytes);

// A text as a line of the file: line feed -> "|", "*" -> "^", carriage return -> "*".
std::u16string EscapeTranslationLine(std::u16string_view text);
// A line of the file as text: "|" -> line feed, "*" -> carriage return, "^" -> "*".
std::u16string UnescapeTranslationLine(std::u16string_view line);

}  // namespace quill
