// Button-mapping records between IProfile's clients and the object's portable mapping set.
//
// A _TButtonMappingInfo of type BUTTON_MAPPING_MACRO (2) or BUTTON_MAPPING_USER_ACTION (3)
// carries, in its union, a pointer to a cell that holds the pointer to the name. On x64 that
// pointer covers bytes 8 to 15, the action type and the first info word, so for those types
// neither word travels through an unmanaged record: both read as 0, and the last two info words
// are kept. A TButtonMappingManaged element carries all six words and the name beside it in a
// parallel BSTR array; for the naming types its lActionType is 0 and its lParam0 travels.
#pragma once
#include <ServerLib.h>

#include <cstddef>
#include <vector>

#include "middleware/objects/device/device_records.h"
#include "middleware/storage/store_records.h"

namespace quill::server {

// Reads `count` records from the caller's array. E_INVALIDARG for a negative count or one above
// `max_count`, E_POINTER for a null array (count > 0) or a naming record without its name cell
// or name, 0x8007007B for a name the store cannot keep. `out` is empty on failure.
HRESULT ReadMappingRecords(const _TButtonMappingInfo* records, LONG count, size_t max_count,
                           std::vector<storage::ButtonMapping>& out);

// The record of `mapping`; for the naming types its union points at `name_cell`.
void WriteMappingRecord(const storage::ButtonMapping& mapping, LPWSTR* name_cell, _TButtonMappingInfo& out);

// Hands the set to a caller: *count records in one CoTaskMem block, followed in the same block
// by the name cells of the naming records (so they live as long as the records), each cell
// holding a separate CoTaskMem copy of the name. The block is valid even for no records. On
// failure *count is 0, *records null and nothing stays allocated.
HRESULT HandOutMappingRecords(const std::vector<storage::ButtonMapping>& set, LONG* count,
                              _TButtonMappingInfo** records);

// Frees what HandOutMappingRecords handed out.
void FreeMappingRecords(LONG count, _TButtonMappingInfo* records);

// The device features' view of a record (the name, if any, is not needed there).
device::ButtonMappingRecord DeviceRecordOf(const _TButtonMappingInfo& record);

// Managed elements: reads `count` elements of `mappings` (VT_RECORD of TButtonMappingManaged)
// and their names from the BSTR arrays (needed only when an element of its type is there).
// Errors as ReadMappingRecords, and E_INVALIDARG for an array that is not such a vector or holds
// fewer than `count` elements.
HRESULT ReadManagedMappings(LONG count, SAFEARRAY* mappings, SAFEARRAY* macro_names,
                            SAFEARRAY* user_action_names, size_t max_count,
                            std::vector<storage::ButtonMapping>& out);
// The set as a VT_RECORD vector (record information `info`) and two BSTR vectors of the same
// length, the names at the indexes of their types only. All three are null on failure.
HRESULT HandOutManagedMappings(IRecordInfo* info, const std::vector<storage::ButtonMapping>& set,
                               SAFEARRAY** mappings, SAFEARRAY** macro_names,
                               SAFEARRAY** user_action_names);

}  // namespace quill::server
