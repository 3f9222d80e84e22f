#include "middleware/storage/exchange_elements.h"

#include <algorithm>
#include <initializer_list>

#include "middleware/storage/element_text.h"
#include "middleware/storage/store_names.h"
#include "middleware/storage/value_codec.h"

namespace quill::storage {

namespace {

std::u16string_view PointerTag(ElementKind group_kind) {
  return group_kind == ElementKind::kSpellBook ? u"MacroPtr" : u"ProfilePtr";
}

// The data of the first Key of that value name; null when there is none.
const KeyChild* FindKey(const std::vector<KeyChild>& keys, std::u16string_view value_name) {
  auto it = std::find_if(keys.begin(), keys.end(),
                         [&](const KeyChild& key) { return key.value_name == value_name; });
  return it == keys.end() ? nullptr : &*it;
}

int32_t DecimalKey(const std::vector<KeyChild>& keys, std::u16string_view value_name) {
  const KeyChild* key = FindKey(keys, value_name);
  return key == nullptr ? 0 : ParseDecimal(key->data);
}

// The decoded bytes of the indexed Keys by index. The count Key is looked up first; every Key
// that is neither the count nor one of `named` must be an index below the count, each index
// once, and there must be as many as the count says.
HResult IndexedKeys(const std::vector<KeyChild>& keys, std::u16string_view count_name,
                    std::initializer_list<std::u16string_view> named,
                    std::vector<std::vector<uint8_t>>& entries) {
  entries.clear();
  const KeyChild* count_key = FindKey(keys, count_name);
  if (count_key == nullptr) return kE_FAIL;
  const int32_t count = ParseDecimal(count_key->data);
  if (count < 0) return kE_FAIL;
  auto is_indexed = [&](const KeyChild& key) {
    return key.value_name != count_name &&
           std::find(named.begin(), named.end(), key.value_name) == named.end();
  };
  // Counted before anything is sized by the count, which comes from the file.
  const size_t indexed = static_cast<size_t>(std::count_if(keys.begin(), keys.end(), is_indexed));
  if (indexed != static_cast<size_t>(count)) return kE_FAIL;
  std::vector<std::vector<uint8_t>> found(indexed);
  std::vector<bool> seen(indexed, false);
  for (const KeyChild& key : keys) {
    if (!is_indexed(key)) continue;
    if (!IsIndexName(key.value_name)) return kE_FAIL;
    const int32_t index = ParseDecimal(key.value_name);
    if (index >= count || seen[index]) return kE_FAIL;
    seen[index] = true;
    if (Failed(ParseHex(key.data, found[index]))) return kE_FAIL;
  }
  entries = std::move(found);
  return kS_OK;
}

}  // namespace

HResult WriteGroupElement(ElementKind kind, std::u16string_view name,
                          const std::vector<std::u16string>& members, std::u16string& text) {
  ElementWriter writer(kind, name);
  for (const std::u16string& member : members) writer.PointerChild(PointerTag(kind), member);
  return writer.Finish(text);
}

HResult ReadGroupElement(ElementKind kind, std::u16string_view text, std::vector<std::u16string>& members) {
  return ReadPointers(text, PointerTag(kind), members);
}

HResult WriteElement(std::u16string_view name, const ProfileRecord& profile, std::u16string& text) {
  ElementWriter writer(ElementKind::kProfile, name);
  writer.DwordKey(kVersionValue, profile.version);
  writer.DwordKey(kNumMappingsValue, static_cast<int32_t>(profile.mappings.size()));
  for (size_t i = 0; i < profile.mappings.size(); ++i) {
    writer.BinaryKey(IndexedValueName(static_cast<uint32_t>(i)), EncodeMapping(profile.mappings[i]));
  }
  return writer.Finish(text);
}

HResult WriteElement(std::u16string_view name, const MacroRecord& macro, std::u16string& text) {
  ElementWriter writer(ElementKind::kMacro, name);
  writer.DwordKey(kVersionValue, macro.version);
  writer.DwordKey(kOptionsValue, macro.options);
  writer.DwordKey(kTypeValue, macro.type);
  writer.DwordKey(kRepeatValue, macro.repeat);
  writer.StringKey(kIconFileValue, macro.icon_file);
  writer.DwordKey(kNumElementsValue, static_cast<int32_t>(macro.elements.size()));
  for (size_t i = 0; i < macro.elements.size(); ++i) {
    writer.BinaryKey(IndexedValueName(static_cast<uint32_t>(i)), EncodeElement(macro.elements[i]));
  }
  return writer.Finish(text);
}

HResult WriteElement(std::u16string_view name, const UserActionRecord& action, std::u16string& text) {
  ElementWriter writer(ElementKind::kUserAction, name);
  writer.DwordKey(kCodeValue, action.code);
  writer.DwordKey(kNumDataValue, static_cast<int32_t>(action.data.size()));
  writer.BinaryKey(kDataValue, action.data);
  return writer.Finish(text);
}

HResult ReadElement(std::u16string_view text, ProfileRecord& profile) {
  profile = ProfileRecord{};
  std::vector<KeyChild> keys;
  std::vector<std::vector<uint8_t>> entries;
  HResult hr = ReadKeys(text, keys);
  if (Failed(hr) || Failed(hr = IndexedKeys(keys, kNumMappingsValue, {kVersionValue}, entries))) return hr;
  ProfileRecord read;
  read.version = DecimalKey(keys, kVersionValue);
  read.mappings.resize(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    if (Failed(DecodeMapping(entries[i], read.mappings[i]))) return kE_FAIL;
  }
  profile = std::move(read);
  return kS_OK;
}

HResult ReadElement(std::u16string_view text, MacroRecord& macro) {
  macro = MacroRecord{};
  std::vector<KeyChild> keys;
  std::vector<std::vector<uint8_t>> entries;
  HResult hr = ReadKeys(text, keys);
  if (Failed(hr) ||
      Failed(hr = IndexedKeys(keys, kNumElementsValue,
                              {kVersionValue, kOptionsValue, kTypeValue, kRepeatValue, kIconFileValue},
                              entries))) {
    return hr;
  }
  MacroRecord read;
  read.version = DecimalKey(keys, kVersionValue);
  read.options = DecimalKey(keys, kOptionsValue);
  read.type = DecimalKey(keys, kTypeValue);
  read.repeat = DecimalKey(keys, kRepeatValue);
  if (const KeyChild* icon = FindKey(keys, kIconFileValue)) read.icon_file = std::u16string(icon->data);
  read.elements.resize(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    if (Failed(DecodeElement(entries[i], read.elements[i]))) return kE_FAIL;
  }
  macro = std::move(read);
  return kS_OK;
}

HResult ReadElement(std::u16string_view text, UserActionRecord& action) {
  action = UserActionRecord{};
  std::vector<KeyChild> keys;
  const HResult hr = ReadKeys(text, keys);
  if (Failed(hr)) return hr;
  const KeyChild* count = FindKey(keys, kNumDataValue);
  if (count == nullptr) return kE_FAIL;
  const int32_t size = ParseDecimal(count->data);
  UserActionRecord read;
  read.code = DecimalKey(keys, kCodeValue);
  if (const KeyChild* data = FindKey(keys, kDataValue)) {
    if (Failed(ParseHex(data->data, read.data))) return kE_FAIL;
  }
  if (size < 0 || read.data.size() != static_cast<size_t>(size)) return kE_FAIL;
  action = std::move(read);
  return kS_OK;
}

}  // namespace quill::storage
