// A monotonic millisecond clock that survives the wrap of the 32-bit tick
// counter (every 49.7 days).
#pragma once
#include <cstdint>

struct SClockValue {
  uint64_t seconds = 0;
  uint16_t milliseconds = 0;
};

// The current clock value; never earlier than a value handed out before.
SClockValue ClockNow();
// a - b in milliseconds (64 bits: no overflow however far apart).
int64_t ClockDiffMs(const SClockValue& a, const SClockValue& b);
// a earlier than b.
bool ClockLess(const SClockValue& a, const SClockValue& b);
void ClockReset(SClockValue& value);

// Tests replace the 32-bit millisecond tick counter (NULL: the system's)
// and forget the last value handed out.
typedef uint32_t (*ClockTickSource)();
void SetClockTickSource(ClockTickSource source);
