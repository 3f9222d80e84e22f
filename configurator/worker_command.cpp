#include "configurator/worker_command.h"

namespace quill::cfg {

WorkerTask HandleCommand(WorkerCommand& command, WorkerState& state, const std::function<void()>& open,
                         const std::function<void()>& apply) {
  const int32_t value = command.Load();
  if (value == kCommandIdle || value == state.lastHandled) return WorkerTask::None;

  WorkerTask task = WorkerTask::None;
  int32_t left = value;
  if (value == kCommandOpen) {
    task = WorkerTask::Open;
    if (open) open();
  } else if (value == kCommandApply) {
    task = WorkerTask::Apply;
    if (apply) apply();
    // The dialog is disabled while it applies, so nothing else writes the word now; the store is
    // unconditional as the watchdog waits for exactly this value.
    command.Store(kCommandApplied);
    left = kCommandApplied;
  }
  if (left < kCommandApplied) {
    command.Replace(left, kCommandIdle);
    left = kCommandIdle;
  }
  state.lastHandled = left;
  return task;
}

}  // namespace quill::cfg
