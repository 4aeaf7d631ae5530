// One entry of the keyboard index: what the user can open by typing (an
// item, a typed command, a block or an indicator formula), its texts, the
// initial letters its name can be typed by, and its weight. Entries are
// plain records, copied as wholes; every text field is NUL-terminated
// within its width.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// What an entry opens; the value is also the WM_QUOTE_REQUEST kind that
// the input box sends for it.
enum EKeyKind : uint8_t {
  kKeyItem = 0,
  kKeyCommand = 2,
  kKeyBlock = 3,
  kKeyFormula = 4,
};

constexpr size_t kKeyCodeSize = 7;   // code text: at most 6 characters
constexpr size_t kKeyNameSize = 20;  // name text: at most 19 bytes
constexpr size_t kKeyMatchSize = 9;  // match key: at most 8 letters
constexpr size_t kKeySlots = 5;      // initial slots: the name's first five characters
constexpr size_t kKeySlotSize = 5;   // a slot: up to four alternative letters

struct CKeyGhostStruct {
  uint16_t market = 0;           // 0 for commands, blocks and formulas
  char code[kKeyCodeSize] = {};  // upper case
  char name[kKeyNameSize] = {};  // GBK, cut on a character boundary
  char key[kKeyMatchSize] = {};  // in a result: the letters that matched; empty
                                 // for a match by code text and in the index
  char initials[kKeySlots][kKeySlotSize] = {};
  int32_t slotCount = 0;    // initial slots used, at most kKeySlots
  uint8_t kind = kKeyItem;  // EKeyKind
  int32_t weight = 0;       // larger first

  // The text a result is shown and ordered by: the match key, or the code
  // text for a match by code.
  const char* DisplayKey() const { return key[0] ? key : code; }
};

// The index matches in upper case: ASCII letters are upper-cased, every
// other byte (GBK included) stays as it is.
inline char KeyUpper(char c) { return (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c; }
inline std::string KeyUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = KeyUpper(c);
  return out;
}
