// The cross-process existence lock (a named mutex that is created, never waited on).
#pragma once

namespace quill {

class DeviceLock {
 public:
  enum class Attempt { kAcquired, kAlreadyExists, kFailed };
  virtual ~DeviceLock() = default;
  // CreateMutexW(DeviceMutexName): kAcquired when this call created the object,
  // kAlreadyExists when it only opened it (the handle is closed again), kFailed otherwise.
  virtual Attempt TryAcquire() = 0;
  // Closes the handle taken by a successful TryAcquire.
  virtual void Release() = 0;
};

}  // namespace quill
