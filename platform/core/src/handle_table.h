// The table behind message-target handles (private to window.cpp).
//
// A handle names a slot and that slot's generation, so handles are never
// reused and a stale one simply stops matching. Checking a handle takes two
// loads and no lock: posts check their target on every call, from any
// thread. Each slot counts the handlers running for it, so a target ended on
// one thread waits until its handler running on another has returned, and a
// handler that ends its own target does not wait for itself.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/window.h"

#include "fast_tls.h"

namespace platform::detail {

class HandleTable {
  struct Slot;

 public:
  // A handler in progress on this thread; frames chain outward through
  // nested handlers.
  struct Frame {
    Slot* slot = nullptr;
    Frame* outer = nullptr;
  };

  HWND Add(MsgTarget* target) {
    std::lock_guard<std::mutex> lock(mutex_);
    uint32_t index = TakeFreeIndexLocked();
    Slot& slot = At(index);
    ++slot.generation;
    const uintptr_t handle = (slot.generation << kIndexBits) | index;
    slot.target.store(target, std::memory_order_relaxed);
    slot.handle.store(handle, std::memory_order_release);
    return reinterpret_cast<HWND>(handle);
  }

  bool IsLive(HWND hwnd) const {
    const Slot* slot = Find(hwnd);
    return slot && slot->handle.load() == reinterpret_cast<uintptr_t>(hwnd);
  }

  // Ends the handle: it stops matching at once; handlers of it running on
  // other threads are waited for; then the slot may serve a new target.
  void Remove(HWND hwnd) {
    Slot* slot = Find(hwnd);
    uintptr_t live = reinterpret_cast<uintptr_t>(hwnd);
    // Ordered before the count below (see Enter).
    if (!slot || !slot->handle.compare_exchange_strong(live, 0)) return;
    const int mine = FramesOnThisThread(slot);
    if (slot->running.load() != mine) {
      std::unique_lock<std::mutex> lock(leaveMutex_);
      leaveWaiters_.fetch_add(1);
      leaveCv_.wait(lock, [&] { return slot->running.load() == mine; });
      leaveWaiters_.fetch_sub(1);
    }
    std::lock_guard<std::mutex> lock(mutex_);
    free_.push_back(IndexOf(hwnd));
  }

  // Starts a handler run for the handle: the target, or null when the handle
  // is dead. A non-null result must be matched by Leave(frame).
  MsgTarget* Enter(HWND hwnd, Frame& frame) {
    Slot* slot = Find(hwnd);
    if (!slot) return nullptr;
    // Counted before the handle is checked, while Remove clears the handle
    // before it reads the count (both sequentially consistent): either this
    // run sees the handle dead or Remove sees the run and waits for it.
    slot->running.fetch_add(1);
    if (slot->handle.load() != reinterpret_cast<uintptr_t>(hwnd)) {
      Release(slot);
      return nullptr;
    }
    frame.slot = slot;
    frame.outer = top_;
    top_ = &frame;
    return slot->target.load(std::memory_order_relaxed);
  }

  void Leave(Frame& frame) {
    top_ = frame.outer;
    Release(frame.slot);
  }

 private:
  static constexpr unsigned kIndexBits = 20;  // up to a million live targets
  static constexpr unsigned kChunkBits = 10;
  static constexpr uint32_t kChunkSlots = 1u << kChunkBits;
  static constexpr uint32_t kChunks = 1u << (kIndexBits - kChunkBits);
  static_assert(sizeof(uintptr_t) == 8, "handles keep a generation above the slot index");

  struct Slot {
    alignas(64) std::atomic<uintptr_t> handle{0};
    std::atomic<MsgTarget*> target{nullptr};
    uintptr_t generation = 0;  // under mutex_
    // Apart from the handle, which posting threads read: the count changes
    // with every handler the user-interface thread runs.
    alignas(64) std::atomic<int> running{0};
  };

  static uint32_t IndexOf(HWND hwnd) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hwnd) &
                                 ((uintptr_t{1} << kIndexBits) - 1));
  }

  Slot* Find(HWND hwnd) const {
    const uint32_t index = IndexOf(hwnd);
    Slot* chunk = chunks_[index >> kChunkBits].load(std::memory_order_acquire);
    return chunk ? &chunk[index & (kChunkSlots - 1)] : nullptr;
  }

  Slot& At(uint32_t index) {
    return chunks_[index >> kChunkBits].load(std::memory_order_relaxed)[index & (kChunkSlots - 1)];
  }

  // A freed slot whose count is not zero still has a handler of its old
  // target running on the thread that ended it; leave it until that returns.
  uint32_t TakeFreeIndexLocked() {
    for (size_t i = 0; i < free_.size(); ++i) {
      const uint32_t index = free_[i];
      if (At(index).running.load() == 0) {
        free_[i] = free_.back();
        free_.pop_back();
        return index;
      }
    }
    const uint32_t index = used_++;
    if (index >= kChunks * kChunkSlots) {
      std::fprintf(stderr, "platform: more than %u message targets alive\n", kChunks * kChunkSlots);
      std::abort();
    }
    auto& chunk = chunks_[index >> kChunkBits];
    if (!chunk.load(std::memory_order_relaxed))
      chunk.store(new Slot[kChunkSlots], std::memory_order_release);
    return index;
  }

  int FramesOnThisThread(const Slot* slot) const {
    int n = 0;
    for (const Frame* f = top_; f; f = f->outer) n += f->slot == slot;
    return n;
  }

  void Release(Slot* slot) {
    slot->running.fetch_sub(1);
    if (leaveWaiters_.load()) {
      { std::lock_guard<std::mutex> lock(leaveMutex_); }
      leaveCv_.notify_all();
    }
  }

  std::mutex mutex_;  // slot allocation
  std::vector<uint32_t> free_;
  uint32_t used_ = 0;
  std::atomic<Slot*> chunks_[kChunks] = {};  // made as needed, never freed

  std::mutex leaveMutex_;
  std::condition_variable leaveCv_;
  std::atomic<int> leaveWaiters_{0};

  ZEB_FAST_TLS static inline thread_local Frame* top_ = nullptr;
};

}  // namespace platform::detail
