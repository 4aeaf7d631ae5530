// The command router: switching the market pane, routing packets, keys
// and commands to the active view, typed command codes, the settings of
// "sysset.ini" and the automatic page turn.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/gbk.h"
#include "platform/input.h"
#include "platform/msgbox.h"
#include "platform/testing/app.h"
#include "shell/router_test_support.h"
#include "support/shell_temp_folders.h"
#include "sim/market/demo_market.h"
#include "zeb/core/app/shell_plugins.h"
#include "zeb/core/blocks/block_manager.h"
#include "zeb/core/router/typed_commands.h"
#include "zeb/store/public_store.h"

namespace {

using shell_test::FakeRouterFrame;
using shell_test::RecordingView;

SCurItem Item(int page, int mode, uint16_t market, SCodeInfo code = {},
              const char* name = nullptr) {
  SCurItem item;
  item.page = page;
  item.mode = mode;
  item.market = market;
  std::memcpy(static_cast<void*>(&item.code), &code, sizeof code);
  if (name) item.SetName(name);
  return item;
}

struct ApplicationFirst {
  ApplicationFirst() { platform::testing::EnsureApplication(); }
};

struct RouterTest : ::testing::Test {
  ApplicationFirst app;
  platform::ScopedRecordingBoxes boxes;
  shell_test::TempFolders folders;
  RecordingView report{kPageReport};
  RecordingView chart{kPageChart};
  FakeRouterFrame frame;
  CCmdDispatcher* router = nullptr;

  RouterTest() {
    folders.Write("zeb.ini", "[SYSTEM]\r\nSHOWTOOLBAR=1\r\n");
    CPublic::ReleaseInstance();
    CBlockManager::GetInstance()->Init(folders.ProgramDir());
    frame.report = &report;
    frame.chart = &chart;
    frame.shown = &report;
    router = CCmdDispatcher::GetInstance();
    router->SetFrame(&frame);
  }
  ~RouterTest() override {
    CCmdDispatcher::ReleaseInstance();
    CBlockManager::ReleaseInstance();
    CPublic::ReleaseInstance();
  }
};

TEST_F(RouterTest, SwitchingThePane) {
  router->ShowAllMarkets();
  EXPECT_EQ(router->GetActiveView(), &report);
  const SCurItem all = Item(kPageReport, 0, 0x3000);
  EXPECT_TRUE(report.IsCurItem(&all));
  // The same record again changes nothing.
  EXPECT_EQ(router->SwitchTo(&all), 1);
  EXPECT_EQ(report.setCount, 1);
  // A chart page while the quote list shows: one switch, then the record.
  router->OpenChartPage({4100, 600001}, 16);
  EXPECT_EQ(frame.Count(WM_SWITCH_VIEW), 1);
  EXPECT_EQ(frame.messages.back().second, WPARAM(kPageChart));
  EXPECT_EQ(router->GetActiveView(), &chart);
  EXPECT_EQ(+chart.GetCurItem()->mode, 16);
  EXPECT_EQ(+router->GetCurCode().code, 600001);
  // An empty record is refused.
  const SCurItem empty;
  EXPECT_EQ(router->SwitchTo(&empty), 0);
}

TEST_F(RouterTest, APageWithoutItsViewIsNotForcedOnTheOther) {
  frame.chart = nullptr;
  router->ShowAllMarkets();
  const SCurItem before = *report.GetCurItem();
  const SCurItem chartItem = Item(kPageChart, 16, 0, {4100, 1});
  EXPECT_EQ(router->SwitchTo(&chartItem), 0);
  EXPECT_TRUE(report.IsCurItem(&before));
}

TEST_F(RouterTest, PacketsGoToTheActiveView) {
  const char body[] = {0x00, 0x02, 0x01, 0x00, 0x05};
  router->RoutePacket(body, sizeof body);  // no active view: dropped
  EXPECT_TRUE(report.packets.empty());
  router->ShowAllMarkets();
  router->RoutePacket(body, sizeof body);
  ASSERT_EQ(report.packets.size(), 1u);
  EXPECT_EQ(report.packets[0], std::string(body, sizeof body));
  // The market table goes to the store, and the view reloads its item.
  const std::string table = BuildDemoMarketTable();
  const int sets = report.setCount;
  router->RoutePacket(table.data(), int(table.size()));
  EXPECT_GT(CPublic::GetInstance()->GetStockCount(kAllMarkets), 0);
  EXPECT_EQ(report.setCount, sets + 1);
  EXPECT_EQ(report.packets.size(), 1u);
}

TEST_F(RouterTest, KeysReachTheViewOncePerPress) {
  router->ShowAllMarkets();
  router->OnKey(VK_NEXT);
  ASSERT_EQ(report.keys.size(), 1u);
  EXPECT_EQ(report.keys[0], std::make_pair(UINT(VK_NEXT), 1u));
  // Esc not taken by the view switches the pane and reloads the new view.
  router->OnKey(VK_ESCAPE);
  EXPECT_EQ(frame.Count(WM_SWITCH_VIEW), 1);
  EXPECT_EQ(router->GetActiveView(), &chart);
  EXPECT_EQ(chart.setCount, 1);
  // F6 opens the favourites.
  router->ExecuteCommand(0x6011);  // Esc again: back to the quote list
  router->OnKey(VK_F6);
  EXPECT_EQ(+report.GetCurItem()->market, kBlockKindFavourites);
  EXPECT_EQ(std::string(report.GetCurItem()->name), GBK("自选"));
  // A key the view takes ends there.
  report.takesKeys = true;
  const int switches = frame.Count(WM_SWITCH_VIEW);
  router->OnKey(VK_ESCAPE);
  EXPECT_EQ(frame.Count(WM_SWITCH_VIEW), switches);
}

TEST(TypedCommandTest, CodesByLengthAndNumber) {
  struct Case {
    const char* text;
    STypedCommand::Kind kind;
    UINT value;
  } cases[] = {{"1", STypedCommand::kCommand, 0x6200},
               {"3", STypedCommand::kCommand, 0x6207},
               {"9", STypedCommand::kCommand, 0x620D},
               {"0", STypedCommand::kNone, 0},
               {"01", STypedCommand::kKey, VK_F1},
               {"03", STypedCommand::kKey, VK_F3},
               {"10", STypedCommand::kKey, VK_F10},
               {"71", STypedCommand::kCommand, 0x6806},
               {"76", STypedCommand::kCommand, 0x6808},
               {"77", STypedCommand::kNone, 0},
               {"11", STypedCommand::kNone, 0},
               {"123", STypedCommand::kNone, 0},
               {"", STypedCommand::kNone, 0}};
  for (const Case& c : cases) {
    const STypedCommand command = ParseTypedCommand(c.text);
    EXPECT_EQ(command.kind, c.kind) << c.text;
    EXPECT_EQ(command.value, c.value) << c.text;
  }
  EXPECT_EQ(ParseTypedCommand(nullptr).kind, STypedCommand::kNone);
}

TEST_F(RouterTest, TypedCommandsRunOrPostKeys) {
  router->ShowAllMarkets();
  router->RunTypedCommand("1");
  EXPECT_EQ(+report.GetCurItem()->market, 4100);
  router->RunTypedCommand("03");
  platform::PumpUntil([&] { return frame.Count(WM_KEYDOWN) == 1; }, 5000);
  ASSERT_EQ(frame.Count(WM_KEYDOWN), 1);
  EXPECT_EQ(frame.messages.back().second, WPARAM(VK_F3));
  router->RunTypedCommand("77");
  platform::PumpMessages(0);
  EXPECT_EQ(frame.Count(WM_KEYDOWN), 1);
}

TEST_F(RouterTest, CommandsRunTheirGroupThenReachTheView) {
  router->ShowAllMarkets();
  EXPECT_EQ(router->ExecuteCommand(0x6805), 7);  // chart periods: the view's answer
  EXPECT_EQ(report.commands.back(), 0x6805);
  // An analysis command opens the chart first.
  router->ExecuteCommand(0x7803);
  EXPECT_EQ(router->GetActiveView(), &chart);
  EXPECT_EQ(+chart.GetCurItem()->mode, 32);
  EXPECT_EQ(chart.analysisKind, 1);
  // F1 of the chart view's deal list reports handled without the view.
  EXPECT_EQ(router->ExecuteCommand(0x6702), 1);
  EXPECT_EQ(chart.keys.back().first, UINT(VK_F1));
  // The drawing tools belong to the frame; the button turns them on and off.
  router->ExecuteCommand(0x6904);
  EXPECT_EQ(frame.messages.back(), std::make_pair(0xD7u, WPARAM(1)));
  router->ExecuteCommand(0x6904);
  EXPECT_EQ(frame.messages.back(), std::make_pair(0xD7u, WPARAM(0)));
}

// The settings dialog's hooks: its plug-in opens on the page asked for,
// the big orders are asked again of the chart view only, and both views
// take the scheme again.
TEST_F(RouterTest, SettingsDialogHooks) {
  std::vector<int> pages;
  SShellPlugins saved = ShellPlugins();
  ShellPlugins().systemSettingsDialog = [&](int page) { pages.push_back(page); };
  router->ExecuteCommand(0x6907);
  router->OpenSystemSettings(1);
  ShellPlugins() = saved;
  EXPECT_EQ(pages, (std::vector<int>{0, 1}));

  router->ShowAllMarkets();
  router->RefreshBigOrders();
  EXPECT_EQ(report.bigOrderRefreshes + chart.bigOrderRefreshes, 0);
  router->OpenChartPage({4100, 600001}, 16);
  router->RefreshBigOrders();
  EXPECT_EQ(chart.bigOrderRefreshes, 1);
  router->RepaintViews();
  EXPECT_EQ(chart.schemeChanges, 1);
  EXPECT_EQ(report.schemeChanges, 1);
}

TEST_F(RouterTest, BlockListsAndFavourites) {
  folders.Write("BLOCK/USERBLOCK.DEF", "[mine]\r\n");
  CBlockManager::GetInstance()->Init(folders.ProgramDir());
  router->ShowAllMarkets();
  router->ExecuteCommand(0x6200 + 225);
  EXPECT_EQ(+report.GetCurItem()->market, kBlockKindUser);
  EXPECT_STREQ(report.GetCurItem()->name, "mine");
  const SCurItem shown = *report.GetCurItem();
  router->ExecuteCommand(0x6200 + 226);  // no such block: no switch
  EXPECT_TRUE(report.IsCurItem(&shown));
  router->OpenBlock("mine");
  EXPECT_EQ(+report.GetCurItem()->mode, 1);

  // Removing a favourite reloads the list; an item that is none leaves it.
  router->OpenChartPage({4100, 600001}, 16);
  router->ExecuteCommand(0x6916);
  EXPECT_EQ(report.reloads, 0);
  router->ExecuteCommand(0x6912);
  router->ExecuteCommand(0x6912);
  EXPECT_EQ(CPublic::GetInstance()->GetSelectedStocks().size(), 1u);
  router->ExecuteCommand(0x6916);
  EXPECT_EQ(report.reloads, 1);
  EXPECT_TRUE(CPublic::GetInstance()->GetSelectedStocks().empty());
}

TEST_F(RouterTest, CommandStates) {
  CCmdUI ui;
  ui.m_nID = 0x6701;
  EXPECT_EQ(router->UpdateCommandUI(&ui), 0);  // no view yet
  router->ShowAllMarkets();
  struct StateUI : CCmdUI {
    int enabled = -1, checked = -1;
    void Enable(BOOL on) override { enabled = on; }
    void SetCheck(int c) override { checked = c; }
  };
  StateUI viewOnly, other, handled, pageTurn;
  viewOnly.m_nID = 0x671A;
  other.m_nID = 0x6201;
  handled.m_nID = report.handledId = 0x6701;
  pageTurn.m_nID = 0x6902;
  EXPECT_EQ(router->UpdateCommandUI(&viewOnly), 1);
  EXPECT_EQ(viewOnly.enabled, 0);
  router->UpdateCommandUI(&other);
  EXPECT_EQ(other.enabled, -1);
  router->UpdateCommandUI(&handled);
  EXPECT_EQ(handled.enabled, -1);
  router->UpdateCommandUI(&pageTurn);
  EXPECT_EQ(pageTurn.checked, 0);
  router->ToggleAutoPageTurn();
  router->UpdateCommandUI(&pageTurn);
  EXPECT_EQ(pageTurn.checked, 1);
}

TEST_F(RouterTest, SettingsOfSyssetFromTheProgramFolder) {
  folders.Write("sysset.ini", std::string("[") + GBK("主力大单") + "]\r\nVALUE=150\r\n[" +
                                  GBK("自动翻页间隔") + "]\r\nVALUE=30\r\n");
  EXPECT_EQ(router->GetSysParam(GBK("主力大单")), 400);
  router->SetSysParam(GBK("主力大单"), 150);
  EXPECT_EQ(router->GetSysParam(GBK("主力大单")), 150);
  // A new threshold makes a shown chart view's big-order list ask again.
  EXPECT_EQ(frame.chart->bigOrderRefreshes, 0);
  router->SetActiveView(frame.chart);
  router->SetSysParam(GBK("主力大单"), 600);
  EXPECT_EQ(frame.chart->bigOrderRefreshes, 1);
  router->SetSysParam(GBK("自动翻页间隔"), 30);
  EXPECT_EQ(frame.chart->bigOrderRefreshes, 1);
  EXPECT_EQ(router->GetSysParam(GBK("自动翻页间隔")), 30);
  EXPECT_EQ(router->GetSysParam("other"), -1);
  struct Case {
    int seconds;
    UINT ms;
  } cases[] = {{30, 30000}, {0, 10000}, {-4, 1000}, {200000, 86400000}};
  for (const Case& c : cases) {
    router->SetSysParam(GBK("自动翻页间隔"), c.seconds);
    EXPECT_EQ(router->PageTurnIntervalMs(), c.ms) << c.seconds;
  }
}

TEST_F(RouterTest, AutomaticPageTurn) {
  router->ShowAllMarkets();
  router->ToggleAutoPageTurn();
  EXPECT_TRUE(router->IsAutoPageTurnOn());
  CCmdDispatcher::OnPageTurnTimer(frame.MainWnd(), WM_TIMER, kPageTurnTimer, 0);
  EXPECT_EQ(frame.messages.back(), std::make_pair(UINT(WM_KEYDOWN), WPARAM(VK_NEXT)));
  router->ToggleAutoPageTurn();
  EXPECT_FALSE(router->IsAutoPageTurnOn());
}

TEST_F(RouterTest, SelectingAnItem) {
  router->ShowAllMarkets();
  router->SelectCode({4100, 999999});
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(platform::GbkToUtf8(boxes.Boxes()[0].text), "无此市场代码信息，请重新确认!");
  const std::string table = BuildDemoMarketTable();
  router->RoutePacket(table.data(), int(table.size()));
  const SCodeInfo first = CPublic::GetInstance()->GetMarkets().front().stocks.front().GetKey();
  router->SelectCode(first);
  EXPECT_EQ(router->GetActiveView(), &chart);
  EXPECT_EQ(+chart.GetCurItem()->mode, 16);
}

}  // namespace
