#include "configurator/kit/spin_repeat.h"

namespace quill::kit {

int SpinRepeatDelay(int steps_done) {
  if (steps_done <= 1) return 400;
  if (steps_done < 10) return 100;
  if (steps_done < 30) return 50;
  return 25;
}

}  // namespace quill::kit
