// The colour list's rules: colours by code, the sort order of a click and
// the comparison of cell texts (by value, by date, or as the Chinese
// locale orders text).
#include "trade/ui/rules/list_sort.h"

#include <gtest/gtest.h>

#include "platform/gbk.h"

namespace {

TEST(ListSort, CompareTable) {
  struct Case {
    const char* a;
    const char* b;
    int expected;
  } cases[] = {
      {"10.00", "9.50", -1},  // not all digits: compared as text
      {"9.50", "10.00", 1},
      {"10", "9", 1},  // digits: by value
      {"9", "10", -1},
      {"007", "7", 0},
      {"", "0", 0},     // empty counts as digits, value 0
      {"5", "abc", 1},  // the second text by its leading number (0)
      // Longer than any integer type: still by value.
      {"123456789012345678901234567890", "123456789012345678901234567891", -1},
      {"99999999999999999999999", "100000000000000000000000", -1},
      {"99999999999999999999999", "-1", 1},
      {"31/12/2023", "01/01/2024", -1},  // dates: year first
      {"01/02/2024", "31/01/2024", 1},   // then month
      {"02/01/2024", "01/01/2024", 1},   // then day
      {"01/01/2024", "01/01/2024", 0},
      {"01/01/2024", "short", 1},  // a shorter second text reads as zeros
      {"abc", "abd", -1},
      // Other texts in the Chinese locale's order, not by their bytes.
      {"a", "B", -1},
      {"a", "A", -1},  // case-sensitive
      {"A", "a", 1},
      {GBK("丂"), GBK("藏品"), 1},  // kao after cang (bytes: 0x81 before 0xB2)
      {GBK("藏品"), GBK("藏品"), 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CompareCellTexts(c.a, c.b), c.expected) << c.a << " vs " << c.b;
}

TEST(ListSort, SortRowsAscendingAndDescendingStable) {
  std::vector<PanelRow> rows = {{"b", "10.00"}, {"a", "9.50"}, {"c", "10.00"}, {"d"}};
  SortRows(rows, 1, true);
  EXPECT_EQ(rows[0][0], "d");  // a row without the column sorts as empty
  EXPECT_EQ(rows[1][0], "b");
  EXPECT_EQ(rows[2][0], "c");  // equal texts keep their order
  EXPECT_EQ(rows[3][0], "a");
  SortRows(rows, 1, false);
  EXPECT_EQ(rows[0][0], "a");
  EXPECT_EQ(rows[3][0], "d");
  std::vector<PanelRow> numbers = {{"100"}, {"20"}, {"3"}};
  SortRows(numbers, 0, true);
  EXPECT_EQ(numbers, (std::vector<PanelRow>{{"3"}, {"20"}, {"100"}}));
}

TEST(ListSort, ClickOrderAndRowColours) {
  EXPECT_TRUE(NextSortAscending(-1, true, 2));  // first click: ascending
  EXPECT_FALSE(NextSortAscending(2, true, 2));  // second: descending
  EXPECT_TRUE(NextSortAscending(2, false, 2));
  EXPECT_TRUE(NextSortAscending(2, false, 3));  // another column: ascending
  struct Case {
    const char* code;
    COLORREF text, background;
  } cases[] = {{"1", RGB(255, 0, 0), RGB(255, 255, 255)}, {"2", RGB(255, 0, 0), 0xE7E7E7},
               {"3", RGB(0, 0, 255), RGB(255, 255, 255)}, {"4", RGB(0, 0, 255), 0xE7E7E7},
               {"12.30", 0, RGB(255, 255, 255)},          {"", 0, RGB(255, 255, 255)}};
  for (const Case& c : cases) {
    EXPECT_EQ(RowColoursOfCode(c.code).text, c.text) << c.code;
    EXPECT_EQ(RowColoursOfCode(c.code).background, c.background) << c.code;
  }
}

}  // namespace
