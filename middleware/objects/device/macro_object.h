// Device side of IMeridexMacroObject: one on-board macro, addressed by its 0-based device
// number (clients see lMacroId = number + 1). Every operation checks the number first: E_FAIL
// for an object bound to no macro (-1), E_INVALIDARG for a number outside 0 to 69.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "middleware/objects/device/device_records.h"
#include "middleware/transport/feature_channel.h"
#include "middleware/transport/feature_report.h"
#include "middleware/typelib/hresult_codes.h"

namespace quill::device {

HResult CheckMacroNumber(int32_t number);

// The name block read (command 0x0E); `reply` holds the device's reply.
HResult ReadMacroNameBlock(FeatureChannel& channel, int32_t number, FeatureReport& reply);
// The name of a name-block reply: UTF-16LE from byte 9 up to its terminator, at most the 20
// units of the 40-byte name block.
std::u16string MacroNameFromReply(const FeatureReport& reply);
HResult GetMacroName(FeatureChannel& channel, int32_t number, std::u16string& name);
// E_FAIL without traffic for a name of more than 19 units (40 bytes with its terminator).
HResult SetMacroName(FeatureChannel& channel, int32_t number, std::u16string_view name);

// The macro's size from the directory. E_FAIL (and `size` untouched) when no directory entry
// has this number.
HResult GetMacroSize(FeatureChannel& channel, int32_t number, uint32_t& size);

// Uploads `macro`, keeping the name stored on the device: memory-space read (E_OUTOFMEMORY when
// the stream does not fit, or is longer than the 16-bit size field), name-block read, size
// write, then the stream in 80-byte chunks. Any failed step ends the upload with its error and
// nothing further is written; an element that cannot be encoded fails before any traffic.
// A null `macro` clears the slot: size 40 and 40 zero bytes.
HResult SetMacro(FeatureChannel& channel, int32_t number, const MacroRecord* macro);
// Downloads the stream of the directory's size and decodes it.
HResult GetMacro(FeatureChannel& channel, int32_t number, MacroRecord& macro);

}  // namespace quill::device
