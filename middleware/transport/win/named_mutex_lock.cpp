#include "middleware/transport/win/named_mutex_lock.h"

#include "middleware/transport/device_ids.h"
#include "middleware/typelib/hresult_codes.h"

namespace quill::win {

static_assert(kErrorAlreadyExists == ERROR_ALREADY_EXISTS);

DeviceLock::Attempt NamedMutexDeviceLock::TryAcquire() {
  if (handle_ != nullptr) return Attempt::kAcquired;  // already held through this object
  HANDLE handle =
      CreateMutexW(nullptr, FALSE, reinterpret_cast<const wchar_t*>(DeviceMutexName));
  const DWORD error = GetLastError();
  if (handle == nullptr) return Attempt::kFailed;
  if (error == ERROR_ALREADY_EXISTS) {
    CloseHandle(handle);
    return Attempt::kAlreadyExists;
  }
  handle_ = handle;
  return Attempt::kAcquired;
}

void NamedMutexDeviceLock::Release() {
  if (handle_ != nullptr) CloseHandle(handle_);
  handle_ = nullptr;
}

}  // namespace quill::win
