// Case handling of formula text. Formula names are case-insensitive, but
// only single-byte ASCII letters fold: the two bytes of a GBK character are
// copied as they are, since a trail byte in 0x41-0x5A or 0x61-0x7A is part of
// a Chinese character, not a letter.
#pragma once
#include <cstddef>

namespace formula {

// Lower-cases (or upper-cases) ASCII letters in place up to the NUL,
// stepping over every two-byte character whole.
void FoldLowerAscii(char* text);
void FoldUpperAscii(char* text);

// Compares two NUL-ended texts ignoring ASCII case only; the bytes of a
// two-byte character must match exactly (platform::GbkCompareNoCase, the
// program's one such compare). 0 when equal; a null text sorts first.
int CompareNoCase(const char* a, const char* b);
inline bool EqualNoCase(const char* a, const char* b) { return CompareNoCase(a, b) == 0; }

}  // namespace formula
