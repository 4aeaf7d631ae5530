#include "trade/quellan/trade_framer.h"

#include <cstring>

namespace {

constexpr char kSOH = '\x01';
constexpr size_t kMaxBeginString = 32;
constexpr size_t kTrailer = 9;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Matches the literal at data[pos...]; 1 matched, 0 need more, -1 differs.
int Expect(const char* data, size_t len, size_t pos, const char* literal) {
  const size_t n = std::strlen(literal);
  for (size_t i = 0; i < n; ++i) {
    if (pos + i >= len) return 0;
    if (data[pos + i] != literal[i]) return -1;
  }
  return 1;
}

}  // namespace

long FindTradeMessageEnd(const char* data, size_t len, size_t maxMessage) {
  size_t pos = 0;
  int m = Expect(data, len, pos, "1008");
  if (m <= 0) return m;
  pos += 4;
  if (pos >= len) return 0;
  if (data[pos] == '(') {
    // Explicit-length begin string: 1008(n)=<n bytes><SOH>.
    size_t n = 0, digits = 0;
    for (++pos; pos < len && IsDigit(data[pos]); ++pos, ++digits) n = n * 10 + (data[pos] - '0');
    if (pos >= len) return 0;
    if (digits == 0 || digits > 2 || n > kMaxBeginString || data[pos] != ')') return -1;
    ++pos;
    if ((m = Expect(data, len, pos, "=")) <= 0) return m;
    pos += 1 + n;
    if (pos >= len) return 0;
    if (data[pos] != kSOH) return -1;
    ++pos;
  } else {
    if (data[pos] != '=') return -1;
    const size_t start = ++pos;
    while (pos < len && data[pos] != kSOH) {
      if (pos - start >= kMaxBeginString) return -1;
      ++pos;
    }
    if (pos >= len) return pos - start > kMaxBeginString ? -1 : 0;
    ++pos;
  }
  if ((m = Expect(data, len, pos, "1009=")) <= 0) return m;
  pos += 5;
  size_t body = 0, digits = 0;
  for (; pos < len && IsDigit(data[pos]); ++pos) {
    if (++digits > 9) return -1;
    body = body * 10 + (data[pos] - '0');
  }
  if (pos >= len) return 0;
  if (digits == 0 || data[pos] != kSOH) return -1;
  ++pos;
  if (body > maxMessage || pos + body + kTrailer > maxMessage) return -1;
  const size_t total = pos + body + kTrailer;
  if (len < total) return 0;
  const char* t = data + pos + body;
  if (std::memcmp(t, "1010=", 5) != 0 || !IsDigit(t[5]) || !IsDigit(t[6]) || !IsDigit(t[7]) ||
      t[8] != kSOH)
    return -1;
  return static_cast<long>(total);
}
