// The program's application object and main frame: the real start-up
// against the local simulators, a cancelled login, the close question and
// the close order, the favourites when a hot key fails, the trade pane,
// the tray hot keys, keys and commands of the frame, and the crash report.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "link/client_data_source.h"
#include "platform/gbk.h"
#include "platform/input.h"
#include "platform/paths.h"
#include "platform/testing/find_ctl.h"
#include "platform/testing/menu_script.h"
#include "platform/testing/modal_script.h"
#include "zeb/controls/mt_toolbar.h"
#include "zeb/controls/toolbar_xp.h"
#include "zeb/shell/frame/shell_toolbars.h"
#include "shell/program_test_support.h"
#include "shell/router_test_support.h"
#include "settings/config_file.h"
#include "tools/screenshot/program_run.h"
#include "zeb/core/app/crash_handler.h"
#include "zeb/core/app/shell_plugins.h"
#include "zeb/shell/app/zeb_app.h"
#include "zeb/shell/frame/main_frame.h"
#include "zeb/shell/frame/shell_commands.h"
#include "zeb/shell/login/login_dlg.h"
#include "zeb/messages.h"
#include "zeb/store/public_store.h"
#include "zeb/views/report/price_report_view.h"

namespace {

using platform::testing::ClickCtl;
using platform::testing::ScopedModalScript;
using shell_test::TradeCalls;

std::string Favourites(std::initializer_list<std::pair<uint16_t, int32_t>> codes) {
  std::string bytes;
  for (auto [market, code] : codes) {
    bytes.append(reinterpret_cast<const char*>(&market), 2);
    bytes.append(reinterpret_cast<const char*>(&code), 4);
  }
  return bytes;
}

TEST(ProgramRunTest, LogsInToTheSimulatorsAndShowsTheMainFrame) {
  shell_test::ApplicationFirst app;
  const SProgramRunResult r = RunProgramOnce({});
  EXPECT_TRUE(r.ok) << r.failedStage;
  EXPECT_EQ(r.loginResult, IDOK);
  EXPECT_TRUE(r.loginDialogGone);
  EXPECT_TRUE(r.frameShown);
  EXPECT_GT(r.marketItems, 0);
  EXPECT_GE(r.balanceQueries, 1u);
  EXPECT_GE(r.tradeLogons, 1u);
  EXPECT_EQ(r.quoteLogins, 1u);
  EXPECT_GE(r.quoteInitRequests, 1u);
  // The only boxes: the two orders' confirmations and replies (one dealt,
  // one resting), in the order the replies came.
  std::multiset<std::string> boxes;
  for (const std::string& box : r.boxes) {
    const size_t quantity = box.find("数量");
    boxes.insert(box.substr(0, quantity != std::string::npos ? quantity : box.find(',')));
  }
  EXPECT_EQ(boxes,
            (std::multiset<std::string>{"您 限价委托 买入 了602001 ", "您 限价委托 买入 了602001 ",
                                        "委托成交", "委托已提交"}));
  // Logged in for quotes and trading: the real trading library's window in
  // its pane, an item typed into its order entry named from the store and
  // quoted by the quote simulator through the pane's request.
  EXPECT_TRUE(r.shell.tradeWindowShown);
  EXPECT_TRUE(r.shell.tradeQuoteShown);
  EXPECT_GE(r.singleQuoteRequests, 1u);
  EXPECT_GE(r.tradePriceRequests, 1u);  // the held codes' prices
  // The main frame was pictured on each market tab, showing that market's
  // rows only.
  ASSERT_EQ(r.marketTabs.size(), 6u);
  for (const SMarketTabPicture& tab : r.marketTabs) {
    EXPECT_FALSE(tab.shown.empty()) << tab.picture;
    for (const SCodeInfo& code : tab.shown)
      if (tab.market != 0x3000) {
        EXPECT_EQ(code.market, tab.market) << tab.picture << " " << code.code;
      }
  }
  // Typed initials listed the matching items, the shortest key first.
  ASSERT_FALSE(r.shell.inputLines.empty());
  EXPECT_EQ(r.shell.inputLines[0].rfind("XMJB", 0), 0u) << r.shell.inputLines[0];
  EXPECT_EQ(r.shell.formulaDialogs, 3);
  // An item opened in the chart view: its board, ticks, deal details,
  // distribution and big orders from the simulator; Esc back to the list.
  EXPECT_TRUE(r.chart.boardFilled);
  EXPECT_GT(r.chart.ticks, 0);
  EXPECT_GT(r.chart.deals, 0);
  EXPECT_GT(r.chart.priceLevels, 0);
  EXPECT_GT(r.chart.bigOrders, 0);
  // Its time-share page and the panel's small charts drew the simulator's
  // day: the chart ends at the board's last price; the index chart took
  // the index's pushes.
  EXPECT_GT(r.chart.timeShareMinutes, 0);
  EXPECT_EQ(r.chart.timeShareLast, r.chart.boardLast);
  EXPECT_GT(r.chart.itemChartMinutes, 0);
  EXPECT_GT(r.chart.indexChartMinutes, 0);
  EXPECT_TRUE(r.chart.tabTurnedPage);
  EXPECT_TRUE(r.chart.pageDownStepped);
  EXPECT_TRUE(r.chart.backToList);
  // The keys go where the user looks, with no click: the quote list after
  // the login; the chart view after opening an item by Enter or by a double
  // click (Left moves its cursor, F5 turns its page, Esc leaves it); the
  // list again after Esc, with the item opened still selected and in view.
  EXPECT_TRUE(r.viewFocus.listFocusedAtStart);
  for (const SOpenedByKeys* way : {&r.viewFocus.byEnter, &r.viewFocus.byDoubleClick}) {
    const char* name = way == &r.viewFocus.byEnter ? "Enter" : "double click";
    EXPECT_TRUE(way->opened) << name;
    EXPECT_TRUE(way->leftMovedCursor) << name;
    EXPECT_TRUE(way->f5TurnedPage) << name;
    EXPECT_TRUE(way->escBackToList) << name;
    EXPECT_TRUE(way->openedStaysSelected) << name;
    EXPECT_TRUE(way->listFocused) << name;
  }
  // A restored, smaller main window and a dragged split bar: the chart
  // view still draws.
  EXPECT_TRUE(r.viewFocus.resizedChartDrawn);
  // Page 32 showed the simulator's history as day, 60-minute and week
  // bars with the default panes, the news titles, and zoomed in.
  EXPECT_TRUE(r.kline.onTechnicalPage);
  EXPECT_GT(r.kline.dayBars, 60);
  EXPECT_EQ(r.kline.panes, (std::vector<std::string>{"KLINE", "VOL", "MACD", "KDJ"}));
  EXPECT_GT(r.kline.minuteBars, 0);
  EXPECT_GT(r.kline.weekBars, 0);
  EXPECT_EQ(r.kline.newsMarks, 3);
  EXPECT_GT(r.kline.visibleBefore, 0);
  EXPECT_LE(r.kline.visibleZoomed * 2, r.kline.visibleBefore);
  EXPECT_EQ(r.kline.figures, 5);  // one of each drawing tool, by the mouse
  // Left moved the cursor a bar and parked the pointer without losing the
  // crosshair; the cursor box showed a price and followed a mouse drag.
  EXPECT_TRUE(r.kline.leftKeptCursor);
  EXPECT_GT(std::atof(r.kline.cursorValue.c_str()), 0.0) << r.kline.cursorValue;
  EXPECT_TRUE(r.kline.boxDragged);
  // Every function of the trading window's tree opened its panel with the
  // simulators' rows (custody pages: the page), after the two orders the
  // order entry took.
  EXPECT_EQ(r.shell.tradeOrdersPlaced, 2);
  EXPECT_EQ(r.shell.tradePanels, 30);
  EXPECT_EQ(r.shell.tradePanelsWithout, std::vector<std::string>{});
}

// The quote list of the running program, checked coarsely: every market
// tab shows rows, the prices follow the simulator's moving market, a header
// click sorts and Page Down through the frame turns the page.
void CheckLiveQuoteList(CMainFrame& frame) {
  CPriceReportView* list = nullptr;
  for (int i = 0; i < frame.Splitter().GetViewCount(0) && !list; ++i)
    list = dynamic_cast<CPriceReportView*>(frame.Splitter().GetView(0, i));
  ASSERT_NE(list, nullptr);
  CReportTable& table = list->Table();
  // A ceiling only: each wait ends as soon as its event is seen.
  constexpr int kWaitMs = 90000;
  // Waits for the condition, asking for the shown quotes again now and then.
  auto refreshUntil = [&](const std::function<bool()>& done) {
    auto asked = std::chrono::steady_clock::now();
    return platform::PumpUntil(
        [&] {
          if (done()) return true;
          if (std::chrono::steady_clock::now() - asked > std::chrono::milliseconds(250)) {
            list->SendMessage(WM_TIMER, kReportRefreshTimer, 0);
            asked = std::chrono::steady_clock::now();
          }
          return false;
        },
        kWaitMs);
  };
  auto column = [&](int index) {
    std::vector<std::string> texts;
    for (int r = 0; r < table.GetRowCount(); ++r) texts.push_back(table.GetCellText(r, index));
    return texts;
  };

  ASSERT_GT(table.GetRowCount(), 0);
  const std::vector<std::string> prices = column(kColLast);
  EXPECT_TRUE(refreshUntil([&] { return column(kColLast) != prices; })) << "the prices never moved";

  CRepTypeCtlPic& tabs = list->Tabs();
  for (int i = 0; i < tabs.GetTabCount(); ++i) {
    const uint16_t market = tabs.GetRecord(i)->market;
    if (market == kFavouritesList) continue;  // none chosen in a fresh folder
    const RECT r = tabs.GetTab(i)->rect;
    list->SendMessage(WM_LBUTTONDOWN, 0,
                      MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    EXPECT_TRUE(refreshUntil([&] {
      const auto& shown = table.GetDisplayList();
      return table.GetRowCount() > 0 && (market == 0x3000 || shown.front().market == market);
    })) << "tab "
        << i;
  }

  // Sorting by the last price: a click on its head sorts descending.
  int x = 0;
  const auto& order = table.GetColumnOrder();
  for (size_t p = 0; order[p] != kColLast; ++p) x += table.GetColumnWidth(order[p]);
  list->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(x + 10, 5));
  EXPECT_EQ(table.GetReportSortColumn(), kColLast);
  EXPECT_TRUE(refreshUntil([&] {
    const std::vector<std::string> last = column(kColLast);
    for (size_t k = 1; k < last.size(); ++k)
      if (std::atof(last[k - 1].c_str()) < std::atof(last[k].c_str())) return false;
    return last.size() > 1;
  }));

  // Page Down reaches the list through the frame and the router.
  const int page = table.GetRowsPerPage();
  ASSERT_GT(table.GetItemCount(), page);
  frame.SendMessage(WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_TRUE(
      refreshUntil([&] { return table.GetCellText(0, kColSequence) == std::to_string(page + 1); }));
}

// The state the frame gives a command now, as its menu shows it: whether
// it is offered and whether it is checked (-1: left as it was).
std::pair<int, int> CommandState(CMainFrame& frame, UINT id) {
  struct StateUI : CCmdUI {
    int enabled = -1, checked = -1;
    void Enable(BOOL on) override { enabled = on; }
    void SetCheck(int state) override { checked = state; }
  } ui;
  ui.m_nID = id;
  frame.OnUpdateCmdUI(&ui);
  return {ui.enabled, ui.checked};
}

int CommandEnabled(CMainFrame& frame, UINT id) { return CommandState(frame, id).first; }
int CommandChecked(CMainFrame& frame, UINT id) { return CommandState(frame, id).second; }

// The link commands follow the link: connect only while off line,
// disconnect only while on line.
void CheckLinkCommands(CMainFrame& frame) {
  CClientDataSource* link = CZEBApp::Current()->GetLink();
  ASSERT_NE(link, nullptr);
  ASSERT_TRUE(link->IsOnline());
  EXPECT_EQ(CommandEnabled(frame, cmd::kConnect), 0);
  EXPECT_EQ(CommandEnabled(frame, cmd::kDisconnect), 1);
  frame.SendMessage(WM_COMMAND, cmd::kDisconnect, 0);
  EXPECT_TRUE(platform::PumpUntil([&] { return !link->IsOnline(); }, 90000));
  EXPECT_EQ(CommandEnabled(frame, cmd::kConnect), 1);
  EXPECT_EQ(CommandEnabled(frame, cmd::kDisconnect), 0);
}

TEST(ProgramRunTest, ShowsTheLiveQuoteListOfEveryMarket) {
  shell_test::ApplicationFirst app;
  SProgramRunOptions options;
  options.tradePanels = false;
  bool checked = false;
  options.whileRunning = [&](CMainFrame& frame) {
    CheckLiveQuoteList(frame);
    CheckLinkCommands(frame);
    checked = true;
  };
  const SProgramRunResult r = RunProgramOnce(options);
  EXPECT_TRUE(r.ok) << r.failedStage;
  EXPECT_GT(r.quoteListRows, 0);
  EXPECT_TRUE(checked);
  EXPECT_TRUE(r.boxes.empty()) << r.boxes.front();
}

struct AppTest : ::testing::Test, shell_test::ProgramFixture {
  std::unique_ptr<CZEBApp> zeb;
  AppTest() {
    SZebAppOptions options;
    options.skipTradeLibrary = true;
    zeb = std::make_unique<CZEBApp>(options);
  }
  ~AppTest() override {
    zeb.reset();
    ShellPlugins() = SShellPlugins();
    platform::SetHotKeyRegistrationFails(false);
  }
  // The frame as the login's create stage makes it, without a login.
  CMainFrame* MakeFrame(int loginMode) {
    CPublic::GetInstance()->SetLoginMode(loginMode);
    zeb->CreateMainFrame();
    // No message loop runs here: closing the frame must not end one (a quit
    // left behind would end the next test's modal loops at once).
    SetMainWnd(nullptr);
    return zeb->GetMainFrame();
  }
};

TEST_F(AppTest, ACancelledLoginMakesNoFrameAndStillSavesTheSettings) {
  ScopedModalScript script{[](CDialog& login) { ClickCtl(login, IDC_LOGIN_CANCEL); }};
  EXPECT_FALSE(zeb->InitInstance());
  EXPECT_EQ(zeb->LoginResult(), IDCANCEL);
  EXPECT_EQ(zeb->GetMainFrame(), nullptr);
  zeb->ExitInstance();
  const std::string ini = folders.Read("zeb.ini");
  EXPECT_EQ(ini.rfind("# This ini was modified by system on ", 0), 0u) << ini;
  CConfigFile written(folders.Path("zeb.ini").c_str(), 0);
  int shown = -1;
  EXPECT_EQ(written.GetInt("SYSTEM", "SHOWTOOLBAR", &shown), 0);
  EXPECT_EQ(shown, 1);
}

TEST_F(AppTest, TheQuoteServerCallsNeedALinkObject) {
  // Before the start-up has made the link object there is nothing to call.
  const std::string hosts[5] = {"127.0.0.1"};
  const int ports[5] = {1};
  zeb->SetQuoteServer(nullptr, WM_LINK_READY, "a", "b", "127.0.0.1", 1);
  zeb->SetQuoteHosts(nullptr, WM_LINK_READY, "a", "b", hosts, ports);
  zeb->QuoteUnLink();
  EXPECT_EQ(zeb->GetLink(), nullptr);
}

TEST_F(AppTest, CloseAsksFirstThenSavesAndUnlinksInOrder) {
  platform::MakeDirs(folders.AppDataDir() + "ZEB");
  platform::WriteFileAtomic(CPublic::GetSelectedStocksPath(), "");
  zeb->Trade().BindForTest(shell_test::RecordingTradeLibrary());
  CMainFrame* frame = MakeFrame(2);
  ASSERT_NE(frame, nullptr);
  CPublic::GetInstance()->GetSelectedStocks().push_back({4114, 602001});
  boxes.QueueAnswer(IDNO);
  frame->SendMessage(WM_CLOSE);
  EXPECT_TRUE(frame->IsCreated());
  EXPECT_TRUE(TradeCalls().empty());
  std::string saved;
  ASSERT_TRUE(platform::ReadFile(CPublic::GetSelectedStocksPath(), saved));
  EXPECT_EQ(saved, "");
  boxes.QueueAnswer(IDYES);
  frame->SendMessage(WM_CLOSE);
  EXPECT_FALSE(frame->IsCreated());
  EXPECT_EQ(TradeCalls(), (std::vector<std::string>{"UnLink", "DestoryDialog"}));
  ASSERT_TRUE(platform::ReadFile(CPublic::GetSelectedStocksPath(), saved));
  EXPECT_EQ(saved, Favourites({{4114, 602001}}));
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"确定退出系统吗？", "确定退出系统吗？"}));
}

TEST_F(AppTest, QuotesOnlyAndALeftTradePaneSkipTheTradingLibraryAtClose) {
  zeb->Trade().BindForTest(shell_test::RecordingTradeLibrary());
  CMainFrame* frame = MakeFrame(1);
  EXPECT_TRUE(frame->Splitter().IsHidden(1));
  frame->CloseWithoutAsking();
  EXPECT_TRUE(TradeCalls().empty());

  frame = MakeFrame(2);
  EXPECT_FALSE(frame->Splitter().IsHidden(1));
  frame->SendMessage(WM_TRADE_HIDE, 0, 0);
  EXPECT_TRUE(frame->Splitter().IsHidden(1));
  EXPECT_EQ(CPublic::GetInstance()->GetLoginMode(), 1);
  frame->CloseWithoutAsking();
  EXPECT_TRUE(TradeCalls().empty());
}

TEST_F(AppTest, TheFavouritesSurviveAHotKeyThatCannotBeRegistered) {
  const std::string mine = Favourites({{4114, 602001}, {4119, 605002}});
  platform::MakeDirs(folders.AppDataDir() + "ZEB");
  platform::WriteFileAtomic(CPublic::GetSelectedStocksPath(), mine);
  platform::SetHotKeyRegistrationFails(true);
  CMainFrame* frame = MakeFrame(1);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"注册热键失败"});
  EXPECT_EQ(CPublic::GetInstance()->GetSelectedStocks().size(), 2u);
  frame->CloseWithoutAsking();
  std::string saved;
  ASSERT_TRUE(platform::ReadFile(CPublic::GetSelectedStocksPath(), saved));
  EXPECT_EQ(saved, mine);
}

TEST_F(AppTest, HotKeysHideToTheTrayAndBringTheFrameBack) {
  CMainFrame* frame = MakeFrame(1);
  zeb->ShowMainFrame(1);
  ASSERT_TRUE(frame->IsWindowVisible());
  frame->SendMessage(WM_HOTKEY, kHotKeyTrayAlt, MAKELONG(MOD_ALT, 'K'));
  EXPECT_TRUE(frame->IsInTray());
  // Offscreen there is no tray: the frame is minimised, never lost.
  EXPECT_TRUE(frame->IsIconic() || !frame->IsWindowVisible());
  frame->SendMessage(WM_HOTKEY, kHotKeyTrayAlt, MAKELONG(MOD_ALT, 'K'));
  EXPECT_FALSE(frame->IsInTray());
  EXPECT_TRUE(frame->IsWindowVisible());
  EXPECT_TRUE(frame->IsZoomed());
  // A double click on the icon brings it back too; other icons are not ours.
  frame->SendMessage(WM_HOTKEY, kHotKeyTray, 0);
  EXPECT_EQ(frame->SendMessage(WM_TRAY_NOTIFY, 7, WM_LBUTTONDBLCLK), -1);
  EXPECT_EQ(frame->SendMessage(WM_TRAY_NOTIFY, kTrayIconId, WM_LBUTTONDBLCLK), 1);
  EXPECT_FALSE(frame->IsInTray());
  frame->CloseWithoutAsking();
}

TEST_F(AppTest, KeysAndCommandsOfTheFrame) {
  std::vector<UINT> typed;
  ShellPlugins().inputBox = [&](CWnd*, UINT ch) { typed.push_back(ch); };
  ShellPlugins().reportView = [] { return new shell_test::RecordingView(kPageReport); };
  CMainFrame* frame = MakeFrame(1);
  auto* report = dynamic_cast<shell_test::RecordingView*>(frame->Splitter().GetView(0, 0));
  ASSERT_NE(report, nullptr);
  CCmdDispatcher::GetInstance()->ShowAllMarkets();
  // Letters and digits open the input box; other keys go to the router.
  frame->SendMessage(WM_CHAR, 'a', 0);
  frame->SendMessage(WM_CHAR, '7', 0);
  frame->SendMessage(WM_CHAR, ',', 0);
  EXPECT_EQ(typed, (std::vector<UINT>{'a', '7'}));
  frame->SendMessage(WM_KEYDOWN, VK_F5, 0);
  frame->SendMessage(WM_KEYDOWN, VK_NEXT, 0);
  frame->SendMessage(WM_KEYDOWN, 'A', 0);  // left to WM_CHAR
  ASSERT_EQ(report->keys.size(), 2u);
  EXPECT_EQ(report->keys[1], std::make_pair(UINT(VK_NEXT), 1u));
  // The toolbar setting flips and is written at exit.
  const bool shown = CPublic::GetInstance()->IsToolbarShown();
  frame->SendMessage(WM_COMMAND, cmd::kToolbar, 0);
  EXPECT_NE(CPublic::GetInstance()->IsToolbarShown(), shown);
  // Commands the frame does not take reach the router and the view.
  frame->SendMessage(WM_COMMAND, 0x6805, 0);
  EXPECT_EQ(report->commands.back(), 0x6805);
  // Disconnecting is offered only while the link is on line.
  EXPECT_EQ(CommandEnabled(*frame, cmd::kDisconnect), 0);
  // The chart view's panel messages go to the view in the market pane.
  EXPECT_EQ(frame->SendMessage(WM_STAT_PAGE, 0, 1), 1);
  frame->CloseWithoutAsking();
}

TEST_F(AppTest, ToolBarsOfTheFrame) {
  folders.Write("BLOCK/USERBLOCK.DEF", "[mine]\r\n");
  CMainFrame* frame = MakeFrame(1);
  zeb->ShowMainFrame(1);
  CToolBarXP* bar = frame->GetToolBar();
  ASSERT_NE(bar, nullptr);
  const int markets = bar->CommandToIndex(ID_TOOL_MARKETS);
  ASSERT_GE(markets, 0);
  EXPECT_TRUE(bar->GetButtonStyle(markets) & TBSTYLE_DROPDOWN);
  EXPECT_TRUE(bar->GetExtendedStyle() & TBSTYLE_EX_DRAWDDARROWS);
  // The arrow of the block button is the frame's: it offers the blocks.
  {
    platform::testing::ScopedMenuScript menus{0};
    EXPECT_EQ(frame->SendMessage(WM_COMMAND, (0u - ID_TOOL_BLOCKS) & 0xFFFF, 0), 1);
    ASSERT_EQ(menus.Offered().size(), 1u);
    bool offersMine = false;
    for (const auto& item : menus.Offered()[0]) offersMine |= item.text == "mine";
    EXPECT_TRUE(offersMine);
  }
  // The bar follows the setting, which the command flips.
  EXPECT_EQ(bar->IsWindowVisible(), CPublic::GetInstance()->IsToolbarShown());
  const bool shown = bar->IsWindowVisible();
  frame->SendMessage(WM_COMMAND, cmd::kToolbar, 0);
  EXPECT_NE(bar->IsWindowVisible(), shown);
  if (!bar->IsWindowVisible()) frame->SendMessage(WM_COMMAND, cmd::kToolbar, 0);
  EXPECT_TRUE(bar->IsWindowVisible());
  // The drawing tools float (over the K-line page only, see below).
  frame->SendMessage(WM_COMMAND, cmd::kDrawTools, 0);
  ASSERT_NE(frame->GetDrawToolBar(), nullptr);
  // Full-screen mode has its own bar.
  frame->SendMessage(WM_COMMAND, cmd::kFullScreen, 0);
  EXPECT_TRUE(frame->IsFullScreen());
  ASSERT_NE(frame->GetFullScreenBar(), nullptr);
  EXPECT_TRUE(frame->GetFullScreenBar()->IsWindowVisible());
  EXPECT_FALSE(bar->IsWindowVisible());
  frame->SendMessage(WM_COMMAND, cmd::kFullScreen, 0);
  EXPECT_FALSE(frame->IsFullScreen());
  EXPECT_FALSE(frame->GetFullScreenBar()->IsWindowVisible());
  EXPECT_TRUE(bar->IsWindowVisible());
  frame->CloseWithoutAsking();
}

// The drawing tools float over the K-line page only, where they act; the
// button turns them off again, and so does the bar's close box.
TEST_F(AppTest, TheDrawingToolsShowOnTheKLinePageAndClose) {
  ShellPlugins().chartView = [] { return new shell_test::RecordingView(kPageChart); };
  ShellPlugins().reportView = [] { return new shell_test::RecordingView(kPageReport); };
  CMainFrame* frame = MakeFrame(1);
  CCmdDispatcher* router = CCmdDispatcher::GetInstance();
  router->ShowAllMarkets();
  const auto shown = [&] {
    return frame->GetDrawToolBar() && frame->GetDrawToolBar()->IsWindowVisible();
  };
  // The button is checked while the bar is on.
  const auto checked = [&] { return CommandChecked(*frame, cmd::kDrawTools); };
  EXPECT_EQ(checked(), 0);
  frame->SendMessage(WM_COMMAND, cmd::kDrawTools, 0);
  ASSERT_NE(frame->GetDrawToolBar(), nullptr);
  EXPECT_EQ(checked(), 1);
  EXPECT_FALSE(shown());  // over the quote list
  router->OpenChartPage(SCodeInfo{4114, 602001}, 0x20);
  frame->SendMessage(WM_TIMER, kDrawBarTimer, 0);
  EXPECT_TRUE(shown());
  router->OpenChartPage(SCodeInfo{4114, 602001}, 0x10);  // the time-share page
  frame->SendMessage(WM_TIMER, kDrawBarTimer, 0);
  EXPECT_FALSE(shown());
  router->OpenChartPage(SCodeInfo{4114, 602001}, 0x20);
  frame->SendMessage(WM_TIMER, kDrawBarTimer, 0);
  EXPECT_TRUE(shown());
  frame->SendMessage(WM_COMMAND, cmd::kDrawTools, 0);
  EXPECT_EQ(frame->GetDrawToolBar(), nullptr);
  frame->SendMessage(WM_COMMAND, cmd::kDrawTools, 0);
  EXPECT_TRUE(shown());
  frame->GetDrawToolBar()->SendMessage(WM_CLOSE, 0, 0);
  EXPECT_FALSE(shown());
  EXPECT_EQ(checked(), 0);
  frame->SendMessage(WM_TIMER, kDrawBarTimer, 0);
  EXPECT_EQ(frame->GetDrawToolBar(), nullptr);
  // Turned on again after the close box, it comes back.
  frame->SendMessage(WM_COMMAND, cmd::kDrawTools, 0);
  EXPECT_TRUE(shown());
  frame->CloseWithoutAsking();
}

TEST_F(AppTest, TheFrameKeepsItsMinimumSizeAndLaysOutItsRows) {
  CMainFrame* frame = MakeFrame(2);
  EXPECT_EQ(frame->minimumSize(), QSize(kFrameMinWidth, kFrameMinHeight));
  frame->resize(1200, 900);
  frame->Splitter().RecalcLayout();
  int cur = 0, min = 0;
  frame->Splitter().GetRowInfo(1, &cur, &min);
  EXPECT_EQ(min, kTradePaneHeight);
  frame->CloseWithoutAsking();
}

TEST(CrashHandlerTest, AnInvalidReadIsReportedWithItsAddressAndEndsWithTheSignal) {
  char line[200];
  FormatCrashMessage(reinterpret_cast<void*>(0x10), line, sizeof line);
  EXPECT_STREQ(line, "由于读取无效的内存缓冲区:0x10,程序即将退出\n");
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        InstallCrashHandler();
        volatile uintptr_t address = 0x10;
        std::printf("%d", *reinterpret_cast<volatile int*>(address));
      },
      ::testing::KilledBySignal(SIGSEGV), "由于读取无效的内存缓冲区:0x10,程序即将退出");
}

}  // namespace
