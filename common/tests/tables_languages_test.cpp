// The German and French translation files against the English source list: every text is
// translated, nothing else is in the files, the format and its stand-in characters hold, and the
// placeholders of each text survive the translation.
#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "common/macro_events.h"
#include "common/memory_file_system.h"
#include "common/tables_language_files.h"
#include "common/translation.h"
#include "common/translation_file.h"

namespace quill {
namespace {

// UTF-8 of the source list to UTF-16 (the list holds only characters of the basic plane).
std::u16string FromUtf8(std::string_view text) {
  std::u16string out;
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const size_t extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : 2;
    uint32_t unit = extra == 0 ? c : extra == 1 ? (c & 0x1F) : (c & 0x0F);
    for (size_t k = 1; k <= extra && i + k < text.size(); ++k) unit = (unit << 6) | (text[i + k] & 0x3F);
    out.push_back(static_cast<char16_t>(unit));
    i += extra + 1;
  }
  return out;
}

// The texts of the source list, stand-in characters replaced.
std::vector<std::u16string> EnglishTexts() {
  std::vector<std::u16string> texts;
  std::string_view rest = k_english_txt;
  while (!rest.empty()) {
    const size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (line.empty() || line.starts_with("# ")) continue;
    texts.push_back(UnescapeTranslationLine(FromUtf8(line)));
  }
  return texts;
}

std::string Narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

// What a text must keep in every language: its printf fields in order, its line feeds and its
// menu accelerator marks.
struct Shape {
  std::vector<std::u16string> fields;
  size_t lineFeeds = 0;
  size_t accelerators = 0;
  bool operator==(const Shape&) const = default;
};

void PrintTo(const Shape& shape, std::ostream* os) {
  *os << "fields {";
  for (const std::u16string& field : shape.fields) *os << ' ' << Narrow(field);
  *os << " }, " << shape.lineFeeds << " line feeds, " << shape.accelerators << " accelerators";
}

Shape ShapeOf(std::u16string_view text) {
  Shape shape;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n') ++shape.lineFeeds;
    if (text[i] == u'&') ++shape.accelerators;
    if (text[i] != u'%' || i + 1 >= text.size()) continue;
    size_t end = i + 1;
    while (end < text.size() && (text[end] == u'.' || (text[end] >= u'0' && text[end] <= u'9'))) ++end;
    if (end < text.size()) shape.fields.emplace_back(text.substr(i, end - i + 1));
    i = end;
  }
  return shape;
}

struct Language {
  const char* name;
  std::string_view bytes;
};

const Language kLanguages[] = {{"German", k_German_txt}, {"French", k_French_txt}};

TEST(Languages, SourceListHoldsEachTextOnce) {
  const std::vector<std::u16string> texts = EnglishTexts();
  EXPECT_GT(texts.size(), 150u);
  std::set<std::u16string> seen;
  for (const std::u16string& text : texts) {
    EXPECT_TRUE(seen.insert(text).second) << Narrow(text);
    EXPECT_GE(text.size(), 2u) << "a text of one character is never looked up";
  }
  // Texts with line feeds and asterisks come through the stand-ins.
  EXPECT_TRUE(seen.count(u"assiGn\nbuttons"));
  EXPECT_TRUE(seen.count(u"Executables (*.exe)"));
  EXPECT_TRUE(seen.count(u"Reading configuration from Meridex\u2122. Mouse cursor may become non-responsive for a few seconds."));
}

TEST(Languages, EveryTextIsTranslatedAndNothingElseIsInTheFiles) {
  const std::vector<std::u16string> texts = EnglishTexts();
  for (const Language& language : kLanguages) {
    SCOPED_TRACE(language.name);
    const std::vector<TranslationPair> pairs = ParseTranslationFile(language.bytes);
    std::map<std::u16string, std::u16string> table;
    for (const TranslationPair& pair : pairs) {
      EXPECT_TRUE(table.emplace(pair.source, pair.translation).second) << "twice: " << Narrow(pair.source);
    }
    EXPECT_EQ(pairs.size(), texts.size());
    for (const std::u16string& text : texts) {
      SCOPED_TRACE(Narrow(text));
      const auto it = table.find(text);
      ASSERT_NE(it, table.end()) << "no translation";
      EXPECT_FALSE(it->second.empty());
      EXPECT_EQ(it->second.find(kNotTranslatedMark), std::u16string::npos);
      EXPECT_EQ(ShapeOf(it->second), ShapeOf(text));
      table.erase(it);
    }
    for (const auto& [source, translation] : table) ADD_FAILURE() << "not in the source list: " << Narrow(source);
  }
}

TEST(Languages, FilesKeepTheFormatAndTheStandInsRoundTrip) {
  for (const Language& language : kLanguages) {
    SCOPED_TRACE(language.name);
    const std::string_view bytes = language.bytes;
    ASSERT_EQ(bytes.size() % 2, 0u);
    const std::u16string units = [&] {
      std::u16string u;
      for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        u.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          (static_cast<unsigned char>(bytes[i + 1]) << 8)));
      }
      return u;
    }();
    ASSERT_FALSE(units.empty());
    EXPECT_NE(units.front(), 0xFEFF) << "no byte-order mark";
    // Lines end with CR LF; no other CR or LF; no line longer than the reader's 2043 characters.
    std::vector<std::u16string> lines;
    size_t start = 0;
    for (size_t i = 0; i < units.size(); ++i) {
      if (units[i] == u'\r') {
        ASSERT_TRUE(i + 1 < units.size() && units[i + 1] == u'\n') << "CR without LF at unit " << i;
        lines.push_back(units.substr(start, i - start));
        start = i + 2;
        ++i;
      } else {
        ASSERT_NE(units[i], u'\n') << "bare LF at unit " << i;
      }
    }
    EXPECT_EQ(start, units.size()) << "the last line ends with CR LF";
    EXPECT_EQ(lines.size() % 2, 0u);
    // Each line is the stand-in form of its text, and writing the texts again gives the file.
    std::u16string rewritten;
    for (const std::u16string& line : lines) {
      EXPECT_LE(line.size(), 2043u);
      EXPECT_EQ(EscapeTranslationLine(UnescapeTranslationLine(line)), line) << Narrow(line);
    }
    for (const TranslationPair& pair : ParseTranslationFile(bytes)) {
      rewritten += EscapeTranslationLine(pair.source) + u"\r\n" + EscapeTranslationLine(pair.translation) + u"\r\n";
    }
    EXPECT_EQ(rewritten, units);
  }
}

TEST(Languages, TranslatorShowsTheFiles) {
  MemoryFileSystem fs;
  Translator translator(fs);
  fs.files[u"C:\\Torvo\\German.txt"] = std::string(k_German_txt);
  fs.files[u"C:\\Torvo\\French.txt"] = std::string(k_French_txt);
  translator.SetSource({u"C:\\Torvo\\", u"German.txt", kTranslationNormal});
  EXPECT_EQ(translator.Translate(u"CANCEL", true), u"ABBRECHEN");
  EXPECT_EQ(translator.Translate(u"assiGn\nbuttons"), u"tasten\nzuweisen");
  EXPECT_EQ(translator.Translate(u"Executables (*.exe)"), u"Programme (*.exe)");
  translator.SetSource({u"C:\\Torvo\\", u"French.txt", kTranslationNormal});
  EXPECT_EQ(translator.Translate(u"CANCEL", true), u"ANNULER");
  EXPECT_EQ(translator.Translate(u"<none>"), u"<aucune>");
}

TEST(Languages, DelayRowsOfEveryLanguageReadBack) {
  // The key list reads a delay row by the number at its start, in any language.
  for (const Language& language : kLanguages) {
    for (const TranslationPair& pair : ParseTranslationFile(language.bytes)) {
      if (pair.source != kDelayRowFormat) continue;
      EXPECT_TRUE(pair.translation.starts_with(u"%.03f")) << language.name;
      EXPECT_EQ(DelayMsFromRowText(DelayRowText(1234, pair.translation)), 1234) << language.name;
    }
  }
}

}  // namespace
}  // namespace quill
