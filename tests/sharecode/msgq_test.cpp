// The worker thread base and the timer message queue, with the clock's
// tick counter injected so timer scans are exact.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <regex>
#include <string>
#include <vector>

#include "sharecode/clock.h"
#include "fake_ticks.h"
#include "sharecode/qelmsgq.h"

namespace {

class RecordingQueue : public CQELMsgQ {
 public:
  int OnMessage(const SThreadMsg& msg, int forced) override {
    std::lock_guard<std::mutex> lock(mutex);
    handled.push_back(msg);
    return 0;
  }
  void OnIdle() override { ++idleCalls; }
  std::vector<int> Ids() {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<int> ids;
    for (const SThreadMsg& m : handled) ids.push_back(m.id);
    return ids;
  }
  using CQELMsgQ::Fetch;
  using CQELMsgQ::ProcessStep;
  std::mutex mutex;
  std::vector<SThreadMsg> handled;
  std::atomic<int> idleCalls{0};
};

SThreadMsg Msg(int type, int id) {
  SThreadMsg m;
  m.type = type;
  m.id = id;
  return m;
}

class MsgQueueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_ticks = 1000000;
    SetClockTickSource(&FakeTicks);
  }
  void TearDown() override {
    SetClockTickSource(nullptr);
    CMyThread::SetTraceSink(nullptr);
  }
};

TEST_F(MsgQueueTest, TimerFiresAtTheFirstScanAfterNineMillisecondsThenIsGone) {
  RecordingQueue q;
  q.SetIdleWait(0);
  q.SetTimer(7, 5, 11, 12, 13, 14);
  g_ticks += 9;  // due, but the queue looks at timers only after more than 9 ms
  q.Step();
  EXPECT_TRUE(q.handled.empty());
  g_ticks += 1;
  q.Step();
  ASSERT_EQ(q.handled.size(), 1u);
  const SThreadMsg& m = q.handled[0];
  EXPECT_EQ(m.type, THREAD_MSG_TIMER);
  EXPECT_EQ(m.id, 7);
  EXPECT_EQ(std::vector<int>(m.params, m.params + 5), (std::vector<int>{5, 11, 12, 13, 14}));
  g_ticks += 100;
  q.Step();
  EXPECT_EQ(q.handled.size(), 1u);  // one-shot
}

TEST_F(MsgQueueTest, TimersDueInOneScanArriveInListOrder) {
  RecordingQueue q;
  q.SetIdleWait(0);
  q.SetTimer(3, 30, 0, 0, 0, 0);
  q.SetTimer(1, 10, 0, 0, 0, 0);
  q.SetTimer(2, 500, 0, 0, 0, 0);
  g_ticks += 40;
  q.Step();
  EXPECT_EQ(q.Ids(), (std::vector<int>{3, 1}));
}

TEST_F(MsgQueueTest, OnePriorityGivesTheDefaultQuotaPerFetch) {
  RecordingQueue q;
  for (int i = 0; i < 150; ++i) q.PostMsg(5, Msg(10, i));
  EXPECT_EQ(q.GetPendingCount(), 150);
  std::list<SThreadMsg> out;
  q.Fetch(&out, false, 100, 0);
  EXPECT_EQ(out.size(), 100u);
  EXPECT_EQ(out.front().id, 0);
  EXPECT_EQ(q.GetPendingCount(), 50);
  EXPECT_EQ(q.Fetch(nullptr, false, 100, 0), -1);
}

TEST_F(MsgQueueTest, QuotasShareOnePassAmongPriorities) {
  RecordingQueue q;
  q.SetQuota(1, 2);  // priority 2 keeps quota 0, which counts as 1
  for (int i = 0; i < 5; ++i) {
    q.PostMsg(2, Msg(10, 200 + i));
    q.PostMsg(1, Msg(10, 100 + i));
  }
  std::list<SThreadMsg> out;
  q.Fetch(&out, false, 100, 0);
  std::vector<int> ids;
  for (auto& m : out) ids.push_back(m.id);
  EXPECT_EQ(ids, (std::vector<int>{100, 101, 200}));
  // A forced fetch keeps passing until every list is empty.
  out.clear();
  q.Fetch(&out, true, 100, 0);
  EXPECT_EQ(out.size(), 7u);
  EXPECT_EQ(q.GetPendingCount(), 0);
}

TEST_F(MsgQueueTest, QuitStopsTheLoopAfterTheMessagesBeforeIt) {
  RecordingQueue q;
  q.PostMsg(0, Msg(10, 1));
  q.PostMsg(0, Msg(THREAD_MSG_QUIT, 0));
  q.PostMsg(0, Msg(10, 2));
  EXPECT_EQ(q.ProcessStep(false, 0), 0);
  EXPECT_EQ(q.Ids(), (std::vector<int>{1}));
  EXPECT_FALSE(q.IsRunning());
  EXPECT_EQ(q.GetPendingCount(), 1);
  // A stopped queue processes nothing.
  EXPECT_EQ(q.ProcessStep(true, 0), 0);
  EXPECT_EQ(q.Ids(), (std::vector<int>{1}));
}

TEST_F(MsgQueueTest, ThreadRunsUntilQuitAndDropsPendingTimersAtExit) {
  SetClockTickSource(nullptr);
  int before = CMyThread::GetThreadCount();
  RecordingQueue q;
  q.SetTimer(99, 3600000, 0, 0, 0, 0);
  q.PostMsg(0, Msg(10, 1));
  q.PostMsg(0, Msg(THREAD_MSG_QUIT, 0));
  ASSERT_EQ(q.Start(256 * 1024), 0);
  EXPECT_EQ(CMyThread::GetThreadCount(), before + 1);
  EXPECT_EQ(q.WaitForExit(), 0);
  EXPECT_EQ(CMyThread::GetThreadCount(), before);
  EXPECT_EQ(q.Ids(), (std::vector<int>{1}));
  EXPECT_NE(q.GetThreadId(), 0);
}

TEST_F(MsgQueueTest, IdleStepWaitsBusyStepDoesNot) {
  SetClockTickSource(nullptr);
  using Clock = std::chrono::steady_clock;
  RecordingQueue q;
  auto t0 = Clock::now();
  q.Step();  // nothing there, idle since construction: waits the idle time
  EXPECT_GE(Clock::now() - t0, std::chrono::milliseconds(45));
  EXPECT_EQ(q.idleCalls.load(), 1);

  // A long idle wait, so that a step that waited stands out from one that
  // was merely slow on a loaded machine.
  q.SetIdleWait(20000);
  q.PostMsg(0, Msg(10, 1));
  q.Step();  // idle flag set, but a message is there: no wait
  q.PostMsg(0, Msg(10, 2));
  t0 = Clock::now();
  q.Step();  // after a busy step the wait time is 0
  EXPECT_LT(Clock::now() - t0, std::chrono::milliseconds(10000));
  EXPECT_EQ(q.Ids(), (std::vector<int>{1, 2}));
}

class FailingInit : public CMyThread {
 public:
  int Init() override { return -1; }
  int Step() override {
    ++steps;
    return 0;
  }
  int Exit() override {
    ++exits;
    return 0;
  }
  int steps = 0, exits = 0;
};

TEST_F(MsgQueueTest, RunStopsAtOnceWhenInitFails) {
  FailingInit t;
  EXPECT_EQ(t.Run(), -1);
  EXPECT_EQ(t.steps + t.exits, 0);
}

TEST_F(MsgQueueTest, UnhandledMessagesAreTracedWithPaddedFileName) {
  std::vector<std::string> lines;
  CMyThread::SetTraceSink([&](const std::string& line) { lines.push_back(line); });
  CQELMsgQ q;
  q.OnMessage(Msg(THREAD_MSG_TIMER, 1256), 0);
  q.OnMessage(Msg(42, 7), 0);
  ASSERT_EQ(lines.size(), 2u);
  const std::string bar = "\\$\\$\\$\\$\\$\\$\\$\\$\\$\\$\\$\\$\\$\\$\\$\\$\\$\\$\\$\\$\\$";
  EXPECT_TRUE(std::regex_match(
      lines[0], std::regex("<\\d{8} \\d{6}\\.\\d{3},           qelmsgq, 81>0: " + bar +
                           " the msg\\[timerID=1256\\] has not been deal\\. " + bar + "\n")))
      << lines[0];
  EXPECT_NE(lines[1].find("the msg[msgID=42] has not been deal."), std::string::npos);

  // Names longer than 17 columns are cut; levels above the threshold are silent.
  q.Trace("src/a_very_long_source_name.cpp", 12, 0, "x=%d\n", 5);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_NE(lines[2].find(", a_very_long_sourc, 12>0: x=5\n"), std::string::npos) << lines[2];
  q.Trace("a.cpp", 1, 1, "hidden");
  EXPECT_EQ(lines.size(), 3u);
  q.SetTraceLevel(1);
  q.Trace("a.cpp", 1, 1, "shown");
  EXPECT_EQ(lines.size(), 4u);
}

}  // namespace
