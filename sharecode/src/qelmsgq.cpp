#include "sharecode/qelmsgq.h"

#include <cstdio>

CQELMsgQ::CQELMsgQ() : m_lastTimerScan(ClockNow()) {
  m_notEmpty.Create();
  m_fetched.Create();
}

CQELMsgQ::~CQELMsgQ() {
  // The loop must be gone before the lists it reads are freed.
  Stop();
  WaitForExit();
  m_pending.SetUnlocked(0);
  CAutoLock queue(&m_queueLock);
  m_priorities.clear();
}

void CQELMsgQ::SetTimer(int id, int intervalMs, int p1, int p2, int p3, int p4) {
  AddTimer(id, intervalMs, p1, p2, p3, p4);
}

void CQELMsgQ::AddTimer(int id, int intervalMs, int p1, int p2, int p3, int p4) {
  STimer timer{id, intervalMs, ClockNow(), {p1, p2, p3, p4}};
  CAutoLock guard(&m_timerLock);
  m_timers.push_back(timer);
}

void CQELMsgQ::PostMsg(int priority, const SThreadMsg& msg) {
  CAutoLock guard(&m_queueLock);
  m_priorities[priority].messages.push_back(msg);
  m_pending.Increment();
  m_notEmpty.Set();
}

void CQELMsgQ::SetQuota(int priority, int quota) {
  CAutoLock guard(&m_queueLock);
  m_priorities[priority].quota = quota;
}

int CQELMsgQ::Step() {
  int wait = m_idle.Get() ? m_idleWait.Get() : 0;
  int idle = ProcessStep(false, wait);
  m_idle.Set(idle);
  if (idle) {
    OnIdle();
    OnIdleDone();
  }
  return 0;
}

int CQELMsgQ::Exit() {
  // After the loop the run flag is clear, so this drops what is left
  // (pending timers included), as the system does.
  if (m_drainOnExit.Get()) return ProcessStep(true, 0);
  return 0;
}

int CQELMsgQ::ProcessStep(bool forced, int waitMs) {
  if (!m_runFlag.Get()) return 0;
  std::list<SThreadMsg> fetched;
  Fetch(&fetched, forced, 100, waitMs);
  for (const SThreadMsg& msg : fetched) {
    if (msg.type == THREAD_MSG_QUIT) m_runFlag.Set(0);
    else OnMessage(msg, forced ? 1 : 0);
  }
  return fetched.empty() ? 1 : 0;
}

int CQELMsgQ::Fetch(std::list<SThreadMsg>* out, bool forced, int defaultQuota, int waitMs) {
  if (!out) return -1;
  const SClockValue now = ClockNow();
  {
    CAutoLock timers(&m_timerLock);
    // Timers are looked at no more than once per 9 ms.
    if (forced || ClockDiffMs(now, m_lastTimerScan) > 9) {
      m_lastTimerScan = now;
      for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (forced || ClockDiffMs(now, it->start) >= it->interval) {
          SThreadMsg msg;
          msg.type = THREAD_MSG_TIMER;
          msg.id = it->id;
          msg.params[0] = it->interval;
          for (int i = 0; i < 4; ++i) msg.params[i + 1] = it->params[i];
          out->push_back(msg);
          it = m_timers.erase(it);
        } else {
          ++it;
        }
      }
    }
  }

  CAutoLock queue(&m_queueLock);
  for (;;) {
    if (out->empty() && m_priorities.empty() && waitMs > 0 && !forced)
      m_notEmpty.WaitReleasing(m_queueLock, waitMs);
    bool quit = false;
    const bool single = m_priorities.size() == 1;
    for (auto& [priority, list] : m_priorities) {
      int quota = list.quota > 0 ? list.quota : 1;
      if (single) quota = defaultQuota > 0 ? defaultQuota : 100;
      for (int taken = 0; taken < quota && !list.messages.empty(); ++taken) {
        SThreadMsg msg = list.messages.front();
        list.messages.pop_front();
        m_pending.Decrement();
        out->push_back(msg);
        if (msg.type == THREAD_MSG_QUIT && !forced) {
          quit = true;
          break;
        }
      }
      if (quit) break;
    }
    m_fetched.Set();
    for (auto it = m_priorities.begin(); it != m_priorities.end();)
      it = it->second.messages.empty() ? m_priorities.erase(it) : std::next(it);
    if (quit || m_priorities.empty() || !forced) break;
  }
  return 0;
}

int CQELMsgQ::OnMessage(const SThreadMsg& msg, int) {
  OnUnhandled(msg.type, msg.id, msg.params[0], msg.params[1], msg.params[2], msg.params[3],
              msg.params[4]);
  return 0;
}

void CQELMsgQ::OnUnhandled(int type, int id, int, int, int, int, int) {
  char text[160];
  if (type == THREAD_MSG_TIMER)
    std::snprintf(
        text, sizeof text,
        "$$$$$$$$$$$$$$$$$$$$$ the msg[timerID=%d] has not been deal. $$$$$$$$$$$$$$$$$$$$$\n", id);
  else
    std::snprintf(
        text, sizeof text,
        "$$$$$$$$$$$$$$$$$$$$$ the msg[msgID=%d] has not been deal. $$$$$$$$$$$$$$$$$$$$$\n", type);
  Trace("..\\sharecode\\qelmsgq", 81, 0, "%s", text);
}
