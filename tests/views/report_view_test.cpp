// The quote list view as a window: what it asks for and opens through the
// main window (Enter, double click, Delete, WM_REPORT_STEP, the timer, the
// wheel, a resize), paging with no row fitting, its tabs and the block
// pop-up, the column scroll bar, and an offscreen render checked at points
// computed from its layout. The table's own rules are tested with the table.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <algorithm>
#include <filesystem>

#include "platform/input.h"
#include "platform/testing/app.h"
#include "platform/testing/menu_script.h"
#include "tables/report_test_support.h"
#include "sim/market/demo_market.h"
#include "zeb/core/blocks/block_manager.h"
#include "zeb/views/report/popup_menu.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/views/report/price_report_view.h"

using namespace tables_test;

namespace {

constexpr uint16_t kMarket = 4114;  // a market list (bit 0x1000)
constexpr int32_t kFirstCode = 602000;
constexpr int kRow = 24;
constexpr int kWidth = 1800;

// The widgets need the application object before the tables' fixture,
// which would otherwise make a plain GUI one.
struct WidgetApplicationFirst {
  WidgetApplicationFirst() { platform::testing::EnsureApplication(); }
};

// The main window: the requests, and the items opened, commands and keys
// the view hands it.
class MainWindow : public RequestRecorder {
 public:
  std::vector<SCodeInfo> opened;
  std::vector<UINT> commands;
  std::vector<std::pair<WPARAM, LPARAM>> keys;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_QUOTE_REQUEST && wParam == kRequestItem) {
      SCodeInfo code;
      std::memcpy(static_cast<void*>(&code), reinterpret_cast<const void*>(lParam), sizeof code);
      opened.push_back(code);
      return 1;
    }
    if (message == WM_COMMAND) commands.push_back(LOWORD(wParam));
    if (message == WM_KEYDOWN) keys.push_back({wParam, lParam});
    return RequestRecorder::WindowProc(message, wParam, lParam);
  }
};

class ReportViewTest : public WidgetApplicationFirst, public TablesTest {
 protected:
  ReportViewTest() {
    folders.Write("zeb.ini", "[QUOTE]\r\nServerIP=127.0.0.1\r\n");
    store.SetMainWnd(main.GetSafeHwnd());
  }
  ~ReportViewTest() override {
    view.DestroyWindow();
    CBlockManager::ReleaseInstance();
  }

  // The tab strip and the statistics strip under the table.
  int Strips() { return view.GetTabStripHeight() + kReportStatStripHeight; }
  // 11 fitting rows: the header and 10 rows per page.
  int Height() { return kRow * 11 + Strips(); }
  void Show(int width = kWidth, int height = 0) {
    if (height == 0) height = Height();
    view.Create(nullptr, CRect(0, 0, width, height), 0, WS_POPUP | WS_VISIBLE);
    view.OnInitialUpdate();
    view.KillTimer(kReportRefreshTimer);  // fired by WM_TIMER here
  }
  void ShowList(uint16_t market) {
    SCurItem item;
    item.page = kPageReport;
    item.market = market;
    view.SetCurItem(&item);
  }
  // The favourites: count items of the market, all of them chosen.
  void Favourites(int count) {
    LoadSeries(kMarket, kFirstCode, count);
    for (int i = 0; i < count; ++i)
      store.GetSelectedStocks().push_back(SCodeInfo{kMarket, kFirstCode + i});
  }
  // Answers the last request, each price from the function.
  template <class Price>
  void AnswerLast(Price price) {
    ASSERT_FALSE(main.requests.empty());
    std::vector<SQuoteUnit> quotes;
    for (const SCodeInfo& code : main.requests.back().items)
      quotes.push_back(Quote(code.market, code.code, price(code)));
    const std::string body = QuoteListBody(PKT_REPORT, 1, quotes);
    view.OnData(body.data(), static_cast<int>(body.size()));
  }
  void AnswerLast() {
    AnswerLast([](const SCodeInfo&) { return 10000u; });
  }
  LPARAM RowPoint(int row, int x = 300) const { return MAKELPARAM(x, kRow * (row + 1) + kRow / 2); }
  int Step(int step) {
    return int(view.SendMessage(WM_REPORT_STEP, reinterpret_cast<WPARAM>(&step), 0));
  }
  // Left edge of the column at a display position, and its width.
  std::pair<int, int> ColumnAt(int position) {
    CReportTable& table = view.Table();
    int left = 0;
    for (int p = 0; p < position; ++p) left += table.GetColumnWidth(table.GetColumnOrder()[p]);
    return {left, table.GetColumnWidth(table.GetColumnOrder()[position])};
  }

  MainWindow main;
  CPriceReportView view{&store};
};

TEST_F(ReportViewTest, EnterAndDoubleClickOpenTheSelectedItemAndAnEmptyListSendsNothing) {
  Show();
  ShowList(kFavouritesList);  // no favourites
  EXPECT_EQ(view.OnKey(VK_RETURN, 1, 0xFFFF0000), 0);
  view.SendMessage(WM_LBUTTONDOWN, 0, RowPoint(0));
  view.SendMessage(WM_LBUTTONDBLCLK, 0, RowPoint(0));
  EXPECT_TRUE(main.opened.empty());
  EXPECT_TRUE(main.requests.empty());

  LoadSeries(kMarket, kFirstCode, 25);
  ShowList(kMarket);
  ASSERT_EQ(main.requests.size(), 1u);
  EXPECT_EQ(main.requests[0].count, 10);
  AnswerLast();
  // A click selects the fourth row; Enter opens it through the main window.
  view.SendMessage(WM_LBUTTONDOWN, 0, RowPoint(3));
  EXPECT_EQ(view.OnKey(VK_RETURN, 1, 0xFFFF0000), 1);
  ASSERT_EQ(main.opened.size(), 1u);
  EXPECT_EQ(main.opened[0], (SCodeInfo{kMarket, kFirstCode + 3}));
  EXPECT_EQ(SCodeInfo(view.GetCurItem()->code), (SCodeInfo{kMarket, kFirstCode + 3}));
  // A double click opens the row clicked.
  view.SendMessage(WM_LBUTTONDOWN, 0, RowPoint(5));
  view.SendMessage(WM_LBUTTONDBLCLK, 0, RowPoint(5));
  ASSERT_EQ(main.opened.size(), 2u);
  EXPECT_EQ(main.opened[1], (SCodeInfo{kMarket, kFirstCode + 5}));
  // A double click on the header opens nothing.
  view.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(300, kRow / 2));
  EXPECT_EQ(main.opened.size(), 2u);
  EXPECT_EQ(main.requests.size(), 1u);
}

// Back from the chart view the router hands the list its own item again:
// the item opened stays selected on its page, in the order the user chose,
// while another list starts at its first row.
TEST_F(ReportViewTest, TheOwnItemHandedBackKeepsTheOpenedItemSelectedAndInView) {
  sim::MarketTableBlock first{kMarket, {}}, second{kMarket + 1, {}};
  for (int i = 0; i < 25; ++i) {
    first.items.push_back(Item(kFirstCode + i, "a" + std::to_string(i), 10000));
    second.items.push_back(Item(kFirstCode + 100 + i, "b" + std::to_string(i), 10000));
  }
  LoadMarket({first, second});
  Show();
  const auto price = [](const SCodeInfo& code) { return 10000u + 37u * uint32_t(code.code % 11); };
  for (const bool sorted : {false, true}) {
    ShowList(kMarket);
    AnswerLast(price);
    if (sorted) {
      view.Table().SortBy(kColLast);
      AnswerLast(price);
    }
    const int column = view.Table().GetReportSortColumn();
    view.OnKey(VK_NEXT, 1, 0xFFFF0000);
    AnswerLast(price);
    view.SendMessage(WM_LBUTTONDOWN, 0, RowPoint(3));
    main.opened.clear();
    ASSERT_EQ(view.OnKey(VK_RETURN, 1, 0xFFFF0000), 1);
    ASSERT_EQ(main.opened.size(), 1u);
    const SCurItem own = *view.GetCurItem();
    view.SetCurItem(&own);
    EXPECT_EQ(main.requests.back().items.front(), (SCodeInfo{kMarket, kFirstCode + 10})) << sorted;
    AnswerLast(price);
    EXPECT_EQ(view.Table().GetReportSortColumn(), column) << sorted;
    EXPECT_EQ(view.Table().GetPageStart(), 10) << sorted;
    EXPECT_EQ(view.Table().GetSelectedCode(), main.opened[0]) << sorted;
  }
  ShowList(kMarket + 1);
  EXPECT_EQ(view.Table().GetPageStart(), 0);
  EXPECT_EQ(view.Table().GetSelRow(), 0);
}

TEST_F(ReportViewTest, RightClicksSelectTheRowAndOfferTheMenusOfTheMainProgram) {
  Favourites(3);
  Show();
  ShowList(kFavouritesList);
  AnswerLast();
  platform::testing::ScopedMenuScript menus{0, 0};
  view.SendMessage(WM_RBUTTONDOWN, 0, RowPoint(2));
  EXPECT_EQ(view.Table().GetSelRow(), 2);
  ASSERT_EQ(menus.Offered().size(), 1u);
  // The market lists, the item's pages, then removing it from the favourites.
  std::vector<std::string> texts;
  for (const auto& item : menus.Offered()[0]) texts.push_back(platform::GbkToUtf8(item.text));
  EXPECT_NE(std::find(texts.begin(), texts.end(), "全部藏品"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "实时走势"), texts.end());
  EXPECT_EQ(texts.back(), "从自选股中删除\t Del");
  EXPECT_EQ(menus.Offered()[0].back().id, kCmdRemoveFromList);
  // The head of a column that scrolls offers the columns to swap it with.
  const int x = ColumnAt(4).first + 10;
  view.SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(x, kRow / 2));
  ASSERT_EQ(menus.Offered().size(), 2u);
  EXPECT_EQ(menus.Offered()[1].size(), size_t(kReportColumnCount - kReportFixedColumns - 1));
}

// The band right of the last column is no row: a click there, right or
// left, leaves the selection where it was; inside a row it selects.
TEST_F(ReportViewTest, OnlyAClickInsideARowSelectsIt) {
  Favourites(3);
  Show();
  ShowList(kFavouritesList);
  AnswerLast();
  CReportTable& table = view.Table();
  const int columnsEnd = table.GetTotalColumnWidth();
  ASSERT_LT(columnsEnd + 20, kWidth);  // an empty band right of the grid
  ASSERT_EQ(table.GetSelRow(), 0);
  platform::testing::ScopedMenuScript menus{0, 0};  // the body menu of each right click
  for (UINT message : {WM_RBUTTONDOWN, WM_LBUTTONDOWN}) {
    view.SendMessage(message, 0, RowPoint(2, columnsEnd + 10));
    EXPECT_EQ(table.GetSelRow(), 0) << message;
  }
  view.SendMessage(WM_LBUTTONDBLCLK, 0, RowPoint(2, columnsEnd + 10));
  EXPECT_TRUE(main.opened.empty());
  view.SendMessage(WM_RBUTTONDOWN, 0, RowPoint(2, columnsEnd - 5));
  EXPECT_EQ(table.GetSelRow(), 2);
}

// Removing an item reloads the list shown, also one that no tab holds.
TEST_F(ReportViewTest, ReloadingShowsTheListLoadedLast) {
  Favourites(3);
  Show();
  SCurItem block;
  block.page = kPageReport;
  block.mode = 1;
  block.market = kBlockList;
  block.SetName("mine");
  view.SetCurItem(&block);
  EXPECT_EQ(view.Tabs().GetCurSel(), CTypeCtlPic::kNoTab);
  ShowList(kFavouritesList);
  store.GetSelectedStocks().pop_back();
  view.ReloadCurrentTab();
  EXPECT_EQ(view.Table().GetMarket(), kFavouritesList);
  EXPECT_EQ(view.Table().GetItemCount(), 2);
  view.SetCurItem(&block);
  view.ReloadCurrentTab();
  EXPECT_EQ(view.Table().GetMarket(), kBlockList);
  EXPECT_EQ(uint16_t(view.GetCurItem()->market), kBlockList);
}

TEST_F(ReportViewTest, DeleteOnTheFavouritesOrABlockPostsTheRemoveCommand) {
  Favourites(3);
  Show();
  const struct {
    uint16_t list;
    bool removes;
  } cases[] = {{kMarket, false}, {kFavouritesList, true}, {kBlockList, true}, {0x3000, false}};
  for (const auto& c : cases) {
    main.commands.clear();
    ShowList(c.list);
    EXPECT_EQ(view.OnKey(VK_DELETE, 1, 0xFFFF0000), c.removes ? 1 : 0) << c.list;
    platform::PumpMessages(0);  // the command is posted
    EXPECT_EQ(main.commands,
              c.removes ? std::vector<UINT>{kCmdRemoveFromList} : std::vector<UINT>{})
        << c.list;
  }
}

TEST_F(ReportViewTest, PagingKeysDoNothingWhileNoRowFits) {
  Favourites(25);
  Show(kWidth, kRow + Strips());  // room for the header only
  for (uint16_t list : {kMarket, kFavouritesList}) {
    ShowList(list);
    const size_t asked = main.requests.size();
    for (UINT key : {VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN})
      EXPECT_EQ(view.OnKey(key, 1, 0xFFFF0000), 0) << key;
    view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(short(-120))), 0);
    EXPECT_EQ(Step(1), 1);
    EXPECT_EQ(view.Table().GetPageStart(), 0);
    EXPECT_EQ(main.requests.size(), asked);
    EXPECT_TRUE(main.opened.empty());
  }
}

TEST_F(ReportViewTest, ReportStepWrapsOverTheItemsTurnsThePageAndOpens) {
  Favourites(3);
  Show();
  ShowList(kFavouritesList);
  AnswerLast();
  EXPECT_EQ(Step(-1), 1);  // from the first item back to the last
  EXPECT_EQ(view.Table().GetSelRow(), 2);
  EXPECT_EQ(Step(1), 1);  // and on to the first
  EXPECT_EQ(view.Table().GetSelRow(), 0);
  EXPECT_EQ(main.opened,
            (std::vector<SCodeInfo>{{kMarket, kFirstCode + 2}, {kMarket, kFirstCode}}));

  LoadSeries(kMarket, kFirstCode, 25);
  ShowList(kMarket);
  AnswerLast();
  view.Table().SetSelRow(9);
  const size_t asked = main.requests.size();
  EXPECT_EQ(Step(1), 1);  // the eleventh item is on the second page
  ASSERT_EQ(main.requests.size(), asked + 1);
  EXPECT_EQ(main.requests.back().items.front(), (SCodeInfo{kMarket, kFirstCode + 10}));
  EXPECT_EQ(view.Table().GetSelRow(), 0);
  EXPECT_EQ(main.opened.back(), (SCodeInfo{kMarket, kFirstCode + 10}));
  EXPECT_EQ(view.SendMessage(WM_REPORT_STEP, 0, 0), 0);  // no step given
}

TEST_F(ReportViewTest, TimerWheelKeysAndAResizeAskForTheShownPage) {
  LoadSeries(kMarket, kFirstCode, 25);
  Show();
  ShowList(kMarket);
  ASSERT_EQ(main.requests.size(), 1u);
  view.SendMessage(WM_TIMER, kReportRefreshTimer, 0);
  ASSERT_EQ(main.requests.size(), 2u);
  EXPECT_EQ(main.requests[1].items, main.requests[0].items);
  // A wheel notch towards the user pages down.
  view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(short(-120))), 0);
  ASSERT_EQ(main.requests.size(), 3u);
  EXPECT_EQ(main.requests[2].items.front(), (SCodeInfo{kMarket, kFirstCode + 10}));
  // Five more rows fit: the page is asked for again at once.
  view.MoveWindow(0, 0, kWidth, Height() + 5 * kRow);
  ASSERT_EQ(main.requests.size(), 4u);
  EXPECT_EQ(main.requests[3].count, 15);
  // Keys typed into the view go to the main window, which routes them back.
  view.SendMessage(WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(main.keys, (std::vector<std::pair<WPARAM, LPARAM>>{{VK_NEXT, LPARAM(0xFFFF0000u)}}));
}

TEST_F(ReportViewTest, TabsLoadTheirListsAndABlockTabOffersTheBlocks) {
  folders.Write("BLOCK/USERBLOCK.DEF", "[mine]\r\n");
  CBlockManager::GetInstance()->Init(folders.ProgramDir());
  LoadSeries(4117, 701000, 5);
  Show();
  CRepTypeCtlPic& tabs = view.Tabs();
  ASSERT_EQ(tabs.GetTabCount(), 7);  // no QuoteType: the collectibles tabs
  auto clickTab = [&](int index) {
    const RECT r = tabs.GetTab(index)->rect;
    view.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  };
  clickTab(2);  // 钱币
  EXPECT_EQ(tabs.GetCurSel(), 2);
  EXPECT_EQ(uint16_t(view.GetCurItem()->market), 4117);
  ASSERT_EQ(main.requests.size(), 1u);
  EXPECT_EQ(main.requests[0].market, 4117);
  EXPECT_EQ(main.requests[0].count, 5);

  // A block tab offers the blocks of its kind; the tab shown stays current
  // until a block is chosen.
  tabs.AddRecordTab(MakeRepTabRecord(GBK("自定板块"), kBlockKindUser), 0);
  view.RecalcLayout();
  platform::testing::ScopedMenuScript menus{0};
  clickTab(7);
  ASSERT_EQ(menus.Offered().size(), 1u);
  ASSERT_EQ(menus.Offered()[0].size(), 1u);
  EXPECT_EQ(menus.Offered()[0][0].text, "mine");
  EXPECT_EQ(menus.Offered()[0][0].id, 0x6200u + kFirstUserBlockId);
  EXPECT_EQ(tabs.GetCurSel(), 2);
  EXPECT_EQ(main.requests.size(), 1u);
}

// The market the quote simulator serves, as the program builds its lists
// from it: each market tab lists only the goods of its kind (codes that
// map to its market, names of that kind), and 全部藏品 lists them all.
TEST_F(ReportViewTest, EachMarketTabOfTheSimulatorsMarketListsOnlyGoodsOfItsKind) {
  const std::string market = BuildDemoMarketTable();
  ASSERT_EQ(store.ParseMarketTable(market.data(), int(market.size())), 0);
  Show();
  CRepTypeCtlPic& tabs = view.Tabs();
  auto load = [&](const char* name) {
    for (int i = 0; i < tabs.GetTabCount(); ++i) {
      if (tabs.GetTab(i)->name != GBK(name)) continue;
      view.LoadTab(*tabs.GetRecord(i));
      return view.Table().GetItems();
    }
    ADD_FAILURE() << "no tab " << name;
    return std::vector<SCodeInfo>{};
  };
  const struct {
    const char* tab;
    int32_t codePrefix;              // code / 1000
    std::vector<std::string> kinds;  // one of these is in every name
  } cases[] = {{"指数", 100, {"指数"}},
               {"钱币", 701, {"币"}},
               {"邮票", 602, {"票"}},
               {"电话卡", 903, {"卡"}},
               {"邮资封片", 605, {"封", "片"}}};
  size_t listed = 0;
  for (const auto& c : cases) {
    const std::vector<SCodeInfo> items = load(c.tab);
    EXPECT_GE(items.size(), 2u) << c.tab;
    for (const SCodeInfo& item : items) {
      EXPECT_EQ(item.code / 1000, c.codePrefix) << c.tab << " " << item.code;
      const SStockInfo* info = store.FindStock(&item);
      ASSERT_NE(info, nullptr);
      const std::string name = platform::GbkToUtf8(info->GetName());
      const bool ofKind = std::any_of(c.kinds.begin(), c.kinds.end(), [&](const std::string& kind) {
        return name.find(kind) != std::string::npos;
      });
      EXPECT_TRUE(ofKind) << c.tab << " lists " << item.code << " " << name;
      // Index items are named as indexes, and no goods are.
      EXPECT_EQ(name.find("指数") != std::string::npos, c.codePrefix == 100)
          << c.tab << " " << name;
    }
    listed += items.size();
  }
  // 全部藏品: the goods of every tab and the two index markets' indexes.
  EXPECT_EQ(load("全部藏品").size(), listed + 2);

  // The 行情 menu (the rows' right-click menu too) opens the same lists:
  // "<tab>行情" the market of that tab.
  platform::testing::ScopedMenuScript menus{0};
  view.SendMessage(WM_RBUTTONDOWN, 0, RowPoint(0));
  ASSERT_EQ(menus.Offered().size(), 1u);
  for (const auto& c : cases) {
    const std::string text = platform::Utf8ToGbk(std::string(c.tab) + "行情");
    const auto& offered = menus.Offered()[0];
    const auto item =
        std::find_if(offered.begin(), offered.end(), [&](const auto& i) { return i.text == text; });
    ASSERT_NE(item, offered.end()) << c.tab;
    EXPECT_EQ(std::count_if(offered.begin(), offered.end(),
                            [&](const auto& i) { return i.text == text; }),
              1)
        << c.tab;
    ASSERT_GE(item->id, 0x6200u);
    const SStockInfo* first = store.FindStock(&load(c.tab).front());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(store.GetMarketOfCommand(int(item->id) - 0x6200), first->market) << c.tab;
  }
}

TEST(RepTypeCtlPicTest, TheTabSetFollowsQuoteTypeAndAnUnreadableFileGivesNone) {
  platform::testing::EnsureApplication();
  shell_test::TempFolders folders;
  platform::ScopedRecordingBoxes boxes;
  CPublic store;
  CRepTypeCtlPic tabs(&store);
  folders.Write("zeb.ini", "[QUOTE]\r\nQuoteType=0\r\n");
  EXPECT_EQ(tabs.InitTabs(), 1);
  ASSERT_EQ(tabs.GetTabCount(), 6);
  EXPECT_EQ(tabs.GetTab(0)->name, GBK("股权"));
  EXPECT_EQ(tabs.GetRecord(5)->market, 4096);
  folders.Write("zeb.ini", "[QUOTE]\r\nQuoteType=1\r\n");
  EXPECT_EQ(tabs.InitTabs(), 1);
  ASSERT_EQ(tabs.GetTabCount(), 7);
  EXPECT_EQ(tabs.GetRecord(6)->market, kFavouritesList);
  std::filesystem::remove(folders.Path("zeb.ini"));
  EXPECT_EQ(tabs.InitTabs(), 0);
  EXPECT_EQ(tabs.GetTabCount(), 0);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, GBK("读取通信配置文件出错!"));
}

// The strip of the tabs and the column scroll bar is as high as the tabs'
// labels need; the table ends where it begins, the statistics strip
// begins where it ends, and the tabs and the bar span it.
TEST_F(ReportViewTest, TheTabStripTakesTheHeightItsLabelsNeed) {
  Show(600);
  CTypeCtlPic sized;  // the tab font, measured apart from the view
  CDC measure;
  measure.CreateCompatibleDC(nullptr);
  const int strip = sized.GetFittingHeight(&measure);
  EXPECT_EQ(view.GetTabStripHeight(), strip);
  const RECT bar = view.Tabs().GetRect();
  EXPECT_EQ(bar.bottom - bar.top, strip);
  EXPECT_EQ(bar.bottom, Height() - kReportStatStripHeight);
  EXPECT_EQ(view.Table().GetRect().bottom, bar.top);
  (void)view.GetWidget()->grab();  // a paint lays the tabs out
  for (int i = 0; i < view.Tabs().GetTabCount(); ++i) {
    const RECT tab = view.Tabs().GetTab(i)->rect;
    EXPECT_EQ(tab.top, bar.top) << i;
    EXPECT_EQ(tab.bottom, bar.bottom) << i;
  }
  const RECT scroll = view.ScrollBar().GetBarRect();
  EXPECT_EQ(scroll.top, bar.top);
  EXPECT_EQ(scroll.bottom, bar.bottom);
}

TEST_F(ReportViewTest, TheColumnScrollFollowsKeysAndTheScrollBar) {
  LoadSeries(kMarket, kFirstCode, 5);
  Show(600, Height());
  ShowList(kMarket);
  AnswerLast();
  CReportTable& table = view.Table();
  EXPECT_EQ(view.OnKey(VK_RIGHT, 1, 0xFFFF0000), 1);
  EXPECT_EQ(view.GetColumnScrollPos(), ColumnAt(3).second);
  (void)view.GetWidget()->grab();  // a paint sets the bar up
  CScrollCtlPic& bar = view.ScrollBar();
  EXPECT_EQ(bar.GetRange(), table.GetTotalColumnWidth());
  EXPECT_EQ(bar.GetPage(), 600);
  EXPECT_EQ(bar.GetPos(), view.GetColumnScrollPos());
  // A click on the right arrow moves the bar a page; the columns follow.
  const RECT arrow = bar.GetSecondArrowRect();
  view.SendMessage(WM_LBUTTONDOWN, 0,
                   MAKELPARAM((arrow.left + arrow.right) / 2, (arrow.top + arrow.bottom) / 2));
  EXPECT_EQ(view.GetColumnScrollPos(), ColumnAt(3).second + 600);
  EXPECT_GT(table.GetColumnScroll(), 1);
  EXPECT_LE(table.GetColumnScrollPixels(), view.GetColumnScrollPos());
  // Wide enough for every column: nothing stays scrolled and the bar hides.
  view.MoveWindow(0, 0, table.GetTotalColumnWidth() + 10, Height());
  (void)view.GetWidget()->grab();
  EXPECT_EQ(view.GetColumnScrollPos(), 0);
  EXPECT_EQ(table.GetColumnScroll(), 0);
  EXPECT_EQ(bar.GetRange(), 0);
}

// The view decodes a reply once and hands the same records to the table and
// the statistics strip: both show a reply, and a reply the view cannot
// read or that answers another request changes neither.
TEST_F(ReportViewTest, TheTableAndTheStripTakeTheSameReply) {
  Favourites(3);
  Show();
  ShowList(kFavouritesList);
  ASSERT_FALSE(main.requests.empty());
  const auto reply = [&](uint16_t tag, uint32_t volume) {
    std::vector<SQuoteUnit> quotes;
    for (const SCodeInfo& code : main.requests.back().items)
      quotes.push_back(Quote(code.market, code.code, 10000, volume));
    return QuoteListBody(PKT_REPORT, tag, quotes);
  };
  const auto shown = [&] {
    std::vector<std::string> texts;
    const int volume = ReportColumnIndexOfId(kColVolume);
    for (int row = 0; row < view.Table().GetRowCount(); ++row)
      texts.push_back(view.Table().GetCellText(row, volume));
    texts.push_back(view.StatStrip().GetFigures()[0].second);  // 成交总量
    return texts;
  };
  const std::string first = reply(1, 100);
  view.OnData(first.data(), static_cast<int>(first.size()));
  ASSERT_EQ(view.Table().GetRowCount(), 3);
  EXPECT_EQ(view.StatStrip().GetFigures()[0].second, "300");
  const std::vector<std::string> before = shown();

  const std::string second = reply(1, 200);
  for (const std::string& body : {second.substr(0, second.size() - 1), reply(2, 200)}) {
    view.OnData(body.data(), static_cast<int>(body.size()));
    EXPECT_EQ(shown(), before);
  }
  view.OnData(second.data(), static_cast<int>(second.size()));
  const std::vector<std::string> after = shown();
  EXPECT_EQ(after, (std::vector<std::string>{"200", "200", "200", "600"}));
}

TEST_F(ReportViewTest, ARenderShowsRowsInRiseAndFallColoursAboveTheTabsAndTheStrip) {
  Favourites(2);
  Show();
  ShowList(kFavouritesList);
  AnswerLast([](const SCodeInfo& code) { return code.code == kFirstCode ? 11000u : 9000u; });
  ASSERT_EQ(view.Table().GetRowCount(), 2);
  const QImage image = view.GetWidget()->grab().toImage();
  auto pixel = [&](int x, int y) {
    const QColor c = image.pixelColor(x, y);
    return RGB(c.red(), c.green(), c.blue());
  };
  auto count = [&](COLORREF color, const RECT& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += pixel(x, y) == color;
    return n;
  };
  auto cell = [&](int position, int row) {
    const auto [left, width] = ColumnAt(position);
    return RECT{left + 2, kRow * (row + 1) + 1, left + width - 2, kRow * (row + 2) - 1};
  };
  const int lastPosition = 8;  // 最新 in the default order
  ASSERT_EQ(view.Table().GetColumnOrder()[lastPosition], 4);
  const COLORREF rise = Color(2), fall = Color(4);
  EXPECT_GT(count(rise, cell(lastPosition, 0)), 0);
  EXPECT_EQ(count(fall, cell(lastPosition, 0)), 0);
  EXPECT_GT(count(fall, cell(lastPosition, 1)), 0);
  EXPECT_EQ(count(rise, cell(lastPosition, 1)), 0);
  // Below the rows, the background.
  EXPECT_EQ(pixel(ColumnAt(4).first + 4, kRow * 4 + kRow / 2), Color(19));

  // The favourites' tab is current (dark red), the first is not (grey).
  const RECT current = view.Tabs().GetTab(6)->rect, other = view.Tabs().GetTab(0)->rect;
  EXPECT_EQ(view.Tabs().GetCurSel(), 6);
  EXPECT_GT(count(RGB(128, 0, 0), current), 0);
  EXPECT_EQ(count(RGB(128, 0, 0), other), 0);
  EXPECT_GT(count(RGB(128, 128, 128), other), 0);
  // The statistics strip starts with a red line.
  EXPECT_EQ(pixel(kWidth / 2, Height() - kReportStatStripHeight), RGB(255, 0, 0));
}

}  // namespace

// After the settings changed the scheme, the list takes its colours again.
TEST_F(ReportViewTest, SchemeChangeRetakesTheColours) {
  Show();
  view.Table().SetBkColor(RGB(1, 2, 3));
  view.OnSchemeChanged();
  EXPECT_EQ(view.Table().GetBkColor(), CSysStyle::GetInstance()->GetColor(19));
}

// A drawn object may show a command of a menu resource under another text
// (the time-share menu names its long-short entry "ADL图" for indices).
TEST(PopupMenuTest, RetitledCommandsShowTheirNewText) {
  platform::testing::EnsureApplication();
  SPopupMenu description;
  description.baseResource = 130;
  description.baseSubMenu = 0;
  description.retitles.push_back({SPopupItem::Kind::kCommand, 26642, GBK("ADL图")});
  CMenu menu;
  std::vector<std::unique_ptr<CMenu>> keep;
  ASSERT_TRUE(BuildPopupMenu(description, &menu, &keep));
  std::string text;
  menu.GetMenuString(26642, text, MF_BYCOMMAND);
  EXPECT_EQ(text, GBK("ADL图"));
  menu.GetMenuString(26644, text, MF_BYCOMMAND);
  EXPECT_EQ(text, GBK("成交量"));
}
