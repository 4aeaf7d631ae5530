// An auto-reset event that a thread can wait on while giving up a lock.
#pragma once
#include <memory>

#include "platform/sync.h"
#include "sharecode/lock.h"

class CEvent {
 public:
  CEvent() = default;
  ~CEvent() { Close(); }
  CEvent(const CEvent&) = delete;
  CEvent& operator=(const CEvent&) = delete;

  // Auto-reset, not signalled.
  void Create() { m_event = std::make_unique<platform::AutoResetEvent>(false); }
  void Set() {
    if (m_event) m_event->Set();
  }
  void Close() { m_event.reset(); }
  bool IsCreated() const { return m_event != nullptr; }

  // Leaves the lock, waits up to ms for the event, enters the lock again;
  // true when the wait timed out. Without an event it returns false at once.
  bool WaitReleasing(CLock& lock, int ms) {
    if (!m_event) return false;
    return !m_event->WaitReleasing(lock.Section(), ms);
  }

 private:
  std::unique_ptr<platform::AutoResetEvent> m_event;
};
