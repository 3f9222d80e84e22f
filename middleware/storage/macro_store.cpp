#include "middleware/storage/macro_store.h"

#include <algorithm>

#include "middleware/storage/store_names.h"
#include "middleware/storage/value_codec.h"

namespace quill::storage {

namespace {

ValueList MacroValues(int32_t ref_count, const MacroRecord& macro) {
  ValueList values;
  AddDword(values, kRefCountValue, ref_count);
  AddDword(values, kVersionValue, macro.version);
  AddDword(values, kOptionsValue, macro.options);
  AddDword(values, kTypeValue, macro.type);
  AddDword(values, kRepeatValue, macro.repeat);
  AddString(values, kIconFileValue, macro.icon_file);
  AddDword(values, kNumElementsValue, static_cast<int32_t>(macro.elements.size()));
  for (size_t i = 0; i < macro.elements.size(); ++i) {
    AddBinary(values, IndexedValueName(static_cast<uint32_t>(i)), EncodeElement(macro.elements[i]));
  }
  return values;
}

}  // namespace

HResult MacroStore::Create(RegistryKey& machine, std::u16string_view device_key_name,
                           std::unique_ptr<MacroStore>& store) {
  store.reset();
  std::unique_ptr<RegistryKey> key;
  const HResult hr = OpenCollection(machine, device_key_name, kMacrosSuffix, key);
  if (Failed(hr)) return hr;
  store.reset(new MacroStore(std::move(key), std::u16string(device_key_name)));
  return kS_OK;
}

HResult MacroStore::Save(std::u16string_view name, const MacroRecord& macro) {
  HResult hr = CheckItemName(name);
  if (Failed(hr)) return hr;
  if (macro.icon_file.size() > kMaxIconFileLength ||
      macro.icon_file.find(u'\0') != std::u16string::npos ||
      macro.elements.size() > static_cast<size_t>(INT32_MAX)) {
    return kE_INVALIDARG;
  }
  int32_t ref_count = 0;
  bool exists = false;
  hr = KeptRefCount(name, ref_count, exists);
  if (Failed(hr)) return hr;
  MacroRecord old;
  ValueList previous;
  const bool keep_previous = exists && Succeeded(Load(name, old));
  if (keep_previous) previous = MacroValues(ref_count, old);
  return RewriteItem(name, MacroValues(ref_count, macro), keep_previous ? &previous : nullptr);
}

HResult MacroStore::Load(std::u16string_view name, MacroRecord& macro) {
  macro = MacroRecord{};
  std::unique_ptr<RegistryKey> item;
  HResult hr = OpenItem(name, item);
  if (Failed(hr)) return hr;
  MacroRecord loaded;
  uint32_t count = 0;
  if (Failed(hr = ReadDword(*item, kVersionValue, loaded.version)) ||
      Failed(hr = ReadDword(*item, kOptionsValue, loaded.options)) ||
      Failed(hr = ReadDword(*item, kTypeValue, loaded.type)) ||
      Failed(hr = ReadDword(*item, kRepeatValue, loaded.repeat)) ||
      Failed(hr = ReadString(*item, kIconFileValue, kMaxIconFileLength, loaded.icon_file)) ||
      Failed(hr = ReadCount(*item, kNumElementsValue, count))) {
    return hr;
  }
  loaded.elements.reserve(std::min<uint32_t>(count, 4096));
  for (uint32_t i = 0; i < count; ++i) {
    std::vector<uint8_t> bytes;
    MacroElement element;
    hr = ReadBinary(*item, IndexedValueName(i), kRecordSize, bytes);
    if (Succeeded(hr)) hr = DecodeElement(bytes, element);
    if (Failed(hr)) return hr;
    loaded.elements.push_back(element);
  }
  macro = std::move(loaded);
  return kS_OK;
}

HResult MacroStore::Delete(std::u16string_view name) { return DeleteUnreferenced(name); }

}  // namespace quill::storage
