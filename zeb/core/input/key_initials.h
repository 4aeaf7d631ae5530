// The initial letters a name can be typed by: one slot per leading
// character of the name, each slot holding the letters that character may
// be typed as (several for a Chinese character with readings of different
// initials). Walks GBK text without ever reading past its end.
#pragma once
#include <string_view>

#include "zeb/core/input/key_entry.h"

// Fills the slots (all cleared first) from the name and returns the slot
// count, at most kKeySlots; characters after the fifth filled slot are
// ignored. The name ends at its first NUL or at its size.
//  - A space is skipped; any other ASCII byte fills a slot with itself,
//    upper-cased (names are matched against upper-case input).
//  - A full-width letter or digit (0xA3C1-0xA3DB, 0xA3B0-0xA3B9) fills a
//    slot with its ASCII counterpart; a circled or bracketed number
//    (0xA2C5-0xA2CE, 0xA2E5-0xA2EE) with '1' upwards.
//  - A GB2312 character (lead 0xB0-0xF7, trail 0xA1-0xFE) fills a slot
//    with the initials of its readings; the slot stays empty when none
//    are known, and an entry with an empty slot never matches by initials.
//  - Any other double-byte character fills nothing; a lead byte at the
//    end of the text is dropped.
int FillInitialSlots(std::string_view name, char slots[kKeySlots][kKeySlotSize]);
