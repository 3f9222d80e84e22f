// One export/import file as the engine sees it: the text before the device's section (head),
// the section's elements by kind, and the text after it (tail).
//
// A file holds a section per device type, "<device key name>" … "</device key name>"; the
// elements in it are "ProfileGroup", "Profile", "SpellBook", "Macro" and "UserAction". Opening
// reads the whole file; a commit writes head, section and tail to a new file and puts it in
// place of the target in one step, so a failed commit leaves the target as it was. Text outside
// the section is kept byte for byte, and the file keeps the encoding it was found in.
#pragma once
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "middleware/storage/element_text.h"
#include "middleware/storage/file_system.h"

namespace quill::storage {

enum class FileEncoding { kUtf8, kUtf16Le };

class ExchangeFile {
 public:
  // Largest file the engine reads.
  static constexpr size_t kMaxFileSize = size_t{256} << 20;

  // Reads and scans the file. A missing or empty file is new: UTF-8 with byte-order mark and
  // the XML declaration. E_FAIL for a UTF-16 big-endian or UTF-32 byte-order mark and for a
  // malformed section; kE_NO_UNICODE_TRANSLATION for a section that is not valid UTF-8 and for
  // a UTF-16 file of an odd size;
  // E_INVALIDARG for a device key name that cannot name a section.
  static HResult Open(FileSystem& files, std::u16string path, std::u16string_view device_key_name,
                      std::unique_ptr<ExchangeFile>& file);

  FileEncoding encoding() const { return encoding_; }
  bool is_new() const { return is_new_; }
  const std::u16string& device_key_name() const { return device_key_name_; }

  // Replaces the text of the first element of that kind and name, or appends a new one.
  // kE_NO_UNICODE_TRANSLATION for text the file's encoding cannot hold.
  HResult Add(ElementKind kind, std::u16string_view name, std::u16string text);
  // The compact text of the first element of that kind and name (names compare exactly, unit
  // by unit; an element's name is the first quoted value of its start tag); null when there is
  // none.
  const std::u16string* Find(ElementKind kind, std::u16string_view name) const;
  // The names of the elements of a kind, in list order.
  std::vector<std::u16string> Names(ElementKind kind) const;

  // The whole file as a commit writes it. E_FAIL for an element text without a start tag or
  // an end tag.
  HResult Render(std::vector<uint8_t>& bytes) const;
  // Renders and puts the file in place of the target.
  HResult Commit();

 private:
  struct Element {
    std::u16string name;
    std::u16string text;
  };
  struct ElementList {
    std::vector<Element> elements;
    std::unordered_map<std::u16string, size_t> first;  // name → index of its first element
    void Append(std::u16string name, std::u16string text);
  };

  ExchangeFile(FileSystem& files, std::u16string path, std::u16string_view device_key_name);
  HResult Load(std::vector<uint8_t> bytes);
  template <class Unit>
  HResult LoadSection(std::basic_string_view<Unit> units, const std::vector<uint8_t>& bytes);
  void AppendText(std::vector<uint8_t>& out, std::u16string_view text) const;
  ElementList& List(ElementKind kind) { return lists_[static_cast<size_t>(kind)]; }
  const ElementList& List(ElementKind kind) const { return lists_[static_cast<size_t>(kind)]; }

  FileSystem& files_;
  std::u16string path_;
  std::u16string device_key_name_;
  FileEncoding encoding_ = FileEncoding::kUtf8;
  bool is_new_ = false;
  std::vector<uint8_t> head_;
  std::vector<uint8_t> tail_;
  std::array<ElementList, std::size(kElementKinds)> lists_;
};

// The pretty-printed lines of one element (start tag after a tab, each child after two tabs,
// end tag after a tab, CR LF after each). E_FAIL without a start tag or an end tag.
HResult PrettyPrintElement(std::u16string_view text, std::u16string& lines);

}  // namespace quill::storage
