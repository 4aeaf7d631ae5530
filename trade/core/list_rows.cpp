#include "trade/core/list_rows.h"

#include "trade/core/trade_messages.h"

int CScannedReply::Scan(const char* data, int len, std::string& error) {
  data_ = data;
  return ScanTradeMessage(data, len, fields_, error);
}

std::string_view CScannedReply::First(int tag) const {
  for (const TradeFieldRef& f : fields_)
    if (f.tag == tag) return std::string_view(data_ + f.offset, f.length);
  return {};
}

TagMap CScannedReply::ToMap() const {
  TagMap map;
  ForEachValue([&](int tag, std::string_view value) { map.Add(tag, value); });
  return map;
}

int CListReply::RecordNum() const {
  int n = 0;
  if (map_) {
    GetIntField(*map_, TAG_RECORD_NUM, &n, "RecordNum");
  } else {
    n = TradeAtoi(scanned_->First(TAG_RECORD_NUM));
  }
  return n;
}

size_t CListReply::ValueCount() const {
  if (!map_) return scanned_->FieldCount();
  size_t n = 0;
  for (const auto& entry : *map_) n += entry.second.size();
  return n;
}
