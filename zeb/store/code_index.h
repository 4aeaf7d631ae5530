// A flat open-addressing table from item code to a value, rebuilt whole
// after each market table: one allocation, no per-item nodes, so loading a
// table of ten thousand items stays cheap and a look-up is a few probes.
#pragma once
#include <cstdint>
#include <vector>

template <typename Value>
class CCodeIndex {
 public:
  // Empties the table and sizes it for up to count codes.
  void Reset(size_t count) {
    size_t capacity = 16;
    while (capacity < count * 2) capacity <<= 1;
    m_slots.assign(capacity, Slot{});
    m_mask = capacity - 1;
  }

  // Keeps the value already stored for the code (first match wins).
  void InsertFirst(int32_t code, Value value) {
    Slot& slot = Probe(code);
    if (!slot.used) slot = Slot{code, true, value};
  }

  // Replaces the value stored for the code (last match wins).
  void InsertLast(int32_t code, Value value) { Probe(code) = Slot{code, true, value}; }

  const Value* Find(int32_t code) const {
    if (m_slots.empty()) return nullptr;
    for (size_t i = Hash(code) & m_mask;; i = (i + 1) & m_mask) {
      const Slot& slot = m_slots[i];
      if (!slot.used) return nullptr;
      if (slot.code == code) return &slot.value;
    }
  }

 private:
  struct Slot {
    int32_t code = 0;
    bool used = false;
    Value value{};
  };

  static size_t Hash(int32_t code) {
    return static_cast<size_t>(
        (static_cast<uint64_t>(static_cast<uint32_t>(code)) * 0x9E3779B97F4A7C15ull) >> 32);
  }

  // The slot holding the code, or the empty slot where it belongs. Reset
  // sized the table to at least twice the codes, so an empty slot exists.
  Slot& Probe(int32_t code) {
    for (size_t i = Hash(code) & m_mask;; i = (i + 1) & m_mask) {
      Slot& slot = m_slots[i];
      if (!slot.used || slot.code == code) return slot;
    }
  }

  std::vector<Slot> m_slots;
  size_t m_mask = 0;
};
