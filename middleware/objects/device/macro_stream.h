// The macro data stream the device stores (command 0x0D carries it in chunks):
//
//   offset 0   40 bytes  the macro's name, UTF-16LE (the upload copies it from the device)
//   offset 40   3 bytes  fixed delay in ms, big-endian, clamped to 10 ... 0xFFFFFF
//   offset 43   7 bytes  0
//   offset 50            elements: the action, then the delay
//
// Actions: a key is 2 bytes (1 press / 0 release, scan code); a mouse event is 1 byte, the
// running button state (bits 1, 2, 4, 8, 16 for the left, right, middle, fourth and fifth
// button) with bit 7 set. Delays: none for 0, else 0x11, 0x12 or 0x13 and 1 to 3 bytes
// big-endian.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "middleware/objects/device/device_records.h"
#include "middleware/typelib/hresult_codes.h"

namespace quill::device {

inline constexpr size_t kMacroNameBlockSize = 40;
inline constexpr size_t kMacroFixedDelayAt = 40;
inline constexpr size_t kMacroHeaderSize = 50;
inline constexpr uint32_t kMinFixedDelay = 10;
inline constexpr uint32_t kMaxDelay = 0xFFFFFF;
// A cleared macro: the name block only.
inline constexpr size_t kEmptyMacroSize = kMacroNameBlockSize;
// Memory space is counted in units of this many bytes.
inline constexpr size_t kSpaceUnitBytes = 480;

// Appends the bytes of one element. `button_state` is the running mouse-button state, 0 at the
// start of a macro. A click type above 4 is E_INVALIDARG, an action type other than click and
// keycode E_FAIL; nothing is appended then. A release of a button that is not held still gives
// a mouse event (bit 7 set), never a key byte.
HResult EncodeMacroElement(const MacroElementRecord& element, uint8_t& button_state,
                           std::vector<uint8_t>& out);
// Appends a delay: nothing for 0 or less, values above 0xFFFFFF are clamped.
void EncodeDelay(int32_t delay_ms, std::vector<uint8_t>& out);
// The whole stream with a zeroed name block; `stream` is replaced. Stops at the first element
// that cannot be encoded and returns its error.
HResult EncodeMacroStream(const MacroRecord& macro, std::vector<uint8_t>& stream);

// Decodes a stream of exactly `stream.size()` bytes (the size the directory gives), never
// reading past it: a stream shorter than the header has no elements, and fixed delay 0 when its
// three bytes are not all there (a cleared macro is the 40-byte name block only). An element cut off by the end is E_FAIL; a first
// byte below 0x80 other than 0 and 1 is E_INVALIDARG; a mouse event that changes more than one
// button, or another bit, is E_FAIL; one that changes no button (a release of a button that was
// not held) reads back as a release of the left button. The decoded macro has lVersion 0,
// MACRO_OPTIONS_USE_REPEAT_COUNT, MACRO_TYPE_KEYSTROKE and lRepeat 1.
HResult DecodeMacroStream(std::span<const uint8_t> stream, MacroRecord& macro);

// One action, or one element (the action and its delay), from the front of `bytes`, with the
// same rules as the stream decoder. `consumed` gets the bytes read; `element` and
// `button_state` change only on success. No bytes at all is E_FAIL.
HResult DecodeMacroAction(std::span<const uint8_t> bytes, uint8_t& button_state,
                          MacroElementRecord& element, size_t& consumed);
HResult DecodeMacroElement(std::span<const uint8_t> bytes, uint8_t& button_state,
                           MacroElementRecord& element, size_t& consumed);

// Space rule: a stream of `size` bytes fits when (remaining + 1) * 480 >= size.
bool MacroFits(int32_t remaining_space, size_t size);

}  // namespace quill::device
