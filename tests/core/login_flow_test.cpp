// The login rules in both modes, driven through a recording host: what is
// sent to the stage window, the links and the trading library, the
// progress line, the time-out on the host's clock and the one-second
// close; the balance-server query and its failures; the verification code.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "zeb/core/login/login_flow.h"

namespace {

class RecordingLoginHost : public ILoginHost {
 public:
  std::vector<std::string> events;
  int storeMode = 0;
  bool loginEnabled = true;
  bool balanceNeeded = false;
  bool tradeBound = true;
  int64_t now = 1000;
  int codesDrawn = 0;
  std::string line;
  int bar = -1;
  int modeStates[3] = {};
  // Answers of InitBalanceServer in turn (0 = success with `reply`).
  std::vector<int> balanceAnswers;
  std::vector<unsigned char> reply;
  SLoginHosts quoteHosts;
  std::string account;

  HWND DialogWnd() override { return nullptr; }
  void ShowProgress() override { events.push_back("progress shown"); }
  void SetProgressBar(int pos) override { bar = pos; }
  void SetProgressLine(const std::string& gbk) override { line = platform::GbkToUtf8(gbk); }
  void EnableLoginButton(bool enable) override { loginEnabled = enable; }
  void SetModeButtonStates(int a, int b, int c) override {
    modeStates[0] = a, modeStates[1] = b, modeStates[2] = c;
  }
  void NewVerificationCode() override { ++codesDrawn; }
  void FocusCodeField() override { events.push_back("focus code"); }
  void ActivateDialog() override { events.push_back("activate"); }
  void HideDialog() override { events.push_back("hide"); }
  void EndDialog(int result) override { events.push_back("end " + std::to_string(result)); }
  void SetTimer(UINT id, UINT ms) override {
    events.push_back("timer " + std::to_string(id) + " " + std::to_string(ms));
  }
  void KillTimer(UINT id) override { events.push_back("kill " + std::to_string(id)); }
  int64_t NowMs() override { return now; }
  void SetStoreLoginMode(int mode) override { storeMode = mode; }
  bool IsBalanceNeeded() override { return balanceNeeded; }
  bool SendStage(WPARAM w, LPARAM l) override {
    events.push_back("stage " + std::to_string(w) + "," + std::to_string(l));
    return true;
  }
  void SetQuoteServer(const std::string& acc, const std::string&, const std::string& host,
                      int port) override {
    account = acc;
    events.push_back("quote " + host + ":" + std::to_string(port));
  }
  void SetQuoteHosts(const std::string& acc, const std::string&,
                     const SLoginHosts& hosts) override {
    account = acc;
    quoteHosts = hosts;
    events.push_back("quote hosts");
  }
  void QuoteUnLink() override { events.push_back("quote unlink"); }
  void TradeUnLink() override { events.push_back("trade unlink"); }
  bool CanLinkTrade() override { return tradeBound; }
  int InitBalanceServer(const std::string& host, int port, int, void* buffer, int size) override {
    events.push_back("balance " + host + ":" + std::to_string(port));
    const int answer = balanceAnswers.empty() ? -1 : balanceAnswers.front();
    if (!balanceAnswers.empty()) balanceAnswers.erase(balanceAnswers.begin());
    if (answer == 0)
      std::memcpy(buffer, reply.data(), std::min<size_t>(reply.size(), size_t(size)));
    return answer;
  }
  void LinkTradeServer(const std::string& acc, const std::string&, bool viaBalance,
                       const SLoginHosts& hosts) override {
    account = acc;
    events.push_back("trade " + hosts.tradeHost[0] + ":" + std::to_string(hosts.tradePort[0]) +
                     (viaBalance ? " via balance" : ""));
  }

  bool Has(const std::string& event) const {
    return std::find(events.begin(), events.end(), event) != events.end();
  }
};

SLoginSettings Settings() {
  SLoginSettings s;
  s.quoteHost = "127.0.0.1";
  s.quotePort = 17709;
  s.tradeHost = "127.0.0.2";
  s.tradePort = 19310;
  return s;
}

SLoginInput Input() {
  SLoginInput in;
  in.account = "  8001 ";
  in.password = "pw";
  in.typedCode = "1234";
  in.pictureCode = "1234";
  return in;
}

// A balance reply: length, then five pairs of trade host/port, quote host/port.
std::vector<unsigned char> BalanceReply(int32_t length, int pairs, const char* hostPrefix) {
  std::vector<unsigned char> bytes(kBalanceReplyBuffer, 0);
  std::memcpy(bytes.data(), &length, 4);
  for (int k = 0; k < pairs; ++k) {
    unsigned char* pair = bytes.data() + 4 + 36 * k;
    std::string trade = std::string(hostPrefix) + ".1." + std::to_string(k + 1);
    std::string quote = std::string(hostPrefix) + ".2." + std::to_string(k + 1);
    std::memcpy(pair, trade.c_str(), trade.size());
    pair[16] = 0x10, pair[17] = 0x27 + k;  // 10000 + 256 k
    std::memcpy(pair + 18, quote.c_str(), quote.size());
    pair[34] = 0xF0, pair[35] = 0xFF;  // 65520: an unsigned port
  }
  return bytes;
}

struct LoginFlowTest : ::testing::Test {
  platform::ScopedRecordingBoxes boxes;
  RecordingLoginHost host;
  CLoginFlow flow{host};

  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& b : boxes.Boxes()) texts.push_back(platform::GbkToUtf8(b.text));
    return texts;
  }
};

TEST_F(LoginFlowTest, QuotesOnlyGoesStraightToTheQuoteLinkAndClosesASecondAfterCompletion) {
  flow.Start(Settings());
  flow.OnModeButton(IDC_LOGIN_QUOTES_ONLY);
  EXPECT_EQ(host.storeMode, 1);
  flow.OnLogin(Input());
  EXPECT_FALSE(host.loginEnabled);
  EXPECT_EQ(host.account, "8001");  // trimmed
  const std::vector<std::string> atClick = {"progress shown", "stage 0,1", "activate",
                                            "quote 127.0.0.1:17709", "timer 99 60000"};
  EXPECT_EQ(host.events, atClick);

  // The link's own reports, in the order it sends them.
  struct Step {
    int percent;
    const char* text;
    const char* line;
    int bar;
  } steps[] = {{0, "开始初始化", "[0%]开始初始化", 0},
               {10, "正在建立连接...", "[10%]正在建立连接...", 10},
               {101, "", "[25%]...", 25},
               {30, "开始请求初始化数据", "[30%]开始请求初始化数据", 30},
               {50, "开始将初始化数据存盘...", "[50%]开始将初始化数据存盘...", 50}};
  for (const Step& s : steps) {
    flow.OnLinkProgress(s.percent, GBK(s.text));
    EXPECT_EQ(host.line, s.line);
    EXPECT_EQ(host.bar, s.bar);
  }
  host.events.clear();
  flow.OnLinkProgress(100, GBK("完成初始化过程"));
  EXPECT_EQ(host.line, "[100%]完成初始化过程");
  const std::vector<std::string> atDone = {"kill 99", "stage 1,2", "hide", "timer 98 1000"};
  EXPECT_EQ(host.events, atDone);
  host.events.clear();
  flow.OnTimer(kLoginCloseTimer);
  const std::vector<std::string> atClose = {"kill 98", "end 1"};
  EXPECT_EQ(host.events, atClose);
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(LoginFlowTest, QuotesAndTradingLogsInToTradingFirstThenAsksForTheFrame) {
  flow.Start(Settings());
  EXPECT_EQ(host.storeMode, 2);
  EXPECT_EQ(host.modeStates[1], 1);
  flow.OnLogin(Input());
  EXPECT_TRUE(host.Has("trade 127.0.0.2:19310"));
  EXPECT_FALSE(host.Has("stage 0,1"));
  flow.OnTradeLoginResult(1, 0);
  EXPECT_EQ(host.line, "[10%]交易连接成功");
  host.events.clear();
  flow.OnTradeLoginResult(1, 1);
  EXPECT_EQ(host.line, "[20%]交易登陆已完成");
  const std::vector<std::string> afterTrade = {"kill 99", "stage 0,1", "activate",
                                               "quote 127.0.0.1:17709", "timer 99 60000"};
  EXPECT_EQ(host.events, afterTrade);
  // Any other detail changes nothing.
  host.events.clear();
  flow.OnTradeLoginResult(1, 7);
  EXPECT_TRUE(host.events.empty());
}

TEST_F(LoginFlowTest, FailuresReturnToIdleWithLinksClosed) {
  struct Case {
    const char* what;
    std::function<void(CLoginFlow&)> fail;
  } cases[] = {
      {"trade connect failed", [](CLoginFlow& f) { f.OnTradeLoginResult(2, 0); }},
      {"trade login refused", [](CLoginFlow& f) { f.OnTradeLoginResult(2, 1); }},
      {"link reports -1", [](CLoginFlow& f) { f.OnLinkProgress(-1, "refused"); }},
  };
  for (const Case& c : cases) {
    RecordingLoginHost h;
    CLoginFlow f(h);
    f.Start(Settings());
    f.OnLogin(Input());
    const int codes = h.codesDrawn;
    c.fail(f);
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(h.Has("trade unlink"));
    EXPECT_TRUE(h.Has("quote unlink"));
    EXPECT_TRUE(h.Has("stage 2,2"));
    EXPECT_EQ(h.line, "[0%]登陆失败");
    EXPECT_TRUE(h.loginEnabled);
    EXPECT_EQ(h.codesDrawn, codes + 1);
    EXPECT_FALSE(f.IsLinking());
  }
}

TEST_F(LoginFlowTest, TimeOutFollowsTheClockNotTheTick) {
  flow.Start(Settings());
  flow.OnModeButton(IDC_LOGIN_QUOTES_ONLY);
  flow.OnLogin(Input());
  host.events.clear();
  host.now += 59000;  // a tick before the minute is over only re-arms
  flow.OnTimer(kLoginTimeoutTimer);
  const std::vector<std::string> rearmed = {"timer 99 1000"};
  EXPECT_EQ(host.events, rearmed);
  EXPECT_TRUE(boxes.Boxes().empty());
  host.now += 1000;
  flow.OnTimer(kLoginTimeoutTimer);
  EXPECT_TRUE(host.Has("kill 99"));
  EXPECT_TRUE(host.Has("stage 2,2"));
  EXPECT_EQ(host.line, "[0%]登陆失败");
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"登陆超时!"});
}

TEST_F(LoginFlowTest, InputChecksSendNothing) {
  struct Case {
    const char* code;
    const char* account;
    const char* password;
    const char* box;
  } cases[] = {{"1243", "8001", "pw", "校验码错误"},
               {"1234", "", "pw", "请输入用户名"},
               {"1234", "8001", "", "请输入密码"}};
  for (const Case& c : cases) {
    platform::ScopedRecordingBoxes local;
    RecordingLoginHost h;
    CLoginFlow f(h);
    f.Start(Settings());
    SLoginInput in = Input();
    in.typedCode = c.code;
    in.account = c.account;
    in.password = c.password;
    f.OnLogin(in);
    ASSERT_EQ(local.Boxes().size(), 1u);
    EXPECT_EQ(platform::GbkToUtf8(local.Boxes()[0].text), c.box);
    EXPECT_TRUE(h.loginEnabled);
    EXPECT_FALSE(h.Has("progress shown"));
    EXPECT_FALSE(f.IsLinking());
  }
  // A wrong code draws a new one and puts the caret into the code field.
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
  SLoginInput wrong = Input();
  wrong.typedCode = "0000";
  flow.Start(Settings());
  flow.OnLogin(wrong);
  EXPECT_EQ(platform::GbkToUtf8(boxes.Boxes()[0].caption), "错误信息");
  EXPECT_EQ(host.codesDrawn, 1);
  EXPECT_TRUE(host.Has("focus code"));
}

TEST_F(LoginFlowTest, BalanceServerHandsOutTheHosts) {
  host.balanceNeeded = true;
  host.balanceAnswers = {-1, -1, 0};  // the third try answers
  host.reply = BalanceReply(180, 5, "10.0");
  SLoginSettings s = Settings();
  s.servers = {{"A", "10.9.9.1", 19300, 0}, {"B", "10.9.9.2", 19301, 0}};
  flow.Start(s);
  flow.OnModeButton(IDC_LOGIN_QUOTES_ONLY);
  SLoginInput in = Input();
  in.serverSelection = 1;
  flow.OnLogin(in);
  EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "balance 10.9.9.2:19301"), 3);
  ASSERT_TRUE(host.Has("quote hosts"));
  for (int k = 0; k < kHostPairs; ++k) {
    EXPECT_EQ(host.quoteHosts.quoteHost[k], "10.0.2." + std::to_string(k + 1));
    EXPECT_EQ(host.quoteHosts.quotePort[k], 65520);
    EXPECT_EQ(host.quoteHosts.tradePort[k], 10000 + 256 * k);
  }
  EXPECT_EQ(flow.Settings().defaultServer, 1);
}

TEST_F(LoginFlowTest, BalanceFailuresEndCleanly) {
  struct Case {
    const char* what;
    std::vector<SBalanceServer> servers;
    int selection;
    int tries;
  } cases[] = {{"unreachable three times", {{"A", "10.9.9.1", 1, 0}}, 0, 3},
               {"empty list", {}, 0, 0},
               {"index past the list", {{"A", "10.9.9.1", 1, 0}}, 3, 0},
               {"no selection", {{"A", "10.9.9.1", 1, 0}}, -1, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform::ScopedRecordingBoxes local;
    RecordingLoginHost h;
    h.balanceNeeded = true;
    CLoginFlow f(h);
    SLoginSettings s = Settings();
    s.servers = c.servers;
    f.Start(s);
    SLoginInput in = Input();
    in.serverSelection = c.selection;
    f.OnLogin(in);
    EXPECT_EQ(std::count_if(h.events.begin(), h.events.end(),
                            [](const std::string& e) { return e.rfind("balance", 0) == 0; }),
              c.tries);
    ASSERT_EQ(local.Boxes().size(), 1u);
    EXPECT_EQ(platform::GbkToUtf8(local.Boxes()[0].text), "连接策略服务器失败,请选择其他服务器");
    EXPECT_EQ(h.line, "[0%]登陆失败");
    EXPECT_FALSE(h.Has("quote hosts"));
    EXPECT_FALSE(h.Has("trade 127.0.0.2:19310 via balance"));
    EXPECT_FALSE(h.Has("timer 99 60000"));
  }
}

TEST(BalanceReplyTest, LengthAndBoundsDecideThePairsTaken) {
  struct Case {
    int32_t length;
    int pairsWritten;
    int bufferSize;
    int pairsTaken;
  } cases[] = {{180, 5, kBalanceReplyBuffer, 5},
               {72, 5, kBalanceReplyBuffer, 1},   // 72: only pair 1
               {108, 5, kBalanceReplyBuffer, 3},  // pairs past the length stay
               {180, 5, 4 + 36 * 2, 2},           // never past the buffer
               {-5, 5, kBalanceReplyBuffer, 1}};
  for (const Case& c : cases) {
    SLoginHosts hosts;
    for (int k = 0; k < kHostPairs; ++k) hosts.quoteHost[k] = "kept";
    std::vector<unsigned char> reply = BalanceReply(c.length, c.pairsWritten, "10.0");
    ASSERT_TRUE(ParseBalanceReply(reply.data(), c.bufferSize, &hosts));
    for (int k = 0; k < kHostPairs; ++k)
      EXPECT_EQ(hosts.quoteHost[k], k < c.pairsTaken ? "10.0.2." + std::to_string(k + 1) : "kept")
          << "length " << c.length << " pair " << k;
  }
  // A host text that fills its field without a NUL is cut at the field.
  std::vector<unsigned char> full = BalanceReply(72, 1, "10.0");
  std::memset(full.data() + 4 + 18, 'x', 16);
  SLoginHosts hosts;
  ParseBalanceReply(full.data(), int(full.size()), &hosts);
  EXPECT_EQ(hosts.quoteHost[0], std::string(16, 'x'));
  EXPECT_FALSE(ParseBalanceReply(full.data(), 3, &hosts));
}

TEST_F(LoginFlowTest, TradingOnlyButtonNeverChangesTheMode) {
  flow.Start(Settings());
  flow.OnModeButton(IDC_LOGIN_QUOTES_ONLY);
  flow.OnModeButton(IDC_LOGIN_TRADE_ONLY);
  EXPECT_EQ(flow.Mode(), 1);
  EXPECT_EQ(host.storeMode, 1);
  EXPECT_EQ(host.modeStates[0], 1);
  EXPECT_EQ(host.modeStates[2], 0);
}

TEST_F(LoginFlowTest, WithoutTradingLibraryTheLoginRunsQuotesOnly) {
  host.tradeBound = false;
  flow.Start(Settings());
  EXPECT_EQ(host.storeMode, 1);
  flow.OnModeButton(IDC_LOGIN_QUOTES_TRADE);
  flow.OnLogin(Input());
  EXPECT_EQ(host.storeMode, 1);
  EXPECT_TRUE(host.Has("quote 127.0.0.1:17709"));
  EXPECT_FALSE(host.Has("trade 127.0.0.2:19310"));
}

TEST_F(LoginFlowTest, CloseTellsTheStageAndDropsBothLinks) {
  flow.Start(Settings());
  flow.OnClose();
  const std::vector<std::string> expected = {"stage 2,2", "quote unlink", "trade unlink", "end 2"};
  EXPECT_EQ(host.events, expected);
}

}  // namespace
