// The named-mutex existence lock.
#include <gtest/gtest.h>
#include <windows.h>
#undef Yield

#include "middleware/transport/win/named_mutex_lock.h"
#include "middleware/transport/win/win_clock.h"

namespace quill::win {
namespace {

using Attempt = DeviceLock::Attempt;

TEST(NamedMutexLock, SecondAcquirerSeesTheLockUntilTheFirstReleases) {
  NamedMutexDeviceLock first, second;
  ASSERT_EQ(first.TryAcquire(), Attempt::kAcquired);
  EXPECT_EQ(second.TryAcquire(), Attempt::kAlreadyExists);
  EXPECT_EQ(second.TryAcquire(), Attempt::kAlreadyExists);
  first.Release();
  EXPECT_EQ(second.TryAcquire(), Attempt::kAcquired);
  EXPECT_EQ(first.TryAcquire(), Attempt::kAlreadyExists);
  second.Release();
  EXPECT_EQ(first.TryAcquire(), Attempt::kAcquired);
  first.Release();
}

TEST(NamedMutexLock, DestructionReleases) {
  {
    NamedMutexDeviceLock held;
    ASSERT_EQ(held.TryAcquire(), Attempt::kAcquired);
  }
  NamedMutexDeviceLock next;
  EXPECT_EQ(next.TryAcquire(), Attempt::kAcquired);
}

TEST(WinClockTest, TicksAdvanceOverASleep) {
  WinClock clock;
  const uint32_t start = clock.TickCount();
  clock.Sleep(50);
  clock.Yield();
  EXPECT_GE(clock.TickCount() - start, 40u);
}

}  // namespace
}  // namespace quill::win
