#include "configurator/waiting_box.h"

#include "configurator/worker_command.h"

namespace quill::cfg {

WaitingBoxAction WaitingBox::Tick(int32_t command) {
  if (closing_) return WaitingBoxAction::None;
  if (command == kCommandIdle) {
    closing_ = true;
    return WaitingBoxAction::Close;
  }
  if (++ticks_ % kWaitingBoxRepaintTicks == 0 && repaintOwner_) return WaitingBoxAction::RepaintOwner;
  return WaitingBoxAction::None;
}

}  // namespace quill::cfg
