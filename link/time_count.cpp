#include "link/time_count.h"

#include <chrono>

namespace {
int64_t CounterNow() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
}  // namespace

CTimeCount::CTimeCount() : m_nFrequency(1000000000) {}

void CTimeCount::Start() {
  m_nStopped = 0;
  m_nStart = CounterNow();
}

double CTimeCount::Elapsed() {
  if (!m_nStopped) {
    m_nEnd = CounterNow();
    m_dElapsed = (double)(m_nEnd - m_nStart) / (double)m_nFrequency;
  }
  return m_dElapsed;
}

void CTimeCount::Stop() {
  Elapsed();
  m_nStopped = 1;
}
