// A growable array whose size, element access and clearing are guarded by
// a critical section.
#pragma once
#include <vector>

#include "platform/sync.h"
#include "platform/types.h"

template <typename TYPE, typename ARG_TYPE>
class CShareArray {
 public:
  int GetSize() {
    Guard guard(m_Lock);
    return (int)m_Items.size();
  }
  BOOL GetAt(int index, TYPE& out) {
    Guard guard(m_Lock);
    if (index < 0 || index >= (int)m_Items.size()) return FALSE;
    out = m_Items[(size_t)index];
    return TRUE;
  }
  void Add(ARG_TYPE item) {
    Guard guard(m_Lock);
    m_Items.push_back(item);
  }
  void RemoveAll() {
    Guard guard(m_Lock);
    m_Items.clear();
  }

 private:
  struct Guard {
    explicit Guard(platform::CriticalSection& cs) : cs_(cs) { cs_.Enter(); }
    ~Guard() { cs_.Leave(); }
    platform::CriticalSection& cs_;
  };
  std::vector<TYPE> m_Items;
  platform::CriticalSection m_Lock;
};
