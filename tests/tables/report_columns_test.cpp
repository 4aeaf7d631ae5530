// The quote list's columns: display order from "report.sor", header
// clicks that sort (stable, direction flipping), column widths dragged
// within 60..600, the header and body menus and the column swap that
// writes the order back.
#include <gtest/gtest.h>

#include "report_test_support.h"

using namespace tables_test;

namespace {

std::string OrderBytes(const std::vector<int32_t>& entries) {
  PacketBytes b;
  for (size_t i = 0; i < entries.size(); ++i) b.I32(4 * i, entries[i]);
  return b.Bytes();
}

class ReportColumnsTest : public ReportTest {
 protected:
  std::vector<std::string> HeaderTitles() const {
    std::vector<std::string> titles;
    for (int column : table.GetColumnOrder()) titles.push_back(table.GetColumnHead(column)->name);
    return titles;
  }
  // A point in the header of the column at a display position.
  int HeadX(int position) const { return ColumnLeft(position) + 10; }
};

TEST_F(ReportColumnsTest, OrderFileCases) {
  const std::vector<int> defaults = {0,  1,  2,  3,  6,  7,  9,  10, 4,  5,  8,
                                     11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21};
  std::vector<int> reversed(22);
  for (int i = 0; i < 22; ++i) reversed[i] = i < 3 ? i : 24 - i;
  std::vector<int32_t> longer(reversed.begin(), reversed.end());
  longer.push_back(7);  // a 23rd entry is not used
  std::vector<int> swapped = defaults;
  std::swap(swapped[4], swapped[5]);

  struct Case {
    const char* what;
    bool write;
    std::string bytes;
    std::vector<int> order;
  };
  const Case cases[] = {
      {"missing", false, "", defaults},
      {"whole", true, OrderBytes(std::vector<int32_t>(reversed.begin(), reversed.end())), reversed},
      {"23 entries", true, OrderBytes(longer), reversed},
      {"short: later positions keep the defaults", true, OrderBytes({0, 1, 2, 3, 7, 6}), swapped},
      {"short with a cut entry", true, OrderBytes({0, 1, 2, 3, 7, 6}) + "\x01\x02", swapped},
      {"empty", true, "", defaults},
      {"a column twice", true, OrderBytes({0, 1, 2, 3, 3}), defaults},
      {"a column out of range", true, OrderBytes({0, 1, 2, 99}), defaults},
      {"a negative column", true, OrderBytes({-1, 1, 2, 3}), defaults},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(folders.Path("report.sor"));
    if (c.write) folders.Write("report.sor", c.bytes);
    CReportTable fresh(&store);
    fresh.InitColumns();
    EXPECT_EQ(fresh.GetColumnOrder(), c.order) << c.what;
    EXPECT_EQ(fresh.GetFixedColumns(), 3) << c.what;
  }

  std::filesystem::remove(folders.Path("report.sor"));
  Init();
  const char* titles[] = {"序",       "藏品代码", "藏品名称", "开盘价", "幅度",   "最高价",
                          "昨收盘价", "均价",     "最新",     "涨跌",   "最低价", "现量",
                          "买价",     "买量",     "卖价",     "卖量",   "成交量", "库存量",
                          "成交金额", "量比",     "委比",     "换手率"};
  std::vector<std::string> expected;
  for (const char* t : titles) expected.push_back(GBK(t));
  EXPECT_EQ(HeaderTitles(), expected);
}

TEST_F(ReportColumnsTest, HeaderMenuSwapsColumnsAndSavesTheOrder) {
  Init();
  RecordingOwner owner;
  // A fixed column has no menu.
  EXPECT_EQ(table.OnRButtonDown(&owner, 0, HeadX(1), 5), 1);
  EXPECT_TRUE(owner.menus.empty());
  EXPECT_EQ(table.OnRButtonDown(nullptr, 0, HeadX(4), 5), -1);

  // On 幅度 (display position 4, column index 6): every other scrolling
  // column in display order.
  EXPECT_EQ(table.OnRButtonDown(&owner, 0, HeadX(4), 5), 1);
  ASSERT_EQ(owner.menus.size(), 1u);
  const SPopupMenu& menu = owner.menus[0].menu;
  EXPECT_EQ(menu.flags, popup_flags::kRightButton | popup_flags::kRightAlign);
  EXPECT_EQ(menu.baseResource, 0);
  ASSERT_EQ(menu.items.size(), 18u);
  EXPECT_EQ(menu.items[0].id, kCmdSwapColumnFirst + 3);
  EXPECT_EQ(menu.items[0].text, GBK("开盘价"));
  EXPECT_EQ(menu.items[1].id, kCmdSwapColumnFirst + 7);
  EXPECT_EQ(menu.items[1].text, GBK("最高价"));
  EXPECT_EQ(menu.items.back().id, kCmdSwapColumnFirst + 21);

  // Choosing 最新 (column 4) trades the two places and writes all 22.
  EXPECT_EQ(table.OnCommand(kCmdSwapColumnFirst + 4), 1);
  std::vector<int> expected = {0,  1,  2,  3,  4,  7,  9,  10, 6,  5,  8,
                               11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21};
  EXPECT_EQ(table.GetColumnOrder(), expected);
  EXPECT_EQ(folders.Read("report.sor"),
            OrderBytes(std::vector<int32_t>(expected.begin(), expected.end())));
  CReportTable reloaded(&store);
  reloaded.InitColumns();
  EXPECT_EQ(reloaded.GetColumnOrder(), expected);

  // Columns not in the order, fixed columns and other commands change nothing.
  EXPECT_EQ(table.OnCommand(kCmdSwapColumnFirst + 40), 1);
  EXPECT_EQ(table.OnCommand(kCmdSwapColumnFirst + 0), 1);
  EXPECT_EQ(table.GetColumnOrder(), expected);
  EXPECT_EQ(table.OnCommand(kCmdAddFavourite), 0);
}

TEST_F(ReportColumnsTest, BodyMenuDependsOnTheList) {
  LoadSeries(kMarket, 100000, 3);
  Init();
  struct Case {
    uint16_t market;
    std::vector<SPopupItem> tail;
  };
  using K = SPopupItem::Kind;
  const Case cases[] = {
      {kMarket, {{K::kCommand, kCmdAddFavourite, GBK("加入自选藏品")}}},
      {kFavouritesList, {{K::kCommand, kCmdRemoveFromList, GBK("从自选股中删除\t Del")}}},
      {kBlockList,
       {{K::kCommand, kCmdRemoveFromList, GBK("从板块中删除\t Del")},
        {K::kCommand, kCmdAddFavourite, GBK("加入自选藏品")}}},
  };
  for (const Case& c : cases) {
    table.LoadItems(c.market, "");
    RecordingOwner owner;
    EXPECT_EQ(table.OnRButtonDown(&owner, 0, 100, 24 * 3), 1);
    ASSERT_EQ(owner.menus.size(), 1u);
    const SPopupMenu& menu = owner.menus[0].menu;
    EXPECT_EQ(menu.baseResource, kMenuReportBody);
    EXPECT_EQ(menu.baseSubMenu, kMenuReportBodySub);
    EXPECT_EQ(menu.flags, popup_flags::kRightButton);
    ASSERT_EQ(menu.items.size(), 2 + c.tail.size());
    EXPECT_EQ(menu.items[0].kind, K::kSeparator);
    EXPECT_EQ(menu.items[1].kind, K::kResourceItems);
    EXPECT_EQ(menu.items[1].resourceId, kMenuMain);
    EXPECT_EQ(menu.items[1].subMenu, kMenuMainItemSub);
    for (size_t i = 0; i < c.tail.size(); ++i) EXPECT_EQ(menu.items[2 + i], c.tail[i]) << c.market;
    EXPECT_EQ(owner.menus[0].x, 100);
  }
  RecordingOwner outside;
  EXPECT_EQ(table.OnRButtonDown(&outside, 0, 100, kPageHeight + 5), 1);
  EXPECT_TRUE(outside.menus.empty());
}

TEST_F(ReportColumnsTest, HeaderClickFlipsTheDirectionAndTheSortIsStable) {
  LoadSeries(kMarket, 100000, 6);
  store.GetSelectedStocks() = {{kMarket, 100000}, {kMarket, 100001}, {kMarket, 100002},
                               {kMarket, 100003}, {kMarket, 100004}, {kMarket, 100005}};
  Init();
  table.LoadItems(kFavouritesList, "");
  // Last prices with ties; arrival order is code order.
  Reply({Quote(kMarket, 100000, 10200), Quote(kMarket, 100001, 10100),
         Quote(kMarket, 100002, 10200), Quote(kMarket, 100003, 10000),
         Quote(kMarket, 100004, 10100), Quote(kMarket, 100005, 10200)});
  const int lastPosition = 8;  // 最新
  ASSERT_EQ(table.GetColumnOrder()[lastPosition], ReportColumnIndexOfId(kColLast));
  RecordingOwner owner;

  // Another column sorts descending: the reverse of the stable ascending order.
  EXPECT_EQ(table.OnLButtonDown(&owner, 0, HeadX(lastPosition), 5), 1);
  EXPECT_EQ(table.GetReportSortColumn(), 4);
  EXPECT_EQ(table.IsDescending(), 1);
  EXPECT_EQ(Column(1),
            (std::vector<std::string>{"100005", "100002", "100000", "100004", "100001", "100003"}));
  EXPECT_EQ(Column(0), (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
  EXPECT_EQ(table.GetSortColumn(), 4);
  EXPECT_EQ(table.GetSortImage(), CSortMarkImages::kDescending);
  int column = 0, descending = 0;
  store.GetReportSort(&column, &descending);
  EXPECT_EQ(column, 4);
  EXPECT_EQ(descending, 1);

  // The same column again: ascending, equal prices in arrival order.
  table.OnLButtonDown(&owner, 0, HeadX(lastPosition), 5);
  EXPECT_EQ(table.IsDescending(), 0);
  EXPECT_EQ(Column(1),
            (std::vector<std::string>{"100003", "100001", "100004", "100000", "100002", "100005"}));
  EXPECT_EQ(table.GetSortImage(), CSortMarkImages::kAscending);
  // A refresh keeps the sort.
  Reply({Quote(kMarket, 100005, 9000), Quote(kMarket, 100000, 9500)});
  EXPECT_EQ(Column(1), (std::vector<std::string>{"100005", "100000"}));

  // The name sorts by GBK bytes; the sequence number does not sort.
  table.SortBy(ReportColumnIndexOfId(kColName));
  EXPECT_EQ(table.GetReportSortColumn(), 2);
  table.OnLButtonDown(&owner, 0, HeadX(0), 5);
  EXPECT_EQ(table.GetReportSortColumn(), 2);

  // A user list sorts without asking the server; a market list asks again.
  EXPECT_TRUE(frame.requests.empty());
  table.LoadItems(kMarket, "");
  table.SortBy(5);
  EXPECT_EQ(frame.requests.size(), 1u);
}

TEST_F(ReportColumnsTest, SortFromAnItemRecord) {
  Init();
  store.SetReportSort(7, 0);
  struct Case {
    uint16_t market;
    int mode;
    int column, descending;
  };
  const Case cases[] = {
      {kMarket, 0, 1, 0},         // a market without a mode: code ascending
      {kMarket, kColLast, 4, 1},  // a figure's id: that column descending
      {kFavouritesList, kColVolume, 16, 1},
      {kFavouritesList, 0x100 | kColHigh, 7, 1},  // only the low byte counts
  };
  for (const Case& c : cases) {
    table.SetSortFromItem(c.market, c.mode);
    EXPECT_EQ(table.GetReportSortColumn(), c.column) << c.mode;
    EXPECT_EQ(table.IsDescending(), c.descending) << c.mode;
  }
  // A fixed column's id takes what the store kept.
  store.SetReportSort(9, 0);
  table.SetSortFromItem(kFavouritesList, kColName);
  EXPECT_EQ(table.GetReportSortColumn(), 9);
  EXPECT_EQ(table.IsDescending(), 0);
}

TEST_F(ReportColumnsTest, DraggedColumnWidthsStayWithin60And600) {
  Init();
  RecordingOwner owner;
  struct Case {
    int dx;
    int width;
  };
  const Case cases[] = {{1000, 600}, {-1000, 60}, {15, 85}, {0, 70}};
  for (const Case& c : cases) {
    table.SetColumnWidth(3, 70);
    const int edge = ColumnLeft(4);  // right edge of 开盘价 (column 3)
    table.OnMouseMove(&owner, 0, edge + 1, 5);
    EXPECT_EQ(owner.cursor, CDrawOwner::Cursor::kSizeWE);
    ASSERT_EQ(table.OnLButtonDown(&owner, 0, edge + 1, 5), 1);
    EXPECT_TRUE(owner.captured);
    table.OnMouseMove(&owner, 0, edge + 1 + c.dx, 5);
    EXPECT_EQ(owner.cursor, CDrawOwner::Cursor::kSizeWE);
    const int repaints = owner.repaints;
    EXPECT_EQ(table.OnLButtonUp(&owner, 0, edge + 1 + c.dx, 5), 1);
    EXPECT_FALSE(owner.captured);
    EXPECT_EQ(owner.repaints, repaints + 1);
    EXPECT_EQ(table.GetColumnWidth(3), c.width) << c.dx;
    EXPECT_EQ(table.GetReportColumns()[3].head.width, c.width) << c.dx;
  }
  EXPECT_EQ(table.OnLButtonUp(&owner, 0, 10, 10), 0);  // no drag in progress
  table.OnMouseMove(&owner, 0, 20, 100);
  EXPECT_EQ(owner.cursor, CDrawOwner::Cursor::kArrow);
}

TEST_F(ReportColumnsTest, ClicksOnRows) {
  LoadSeries(kMarket, 100000, 3);
  store.GetSelectedStocks() = {{kMarket, 100000}, {kMarket, 100001}, {kMarket, 100002}};
  Init();
  table.LoadItems(kFavouritesList, "");
  Reply({Quote(kMarket, 100000, 1), Quote(kMarket, 100001, 1), Quote(kMarket, 100002, 1)});
  RecordingOwner owner;
  EXPECT_EQ(table.OnLButtonDown(&owner, 0, 30, 24 * 2 + 3), 1);
  EXPECT_EQ(table.GetSelRow(), 1);
  EXPECT_EQ(table.GetSelectedCode(), (SCodeInfo{kMarket, 100001}));
  EXPECT_EQ(table.OnLButtonDblClk(&owner, 0, 30, 24 * 3 + 3), 1);
  EXPECT_EQ(table.OnLButtonDblClk(&owner, 0, 30, 5), 0);           // header
  EXPECT_EQ(table.OnLButtonDblClk(&owner, 0, 30, 24 * 5 + 3), 0);  // below the rows
  EXPECT_EQ(table.OnLButtonDown(&owner, 0, 30, kPageHeight + 3), 0);
}

}  // namespace
