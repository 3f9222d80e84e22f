// The upload of a mapping set through the driver control channel (portable).
//
// Request 0x222024 carries the set: words version and count, then one 41-byte entry per
// mapping: lButton, mappingType, then by type: device actions their action type and info words
// (clicks the first two, keys and property changes all three, interrupts none), macro and
// user-action mappings their ordinal among the mappings of their type (1, 2, ...). Then one
// request 0x222028 per macro mapping, in ordinal order, carries the stored macro: words 1,
// options, type, ordinal, repeat and element count, then one 41-byte entry per element (action
// type, info words as above from byte 4, delay at byte 33, hold time at byte 37). User actions
// are not sent. All words little-endian; every other byte 0.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "middleware/storage/macro_store.h"
#include "middleware/storage/store_records.h"
#include "middleware/transport/driver_handler.h"

namespace quill::server {

inline constexpr size_t kUploadEntrySize = 41;
inline constexpr size_t kUploadSetHeader = 8;
inline constexpr size_t kUploadMacroHeader = 24;

std::vector<uint8_t> MappingSetUploadBlock(const storage::ProfileRecord& set);
std::vector<uint8_t> MacroUploadBlock(const storage::MacroRecord& macro, int32_t ordinal);

// Sends the set, then each macro it names loaded from `macros`; the first failure stops the
// upload and is returned (the control channel's E_HANDLE while it is not open, which is always).
HResult UploadMappingSet(DriverHandler& handler, storage::MacroStore& macros,
                         const storage::ProfileRecord& set);

}  // namespace quill::server
