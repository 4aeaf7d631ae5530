// The trading main dialog's behaviour: panel switches, relaying to the
// current panel, quotes for holdings, the refresh and the idle lock on an
// injected clock.
#include "trade/ui/rules/main_dlg_core.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/gbk.h"
#include "trade/core/trade_messages.h"
#include "trade/ui/rules/trade_ui_messages.h"
#include "trade_ui_test_support.h"

namespace {

using namespace tradeui_test;

class FakeView : public IMainDlgView {
 public:
  std::vector<int> shown;  // functions whose panel was created
  std::vector<std::unique_ptr<MsgProbe>> panels;
  std::vector<std::string> captions;
  std::map<UINT, UINT> timers;
  bool locked = false;
  int lockChanges = 0;

  HWND ShowPanel(int function) override {
    shown.push_back(function);
    panels.push_back(std::make_unique<MsgProbe>());
    return panels.back()->GetSafeHwnd();
  }
  void SetCaption(const std::string& caption) override { captions.push_back(caption); }
  void SelectTreeItem(int) override {}
  void StartTimer(UINT id, UINT ms) override { timers[id] = ms; }
  void StopTimer(UINT id) override { timers.erase(id); }
  void ShowLocked(bool on) override {
    locked = on;
    ++lockChanges;
  }
  MsgProbe& Current() { return *panels.back(); }
};

class MainDlgCoreTest : public ::testing::Test {
 protected:
  MainDlgCoreTest() : core_(view_, host_, rec_.session, clock_) { shell_test::EnsureQtApp(); }

  void Pump() { platform::PumpMessages(0); }

  RecordedSession rec_;
  FakeHost host_;
  FakeView view_;
  CManualTradeClock clock_;
  CMainDlgCore core_;
};

TEST_F(MainDlgCoreTest, StartShowsBuyingAsksForHoldingsAndStartsTheRefresh) {
  core_.OnInitDialog();
  EXPECT_EQ(view_.shown, std::vector<int>{0});
  EXPECT_EQ(view_.captions, std::vector<std::string>{GBK("交易>>买入")});
  EXPECT_EQ(rec_.SentTypes(), std::vector<std::string>{MT_QRY_HOLDINGS});
  EXPECT_EQ(view_.timers[CMainDlgCore::kRefreshTimerId], 10000u);
  EXPECT_EQ(core_.Tree().size(), 35u);
}

TEST_F(MainDlgCoreTest, TreeClicksAndQuickButtons) {
  core_.OnInitDialog();
  core_.OnTreeClick(GBK("查询"));  // a group: nothing
  core_.OnTreeClick(GBK("买入"));  // the function shown: nothing
  core_.OnTreeClick(GBK("托管申请查询"));
  EXPECT_EQ(view_.shown, (std::vector<int>{0, 18}));
  EXPECT_EQ(view_.captions.back(), GBK("托管业务>>托管申请查询"));
  // A quick button shows its function anew, also when it is shown already.
  core_.OnQuickButton(7009);
  core_.OnQuickButton(7009);
  core_.OnQuickButton(7000);  // 锁定 is not a function button
  EXPECT_EQ(view_.shown, (std::vector<int>{0, 18, 4, 4}));
  EXPECT_EQ(core_.OnSelectFunction(12), 0);
  EXPECT_EQ(core_.OnSelectFunction(13), 1);
  EXPECT_EQ(view_.shown.back(), 12);
}

TEST_F(MainDlgCoreTest, RepliesAndKeysReachOnlyTheCurrentPanel) {
  core_.OnInitDialog();
  MsgProbe& first = view_.Current();
  core_.OnQuickButton(7010);
  MsgProbe& second = view_.Current();
  core_.OnReply(WM_TRADE_ORDERS);  // posted
  Pump();
  core_.OnKey('5', 0x10);  // sent
  EXPECT_TRUE(first.got.empty());
  ASSERT_EQ(second.got.size(), 2u);
  EXPECT_EQ(second.got[0].message, static_cast<UINT>(WM_TRADE_ORDERS));
  EXPECT_EQ(second.got[1].message, static_cast<UINT>(WM_CHAR));
  EXPECT_EQ(second.got[1].w, static_cast<WPARAM>('5'));
  // Quotes go to the order entry only.
  EXPECT_EQ(core_.OnQuote(3, 0), 0);
  core_.OnQuickButton(7008);
  EXPECT_EQ(core_.OnQuote(3, 1234), 1);
  EXPECT_EQ(core_.OnQuote(2, 1234), 1);
  EXPECT_EQ(view_.Current().Messages(), std::vector<UINT>{WM_TRADE_QUOTE});
}

TEST_F(MainDlgCoreTest, HeldCodesGoToTheHostAndPricesUpdateTheFirstRowOfACode) {
  core_.OnInitDialog();
  core_.OnSubscribe();
  EXPECT_TRUE(host_.subscriptions.empty());  // nothing held: nothing asked
  rec_.session.SetMainWnd(reinterpret_cast<HWND>(0x10));
  rec_.Feed(MT_QRY_HOLDINGS_RSP, {{9001, "0"},
                                  {9003, "3"},
                                  {48, "600001"},
                                  {9407, "10"},
                                  {31, "0"},
                                  {48, "600002"},
                                  {9407, "20"},
                                  {31, "0"},
                                  {48, "600001"},
                                  {9407, "11"},
                                  {31, "0"}});
  core_.OnSubscribe();
  ASSERT_EQ(host_.subscriptions.size(), 1u);
  EXPECT_EQ(host_.subscriptions[0], (std::vector<std::string>{"600001", "600002", "600001"}));
  const TradePriceMap prices = {{600001, 10.5}, {600002, 19.0}, {600009, 1.0}};
  core_.OnPrices(&prices);
  const auto rows = rec_.session.GetHoldings();
  EXPECT_EQ(rows[0].lastPrice, 10.5);
  EXPECT_EQ(rows[1].lastPrice, 19.0);
  EXPECT_EQ(rows[2].lastPrice, 0.0);
  Pump();
  EXPECT_EQ(view_.Current().Messages(), std::vector<UINT>{WM_TRADE_HOLDINGS});
}

TEST_F(MainDlgCoreTest, RefreshEveryTenSecondsOrThreeWhenAsked) {
  rec_.session.SetMainWnd(reinterpret_cast<HWND>(0x10));
  rec_.Feed(MT_QRY_HOLDINGS_RSP, {{9001, "0"}, {9003, "1"}, {48, "600001"}});
  core_.OnInitDialog();
  clock_.Advance(9600);  // a window timer that wakes early waits for the rest
  core_.OnTimer(CMainDlgCore::kRefreshTimerId);
  EXPECT_TRUE(host_.subscriptions.empty());
  EXPECT_EQ(view_.timers[CMainDlgCore::kRefreshTimerId], 400u);
  clock_.Advance(400);
  core_.OnTimer(CMainDlgCore::kRefreshTimerId);
  EXPECT_EQ(host_.subscriptions.size(), 1u);
  EXPECT_EQ(view_.timers[CMainDlgCore::kRefreshTimerId], 10000u);
  core_.OnRefreshTimer(1);
  EXPECT_EQ(view_.timers[CMainDlgCore::kRefreshTimerId], 3000u);
  clock_.Advance(3000);
  core_.OnTimer(CMainDlgCore::kRefreshTimerId);
  EXPECT_EQ(host_.subscriptions.size(), 2u);
  core_.OnRefreshTimer(0);
  clock_.Advance(60000);
  core_.OnTimer(CMainDlgCore::kRefreshTimerId);
  EXPECT_EQ(host_.subscriptions.size(), 2u);
  EXPECT_EQ(view_.timers.count(CMainDlgCore::kRefreshTimerId), 0u);
}

TEST_F(MainDlgCoreTest, IdleLockCountsFromTheLastKey) {
  core_.OnInitDialog();
  // No key yet: however long, no lock.
  clock_.Advance(10 * 300000);
  core_.OnTimer(CMainDlgCore::kLockTimerId);
  EXPECT_FALSE(core_.IsLocked());
  core_.OnKeyInput();
  clock_.Advance(200000);
  core_.OnKeyInput();  // a key restarts the interval
  clock_.Advance(299999);
  core_.OnTimer(CMainDlgCore::kLockTimerId);
  EXPECT_FALSE(core_.IsLocked());
  EXPECT_EQ(view_.timers[CMainDlgCore::kLockTimerId], 1u);
  clock_.Advance(1);
  core_.OnTimer(CMainDlgCore::kLockTimerId);
  EXPECT_TRUE(core_.IsLocked());
  EXPECT_TRUE(view_.locked);
  EXPECT_EQ(view_.timers.count(CMainDlgCore::kLockTimerId), 0u);
  // Replies still reach the hidden panel while locked.
  core_.OnReply(WM_TRADE_FUNDS);
  Pump();
  EXPECT_EQ(view_.Current().Messages(), std::vector<UINT>{WM_TRADE_FUNDS});
  core_.OnUnlock();
  EXPECT_FALSE(core_.IsLocked());
  EXPECT_EQ(view_.lockChanges, 2);
  // The lock timer waits for the next key again.
  clock_.Advance(600000);
  core_.OnTimer(CMainDlgCore::kLockTimerId);
  EXPECT_FALSE(core_.IsLocked());
  core_.Lock();  // 锁定
  EXPECT_TRUE(core_.IsLocked());
}

TEST_F(MainDlgCoreTest, LeaveAndPrint) {
  platform::ScopedRecordingBoxes boxes;
  core_.OnLeave();
  core_.OnPrint();
  EXPECT_EQ(host_.calls, std::vector<std::string>{"leave"});
  EXPECT_EQ(BoxTexts(boxes), std::vector<std::string>{GBK("暂不支持该功能")});
  EXPECT_EQ(core_.WelcomeText(), GBK("欢迎您  您上次的登录时间是"));
}

}  // namespace
