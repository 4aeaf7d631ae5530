// Initial letters of names, after the rules in key_initials.h.
#include "zeb/core/input/key_initials.h"

#include <cstring>

#include "zeb/core/input/py_data.h"

namespace {

// The letters of a double-byte character; nothing for a character that
// fills no slot. Returns false when the character fills no slot at all.
bool LettersOfPair(unsigned char c, unsigned char d, char out[kKeySlotSize]) {
  if (c == 0xA3) {
    if ((d >= 0xC1 && d <= 0xDB) || (d >= 0xB0 && d <= 0xB9)) {
      out[0] = (char)(d - 0x80);
      return true;
    }
    return false;
  }
  if (c == 0xA2) {
    if (d >= 0xC5 && d <= 0xCE) {
      out[0] = (char)(d - 0x94);
      return true;
    }
    if (d >= 0xE5 && d <= 0xEE) {
      out[0] = (char)(d - 0xB4);
      return true;
    }
    return false;
  }
  if (const unsigned char* entry = PyDataEntry(c, d)) {
    for (size_t k = 0; k < kPyDataSlot && entry[k]; ++k) out[k] = (char)entry[k];
    return true;  // an entry without letters still takes its slot
  }
  return false;
}

}  // namespace

int FillInitialSlots(std::string_view name, char slots[kKeySlots][kKeySlotSize]) {
  std::memset(slots, 0, kKeySlots * kKeySlotSize);
  size_t filled = 0;
  size_t i = 0;
  while (i < name.size() && filled < kKeySlots) {
    const unsigned char c = (unsigned char)name[i];
    if (c == 0) break;
    if (c < 0x80) {
      ++i;
      if (c != ' ') slots[filled++][0] = KeyUpper((char)c);
      continue;
    }
    // A double-byte character needs its second byte inside the text.
    if (i + 1 >= name.size() || name[i + 1] == '\0') break;
    const unsigned char d = (unsigned char)name[i + 1];
    i += 2;
    if (LettersOfPair(c, d, slots[filled])) ++filled;
  }
  return (int)filled;
}
