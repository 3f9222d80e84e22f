#include "common/translation_file.h"

#include "common/text_lines.h"

namespace quill {

std::u16string EscapeTranslationLine(std::u16string_view text) {
  std::u16string line(text);
  for (char16_t& c : line) {
    if (c == u'\n')
      c = u'|';
    else if (c == u'*')
      c = u'^';
    else if (c == u'\r')
      c = u'*';
  }
  return line;
}

std::u16string UnescapeTranslationLine(std::u16string_view line) {
  std::u16string text(line);
  for (char16_t& c : text) {
    if (c == u'|')
      c = u'\n';
    else if (c == u'*')
      c = u'\r';
    else if (c == u'^')
      c = u'*';
  }
  return text;
}

std::vector<TranslationPair> ParseTranslationFile(std::string_view bytes) {
  std::vector<TranslationPair> pairs;
  TextReader reader = TextReader::FromBytes(bytes);
  std::u16string source;
  std::u16string translation;
  while (reader.ReadLine(source, kUnlimitedLine, true) == LineStatus::Line &&
         reader.ReadLine(translation, kUnlimitedLine, true) == LineStatus::Line) {
    pairs.push_back({UnescapeTranslationLine(source), UnescapeTranslationLine(translation)});
  }
  return pairs;
}

}  // namespace quill
