// Record lists from list replies. A list reply repeats the tags of one
// record RecordNum times, and the i-th value of each tag belongs to the
// i-th record. One table of columns per record type fills rows from either
// a parsed TagMap or a reply scanned into field references (the dispatch
// path, which allocates nothing per value), so both give the same rows.
#pragma once
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "trade/core/trade_codec.h"

// The most columns a record type has.
constexpr size_t kMaxListColumns = 16;

// One field of a record: its tag and how a value is stored into the row.
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

// The values of one tag in order: held by a TagMap or referenced in a
// scanned message.
class CListColumn {
 public:
  CListColumn() = default;
  explicit CListColumn(const TagValues* values) : values_(values), size_(values ? values->size() : 0) {}
  CListColumn(const char* data, const TradeFieldRef* fields, const uint32_t* index, size_t size)
      : data_(data), fields_(fields), index_(index), size_(size) {}

  size_t size() const { return size_; }
  std::string_view operator[](size_t i) const {
    if (values_) return (*values_)[i];
    const TradeFieldRef& f = fields_[index_[i]];
    return std::string_view(data_ + f.offset, f.length);
  }

 private:
  const TagValues* values_ = nullptr;
  const char* data_ = nullptr;
  const TradeFieldRef* fields_ = nullptr;
  const uint32_t* index_ = nullptr;
  size_t size_ = 0;
};

// A list reply as the row filler reads it.
class CListReply {
 public:
  // RecordNum (9003) as GetIntField reads it; 0 when absent.
  virtual int RecordNum() const = 0;
  // The values of each of the n tags; valid until the next call.
  virtual void Columns(const int* tags, size_t n, CListColumn* out) const = 0;

 protected:
  ~CListReply() = default;
};

// A parsed message as a list reply.
class CMapListReply final : public CListReply {
 public:
  explicit CMapListReply(const TagMap& map) : map_(map) {}
  int RecordNum() const override;
  void Columns(const int* tags, size_t n, CListColumn* out) const override;

 private:
  const TagMap& map_;
};

// A reply scanned into field references. Meant to be kept and reused by
// the thread that dispatches replies: its buffers keep their size from
// reply to reply, so a long list is read into memory already in use.
class CScannedReply final : public CListReply {
 public:
  // ScanTradeMessage into this object; data must outlive its use.
  int Scan(const char* data, int len, std::string& error);
  // The first value of tag; "" when absent.
  std::string_view First(int tag) const;
  // Every field as a TagMap, for the replies read by tag.
  TagMap ToMap() const;

  int RecordNum() const override;
  void Columns(const int* tags, size_t n, CListColumn* out) const override;

 private:
  const char* data_ = nullptr;
  std::vector<TradeFieldRef> fields_;
  // Per column, the positions in fields_ of its tag's values.
  mutable std::array<std::vector<uint32_t>, kMaxListColumns> columns_;
};

// Fills rows with one row per record: RecordNum rows, but never more than
// the most frequent of the columns' tags has values, so a lying count makes
// no rows that hold nothing. A column with fewer values leaves its field
// empty in the later rows. Rows already in the vector are overwritten in
// place, every column of every row.
template <class Row, size_t N>
void FillRows(std::vector<Row>& rows, const SListColumn<Row> (&columns)[N], const CListReply& reply) {
  static_assert(N <= kMaxListColumns);
  int tags[N];
  for (size_t c = 0; c < N; ++c) tags[c] = columns[c].tag;
  CListColumn values[N];
  reply.Columns(tags, N, values);
  const int n = reply.RecordNum();
  size_t present = 0;
  for (const CListColumn& column : values) present = std::max(present, column.size());
  rows.resize(n <= 0 ? 0 : std::min(static_cast<size_t>(n), present));
  for (size_t i = 0; i < rows.size(); ++i) {
    Row& row = rows[i];
    for (size_t c = 0; c < N; ++c)
      columns[c].store(row, i < values[c].size() ? values[c][i] : std::string_view());
  }
}
