// Message targets, Win32-style send and post, and timers on Qt's event loop.
//
// Posts and cross-thread sends share one FIFO queue (post_queue.h) that the
// user-interface thread drains. Producers take no lock; a queued Qt call
// wakes the user-interface thread only when it is not already draining, so
// a burst costs one wake-up. After draining, the user-interface thread
// lingers a few microseconds for more before it returns to Qt's loop, and a
// worker blocked in a send spins as long before it sleeps: back-to-back
// sends cross without a scheduler round trip, and nothing spins while the
// queue stays empty. A worker's send waits on its own state
// (pending_call.h), which shutdown, the target's end or CancelPendingCalls
// complete early with 0.
//
// The queue outlives the application object: posts made before it exists,
// or still queued when a test destroys it, are drained by the next one.
#include "platform/window.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <map>
#include <mutex>

#include "handle_table.h"
#include "pending_call.h"
#include "post_queue.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;
using detail::HandleTable;
using detail::PendingCall;
using detail::QueuedItem;

// What a queued item is.
enum ItemKind : UINT { kPost = 1, kCall = 2, kKillTimers = 3 };

// A drain returns to Qt's loop after this long, so painting and input go on
// during a long burst; a queued drain takes the rest.
constexpr auto kDrainSlice = std::chrono::milliseconds(2);
// The longest the drain waits for more once the queue is empty, and the
// longest a sending worker spins before it sleeps: long enough to catch the
// next of a run of sends, short against a wake-up through the scheduler.
constexpr auto kMaxLinger = std::chrono::microseconds(50);
constexpr auto kMinLinger = std::chrono::microseconds(2);
constexpr auto kSendSpin = std::chrono::microseconds(50);

struct TimerKey {
  HWND hwnd;
  UINT_PTR id;
  bool operator<(const TimerKey& o) const {
    return hwnd != o.hwnd ? hwnd < o.hwnd : id < o.id;
  }
};

class Core {
 public:
  HandleTable handles;
  detail::PostQueue queue;
  detail::WaitingCalls waiting;
  std::atomic<bool> shutdown{false};

  // True while the user-interface thread will look at the queue without
  // being woken: it is draining, or a drain is queued on the application.
  // Producers that find it false set it and queue a drain.
  std::atomic<bool> drainerAwake{false};
  // Queued drains not yet started. A handler may run a nested loop, so one
  // is kept queued while handlers run.
  std::atomic<int> drainsQueued{0};
  // The thread draining now (the user-interface thread, or any thread that
  // pumps before an application exists); nested drains share its cursor.
  std::atomic<std::thread::id> drainer{};
  int drainDepth = 0;
  Clock::duration linger = kMaxLinger;  // the drainer's, adapted to how often lingering pays

  std::mutex appMutex;  // queuing a drain against the application's end
  std::atomic<bool> appAlive{false};

  // Timers live on the user-interface thread only.
  std::map<TimerKey, QTimer*> timers;
  UINT_PTR nextTimerId = 0x7F00;
};

Core& TheCore() {
  static Core* core = new Core();  // never destroyed: workers may still post at exit
  return *core;
}

void DrainQueue(bool queuedDrain);

void QueueDrain(Core& core) {
  std::lock_guard<std::mutex> lock(core.appMutex);
  if (!core.appAlive.load()) return;  // the next application's start drains what is queued
  core.drainsQueued.fetch_add(1);
  QMetaObject::invokeMethod(QCoreApplication::instance(), [] { DrainQueue(true); }, Qt::QueuedConnection);
}

void Enqueue(const QueuedItem& item) {
  Core& core = TheCore();
  core.queue.Push(item);
  // Read after the item is published, while the drainer clears the flag
  // before it looks at the queue a last time: one of them sees the other.
  if (!core.drainerAwake.load() && !core.drainerAwake.exchange(true)) QueueDrain(core);
}

// Runs the target's handler; 0 when the handle is dead.
LRESULT CallTarget(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  HandleTable& handles = TheCore().handles;
  HandleTable::Frame frame;
  MsgTarget* target = handles.Enter(hwnd, frame);
  if (!target) return 0;
  struct Leave {
    HandleTable& handles;
    HandleTable::Frame& frame;
    ~Leave() { handles.Leave(frame); }
  } leave{handles, frame};
  return target->WindowProc(message, wParam, lParam);
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

void Dispatch(const QueuedItem& item) {
  switch (item.kind) {
    case kPost:
      CallTarget(item.hwnd, item.message, item.wParam, item.lParam);
      break;
    case kCall: {
      PendingCall* call = reinterpret_cast<PendingCall*>(item.lParam);
      if (call->Start()) {
        call->Finish(call->fn ? call->fn() : CallTarget(call->hwnd, call->message, call->wParam, call->lParam));
      }
      call->Release();
      break;
    }
    case kKillTimers:
      KillTimersOf(item.hwnd);
      break;
  }
}

// Nested drains on the draining thread share its place in the queue; any
// other thread finds the queue taken and leaves.
class DrainerClaim {
 public:
  explicit DrainerClaim(Core& core) : core_(core) {
    const std::thread::id self = std::this_thread::get_id();
    std::thread::id none;
    owned_ = core.drainer.load(std::memory_order_relaxed) == self ||
             core.drainer.compare_exchange_strong(none, self, std::memory_order_acquire);
    if (owned_) ++core.drainDepth;
  }
  ~DrainerClaim() {
    if (owned_ && --core_.drainDepth == 0) core_.drainer.store(std::thread::id(), std::memory_order_release);
  }
  explicit operator bool() const { return owned_; }

 private:
  Core& core_;
  bool owned_;
};

// Spins until the queue has an item or the linger is over. The linger
// grows while lingering catches items and shrinks while it does not, so a
// slow trickle of posts costs little more than its wake-ups.
bool LingerForMore(Core& core) {
  const auto start = Clock::now();
  const auto until = start + core.linger;
  for (unsigned i = 0;; ++i) {
    if (core.queue.Ready()) {
      core.linger = std::min<Clock::duration>(core.linger * 2, kMaxLinger);
      return true;
    }
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
    if ((i & 15) == 15 && Clock::now() >= until) {
      core.linger = std::max<Clock::duration>(core.linger / 2, kMinLinger);
      return false;
    }
  }
}

void DrainQueue(bool queuedDrain) {
  Core& core = TheCore();
  if (queuedDrain) core.drainsQueued.fetch_sub(1);
  DrainerClaim claim(core);
  if (!claim) return;
  const auto start = Clock::now();
  bool worked = false;
  QueuedItem item;
  for (unsigned n = 1;; ++n) {
    if (!core.queue.Pop(item)) {
      if (worked && LingerForMore(core)) {
        if (Clock::now() - start < kDrainSlice) continue;
      } else {
        core.drainerAwake.store(false);
        if (!core.queue.Ready()) return;
        core.drainerAwake.store(true, std::memory_order_relaxed);
        continue;
      }
    } else {
      if (!worked) {
        worked = true;
        core.drainerAwake.store(true, std::memory_order_relaxed);
      }
      // A handler may run a nested event loop (a modal box, PumpUntil):
      // the rest of the queue must reach it there, as with a modal loop's
      // dispatch, so keep a drain queued while handlers run.
      if (core.drainsQueued.load(std::memory_order_relaxed) == 0) QueueDrain(core);
      Dispatch(item);
      if ((n & 255) != 0 || Clock::now() - start < kDrainSlice) continue;
    }
    // Yield to painting and input; the queued drain takes the rest, so the
    // drainer stays awake for producers.
    if (core.drainsQueued.load() == 0) QueueDrain(core);
    return;
  }
}

void OnApplicationEnding() {
  Core& core = TheCore();
  {
    std::lock_guard<std::mutex> lock(core.appMutex);
    core.appAlive.store(false);
  }
  // Nobody runs the queue now; posts stay for a later application.
  core.waiting.CancelIf([](const PendingCall&) { return true; });
}

// Called as every application object is made: drains what was queued while
// there was none, and releases waiting callers when it goes away (before
// the object is torn down, so no drain is queued on a dying one).
void OnApplicationStarted() {
  if (!QCoreApplication::instance()) return;
  Core& core = TheCore();
  {
    std::lock_guard<std::mutex> lock(core.appMutex);
    core.appAlive.store(true);
    core.drainsQueued.store(0);  // drains queued on an earlier application died with it
  }
  qAddPostRoutine(OnApplicationEnding);
  QueueDrain(core);
}

// Queues a call for the user-interface thread and waits for it.
LRESULT QueueAndWait(PendingCall* call) {
  Core& core = TheCore();
  call->caller = std::this_thread::get_id();
  core.waiting.Add(call);
  // Checked after the call is listed, while shutdown, a target's end and the
  // application's end set their condition before they cancel what is
  // listed: none can slip past.
  if (core.shutdown.load() || !core.appAlive.load() || (call->hwnd && !IsWindow(call->hwnd))) {
    core.waiting.Remove(call);
    delete call;
    return 0;
  }
  Enqueue(QueuedItem{kCall, 0, nullptr, 0, reinterpret_cast<LPARAM>(call)});
  const LRESULT result = call->Wait(kSendSpin);
  core.waiting.Remove(call);
  call->Release();
  return result;
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(OnApplicationStarted)

MsgTarget::MsgTarget() : hwnd_(TheCore().handles.Add(this)) {}

MsgTarget::~MsgTarget() { DetachHandle(); }

void MsgTarget::DetachHandle() {
  if (!hwnd_) return;
  HWND hwnd = hwnd_;
  Core& core = TheCore();
  // A handler of this target running on another thread finishes before the
  // caller goes on to free the object.
  core.handles.Remove(hwnd);
  core.waiting.CancelIf([hwnd](const PendingCall& c) { return c.hwnd == hwnd; });
  if (IsUiThread()) {
    KillTimersOf(hwnd);
  } else {
    // Timers live on the user-interface thread: stop them there, through
    // the queue like every other hand-over.
    Enqueue(QueuedItem{kKillTimers, 0, hwnd, 0, 0});
  }
  hwnd_ = nullptr;
}

bool IsUiThread() {
  QCoreApplication* app = QCoreApplication::instance();
  return !app || QThread::currentThread() == app->thread();
}

void BeginShutdown() {
  Core& core = TheCore();
  core.shutdown.store(true);
  core.waiting.CancelIf([](const PendingCall&) { return true; });
}

bool IsShuttingDown() { return TheCore().shutdown.load(); }

void CancelPendingCalls(std::thread::id caller) {
  TheCore().waiting.CancelIf([caller](const PendingCall& c) { return c.caller == caller; });
}

LRESULT CallOnUiThread(const std::function<LRESULT()>& fn) {
  if (IsUiThread()) return fn();
  if (TheCore().shutdown.load()) return 0;
  auto* call = new PendingCall;
  call->fn = fn;
  call->abandonWhileRunning = true;
  return QueueAndWait(call);
}

void PumpMessages(int ms) {
  PumpUntil([] { return false; }, ms);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  if (done()) return true;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  if (!QCoreApplication::instance()) {
    while (!done() && Clock::now() < deadline) {
      DrainQueue(false);
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
  if (!IsWindow(hwnd) || TheCore().shutdown.load()) return 0;
  auto* call = new platform::PendingCall;
  call->hwnd = hwnd;
  call->message = message;
  call->wParam = wParam;
  call->lParam = lParam;
  return platform::QueueAndWait(call);
}

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!IsWindow(hwnd)) return FALSE;
  platform::Enqueue(platform::QueuedItem{platform::kPost, message, hwnd, wParam, lParam});
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return hwnd && TheCore().handles.IsLive(hwnd); }

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
