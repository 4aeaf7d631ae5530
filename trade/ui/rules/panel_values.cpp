#include "trade/ui/rules/panel_values.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "sharecode/time_text.h"
#include "trade/core/trade_codec.h"

double TextToNumber(const std::string& text) {
  const double v = std::strtod(text.c_str(), nullptr);
  return std::isfinite(v) ? v : 0.0;
}

int TextToInt(const std::string& text) { return TradeAtoi(text); }

std::string FormatMoney(double value) {
  if (!std::isfinite(value)) value = 0;
  char out[64];
  std::snprintf(out, sizeof out, "%.2f", value);
  return out;
}

bool IsDigitText(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

bool ParseWholeInt(const std::string& text, int* value) {
  if (text.empty()) return false;
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(begin, &end, 10);
  // strtol skips leading blanks; a whole number starts with its sign or digit.
  if (end != begin + text.size() || errno == ERANGE || v < INT_MIN || v > INT_MAX ||
      text[0] == ' ' || text[0] == '\t')
    return false;
  *value = static_cast<int>(v);
  return true;
}

std::string FormatDate(int64_t seconds) {
  int year = 0, month = 0, day = 0;
  if (!SplitLocalTime(seconds, &year, &month, &day, nullptr, nullptr, nullptr, nullptr)) return "";
  char out[32];
  std::snprintf(out, sizeof out, "%04d-%02d-%02d", year, month, day);
  return std::string(out).substr(0, 10);
}
