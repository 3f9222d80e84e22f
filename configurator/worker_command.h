// The command word between the main dialog and the DeviceWorker thread, the flags the worker,
// the apply and the watchdog share, and the worker's handling of one command.
//
// Values of the word: 0 idle, 1 open the connection, 2 apply the settings, 20 apply finished
// (the watchdog sets it back to 0). The main thread writes 1 and 2 and the watchdog's 0; the
// worker writes 20 and its own resets. Every access is atomic.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>

namespace quill::cfg {

inline constexpr int32_t kCommandIdle = 0;
inline constexpr int32_t kCommandOpen = 1;
inline constexpr int32_t kCommandApply = 2;
inline constexpr int32_t kCommandApplied = 20;

class WorkerCommand {
 public:
  int32_t Load() const { return value_.load(); }
  void Store(int32_t value) { value_.store(value); }
  // Sets the word from expected to desired; false (and nothing changed) when it holds another
  // value, because the other thread wrote it in between.
  bool Replace(int32_t expected, int32_t desired) { return value_.compare_exchange_strong(expected, desired); }

 private:
  std::atomic<int32_t> value_{kCommandIdle};
};

// State shared by the main thread (dialog, watchdog), the worker and the waiting boxes.
struct SessionFlags {
  WorkerCommand command;
  std::atomic<bool> opened{false};              // the worker finished opening the connection
  std::atomic<bool> mainConnected{false};       // last known state of the main device
  std::atomic<bool> alternateConnected{false};  // the same for the alternate device
  std::atomic<bool> reconnectExpected{false};   // the polling rate changed: the mouse reconnects
  std::atomic<bool> watchdogPaused{false};      // the watchdog does nothing while set
};

enum class WorkerTask { None, Open, Apply };

// The worker's memory between two looks at the word.
struct WorkerState {
  int32_t lastHandled = kCommandIdle;  // the value the worker left in the word last time
};

// One look of the worker at the word (once a second): nothing when it is 0 or what the worker
// left there last time; 1 runs open, 2 runs apply and leaves 20; afterwards a value below 20
// becomes 0. A command the main thread writes while a task runs is kept for the next look.
// Returns the task that ran.
WorkerTask HandleCommand(WorkerCommand& command, WorkerState& state, const std::function<void()>& open,
                         const std::function<void()>& apply);

}  // namespace quill::cfg
