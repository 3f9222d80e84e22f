// The existence lock among the threads of one process: several LocalDeviceLock objects over one
// LocalLockState behave like handles of the named mutex in several processes.
#pragma once
#include <atomic>

#include "middleware/transport/device_lock.h"

namespace quill {

struct LocalLockState {
  std::atomic<bool> exists{false};
};

class LocalDeviceLock : public DeviceLock {
 public:
  explicit LocalDeviceLock(LocalLockState& state) : state_(state) {}
  Attempt TryAcquire() override {
    bool expected = false;
    if (state_.exists.compare_exchange_strong(expected, true)) {
      held_ = true;
      return Attempt::kAcquired;
    }
    return Attempt::kAlreadyExists;
  }
  void Release() override {
    if (held_) state_.exists.store(false);
    held_ = false;
  }

 private:
  LocalLockState& state_;
  bool held_ = false;
};

}  // namespace quill
