#include "settings/text_trim.h"

#include <climits>

namespace settings {

bool ParseDecimalInt(std::string_view text, int* out) {
  text = TrimBlanksLeft(text);
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Accumulate as a negative number so INT_MIN fits.
  long long acc = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    acc = acc * 10 - (text[i] - '0');
    if (acc < (long long)INT_MIN) return false;
  }
  if (!negative) {
    if (-acc > (long long)INT_MAX) return false;
    acc = -acc;
  }
  *out = (int)acc;
  return true;
}

}  // namespace settings
