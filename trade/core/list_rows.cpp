#include "trade/core/list_rows.h"

#include "trade/core/trade_messages.h"

int CMapListReply::RecordNum() const {
  int n = 0;
  GetIntField(map_, TAG_RECORD_NUM, &n, "RecordNum");
  return n;
}

void CMapListReply::Columns(const int* tags, size_t n, CListColumn* out) const {
  for (size_t c = 0; c < n; ++c) {
    auto it = map_.find(tags[c]);
    out[c] = CListColumn(it != map_.end() ? &it->second : nullptr);
  }
}

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
  for (const TradeFieldRef& f : fields_) map.Add(f.tag, std::string_view(data_ + f.offset, f.length));
  return map;
}

int CScannedReply::RecordNum() const {
  for (const TradeFieldRef& f : fields_)
    if (f.tag == TAG_RECORD_NUM) return TradeAtoi(std::string_view(data_ + f.offset, f.length));
  return 0;
}

void CScannedReply::Columns(const int* tags, size_t n, CListColumn* out) const {
  // A column takes the values of the first column with its tag.
  size_t slot[kMaxListColumns];
  for (size_t c = 0; c < n; ++c) {
    slot[c] = c;
    for (size_t d = 0; d < c; ++d) {
      if (tags[d] == tags[c]) {
        slot[c] = d;
        break;
      }
    }
    columns_[c].clear();
  }
  // Records repeat their tags in one order: the column that followed the
  // previous field's column last time is the likely next one.
  size_t next[kMaxListColumns];
  for (size_t c = 0; c < n; ++c) next[c] = c + 1 < n ? c + 1 : 0;
  size_t last = n - 1;
  for (size_t i = 0; i < fields_.size(); ++i) {
    const int tag = fields_[i].tag;
    size_t c = n == 0 ? 0 : next[last];
    if (n == 0 || tags[c] != tag) {
      c = 0;
      while (c < n && tags[c] != tag) ++c;
      if (c == n) continue;
      next[last] = c;
    }
    columns_[slot[c]].push_back(static_cast<uint32_t>(i));
    last = c;
  }
  for (size_t c = 0; c < n; ++c) {
    const std::vector<uint32_t>& index = columns_[slot[c]];
    out[c] = CListColumn(data_, fields_.data(), index.data(), index.size());
  }
}
