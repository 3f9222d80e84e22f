#include "middleware/storage/win/com/profile_mapping_records.h"

#include <cstring>
#include <limits>

#include "middleware/storage/storage_errors.h"
#include "middleware/storage/store_names.h"
#include "middleware/storage/win/com/managed_arrays.h"
#include "middleware/storage/win/com/profile_arguments.h"
#include "winsupport/co_task_string.h"
#include "winsupport/com_ptr.h"

namespace quill::server {
namespace {

static_assert(sizeof(_TButtonMappingInfo) == 24 && sizeof(TButtonMappingManaged) == 24);

bool NamesObject(LONG mapping_type) {
  return mapping_type == storage::kMappingTypeMacro || mapping_type == storage::kMappingTypeUserAction;
}

// The words of a record; for the naming types the action type and the first info word are the
// name pointer's and read as 0.
storage::ButtonMapping WordsOf(const _TButtonMappingInfo& record) {
  storage::ButtonMapping mapping;
  mapping.button = record.lButton;
  mapping.mapping_type = record.mappingType;
  const _TActionInfo& action = record.actionOrMacro.actionInfo;
  mapping.action_type = NamesObject(record.mappingType) ? 0 : action.actionType;
  for (size_t i = 0; i < mapping.info.size(); ++i) mapping.info[i] = action.info.alWords[i];
  if (NamesObject(record.mappingType)) mapping.info[0] = 0;
  return mapping;
}

HRESULT CheckedName(std::u16string& name) {
  const HRESULT hr = storage::CheckItemName(name);
  if (FAILED(hr)) name.clear();
  return hr;
}

}  // namespace

HRESULT ReadMappingRecords(const _TButtonMappingInfo* records, LONG count, size_t max_count,
                           std::vector<storage::ButtonMapping>& out) {
  out.clear();
  if (count < 0 || static_cast<size_t>(count) > max_count) return E_INVALIDARG;
  if (count > 0 && !records) return E_POINTER;
  std::vector<storage::ButtonMapping> read;
  try {
    read.reserve(static_cast<size_t>(count));
    for (LONG i = 0; i < count; ++i) {
      storage::ButtonMapping mapping = WordsOf(records[i]);
      if (mapping.NamesObject()) {
        LPWSTR* const cell = records[i].actionOrMacro.ppszName;
        if (!cell) return E_POINTER;
        HRESULT hr = ReadItemName(*cell, mapping.name);
        if (SUCCEEDED(hr)) hr = CheckedName(mapping.name);
        if (FAILED(hr)) return hr;
      }
      read.push_back(std::move(mapping));
    }
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  out = std::move(read);
  return S_OK;
}

void WriteMappingRecord(const storage::ButtonMapping& mapping, LPWSTR* name_cell, _TButtonMappingInfo& out) {
  std::memset(&out, 0, sizeof out);
  out.lButton = mapping.button;
  out.mappingType = static_cast<_TButtonMappingType>(mapping.mapping_type);
  _TActionInfo& action = out.actionOrMacro.actionInfo;
  action.actionType = static_cast<_TButtonActionType>(mapping.action_type);
  for (size_t i = 0; i < mapping.info.size(); ++i) action.info.alWords[i] = mapping.info[i];
  if (mapping.NamesObject()) out.actionOrMacro.ppszName = name_cell;  // over the first two words
}

HRESULT HandOutMappingRecords(const std::vector<storage::ButtonMapping>& set, LONG* count,
                              _TButtonMappingInfo** records) {
  if (!count || !records) return E_POINTER;
  *count = 0;
  *records = nullptr;
  size_t named = 0;
  for (const storage::ButtonMapping& mapping : set) named += mapping.NamesObject();
  const size_t limit = std::numeric_limits<LONG>::max() / (sizeof(_TButtonMappingInfo) + sizeof(LPWSTR));
  if (set.size() > limit) return E_OUTOFMEMORY;
  const size_t cells_at = set.size() * sizeof(_TButtonMappingInfo);  // a multiple of 8
  const size_t bytes = cells_at + named * sizeof(LPWSTR);
  com::CoTaskMemPtr<BYTE> block(static_cast<BYTE*>(CoTaskMemAlloc(bytes ? bytes : 1)));
  if (!block.Get()) return E_OUTOFMEMORY;
  std::memset(block.Get(), 0, bytes ? bytes : 1);
  auto* const out = reinterpret_cast<_TButtonMappingInfo*>(block.Get());
  auto* const cells = reinterpret_cast<LPWSTR*>(block.Get() + cells_at);
  size_t cell = 0;
  HRESULT hr = S_OK;
  for (size_t i = 0; i < set.size() && SUCCEEDED(hr); ++i) {
    LPWSTR* name_cell = nullptr;
    if (set[i].NamesObject()) {
      name_cell = &cells[cell++];
      hr = com::CoTaskStringDup(set[i].name, name_cell);
    }
    WriteMappingRecord(set[i], name_cell, out[i]);
  }
  if (FAILED(hr)) {
    for (size_t i = 0; i < cell; ++i) CoTaskMemFree(cells[i]);
    return hr;
  }
  *count = static_cast<LONG>(set.size());
  *records = reinterpret_cast<_TButtonMappingInfo*>(block.Detach());
  return S_OK;
}

void FreeMappingRecords(LONG count, _TButtonMappingInfo* records) {
  if (!records) return;
  for (LONG i = 0; i < count; ++i) {
    if (NamesObject(records[i].mappingType) && records[i].actionOrMacro.ppszName) {
      CoTaskMemFree(*records[i].actionOrMacro.ppszName);
    }
  }
  CoTaskMemFree(records);
}

device::ButtonMappingRecord DeviceRecordOf(const _TButtonMappingInfo& record) {
  const storage::ButtonMapping words = WordsOf(record);
  device::ButtonMappingRecord out;
  out.lButton = words.button;
  out.mappingType = words.mapping_type;
  out.actionType = words.action_type;
  for (size_t i = 0; i < out.info.size(); ++i) out.info[i] = words.info[i];
  return out;
}

HRESULT ReadManagedMappings(LONG count, SAFEARRAY* mappings, SAFEARRAY* macro_names,
                            SAFEARRAY* user_action_names, size_t max_count,
                            std::vector<storage::ButtonMapping>& out) {
  out.clear();
  if (count < 0 || static_cast<size_t>(count) > max_count) return E_INVALIDARG;
  TButtonMappingManaged* elements = nullptr;
  HRESULT hr = InputVector(mappings, VT_RECORD, count, &elements);
  if (FAILED(hr)) return hr;
  if (mappings) {
    // The elements must be of the mapping record, not merely of its size.
    com::ComPtr<IRecordInfo> info;
    GUID guid{};
    if (FAILED(SafeArrayGetRecordInfo(mappings, info.Put())) || !info || FAILED(info->GetGuid(&guid)) ||
        !IsEqualGUID(guid, GUID_TButtonMappingManaged)) {
      return E_INVALIDARG;
    }
  }
  BSTR* names[2] = {nullptr, nullptr};  // macro names, user-action names; read when first needed
  SAFEARRAY* const name_arrays[2] = {macro_names, user_action_names};
  std::vector<storage::ButtonMapping> read;
  try {
    read.reserve(static_cast<size_t>(count));
    for (LONG i = 0; i < count; ++i) {
      const TButtonMappingManaged& e = elements[i];
      storage::ButtonMapping mapping;
      mapping.button = e.lButtonType;
      mapping.mapping_type = e.lButtonMapping;
      mapping.action_type = e.lActionType;
      mapping.info = {e.lParam0, e.lParam1, e.lParam2};
      if (mapping.NamesObject()) {
        const int which = mapping.NamesMacro() ? 0 : 1;
        if (!names[which] && FAILED(hr = InputVector(name_arrays[which], VT_BSTR, count, &names[which]))) return hr;
        const BSTR name = names[which][i];
        mapping.action_type = 0;
        mapping.name.assign(reinterpret_cast<const char16_t*>(name ? name : L""), SysStringLen(name));
        if (FAILED(hr = CheckedName(mapping.name))) return hr;
      }
      read.push_back(std::move(mapping));
    }
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  out = std::move(read);
  return S_OK;
}

HRESULT HandOutManagedMappings(IRecordInfo* info, const std::vector<storage::ButtonMapping>& set,
                               SAFEARRAY** mappings, SAFEARRAY** macro_names,
                               SAFEARRAY** user_action_names) {
  if (!mappings || !macro_names || !user_action_names) return E_POINTER;
  *mappings = *macro_names = *user_action_names = nullptr;
  if (set.size() > static_cast<size_t>(std::numeric_limits<LONG>::max())) return E_OUTOFMEMORY;
  const LONG count = static_cast<LONG>(set.size());
  SAFEARRAY* made[3] = {nullptr, nullptr, nullptr};
  HRESULT hr = MakeRecordVector(info, count, &made[0]);
  SafeArrayPtr records(made[0]);
  if (SUCCEEDED(hr)) hr = MakeBstrVector(count, &made[1]);
  SafeArrayPtr macros(made[1]);
  if (SUCCEEDED(hr)) hr = MakeBstrVector(count, &made[2]);
  SafeArrayPtr actions(made[2]);
  if (FAILED(hr)) return hr;
  auto* const elements = static_cast<TButtonMappingManaged*>(records.Get()->pvData);
  for (LONG i = 0; i < count && SUCCEEDED(hr); ++i) {
    const storage::ButtonMapping& mapping = set[static_cast<size_t>(i)];
    TButtonMappingManaged& e = elements[i];
    e.lButtonType = mapping.button;
    e.lButtonMapping = mapping.mapping_type;
    e.lActionType = mapping.NamesObject() ? 0 : mapping.action_type;
    e.lParam0 = mapping.info[0];
    e.lParam1 = mapping.info[1];
    e.lParam2 = mapping.info[2];
    if (!mapping.NamesObject()) continue;
    SAFEARRAY* const names = mapping.NamesMacro() ? macros.Get() : actions.Get();
    BSTR& slot = static_cast<BSTR*>(names->pvData)[i];
    slot = SysAllocStringLen(reinterpret_cast<const wchar_t*>(mapping.name.data()),
                             static_cast<UINT>(mapping.name.size()));
    if (!slot) hr = E_OUTOFMEMORY;
  }
  if (FAILED(hr)) return hr;
  *mappings = records.Detach();
  *macro_names = macros.Detach();
  *user_action_names = actions.Detach();
  return S_OK;
}

}  // namespace quill::server
