// The message queue across application objects and at shutdown. Its own
// program: tests here make and destroy the application object and end with
// BeginShutdown, which lasts for the rest of the process.
#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include "platform/window.h"

namespace {

std::unique_ptr<QCoreApplication> MakeApp() {
  static int argc = 1;
  static char arg0[] = "test_platform_lifetime";
  static char* argv[] = {arg0, nullptr};
  return std::make_unique<QCoreApplication>(argc, argv);
}

class Counter : public platform::MsgTarget {
 public:
  std::atomic<int> count{0};
  LRESULT WindowProc(UINT, WPARAM w, LPARAM) override {
    ++count;
    return (LRESULT)w;
  }
};

// Waits without running the queue; true when done() became true.
template <class Pred>
bool WaitPlain(Pred done, int ms) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done() && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return done();
}

TEST(QueueAcrossApplications, PostsBeforeTheApplicationAndAfterARecreationArrive) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  Counter target;
  HWND h = target.GetSafeHwnd();
  std::thread([h] { PostMessage(h, WM_USER, 1, 0); }).join();
  auto app = MakeApp();
  EXPECT_TRUE(platform::PumpUntil([&] { return target.count.load() == 1; }, 5000));

  // Posted while the first application lives but never drained by it.
  std::thread([h] { PostMessage(h, WM_USER, 2, 0); }).join();
  app.reset();
  app = MakeApp();
  EXPECT_TRUE(platform::PumpUntil([&] { return target.count.load() == 2; }, 5000));
  // And the new one keeps draining.
  std::thread([h] { PostMessage(h, WM_USER, 3, 0); }).join();
  EXPECT_TRUE(platform::PumpUntil([&] { return target.count.load() == 3; }, 5000));
}

TEST(QueueAcrossApplications, ASendWaitingWhenTheApplicationEndsReturnsZero) {
  auto app = MakeApp();
  Counter target;
  HWND h = target.GetSafeHwnd();
  std::atomic<LRESULT> result{-1};
  std::atomic<bool> sending{false};
  std::thread worker([&] {
    sending = true;
    result = SendMessage(h, WM_USER, 5, 0);
  });
  while (!sending.load()) std::this_thread::yield();
  std::this_thread::sleep_for(std::chrono::milliseconds(10));  // usually queued by now
  app.reset();
  const bool released = WaitPlain([&] { return result.load() != -1; }, 5000);
  EXPECT_TRUE(released);
  if (!released) platform::PumpUntil([&] { return result.load() != -1; }, 5000);
  worker.join();
  // Queued sends are abandoned; one that came after the end ran at once on
  // the worker, as every thread counts as the user-interface thread then.
  if (result.load() == 0) {
    EXPECT_EQ(target.count.load(), 0);
  } else {
    EXPECT_EQ(result.load(), 5);
  }
}

// Last in this program: shutdown cannot be undone.
TEST(Shutdown, ReleasesWaitingWorkersAndRefusesLaterCalls) {
  auto app = MakeApp();
  Counter target;
  HWND h = target.GetSafeHwnd();
  std::atomic<int> returned{0};
  std::atomic<bool> stop{false};
  std::thread senders[3];
  for (auto& t : senders) {
    t = std::thread([&] {
      while (!stop.load()) {
        SendMessage(h, WM_USER, 1, 0);
        platform::CallOnUiThread([] { return (LRESULT)1; });
      }
      ++returned;
    });
  }
  platform::PumpUntil([&] { return target.count.load() > 100; }, 5000);
  stop = true;
  platform::BeginShutdown();  // this thread never runs the queue again
  EXPECT_TRUE(WaitPlain([&] { return returned.load() == 3; }, 5000));
  if (returned.load() != 3) platform::PumpUntil([&] { return returned.load() == 3; }, 5000);
  for (auto& t : senders) t.join();
  LRESULT later = -1;
  std::thread([&] { later = SendMessage(h, WM_USER, 7, 0); }).join();
  EXPECT_EQ(later, 0);
  EXPECT_EQ(SendMessage(h, WM_USER, 7, 0), 7);  // on the user-interface thread it still runs
}

}  // namespace
