// A worker thread with a message loop: one-shot timers and priority lists
// of messages, fetched each step and handed to OnMessage.
#pragma once
#include <cstdint>
#include <list>
#include <map>

#include "sharecode/clock.h"
#include "sharecode/event.h"
#include "sharecode/mythread.h"

enum { THREAD_MSG_QUIT = 1, THREAD_MSG_TIMER = 2 };

struct SThreadMsg {
  int32_t type = 0;  // 1 quit, 2 timer, others the owner's
  int32_t id = 0;    // message or timer id
  int32_t params[5] = {};
};

class CQELMsgQ : public CMyThread {
 public:
  CQELMsgQ();
  ~CQELMsgQ() override;

  int Step() override;
  // At the end of the loop: one forced step when draining on exit is on.
  int Exit() override;
  // The default handler reports the message as not dealt with.
  virtual int OnMessage(const SThreadMsg& msg, int forced);
  // Called after a step that found nothing.
  virtual void OnIdle() {}
  virtual void OnIdleDone() {}
  virtual void OnUnhandled(int type, int id, int p0, int p1, int p2, int p3, int p4);

  // One-shot timer: after intervalMs a message {2, id, intervalMs, p1..p4}.
  void SetTimer(int id, int intervalMs, int p1, int p2, int p3, int p4);
  void AddTimer(int id, int intervalMs, int p1, int p2, int p3, int p4);

  // Queues a message in a priority list (lower numbers first) and wakes
  // the loop. The system's own threads only use timers.
  void PostMsg(int priority, const SThreadMsg& msg);
  // Messages a priority may give per pass when several priorities wait.
  void SetQuota(int priority, int quota);
  int GetPendingCount() { return m_pending.Get(); }
  void SetDrainOnExit(bool drain) { m_drainOnExit.Set(drain ? 1 : 0); }
  void SetIdleWait(int ms) { m_idleWait.Set(ms); }

 protected:
  // Fetches what is due and runs it: 1 when nothing was fetched, else 0.
  int ProcessStep(bool forced, int waitMs);
  // Appends due timers and queued messages to out; -1 when out is NULL.
  int Fetch(std::list<SThreadMsg>* out, bool forced, int defaultQuota, int waitMs);

 private:
  struct STimer {
    int32_t id;
    int32_t interval;
    SClockValue start;
    int32_t params[4];
  };
  struct SPriorityList {
    int quota = 0;
    std::list<SThreadMsg> messages;
  };

  CLockedInt m_drainOnExit{1};
  CLockedInt m_idleWait{50};
  CLock m_timerLock;
  std::list<STimer> m_timers;
  SClockValue m_lastTimerScan;
  CLockedInt m_idle{1};
  CLock m_queueLock;
  CEvent m_notEmpty;
  CEvent m_fetched;
  std::map<int, SPriorityList> m_priorities;
  CLockedCounter m_pending{0};
};
