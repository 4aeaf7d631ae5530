// Threads and locks in the shapes the system's code expects.
#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace platform {

// A critical section: recursive, owned by the thread that entered it.
class CriticalSection {
 public:
  void Enter() { mutex_.lock(); }
  void Leave() { mutex_.unlock(); }
  bool TryEnter() { return mutex_.try_lock(); }
  std::recursive_mutex& Native() { return mutex_; }

 private:
  std::recursive_mutex mutex_;
};

// Counting semaphore; Release may come from any thread.
class Semaphore {
 public:
  explicit Semaphore(long initial = 0, long maximum = 0x7fffffff)
      : count_(initial), max_(maximum) {}
  // Waits up to timeoutMs (negative: forever); true when taken.
  bool Wait(int timeoutMs = -1);
  // Adds n (never above the maximum); false when that would exceed it.
  bool Release(long n = 1);
  long Count() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable cv_;
  long count_;
  long max_;
};

// A lock that any thread may release (a binary semaphore): the reader/writer
// lock's gate is taken by one reader and released by another.
class ReleasableLock {
 public:
  void Enter() { sem_.Wait(-1); }
  void Leave() { sem_.Release(1); }

 private:
  Semaphore sem_{1, 1};
};

// Auto-reset event: a successful wait clears it.
class AutoResetEvent {
 public:
  explicit AutoResetEvent(bool signalled = false) : signalled_(signalled) {}
  void Set();
  void Reset();
  // Waits up to timeoutMs (negative: forever); true when signalled.
  bool Wait(int timeoutMs = -1);
  // Waits on a locked mutex the way a condition variable does: the
  // critical section is left while waiting and entered again after.
  bool WaitReleasing(CriticalSection& lock, int timeoutMs);

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool signalled_;
};

}  // namespace platform
