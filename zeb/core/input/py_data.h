// The initial letters of the readings of every GB2312 character, made at
// build time from the Unicode Han database (gen/make_py_data.py). The
// keyboard index reads it to find Chinese names by typed initials.
#pragma once
#include <cstddef>

// One entry per double-byte code 0xB0A1..0xF7FE in row order; each holds up
// to four capital letters, zero-padded (all zero: no reading known).
constexpr unsigned kPyDataFirstLead = 0xB0, kPyDataLastLead = 0xF7;
constexpr unsigned kPyDataFirstTrail = 0xA1, kPyDataLastTrail = 0xFE;
constexpr size_t kPyDataRow = kPyDataLastTrail - kPyDataFirstTrail + 1;
constexpr size_t kPyDataEntries = (kPyDataLastLead - kPyDataFirstLead + 1) * kPyDataRow;
constexpr size_t kPyDataSlot = 4;
static_assert(kPyDataEntries == 6768);

extern const unsigned char kPyData[kPyDataEntries][kPyDataSlot];

// The entry of a double-byte code, or null outside the table's range.
inline const unsigned char* PyDataEntry(unsigned char lead, unsigned char trail) {
  if (lead < kPyDataFirstLead || lead > kPyDataLastLead || trail < kPyDataFirstTrail ||
      trail > kPyDataLastTrail)
    return nullptr;
  return kPyData[(lead - kPyDataFirstLead) * kPyDataRow + (trail - kPyDataFirstTrail)];
}
