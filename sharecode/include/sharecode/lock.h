// A critical section and its scoped guard.
#pragma once
#include "platform/sync.h"

class CLock {
 public:
  CLock() = default;
  CLock(const CLock&) = delete;
  CLock& operator=(const CLock&) = delete;
  void Enter() { m_section.Enter(); }
  void Leave() { m_section.Leave(); }
  platform::CriticalSection& Section() { return m_section; }

 private:
  platform::CriticalSection m_section;
};

// Holds a lock for its scope; a NULL lock is allowed and holds nothing.
class CAutoLock {
 public:
  explicit CAutoLock(CLock* lock) : m_lock(lock) {
    if (m_lock) m_lock->Enter();
  }
  ~CAutoLock() { Leave(); }
  CAutoLock(const CAutoLock&) = delete;
  CAutoLock& operator=(const CAutoLock&) = delete;
  // Leaves early; the destructor then does nothing.
  void Leave() {
    if (m_lock) m_lock->Leave();
    m_lock = nullptr;
  }

 private:
  CLock* m_lock;
};
