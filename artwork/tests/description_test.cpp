#include "artwork/description.h"

#include <gtest/gtest.h>

namespace quill::art {
namespace {

TEST(Description, ReadsSectionsNumbersListsAndColoursWithComments) {
  const auto d = Description::Parse(
      "# artwork\n"
      "[palette]\n"
      "panel = #15181D   # behind the figures\n"
      "rim=#50FFFFFF\n"
      "\n"
      "[icon]\n"
      "  sizes = 16 20\t24 \n"
      "font = DejaVu Sans:bold\n",
      "t.txt");
  EXPECT_EQ(d.Colour("palette", "panel"), 0xFF15181Du);
  EXPECT_EQ(d.Colour("palette", "rim"), 0x50FFFFFFu);
  EXPECT_EQ(d.Integers("icon", "sizes", 16, 256), (std::vector<int>{16, 20, 24}));
  EXPECT_EQ(d.Text("icon", "font"), "DejaVu Sans:bold");
  EXPECT_NO_THROW(d.CheckAllRead());
}

std::string ErrorOf(const std::string& text, void (*use)(const Description&)) {
  try {
    use(Description::Parse(text, "t.txt"));
  } catch (const DescriptionError& error) {
    return error.what();
  }
  return "no error";
}

TEST(Description, MistakesFailWithTheFileLineAndKey) {
  auto width = [](const Description& d) { d.Integer("s", "width", 1, 100); };
  auto colour = [](const Description& d) { d.Colour("s", "panel"); };
  auto sizes = [](const Description& d) { d.Integers("s", "sizes", 16, 256); };
  auto all = [](const Description& d) {
    d.Integer("s", "width", 1, 100);
    d.CheckAllRead();
  };
  const struct {
    std::string text;
    void (*use)(const Description&);
    std::string message;
  } cases[] = {
      {"[s]\nwidth = 12x\n", width, "t.txt:2: 'width' is 12x, expected a whole number from 1 to 100"},
      {"[s]\nwidth = 101\n", width, "t.txt:2: 'width' is 101, expected a whole number from 1 to 100"},
      {"[s]\nheight = 4\n", width, "t.txt: [s] lacks 'width'"},
      {"[t]\nwidth = 4\n", width, "t.txt: section [s] is missing"},
      {"[s]\nwidth = 4\nwidht = 5\n", all, "t.txt:3: unknown key 'widht' in [s]"},
      {"width = 4\n", width, "t.txt:1: 'width' comes before any [section]"},
      {"[s]\nwidth 4\n", width, "t.txt:2: expected 'key = value'"},
      {"[s]\nwidth = 4\nwidth = 5\n", width, "t.txt:3: 'width' again in [s]"},
      {"[s]\nwidth =\n", width, "t.txt:2: 'width' has no value"},
      {"[s\n", width, "t.txt:1: a section is written [name]"},
      {"[s]\n[s]\n", width, "t.txt:2: section [s] again"},
      {"[s]\npanel = #12345G\n", colour, "t.txt:2: 'panel' is #12345G, expected a colour #RRGGBB or #AARRGGBB"},
      {"[s]\npanel = #1234\n", colour, "t.txt:2: 'panel' is #1234, expected a colour #RRGGBB or #AARRGGBB"},
      {"[s]\npanel = 15181D\n", colour, "t.txt:2: 'panel' is 15181D, expected a colour #RRGGBB or #AARRGGBB"},
      {"[s]\nsizes = 16 8\n", sizes, "t.txt:2: 'sizes' holds 8, expected whole numbers from 16 to 256"},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorOf(c.text, c.use), c.message) << c.text;
}

}  // namespace
}  // namespace quill::art
