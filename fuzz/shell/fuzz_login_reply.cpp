// A balance server's reply as the login dialog reads it: any bytes, in a
// buffer of exactly their size, give hosts within their 16-byte fields and
// ports that fit 16 bits, and never a read past the buffer.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "zeb/core/login/login_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  const std::vector<uint8_t> buffer(data, data + size);
  SLoginHosts hosts;
  ParseBalanceReply(buffer.data(), static_cast<int>(buffer.size()), &hosts);
  for (int k = 0; k < kHostPairs; ++k) {
    if (hosts.quoteHost[k].size() > 16 || hosts.tradeHost[k].size() > 16) std::abort();
    if (hosts.quotePort[k] < 0 || hosts.quotePort[k] > 65535) std::abort();
    if (hosts.tradePort[k] < 0 || hosts.tradePort[k] > 65535) std::abort();
  }
  return 0;
}
