// Reading and writing the numbers that trade texts carry. A text that does
// not parse counts as 0, and so does a number that is not finite, so a
// server's odd value never shows as "inf" or "nan" or divides by zero.
#pragma once
#include <cstdint>
#include <string>

// The leading number of the text (strtod), 0 when there is none or it is
// not finite.
double TextToNumber(const std::string& text);
// atoi that never overflows (leading blanks, sign, digits; 0 without).
int TextToInt(const std::string& text);
// "%.2f"; a value that is not finite gives "0.00".
std::string FormatMoney(double value);
// True for a non-empty text of decimal digits only.
bool IsDigitText(const std::string& text);
// True for a whole decimal integer in the int range (optional sign; no
// other byte); *value receives it.
bool ParseWholeInt(const std::string& text, int* value);

// Local calendar dates of the panels' date ranges.
constexpr int64_t kSecondsPerDay = 86400;
// "%04d-%02d-%02d" of the local date of a time; "" when it cannot be told.
std::string FormatDate(int64_t seconds);
inline int64_t PreviousDay(int64_t seconds) { return seconds - kSecondsPerDay; }
inline int64_t NextDay(int64_t seconds) { return seconds + kSecondsPerDay; }

// The range a query panel's two date pickers hold (seconds); both start a
// day before now.
struct SDateRange {
  int64_t start = 0;
  int64_t end = 0;
  static SDateRange DayBefore(int64_t now) { return {PreviousDay(now), PreviousDay(now)}; }
};
