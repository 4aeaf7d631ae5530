// The trading window's sense of time, injectable: a steady millisecond
// clock for its timers (idle lock, refresh) and the wall clock for "today"
// (the date ranges of the query panels).
#pragma once
#include <cstdint>

class ITradeClock {
 public:
  virtual ~ITradeClock() = default;
  virtual int64_t SteadyMs() const = 0;
  // Seconds since 1970 (UTC), read as local dates by the panels.
  virtual int64_t WallSeconds() const = 0;
};

// The real clocks.
ITradeClock& SystemTradeClock();

// A clock that moves only when told (tests, and the benchmarks).
class CManualTradeClock : public ITradeClock {
 public:
  explicit CManualTradeClock(int64_t steadyMs = 0, int64_t wallSeconds = 0)
      : steadyMs_(steadyMs), wallSeconds_(wallSeconds) {}
  int64_t SteadyMs() const override { return steadyMs_; }
  int64_t WallSeconds() const override { return wallSeconds_; }
  void Advance(int64_t ms) { steadyMs_ += ms; }
  void SetWallSeconds(int64_t s) { wallSeconds_ = s; }

 private:
  int64_t steadyMs_;
  int64_t wallSeconds_;
};

// A timer expressed as a deadline on a clock: the window's own timer only
// wakes the logic, which asks the deadline whether it is due, so the logic
// runs the same on a manual clock. (A window timer may wake a little early;
// the logic then sets it again for the time that is left.)
class CDeadlineTimer {
 public:
  // Starts (or restarts) the timer: due periodMs from now.
  void Start(const ITradeClock& clock, int64_t periodMs);
  void Stop() { armed_ = false; }
  bool IsArmed() const { return armed_; }
  // True when the deadline has passed; a repeating timer then starts its
  // next period, a one-shot timer stops.
  bool Due(const ITradeClock& clock, bool repeat);
  int64_t PeriodMs() const { return periodMs_; }
  // Milliseconds left until the deadline (0 when it has passed).
  int64_t RemainingMs(const ITradeClock& clock) const;

 private:
  bool armed_ = false;
  int64_t deadline_ = 0;
  int64_t periodMs_ = 0;
};
