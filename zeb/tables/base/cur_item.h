// SCurItem: the 26-byte record of what a view shows (page, sub-page, quote
// list tab, item, tab name). The command router fills it and compares it
// with a view's own as raw bytes, so two records that differ anywhere,
// even after a name's terminating NUL, are different items.
#pragma once
#include <cstdint>
#include <cstring>

#include "zeb/store/store_records.h"

#pragma pack(push, 1)
struct SCurItem {
  int32_t page;     // view page id (512 = the chart view); 0: no item
  int32_t mode;     // sub-page; the quote list's low byte: column id to sort by
  uint16_t market;  // market id of a quote-list tab
  SCodeInfo code;   // the item of the chart view
  char name[10];    // NUL-terminated GBK tab name

  SCurItem() { std::memset(static_cast<void*>(this), 0, sizeof(*this)); }
  // The name cut to 9 bytes on a character boundary; the rest of the
  // field is cleared so equal names give equal records.
  void SetName(const char* text);
};
#pragma pack(pop)
static_assert(sizeof(SCurItem) == 26);

inline bool IsSameCurItem(const SCurItem& a, const SCurItem& b) {
  return std::memcmp(&a, &b, sizeof(SCurItem)) == 0;
}
