#include "middleware/storage/exchange_engines.h"

#include "middleware/storage/exchange_elements.h"

namespace quill::storage {

namespace {

// Runs `step` for each name until one fails.
template <class Step>
HResult ForEach(const std::vector<std::u16string>& names, Step&& step) {
  for (const std::u16string& name : names) {
    const HResult hr = step(name);
    if (Failed(hr)) return hr;
  }
  return kS_OK;
}

}  // namespace

template <class Store, class Record>
HResult ItemExchange<Store, Record>::Export(std::u16string_view name, Record* exported) {
  Record record;
  std::u16string text;
  HResult hr = store_.Load(name, record);
  if (Failed(hr) || Failed(hr = WriteElement(name, record, text)) ||
      Failed(hr = file_.Add(kKind, name, std::move(text)))) {
    return hr;
  }
  if (exported != nullptr) *exported = std::move(record);
  return kS_OK;
}

template <class Store, class Record>
HResult ItemExchange<Store, Record>::ExportAll() {
  std::vector<std::u16string> names;
  const HResult hr = store_.ListAll(names);
  if (Failed(hr)) return hr;
  return ForEach(names, [this](const std::u16string& name) { return Export(name); });
}

template <class Store, class Record>
HResult ItemExchange<Store, Record>::Import(std::u16string_view name) {
  const std::u16string* text = file_.Find(kKind, name);
  if (text == nullptr) return kE_FAIL;
  Record record;
  const HResult hr = ReadElement(*text, record);
  if (Failed(hr)) return hr;
  return store_.Save(name, record);
}

template <class Store, class Record>
HResult ItemExchange<Store, Record>::ImportAll() {
  return ForEach(file_.Names(kKind), [this](const std::u16string& name) { return Import(name); });
}

template <class Store, class Record>
HResult GroupExchange<Store, Record>::ExportGroup(std::u16string_view name) {
  int32_t count = 0;
  std::vector<std::u16string> members;
  std::u16string text;
  HResult hr = groups_.LoadNumMembers(name, count);
  if (Failed(hr) || Failed(hr = groups_.LoadMembers(name, count, members)) ||
      Failed(hr = WriteGroupElement(group_kind_, name, members, text)) ||
      Failed(hr = ForEach(members, [this](const std::u16string& member) { return this->Export(member); }))) {
    return hr;
  }
  return this->file_.Add(group_kind_, name, std::move(text));
}

template <class Store, class Record>
HResult GroupExchange<Store, Record>::ExportAllGroups() {
  std::vector<std::u16string> names;
  const HResult hr = groups_.ListAll(names);
  if (Failed(hr)) return hr;
  return ForEach(names, [this](const std::u16string& name) { return ExportGroup(name); });
}

template <class Store, class Record>
HResult GroupExchange<Store, Record>::ImportGroup(std::u16string_view name) {
  const std::u16string* text = this->file_.Find(group_kind_, name);
  if (text == nullptr) return kE_FAIL;
  std::vector<std::u16string> members;
  HResult hr = ReadGroupElement(group_kind_, *text, members);
  if (Failed(hr) ||
      Failed(hr = ForEach(members, [this](const std::u16string& member) { return this->Import(member); }))) {
    return hr;
  }
  return groups_.Save(name, members);
}

template <class Store, class Record>
HResult GroupExchange<Store, Record>::ImportAllGroups() {
  return ForEach(this->file_.Names(group_kind_),
                 [this](const std::u16string& name) { return ImportGroup(name); });
}

template class ItemExchange<ProfileStore, ProfileRecord>;
template class ItemExchange<MacroStore, MacroRecord>;
template class ItemExchange<UserActionStore, UserActionRecord>;
template class GroupExchange<ProfileStore, ProfileRecord>;
template class GroupExchange<MacroStore, MacroRecord>;

}  // namespace quill::storage
