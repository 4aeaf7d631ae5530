// A worker's send or call waiting for the user-interface thread (private to
// window.cpp), and the list of such calls that shutdown, a target's end and
// CancelPendingCalls complete early with 0.
//
// A call is shared by its caller and the queue and settles exactly once:
// the drain moves it from queued to running to done, a cancel from queued
// (or, for a call that owns its data, from running) to cancelled. So an
// abandoned call never runs later, and the caller never reads a result
// written after it gave up.
#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/types.h"

namespace platform::detail {

struct alignas(64) PendingCall {
  enum Phase : int { kQueued, kRunning, kDone, kCancelled };

  // What the drain touches, on one cache line.
  std::atomic<int> phase{kQueued};
  std::atomic<int> refs{2};  // the caller and the queue
  std::atomic<bool> sleeping{false};
  bool abandonWhileRunning = false;  // a call that owns its data may be left while it runs
  LRESULT result = 0;                // valid once done
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;

  std::function<LRESULT()> fn;  // runs instead of a message when set
  std::thread::id caller;
  std::mutex mutex;
  std::condition_variable wake;
  PendingCall* prev = nullptr;  // in WaitingCalls, under its mutex
  PendingCall* next = nullptr;

  // The drain: claims the call to run it; false when it was abandoned.
  bool Start() {
    int queued = kQueued;
    return phase.compare_exchange_strong(queued, kRunning);
  }

  void Finish(LRESULT value) {
    result = value;
    int running = kRunning;
    if (phase.compare_exchange_strong(running, kDone)) WakeCaller();
  }

  // Completes with 0 unless the call is running on data its caller owns.
  void Cancel() {
    int seen = kQueued;
    if (phase.compare_exchange_strong(seen, kCancelled) ||
        (seen == kRunning && abandonWhileRunning && phase.compare_exchange_strong(seen, kCancelled))) {
      WakeCaller();
    }
  }

  // The caller: a short spin catches a handler that answers within
  // microseconds without a scheduler round trip; then it sleeps.
  LRESULT Wait(std::chrono::nanoseconds spin) {
    const auto until = std::chrono::steady_clock::now() + spin;
    for (unsigned i = 0; phase.load(std::memory_order_acquire) < kDone; ++i) {
#if defined(__x86_64__) || defined(__i386__)
      __builtin_ia32_pause();
#endif
      if ((i & 15) == 15 && std::chrono::steady_clock::now() >= until) {
        std::unique_lock<std::mutex> lock(mutex);
        sleeping.store(true);  // before the phase is read again; Finish and Cancel read it after settling
        wake.wait(lock, [&] { return phase.load() >= kDone; });
        break;
      }
    }
    return phase.load(std::memory_order_acquire) == kDone ? result : 0;
  }

  void Release() {
    if (refs.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }

 private:
  void WakeCaller() {
    if (!sleeping.load()) return;
    std::lock_guard<std::mutex> lock(mutex);
    wake.notify_all();
  }
};

// The calls whose callers wait now.
class WaitingCalls {
 public:
  void Add(PendingCall* call) {
    std::lock_guard<std::mutex> lock(mutex_);
    call->next = head_;
    if (head_) head_->prev = call;
    head_ = call;
  }

  void Remove(PendingCall* call) {
    std::lock_guard<std::mutex> lock(mutex_);
    (call->prev ? call->prev->next : head_) = call->next;
    if (call->next) call->next->prev = call->prev;
  }

  // Cancels every waiting call that matches. A condition set before this
  // (shutdown, a dead target) is seen by every call added after it.
  template <typename Pred>
  void CancelIf(Pred pred) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (PendingCall* c = head_; c; c = c->next)
      if (pred(*c)) c->Cancel();
  }

 private:
  std::mutex mutex_;
  PendingCall* head_ = nullptr;
};

}  // namespace platform::detail
