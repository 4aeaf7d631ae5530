// Message targets, Win32-style send and post, and timers on Qt's event loop.
//
// Posts and cross-thread sends share one FIFO queue that the user-interface
// thread drains; a single queued Qt call wakes it when the queue turns
// non-empty, so a burst of posts costs one wake-up. A worker blocked in a
// send waits on its own little state, which shutdown, the target's end or
// CancelPendingCalls can complete early with 0.
//
// The queue outlives the application object: posts made before it exists,
// or still queued when a test destroys it, are drained by the next one.
#include "platform/window.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

struct CallState {
  std::mutex mutex;
  std::condition_variable cv;
  std::atomic<bool> done{false};
  bool running = false;
  bool abandonWhileRunning = false;  // a call that owns its data may be left while it runs
  LRESULT result = 0;
  std::thread::id caller;
  HWND hwnd = nullptr;
};

struct Item {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  std::function<LRESULT()> fn;
  std::shared_ptr<CallState> state;
};

struct TimerKey {
  HWND hwnd;
  UINT_PTR id;
  bool operator<(const TimerKey& o) const {
    return hwnd != o.hwnd ? hwnd < o.hwnd : id < o.id;
  }
};

class Core {
 public:
  std::mutex mutex;
  std::unordered_map<uintptr_t, MsgTarget*> targets;
  uintptr_t nextHandle = 0x10000;
  // Handlers running now (several when handlers nest), by target and thread:
  // a target detached on another thread waits until its handler is through
  // instead of being freed under it.
  std::vector<std::pair<uintptr_t, std::thread::id>> running;
  std::condition_variable handlerDone;
  int detachWaiters = 0;
  std::deque<Item> queue;
  bool scheduled = false;  // a drain is queued on the application object
  std::vector<std::shared_ptr<CallState>> waiting;
  std::atomic<bool> shutdown{false};
  // Timers live on the user-interface thread only.
  std::map<TimerKey, QTimer*> timers;
  UINT_PTR nextTimerId = 0x7F00;

  MsgTarget* Lookup(HWND hwnd) {
    std::lock_guard<std::mutex> lock(mutex);
    auto it = targets.find(reinterpret_cast<uintptr_t>(hwnd));
    return it == targets.end() ? nullptr : it->second;
  }
};

Core& TheCore() {
  static Core* core = new Core();  // never destroyed: workers may still post at exit
  return *core;
}

void Complete(const std::shared_ptr<CallState>& state, LRESULT result) {
  {
    std::lock_guard<std::mutex> lock(state->mutex);
    if (state->done.load()) return;
    state->result = result;
    state->done.store(true);
  }
  state->cv.notify_all();
}

// Completes with 0 every waiting call that matches, unless it is running and
// its data belongs to the waiting thread.
template <typename Pred>
void CancelWaiting(Pred pred) {
  Core& core = TheCore();
  std::vector<std::shared_ptr<CallState>> hit;
  {
    std::lock_guard<std::mutex> lock(core.mutex);
    for (auto& s : core.waiting)
      if (pred(*s)) hit.push_back(s);
  }
  for (auto& s : hit) {
    std::unique_lock<std::mutex> lock(s->mutex);
    if (s->running && !s->abandonWhileRunning) continue;
    if (s->done.load()) continue;
    s->result = 0;
    s->done.store(true);
    lock.unlock();
    s->cv.notify_all();
  }
}

void DrainQueue();

void ScheduleDrainLocked(Core& core) {
  if (core.scheduled) return;
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return;  // the application's start drains what is queued
  core.scheduled = true;
  QMetaObject::invokeMethod(app, [] { DrainQueue(); }, Qt::QueuedConnection);
}

// Runs the target's handler; 0 when the handle is dead.
LRESULT CallTarget(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Core& core = TheCore();
  const auto entry = std::make_pair(reinterpret_cast<uintptr_t>(hwnd), std::this_thread::get_id());
  MsgTarget* target = nullptr;
  {
    std::lock_guard<std::mutex> lock(core.mutex);
    auto it = core.targets.find(entry.first);
    if (it == core.targets.end()) return 0;
    target = it->second;
    core.running.push_back(entry);
  }
  struct Finish {
    Core& core;
    std::pair<uintptr_t, std::thread::id> entry;
    ~Finish() {
      std::lock_guard<std::mutex> lock(core.mutex);
      auto it = std::find(core.running.rbegin(), core.running.rend(), entry);
      if (it != core.running.rend()) core.running.erase(std::next(it).base());
      if (core.detachWaiters) core.handlerDone.notify_all();
    }
  } finish{core, entry};
  return target->WindowProc(message, wParam, lParam);
}

void Dispatch(Item& item) {
  if (item.state) {
    std::lock_guard<std::mutex> lock(item.state->mutex);
    if (item.state->done.load()) return;  // abandoned: its data may be gone
    item.state->running = true;
  }
  LRESULT result = 0;
  if (item.fn) {
    result = item.fn();
  } else {
    result = CallTarget(item.hwnd, item.message, item.wParam, item.lParam);
  }
  if (item.state) Complete(item.state, result);
}

void DrainQueue() {
  Core& core = TheCore();
  {
    std::lock_guard<std::mutex> lock(core.mutex);
    core.scheduled = false;  // this is the queued drain (or one run directly)
  }
  const auto start = Clock::now();
  for (unsigned n = 1;; ++n) {
    Item item;
    {
      std::lock_guard<std::mutex> lock(core.mutex);
      if (core.queue.empty()) return;
      item = std::move(core.queue.front());
      core.queue.pop_front();
      // A handler may run a nested event loop (a modal box, PumpUntil): the
      // rest of the queue must reach it there, as with a modal loop's
      // dispatch, so keep a drain queued while items wait.
      if (!core.queue.empty()) ScheduleDrainLocked(core);
    }
    Dispatch(item);
    // Yield to painting and input now and then during a long burst; the
    // drain queued above takes the rest.
    if ((n & 255) == 0 && Clock::now() - start > std::chrono::milliseconds(20)) {
      std::lock_guard<std::mutex> lock(core.mutex);
      if (!core.queue.empty()) ScheduleDrainLocked(core);
      return;
    }
  }
}

// Called as every application object is made: drains what was queued while
// there was none, and releases waiting callers when it goes away.
void OnApplicationStarted() {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return;
  Core& core = TheCore();
  {
    std::lock_guard<std::mutex> lock(core.mutex);
    core.scheduled = false;  // a drain queued on an earlier application died with it
    if (!core.queue.empty()) ScheduleDrainLocked(core);
  }
  QObject::connect(app, &QObject::destroyed, [] {
    // Nobody runs the queue now; posts stay for a later application.
    CancelWaiting([](const CallState&) { return true; });
  });
}

// Queues an item for the user-interface thread and, for calls, waits.
LRESULT QueueAndWait(Item item, bool abandonWhileRunning) {
  Core& core = TheCore();
  if (core.shutdown.load()) return 0;
  auto state = std::make_shared<CallState>();
  state->caller = std::this_thread::get_id();
  state->hwnd = item.hwnd;
  state->abandonWhileRunning = abandonWhileRunning;
  item.state = state;
  {
    std::lock_guard<std::mutex> lock(core.mutex);
    // Checked again under the lock that BeginShutdown, DetachHandle and the
    // application's end take before cancelling, so none can slip past.
    if (core.shutdown.load() || !QCoreApplication::instance()) return 0;
    if (item.hwnd && !core.targets.count(reinterpret_cast<uintptr_t>(item.hwnd))) return 0;
    core.queue.push_back(std::move(item));
    core.waiting.push_back(state);
    ScheduleDrainLocked(core);
  }
  // A short spin first: most handlers answer within microseconds, and a
  // sleeping wait costs a scheduler round trip.
  const auto spinUntil = Clock::now() + std::chrono::microseconds(50);
  while (!state->done.load(std::memory_order_acquire) && Clock::now() < spinUntil)
    std::this_thread::yield();
  {
    std::unique_lock<std::mutex> lock(state->mutex);
    state->cv.wait(lock, [&] { return state->done.load(); });
  }
  {
    std::lock_guard<std::mutex> lock(core.mutex);
    auto& w = core.waiting;
    for (size_t i = 0; i < w.size(); ++i)
      if (w[i] == state) {
        w[i] = w.back();
        w.pop_back();
        break;
      }
  }
  return state->result;
}

void KillTimersOf(HWND hwnd) {
  Core& core = TheCore();
  for (auto it = core.timers.lower_bound(TimerKey{hwnd, 0});
       it != core.timers.end() && it->first.hwnd == hwnd;) {
    it->second->stop();
    it->second->deleteLater();
    it = core.timers.erase(it);
  }
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(OnApplicationStarted)

MsgTarget::MsgTarget() : hwnd_(nullptr) { AttachNewHandle(); }

void MsgTarget::AttachNewHandle() {
  if (hwnd_) return;
  Core& core = TheCore();
  std::lock_guard<std::mutex> lock(core.mutex);
  uintptr_t id = core.nextHandle++;
  core.targets[id] = this;
  hwnd_ = reinterpret_cast<HWND>(id);
}

MsgTarget::~MsgTarget() { DetachHandle(); }

void MsgTarget::DetachHandle() {
  if (!hwnd_) return;
  HWND hwnd = hwnd_;
  Core& core = TheCore();
  {
    std::unique_lock<std::mutex> lock(core.mutex);
    const uintptr_t id = reinterpret_cast<uintptr_t>(hwnd);
    core.targets.erase(id);
    // A handler of this target running on another thread must finish before
    // the caller goes on to free the object.
    const auto self = std::this_thread::get_id();
    auto busyElsewhere = [&] {
      for (const auto& r : core.running)
        if (r.first == id && r.second != self) return true;
      return false;
    };
    if (busyElsewhere()) {
      ++core.detachWaiters;
      core.handlerDone.wait(lock, [&] { return !busyElsewhere(); });
      --core.detachWaiters;
    }
  }
  CancelWaiting([hwnd](const CallState& s) { return s.hwnd == hwnd; });
  if (IsUiThread()) {
    KillTimersOf(hwnd);
  } else {
    // Timers live on the user-interface thread: stop them there, through
    // the queue like every other hand-over.
    Item item;
    item.fn = [hwnd]() -> LRESULT {
      KillTimersOf(hwnd);
      return 0;
    };
    std::lock_guard<std::mutex> lock(core.mutex);
    core.queue.push_back(std::move(item));
    ScheduleDrainLocked(core);
  }
  hwnd_ = nullptr;
}

bool IsUiThread() {
  QCoreApplication* app = QCoreApplication::instance();
  return !app || QThread::currentThread() == app->thread();
}

void BeginShutdown() {
  TheCore().shutdown.store(true);
  CancelWaiting([](const CallState&) { return true; });
}

bool IsShuttingDown() { return TheCore().shutdown.load(); }

void CancelPendingCalls(std::thread::id caller) {
  CancelWaiting([caller](const CallState& s) { return s.caller == caller; });
}

LRESULT CallOnUiThread(const std::function<LRESULT()>& fn) {
  if (IsUiThread()) return fn();
  Item item;
  item.fn = fn;
  return QueueAndWait(std::move(item), /*abandonWhileRunning=*/true);
}

void PumpMessages(int ms) {
  PumpUntil([] { return false; }, ms);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  if (done()) return true;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  if (!QCoreApplication::instance()) {
    while (!done() && Clock::now() < deadline) {
      DrainQueue();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
  }
  QEventLoop loop;
  QTimer poll;
  poll.setInterval(1);
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (done() || Clock::now() >= deadline) loop.quit();
  });
  poll.start();
  loop.exec();
  return done();
}

}  // namespace platform

using platform::TheCore;

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!hwnd) return 0;
  if (platform::IsUiThread()) return platform::CallTarget(hwnd, message, wParam, lParam);
  if (!IsWindow(hwnd)) return 0;
  platform::Item item;
  item.hwnd = hwnd;
  item.message = message;
  item.wParam = wParam;
  item.lParam = lParam;
  return platform::QueueAndWait(std::move(item), /*abandonWhileRunning=*/false);
}

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!IsWindow(hwnd)) return FALSE;
  platform::Core& core = TheCore();
  std::lock_guard<std::mutex> lock(core.mutex);
  platform::Item item;
  item.hwnd = hwnd;
  item.message = message;
  item.wParam = wParam;
  item.lParam = lParam;
  core.queue.push_back(std::move(item));
  platform::ScheduleDrainLocked(core);
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return hwnd && TheCore().Lookup(hwnd) != nullptr; }

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
  if (!platform::IsUiThread())
    return (UINT_PTR)platform::CallOnUiThread(
        [=] { return (LRESULT)SetTimer(hwnd, id, elapseMs, proc); });
  platform::Core& core = TheCore();
  if (hwnd && !IsWindow(hwnd)) return 0;
  if (!hwnd) id = core.nextTimerId++;
  platform::TimerKey key{hwnd, id};
  auto it = core.timers.find(key);
  QTimer* timer = it != core.timers.end() ? it->second : nullptr;
  if (!timer) {
    timer = new QTimer();
    core.timers[key] = timer;
    QObject::connect(timer, &QTimer::timeout, timer, [hwnd, id, proc] {
      if (proc) {
        proc(hwnd, WM_TIMER, id, GetTickCount());
      } else {
        platform::CallTarget(hwnd, WM_TIMER, id, 0);
      }
    });
  }
  timer->setTimerType(elapseMs < 100 ? Qt::PreciseTimer : Qt::CoarseTimer);
  timer->start((int)elapseMs);
  return id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  if (!platform::IsUiThread())
    return (BOOL)platform::CallOnUiThread([=] { return (LRESULT)KillTimer(hwnd, id); });
  platform::Core& core = TheCore();
  auto it = core.timers.find(platform::TimerKey{hwnd, id});
  if (it == core.timers.end()) return FALSE;
  it->second->stop();
  it->second->deleteLater();
  core.timers.erase(it);
  return TRUE;
}

DWORD GetTickCount() {
  using namespace std::chrono;
  return (DWORD)duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
