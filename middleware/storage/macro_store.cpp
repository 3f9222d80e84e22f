#include "middleware/storage/macro_store.h"

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
  return Build(machine, device_key_name, kMacrosSuffix, store);
}

HResult MacroStore::Save(std::u16string_view name, const MacroRecord& macro) {
  const HResult hr = CheckItemName(name);
  if (Failed(hr)) return hr;
  if (macro.icon_file.size() > kMaxIconFileLength ||
      macro.icon_file.find(u'\0') != std::u16string::npos ||
      macro.elements.size() > static_cast<size_t>(INT32_MAX)) {
    return kE_INVALIDARG;
  }
  return SaveKeepingRefCount(*this, name, macro, MacroValues);
}

HResult MacroStore::Load(std::u16string_view name, MacroRecord& macro) {
  macro = MacroRecord{};
  return ReadItem(name, [&](RegistryKey& item) {
    MacroRecord loaded;
    uint32_t count = 0;
    HResult hr;
    if (Failed(hr = ReadDword(item, kVersionValue, loaded.version)) ||
        Failed(hr = ReadDword(item, kOptionsValue, loaded.options)) ||
        Failed(hr = ReadDword(item, kTypeValue, loaded.type)) ||
        Failed(hr = ReadDword(item, kRepeatValue, loaded.repeat)) ||
        Failed(hr = ReadString(item, kIconFileValue, kMaxIconFileLength, loaded.icon_file)) ||
        Failed(hr = ReadCount(item, kNumElementsValue, count))) {
      return hr;
    }
    hr = ReadIndexedEntries(item, count, kRecordSize, DecodeElement, loaded.elements);
    if (Failed(hr)) return hr;
    macro = std::move(loaded);
    return kS_OK;
  });
}

HResult MacroStore::Delete(std::u16string_view name) { return DeleteUnreferenced(name); }

}  // namespace quill::storage
