#include "platform/sync.h"

namespace platform {

bool Semaphore::Wait(int timeoutMs) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (timeoutMs < 0) {
    cv_.wait(lock, [&] { return count_ > 0; });
  } else if (!cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [&] { return count_ > 0; })) {
    return false;
  }
  --count_;
  return true;
}

bool Semaphore::Release(long n) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (n <= 0 || count_ > max_ - n) return false;
    count_ += n;
  }
  if (n == 1) cv_.notify_one();
  else cv_.notify_all();
  return true;
}

long Semaphore::Count() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return count_;
}

void AutoResetEvent::Set() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    signalled_ = true;
  }
  cv_.notify_one();
}

void AutoResetEvent::Reset() {
  std::lock_guard<std::mutex> lock(mutex_);
  signalled_ = false;
}

bool AutoResetEvent::Wait(int timeoutMs) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (timeoutMs < 0) {
    cv_.wait(lock, [&] { return signalled_; });
  } else if (!cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [&] { return signalled_; })) {
    return false;
  }
  signalled_ = false;
  return true;
}

bool AutoResetEvent::WaitReleasing(CriticalSection& lock, int timeoutMs) {
  lock.Leave();
  bool got = Wait(timeoutMs);
  lock.Enter();
  return got;
}

}  // namespace platform
