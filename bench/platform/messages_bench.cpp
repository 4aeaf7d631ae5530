// Cross-thread message costs against bare peers, measured in the same
// process and interleaved, since absolute times move a lot between runs on
// a shared machine:
// - posts from a worker drained by the user-interface thread, against a
//   bare mutex + condition variable queue whose consumer swaps the whole
//   deque per wake-up;
// - the median round trip of a worker's send, against a bare hand-off on
//   two atomics that both sides spin on.
// Each runs one iteration of several repetitions and reports the medians
// and the ratio ours / peer (time over time, so lower is better). A third
// reports the processor time the process takes while idle and while posts
// trickle in, where nothing may spin.
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

#include "common/side_by_side.h"
#include "platform/window.h"

namespace {

using namespace side_by_side;
using Clock = std::chrono::steady_clock;

constexpr int kRepetitions = 7;
constexpr long kPosts = 1000000;
// Round trips are compared in many short rounds (the median of each), so
// a preemption in one round moves the median ratio little.
constexpr int kSendRounds = 41;
constexpr int kSends = 2000;

class Counter : public platform::MsgTarget {
 public:
  std::atomic<long> count{0};
  LRESULT WindowProc(UINT, WPARAM w, LPARAM) override {
    count.fetch_add(1, std::memory_order_relaxed);
    return (LRESULT)w;
  }
};

// One worker thread for every run, so ours and the peer hand over between
// the same two threads (the scheduler tends to leave them where they are).
class Worker {
 public:
  Worker() : thread_([this] { Loop(); }) {}
  ~Worker() {
    Start([] {});
    {
      std::lock_guard<std::mutex> lock(mutex_);
      quit_ = true;
    }
    cv_.notify_one();
    thread_.join();
  }
  // Starts job on the worker; Done() turns true when it has returned. The
  // caller stays on its processor until the worker runs, so the scheduler
  // places the worker as it does for a peer whose consumer never sleeps.
  void Start(std::function<void()> job) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      job_ = std::move(job);
      done_ = false;
      started_ = false;
    }
    cv_.notify_one();
    while (!started_.load(std::memory_order_acquire)) std::this_thread::yield();
  }
  bool Done() const { return done_.load(std::memory_order_acquire); }
  void Join() {
    while (!Done()) std::this_thread::yield();
  }

 private:
  void Loop() {
    for (;;) {
      std::function<void()> job;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        cv_.wait(lock, [&] { return job_ || quit_; });
        if (!job_) return;
        job = std::move(job_);
        job_ = nullptr;
      }
      started_.store(true, std::memory_order_release);
      job();
      done_.store(true, std::memory_order_release);
    }
  }

  std::mutex mutex_;
  std::condition_variable cv_;
  std::function<void()> job_;
  bool quit_ = false;
  std::atomic<bool> done_{true};
  std::atomic<bool> started_{false};
  std::thread thread_;
};

Worker& TheWorker() {
  static Worker worker;
  return worker;
}

void CpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#endif
}

// Posts: seconds for kPosts posts from a worker until the UI thread handled all.
double OurPosts(Counter& target) {
  HWND h = target.GetSafeHwnd();
  target.count = 0;
  const auto t0 = Clock::now();
  TheWorker().Start([h] {
    for (long i = 0; i < kPosts; ++i) PostMessage(h, WM_USER, (WPARAM)i, 0);
  });
  platform::PumpUntil([&] { return target.count.load(std::memory_order_relaxed) == kPosts; },
                      60000);
  const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
  TheWorker().Join();
  return seconds;
}

// The same traffic through the simplest sound queue: one lock per push, and
// the consumer takes everything queued per wake-up.
double BareQueuePosts(Counter& target) {
  struct Item {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  std::mutex mutex;
  std::condition_variable cv;
  std::deque<Item> queue;
  HWND h = target.GetSafeHwnd();
  target.count = 0;
  const auto t0 = Clock::now();
  TheWorker().Start([&] {
    for (long i = 0; i < kPosts; ++i) {
      bool wasEmpty;
      {
        std::lock_guard<std::mutex> lock(mutex);
        wasEmpty = queue.empty();
        queue.push_back(Item{h, WM_USER, (WPARAM)i, 0});
      }
      if (wasEmpty) cv.notify_one();
    }
  });
  std::deque<Item> batch;
  for (long handled = 0; handled < kPosts;) {
    {
      std::unique_lock<std::mutex> lock(mutex);
      cv.wait(lock, [&] { return !queue.empty(); });
      batch.swap(queue);
    }
    for (const Item& item : batch) {
      target.WindowProc(item.message, item.wParam, item.lParam);
      ++handled;
    }
    batch.clear();
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
  TheWorker().Join();
  return seconds;
}

// Sends: median microseconds of kSends round trips while the UI thread runs its loop.
double OurSendMedian(Counter& target) {
  HWND h = target.GetSafeHwnd();
  std::vector<double> micros(kSends);
  TheWorker().Start([&] {
    for (int i = 0; i < kSends; ++i) {
      const auto t0 = Clock::now();
      SendMessage(h, WM_USER, 1, 0);
      micros[i] = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
    }
  });
  platform::PumpUntil([&] { return TheWorker().Done(); }, 60000);
  TheWorker().Join();
  return SpreadOf(std::move(micros)).median;
}

// The floor for a hand-off between two threads: the worker publishes a
// request number, the UI thread spins until it sees it, runs the handler and
// publishes the answer, which the worker spins for.
double SpinHandoffMedian(Counter& target) {
  alignas(64) std::atomic<long> request{0};
  alignas(64) std::atomic<long> answer{0};
  alignas(64) std::atomic<LRESULT> result{0};
  std::vector<double> micros(kSends);
  TheWorker().Start([&] {
    for (long i = 1; i <= kSends; ++i) {
      const auto t0 = Clock::now();
      request.store(i, std::memory_order_release);
      while (answer.load(std::memory_order_acquire) != i) CpuRelax();
      benchmark::DoNotOptimize(result.load(std::memory_order_relaxed));
      micros[i - 1] = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
    }
  });
  for (long seen = 0; seen < kSends;) {
    const long r = request.load(std::memory_order_acquire);
    if (r == seen) {
      CpuRelax();
      continue;
    }
    result.store(target.WindowProc(WM_USER, 1, 0), std::memory_order_relaxed);
    seen = r;
    answer.store(r, std::memory_order_release);
  }
  TheWorker().Join();
  return SpreadOf(std::move(micros)).median;
}

void BM_PostsDrainedVsBareQueue(benchmark::State& state) {
  Counter target;
  for (auto _ : state)
    CompareRuns(
        state,
        {"posts drained", "M/s", kRepetitions,
         [](double seconds) { return kPosts / seconds / 1e6; }},
        [&] { return OurPosts(target); }, [&] { return BareQueuePosts(target); });
}
BENCHMARK(BM_PostsDrainedVsBareQueue)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SendRoundTripVsSpinHandoff(benchmark::State& state) {
  Counter target;
  for (auto _ : state)
    CompareRuns(
        state, {"send round trip, median", "us", kSendRounds},
        [&] { return OurSendMedian(target); }, [&] { return SpinHandoffMedian(target); });
}
BENCHMARK(BM_SendRoundTripVsSpinHandoff)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Sends after a quiet spell, as a program sees them: posts a few hundred
// microseconds apart (timers, a slow feed) teach the user-interface thread
// that lingering for more does not pay, then a worker sends, doing about
// 2 us of work of its own between sends (as one that reads a packet before
// it hands it over). Each round's median and 90th percentile round trip; a
// send path that stays in its slow mode (a wake-up per send) shows in both.
void BM_SendsAfterQuietSpell(benchmark::State& state) {
  Counter target;
  HWND h = target.GetSafeHwnd();
  std::vector<double> medians, p90s;
  for (auto _ : state) {
    for (int round = 0; round < kSendRounds; ++round) {
      TheWorker().Start([h] {
        for (int i = 0; i < 20; ++i) {
          PostMessage(h, WM_USER, 0, 0);
          std::this_thread::sleep_for(std::chrono::microseconds(300));
        }
      });
      platform::PumpUntil([] { return TheWorker().Done(); }, 60000);
      std::vector<double> micros(kSends);
      TheWorker().Start([&] {
        for (int i = 0; i < kSends; ++i) {
          const auto t0 = Clock::now();
          SendMessage(h, WM_USER, 1, 0);
          const auto t1 = Clock::now();
          micros[i] = std::chrono::duration<double, std::micro>(t1 - t0).count();
          while (Clock::now() - t1 < std::chrono::microseconds(2)) CpuRelax();
        }
      });
      platform::PumpUntil([&] { return TheWorker().Done(); }, 60000);
      TheWorker().Join();
      std::sort(micros.begin(), micros.end());
      medians.push_back(micros[micros.size() / 2]);
      p90s.push_back(micros[micros.size() * 9 / 10]);
    }
  }
  const Spread median = SpreadOf(medians), p90 = SpreadOf(p90s);
  std::printf(
      "sends after a quiet spell, %d rounds (us): median of a round %.2f / %.2f / %.2f, "
      "90th percentile %.2f / %.2f / %.2f (lowest / median / highest round)\n",
      kSendRounds, median.low, median.median, median.high, p90.low, p90.median, p90.high);
  std::fflush(stdout);
  state.counters["median_us"] = median.median;
  state.counters["median_us_max"] = median.high;
  state.counters["p90_us"] = p90.median;
}
BENCHMARK(BM_SendsAfterQuietSpell)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Processor time of the whole process (every thread) while it waits.
double CpuPercentOver(const std::function<void()>& during) {
  auto cpuNow = [] {
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
  };
  const double cpu0 = cpuNow();
  const auto t0 = Clock::now();
  during();
  const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
  return (cpuNow() - cpu0) / seconds * 100;
}

// The user-interface thread's loop alone for `wall` (no polling timer of our own).
void RunLoopFor(std::chrono::milliseconds wall) {
  QEventLoop loop;
  QTimer::singleShot(wall, &loop, &QEventLoop::quit);
  loop.exec();
}

// Nothing may spin while nothing is queued: after a burst of sends and
// posts the process idles with the worker alive. Then the worker posts
// with a pause between posts (1 ms, then 50 us, which sleeps nearer to
// 100 us), where each post's wake-up should cost little more than the
// wake-up itself.
void BM_ProcessorTimeIdleAndTrickle(benchmark::State& state) {
  Counter target;
  HWND h = target.GetSafeHwnd();
  static constexpr auto kWall = std::chrono::milliseconds(2000);
  auto trickle = [&](std::chrono::microseconds pause, long& posts) {
    return CpuPercentOver([&] {
      TheWorker().Start([&, h, pause] {
        posts = 0;
        for (const auto until = Clock::now() + kWall; Clock::now() < until; ++posts) {
          PostMessage(h, WM_USER, 0, 0);
          std::this_thread::sleep_for(pause);
        }
      });
      RunLoopFor(kWall);
      TheWorker().Join();
    });
  };
  for (auto _ : state) {
    OurSendMedian(target);
    OurPosts(target);
    const double idle = CpuPercentOver([] { RunLoopFor(kWall); });
    long slowPosts = 0, fastPosts = 0;
    const double slow = trickle(std::chrono::milliseconds(1), slowPosts);
    const double fast = trickle(std::chrono::microseconds(50), fastPosts);
    const double seconds = std::chrono::duration<double>(kWall).count();
    std::printf(
        "processor time (of one core, whole process): idle %.2f %%; posts at %.0f/s %.2f %%; at %.0f/s %.2f %%\n",
        idle, slowPosts / seconds, slow, fastPosts / seconds, fast);
    std::fflush(stdout);
    state.counters["idle_cpu_pct"] = idle;
    state.counters["slow_trickle_cpu_pct"] = slow;
    state.counters["fast_trickle_cpu_pct"] = fast;
  }
}
BENCHMARK(BM_ProcessorTimeIdleAndTrickle)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
