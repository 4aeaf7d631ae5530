#include <QCoreApplication>
#include <atomic>
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

TEST_F(MessagesTest, CancelPendingCallsReleasesAWaitingWorker) {
  Recorder r;
  HWND h = r.GetSafeHwnd();
  std::atomic<std::thread::id> id{};
  std::atomic<LRESULT> result{-1};
  std::thread worker([&] {
    id = std::this_thread::get_id();
    result = SendMessage(h, WM_USER, 9, 0);
  });
  while (id.load() == std::thread::id()) std::this_thread::yield();
  // Cancelling only reaches a send already waiting, so repeat (as owners
  // do) until the worker is released; this thread never runs the queue.
  while (result.load() == -1) {
    platform::CancelPendingCalls(id.load());
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  worker.join();
  EXPECT_EQ(result.load(), 0);
  platform::PumpMessages(10);
  EXPECT_TRUE(r.got.empty());  // an abandoned send never runs later
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
        nestedSawAll = platform::PumpUntil([&] { return got.size() == 4 && sent.load() == 9; }, 5000);
      }
      return result;
    }
  } r;
  HWND h = r.GetSafeHwnd();
  PostMessage(h, WM_USER, 0, 0);
  PostMessage(h, WM_USER + 1, 0, 0);  // already queued behind the nesting handler
  ASSERT_TRUE(platform::PumpUntil([&] { return r.worker.joinable() && r.sent.load() != -1; }, 10000));
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
      while (!f.detaching.load() && std::chrono::steady_clock::now() < until) std::this_thread::yield();
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
