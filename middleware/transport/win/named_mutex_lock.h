// The cross-process existence lock: the named mutex DeviceMutexName. Whoever creates the object
// holds the lock until it closes its handle; the mutex is never waited on or owned.
#pragma once
#include <windows.h>
#undef Yield  // obsolete 16-bit macro; clashes with Clock::Yield

#include "middleware/transport/device_lock.h"

namespace quill::win {

class NamedMutexDeviceLock : public DeviceLock {
 public:
  NamedMutexDeviceLock() = default;
  ~NamedMutexDeviceLock() override { Release(); }
  NamedMutexDeviceLock(const NamedMutexDeviceLock&) = delete;
  NamedMutexDeviceLock& operator=(const NamedMutexDeviceLock&) = delete;

  Attempt TryAcquire() override;
  void Release() override;

 private:
  HANDLE handle_ = nullptr;
};

}  // namespace quill::win
