// The existence lock around each exchange.
#include <gtest/gtest.h>

#include <deque>
#include <thread>

#include "middleware/transport/tests/transport_fixture.h"

namespace quill::test {
namespace {

using Attempt = DeviceLock::Attempt;

// Answers TryAcquire from a script, then with `then`.
class ScriptedLock : public DeviceLock {
 public:
  ScriptedLock(std::deque<Attempt> script, Attempt then) : script_(std::move(script)), then_(then) {}
  Attempt TryAcquire() override {
    ++tries;
    Attempt a = then_;
    if (!script_.empty()) {
      a = script_.front();
      script_.pop_front();
    }
    if (a == Attempt::kAcquired) ++held;
    return a;
  }
  void Release() override {
    ++releases;
    --held;
  }
  int tries = 0, releases = 0, held = 0;

 private:
  std::deque<Attempt> script_;
  Attempt then_;
};

class LockTest : public ::testing::Test {
 protected:
  LockTest() : port_(model_) {}
  HResult ExchangeWith(ScriptedLock& lock) {
    DriverHandler handler(port_, lock, clock_);
    FeatureReport report = BuildPerformanceRead();
    return handler.ExchangeFeatureReport(port_.MousePath(), report);
  }
  size_t Requests() const { return model_.LoggedRequests(CMD_PERFORMANCE).size(); }

  emu::QuillfernModel model_;
  emu::InProcessPort port_;
  FakeClock clock_;
};

TEST_F(LockTest, WaiterYieldsBetweenAttemptsAndNeverSleepsOrSendsMeanwhile) {
  ScriptedLock lock({Attempt::kAlreadyExists, Attempt::kAlreadyExists, Attempt::kAlreadyExists},
                    Attempt::kAcquired);
  EXPECT_EQ(ExchangeWith(lock), kS_OK);
  EXPECT_EQ(lock.tries, 4);
  EXPECT_EQ(clock_.yields(), 3u);
  EXPECT_EQ(clock_.sleeps(), (std::vector<uint32_t>{10, 10, 10}));  // only the exchange's own
  EXPECT_EQ(lock.releases, 1);
  EXPECT_EQ(lock.held, 0);
}

TEST_F(LockTest, LongWaitSleepsBetweenAttemptsAfterTheFirstYields) {
  ScriptedLock lock(std::deque<Attempt>(500, Attempt::kAlreadyExists), Attempt::kAcquired);
  EXPECT_EQ(ExchangeWith(lock), kS_OK);
  EXPECT_EQ(clock_.yields(), kLockSpinYields);
  const std::vector<uint32_t>& sleeps = clock_.sleeps();
  ASSERT_EQ(sleeps.size(), 500 - kLockSpinYields + 3);
  for (size_t i = 0; i < 500 - kLockSpinYields; ++i) EXPECT_EQ(sleeps[i], kLockRetrySleepMs);
  EXPECT_EQ(lock.releases, 1);
}

TEST_F(LockTest, FailedCreationIsNotTakenAsTheLock) {
  ScriptedLock lock({Attempt::kFailed, Attempt::kFailed}, Attempt::kAcquired);
  EXPECT_EQ(ExchangeWith(lock), kS_OK);
  EXPECT_EQ(lock.tries, 3);
  EXPECT_EQ(clock_.yields(), 2u);
  EXPECT_EQ(lock.releases, 1);
  EXPECT_EQ(Requests(), 1u);
}

TEST_F(LockTest, CreationThatKeepsFailingGivesAbortWithoutTraffic) {
  ScriptedLock lock({}, Attempt::kFailed);
  EXPECT_EQ(ExchangeWith(lock), kE_ABORT);
  EXPECT_EQ(Requests(), 0u);
  EXPECT_EQ(lock.releases, 0);  // nothing was held, nothing is released
  // Given up after the bound, never without giving the processor away between attempts
  // (the fake clock ticks 1 ms per yield and per sleep).
  EXPECT_EQ(clock_.yields(), kLockSpinYields);
  EXPECT_EQ(clock_.yields() + clock_.sleeps().size(), kLockFailureTimeoutMs);
  for (uint32_t ms : clock_.sleeps()) EXPECT_EQ(ms, kLockRetrySleepMs);
  EXPECT_EQ(port_.OpenHandles(), 0u);
}

TEST_F(LockTest, TakenLockIsWaitedForBeyondTheFailureBound) {
  std::deque<Attempt> script(3 * kLockFailureTimeoutMs, Attempt::kAlreadyExists);
  script.push_front(Attempt::kFailed);
  ScriptedLock lock(script, Attempt::kAcquired);
  EXPECT_EQ(ExchangeWith(lock), kS_OK);
}

TEST_F(LockTest, ResetReportWaitsForTheLockToo) {
  ScriptedLock lock({Attempt::kAlreadyExists, Attempt::kAlreadyExists}, Attempt::kAcquired);
  DriverHandler handler(port_, lock, clock_);
  EXPECT_EQ(handler.SendResetReport(port_.MousePath()), kS_OK);
  EXPECT_EQ(lock.tries, 3);
  EXPECT_EQ(lock.releases, 1);
  EXPECT_EQ(port_.Counters(port_.MousePath()).set_features, 1u);

  ScriptedLock broken({}, Attempt::kFailed);
  DriverHandler unlucky(port_, broken, clock_);
  EXPECT_EQ(unlucky.SendResetReport(port_.MousePath()), kE_ABORT);
  EXPECT_EQ(port_.Counters(port_.MousePath()).set_features, 1u);  // nothing more was sent
}

// Two clients (threads standing in for processes) share one mouse and one lock; the mouse's
// log shows whether their exchanges ever interleave.
TEST(LockAcrossClients, ConcurrentExchangesNeverInterleave) {
  emu::QuillfernModel model;
  model.SetBusyPolls(2);
  LocalLockState state;
  auto client = [&](uint32_t id, HResult& worst) {
    emu::InProcessPort port(model, id);
    LocalDeviceLock lock(state);
    FakeClock clock;
    DriverHandler handler(port, lock, clock);
    worst = handler.Initialise(QUILLFERN_PID);
    for (int i = 0; i < 40 && Succeeded(worst); ++i) {
      FeatureReport report = i % 2 ? BuildPerformanceRead() : BuildProfileRead(1);
      worst = handler.GetFeatureRaw(report, report.size(), false);
    }
  };
  HResult a = kE_FAIL, b = kE_FAIL;
  std::thread first(client, 1, std::ref(a));
  std::thread second(client, 2, std::ref(b));
  first.join();
  second.join();
  EXPECT_EQ(a, kS_OK);
  EXPECT_EQ(b, kS_OK);
  EXPECT_TRUE(model.Interleavings().empty()) << model.InterleaveVerdict();
  EXPECT_EQ(model.LoggedRequests(CMD_PERFORMANCE).size(), 40u);
}

}  // namespace
}  // namespace quill::test
