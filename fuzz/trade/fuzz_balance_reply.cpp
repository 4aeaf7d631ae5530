// The balance-server reply check on arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "trade/core/balance_client.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint32_t len = 0;
  if (CheckBalanceFrame(data, size, &len) == 1 && kBalanceHeaderSize + len > size) __builtin_trap();
  return 0;
}
