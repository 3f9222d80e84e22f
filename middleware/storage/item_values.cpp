#include "middleware/storage/item_values.h"

#include "middleware/storage/storage_errors.h"
#include "middleware/storage/value_codec.h"

namespace quill::storage {

void AddDword(ValueList& values, std::u16string_view name, int32_t value) {
  values.push_back({std::u16string(name), kRegDword, EncodeDword(value)});
}

void AddString(ValueList& values, std::u16string_view name, std::u16string_view text) {
  values.push_back({std::u16string(name), kRegSz, EncodeString(text)});
}

void AddBinary(ValueList& values, std::u16string_view name, std::vector<uint8_t> data) {
  values.push_back({std::u16string(name), kRegBinary, std::move(data)});
}

HResult WriteValues(RegistryKey& key, const ValueList& values) {
  for (const StoredValue& value : values) {
    const HResult hr = key.SetValue(value.name, value.type, value.data);
    if (Failed(hr)) return hr;
  }
  return kS_OK;
}

namespace {

HResult ReadTyped(RegistryKey& key, std::u16string_view name, uint32_t expected_type,
                  size_t max_size, std::vector<uint8_t>& data) {
  uint32_t type = 0;
  const HResult hr = key.QueryValue(name, max_size, type, data);
  if (Failed(hr)) return hr;
  if (type != expected_type) {
    data.clear();
    return kE_INVALID_DATA;
  }
  return kS_OK;
}

}  // namespace

HResult ReadDword(RegistryKey& key, std::u16string_view name, int32_t& value) {
  value = 0;
  std::vector<uint8_t> data;
  // One byte over the layout's size, so that a longer value reads as a wrong size.
  const HResult hr = ReadTyped(key, name, kRegDword, 5, data);
  if (hr == kE_MORE_DATA) return kE_INVALID_DATA;
  if (Failed(hr)) return hr;
  return DecodeDword(data, value);
}

HResult ReadCount(RegistryKey& key, std::u16string_view name, uint32_t& count) {
  count = 0;
  int32_t value = 0;
  const HResult hr = ReadDword(key, name, value);
  if (Failed(hr)) return hr;
  if (value < 0) return kE_INVALID_DATA;
  count = static_cast<uint32_t>(value);
  return kS_OK;
}

HResult ReadString(RegistryKey& key, std::u16string_view name, size_t max_units, std::u16string& text) {
  text.clear();
  std::vector<uint8_t> data;
  const HResult hr = ReadTyped(key, name, kRegSz, 2 * (max_units + 1), data);
  if (Failed(hr)) return hr;
  return DecodeString(data, text);
}

HResult ReadBinary(RegistryKey& key, std::u16string_view name, size_t max_size, std::vector<uint8_t>& data) {
  const HResult hr = ReadTyped(key, name, kRegBinary, max_size, data);
  return hr == kE_MORE_DATA ? kE_INVALID_DATA : hr;
}

}  // namespace quill::storage
