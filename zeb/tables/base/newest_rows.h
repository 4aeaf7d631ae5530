// CNewestRows: the records of a table that grows with every pushed deal,
// kept up to a bound: the newest stay, the oldest go first. A quote server
// that pushes without pause then costs the table a fixed amount of memory
// instead of a row per record for as long as the item is shown.
#pragma once
#include <cstddef>
#include <deque>

// The deals or ticks of one item a table keeps: a whole trading day of the
// busiest item (four hours of a deal every 0.15 s is 96,000) fits, a flood
// from a runaway server does not. At 12 to 32 bytes a record this is the
// most a table holds, some 3 MB.
constexpr size_t kMaxDayDeals = 100000;

template <class T>
class CNewestRows {
 public:
  explicit CNewestRows(size_t bound = kMaxDayDeals) : m_nBound(bound > 0 ? bound : 1) {}

  // Appends the newest; returns how many of the oldest went (0 or 1).
  size_t Add(const T& row) {
    m_rows.push_back(row);
    if (m_rows.size() <= m_nBound) return 0;
    m_rows.pop_front();
    return 1;
  }
  // Empties the table and gives its memory back.
  void Release() { std::deque<T>().swap(m_rows); }

  size_t size() const { return m_rows.size(); }
  bool empty() const { return m_rows.empty(); }
  size_t Bound() const { return m_nBound; }
  const T& operator[](size_t i) const { return m_rows[i]; }
  const T& front() const { return m_rows.front(); }
  const T& back() const { return m_rows.back(); }

 private:
  size_t m_nBound;
  std::deque<T> m_rows;
};
