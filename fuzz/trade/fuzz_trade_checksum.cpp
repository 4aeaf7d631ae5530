// The receive-side checksum test on arbitrary blocks.
#include <cstddef>
#include <cstdint>

#include "trade/core/trade_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VerifyTradeChecksum(reinterpret_cast<const char*>(data), static_cast<int>(size));
  return 0;
}
