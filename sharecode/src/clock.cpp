#include "sharecode/clock.h"

#include <atomic>

#include "platform/sync.h"
#include "platform/window.h"

namespace {

uint32_t SystemTicks() { return (uint32_t)GetTickCount(); }

struct ClockState {
  platform::CriticalSection lock;
  SClockValue last;
  bool lastSet = false;
  std::atomic<ClockTickSource> source{&SystemTicks};
};

ClockState& State() {
  static ClockState state;
  return state;
}

// One wrap of the tick counter: 2^32 ms = 4294967 s + 296 ms.
constexpr uint64_t kWrapSeconds = 4294967;
constexpr uint16_t kWrapMilliseconds = 296;

}  // namespace

SClockValue ClockNow() {
  ClockState& s = State();
  // The counter is read under the lock: a thread that read it earlier but
  // got the lock later would otherwise look like a wrap.
  s.lock.Enter();
  uint32_t ticks = s.source.load(std::memory_order_relaxed)();
  SClockValue value{ticks / 1000, (uint16_t)(ticks % 1000)};
  if (!s.lastSet) {
    s.last = value;
    s.lastSet = true;
  }
  while (ClockLess(value, s.last)) {
    // The counter wrapped. The milliseconds carry into the seconds so that
    // comparing seconds first keeps the order.
    value.seconds += kWrapSeconds;
    value.milliseconds = (uint16_t)(value.milliseconds + kWrapMilliseconds);
    if (value.milliseconds >= 1000) {
      value.milliseconds = (uint16_t)(value.milliseconds - 1000);
      ++value.seconds;
    }
  }
  s.last = value;
  s.lock.Leave();
  return value;
}

int64_t ClockDiffMs(const SClockValue& a, const SClockValue& b) {
  return ((int64_t)a.seconds - (int64_t)b.seconds) * 1000 + (int64_t)a.milliseconds -
         (int64_t)b.milliseconds;
}

bool ClockLess(const SClockValue& a, const SClockValue& b) {
  if (a.seconds != b.seconds) return a.seconds < b.seconds;
  return a.milliseconds < b.milliseconds;
}

void ClockReset(SClockValue& value) {
  value.seconds = 0;
  value.milliseconds = 0;
}

void SetClockTickSource(ClockTickSource source) {
  ClockState& s = State();
  s.lock.Enter();
  s.source.store(source ? source : &SystemTicks);
  s.lastSet = false;
  s.lock.Leave();
}
