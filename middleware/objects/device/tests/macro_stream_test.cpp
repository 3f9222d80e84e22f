// The macro data stream: header, element and delay encodings, running button state, decoding.
#include "middleware/objects/device/macro_stream.h"

#include <gtest/gtest.h>

namespace quill::device {
namespace {

using namespace quill::layout;
using Bytes = std::vector<uint8_t>;

MacroElementRecord Key(int32_t scan, bool press, int32_t delay = 0) {
  MacroElementRecord e;
  e.actionType = kActionKeycode;
  e.info = {scan, 0, press ? 0 : kKeycodeOptionsBreak};
  e.lDelayMs = delay;
  return e;
}
MacroElementRecord Click(int32_t click, bool press, int32_t delay = 0) {
  MacroElementRecord e;
  e.actionType = kActionClick;
  e.info = {click, press ? 0 : kKeycodeOptionsBreak, 0};
  e.lDelayMs = delay;
  return e;
}

Bytes Elements(const std::vector<MacroElementRecord>& elements) {
  Bytes out;
  uint8_t state = 0;
  for (const MacroElementRecord& e : elements) EXPECT_EQ(EncodeMacroElement(e, state, out), kS_OK);
  return out;
}

Bytes Stream(const Bytes& elements, uint32_t fixed_delay = 10) {
  Bytes s(kMacroHeaderSize + elements.size(), 0);
  s[40] = static_cast<uint8_t>(fixed_delay >> 16);
  s[41] = static_cast<uint8_t>(fixed_delay >> 8);
  s[42] = static_cast<uint8_t>(fixed_delay);
  for (size_t i = 0; i < elements.size(); ++i) s[kMacroHeaderSize + i] = elements[i];
  return s;
}

TEST(MacroStream, KeyPressAndReleaseWithDelays) {
  EXPECT_EQ(Elements({Key(0x1E, true, 0), Key(0x1E, false, 300)}), (Bytes{0x01, 0x1E, 0x00, 0x1E, 0x12, 0x01, 0x2C}));
  // Any non-zero options word is a release; the scan code is the low byte.
  MacroElementRecord odd = Key(0x130, true);
  odd.info[kKeyOptions] = 7;
  EXPECT_EQ(Elements({odd}), (Bytes{0x00, 0x30}));
}

TEST(MacroStream, DelayEncodings) {
  struct Case {
    int32_t delay;
    Bytes bytes;
  };
  const Case cases[] = {{0, {}},
                        {-5, {}},
                        {1, {0x11, 0x01}},
                        {255, {0x11, 0xFF}},
                        {256, {0x12, 0x01, 0x00}},
                        {65535, {0x12, 0xFF, 0xFF}},
                        {65536, {0x13, 0x01, 0x00, 0x00}},
                        {16777215, {0x13, 0xFF, 0xFF, 0xFF}},
                        {16777216, {0x13, 0xFF, 0xFF, 0xFF}},
                        {0x7FFFFFFF, {0x13, 0xFF, 0xFF, 0xFF}}};
  for (const Case& c : cases) {
    Bytes out;
    EncodeDelay(c.delay, out);
    EXPECT_EQ(out, c.bytes) << c.delay;
  }
}

TEST(MacroStream, MouseEventsCarryTheRunningButtonState) {
  EXPECT_EQ(Elements({Click(kClickLeft, true), Click(kClickLeft, false)}), (Bytes{0x81, 0x80}));
  EXPECT_EQ(Elements({Click(kClickLeft, true), Click(kClickRight, true, 20), Click(kClickLeft, false),
                      Click(kClickButton5, true), Click(kClickRight, false), Click(kClickButton5, false)}),
            (Bytes{0x81, 0x83, 0x11, 20, 0x82, 0x92, 0x90, 0x80}));
  EXPECT_EQ(Elements({Click(kClickMiddle, true), Click(kClickButton4, true)}), (Bytes{0x84, 0x8C}));
}

TEST(MacroStream, AReleaseWithNoButtonHeldIsStillAMouseEvent) {
  const Bytes bytes = Elements({Click(kClickRight, false), Key(0x1E, true)});
  EXPECT_EQ(bytes, (Bytes{0x80, 0x01, 0x1E}));
  MacroRecord decoded;
  ASSERT_EQ(DecodeMacroStream(Stream(bytes), decoded), kS_OK);
  ASSERT_EQ(decoded.elements.size(), 2u);
  EXPECT_EQ(decoded.elements[0].actionType, kActionClick);
  EXPECT_EQ(decoded.elements[0].info[kClickOptions], kKeycodeOptionsBreak);
  EXPECT_EQ(decoded.elements[1], Key(0x1E, true));
}

TEST(MacroStream, ElementsThatCannotBeEncodedAddNothing) {
  struct Case {
    MacroElementRecord element;
    HResult hr;
  };
  MacroElementRecord property;
  property.actionType = kActionPropertyChange;
  MacroElementRecord raw;
  raw.actionType = kActionRawValue;
  for (const Case& c : {Case{Click(kClickDoubleLeft, true), kE_INVALIDARG}, Case{Click(-1, true), kE_INVALIDARG},
                        Case{Click(11, false), kE_INVALIDARG}, Case{property, kE_FAIL}, Case{raw, kE_FAIL}}) {
    Bytes out{0xAB};
    uint8_t state = 0x81;
    EXPECT_EQ(EncodeMacroElement(c.element, state, out), c.hr);
    EXPECT_EQ(out, Bytes{0xAB});
    EXPECT_EQ(state, 0x81);
  }
  MacroRecord macro;
  macro.elements = {Key(1, true), Click(kClickDoubleLeft, true)};
  Bytes stream{1, 2, 3};
  EXPECT_EQ(EncodeMacroStream(macro, stream), kE_INVALIDARG);
  EXPECT_EQ(stream, (Bytes{1, 2, 3}));
}

TEST(MacroStream, HeaderHasAZeroNameTheClampedFixedDelayAndSevenZeros) {
  struct Case {
    uint32_t fixed_delay;
    uint32_t stored;
  };
  for (const Case c : {Case{5, 10}, Case{0, 10}, Case{10, 10}, Case{1000, 1000}, Case{20000000, 0xFFFFFF}}) {
    MacroRecord macro;
    macro.FixedDelay = c.fixed_delay;
    macro.elements = {Key(0x1E, true)};
    Bytes stream;
    ASSERT_EQ(EncodeMacroStream(macro, stream), kS_OK);
    EXPECT_EQ(stream, Stream({0x01, 0x1E}, c.stored)) << c.fixed_delay;
  }
}

TEST(MacroStream, DecodingRestoresElementsAndFixedFields) {
  MacroRecord macro;
  macro.lVersion = 3;
  macro.options = 2;
  macro.type = 0;
  macro.lRepeat = 9;
  macro.FixedDelay = 250;
  macro.elements = {Key(0x1D, true, 5), Click(kClickLeft, true, 300), Key(0x1D, false, 70000),
                    Click(kClickButton4, true), Click(kClickLeft, false, 1), Click(kClickButton4, false)};
  for (MacroElementRecord& e : macro.elements) e.lHoldMs = 44;  // not stored
  Bytes stream;
  ASSERT_EQ(EncodeMacroStream(macro, stream), kS_OK);
  MacroRecord decoded;
  decoded.elements = {Key(1, true)};
  ASSERT_EQ(DecodeMacroStream(stream, decoded), kS_OK);
  EXPECT_EQ(decoded.lVersion, 0);
  EXPECT_EQ(decoded.options, kMacroOptionsUseRepeatCount);
  EXPECT_EQ(decoded.type, kMacroTypeKeystroke);
  EXPECT_EQ(decoded.lRepeat, 1);
  EXPECT_EQ(decoded.FixedDelay, 250u);
  for (MacroElementRecord& e : macro.elements) e.lHoldMs = 0;
  EXPECT_EQ(decoded.elements, macro.elements);
}

TEST(MacroStream, ShortStreamsHaveNoElements) {
  struct Case {
    size_t size;
    uint32_t fixed_delay;
  };
  Bytes full = Stream({0x01, 0x1E}, 0x0A0B0C);
  for (const Case c : {Case{0, 0}, Case{40, 0}, Case{42, 0}, Case{43, 0x0A0B0C}, Case{50, 0x0A0B0C}}) {
    MacroRecord decoded;
    ASSERT_EQ(DecodeMacroStream(std::span(full).first(c.size), decoded), kS_OK) << c.size;
    EXPECT_TRUE(decoded.elements.empty());
    EXPECT_EQ(decoded.FixedDelay, c.fixed_delay);
  }
}

TEST(MacroStream, DecodingNeverReadsPastTheSizeAndRejectsBadBytes) {
  struct Case {
    Bytes elements;
    HResult hr;
  };
  const Case cases[] = {
      {{0x01}, kE_FAIL},                    // key without its scan code
      {{0x01, 0x1E, 0x12, 0x01}, kE_FAIL},  // delay cut short
      {{0x81, 0x13, 0x00, 0x00}, kE_FAIL},
      {{0x11}, kE_INVALIDARG},              // a delay where an action belongs
      {{0x05, 0x00}, kE_INVALIDARG},
      {{0x7F}, kE_INVALIDARG},
      {{0x83}, kE_FAIL},                    // two buttons at once
      {{0xA0}, kE_FAIL},                    // a bit no button has
      {{0x81, 0x82}, kE_FAIL},              // left up and right down in one event
  };
  for (const Case& c : cases) {
    const Bytes stream = Stream(c.elements);
    // The stream ends exactly where the size says: the decoder sees nothing beyond it.
    const std::vector<uint8_t> heap(stream.begin(), stream.end());
    MacroRecord decoded;
    decoded.lRepeat = 77;
    EXPECT_EQ(DecodeMacroStream(heap, decoded), c.hr) << int(c.elements[0]);
    EXPECT_EQ(decoded.lRepeat, 77);  // untouched on failure
  }
}

TEST(MacroStream, SingleElementsDecodeFromTheFrontAndReportWhatTheyRead) {
  // Left down with 300 ms, then a key press: the element takes the delay, the action does not.
  const Bytes bytes{0x81, 0x12, 0x01, 0x2C, 0x01, 0x1E};
  uint8_t state = 0;
  MacroElementRecord element;
  size_t consumed = 0;
  ASSERT_EQ(DecodeMacroAction(bytes, state, element, consumed), kS_OK);
  EXPECT_EQ(consumed, 1u);
  EXPECT_EQ(element, Click(kClickLeft, true));
  EXPECT_EQ(state, 0x01);

  state = 0;
  ASSERT_EQ(DecodeMacroElement(bytes, state, element, consumed), kS_OK);
  EXPECT_EQ(consumed, 4u);
  EXPECT_EQ(element, Click(kClickLeft, true, 300));
  ASSERT_EQ(DecodeMacroElement(std::span(bytes).subspan(consumed), state, element, consumed), kS_OK);
  EXPECT_EQ(element, Key(0x1E, true));
  EXPECT_EQ(consumed, 2u);

  // Failures leave the state and the element as they were and consume nothing.
  const Bytes cut{0x80, 0x13, 0x00};  // left up, delay cut short
  const MacroElementRecord before = element;
  EXPECT_EQ(DecodeMacroElement(cut, state, element, consumed), kE_FAIL);
  EXPECT_EQ(consumed, 0u);
  EXPECT_EQ(state, 0x01);
  EXPECT_EQ(element, before);
  EXPECT_EQ(DecodeMacroAction({}, state, element, consumed), kE_FAIL);
}

TEST(MacroStream, SpaceRule) {
  struct Case {
    int32_t remaining;
    size_t size;
    bool fits;
  };
  for (const Case c : {Case{0, 480, true}, Case{0, 481, false}, Case{2, 1440, true}, Case{2, 1441, false},
                       Case{-1, 0, true}, Case{-1, 1, false}, Case{-5, 50, false}, Case{255, 65535, true}}) {
    EXPECT_EQ(MacroFits(c.remaining, c.size), c.fits) << c.remaining << " " << c.size;
  }
}

}  // namespace
}  // namespace quill::device
