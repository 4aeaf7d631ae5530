#include "sharecode/rwlock.h"

void CRWLock::Lock(int mode) {
  if (mode == READER) {
    // One reader at a time queues at the gate, so a writer that closed it
    // is next in line.
    m_readerEntryLock.Enter();
    m_readersGate.Enter();
    m_readerCountLock.Enter();
    if (++m_readers == 1) m_resourceLock.Enter();
    m_readerCountLock.Leave();
    m_readersGate.Leave();
    m_readerEntryLock.Leave();
    return;
  }
  m_writerCountLock.Enter();
  if (++m_writers == 1) m_readersGate.Enter();
  m_writerCountLock.Leave();
  m_resourceLock.Enter();
}

void CRWLock::Unlock(int mode) {
  if (mode == READER) {
    m_readerCountLock.Enter();
    if (--m_readers == 0) m_resourceLock.Leave();
    m_readerCountLock.Leave();
    return;
  }
  m_resourceLock.Leave();
  m_writerCountLock.Enter();
  if (--m_writers == 0) m_readersGate.Leave();
  m_writerCountLock.Leave();
}
