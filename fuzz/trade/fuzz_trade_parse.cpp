// The field parser on arbitrary bytes, with and without the field lists.
#include <cstddef>
#include <cstdint>
#include <string>

#include "trade/core/trade_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  const int len = static_cast<int>(size);
  TagMap map;
  std::string error;
  ParseTradeMessage(text, len, map, nullptr, nullptr, nullptr, nullptr, error);
  TagMap again;
  TagFieldList header, body, trailer;
  ParseTradeMessage(text, len, again, &header, &body, &trailer, nullptr, error);
  if (header.size() + body.size() + trailer.size() > 0 && again.empty()) __builtin_trap();
  return 0;
}
