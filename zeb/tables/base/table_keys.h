// The virtual keys and mouse-wheel rule the drawn objects and tables take.
// The values are Win32's; they are named apart from the window layer's
// VK_ constants so the tables build and test without any window.
#pragma once
#include "platform/types.h"

namespace table_keys {

constexpr UINT kReturn = 0x0D;
constexpr UINT kPrior = 0x21;  // Page Up
constexpr UINT kNext = 0x22;   // Page Down
constexpr UINT kEnd = 0x23;
constexpr UINT kHome = 0x24;
constexpr UINT kLeft = 0x25;
constexpr UINT kUp = 0x26;
constexpr UINT kRight = 0x27;
constexpr UINT kDown = 0x28;
constexpr UINT kDelete = 0x2E;

// One wheel notch is 120.
constexpr int kWheelDelta = 120;

struct SWheelKey {
  UINT key;   // kPrior for a turn away from the user, else kNext
  int steps;  // whole notches, truncated toward zero
};

// A wheel turn as the paging key views pass on: +240 is (kPrior, 2),
// -120 (kNext, 1), +60 (kPrior, 0).
constexpr SWheelKey WheelToPageKey(int delta) {
  const int steps = delta / kWheelDelta;
  return SWheelKey{delta > 0 ? kPrior : kNext, steps < 0 ? -steps : steps};
}

}  // namespace table_keys
