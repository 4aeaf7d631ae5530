// A stopwatch on the monotonic high-resolution clock.
#pragma once
#include <cstdint>

class CTimeCount {
 public:
  CTimeCount();
  virtual ~CTimeCount() = default;

  void Start();
  // While running: the seconds since Start; when stopped: the value
  // computed when it was stopped.
  double Elapsed();
  void Stop();
  bool IsStopped() const { return m_nStopped != 0; }

 private:
  double m_dElapsed = 0.0;
  int32_t m_nStopped = 1;
  int64_t m_nStart = 0;
  int64_t m_nEnd = 0;
  int64_t m_nFrequency;
};
