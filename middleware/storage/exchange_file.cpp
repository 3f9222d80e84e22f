#include "middleware/storage/exchange_file.h"

#include <type_traits>

#include "middleware/storage/storage_errors.h"
#include "middleware/storage/text_encoding.h"

namespace quill::storage {

namespace {

constexpr uint8_t kUtf8Bom[] = {0xEF, 0xBB, 0xBF};
constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n\r\n";
constexpr std::string_view kNewTail = "\r\n\r\n";

bool StartsWith(const std::vector<uint8_t>& bytes, std::initializer_list<uint8_t> prefix) {
  if (bytes.size() < prefix.size()) return false;
  size_t i = 0;
  for (uint8_t byte : prefix) {
    if (bytes[i++] != byte) return false;
  }
  return true;
}

// A device key name stands in tags unquoted: printable ASCII without tag characters.
bool CanNameSection(std::u16string_view name) {
  if (name.empty() || name.size() > 255) return false;
  for (char16_t c : name) {
    if (c <= 0x20 || c >= 0x7F || c == u'<' || c == u'>' || c == u'"' || c == u'/' || c == u'\\') {
      return false;
    }
  }
  return true;
}

template <class Unit>
char16_t UnitValue(Unit unit) {
  return static_cast<char16_t>(static_cast<std::make_unsigned_t<Unit>>(unit));
}

// Whether units[pos…] begins with the ASCII text.
template <class Unit>
bool HasAt(std::basic_string_view<Unit> units, size_t pos, std::u16string_view ascii) {
  if (pos > units.size() || units.size() - pos < ascii.size()) return false;
  for (size_t i = 0; i < ascii.size(); ++i) {
    if (UnitValue(units[pos + i]) != ascii[i]) return false;
  }
  return true;
}

template <class Unit>
bool Equals(std::basic_string_view<Unit> units, std::u16string_view ascii) {
  return units.size() == ascii.size() && HasAt(units, 0, ascii);
}

template <class Unit>
bool IsBlank(Unit unit) {
  const char16_t c = UnitValue(unit);
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// Where the section's elements lie in the file's units.
template <class Unit>
struct SectionScan {
  bool found = false;
  size_t begin = 0;  // the "<" of the start tag
  size_t end = 0;    // after the end tag and the line break that ends its line
  std::vector<std::pair<ElementKind, std::basic_string<Unit>>> elements;
};

// The first "<name" followed by ">" or a blank.
template <class Unit>
size_t FindStartTag(std::basic_string_view<Unit> units, std::u16string_view name) {
  for (size_t pos = units.find(Unit('<')); pos != units.npos; pos = units.find(Unit('<'), pos + 1)) {
    const size_t after = pos + 1 + name.size();
    if (HasAt(units, pos + 1, name) && after < units.size() &&
        (units[after] == Unit('>') || IsBlank(units[after]))) {
      return pos;
    }
  }
  return units.npos;
}

template <class Unit>
bool KindOfWord(std::basic_string_view<Unit> word, ElementKind& kind) {
  for (ElementKind candidate : kElementKinds) {
    if (Equals(word, ElementTag(candidate))) {
      kind = candidate;
      return true;
    }
  }
  return false;
}

// Splits the section into tags at "<" and ">": element tags open and close elements, other
// tags and text are the open element's content, and text holding a line break (CR LF) is the
// layout of the pretty-printed form and is dropped.
template <class Unit>
HResult ScanSection(std::basic_string_view<Unit> units, std::u16string_view name, SectionScan<Unit>& scan) {
  using View = std::basic_string_view<Unit>;
  scan.begin = FindStartTag(units, name);
  if (scan.begin == units.npos) return kS_OK;
  scan.found = true;
  size_t pos = units.find(Unit('>'), scan.begin);
  if (pos == units.npos) return kE_FAIL;
  ++pos;
  const std::u16string section_end = u"/" + std::u16string(name);
  bool open = false;
  ElementKind open_kind = ElementKind::kProfile;
  std::basic_string<Unit> compact;
  while (true) {
    const size_t lt = units.find(Unit('<'), pos);
    if (lt == units.npos) return kE_FAIL;  // the section never ends
    const View text = units.substr(pos, lt - pos);
    bool layout = false;
    for (size_t i = 0; i + 1 < text.size() && !layout; ++i) {
      layout = text[i] == Unit('\r') && text[i + 1] == Unit('\n');
    }
    if (!layout && !text.empty()) {
      if (open) {
        compact.append(text);
      } else {
        for (Unit unit : text) {
          if (!IsBlank(unit)) return kE_FAIL;  // text outside every element
        }
      }
    }
    const size_t gt = units.find(Unit('>'), lt + 1);
    if (gt == units.npos) return kE_FAIL;
    const size_t nested = units.find(Unit('<'), lt + 1);
    if (nested < gt) return kE_FAIL;
    const View tag = units.substr(lt + 1, gt - lt - 1);
    const View word = tag.substr(0, tag.find(Unit(' ')));
    pos = gt + 1;
    ElementKind kind = open_kind;
    if (Equals(word, section_end)) {
      if (open) return kE_FAIL;
      scan.end = HasAt(units, pos, u"\r\n") ? pos + 2 : pos;
      return kS_OK;
    }
    const bool closing = !word.empty() && word[0] == Unit('/');
    if (KindOfWord(closing ? word.substr(1) : word, kind)) {
      if (open == !closing || (closing && kind != open_kind)) return kE_FAIL;
      open = !closing;
      open_kind = kind;
      if (!closing) compact.clear();
    } else if (!open) {
      return kE_FAIL;  // a child outside every element
    }
    compact.push_back(Unit('<'));
    compact.append(tag);
    compact.push_back(Unit('>'));
    if (closing && !open) scan.elements.emplace_back(kind, std::move(compact));
  }
}

bool ToText(std::string_view units, std::u16string& text) { return Utf8ToUtf16(units, text); }
bool ToText(std::u16string_view units, std::u16string& text) {
  text.assign(units);
  return true;
}

}  // namespace

void ExchangeFile::ElementList::Append(std::u16string name, std::u16string text) {
  first.emplace(name, elements.size());
  elements.push_back({std::move(name), std::move(text)});
}

ExchangeFile::ExchangeFile(FileSystem& files, std::u16string path, std::u16string_view device_key_name)
    : files_(files), path_(std::move(path)), device_key_name_(device_key_name) {}

HResult ExchangeFile::Open(FileSystem& files, std::u16string path, std::u16string_view device_key_name,
                           std::unique_ptr<ExchangeFile>& file) {
  file.reset();
  if (!CanNameSection(device_key_name)) return kE_INVALIDARG;
  std::vector<uint8_t> bytes;
  bool found = false;
  HResult hr = files.ReadAll(path, kMaxFileSize, bytes, found);
  if (Failed(hr)) return hr;
  std::unique_ptr<ExchangeFile> opened(new ExchangeFile(files, std::move(path), device_key_name));
  if (Failed(hr = opened->Load(std::move(bytes)))) return hr;
  file = std::move(opened);
  return kS_OK;
}

HResult ExchangeFile::Load(std::vector<uint8_t> bytes) {
  if (bytes.empty()) {
    is_new_ = true;
    encoding_ = FileEncoding::kUtf8;
    head_.assign(std::begin(kUtf8Bom), std::end(kUtf8Bom));
    head_.insert(head_.end(), kDeclaration.begin(), kDeclaration.end());
    tail_.assign(kNewTail.begin(), kNewTail.end());
    return kS_OK;
  }
  if (StartsWith(bytes, {0x00, 0x00, 0xFE, 0xFF}) || StartsWith(bytes, {0xFE, 0xFF}) ||
      StartsWith(bytes, {0xFF, 0xFE, 0x00, 0x00})) {
    return kE_FAIL;  // UTF-16 big-endian, UTF-32
  }
  if (StartsWith(bytes, {0xFF, 0xFE})) {
    // Half a code unit at the end: a damaged file, and a section appended to it would be
    // misaligned.
    if (bytes.size() % 2 != 0) return kE_NO_UNICODE_TRANSLATION;
    encoding_ = FileEncoding::kUtf16Le;
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i) {
      units[i] = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    }
    return LoadSection<char16_t>(units, bytes);
  }
  encoding_ = FileEncoding::kUtf8;
  const std::string_view units(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return LoadSection<char>(units, bytes);
}

template <class Unit>
HResult ExchangeFile::LoadSection(std::basic_string_view<Unit> units, const std::vector<uint8_t>& bytes) {
  SectionScan<Unit> scan;
  const HResult hr = ScanSection(units, device_key_name_, scan);
  if (Failed(hr)) return hr;
  if (!scan.found) {
    head_ = bytes;
    tail_.clear();
    return kS_OK;
  }
  head_.assign(bytes.begin(), bytes.begin() + scan.begin * sizeof(Unit));
  tail_.assign(bytes.begin() + scan.end * sizeof(Unit), bytes.end());
  for (auto& [kind, compact] : scan.elements) {
    std::u16string text;
    if (!ToText(std::basic_string_view<Unit>(compact), text)) return kE_NO_UNICODE_TRANSLATION;
    // The name is the start tag's quoted value; a start tag without one names nothing.
    const std::u16string_view start_tag = std::u16string_view(text).substr(0, text.find(u'>'));
    std::u16string name(FirstQuoted(start_tag));
    List(kind).Append(std::move(name), std::move(text));
  }
  return kS_OK;
}

HResult ExchangeFile::Add(ElementKind kind, std::u16string_view name, std::u16string text) {
  if (encoding_ == FileEncoding::kUtf8 && !IsWellFormedUtf16(text)) return kE_NO_UNICODE_TRANSLATION;
  ElementList& list = List(kind);
  auto it = list.first.find(std::u16string(name));
  if (it != list.first.end()) {
    list.elements[it->second].text = std::move(text);
  } else {
    list.Append(std::u16string(name), std::move(text));
  }
  return kS_OK;
}

const std::u16string* ExchangeFile::Find(ElementKind kind, std::u16string_view name) const {
  const ElementList& list = List(kind);
  auto it = list.first.find(std::u16string(name));
  return it == list.first.end() ? nullptr : &list.elements[it->second].text;
}

std::vector<std::u16string> ExchangeFile::Names(ElementKind kind) const {
  std::vector<std::u16string> names;
  for (const Element& element : List(kind).elements) names.push_back(element.name);
  return names;
}

void ExchangeFile::AppendText(std::vector<uint8_t>& out, std::u16string_view text) const {
  if (encoding_ == FileEncoding::kUtf16Le) {
    for (char16_t c : text) {
      out.push_back(static_cast<uint8_t>(c));
      out.push_back(static_cast<uint8_t>(c >> 8));
    }
    return;
  }
  std::string utf8;
  Utf16ToUtf8(text, utf8);  // element texts were checked when added or read
  out.insert(out.end(), utf8.begin(), utf8.end());
}

HResult ExchangeFile::Render(std::vector<uint8_t>& bytes) const {
  bytes = head_;
  AppendText(bytes, u"<" + device_key_name_ + u">\r\n");
  std::u16string lines;
  for (ElementKind kind : kElementKinds) {
    for (const Element& element : List(kind).elements) {
      const HResult hr = PrettyPrintElement(element.text, lines);
      if (Failed(hr)) {
        bytes.clear();
        return hr;
      }
      AppendText(bytes, lines);
    }
  }
  AppendText(bytes, u"</" + device_key_name_ + u">\r\n");
  bytes.insert(bytes.end(), tail_.begin(), tail_.end());
  return kS_OK;
}

HResult ExchangeFile::Commit() {
  std::vector<uint8_t> bytes;
  const HResult hr = Render(bytes);
  if (Failed(hr)) return hr;
  return files_.ReplaceAll(path_, bytes);
}

HResult PrettyPrintElement(std::u16string_view text, std::u16string& lines) {
  lines.clear();
  const size_t start_end = text.find(u'>');
  const size_t end_start = text.rfind(u'<');
  if (start_end == text.npos || end_start == text.npos || end_start < start_end) return kE_FAIL;
  lines += u'\t';
  lines += text.substr(0, start_end + 1);
  lines += u"\r\n";
  const std::u16string_view children = text.substr(start_end + 1, end_start - start_end - 1);
  std::u16string line;
  auto flush = [&] {
    lines += u"\t\t";
    lines += line;
    lines += u"\r\n";
    line.clear();
  };
  for (size_t pos = 0; pos < children.size();) {
    const size_t open = children.find(u'<', pos);
    const size_t close = open == children.npos ? children.npos : children.find(u'>', open);
    if (close == children.npos) {
      line += children.substr(pos);
      break;
    }
    line += children.substr(pos, close + 1 - pos);
    const bool end_tag = open + 1 < children.size() && children[open + 1] == u'/';
    pos = close + 1;
    if (end_tag) flush();
  }
  if (!line.empty()) flush();
  lines += u'\t';
  lines += text.substr(end_start);
  lines += u"\r\n";
  return kS_OK;
}

}  // namespace quill::storage
