// Message targets, Win32-style send and post, and timers on Qt's event loop.
//
// Posts and cross-thread sends share one FIFO queue (post_queue.h) that the
// user-interface thread drains. Producers take no lock; a queued Qt call
// wakes the user-interface thread only when it is not already draining, so
// a burst costs one wake-up. After draining, the user-interface thread
// lingers a few microseconds for more before it returns to Qt's loop, and a
// worker blocked in a send spins as long before it sleeps: back-to-back
// sends cross without a scheduler round trip, and nothing spins while the
// queue stays empty. A worker's send waits on its thread's call slot
// (call_slot.h), which shutdown, the target's end or CancelPendingCalls
// complete early with 0.
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
#include <functional>
#include <map>
#include <memory>
#include <mutex>

#include "call_slot.h"
#include "fast_tls.h"
#include "handle_table.h"
#include "post_queue.h"
#include "spin_wait.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;
using detail::CallSlot;
using detail::HandleTable;
using detail::QueuedItem;

// What a queued item is. A send or a function call is followed in the queue
// by a kCallNumber item naming the caller's slot (lParam) and the call's
// number (wParam).
enum ItemKind : UINT { kPost = 1, kSend, kCallFunction, kCallNumber, kKillTimers };
using Function = std::function<LRESULT()>;

// A drain returns to Qt's loop after this long, so painting and input go on
// during a long burst; a queued drain takes the rest.
constexpr auto kDrainSlice = std::chrono::milliseconds(2);
// The longest the drain waits for more once the queue is empty, and the
// longest a sending worker spins before it sleeps: long enough to catch the
// next of a run of sends, short against a wake-up through the scheduler.
constexpr auto kMaxLinger = std::chrono::microseconds(50);
constexpr auto kMinLinger = std::chrono::microseconds(1);
constexpr auto kSendSpin = std::chrono::microseconds(50);

struct TimerKey {
  HWND hwnd;
  UINT_PTR id;
  bool operator<(const TimerKey& o) const { return hwnd != o.hwnd ? hwnd < o.hwnd : id < o.id; }
};

class Core {
 public:
  HandleTable handles;
  detail::PostQueue queue;
  detail::CallSlots calls;

  // Read by every post and send, written seldom.
  alignas(64) std::atomic<bool> shutdown{false};
  std::atomic<bool> appAlive{false};
  // Application objects made so far (never 0 once one exists).
  std::atomic<unsigned> applications{0};
  // True while the user-interface thread will look at the queue without
  // being woken: it is draining, or a drain is queued on the application.
  // Producers that find it false set it and queue a drain.
  std::atomic<bool> drainerAwake{false};
  std::mutex appMutex;  // queuing a drain against the application's end

  // The drainer's own, apart from what posting threads read.
  // Queued drains not yet started. A handler may run a nested loop, so one
  // is kept queued while handlers run.
  alignas(64) std::atomic<int> drainsQueued{0};
  // The thread draining now (the user-interface thread, or any thread that
  // pumps before an application exists); nested drains share its cursor.
  std::atomic<std::thread::id> drainer{};
  int drainDepth = 0;
  Clock::duration linger = kMaxLinger;  // adapted to how often lingering pays
  detail::WaitingCpu drainerCpu{-1};    // written only when the drainer moved
  Clock::time_point idleSince{};        // when the last drain found nothing more

  // Written by the producer that wakes the drainer: when it did. The gap
  // from idleSince tells the drainer how long it would have had to linger.
  alignas(64) std::atomic<Clock::rep> wakeAskedAt{0};

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
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [] { DrainQueue(true); }, Qt::QueuedConnection);
}

void Enqueue(const QueuedItem* items, unsigned count) {
  Core& core = TheCore();
  core.queue.Push(items, count);
  // Read after the item is published, while the drainer clears the flag
  // before it looks at the queue a last time: one of them sees the other.
  if (!core.drainerAwake.load() && !core.drainerAwake.exchange(true)) {
    core.wakeAskedAt.store(Clock::now().time_since_epoch().count(), std::memory_order_relaxed);
    QueueDrain(core);
  }
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

// `number` is the kCallNumber item that follows a send or a function call.
void Dispatch(const QueuedItem& item, const QueuedItem& number) {
  switch (item.kind) {
    case kPost: CallTarget(item.hwnd, item.message, item.wParam, item.lParam); break;
    case kSend: {
      CallSlot* slot = reinterpret_cast<CallSlot*>(number.lParam);
      if (slot->Claim(number.wParam, false)) {
        slot->Answer(number.wParam, false,
                     CallTarget(item.hwnd, item.message, item.wParam, item.lParam));
      }
      break;
    }
    case kCallFunction: {
      std::unique_ptr<Function> fn(reinterpret_cast<Function*>(item.lParam));
      CallSlot* slot = reinterpret_cast<CallSlot*>(number.lParam);
      if (slot->Claim(number.wParam, true)) slot->Answer(number.wParam, true, (*fn)());
      break;
    }
    case kKillTimers: KillTimersOf(item.hwnd); break;
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
    if (owned_ && --core_.drainDepth == 0)
      core_.drainer.store(std::thread::id(), std::memory_order_release);
  }
  explicit operator bool() const { return owned_; }

 private:
  Core& core_;
  bool owned_;
};

// Waits a little for more once the queue is empty, most likely for the
// next call of the caller just answered (null after a post). The linger
// grows while lingering catches items and shrinks while it does not, so a
// slow trickle of posts costs little more than its wake-ups.
bool LingerForMore(Core& core, const CallSlot* answered) {
  const detail::WaitingCpu* callerCpu = answered ? &answered->callerCpu() : nullptr;
  if (detail::SpinUntil([&] { return core.queue.Ready(); }, core.linger, &core.drainerCpu,
                        callerCpu)) {
    if (core.linger < kMaxLinger)
      core.linger = std::min<Clock::duration>(core.linger * 2, kMaxLinger);
    return true;
  }
  core.linger = std::max<Clock::duration>(core.linger / 2, kMinLinger);
  return false;
}

// A drain woken by a producer: when the item came soon after the drainer
// went idle, a linger of twice that gap would have caught it without a
// wake-up. Shrinking alone could leave the linger below the usual gap for
// good (after a preemption, or with both threads sharing one processor),
// every item then paying a wake-up; a trickle of posts far apart leaves it
// as it is, so nothing spins while the queue stays empty.
void LearnFromWakeUp(Core& core) {
  if (core.idleSince == Clock::time_point{}) return;
  const Clock::time_point asked{Clock::duration{core.wakeAskedAt.load(std::memory_order_relaxed)}};
  const Clock::duration gap = asked - core.idleSince;
  if (gap <= Clock::duration::zero() || gap >= kMaxLinger / 2) return;
  core.linger = std::clamp<Clock::duration>(2 * gap, core.linger, kMaxLinger);
}

void DrainQueue(bool queuedDrain) {
  Core& core = TheCore();
  if (queuedDrain) {
    // Under the lock it was queued with: what queuing made on another
    // thread (Qt's event and call object, freed here) is ordered before.
    std::lock_guard<std::mutex> lock(core.appMutex);
    core.drainsQueued.fetch_sub(1);
  }
  DrainerClaim claim(core);
  if (!claim) return;
  const auto start = Clock::now();
  bool worked = false;
  QueuedItem item, number;
  const CallSlot* answered = nullptr;
  bool queuedFollowUp = false;
  for (unsigned n = 1;; ++n) {
    if (!core.queue.Pop(item)) {
      if (worked && LingerForMore(core, answered)) continue;
      // Going idle: the flag is cleared before the queue is looked at a
      // last time, while producers read it after publishing.
      core.drainerAwake.store(false);
      if (!core.queue.Ready()) {
        if (worked) core.idleSince = Clock::now();
        return;
      }
      core.drainerAwake.store(true, std::memory_order_relaxed);
      continue;
    }
    if (!worked) {
      worked = true;
      core.drainerAwake.store(true, std::memory_order_relaxed);
      if (queuedDrain) LearnFromWakeUp(core);
    }
    // A handler may run a nested event loop (a modal box, PumpUntil): the
    // rest of the queue must reach it there, as with a modal loop's
    // dispatch, so keep a drain queued while handlers run. It must be
    // queued after this drain began: Qt's loops look at posted events again
    // only when something was posted since the outer dispatch of posted
    // events began, so a drain queued earlier would wait for the handler.
    if (!queuedFollowUp) {
      QueueDrain(core);
      queuedFollowUp = true;
    }
    // Published together with the call it follows, and taken before the
    // handler runs, where a nested drain goes on with the queue.
    const bool call = item.kind == kSend || item.kind == kCallFunction;
    if (call) core.queue.Pop(number);
    Dispatch(item, number);
    answered = call ? reinterpret_cast<const CallSlot*>(number.lParam) : nullptr;
    if ((n & 255) == 0 && Clock::now() - start >= kDrainSlice) {
      // Yield to painting and input; the queued drain takes the rest, so
      // the drainer stays awake for producers.
      if (core.drainsQueued.load() == 0) QueueDrain(core);
      return;
    }
  }
}

void OnApplicationEnding() {
  Core& core = TheCore();
  {
    std::lock_guard<std::mutex> lock(core.appMutex);
    core.appAlive.store(false);
  }
  // Nobody runs the queue now; posts stay for a later application.
  core.calls.CancelIf([](HWND, std::thread::id) { return true; });
}

// Called as every application object is made: drains what was queued while
// there was none, and releases waiting callers when it goes away (before
// the object is torn down, so no drain is queued on a dying one).
void OnApplicationStarted() {
  if (!QCoreApplication::instance()) return;
  Core& core = TheCore();
  core.applications.fetch_add(1);
  {
    std::lock_guard<std::mutex> lock(core.appMutex);
    core.appAlive.store(true);
    core.drainsQueued.store(0);  // drains queued on an earlier application died with it
  }
  qAddPostRoutine(OnApplicationEnding);
  QueueDrain(core);
}

// Queues a send or a function call for the user-interface thread and
// waits for it; 0 when it was refused or cancelled.
LRESULT CallAcross(const QueuedItem& call) {
  Core& core = TheCore();
  CallSlot& slot = core.calls.ForThisThread();
  const uint64_t number = slot.Begin(call.hwnd);
  // Checked after the call began, while shutdown, a target's end and the
  // application's end set their condition before they cancel what has
  // begun: none can slip past.
  if (core.shutdown.load() || !core.appAlive.load() || (call.hwnd && !IsWindow(call.hwnd))) {
    slot.End();
    if (call.kind == kCallFunction) delete reinterpret_cast<Function*>(call.lParam);
    return 0;
  }
  const QueuedItem items[2] = {
      call, QueuedItem{kCallNumber, 0, nullptr, number, reinterpret_cast<LPARAM>(&slot)}};
  Enqueue(items, 2);
  const LRESULT result = slot.Wait(number, kSendSpin, core.drainerCpu);
  slot.End();
  return result;
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(OnApplicationStarted)

MsgTarget::MsgTarget() : hwnd_(nullptr) { AttachNewHandle(); }

void MsgTarget::AttachNewHandle() {
  if (hwnd_) return;
  hwnd_ = TheCore().handles.Add(this);
}

MsgTarget::~MsgTarget() { DetachHandle(); }

void MsgTarget::DetachHandle() {
  if (!hwnd_) return;
  HWND hwnd = hwnd_;
  Core& core = TheCore();
  // A handler of this target running on another thread finishes before the
  // caller goes on to free the object.
  core.handles.Remove(hwnd);
  core.calls.CancelIf([hwnd](HWND target, std::thread::id) { return target == hwnd; });
  if (IsUiThread()) {
    KillTimersOf(hwnd);
  } else {
    // Timers live on the user-interface thread: stop them there, through
    // the queue like every other hand-over.
    const QueuedItem kill{kKillTimers, 0, hwnd, 0, 0};
    Enqueue(&kill, 1);
  }
  hwnd_ = nullptr;
}

bool IsUiThread() {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return true;
  // Asked for every message sent, so each thread keeps its answer for the
  // application object it was given for (counted, as a later one may be
  // made at the same address).
  struct Answer {
    unsigned application = ~0u;  // none yet
    bool ui = false;
  };
  ZEB_FAST_TLS static thread_local Answer answer;
  const unsigned application = TheCore().applications.load(std::memory_order_acquire);
  if (answer.application != application) {
    answer.ui = QThread::currentThread() == app->thread();
    answer.application = application;
  }
  return answer.ui;
}

struct TargetRun::State {
  HandleTable::Frame frame;
  MsgTarget* target = nullptr;
};

TargetRun::TargetRun(HWND hwnd) : hwnd_(hwnd) {
  if (!hwnd || !IsUiThread()) return;
  auto state = std::make_unique<State>();
  state->target = TheCore().handles.Enter(hwnd, state->frame);
  if (state->target) state_ = state.release();
}

TargetRun::~TargetRun() {
  if (!state_) return;
  TheCore().handles.Leave(state_->frame);
  delete state_;
}

LRESULT TargetRun::Send(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!state_) return ::SendMessage(hwnd_, message, wParam, lParam);
  // The taken handle keeps its slot, and the object lives while it matches.
  if (!TheCore().handles.IsLive(hwnd_)) return 0;
  return state_->target->WindowProc(message, wParam, lParam);
}

void BeginShutdown() {
  Core& core = TheCore();
  core.shutdown.store(true);
  core.calls.CancelIf([](HWND, std::thread::id) { return true; });
}

bool IsShuttingDown() { return TheCore().shutdown.load(); }

void CancelPendingCalls(std::thread::id caller) {
  TheCore().calls.CancelIf([caller](HWND, std::thread::id c) { return c == caller; });
}

LRESULT CallOnUiThread(const std::function<LRESULT()>& fn) {
  if (IsUiThread()) return fn();
  if (TheCore().shutdown.load()) return 0;
  // The function may be abandoned while it runs: the queue owns its copy.
  return CallAcross(
      QueuedItem{kCallFunction, 0, nullptr, 0, reinterpret_cast<LPARAM>(new Function(fn))});
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
  return platform::CallAcross(platform::QueuedItem{platform::kSend, message, hwnd, wParam, lParam});
}

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!IsWindow(hwnd)) return FALSE;
  const platform::QueuedItem post{platform::kPost, message, hwnd, wParam, lParam};
  platform::Enqueue(&post, 1);
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
