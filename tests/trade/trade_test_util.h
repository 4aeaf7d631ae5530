// Helpers shared by the trade tests: building replies as the server does
// and reading sent messages back field by field.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "trade/core/trade_codec.h"

namespace tradetest {

using Fields = std::vector<std::pair<int, std::string>>;

// A reply of the given type with the fields in order, framed and summed.
inline std::string Reply(const char* msgType, const Fields& fields, const char* session = "S") {
  TagFieldList body;
  for (const auto& f : fields) AddStringField(body, f.first, f.second);
  auto m = BuildTradeMessage(0, msgType, 0, false, &body, 2, session);
  return std::string(m->Data(), m->Size());
}

// Every field of a message in wire order.
inline Fields FieldsOf(const std::string& message) {
  Fields out;
  const char* cursor = message.data();
  const char* end = cursor + message.size();
  std::string tag, value, error;
  TagMap none;
  while (ParseTagField(&cursor, end, tag, value, RawDataDictionary{}, none, error, '=', GetSOH()) ==
         0)
    out.emplace_back(TradeAtoi(tag), value);
  return out;
}

}  // namespace tradetest
