// A worker's send or call waiting for the user-interface thread, and the
// list through which shutdown, a target's end and CancelPendingCalls
// complete waiting calls early with 0 (private to window.cpp).
//
// Every thread that calls gets one slot for its life (reused after it ends)
// and numbers its calls; the queued item carries the slot and the number.
// A call settles exactly once: the drain claims it to run it, or a cancel
// claims it first (for a call that owns its data, also while it runs), by
// one compare-and-swap on the slot's claim word, which holds the number and
// state of the newest claimed call. So an abandoned call never runs later,
// a caller never reads an answer written after it gave up, and nothing is
// allocated per call. The claim word, the answer and the caller's own
// fields sit on separate cache lines: in a round trip the call crosses to
// the user-interface thread once (in the queue) and the answer once back.
#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include <pthread.h>

#include "fast_tls.h"
#include "platform/types.h"
#include "spin_wait.h"

namespace platform::detail {

class CallSlots;

class CallSlot {
 public:
  // The caller: starts call number n to `target` (null for a function);
  // cancels that come after this see it.
  uint64_t Begin(HWND target) {
    target_.store(target, std::memory_order_relaxed);
    const uint64_t n = ++lastCall_;
    waiting_.store(n);
    return n;
  }

  // The caller: a short spin catches a handler that answers within
  // microseconds without a scheduler round trip; then it sleeps. 0 when
  // the call was cancelled.
  LRESULT Wait(uint64_t n, std::chrono::steady_clock::duration spin, const WaitingCpu& drainerCpu) {
    auto answered = [&] { return (settled_.load(std::memory_order_acquire) >> 1) >= n; };
    if (!SpinUntil(answered, spin, &callerCpu_, &drainerCpu)) {
      std::unique_lock<std::mutex> lock(mutex_);
      sleeping_.store(true);  // before the answer is read again; Settle reads it after answering
      wake_.wait(lock, [&] { return (settled_.load() >> 1) >= n; });
      sleeping_.store(false, std::memory_order_relaxed);
    }
    const uint64_t settled = settled_.load(std::memory_order_acquire);
    return (settled >> 1) == n && !(settled & 1) ? result_ : 0;
  }

  void End() { waiting_.store(0, std::memory_order_relaxed); }

  // The drain: claims call n to run it; false when it was cancelled. A call
  // that owns its data may still be cancelled while it runs.
  bool Claim(uint64_t n, bool ownsData) {
    uint64_t c = claim_.load(std::memory_order_relaxed);
    while ((c >> 2) < n) {
      if (claim_.compare_exchange_weak(c, n << 2 | (ownsData ? kClaimedOwnsData : kClaimed)))
        return true;
    }
    return false;
  }

  // The drain: answers call n that it claimed, unless it was cancelled
  // meanwhile (only a call that owns its data can be).
  void Answer(uint64_t n, bool ownsData, LRESULT result) {
    if (ownsData) {
      uint64_t c = n << 2 | kClaimedOwnsData;
      if (!claim_.compare_exchange_strong(c, n << 2 | kSettled)) return;
    }
    result_ = result;
    Settle(n << 1);
  }

  // Any thread: completes call n with 0 unless it has settled or runs on
  // data its caller owns.
  void Cancel(uint64_t n) {
    uint64_t c = claim_.load();
    for (;;) {
      if ((c >> 2) > n) return;
      if ((c >> 2) == n && (c & 3) != kClaimedOwnsData) return;
      if (claim_.compare_exchange_weak(c, n << 2 | kSettled)) break;
    }
    Settle(n << 1 | 1);
  }

  // What a cancel matches on: the call waiting now (0 when none), its
  // target and its caller. Consistent when `waiting` reads the same before
  // and after the others.
  uint64_t waiting() const { return waiting_.load(); }
  HWND target() const { return target_.load(std::memory_order_relaxed); }
  std::thread::id caller() const { return caller_.load(std::memory_order_relaxed); }
  void SetCaller(std::thread::id id) { caller_.store(id, std::memory_order_relaxed); }
  // Where the caller last waited, for the drain's own wait after answering.
  const WaitingCpu& callerCpu() const { return callerCpu_; }

 private:
  // Claimed: the drain has the call (it runs or ran); a cancel leaves it.
  // Claimed owning its data: the drain runs it, a cancel may still settle it.
  enum : uint64_t { kClaimed = 1, kClaimedOwnsData = 2, kSettled = 3 };

  // Answers only move forward: a late cancel of an earlier call never
  // hides the answer of a later one. (Call n is settled once, and no later
  // call begins before that, so n is the newest answer when it is given.)
  void Settle(uint64_t value) {
    uint64_t s = settled_.load(std::memory_order_relaxed);
    while (s < value && !settled_.compare_exchange_weak(s, value)) {
    }
    if (sleeping_.load()) {
      std::lock_guard<std::mutex> lock(mutex_);
      wake_.notify_all();
    }
  }

  // The drain's: number << 2 | state of the newest claimed call.
  alignas(64) std::atomic<uint64_t> claim_{0};
  std::atomic<bool> sleeping_{false};  // written only by a caller about to sleep
  // The answer: number << 1 | cancelled, and the result when not cancelled.
  alignas(64) std::atomic<uint64_t> settled_{0};
  LRESULT result_ = 0;
  // Read by the drain after it answered; written by the caller only when it
  // moved to another processor.
  WaitingCpu callerCpu_{-1};
  // The caller's.
  alignas(64) std::atomic<uint64_t> waiting_{0};
  std::atomic<HWND> target_{nullptr};
  std::atomic<std::thread::id> caller_{};
  uint64_t lastCall_ = 0;
  std::mutex mutex_;
  std::condition_variable wake_;
  CallSlots* owner_ = nullptr;  // set when a thread takes the slot
  friend class CallSlots;
};

// Every slot ever made; a thread takes one on its first call and hands it
// back when it ends: after its C++ thread_local objects are destroyed, so
// their destructors may still send.
class CallSlots {
 public:
  CallSlots() { pthread_key_create(&key_, &GiveBack); }

  CallSlot& ForThisThread() {
    if (!mine_) {
      mine_ = Take();
      mine_->owner_ = this;
      mine_->SetCaller(std::this_thread::get_id());
      pthread_setspecific(key_, mine_);
    }
    return *mine_;
  }

  // Cancels every waiting call whose target and caller match. A condition
  // set before this (shutdown, a dead target) is seen by every call that
  // begins after this has looked at its slot.
  template <typename Pred>
  void CancelIf(Pred pred) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (CallSlot* slot : all_) {
      const uint64_t n = slot->waiting();
      if (!n) continue;
      const HWND target = slot->target();
      const std::thread::id caller = slot->caller();
      // A newer call began meanwhile: it sees the condition itself.
      if (slot->waiting() == n && pred(target, caller)) slot->Cancel(n);
    }
  }

 private:
  CallSlot* Take() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!free_.empty()) {
      CallSlot* slot = free_.back();
      free_.pop_back();
      return slot;
    }
    all_.push_back(new CallSlot);  // never freed: queued items may name it
    return all_.back();
  }

  // At the end of the slot's thread.
  static void GiveBack(void* p) {
    auto* slot = static_cast<CallSlot*>(p);
    CallSlots& self = *slot->owner_;
    mine_ = nullptr;
    slot->SetCaller(std::thread::id());
    std::lock_guard<std::mutex> lock(self.mutex_);
    self.free_.push_back(slot);
  }

  pthread_key_t key_;
  std::mutex mutex_;
  std::vector<CallSlot*> all_;
  std::vector<CallSlot*> free_;
  ZEB_FAST_TLS static inline thread_local CallSlot* mine_ = nullptr;
};

}  // namespace platform::detail
