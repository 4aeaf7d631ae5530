// The field parser on arbitrary bytes, with and without the field lists,
// and the scan into field references, which must read the same fields.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "trade/core/trade_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  const int len = static_cast<int>(size);
  TagMap map;
  std::string error;
  const int parsed = ParseTradeMessage(text, len, map, nullptr, nullptr, nullptr, nullptr, error);
  TagMap again;
  TagFieldList header, body, trailer;
  ParseTradeMessage(text, len, again, &header, &body, &trailer, nullptr, error);
  if (header.size() + body.size() + trailer.size() > 0 && again.empty()) __builtin_trap();

  TradeFieldRefs refs;
  std::string scanError;
  if (ScanTradeMessage(text, len, refs, scanError) != parsed) __builtin_trap();
  TagMap scanned;
  for (const TradeFieldRef& f : refs) {
    if (f.offset > size || f.length > size - f.offset) __builtin_trap();
    scanned.Add(f.tag, std::string_view(text + f.offset, f.length));
  }
  if (!(scanned == map)) __builtin_trap();
  return 0;
}
