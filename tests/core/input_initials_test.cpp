// Initial letters of names: the slot rules over every kind of character,
// and the generated table of the GB2312 characters against letters written
// down by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gbk.h"
#include "zeb/core/input/key_initials.h"
#include "zeb/core/input/py_data.h"

namespace {

// The slots as "A/B/CZ" (one group per slot).
std::string Slots(const std::string& name) {
  char slots[kKeySlots][kKeySlotSize];
  const int n = FillInitialSlots(name, slots);
  std::string out;
  for (int i = 0; i < n; ++i) {
    if (i) out += '/';
    out += std::string(slots[i], strnlen(slots[i], kKeySlotSize));
  }
  return out;
}

TEST(InputInitials, SlotsFollowTheCharacterKinds) {
  struct Case {
    const char* what;
    std::string name;
    const char* slots;
  } cases[] = {
      {"ASCII, upper-cased", "ab-1", "A/B/-/1"},
      {"spaces are skipped", " a  b ", "A/B"},
      {"full-width letters and digits", GBK("ＡＺ０９"), "A/Z/0/9"},
      {"full-width lower case fills nothing", GBK("ａＢ"), "B"},
      {"bracketed and parenthesised numbers", GBK("⑴⑼㈠㈨"), "1/9/1/9"},
      {"Chinese characters", GBK("中国邮票"), "Z/G/Y/P"},
      {"a character with two readings", GBK("藏品"), "CZ/P"},
      {"a character with no entry keeps an empty slot", std::string("\xD7\xFA") + GBK("票"), "/P"},
      {"a double-byte character outside the tables fills nothing", std::string("\x81\x40") + "A",
       "A"},
      {"the sixth character is ignored", GBK("中国邮票精品"), "Z/G/Y/P/J"},
      {"a sixth ASCII character too", "ABCDEFG", "A/B/C/D/E"},
      {"a lead byte at the end is dropped", std::string("A\xD6"), "A"},
      {"the text ends at a NUL", std::string("A\0B", 3), "A"},
  };
  for (const Case& c : cases) EXPECT_EQ(Slots(c.name), c.slots) << c.what;
}

// A lead byte at the very end of a bounded name is never read past.
TEST(InputInitials, BoundedNameIsNotReadPast) {
  std::vector<char> name = {'A', '\xD6'};  // exactly two bytes, no NUL
  char slots[kKeySlots][kKeySlotSize];
  EXPECT_EQ(FillInitialSlots(std::string_view(name.data(), name.size()), slots), 1);
}

TEST(InputInitials, GeneratedTableSpotCheck) {
  struct Case {
    const char* utf8;
    const char* letters;
  } cases[] = {
      {"啊", "A"},  {"阿", "AE"}, {"中", "Z"},  {"国", "G"},  {"邮", "Y"},
      {"票", "P"},  {"币", "B"},  {"卡", "KQ"}, {"长", "ZC"}, {"藏", "CZ"},
      {"重", "ZC"}, {"行", "XH"}, {"乐", "LY"}, {"齄", "Z"},
  };
  for (const Case& c : cases) {
    const std::string gbk = platform::Utf8ToGbk(c.utf8);
    ASSERT_EQ(gbk.size(), 2u) << c.utf8;
    const unsigned char* entry = PyDataEntry((unsigned char)gbk[0], (unsigned char)gbk[1]);
    ASSERT_NE(entry, nullptr) << c.utf8;
    EXPECT_EQ(std::string((const char*)entry, strnlen((const char*)entry, kPyDataSlot)), c.letters)
        << c.utf8;
  }
  // The five codes of row 0xD7 that name no character stay empty.
  for (unsigned char d = 0xFA; d <= 0xFE; ++d) EXPECT_EQ(PyDataEntry(0xD7, d)[0], 0) << (int)d;
  EXPECT_EQ(PyDataEntry(0xAF, 0xA1), nullptr);
  EXPECT_EQ(PyDataEntry(0xB0, 0xA0), nullptr);
  EXPECT_EQ(PyDataEntry(0xF8, 0xA1), nullptr);
}

}  // namespace
