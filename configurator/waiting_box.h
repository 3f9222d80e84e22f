// The waiting box (CWaitingDlg) shown while the worker reads or writes: it covers the main
// dialog until the command word is back at 0. Tick is its 10 ms timer.
#pragma once
#include <cstdint>
#include <string_view>

namespace quill::cfg {

inline constexpr uint32_t kWaitingBoxTimerMs = 10;
inline constexpr uint32_t kWaitingBoxRepaintTicks = 200;   // about every 2 s
inline constexpr uint32_t kWaitingBoxClosingDelayMs = 2000;

// The two messages (English texts; the box translates them).
inline constexpr std::u16string_view kWaitingTitle = u"Information";
inline constexpr std::u16string_view kReadingText =
    u"Reading configuration from Meridex\u2122. Mouse cursor may become non-responsive for a few seconds.";
inline constexpr std::u16string_view kWritingText =
    u"Writing configuration to Meridex\u2122. Mouse cursor may become non-responsive for a few seconds.";

enum class WaitingBoxAction {
  None,
  RepaintOwner,  // repaint the main dialog
  Close,         // after closingDelayMs, close with result 1
};

class WaitingBox {
 public:
  explicit WaitingBox(bool repaintOwner = true, uint32_t closingDelayMs = kWaitingBoxClosingDelayMs)
      : repaintOwner_(repaintOwner), closingDelayMs_(closingDelayMs) {}

  // One tick with the command word's current value.
  WaitingBoxAction Tick(int32_t command);
  uint32_t ClosingDelayMs() const { return closingDelayMs_; }

 private:
  bool repaintOwner_;
  uint32_t closingDelayMs_;
  uint32_t ticks_ = 0;
  bool closing_ = false;
};

}  // namespace quill::cfg
