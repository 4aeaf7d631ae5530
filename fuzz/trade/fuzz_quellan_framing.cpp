// The secure-socket library's stream framing: cutting arbitrary bytes into
// trade messages never reads past them and never yields an empty message.
#include <cstddef>
#include <cstdint>

#include "trade/quellan/trade_framer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* p = reinterpret_cast<const char*>(data);
  size_t left = size;
  while (left > 0) {
    // A small cap too, so the size limit is exercised.
    FindTradeMessageEnd(p, left, 64);
    const long n = FindTradeMessageEnd(p, left);
    if (n <= 0) break;
    if (static_cast<size_t>(n) > left) __builtin_trap();
    p += n;
    left -= static_cast<size_t>(n);
  }
  return 0;
}
