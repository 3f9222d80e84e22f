#include "artwork/description.h"

#include <cctype>
#include <charconv>

namespace quill::art {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

bool IsName(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  }
  return true;
}

bool ParseInt(std::string_view s, int& value) {
  const char* end = s.data() + s.size();
  auto [stop, error] = std::from_chars(s.data(), end, value);
  return error == std::errc() && stop == end;
}

}  // namespace

Description Description::Parse(std::string_view text, const std::string& source) {
  Description description;
  description.source_ = source;
  std::string section;
  int number = 0;
  while (!text.empty()) {
    ++number;
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    const std::string where = source + ":" + std::to_string(number) + ": ";
    if (const size_t hash = line.find('#'); hash != std::string_view::npos) {
      // '#' begins a comment unless it begins a colour value.
      const size_t equals = line.find('=');
      const bool colour = equals != std::string_view::npos && hash > equals &&
                          Trim(line.substr(equals + 1, hash - equals - 1)).empty();
      if (!colour) {
        line = line.substr(0, hash);
      } else if (const size_t comment = line.find('#', hash + 1); comment != std::string_view::npos) {
        line = line.substr(0, comment);
      }
    }
    line = Trim(line);
    if (line.empty()) continue;
    if (line.front() == '[') {
      if (line.back() != ']' || !IsName(Trim(line.substr(1, line.size() - 2)))) {
        throw DescriptionError(where + "a section is written [name]");
      }
      section = std::string(Trim(line.substr(1, line.size() - 2)));
      if (description.sections_.count(section)) throw DescriptionError(where + "section [" + section + "] again");
      description.sections_[section];
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) throw DescriptionError(where + "expected 'key = value'");
    const std::string key(Trim(line.substr(0, equals)));
    const std::string value(Trim(line.substr(equals + 1)));
    if (!IsName(key)) throw DescriptionError(where + "'" + key + "' is not a key (letters, digits, _)");
    if (section.empty()) throw DescriptionError(where + "'" + key + "' comes before any [section]");
    if (value.empty()) throw DescriptionError(where + "'" + key + "' has no value");
    auto& entries = description.sections_[section];
    if (entries.count(key)) throw DescriptionError(where + "'" + key + "' again in [" + section + "]");
    entries[key] = Entry{value, number, false};
  }
  return description;
}

const Description::Entry& Description::Find(const std::string& section, const std::string& key) const {
  const auto s = sections_.find(section);
  if (s == sections_.end()) throw DescriptionError(source_ + ": section [" + section + "] is missing");
  const auto e = s->second.find(key);
  if (e == s->second.end()) throw DescriptionError(source_ + ": [" + section + "] lacks '" + key + "'");
  e->second.read = true;
  return e->second;
}

std::string Description::Where(const Entry& entry) const {
  return source_ + ":" + std::to_string(entry.line) + ": ";
}

bool Description::Has(const std::string& section, const std::string& key) const {
  const auto s = sections_.find(section);
  return s != sections_.end() && s->second.count(key) != 0;
}

std::vector<std::string> Description::Sections() const {
  std::vector<std::string> names;
  for (const auto& [name, entries] : sections_) names.push_back(name);
  return names;
}

std::string Description::Text(const std::string& section, const std::string& key) const {
  return Find(section, key).value;
}

int Description::Integer(const std::string& section, const std::string& key, int low, int high) const {
  const Entry& entry = Find(section, key);
  int value = 0;
  if (!ParseInt(entry.value, value) || value < low || value > high) {
    throw DescriptionError(Where(entry) + "'" + key + "' is " + entry.value + ", expected a whole number from " +
                           std::to_string(low) + " to " + std::to_string(high));
  }
  return value;
}

std::vector<int> Description::Integers(const std::string& section, const std::string& key, int low, int high) const {
  const Entry& entry = Find(section, key);
  std::vector<int> values;
  std::string_view rest = entry.value;
  while (!(rest = Trim(rest)).empty()) {
    const size_t blank = rest.find_first_of(" \t");
    const std::string_view word = rest.substr(0, blank);
    int value = 0;
    if (!ParseInt(word, value) || value < low || value > high) {
      throw DescriptionError(Where(entry) + "'" + key + "' holds " + std::string(word) +
                             ", expected whole numbers from " + std::to_string(low) + " to " + std::to_string(high));
    }
    values.push_back(value);
    rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank);
  }
  return values;
}

uint32_t Description::Colour(const std::string& section, const std::string& key) const {
  const Entry& entry = Find(section, key);
  const std::string& v = entry.value;
  const bool form = v.size() > 1 && v[0] == '#' && (v.size() == 7 || v.size() == 9);
  uint32_t value = 0;
  if (form) {
    const bool digits = v.find_first_not_of("0123456789abcdefABCDEF", 1) == std::string::npos;
    auto [stop, error] = std::from_chars(v.data() + 1, v.data() + v.size(), value, 16);
    if (digits && error == std::errc() && stop == v.data() + v.size()) {
      return v.size() == 7 ? (0xFF000000u | value) : value;
    }
  }
  throw DescriptionError(Where(entry) + "'" + key + "' is " + v + ", expected a colour #RRGGBB or #AARRGGBB");
}

void Description::CheckAllRead() const {
  for (const auto& [section, entries] : sections_) {
    for (const auto& [key, entry] : entries) {
      if (!entry.read) throw DescriptionError(Where(entry) + "unknown key '" + key + "' in [" + section + "]");
    }
  }
}

}  // namespace quill::art
