// How often one kind of event is traced when a peer can repeat it without
// end: the 1st, 2nd, 4th, 8th... occurrence, so a flood costs a line per
// doubling and each line can say how many came so far.
#pragma once
#include <cstdint>

class CTraceBudget {
 public:
  // Counts one more occurrence; true when this one is to be traced.
  bool Take() {
    ++m_count;
    return (m_count & (m_count - 1)) == 0;
  }
  uint64_t Count() const { return m_count; }

 private:
  uint64_t m_count = 0;
};
