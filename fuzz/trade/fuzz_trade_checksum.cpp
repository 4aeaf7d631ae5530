// The receive-side checksum test on arbitrary blocks, and the byte sum
// against its plain definition.
#include <cstddef>
#include <cstdint>

#include "trade/core/trade_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  VerifyTradeChecksum(text, static_cast<int>(size));
  unsigned sum = 0;
  for (size_t i = 0; i < size; ++i) sum += data[i];
  if (CalcTradeChecksum(text, static_cast<int>(size)) != static_cast<int>(sum % 256))
    __builtin_trap();
  return 0;
}
