// When a held spin arrow steps again: a pause after the first step, then a steady rate that
// quickens the longer the arrow is held.
#pragma once

namespace quill::kit {

// Milliseconds until the next step after `steps_done` steps of one press (the first step
// happens at the press itself).
int SpinRepeatDelay(int steps_done);

}  // namespace quill::kit
