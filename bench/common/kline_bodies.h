// Quote bodies the K-line benchmarks feed the chart: a day-bar history
// reply of a wandering price, and a pushed tick of the same item.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "link/quote_protocol.h"

namespace kline_bodies {

inline void Put(std::string& b, size_t at, uint32_t v, int width) {
  if (b.size() < at + width) b.resize(at + width, '\0');
  if (width == 2) quotelink::WriteU16(&b[at], uint16_t(v));
  else quotelink::WriteU32(&b[at], v);
}

// n day bars of a wandering price, oldest first (reply 0x053D).
inline std::string History(uint16_t market, int32_t code, int n) {
  std::string b;
  Put(b, 0, 0x053D, 2);
  Put(b, 2, 1, 2);
  Put(b, 4, 1, 2);
  Put(b, 10, market, 2);
  Put(b, 12, uint32_t(code), 4);
  Put(b, 16, uint32_t(n), 2);
  b.resize(22 + 28 * size_t(n), '\0');
  double price = 20.0;
  for (int i = 0; i < n; ++i) {
    const double open = price;
    price *= 1.0 + 0.03 * std::sin(i * 0.37) * std::cos(i * 0.11);
    const size_t at = 22 + 28 * size_t(i);
    const int month = i / 28;
    Put(b, at, uint32_t((1990 + month / 12) * 10000 + (month % 12 + 1) * 100 + i % 28 + 1), 4);
    Put(b, at + 4, uint32_t(open * 1000), 4);
    Put(b, at + 8, uint32_t(std::max(open, price) * 1010), 4);
    Put(b, at + 12, uint32_t(std::min(open, price) * 990), 4);
    Put(b, at + 16, uint32_t(price * 1000), 4);
    Put(b, at + 20, uint32_t(50000 + 30000 * std::sin(i * 0.5)), 4);
  }
  return b;
}

// A pushed tick (0x0B00) of the item; its price is set by PutTickPrice.
inline std::string Tick(uint16_t market, int32_t code) {
  std::string tick;
  Put(tick, 0, 0x0B00, 2);
  Put(tick, 2, 1, 2);
  tick.resize(15 + 51, '\0');
  Put(tick, 15, (uint32_t(market - 0x1000) << 24) | uint32_t(code), 4);
  Put(tick, 19, 600, 2);
  return tick;
}

// The tick's price (thousandths): open, high, low and last alike.
inline void PutTickPrice(std::string& tick, uint32_t price) {
  for (size_t at : {21u, 25u, 29u, 33u}) Put(tick, at, price, 4);
}

}  // namespace kline_bodies
