// The grid-table base: paging by whole pages (and nothing while no row
// fits), selection moves, hit tests, cells, column scroll; the wheel
// rule; the current-item record; the drawn-object base.
#include <gtest/gtest.h>

#include "tables_test_support.h"
#include "zeb/tables/base/base_table.h"
#include "zeb/tables/base/cur_item.h"
#include "zeb/tables/base/draw_obj.h"
#include "zeb/tables/base/table_keys.h"

using namespace tables_test;
using namespace table_keys;

namespace {

class Grid : public CBaseTable {
 public:
  void InitColumns() override {}
  int UpdateData(const void*, int) override { return 0; }
  void Columns(int count, int width) {
    for (int i = 0; i < count; ++i) AddColumn(i, ("c" + std::to_string(i)).c_str(), 2, width);
  }
  void Rows(int count) {
    for (int r = 0; r < count; ++r) SetCell(r, 0, std::to_string(r));
  }
  using CBaseTable::SetFixedColumns;
};

class BaseTableTest : public TablesTest {
 protected:
  // Row height 18: 11 fitting rows, the header takes one, 10 per page.
  void Page10(Grid& grid, int rows) {
    grid.Columns(3, 50);
    grid.Rows(rows);
    ASSERT_EQ(grid.SetRect(0, 0, 300, 198), 11);
    ASSERT_EQ(grid.GetRowsPerPage(), 10);
  }
};

TEST_F(BaseTableTest, PagingKeysMoveByWholePages) {
  struct Case {
    int rows, top, sel;
    UINT key;
    int expectTop, expectSel, result;
  };
  const Case cases[] = {
      {25, 10, 0, kNext, 20, 0, 1},
      {25, 20, 0, kNext, 0, 0, 1},   // past the end wraps to the first page
      {25, 0, 0, kPrior, 20, 0, 1},  // before the start goes to the last page
      {25, 20, 0, kPrior, 10, 0, 1},
      {20, 10, 0, kNext, 10, 0, 1},  // 20 is not past 20 rows: the last page stays
      {25, 0, 9, kDown, 10, 0, 1},   // the last row of a page turns to the next
      {25, 10, 0, kUp, 0, 9, 1},     // the first row of a page turns back
      {5, 0, 4, kDown, 0, 0, 1},     // a list on one page wraps to its first row
      {5, 0, 0, kUp, 0, 9, 1},       // and up from the first row leaves no row selected
      {25, 0, 3, kHome, 0, 3, 0},
      {25, 0, 3, kEnd, 0, 3, 0},
  };
  for (const Case& c : cases) {
    Grid grid;
    Page10(grid, c.rows);
    grid.SetTopRow(c.top);
    grid.SetSelRow(c.sel);
    EXPECT_EQ(grid.OnKey(c.key), c.result) << c.rows << " rows, top " << c.top << ", key " << c.key;
    EXPECT_EQ(grid.GetTopRow(), c.expectTop)
        << c.rows << " rows, top " << c.top << ", key " << c.key;
    EXPECT_EQ(grid.GetSelRow(), c.expectSel)
        << c.rows << " rows, top " << c.top << ", key " << c.key;
  }
}

TEST_F(BaseTableTest, NothingPagesWhileNoRowFits) {
  for (int height : {0, 10, 18, 35}) {  // 0 or 1 fitting rows: no data row under the header
    Grid grid;
    grid.Columns(3, 50);
    grid.Rows(25);
    grid.SetRect(0, 0, 300, height);
    EXPECT_LE(grid.GetRowsPerPage(), 0);
    grid.SetTopRow(0);
    grid.SetSelRow(0);
    for (UINT key : {kPrior, kNext, kUp, kDown}) EXPECT_EQ(grid.OnKey(key), 0) << height;
    EXPECT_EQ(grid.EnsureVisible(20), 0);
    EXPECT_EQ(grid.GetLastPageTop(25), 0);
    EXPECT_EQ(grid.GetTopRow(), 0);
    EXPECT_EQ(grid.GetSelRow(), 0);
  }
  // Without a header every fitting row is a data row.
  Grid bare;
  bare.Columns(1, 50);
  bare.Rows(5);
  bare.AddStyle(kTableStyleNoHeader);
  bare.SetRect(0, 0, 50, 18);
  EXPECT_EQ(bare.GetRowsPerPage(), 1);
  EXPECT_EQ(bare.OnKey(kNext), 1);
  EXPECT_EQ(bare.GetTopRow(), 1);
}

TEST_F(BaseTableTest, HitTestAndCells) {
  Grid grid;
  Page10(grid, 25);
  EXPECT_EQ(grid.HitTestRow(10, 5), -1);  // header
  EXPECT_EQ(grid.HitTestRow(10, 18), 0);
  EXPECT_EQ(grid.HitTestRow(10, 18 * 10 + 1), 9);
  EXPECT_EQ(grid.HitTestRow(300, 20), -1);  // right edge is outside
  grid.SetTopRow(20);                       // five rows on the last page
  EXPECT_EQ(grid.HitTestRow(10, 18 * 5 + 1), 4);
  EXPECT_EQ(grid.HitTestRow(10, 18 * 6 + 1), -1);

  // A cell past the last column is refused, but the rows still grow to it.
  EXPECT_EQ(grid.SetCell(30, 3, "x"), 0);
  EXPECT_EQ(grid.GetRowCount(), 31);
  EXPECT_EQ(grid.SetCell(30, 2, "y"), 1);
  EXPECT_EQ(grid.GetCellText(30, 2), "y");
  EXPECT_EQ(grid.GetCellText(30, 9), "");
  EXPECT_EQ(grid.GetCellText(99, 0), "");
  EXPECT_EQ(grid.DeleteRow(31), 0);
  EXPECT_EQ(grid.DeleteRow(0), 1);
  EXPECT_EQ(grid.GetCellText(0, 0), "1");

  // Column names are cut to 8 bytes on a character boundary.
  grid.AddColumn(3, GBK("成交金额合计"), 2, 50);  // 12 bytes
  EXPECT_STREQ(grid.GetColumnHead(3)->name, GBK("成交金额"));
  grid.AddColumn(4, (std::string("a") + GBK("成交金额")).c_str(), 2, 50);
  EXPECT_STREQ(grid.GetColumnHead(4)->name, (std::string("a") + GBK("成交金")).c_str());
}

TEST_F(BaseTableTest, ColumnScrollPositionsAgree) {
  Grid grid;
  grid.Columns(8, 0);
  const int widths[] = {50, 80, 180, 70, 70, 85, 70, 90};
  for (int i = 0; i < 8; ++i) grid.SetColumnWidth(i, widths[i]);
  grid.SetFixedColumns(3);
  grid.SetRect(0, 0, 400, 100);  // 90 pixels beside the fixed columns

  // Keys: never below 0 nor past the last scrolling column.
  EXPECT_EQ(grid.OnKey(kLeft), 1);
  EXPECT_EQ(grid.GetColumnScroll(), 0);
  for (int i = 0; i < 10; ++i) grid.OnKey(kRight);
  EXPECT_EQ(grid.GetColumnScroll(), 4);

  // A scroll-bar position passes whole columns behind the fixed ones, and
  // the position of a scroll maps back to the same scroll.
  for (int x : {-5, 0, 69, 70, 139, 140, 224, 225, 100000}) {
    grid.ScrollColumnsTo(x);
    const int scroll = grid.GetColumnScroll();
    EXPECT_LE(grid.GetColumnScrollPixels(), std::max(x, 0)) << x;
    grid.ScrollColumnsTo(grid.GetColumnScrollPixels());
    EXPECT_EQ(grid.GetColumnScroll(), scroll) << x;
  }
  grid.ScrollColumnsTo(70);
  EXPECT_EQ(grid.GetColumnScroll(), 1);
  EXPECT_EQ(grid.GetColumnScrollPixels(), 70);

  // Bringing a column into view puts it at the right of the scrolling part.
  EXPECT_EQ(grid.ScrollToColumn(7), 70 + 70 + 85 + 70);
  EXPECT_EQ(grid.GetColumnScroll(), 4);
  EXPECT_EQ(grid.ScrollToColumn(3), 0);  // fits without scrolling
  EXPECT_EQ(grid.ScrollToColumn(0), 0);
  EXPECT_EQ(grid.ScrollToColumn(42), 0);
}

TEST(WheelRule, TurnsNotchesIntoPagingKeys) {
  struct Case {
    int delta;
    UINT key;
    int steps;
  };
  const Case cases[] = {{240, kPrior, 2}, {-120, kNext, 1}, {60, kPrior, 0},
                        {0, kNext, 0},    {-359, kNext, 2}, {121, kPrior, 1}};
  for (const Case& c : cases) {
    const SWheelKey k = WheelToPageKey(c.delta);
    EXPECT_EQ(k.key, c.key) << c.delta;
    EXPECT_EQ(k.steps, c.steps) << c.delta;
  }
}

TEST(CurItem, ComparedWholeAndNameCutOnACharacter) {
  SCurItem a, b;
  a.page = b.page = 512;
  a.SetName("ab");
  b.SetName("ab");
  EXPECT_TRUE(IsSameCurItem(a, b));
  b.name[5] = 'x';  // after the NUL
  EXPECT_FALSE(IsSameCurItem(a, b));

  SCurItem c;
  c.SetName(
      (std::string("ab") + GBK("全部藏品")).c_str());  // 9 bytes would split the last character
  EXPECT_STREQ(c.name, (std::string("ab") + GBK("全部藏")).c_str());
  c.SetName(GBK("全部藏品"));
  EXPECT_STREQ(c.name, GBK("全部藏品"));
}

TEST(DrawObj, LayoutFollowsTheRectangleAndMenusNeedAnOwner) {
  class Obj : public CBaseDrawObj {
   public:
    int layouts = 0;
    int RecalcLayout() override { return ++layouts; }
    int OnData(const void*, int) override { return 0; }
    BOOL HitTest(int x, int y) override { return PtInRect(m_rect, POINT{x, y}); }
    int Draw(CDC*) override { return 0; }
    int OnKey(UINT) override { return 0; }
  } obj;
  EXPECT_EQ(obj.SetRect(1, 2, 30, 40), 1);
  EXPECT_TRUE(obj.HitTest(1, 2));
  EXPECT_FALSE(obj.HitTest(30, 2));
  EXPECT_EQ(obj.TrackMenu(nullptr, 0, 0, 130, 1), -1);
  RecordingOwner owner;
  obj.TrackMenu(&owner, 5, 6, 130, 1);
  ASSERT_EQ(owner.menus.size(), 1u);
  EXPECT_EQ(owner.menus[0].menu.baseResource, 130);
  EXPECT_EQ(owner.menus[0].menu.baseSubMenu, 1);
  EXPECT_EQ(owner.menus[0].menu.flags, popup_flags::kRightButton);
  EXPECT_EQ(owner.menus[0].x, 5);
}

}  // namespace
