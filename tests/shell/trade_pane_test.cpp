// The trading pane: the code-to-market rule and the bytes of its quote
// requests; the trading window of a stub library hosted, placed and
// answered from the store; a library that lacks an export refused without
// harm.
#include <gtest/gtest.h>

#include <QWidget>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/dynlib.h"
#include "platform/gbk.h"
#include "platform/window.h"
#include "shell/program_test_support.h"
#include "shell/stub_trade/stub_trade.h"
#include "sim/market/demo_market.h"
#include "support/packet_bytes.h"
#include "zeb/shell/app/zeb_app.h"
#include "zeb/messages.h"
#include "zeb/store/code_request.h"
#include "zeb/store/public_store.h"
#include "zeb/core/trade/trade_requests.h"
#include "zeb/shell/trade/trade_view.h"

namespace {

using test_support::Bytes;

std::string Text(const std::vector<uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

TEST(TradePaneRules, MarketOfACode) {
  const struct {
    int32_t code;
    uint16_t market;
  } cases[] = {{100001, 4116}, {100999, 4116}, {602001, 4114}, {605123, 4119}, {701001, 4117},
               {903001, 4115}, {123456, 4118}, {0, 4118},      {99999, 4118},  {-602001, 4118}};
  for (const auto& c : cases) EXPECT_EQ(GetMarketOfCode(c.code), c.market) << c.code;
}

TEST(TradePaneRules, RequestBytes) {
  // One item's quote: no address in the reserved slot.
  EXPECT_EQ(Text(BuildSingleQuoteRequest(602001, 1)),
            Bytes().U16(0x0800).U16(4114).U16(1).U16(1).U32(0).U16(4114).U32(602001).data);
  // Three codes: one request of 30 bytes, every market by the rule.
  const std::vector<std::vector<uint8_t>> three =
      BuildSubscriptionRequests({"602001", "100001", "123456"}, 1);
  ASSERT_EQ(three.size(), 1u);
  EXPECT_EQ(Text(three[0]), Bytes()
                                .U16(0x2200)
                                .U16(0x3000)
                                .U16(1)
                                .U16(3)
                                .U32(0)
                                .U16(4114)
                                .U32(602001)
                                .U16(4116)
                                .U32(100001)
                                .U16(4118)
                                .U32(123456)
                                .data);
  EXPECT_TRUE(BuildSubscriptionRequests({}, 1).empty());
  // A longer list goes out in several requests, each within one link frame,
  // every code once and in order.
  TradeCodeList many;
  for (int i = 0; i < 700; ++i) many.push_back(std::to_string(602000 + i));
  const std::vector<std::vector<uint8_t>> parts = BuildSubscriptionRequests(many, 1);
  ASSERT_EQ(parts.size(), 3u);
  int next = 602000;
  for (const std::vector<uint8_t>& part : parts) {
    ASSERT_LE(part.size(), size_t(kLinkMaxRequest));
    uint16_t count = 0;
    std::memcpy(&count, part.data() + 6, 2);
    ASSERT_EQ(part.size(), 12u + 6u * count);
    for (size_t i = 0; i < count; ++i) {
      int32_t code = 0;
      std::memcpy(&code, part.data() + 12 + 6 * i + 2, 4);
      EXPECT_EQ(code, next++);
    }
  }
  EXPECT_EQ(next, 602700);
}

// The store's main window: the requests it was handed and the leaves.
class MainWindow : public platform::MsgTarget {
 public:
  std::vector<std::string> requests;  // kind 1 bodies, without the length
  std::vector<std::pair<WPARAM, LPARAM>> hides;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_QUOTE_REQUEST && wParam == kRequestQuoteData) {
      int32_t length = 0;
      std::memcpy(&length, reinterpret_cast<const void*>(lParam), 4);
      requests.emplace_back(reinterpret_cast<const char*>(lParam) + 4, size_t(length));
    }
    if (message == WM_TRADE_HIDE) hides.emplace_back(wParam, lParam);
    return 0;
  }
};

// A pane host standing in for the splitter.
class Host : public CWndImpl<QWidget> {};

class TradePaneTest : public ::testing::Test, public shell_test::ProgramFixture {
 protected:
  MainWindow main;
  CPublic* store = CPublic::GetInstance();
  std::unique_ptr<CZEBApp> app;
  Host host;
  CTradeView view;

  void SetUp() override {
    const std::string table = BuildDemoMarketTable();
    ASSERT_EQ(store->ParseMarketTable(table.data(), int(table.size())), 0);
    store->SetMainWnd(main.GetSafeHwnd());
    SZebAppOptions options;
    options.tradeLibraryFolder = STUB_TRADE_WHOLE_DIR;
    app = std::make_unique<CZEBApp>(options);
    ASSERT_TRUE(app->Trade().IsLoaded()) << app->Trade().LastError();
    ASSERT_TRUE(host.Create(nullptr, CRect(0, 0, 1000, 400), 0, WS_POPUP | WS_VISIBLE));
    ASSERT_TRUE(
        view.Create(&host, CRect(0, 0, 800, 320), AFX_IDW_PANE_FIRST + 16, WS_CHILD | WS_VISIBLE));
    Log().calls.clear();
    Log().received.clear();
  }
  void TearDown() override {
    app->Trade().Entries().UnLink();
    app->Trade().Entries().DestoryDialog();
    view.DestroyWindow();
    host.DestroyWindow();
    app.reset();
    CPublic::ReleaseInstance();
  }
  SStubTradeLog& Log() {
    static SStubTradeLog* log = [] {
      std::string error;
      void* lib =
          platform::LoadLibraryPath(std::string(STUB_TRADE_WHOLE_DIR) + "libTrade.so", &error);
      return lib ? reinterpret_cast<PFN_StubTradeLog>(
                       platform::GetProcAddress(lib, "StubTradeLog"))()
                 : nullptr;
    }();
    return *log;
  }
  void Link() {
    app->Trade().Entries().LinkTradeServer(nullptr, WM_TRADE_LOGIN_RESULT, "u01", "pass", FALSE,
                                           "127.0.0.1", 1, "", 0, "", 0, "", 0, "", 0);
  }
  LRESULT Ask(UINT message, WPARAM wParam, LPARAM lParam = 0) {
    return ::SendMessage(view.GetSafeHwnd(), message, wParam, lParam);
  }
  std::string NameOf(int32_t code) {
    const SCodeInfo key{0, code};
    return store->FindStock(&key)->GetName();
  }
};

TEST_F(TradePaneTest, NoTradingWindowWithoutAConnection) {
  view.OnInitialUpdate();
  EXPECT_EQ(Log().calls.front(), "InitDialog");
  EXPECT_EQ(view.GetTradeWnd(), nullptr);
  EXPECT_EQ(Log().window, nullptr);
}

TEST_F(TradePaneTest, HostsAndPlacesTheTradingWindow) {
  Link();
  view.OnInitialUpdate();
  ASSERT_NE(view.GetTradeWnd(), nullptr);
  EXPECT_EQ(view.GetTradeWnd(), Log().window);
  EXPECT_EQ(Log().host, view.GetSafeHwnd());
  QWidget* trading = CWnd::FromHandle(view.GetTradeWnd())->GetWidget();
  EXPECT_EQ(trading->parentWidget(), view.GetWidget());
  EXPECT_EQ(trading->geometry(), QRect(0, 0, 800, 320));
  EXPECT_TRUE(trading->isVisible());

  // Every size change places it again, but not a pane the splitter hid.
  view.MoveWindow(0, 0, 900, 300);
  EXPECT_EQ(trading->geometry(), QRect(0, 0, 900, 300));
  EXPECT_EQ(Log().calls.back(), "MoveDlg 0 0 900 300");
  const size_t calls = Log().calls.size();
  view.MoveWindow(0, 0, 900, 0);
  view.MoveWindow(0, 0, 0, 300);
  EXPECT_EQ(Log().calls.size(), calls);
  EXPECT_EQ(trading->geometry(), QRect(0, 0, 900, 300));

  // Once the library has destroyed it, the pane hosts nothing.
  app->Trade().Entries().DestoryDialog();
  EXPECT_EQ(view.GetTradeWnd(), nullptr);
}

TEST_F(TradePaneTest, AnswersTheTradingWindowFromTheStore) {
  Link();
  view.OnInitialUpdate();
  ASSERT_NE(view.GetTradeWnd(), nullptr);

  // The name of a known item: exactly one WM_TRADE_QUOTE 1 with its name.
  EXPECT_EQ(Ask(WM_TRADE_GET_NAME, 602001), 1);
  ASSERT_EQ(Log().received.size(), 1u);
  EXPECT_EQ(Log().received[0].message, WM_TRADE_QUOTE);
  EXPECT_EQ(Log().received[0].wParam, 1u);
  EXPECT_EQ(Log().received[0].data, NameOf(602001));
  EXPECT_FALSE(NameOf(602001).empty());
  // An unknown one: 0 and nothing sent.
  EXPECT_EQ(Ask(WM_TRADE_GET_NAME, 123456), 0);
  EXPECT_EQ(Log().received.size(), 1u);

  // Known codes and previous closes; unknown ones leave the out value.
  int known = -1;
  EXPECT_EQ(Ask(WM_TRADE_FIND_CODE, 602001, LPARAM(&known)), 1);
  EXPECT_EQ(known, 1);
  EXPECT_EQ(Ask(WM_TRADE_FIND_CODE, 123456, LPARAM(&known)), 1);
  EXPECT_EQ(known, 0);
  EXPECT_EQ(Ask(WM_TRADE_FIND_CODE, 602001, 0), 0);  // nowhere to write
  uint32_t preClose = 77;
  EXPECT_EQ(Ask(WM_TRADE_GET_PRECLOSE, 123456, LPARAM(&preClose)), 0);
  EXPECT_EQ(preClose, 77u);
  EXPECT_EQ(Ask(WM_TRADE_GET_PRECLOSE, 602001, LPARAM(&preClose)), 1);
  const SCodeInfo key{4114, 602001};
  EXPECT_EQ(preClose, +store->FindStock(&key)->preClose);
  EXPECT_EQ(Ask(WM_TRADE_GET_PRECLOSE, 602001, 0), 0);

  // A quote and the prices become requests through the store.
  EXPECT_EQ(Ask(WM_TRADE_ASK_QUOTE, 701001), 1);
  ASSERT_EQ(main.requests.size(), 1u);
  EXPECT_EQ(main.requests[0],
            Bytes().U16(0x0800).U16(4117).U16(1).U16(1).U32(0).U16(4117).U32(701001).data);
  TradeCodeList codes{"602001", "100001", "701001"};
  EXPECT_EQ(Ask(WM_TRADE_SUBSCRIBE, WPARAM(&codes)), 1);
  ASSERT_EQ(main.requests.size(), 2u);
  EXPECT_EQ(main.requests[1].size(), 30u);
  EXPECT_EQ(main.requests[1].substr(0, 8), Bytes().U16(0x2200).U16(0x3000).U16(1).U16(3).data);
  TradeCodeList none;
  EXPECT_EQ(Ask(WM_TRADE_SUBSCRIBE, WPARAM(&none)), 0);
  EXPECT_EQ(Ask(WM_TRADE_SUBSCRIBE, 0), 1);
  EXPECT_EQ(main.requests.size(), 2u);

  // The quote list's codes, and leaving trading through the main window.
  store->SetReportCodes({{4114, 602001}, {4116, 100001}, {4117, 701001}});
  TradeHostCodes listed;
  EXPECT_EQ(Ask(WM_TRADE_GET_CODES, 0, LPARAM(&listed)), 1);
  EXPECT_EQ(listed, store->GetTradeCodes());
  EXPECT_EQ(Ask(WM_TRADE_HIDE, 0), 0);
  ASSERT_TRUE(platform::PumpUntil([&] { return !main.hides.empty(); }, 10000));
  EXPECT_EQ(main.hides[0], std::make_pair(WPARAM(0), LPARAM(0)));
}

TEST(TradeLibraryLoad, ALibraryLackingOneExportCountsAsNotLoaded) {
  shell_test::ProgramFixture fixture;
  SZebAppOptions options;
  options.tradeLibraryFolder = STUB_TRADE_LACKING_DIR;
  CZEBApp app(options);
  EXPECT_FALSE(app.Trade().IsLoaded());
  EXPECT_NE(app.Trade().LastError().find("KeyMessage"), std::string::npos)
      << app.Trade().LastError();
  EXPECT_EQ(app.Trade().Entries().InitDialog, nullptr);
  EXPECT_EQ(app.Trade().Entries().LinkTradeServer, nullptr);
  EXPECT_EQ(fixture.BoxTexts(), std::vector<std::string>{"打开交易库失败!"});
  // The pane stays empty and answers from the store all the same.
  shell_test::ApplicationFirst qt;
  Host host;
  ASSERT_TRUE(host.Create(nullptr, CRect(0, 0, 400, 200), 0, WS_POPUP));
  CTradeView view;
  ASSERT_TRUE(
      view.Create(&host, CRect(0, 0, 400, 200), AFX_IDW_PANE_FIRST + 16, WS_CHILD | WS_VISIBLE));
  view.OnInitialUpdate();
  view.MoveWindow(0, 0, 300, 100);
  EXPECT_EQ(view.GetTradeWnd(), nullptr);
  int known = -1;
  EXPECT_EQ(view.SendMessage(WM_TRADE_FIND_CODE, 602001, LPARAM(&known)), 1);
  EXPECT_EQ(known, 0);  // an empty store
  view.DestroyWindow();
  host.DestroyWindow();
  CPublic::ReleaseInstance();
}

}  // namespace

// The real trading library starts as it is loaded: a secure socket that
// cannot be set up (its CA file is missing) refuses the load, and the
// program says it could not open the library, before anyone logs in.
TEST(TradeLibraryLoad, TheRealLibraryRefusesToLoadWhenItsSecureSocketCannotBeSetUp) {
  shell_test::ProgramFixture fixture;
  fixture.folders.Write("zeb.ini",
                        std::string(shell_test::kTestZebIni) +
                            "[TRADESERVER]\r\nNEEDSSL=1\r\nCAFILEPATH=certs/missing.pem\r\n");
  const char* bin = std::getenv("ZEB_BIN_DIR");
  ASSERT_NE(bin, nullptr);
  ASSERT_EQ(symlink((std::string(bin) + "/libQuellan.so").c_str(),
                    fixture.folders.Path("libQuellan.so").c_str()),
            0);
  SZebAppOptions options;
  options.tradeLibraryFolder = std::string(bin) + "/";
  CZEBApp app(options);
  EXPECT_FALSE(app.Trade().IsLoaded());
  EXPECT_EQ(fixture.BoxTexts(), (std::vector<std::string>{"初始化SSL失败！", "打开交易库失败!"}));
}
