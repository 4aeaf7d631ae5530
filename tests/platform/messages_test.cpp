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
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  platform::CancelPendingCalls(id.load());
  worker.join();
  EXPECT_EQ(result.load(), 0);
  platform::PumpMessages(10);
  EXPECT_TRUE(r.got.empty());
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
