// The monotonic clock over an injected 32-bit tick counter.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "sharecode/clock.h"
#include "fake_ticks.h"

namespace {

class ClockTest : public ::testing::Test {
 protected:
  void SetUp() override { SetClockTickSource(&FakeTicks); }
  void TearDown() override { SetClockTickSource(nullptr); }
  static SClockValue At(uint32_t ticks) {
    g_ticks = ticks;
    return ClockNow();
  }
};

TEST_F(ClockTest, KeepsGrowingAcrossTheTickCounterWrap) {
  struct Case {
    uint32_t before, after;
    int64_t elapsed;
  };
  const Case cases[] = {
      {0xFFFFFF00u, 100, 356},
      // 4294967.295 s plus 801 ms: the milliseconds carry into the seconds.
      {0xFFFFFFFFu, 800, 801},
      {0xFFFFFFFFu, 0, 1},
  };
  for (const Case& c : cases) {
    SetClockTickSource(&FakeTicks);
    SClockValue before = At(c.before);
    SClockValue after = At(c.after);
    EXPECT_TRUE(ClockLess(before, after)) << c.before << " -> " << c.after;
    EXPECT_LT(after.milliseconds, 1000);
    EXPECT_EQ(ClockDiffMs(after, before), c.elapsed);
    // Later reads after the wrap keep the corrected base.
    SClockValue later = At(c.after + 5000);
    EXPECT_EQ(ClockDiffMs(later, after), 5000);
  }
}

TEST_F(ClockTest, SecondWrapAddsAnotherPeriod) {
  SClockValue start = At(10);
  At(0xF0000000u);
  At(5);  // first wrap
  At(0xF0000000u);
  SClockValue end = At(10);  // second wrap
  EXPECT_EQ(ClockDiffMs(end, start), 2 * 4294967296LL);
}

TEST(ClockThreads, ConcurrentReadersNeverSeeAFalseWrap) {
  SetClockTickSource(nullptr);
  std::vector<std::thread> threads;
  std::atomic<int> jumps{0};
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      SClockValue previous = ClockNow();
      for (int i = 0; i < 20000; ++i) {
        SClockValue now = ClockNow();
        if (ClockLess(now, previous) || ClockDiffMs(now, previous) > 60000) ++jumps;
        previous = now;
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(jumps.load(), 0);
}

TEST(ClockValues, DiffAndOrder) {
  // 40 days apart: beyond what 32 bits of milliseconds hold.
  SClockValue a{40ull * 86400, 500}, b{0, 900};
  EXPECT_EQ(ClockDiffMs(a, b), 40ll * 86400 * 1000 - 400);
  EXPECT_EQ(ClockDiffMs(b, a), -(40ll * 86400 * 1000 - 400));
  EXPECT_TRUE(ClockLess(SClockValue{1, 999}, SClockValue{2, 0}));
  EXPECT_TRUE(ClockLess(SClockValue{2, 1}, SClockValue{2, 2}));
  EXPECT_FALSE(ClockLess(SClockValue{2, 2}, SClockValue{2, 2}));
  ClockReset(a);
  EXPECT_EQ(a.seconds, 0u);
  EXPECT_EQ(a.milliseconds, 0);
}

}  // namespace
