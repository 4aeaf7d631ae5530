// The trading library's start and its exports, driven as the host drives
// them, against the trade and balance simulators over loopback: the
// settings, the connection, the trading main dialog through its seam, an
// order from the order entry's rules to the simulator and back, every
// panel's request answered with rows, and a second link.
#include "trade/ui/app/trade_app.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <fstream>

#include "balance_sim.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/paths.h"
#include "sharecode/mythread.h"
#include "test_pki.h"
#include "trade/core/sha1_digest.h"
#include "trade/core/sock_library.h"
#include "trade/core/trade_session.h"
#include "trade/host/trade_exports.h"
#include "trade/ui/rules/funds_panel.h"
#include "trade/ui/rules/money_flow.h"
#include "trade/ui/rules/order_entry.h"
#include "trade/ui/rules/panel_values.h"
#include "trade/ui/rules/query_panels.h"
#include "trade/ui/rules/subscription.h"
#include "trade/ui/rules/trade_ui_messages.h"
#include "trade/ui/rules/transfer_journal.h"
#include "trade_app_folder.h"
#include "trade_sim.h"
#include "trade_ui_test_support.h"

namespace {

using namespace tradeui_test;

// The trading main dialog's window as the test sees it: it records what
// reaches it and what the library does to the dialog. The library owns only
// the dialog object (FakeMainDialog), which acts on this window.
class DialogWindow : public MsgProbe {
 public:
  std::vector<RECT> moves;
  std::vector<std::string> calls;
  int made = 0;
  bool Got(UINT message, WPARAM w) const {
    for (const Msg& m : got)
      if (m.message == message && m.w == w) return true;
    return false;
  }
};

class FakeMainDialog : public ITradeMainDialog {
 public:
  explicit FakeMainDialog(DialogWindow& window) : window_(window) { ++window_.made; }
  HWND GetSafeHwnd() const override { return window_.GetSafeHwnd(); }
  void MoveTo(const RECT& rect) override { window_.moves.push_back(rect); }
  void Hide() override { window_.calls.push_back("hide"); }
  void Destroy() override { window_.calls.push_back("destroy"); }

 private:
  DialogWindow& window_;
};

// InitDialog makes its dialogs on this window from now on.
void MakeDialogsOn(DialogWindow& window) {
  SetTradeMainDialogFactory([&window](HWND) { return std::make_unique<FakeMainDialog>(window); });
}

class TradeAppTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    shell_test::EnsureQtApp();
    dir_ = ProgramFolder("trade_app");
    ASSERT_TRUE(GenerateTestPki(dir_ + "/certs", "secret", &pki_));
    WriteFile(dir_ + "/zeb.ini", Settings(pki_, "certs/ca.pem"));
    STradeSimOptions o;
    o.caFile = pki_.caCert;
    o.certFile = pki_.serverCert;
    o.keyFile = pki_.serverKey;
    o.log = false;
    first_ = new CTradeSimServer(o);
    second_ = new CTradeSimServer(o);
    ASSERT_GT(first_->Start(0), 0);
    ASSERT_GT(second_->Start(0), 0);
  }
  static void TearDownTestSuite() {
    TheTradeApp().ExitInstance();
    SetTradeMainDialogFactory(nullptr);
    delete first_;
    delete second_;
    platform::SetProgramDirOverride("");
  }
  void SetUp() override { platform::SetProgramDirOverride(dir_ + "/"); }

  static bool Pump(const std::function<bool()>& done) { return platform::PumpUntil(done, 20000); }
  // Logs in to the server at port (after a refused one) and waits for the result.
  void Link(MsgProbe& notify, int port) {
    const int closed = 1;  // nothing listens on port 1
    LinkTradeServer(notify.GetSafeHwnd(), WM_TRADE_LOGIN_RESULT, "u01", "pass", TRUE, "127.0.0.1",
                    closed, "127.0.0.1", port, "127.0.0.1", closed, "", 0, nullptr, 0);
    ASSERT_TRUE(Pump([&] {
      for (const auto& m : notify.got)
        if (m.message == WM_TRADE_LOGIN_RESULT && m.w == 1 && m.l == 1) return true;
      return false;
    }));
  }

  static std::string dir_;
  static STestPki pki_;
  static CTradeSimServer* first_;
  static CTradeSimServer* second_;
  platform::ScopedRecordingBoxes boxes_;
};

std::string TradeAppTest::dir_;
STestPki TradeAppTest::pki_;
CTradeSimServer* TradeAppTest::first_ = nullptr;
CTradeSimServer* TradeAppTest::second_ = nullptr;

TEST_F(TradeAppTest, StartRefusesWithoutItsSettingsOrSecureSocket) {
  struct Case {
    const char* ini;  // nullptr: no "zeb.ini"
    bool quellan;
    const char* box;
  } cases[] = {
      {"", false, "载入Quellan.dll出错!"},
      {nullptr, true, "读取通信配置文件出错!"},
      {"bad CA", true, "初始化SSL失败！"},
  };
  for (const Case& c : cases) {
    const std::string dir = c.quellan ? ProgramFolder("trade_start") : MakeTempDir("trade_start");
    if (c.ini) WriteFile(dir + "/zeb.ini", c.ini[0] ? Settings(pki_, "certs/missing.pem") : "");
    platform::SetProgramDirOverride(dir + "/");
    GetSockLibrary().Unload();  // bound again from the folder under test
    boxes_.Clear();
    CTradeApp app;
    EXPECT_FALSE(app.EnsureStarted()) << c.box;
    EXPECT_FALSE(app.EnsureStarted());  // tried once: no second box
    EXPECT_EQ(BoxTexts(boxes_), std::vector<std::string>{GBK(c.box)});
    // A link through a library that did not start fails at once.
    MsgProbe notify;
    STradeLinkRequest request;
    request.notifyWnd = notify.GetSafeHwnd();
    request.notifyMsg = WM_TRADE_LOGIN_RESULT;
    app.Link(request);
    ASSERT_TRUE(Pump([&] { return !notify.got.empty(); }));
    EXPECT_EQ(notify.got[0].w, 2u);
    EXPECT_FALSE(app.IsConnected());
    std::system(("rm -rf " + dir).c_str());
  }
  GetSockLibrary().Unload();
}

TEST_F(TradeAppTest, SettingsAreReadFromTheProgramFolder) {
  STradeSettings s;
  EXPECT_FALSE(ReadTradeSettings(dir_ + "/none.ini", s));
  ASSERT_TRUE(ReadTradeSettings(dir_ + "/zeb.ini", s));
  EXPECT_EQ(s.needSsl, 1);
  EXPECT_EQ(s.caFilePath, "certs/ca.pem");
  EXPECT_EQ(s.keyPath, pki_.clientKey);
  EXPECT_EQ(s.keyPassword, "secret");
  EXPECT_EQ(s.custodyUrls[13], "http://127.0.0.1:19320/page13");
}

TEST_F(TradeAppTest, ExportsBeforeALink) {
  EXPECT_EQ(InitDialog(reinterpret_cast<HWND>(0x77)), nullptr);
  EXPECT_EQ(MoveDlg(RECT{0, 0, 10, 10}), 0);
  EXPECT_EQ(KeyMessage(13, 0), 0);
  EXPECT_EQ(DestoryDialog(), 1);
  EXPECT_EQ(QuickOrder(1, 2, 3, 4, 5), 1);
  EXPECT_EQ(GetUserInfo(nullptr), 0);
  UnLink();                             // nothing to stop
  EXPECT_TRUE(boxes_.Boxes().empty());  // none of these starts the library
}

TEST_F(TradeAppTest, OrderFromTheOrderEntryReachesTheSimulatorAndItsReplyTheDialog) {
  DialogWindow window;
  DialogWindow* dialog = &window;
  MakeDialogsOn(window);
  MsgProbe notify;
  Link(notify, first_->Port());
  EXPECT_EQ(notify.got.front().w, 1u);  // (1, 0): connected
  EXPECT_EQ(notify.got.front().l, 0);

  // One dialog for the pane, however often it asks.
  HWND pane = reinterpret_cast<HWND>(0x77);
  const HWND handle = InitDialog(pane);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(InitDialog(reinterpret_cast<HWND>(0x78)), handle);
  EXPECT_EQ(window.made, 1);
  EXPECT_EQ(TheTradeApp().HostPane(), pane);
  EXPECT_EQ(MoveDlg(RECT{0, 0, 800, 600}), 1);
  ASSERT_EQ(dialog->moves.size(), 1u);
  EXPECT_EQ(dialog->moves[0].right, 800);
  EXPECT_EQ(KeyMessage('7', 5), 1);
  ASSERT_TRUE(Pump([&] { return dialog->Got(WM_TRADE_KEY, '7'); }));
  std::string info[2];
  EXPECT_EQ(GetUserInfo(info), 1);
  EXPECT_EQ(info[0], GBK("测试用户"));
  EXPECT_EQ(info[1], "u01");
  // Only the digest travelled.
  EXPECT_EQ(first_->RequestLog().at(0).Field(91), PasswordDigest("pass"));

  // The order entry's rules place an order through the library's session.
  CTradeSession& session = *CTradeSession::GetInstance();
  FakeHost host;
  host.known = {{602001, 12340}};
  COrderEntryModel buy(kSideBuy, session, host);
  buy.OnInit();
  buy.OnCodeChanged("602001");
  ASSERT_TRUE(Pump([&] { return dialog->Got(WM_TRADE_REPLY, WM_TRADE_MAX_QTY); }));
  buy.OnLimits();
  EXPECT_GT(buy.Maximum(), 0);
  buy.OnPriceChanged("12.34");
  buy.OnQuantityChanged("300");
  ASSERT_TRUE(buy.OnOrderButton());
  // The simulator saw the order with its four fields...
  ASSERT_TRUE(Pump([&] {
    for (const auto& r : first_->RequestLog())
      if (r.msgType == "1011") return true;
    return false;
  }));
  for (const auto& r : first_->RequestLog()) {
    if (r.msgType != "1011") continue;
    EXPECT_EQ(r.Field(48), "602001");
    EXPECT_EQ(r.Field(40), "0B");
    EXPECT_EQ(r.Field(44), "12.34");
    EXPECT_EQ(r.Field(132), "300");
    EXPECT_EQ(r.Field(336), session.GetAccount().session);
  }
  // ...its reply told the user, and today's orders reached the dialog.
  ASSERT_TRUE(Pump([&] { return dialog->Got(WM_TRADE_REPLY, WM_TRADE_ORDERS); }));
  bool told = false;
  for (const std::string& text : BoxTexts(boxes_))
    told |= text.rfind(GBK("委托成交,合同号是"), 0) == 0;
  EXPECT_TRUE(told);
  CQueryPanelModel orders(EQueryPanel::kOrders, 6, session);
  orders.OnPanelMessage(WM_TRADE_ORDERS);
  ASSERT_EQ(orders.Table().rows.size(), 1u);
  EXPECT_EQ(orders.Table().rows[0][6], GBK("成交"));

  // Destroying the dialog ends the connection; no reply is announced to it.
  EXPECT_EQ(DestoryDialog(), 1);
  EXPECT_EQ(dialog->calls, (std::vector<std::string>{"hide", "destroy"}));
  EXPECT_EQ(session.GetMainWnd(), nullptr);
  EXPECT_FALSE(TheTradeApp().IsConnected());
  EXPECT_EQ(InitDialog(pane), nullptr);
}

TEST_F(TradeAppTest, EveryPanelGetsRowsFromTheSimulator) {
  DialogWindow window;
  DialogWindow* dialog = &window;
  MakeDialogsOn(window);
  MsgProbe notify;
  Link(notify, first_->Port());
  ASSERT_NE(InitDialog(reinterpret_cast<HWND>(0x77)), nullptr);
  CTradeSession& session = *CTradeSession::GetInstance();
  auto await = [&](WPARAM message) {
    dialog->got.clear();
    return Pump([&] { return dialog->Got(WM_TRADE_REPLY, message); });
  };
  // History around today, as a user would pick it.
  const int64_t now = SystemTradeClock().WallSeconds();
  struct Panel {
    std::function<void()> ask;
    WPARAM message;
    std::function<size_t(WPARAM)> rows;
  };
  CQueryPanelModel hisOrders(EQueryPanel::kOrders, 8, session),
      hisDeals(EQueryPanel::kDeals, 9, session), allots(EQueryPanel::kAllotments, 0, session);
  for (CQueryPanelModel* m : {&hisOrders, &hisDeals, &allots})
    m->dates = {now - 7 * kSecondsPerDay, now};
  CFundsPanelModel funds(session);
  CTransferJournalModel journal(session);
  CMoneyFlowModel flow(1, session);
  flow.dates = {now - 7 * kSecondsPerDay, now};
  CIssueListModel issues(session, nullptr);
  const Panel panels[] = {
      {[&] { hisOrders.OnQuery(); }, WM_TRADE_HIS_ORDERS,
       [&](WPARAM m) {
         hisOrders.OnPanelMessage(m);
         return hisOrders.Table().rows.size();
       }},
      {[&] { hisDeals.OnQuery(); }, WM_TRADE_DEALS,
       [&](WPARAM m) {
         hisDeals.OnPanelMessage(m);
         return hisDeals.Table().rows.size();
       }},
      {[&] { allots.OnQuery(); }, WM_TRADE_ALLOTS,
       [&](WPARAM m) {
         allots.OnPanelMessage(m);
         return allots.Table().rows.size();
       }},
      {[&] { session.QueryHoldings(); }, WM_TRADE_HOLDINGS,
       [&](WPARAM m) {
         funds.OnPanelMessage(m);
         return funds.Table().rows.size();
       }},
      {[&] { journal.OnInit(); }, WM_TRADE_TRANSFERS,
       [&](WPARAM m) {
         journal.OnPanelMessage(m);
         return journal.Table().rows.size();
       }},
      {[&] { flow.OnQuery(); }, WM_TRADE_FLOW_HISTORY,
       [&](WPARAM m) {
         flow.OnPanelMessage(m);
         return flow.Table().rows.size();
       }},
      {[&] { session.QueryIssues(); }, WM_TRADE_ISSUES,
       [&](WPARAM m) {
         issues.OnPanelMessage(m);
         return issues.Table().rows.size();
       }},
  };
  for (const Panel& p : panels) {
    p.ask();
    ASSERT_TRUE(await(p.message)) << std::hex << p.message;
    EXPECT_GT(p.rows(p.message), 0u) << std::hex << p.message;
  }
  // Funds, today's flow after a deposit, and the transfer's result.
  funds.OnInit();
  ASSERT_TRUE(await(WM_TRADE_FUNDS));
  funds.OnPanelMessage(WM_TRADE_FUNDS);
  EXPECT_FALSE(funds.View().available.empty());
  COutMoneyInOutApply in;
  in.account = "u01";
  in.operationType = "1";
  in.amount = "100.00";
  in.fundsPassword = PasswordDigest("fund");
  in.phoneBankPassword = "bank";
  ASSERT_EQ(session.ApplyMoneyInOut(in), 0);
  ASSERT_TRUE(await(WM_TRADE_APPLY_RESULT));
  EXPECT_EQ(session.GetApplyResult().status, 1);
  CMoneyFlowModel today(0, session);
  today.OnInit();
  ASSERT_TRUE(await(WM_TRADE_FLOW_TODAY));
  today.OnPanelMessage(WM_TRADE_FLOW_TODAY);
  ASSERT_FALSE(today.Table().rows.empty());
  EXPECT_EQ(today.Table().rows.back()[3], GBK("入金"));
  DestoryDialog();
}

TEST_F(TradeAppTest, ASecondLinkStopsTheFirstAndKeepsOnlyItsOwnServers) {
  MsgProbe notify;
  Link(notify, first_->Port());
  ASSERT_TRUE(TheTradeApp().IsConnected());
  EXPECT_EQ(CMyThread::GetThreadCount(), 1);
  const int accepted = second_->Accepted();
  MsgProbe notify2;
  LinkTradeServer(notify2.GetSafeHwnd(), WM_TRADE_LOGIN_RESULT, "u01", "pass", TRUE, "127.0.0.1",
                  second_->Port(), "127.0.0.2", 2, "127.0.0.3", 3, "127.0.0.4", 4, "127.0.0.5", 5);
  // The first thread was joined before the second started.
  EXPECT_EQ(CMyThread::GetThreadCount(), 1);
  const auto servers = CTradeSession::GetInstance()->GetServerList();
  ASSERT_EQ(servers.size(), 5u);
  EXPECT_EQ(servers[0].port, second_->Port());
  EXPECT_EQ(servers[4].host, "127.0.0.5");
  ASSERT_TRUE(
      Pump([&] { return second_->Accepted() == accepted + 1 && TheTradeApp().IsConnected(); }));
  // The first notify window hears nothing of the second link.
  const size_t before = notify.got.size();
  platform::PumpMessages(50);
  EXPECT_EQ(notify.got.size(), before);
  UnLink();
  EXPECT_EQ(CMyThread::GetThreadCount(), 0);
  EXPECT_FALSE(TheTradeApp().IsConnected());
}

TEST_F(TradeAppTest, BalanceQueryFillsTheCallersBufferOnlyWhenTheReplyFits) {
  CBalanceSimServer balance(EBalanceMode::Good);
  const int port = balance.Start(0);
  ASSERT_GT(port, 0);
  std::vector<unsigned char> buffer(2048, 0xEE);
  ASSERT_EQ(InitBalanceServer("127.0.0.1", port, 0x1234, buffer.data(), 2048), 0);
  uint32_t length = 0;
  std::memcpy(&length, buffer.data(), 4);
  EXPECT_GT(length, 0u);
  std::vector<unsigned char> small(8, 0xEE);
  EXPECT_EQ(InitBalanceServer("127.0.0.1", port, 1, small.data(), 8), -1);
  EXPECT_EQ(small, std::vector<unsigned char>(8, 0xEE));
  EXPECT_EQ(InitBalanceServer(nullptr, port, 1, buffer.data(), 2048), -1);
  EXPECT_EQ(balance.Requests().size(), 2u);
}

}  // namespace
