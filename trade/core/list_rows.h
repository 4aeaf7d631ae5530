// Record lists from list replies. A list reply repeats the tags of one
// record RecordNum times, and the i-th value of each tag belongs to the
// i-th record. One table of columns per record type fills rows from either
// a parsed TagMap or a reply scanned into field references (the dispatch
// path, which allocates nothing per value), so both give the same rows.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "trade/core/trade_codec.h"

// One field of a record: its tag and how a value is stored into the row.
// The tags of a record type are distinct.
template <class Row>
struct SListColumn {
  int tag;
  void (*store)(Row& row, std::string_view value);
};

template <class Row, auto Member>
void StoreText(Row& row, std::string_view value) {
  (row.*Member).assign(value.data(), value.size());
}
template <class Row, auto Member>
void StoreInt(Row& row, std::string_view value) {
  row.*Member = TradeAtoi(value);
}
template <class Row, auto Member>
void StoreDouble(Row& row, std::string_view value) {
  row.*Member = std::atof(std::string(value).c_str());
}

// A reply scanned into field references. Meant to be kept and reused by
// the thread that dispatches replies: its buffer keeps its size from reply
// to reply, so a long list is read into memory already in use.
class CScannedReply {
 public:
  // ScanTradeMessage into this object; data must outlive its use.
  int Scan(const char* data, int len, std::string& error);
  // The first value of tag; "" when absent.
  std::string_view First(int tag) const;
  // Every field as a TagMap, for the replies read by tag.
  TagMap ToMap() const;
  size_t FieldCount() const { return fields_.size(); }

  template <class F>
  void ForEachValue(F&& f) const {
    const size_t n = fields_.size();
    for (size_t i = 0; i < n; ++i) {
      if (i + 64 < n) __builtin_prefetch(&fields_[i + 64]);  // long replies read past the cache
      const TradeFieldRef& field = fields_[i];
      f(field.tag, std::string_view(data_ + field.offset, field.length));
    }
  }

 private:
  const char* data_ = nullptr;
  TradeFieldRefs fields_;
};

// A list reply, parsed into a TagMap or scanned.
class CListReply {
 public:
  explicit CListReply(const TagMap& map) : map_(&map) {}
  explicit CListReply(const CScannedReply& scanned) : scanned_(&scanned) {}

  // RecordNum (9003) as GetIntField reads it; 0 when absent.
  int RecordNum() const;
  // The number of values of all tags together.
  size_t ValueCount() const;
  // Calls f(tag, value) for every value, each tag's values in order.
  template <class F>
  void ForEachValue(F&& f) const {
    if (map_) {
      for (const auto& [tag, values] : *map_)
        for (const std::string& value : values) f(tag, std::string_view(value));
    } else {
      scanned_->ForEachValue(f);
    }
  }

 private:
  const TagMap* map_ = nullptr;
  const CScannedReply* scanned_ = nullptr;
};

// How many rows ahead FillRows asks for the memory it will write.
constexpr size_t kRowsAhead = 8;
// The most rows one reply makes. A message of 16 MiB can hold some three
// million records of one short field each; far more than anyone reads in a
// panel, and each row costs its record and texts several times on the way
// to the list (the store, its spare, the panel's copy and cells, the
// list). The rest of such a reply is dropped and the panel says so.
constexpr size_t kMaxListRows = 50000;

// Fills rows with one row per record: RecordNum rows, but never more than
// the most frequent of the columns' tags has values, so a lying count makes
// no rows that hold nothing, nor more than maxRows. A column with fewer
// values leaves its field empty in the later rows. Rows already in the
// vector are overwritten in place, every column of every row, in one pass
// over the reply. True when the reply held more rows than maxRows.
template <class Row, class Allocator, size_t N>
bool FillRows(std::vector<Row, Allocator>& rows, const SListColumn<Row> (&columns)[N],
              const CListReply& reply, size_t maxRows = kMaxListRows) {
  const int n = reply.RecordNum();
  const size_t asked = n <= 0 ? 0 : static_cast<size_t>(n);
  const size_t limit = std::min(asked, maxRows);
  rows.reserve(std::min(limit, reply.ValueCount() / N + 1));
  size_t count[N] = {};
  // Records repeat their tags in one order: the column that followed the
  // previous value's column last time is the likely next one.
  size_t next[N];
  for (size_t c = 0; c < N; ++c) next[c] = c + 1 < N ? c + 1 : 0;
  size_t last = N - 1;
  reply.ForEachValue([&](int tag, std::string_view value) {
    size_t c = next[last];
    if (columns[c].tag != tag) {
      c = 0;
      while (c < N && columns[c].tag != tag) ++c;
      if (c == N) return;
      next[last] = c;
    }
    last = c;
    const size_t k = count[c]++;
    if (k >= limit) return;
    if (k == rows.size()) rows.emplace_back();  // rows 0..k-1 exist already
    // A long list is written far past the cache: ask for the lines of a
    // row a few records ahead, once per record.
    if (c == 0 && k + kRowsAhead < rows.capacity()) {
      const char* ahead = reinterpret_cast<const char*>(rows.data() + k + kRowsAhead);
      for (size_t b = 0; b < sizeof(Row); b += 64) __builtin_prefetch(ahead + b, 1);
    }
    columns[c].store(rows[k], value);
  });
  size_t present = 0;
  for (size_t c = 0; c < N; ++c) present = std::max(present, count[c]);
  rows.resize(std::min(limit, present));
  for (size_t c = 0; c < N; ++c)
    for (size_t k = count[c]; k < rows.size(); ++k) columns[c].store(rows[k], std::string_view());
  return std::min(asked, present) > maxRows;
}
