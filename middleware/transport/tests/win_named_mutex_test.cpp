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

// The tick count is the millisecond clock the lock's time-out is measured in.
// Its granularity and Sleep's are coarse, so it is compared with the
// performance counter over the same interval instead of with the time asked.
TEST(WinClockTest, TicksAreMillisecondsOverASleep) {
  WinClock clock;
  LARGE_INTEGER frequency, before, after;
  ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
  QueryPerformanceCounter(&before);
  const uint32_t start = clock.TickCount();
  clock.Sleep(300);
  clock.Yield();
  const uint32_t ticks = clock.TickCount() - start;
  QueryPerformanceCounter(&after);
  const double measured_ms =
      1000.0 * static_cast<double>(after.QuadPart - before.QuadPart) /
      static_cast<double>(frequency.QuadPart);
  EXPECT_GT(ticks, 0u);
  EXPECT_NEAR(static_cast<double>(ticks), measured_ms, 40.0);
}

}  // namespace
}  // namespace quill::win
