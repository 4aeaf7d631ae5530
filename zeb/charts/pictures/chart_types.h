// Types the K-line object and its pictures share: the range record it lends
// them, the overlaid-close data, the no-value markers and the period codes.
#pragma once
#include <climits>
#include <cstdint>

#include "formula/functions/formula_types.h"

// No value in a value array, and no pixel row in a row array.
constexpr float kNoValue = 2147483648.0f;
constexpr int kNoRow = INT_MAX;

// Period codes (the K-line request type is 0x0500 or 0x0600 plus the code).
constexpr int kPeriod5 = 5, kPeriod15 = 15, kPeriod30 = 30, kPeriod60 = 60, kPeriodDay = 61,
              kPeriodWeek = 62, kPeriodMonth = 63;
inline bool IsMinutePeriod(int period) { return period > 0 && period <= 60; }

// The second item whose close a picture overlays on the first.
struct SAppendCloseData {
  const SHistoryUnit* own = nullptr;
  const SHistoryUnit* other = nullptr;
  char otherCode[8] = {};  // not NUL-terminated
};

// What the K-line object lends its pictures at every recompute.
struct SKLineRange {
  int32_t end = 0;          // one past the last visible bar
  int32_t first = 0;        // first visible bar
  int32_t candleWidth = 0;  // pixels
  int32_t decimals = 2;     // price decimals of the item
  int32_t barsPerColumn = 1;
  int32_t reserved = 0;
  const SHistoryUnit* const* bars = nullptr;  // the object's shown-series pointer
  const SAppendCloseData* overlay = nullptr;  // only for the overlaid-close picture
};
