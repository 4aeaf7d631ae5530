#include <QCoreApplication>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/msgbox.h"
#include "platform/window.h"

namespace {

QCoreApplication* App() {
  static int argc = 1;
  static char arg0[] = "test_platform";
  static char* argv[] = {arg0, nullptr};
  static QCoreApplication* app = QCoreApplication::instance() ? QCoreApplication::instance()
                                                              : new QCoreApplication(argc, argv);
  return app;
}

class Recorder : public platform::MsgTarget {
 public:
  struct Msg {
    UINT message;
    WPARAM w;
    LPARAM l;
    bool onUi;
  };
  std::vector<Msg> got;
  LRESULT WindowProc(UINT message, WPARAM w, LPARAM l) override {
    got.push_back({message, w, l, platform::IsUiThread()});
    return (LRESULT)(w * 2 + 1);
  }
};

class MessagesTest : public ::testing::Test {
 protected:
  void SetUp() override { App(); }
};

TEST_F(MessagesTest, PostsFromAWorkerArriveOnTheUiThreadInOrder) {
  Recorder r;
  HWND h = r.GetSafeHwnd();
  std::thread worker([h] {
    for (int i = 0; i < 1000; ++i) PostMessage(h, WM_USER + 1, (WPARAM)i, -i);
  });
  worker.join();
  ASSERT_TRUE(platform::PumpUntil([&] { return r.got.size() == 1000; }, 5000));
  for (int i = 0; i < 1000; ++i) {
    EXPECT_EQ(r.got[i].w, (WPARAM)i);
    EXPECT_EQ(r.got[i].l, -i);
    EXPECT_TRUE(r.got[i].onUi);
  }
}

TEST_F(MessagesTest, SendFromAWorkerReturnsTheHandlersResult) {
  Recorder r;
  HWND h = r.GetSafeHwnd();
  std::atomic<LRESULT> result{-1};
  std::thread worker([&] { result = SendMessage(h, WM_USER + 2, 20, 0); });
  ASSERT_TRUE(platform::PumpUntil([&] { return result.load() != -1; }, 5000));
  worker.join();
  EXPECT_EQ(result.load(), 41);
  ASSERT_EQ(r.got.size(), 1u);
  EXPECT_TRUE(r.got[0].onUi);
  // On the user-interface thread a send runs at once.
  EXPECT_EQ(SendMessage(h, WM_USER, 3, 0), 7);
}

TEST_F(MessagesTest, SendToADestroyedTargetNeverHangs) {
  auto r = std::make_unique<Recorder>();
  HWND h = r->GetSafeHwnd();
  std::atomic<int> phase{0};
  std::atomic<LRESULT> result{-1};
  // The worker's send is queued but not handled; destroying the target
  // releases it with 0.
  std::thread worker([&] {
    phase = 1;
    result = SendMessage(h, WM_USER, 5, 0);
  });
  while (phase.load() == 0) std::this_thread::yield();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  r.reset();
  worker.join();
  EXPECT_EQ(result.load(), 0);
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(SendMessage(h, WM_USER, 1, 0), 0);
  EXPECT_FALSE(PostMessage(h, WM_USER, 1, 0));
  platform::PumpMessages(10);  // the stale queued send must not run
}

// Sends from a thread of its own and cancels the send until the thread is
// released; this thread never runs the queue meanwhile. Returns what the
// send returned, once that thread has ended.
LRESULT SendAndCancelIt(HWND h, WPARAM w) {
  std::atomic<std::thread::id> id{};
  std::atomic<LRESULT> result{-1};
  std::thread worker([&] {
    id = std::this_thread::get_id();
    result = SendMessage(h, WM_USER, w, 0);
  });
  while (id.load() == std::thread::id()) std::this_thread::yield();
  // Cancelling only reaches a send already waiting, so repeat (as owners
  // do) until the worker is released.
  while (result.load() == -1) {
    platform::CancelPendingCalls(id.load());
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  worker.join();
  return result.load();
}

TEST_F(MessagesTest, CancelPendingCallsReleasesAWaitingWorker) {
  Recorder r;
  EXPECT_EQ(SendAndCancelIt(r.GetSafeHwnd(), 9), 0);
  platform::PumpMessages(10);
  EXPECT_TRUE(r.got.empty());  // an abandoned send never runs later
}

// Posts, sends and calls from several workers at once, many queue blocks
// worth: each worker's messages arrive in the order it made them.
TEST_F(MessagesTest, PostsSendsAndCallsKeepEachWorkersOrder) {
  constexpr int kWorkers = 4, kEach = 3000;
  Recorder r;
  HWND h = r.GetSafeHwnd();
  std::atomic<int> finished{0};
  std::vector<std::thread> workers;
  for (int w = 0; w < kWorkers; ++w) {
    workers.emplace_back([&, w] {
      for (int i = 0; i < kEach; ++i) {
        const WPARAM tag = (WPARAM)(w << 16 | i);
        switch (i % 5) {
          case 0: EXPECT_EQ(SendMessage(h, WM_USER, tag, 0), (LRESULT)(tag * 2 + 1)); break;
          case 1:
            platform::CallOnUiThread([&r, tag] { return r.WindowProc(WM_USER + 1, tag, 0); });
            break;
          default: EXPECT_TRUE(PostMessage(h, WM_USER, tag, 0)); break;
        }
      }
      ++finished;
    });
  }
  ASSERT_TRUE(platform::PumpUntil(
      [&] { return finished.load() == kWorkers && r.got.size() == kWorkers * kEach; }, 30000));
  for (auto& t : workers) t.join();
  int next[kWorkers] = {};
  for (const auto& m : r.got) {
    const int w = (int)(m.w >> 16), i = (int)(m.w & 0xFFFF);
    ASSERT_EQ(i, next[w]++) << "worker " << w;
    EXPECT_EQ(m.message, i % 5 == 1 ? WM_USER + 1 : (UINT)WM_USER);
    EXPECT_TRUE(m.onUi);
  }
}

// A thread's abandoned send stays queued after the thread ends; the next
// thread to call (which takes over its place) neither runs it nor gets its
// answer.
TEST_F(MessagesTest, AnAbandonedSendNeverAnswersALaterCaller) {
  Recorder r;
  HWND h = r.GetSafeHwnd();
  EXPECT_EQ(SendAndCancelIt(h, 1), 0);
  std::atomic<LRESULT> later{-1};
  std::thread caller([&] { later = SendMessage(h, WM_USER, 2, 0); });
  ASSERT_TRUE(platform::PumpUntil([&] { return later.load() != -1; }, 5000));
  caller.join();
  EXPECT_EQ(later.load(), 5);
  ASSERT_EQ(r.got.size(), 1u);
  EXPECT_EQ(r.got[0].w, 2u);
}

// Cancelling a caller releases it from a function that is running (the
// function owns its data), never from a send whose handler is running (the
// handler may use the sender's data).
TEST_F(MessagesTest, CancellingWhileRunningReleasesFunctionsOnly) {
  for (const bool function : {true, false}) {
    SCOPED_TRACE(function ? "function" : "send");
    std::atomic<std::thread::id> id{};
    std::atomic<LRESULT> result{-1};
    std::atomic<bool> returnedWhileRunning{false};
    auto running = [&]() -> LRESULT {
      platform::CancelPendingCalls(id.load());
      if (function) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (result.load() == -1 && std::chrono::steady_clock::now() < until)
          std::this_thread::yield();
        returnedWhileRunning = result.load() != -1;
      }
      return 7;
    };
    struct Target : platform::MsgTarget {
      std::function<LRESULT()> onMessage;
      LRESULT WindowProc(UINT, WPARAM, LPARAM) override { return onMessage(); }
    } target;
    target.onMessage = running;
    HWND h = target.GetSafeHwnd();
    std::thread caller([&] {
      id = std::this_thread::get_id();
      result = function ? platform::CallOnUiThread(running) : SendMessage(h, WM_USER, 0, 0);
    });
    ASSERT_TRUE(platform::PumpUntil([&] { return result.load() != -1; }, 10000));
    caller.join();
    EXPECT_EQ(result.load(), function ? 0 : 7);
    EXPECT_EQ(returnedWhileRunning.load(), function);
  }
}

// A handler may end its own target (delete this); what was queued for it
// after that is dropped, and a send waiting for it returns 0.
TEST_F(MessagesTest, AHandlerMayEndItsOwnTarget) {
  struct SelfEnding : platform::MsgTarget {
    std::atomic<int>* handled;
    LRESULT WindowProc(UINT message, WPARAM, LPARAM) override {
      ++*handled;
      if (message == WM_CLOSE) delete this;
      return 1;
    }
  };
  std::atomic<int> handled{0};
  auto* target = new SelfEnding;
  target->handled = &handled;
  HWND h = target->GetSafeHwnd();
  PostMessage(h, WM_CLOSE, 0, 0);
  PostMessage(h, WM_USER, 0, 0);
  std::atomic<LRESULT> sent{-1};
  std::thread sender([&] { sent = SendMessage(h, WM_USER, 0, 0); });
  ASSERT_TRUE(platform::PumpUntil([&] { return sent.load() != -1; }, 5000));
  sender.join();
  EXPECT_EQ(sent.load(), 0);
  EXPECT_EQ(handled.load(), 1);
  EXPECT_FALSE(IsWindow(h));
}

// Handles are never reused: a stale handle stays dead while new targets
// (more than one block of the handle table's worth) come and go.
TEST_F(MessagesTest, HandlesOfEndedTargetsStayDead) {
  constexpr int kTargets = 1500;
  std::vector<HWND> old;
  {
    std::vector<std::unique_ptr<Recorder>> targets;
    for (int i = 0; i < kTargets; ++i) {
      targets.push_back(std::make_unique<Recorder>());
      old.push_back(targets.back()->GetSafeHwnd());
    }
  }
  std::vector<std::unique_ptr<Recorder>> fresh;
  for (int i = 0; i < kTargets; ++i) fresh.push_back(std::make_unique<Recorder>());
  for (HWND h : old) {
    ASSERT_FALSE(IsWindow(h));
    ASSERT_FALSE(PostMessage(h, WM_USER, 1, 0));
  }
  std::thread worker([&] {
    for (auto& t : fresh) PostMessage(t->GetSafeHwnd(), WM_USER, 2, 0);
  });
  worker.join();
  ASSERT_TRUE(platform::PumpUntil([&] { return fresh.back()->got.size() == 1; }, 5000));
  for (int i = 0; i < kTargets; ++i) {
    ASSERT_EQ(std::count(old.begin(), old.end(), fresh[i]->GetSafeHwnd()), 0);
    ASSERT_EQ(fresh[i]->got.size(), 1u);
    EXPECT_EQ(fresh[i]->got[0].w, 2u);
  }
}

// A handler that runs a nested loop (a modal box, a wait) still gets the
// queue's later posts and a worker's send delivered inside that loop.
TEST_F(MessagesTest, ANestedLoopInAHandlerKeepsTheQueueRunning) {
  struct Nester : Recorder {
    bool nestedSawAll = false;
    std::thread worker;
    std::atomic<LRESULT> sent{-1};
    LRESULT WindowProc(UINT message, WPARAM w, LPARAM l) override {
      LRESULT result = Recorder::WindowProc(message, w, l);
      if (message == WM_USER) {
        HWND h = GetSafeHwnd();
        PostMessage(h, WM_USER + 2, 0, 0);
        worker = std::thread([this, h] { sent = SendMessage(h, WM_USER + 3, 4, 0); });
        nestedSawAll =
            platform::PumpUntil([&] { return got.size() == 4 && sent.load() == 9; }, 5000);
      }
      return result;
    }
  } r;
  HWND h = r.GetSafeHwnd();
  PostMessage(h, WM_USER, 0, 0);
  PostMessage(h, WM_USER + 1, 0, 0);  // already queued behind the nesting handler
  ASSERT_TRUE(
      platform::PumpUntil([&] { return r.worker.joinable() && r.sent.load() != -1; }, 10000));
  r.worker.join();
  EXPECT_TRUE(r.nestedSawAll);
  ASSERT_EQ(r.got.size(), 4u);
  EXPECT_EQ(r.got[1].message, WM_USER + 1u);  // still in queue order
  EXPECT_EQ(r.got[2].message, WM_USER + 2u);
}

// A target ended on a worker while its handler runs on the user-interface
// thread is not freed under that handler: DetachHandle waits for it.
TEST_F(MessagesTest, DetachOnAWorkerWaitsForTheRunningHandler) {
  struct Flags {
    std::atomic<bool> entered{false}, detaching{false}, detached{false}, handled{false};
    std::atomic<int> detachedWhileRunning{-1};
  } f;
  struct Slow : platform::MsgTarget {
    Flags& f;
    explicit Slow(Flags& flags) : f(flags) {}
    ~Slow() override { DetachHandle(); }
    LRESULT WindowProc(UINT, WPARAM, LPARAM) override {
      f.entered = true;
      const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
      while (!f.detaching.load() && std::chrono::steady_clock::now() < until)
        std::this_thread::yield();
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
      f.detachedWhileRunning = f.detached.load() ? 1 : 0;
      f.handled = true;
      return 1;
    }
  };
  auto* target = new Slow(f);
  PostMessage(target->GetSafeHwnd(), WM_USER, 0, 0);
  std::thread worker([&f, target] {
    while (!f.entered.load()) std::this_thread::yield();
    f.detaching = true;
    delete target;  // its destructor detaches first
    f.detached = true;
  });
  ASSERT_TRUE(platform::PumpUntil([&] { return f.handled.load(); }, 10000));
  worker.join();
  EXPECT_EQ(f.detachedWhileRunning.load(), 0);
}

// A run of sends to one target: the handler at once on the user-interface
// thread, nothing once the target has ended (by one of its own handlers or
// before the run began), a worker's end of the target held off until the
// run is over, and a run made on a worker sends through the queue.
TEST_F(MessagesTest, ARunOfSendsReachesItsTargetWhileItLives) {
  struct SelfEnding : Recorder {
    LRESULT WindowProc(UINT message, WPARAM w, LPARAM l) override {
      const LRESULT result = Recorder::WindowProc(message, w, l);
      if (message == WM_CLOSE) DetachHandle();
      return result;
    }
  } r;
  {
    platform::TargetRun run(r.GetSafeHwnd());
    EXPECT_EQ(run.Target(), r.GetSafeHwnd());
    EXPECT_EQ(run.Send(WM_USER, 3, 4), 7);
    EXPECT_EQ(run.Send(WM_CLOSE, 5, 0), 11);
    EXPECT_EQ(run.Send(WM_USER, 6, 0), 0);  // ended by its own handler: not called
  }
  ASSERT_EQ(r.got.size(), 2u);
  EXPECT_EQ(r.got[0].l, 4);
  EXPECT_TRUE(r.got[0].onUi);
  EXPECT_EQ(platform::TargetRun(r.GetSafeHwnd()).Send(WM_USER, 1, 0), 0);
  EXPECT_EQ(r.got.size(), 2u);

  // Ended on a worker during a run: the handle is dead at once, so the run
  // sends nothing more, and the worker waits for the run's end before the
  // object may go.
  auto* other = new Recorder;
  const HWND otherHandle = other->GetSafeHwnd();
  std::atomic<bool> detached{false};
  std::thread worker;
  {
    platform::TargetRun run(otherHandle);
    EXPECT_EQ(run.Send(WM_USER, 1, 0), 3);
    worker = std::thread([&] {
      other->DetachHandle();
      detached = true;
    });
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (IsWindow(otherHandle) && std::chrono::steady_clock::now() < until)
      std::this_thread::yield();
    EXPECT_EQ(run.Send(WM_USER, 2, 0), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(detached.load());
  }
  worker.join();
  EXPECT_TRUE(detached.load());
  EXPECT_EQ(other->got.size(), 1u);
  delete other;

  // Made on a worker: each send goes to the user-interface thread.
  Recorder target;
  std::atomic<LRESULT> result{-1};
  std::thread sender([&] {
    platform::TargetRun run(target.GetSafeHwnd());
    result = run.Send(WM_USER, 10, 0);
  });
  ASSERT_TRUE(platform::PumpUntil([&] { return result.load() != -1; }, 5000));
  sender.join();
  EXPECT_EQ(result.load(), 21);
  ASSERT_EQ(target.got.size(), 1u);
  EXPECT_TRUE(target.got[0].onUi);
}

// Workers post, send and call while targets come and go on both threads;
// run under the sanitizers this finds races and use after free.
TEST_F(MessagesTest, TrafficWhileTargetsComeAndGo) {
  constexpr int kTargets = 8;
  std::atomic<HWND> handles[kTargets];
  std::unique_ptr<Recorder> owned[kTargets];
  for (int i = 0; i < kTargets; ++i) {
    owned[i] = std::make_unique<Recorder>();
    handles[i] = owned[i]->GetSafeHwnd();
  }
  std::atomic<bool> stop{false};
  std::atomic<long> calls{0};
  std::atomic<int> finished{0};
  std::vector<std::thread> workers;
  for (int w = 0; w < 3; ++w) {
    workers.emplace_back([&, w] {
      for (unsigned n = w; !stop.load(); ++n) {
        HWND h = handles[n % kTargets].load();
        switch (n % 3) {
          case 0: PostMessage(h, WM_USER, n, 0); break;
          case 1: SendMessage(h, WM_USER, n, 0); break;
          default: platform::CallOnUiThread([&calls] { return (LRESULT)++calls; }); break;
        }
      }
      ++finished;
    });
  }
  // One worker ends targets of its own: they are made and destroyed there.
  workers.emplace_back([&] {
    while (!stop.load()) {
      Recorder mine;
      handles[0] = mine.GetSafeHwnd();
      PostMessage(mine.GetSafeHwnd(), WM_USER, 1, 0);
      std::this_thread::yield();
      mine.DetachHandle();
    }
    ++finished;
  });
  for (int round = 0; round < 200; ++round) {
    int i = 1 + round % (kTargets - 1);
    owned[i] = std::make_unique<Recorder>();  // the old one goes with its queued messages
    handles[i] = owned[i]->GetSafeHwnd();
    platform::PumpMessages(1);
  }
  stop = true;
  EXPECT_TRUE(platform::PumpUntil([&] { return finished.load() == (int)workers.size(); }, 10000));
  for (auto& t : workers) t.join();
  EXPECT_GT(calls.load(), 0);
}

TEST_F(MessagesTest, TimersFireWithTheirIdsUntilKilled) {
  Recorder r;
  HWND h = r.GetSafeHwnd();
  ASSERT_EQ(SetTimer(h, 1256, 5), 1256u);
  ASSERT_EQ(SetTimer(h, 7, 5), 7u);
  auto count = [&](WPARAM id) {
    int n = 0;
    for (auto& m : r.got) n += m.message == WM_TIMER && m.w == id;
    return n;
  };
  ASSERT_TRUE(platform::PumpUntil([&] { return count(1256) >= 3 && count(7) >= 3; }, 5000));
  EXPECT_TRUE(KillTimer(h, 1256));
  EXPECT_FALSE(KillTimer(h, 1256));
  int before = count(1256);
  platform::PumpMessages(50);
  EXPECT_EQ(count(1256), before);
}

TEST_F(MessagesTest, ABoxAskedForOnAWorkerIsShownOnTheUiThread) {
  platform::ScopedRecordingBoxes boxes;
  boxes.QueueAnswer(IDNO);
  std::atomic<int> answer{-1};
  std::thread worker([&] { answer = MessageBox(nullptr, "text", "caption", MB_YESNO); });
  ASSERT_TRUE(platform::PumpUntil([&] { return answer.load() != -1; }, 5000));
  worker.join();
  EXPECT_EQ(answer.load(), IDNO);
  auto shown = boxes.Boxes();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "text");
  EXPECT_EQ(shown[0].caption, "caption");
  // Without a queued answer the first button answers.
  EXPECT_EQ(MessageBox(nullptr, "q", "c", MB_YESNO), IDYES);
}

}  // namespace
