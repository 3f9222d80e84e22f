#include "middleware/objects/device/macro_stream.h"

#include <algorithm>

namespace quill::device {
namespace {

using namespace quill::layout;

constexpr uint8_t kKeyRelease = 0;
constexpr uint8_t kKeyPress = 1;
constexpr uint8_t kMouseEvent = 0x80;
constexpr uint8_t kButtonBits = 0x1F;   // the five buttons a macro can click
constexpr uint8_t kStateBits = 0x7F;
constexpr int32_t kLastMacroClick = kClickButton5;
constexpr int32_t kReleaseOptions = kKeycodeOptionsBreak;  // options of a decoded release

// Delay markers by the number of bytes that follow.
constexpr uint8_t kDelayMarker1 = 0x11;
constexpr uint8_t kDelayMarker3 = 0x13;

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value, size_t bytes) {
  for (size_t i = bytes; i-- > 0;) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Reads the stream front to back and never past its end.
class Cursor {
 public:
  explicit Cursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  bool AtEnd() const { return at_ >= bytes_.size(); }
  size_t position() const { return at_; }
  bool Peek(uint8_t& value) const {
    if (AtEnd()) return false;
    value = bytes_[at_];
    return true;
  }
  bool Take(uint8_t& value) {
    if (!Peek(value)) return false;
    ++at_;
    return true;
  }
  bool TakeBigEndian(size_t count, uint32_t& value) {
    if (bytes_.size() - at_ < count) return false;
    value = 0;
    for (size_t i = 0; i < count; ++i) value = (value << 8) | bytes_[at_++];
    return true;
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t at_ = 0;
};

HResult DecodeAction(Cursor& in, uint8_t& button_state, MacroElementRecord& element) {
  uint8_t first = 0;
  in.Take(first);  // the caller has checked that a byte is there
  if (first == kKeyRelease || first == kKeyPress) {
    uint8_t scan = 0;
    if (!in.Take(scan)) return kE_FAIL;
    element.actionType = kActionKeycode;
    element.info[kKeyScanCode] = scan;
    element.info[kKeyOptions] = first == kKeyPress ? 0 : kReleaseOptions;
    return kS_OK;
  }
  if (!(first & kMouseEvent)) return kE_INVALIDARG;
  const uint8_t changed = (first ^ button_state) & kStateBits;
  element.actionType = kActionClick;
  if (changed == 0) {
    // A release of a button that was not held: it changes nothing on the device either.
    element.info[kClickType] = kClickLeft;
    element.info[kClickOptions] = kReleaseOptions;
    return kS_OK;
  }
  if ((changed & ~kButtonBits) != 0 || (changed & (changed - 1)) != 0) return kE_FAIL;
  int32_t click = 0;
  while ((1u << click) != changed) ++click;
  element.info[kClickType] = click;
  element.info[kClickOptions] = (first & changed) ? 0 : kReleaseOptions;
  button_state = first & kStateBits;
  return kS_OK;
}

HResult DecodeDelay(Cursor& in, MacroElementRecord& element) {
  uint8_t marker = 0;
  if (!in.Peek(marker) || marker < kDelayMarker1 || marker > kDelayMarker3) return kS_OK;
  in.Take(marker);
  uint32_t delay = 0;
  if (!in.TakeBigEndian(static_cast<size_t>(marker - kDelayMarker1 + 1), delay)) return kE_FAIL;
  element.lDelayMs = static_cast<int32_t>(delay);
  return kS_OK;
}

// An action, then its delay when `with_delay`; `state` and `element` change only on success.
HResult DecodeElementAt(Cursor& in, bool with_delay, uint8_t& button_state,
                        MacroElementRecord& element) {
  if (in.AtEnd()) return kE_FAIL;
  uint8_t state = button_state;
  MacroElementRecord decoded;
  HResult hr = DecodeAction(in, state, decoded);
  if (Succeeded(hr) && with_delay) hr = DecodeDelay(in, decoded);
  if (Failed(hr)) return hr;
  button_state = state;
  element = decoded;
  return kS_OK;
}

HResult DecodeOne(std::span<const uint8_t> bytes, bool with_delay, uint8_t& button_state,
                  MacroElementRecord& element, size_t& consumed) {
  Cursor in(bytes);
  const HResult hr = DecodeElementAt(in, with_delay, button_state, element);
  consumed = Succeeded(hr) ? in.position() : 0;
  return hr;
}

}  // namespace

HResult EncodeMacroElement(const MacroElementRecord& element, uint8_t& button_state,
                           std::vector<uint8_t>& out) {
  if (element.actionType == kActionKeycode) {
    out.push_back(element.info[kKeyOptions] == 0 ? kKeyPress : kKeyRelease);
    out.push_back(static_cast<uint8_t>(element.info[kKeyScanCode] & 0xFF));
  } else if (element.actionType == kActionClick) {
    const int32_t click = element.info[kClickType];
    if (click < 0 || click > kLastMacroClick) return kE_INVALIDARG;
    const uint8_t bit = static_cast<uint8_t>(1u << click);
    if (element.info[kClickOptions] == 0)
      button_state |= bit | kMouseEvent;
    else
      button_state &= static_cast<uint8_t>(~bit);
    out.push_back(button_state | kMouseEvent);
  } else {
    return kE_FAIL;
  }
  EncodeDelay(element.lDelayMs, out);
  return kS_OK;
}

void EncodeDelay(int32_t delay_ms, std::vector<uint8_t>& out) {
  if (delay_ms <= 0) return;
  const uint32_t delay = std::min(static_cast<uint32_t>(delay_ms), kMaxDelay);
  const size_t bytes = delay <= 0xFF ? 1 : delay <= 0xFFFF ? 2 : 3;
  out.push_back(static_cast<uint8_t>(kDelayMarker1 + bytes - 1));
  PutBigEndian(out, delay, bytes);
}

HResult EncodeMacroStream(const MacroRecord& macro, std::vector<uint8_t>& stream) {
  std::vector<uint8_t> out(kMacroNameBlockSize, 0);
  PutBigEndian(out, std::clamp(macro.FixedDelay, kMinFixedDelay, kMaxDelay), 3);
  out.resize(kMacroHeaderSize, 0);
  uint8_t button_state = 0;
  for (const MacroElementRecord& element : macro.elements) {
    const HResult hr = EncodeMacroElement(element, button_state, out);
    if (Failed(hr)) return hr;
  }
  stream = std::move(out);
  return kS_OK;
}

HResult DecodeMacroStream(std::span<const uint8_t> stream, MacroRecord& macro) {
  MacroRecord out;
  out.lVersion = 0;
  out.options = kMacroOptionsUseRepeatCount;
  out.type = kMacroTypeKeystroke;
  out.lRepeat = 1;
  Cursor header(stream.size() > kMacroFixedDelayAt ? stream.subspan(kMacroFixedDelayAt)
                                                   : std::span<const uint8_t>{});
  if (!header.TakeBigEndian(3, out.FixedDelay)) out.FixedDelay = 0;

  Cursor in(stream.size() > kMacroHeaderSize ? stream.subspan(kMacroHeaderSize)
                                             : std::span<const uint8_t>{});
  uint8_t button_state = 0;
  while (!in.AtEnd()) {
    MacroElementRecord element;
    const HResult hr = DecodeElementAt(in, true, button_state, element);
    if (Failed(hr)) return hr;
    out.elements.push_back(element);
  }
  macro = std::move(out);
  return kS_OK;
}

HResult DecodeMacroAction(std::span<const uint8_t> bytes, uint8_t& button_state,
                          MacroElementRecord& element, size_t& consumed) {
  return DecodeOne(bytes, false, button_state, element, consumed);
}

HResult DecodeMacroElement(std::span<const uint8_t> bytes, uint8_t& button_state,
                           MacroElementRecord& element, size_t& consumed) {
  return DecodeOne(bytes, true, button_state, element, consumed);
}

bool MacroFits(int32_t remaining_space, size_t size) {
  const int64_t room = (static_cast<int64_t>(remaining_space) + 1) * static_cast<int64_t>(kSpaceUnitBytes);
  return room >= static_cast<int64_t>(size);
}

}  // namespace quill::device
