// Reader/writer lock in which a waiting writer keeps new readers out.
#pragma once
#include <cstdint>

#include "platform/sync.h"

class CRWLock {
 public:
  enum { READER = 1, WRITER = 2 };
  CRWLock() = default;
  CRWLock(const CRWLock&) = delete;
  CRWLock& operator=(const CRWLock&) = delete;

  // Mode 1 takes a reader's share; any other mode the writer's lock.
  void Lock(int mode);
  // Releases what Lock with the same mode took.
  void Unlock(int mode);

 private:
  platform::CriticalSection m_writerCountLock;
  // The gate and the resource are taken by one thread and released by
  // another (the first and the last reader differ), so they are locks any
  // thread may release.
  platform::ReleasableLock m_readersGate;
  platform::ReleasableLock m_resourceLock;
  platform::CriticalSection m_readerEntryLock;
  platform::CriticalSection m_readerCountLock;
  int32_t m_readers = 0;
  int32_t m_writers = 0;
};
