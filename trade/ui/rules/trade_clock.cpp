#include "trade/ui/rules/trade_clock.h"

#include <chrono>

namespace {

class CSystemTradeClock : public ITradeClock {
 public:
  int64_t SteadyMs() const override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  int64_t WallSeconds() const override {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
  }
};

}  // namespace

ITradeClock& SystemTradeClock() {
  static CSystemTradeClock clock;
  return clock;
}

void CDeadlineTimer::Start(const ITradeClock& clock, int64_t periodMs) {
  periodMs_ = periodMs;
  deadline_ = clock.SteadyMs() + periodMs;
  armed_ = true;
}

bool CDeadlineTimer::Due(const ITradeClock& clock, bool repeat) {
  if (!armed_) return false;
  const int64_t now = clock.SteadyMs();
  if (now < deadline_) return false;
  if (repeat) deadline_ = now + periodMs_;
  else armed_ = false;
  return true;
}

int64_t CDeadlineTimer::RemainingMs(const ITradeClock& clock) const {
  const int64_t left = deadline_ - clock.SteadyMs();
  return left > 0 ? left : 0;
}
