// Integers shared between threads: a value and its lock.
#pragma once
#include <atomic>
#include <cstdint>

#include "sharecode/lock.h"

class CLockedInt {
 public:
  explicit CLockedInt(int value = 0) : m_value(value) {}
  CLockedInt(const CLockedInt&) = delete;
  CLockedInt& operator=(const CLockedInt&) = delete;

  int Get() {
    CAutoLock guard(&m_lock);
    return m_value.load(std::memory_order_relaxed);
  }
  void Set(int value) {
    CAutoLock guard(&m_lock);
    m_value.store(value, std::memory_order_relaxed);
  }
  // Without the lock: for a value only its owner thread writes while
  // others read (the store itself is still atomic).
  CLockedInt& SetUnlocked(int value) {
    m_value.store(value, std::memory_order_release);
    return *this;
  }

 protected:
  std::atomic<int32_t> m_value;
  CLock m_lock;
};

// A count under a lock: the process-wide thread count, a queue's pending
// messages.
class CLockedCounter : public CLockedInt {
 public:
  explicit CLockedCounter(int value = 0) : CLockedInt(value) {}
  int Increment() {
    CAutoLock guard(&m_lock);
    int value = m_value.load(std::memory_order_relaxed) + 1;
    m_value.store(value, std::memory_order_relaxed);
    return value;
  }
  int Decrement() {
    CAutoLock guard(&m_lock);
    int value = m_value.load(std::memory_order_relaxed) - 1;
    m_value.store(value, std::memory_order_relaxed);
    return value;
  }
};
