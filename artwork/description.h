// Declarative descriptions of generated artwork: text files of sections and "key = value"
// lines, '#' starting a comment. Every key a generator reads is checked for its kind and range,
// and a key it does not read is an error, so a typing mistake fails the build with the file
// and line in the message.
//
//   [section]
//   key = value          # comment
#pragma once
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quill::art {

class DescriptionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Description {
 public:
  // `source` names the text in messages ("tray_artwork.txt").
  static Description Parse(std::string_view text, const std::string& source);

  bool Has(const std::string& section, const std::string& key) const;
  // The sections in name order.
  std::vector<std::string> Sections() const;
  std::string Text(const std::string& section, const std::string& key) const;
  int Integer(const std::string& section, const std::string& key, int low, int high) const;
  std::vector<int> Integers(const std::string& section, const std::string& key, int low, int high) const;
  // "#RRGGBB" (opaque) or "#AARRGGBB"; the result is 0xAARRGGBB.
  uint32_t Colour(const std::string& section, const std::string& key) const;
  // Fails naming the first key that nothing has read.
  void CheckAllRead() const;

 private:
  struct Entry {
    std::string value;
    int line = 0;
    mutable bool read = false;
  };
  const Entry& Find(const std::string& section, const std::string& key) const;
  std::string Where(const Entry& entry) const;

  std::string source_;
  std::map<std::string, std::map<std::string, Entry>> sections_;
};

}  // namespace quill::art
