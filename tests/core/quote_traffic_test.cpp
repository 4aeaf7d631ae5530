// The frame's quote traffic: the dispatch table per packet type with
// bodies that are too short and long enough, bodies never written to, the
// request funnel's kinds, the alarm request (capped) and the update offer.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/window.h"
#include "sharecode/mythread.h"
#include "support/shell_temp_folders.h"
#include "support/shell_test_app.h"
#include "support/packet_bytes.h"
#include "zeb/core/frame/quote_traffic.h"
#include "zeb/messages.h"
#include "zeb/store/public_store.h"

namespace {

using test_support::Bytes;

// A quote-list body (type, tag, count, total, slot) with records of a code
// and a last price each.
std::string QuoteList(uint16_t type, uint16_t count,
                      std::vector<std::pair<int32_t, uint32_t>> records) {
  Bytes b;
  b.U16(type).U16(1).U16(count).U16(0).U32(0);
  for (auto [code, last] : records) {
    b.U16(4100).U32(uint32_t(code)).Zeros(12).U32(last).Zeros(32);
  }
  return b.data;
}

std::string Notice(const std::string& text, int16_t declared) {
  Bytes b;
  b.U16(PKT_NOTICE).U16(uint16_t(declared)).U32(0).Text(text).Zeros(1);
  return b.data;
}

class TradeWindow : public platform::MsgTarget {
 public:
  struct Message {
    UINT message;
    WPARAM wParam;
    std::string packet;  // WM_TRADE_QUOTE 3: the packet's bytes
    std::map<int, double> prices;
    LPARAM lParam;
  };
  std::vector<Message> got;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    Message m{message, wParam, {}, {}, lParam};
    if (message == WM_TRADE_QUOTE && wParam == 3) {
      auto* q = reinterpret_cast<const STradeQuotePacket*>(lParam);
      m.packet.assign(static_cast<const char*>(q->data), size_t(q->length));
    }
    if (message == WM_TRADE_PRICES) m.prices = *reinterpret_cast<const TradePriceMap*>(wParam);
    got.push_back(m);
    return 1;
  }
};

struct RecordingTrafficHost : IQuoteTrafficHost {
  std::vector<std::string> routed;
  int rebuilds = 0;
  std::vector<std::string> asked;
  std::vector<std::string> calls;
  HWND trade = nullptr;
  void Route(const void* body, int length) {
    routed.emplace_back(static_cast<const char*>(body), size_t(length));
  }
  void RebuildKeyboardIndex() override { ++rebuilds; }
  HWND TradeWindow() override { return trade; }
  bool AskData(const void* body, int length) override {
    asked.emplace_back(static_cast<const char*>(body), size_t(length));
    return true;
  }
  void SelectCode(SCodeInfo code) override {
    calls.push_back("select " + std::to_string(code.code));
  }
  void RunTypedCommand(const char* text) override { calls.push_back(std::string("typed ") + text); }
  void OpenBlock(const char* name) override { calls.push_back(std::string("block ") + name); }
  void ShowIndicator(const char* name) override { calls.push_back(std::string("formula ") + name); }
};

// The main window of the store's requests: hands them to the traffic.
class FunnelWindow : public platform::MsgTarget {
 public:
  CQuoteTraffic* traffic = nullptr;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_QUOTE_REQUEST && traffic)
      return traffic->OnQuoteRequest(wParam, reinterpret_cast<const void*>(lParam));
    return 0;
  }
};

struct QuoteTrafficTest : ::testing::Test {
  shell_test::TempFolders folders;
  CPublic store;
  TradeWindow tradeWindow;
  RecordingTrafficHost host;
  CQuoteTraffic traffic{host, store};
  std::vector<std::string> traces;

  QuoteTrafficTest() {
    shell_test::EnsureQtApp();
    host.trade = tradeWindow.GetSafeHwnd();
    store.SetLoginMode(2);
    traffic.programDir = [this] { return folders.ProgramDir(); };
    traffic.route = [this](const void* body, int length) { host.Route(body, length); };
    CMyThread::SetTraceSink([this](const std::string& line) { traces.push_back(line); });
  }
  ~QuoteTrafficTest() override { CMyThread::SetTraceSink(nullptr); }

  LRESULT Dispatch(const std::string& body) {
    const std::string copy = body;
    const LRESULT result = traffic.OnQuotePacket(copy.data(), int(copy.size()));
    EXPECT_EQ(copy, body) << "the body was written to";
    return result;
  }
};

TEST_F(QuoteTrafficTest, DispatchTable) {
  const std::string single = QuoteList(PKT_SINGLE_QUOTE, 1, {{600001, 12340}});
  const std::string prices = QuoteList(PKT_TRADE_QUOTES, 2, {{600001, 12340}, {600002, 5}});
  const std::string alarms = QuoteList(PKT_ALARM_QUOTES, 2, {{1, 1}, {2, 2}});
  const std::string tick = Bytes().U16(0x2B00).Zeros(7).U16(3).Zeros(20).data;
  const std::string emptyTick = Bytes().U16(0x0B00).Zeros(7).U16(0).Zeros(20).data;
  const std::string report = QuoteList(0x0200, 1, {{1, 1}});
  const std::string table = Bytes().U16(PKT_INIT_DATA).Zeros(40).data;
  struct Case {
    const char* what;
    std::string body;
    LRESULT result;
    size_t routed;     // packets routed after this one, in total
    size_t tradeMsgs;  // messages the trading window got, in total
    size_t traces;     // trace lines, in total
  } cases[] = {
      {"single quote to the trading window", single, 1, 0, 1, 0},
      {"single quote shorter than its head", single.substr(0, 10), -1, 0, 1, 1},
      {"prices to the trading window", prices, 1, 0, 2, 1},
      {"prices with a count past the body", prices.substr(0, 12 + 54 + 20), 0, 0, 2, 2},
      {"prices with none", QuoteList(PKT_TRADE_QUOTES, 0, {}), 0, 0, 2, 2},
      {"alarm quotes kept", alarms, 1, 0, 2, 2},
      {"alarm quotes cut short", alarms.substr(0, 60), 0, 0, 2, 3},
      {"push tick routed", tick, 1, 1, 2, 3},
      {"empty push tick dropped", emptyTick, 1, 1, 2, 3},
      {"push tick shorter than its count", tick.substr(0, 10), 1, 1, 2, 4},
      {"quote list routed", report, 1, 2, 2, 4},
      {"market table routed", table, 1, 3, 2, 4},
      {"one byte", std::string(1, '\x02'), 0, 3, 2, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Dispatch(c.body), c.result);
    EXPECT_EQ(host.routed.size(), c.routed);
    EXPECT_EQ(tradeWindow.got.size(), c.tradeMsgs);
    EXPECT_EQ(traces.size(), c.traces);
  }
  EXPECT_EQ(host.rebuilds, 1);
  EXPECT_EQ(host.routed[0], tick);
  ASSERT_EQ(tradeWindow.got.size(), 2u);
  EXPECT_EQ(tradeWindow.got[0].message, WM_TRADE_QUOTE);
  EXPECT_EQ(tradeWindow.got[0].packet, single);
  EXPECT_EQ(tradeWindow.got[1].message, WM_TRADE_PRICES);
  EXPECT_EQ(tradeWindow.got[1].prices, (std::map<int, double>{{600001, 12.34}, {600002, 0.005}}));
  EXPECT_EQ(traffic.AlarmQuotes().size(), 2u);
  EXPECT_EQ(+traffic.AlarmQuotes()[1].code.code, 2);
}

TEST_F(QuoteTrafficTest, QuotesOnlyKeepsTradingPacketsBack) {
  store.SetLoginMode(1);
  EXPECT_EQ(Dispatch(QuoteList(PKT_SINGLE_QUOTE, 1, {{1, 1}})), -1);
  EXPECT_EQ(Dispatch(QuoteList(PKT_TRADE_QUOTES, 1, {{1, 1}})), -1);
  EXPECT_TRUE(tradeWindow.got.empty());
}

TEST_F(QuoteTrafficTest, NoticeBodies) {
  const std::string text = "1^~2024-01-01^~t^~hello";
  EXPECT_EQ(Dispatch(Notice(text, int16_t(text.size()))), 1);
  EXPECT_EQ(traffic.Notice().text, "hello");
  EXPECT_EQ(traffic.Notice().updateFlag, 1);
  // A declared length past the body, or a body without its head, is dropped.
  EXPECT_EQ(Dispatch(Notice("x", 500)), 1);
  EXPECT_EQ(Dispatch(Notice("x", 1).substr(0, 6)), 1);
  EXPECT_EQ(traffic.Notice().text, "hello");
  EXPECT_EQ(traces.size(), 2u);
  // No text clears the notice.
  EXPECT_EQ(Dispatch(Notice("", 0)), 1);
  EXPECT_EQ(traffic.Notice().text, "");
  EXPECT_EQ(traffic.Notice().updateFlag, 0);
}

TEST_F(QuoteTrafficTest, RequestFunnel) {
  EXPECT_EQ(traffic.OnQuoteRequest(kRequestItem, nullptr), 0);
  const SCodeInfo none{0, 0}, item{4100, 600001};
  EXPECT_EQ(traffic.OnQuoteRequest(kRequestItem, &none), 0);
  EXPECT_EQ(traffic.OnQuoteRequest(kRequestItem, &item), 1);
  ASSERT_EQ(tradeWindow.got.size(), 1u);
  EXPECT_EQ(tradeWindow.got[0].wParam, 2u);
  EXPECT_EQ(tradeWindow.got[0].lParam, 600001);
  const std::string request = Bytes().U32(3).Text("abc").data;
  EXPECT_EQ(traffic.OnQuoteRequest(kRequestQuoteData, request.data()), 1);
  EXPECT_EQ(host.asked, std::vector<std::string>{"abc"});
  EXPECT_EQ(traffic.OnQuoteRequest(kRequestCommand, "03"), 1);
  EXPECT_EQ(traffic.OnQuoteRequest(kRequestBlock, "mine"), 1);
  EXPECT_EQ(traffic.OnQuoteRequest(kRequestFormula, "MACD"), 1);
  EXPECT_EQ(traffic.OnQuoteRequest(9, "x"), 1);
  const std::vector<std::string> calls = {"select 600001", "typed 03", "block mine",
                                          "formula MACD"};
  EXPECT_EQ(host.calls, calls);
  store.SetLoginMode(1);
  traffic.OnQuoteRequest(kRequestItem, &item);
  EXPECT_EQ(tradeWindow.got.size(), 1u);
}

TEST_F(QuoteTrafficTest, AlarmRequestIsCappedToOneFrame) {
  FunnelWindow funnel;
  funnel.traffic = &traffic;
  store.SetMainWnd(funnel.GetSafeHwnd());
  EXPECT_EQ(traffic.SendAlarmRequest(), 0);
  EXPECT_TRUE(host.asked.empty());
  std::string file;
  for (int i = 0; i < 400; ++i) file += Bytes().U16(4100).U32(uint32_t(i + 1)).Zeros(20).data;
  folders.Write("INDEX/ALARM.DEX", file);
  ASSERT_TRUE(store.LoadAlarmFile(folders.Path("INDEX/ALARM.DEX").c_str()));
  EXPECT_EQ(traffic.SendAlarmRequest(), 338);
  ASSERT_EQ(host.asked.size(), 1u);
  const std::string& r = host.asked[0];
  EXPECT_EQ(r.size(), 12u + 6u * 338u);
  EXPECT_LE(r.size(), size_t(kLinkMaxRequest));
  EXPECT_EQ(r.substr(0, 8), Bytes().U16(0x3300).U16(0x3000).U16(1).U16(338).data);
  EXPECT_EQ(r.substr(12, 6), Bytes().U16(4100).U32(1).data);
}

TEST_F(QuoteTrafficTest, UpdateOffer) {
  platform::ScopedRecordingBoxes boxes;
  std::vector<int> started, offered;
  int answer = IDCANCEL;
  bool startWorks = true;
  traffic.showNotice = [&](int mode, const std::string&) {
    offered.push_back(mode);
    return answer;
  };
  traffic.startUpdater = [&](int flag) {
    started.push_back(flag);
    return startWorks;
  };
  // No notice, no offer: nothing at show time; the menu starts it at once.
  EXPECT_EQ(traffic.LaunchUpdater(1), 0);
  EXPECT_EQ(traffic.LaunchUpdater(0), 1);
  const std::string text = "1^~2024-01-01^~t^~new version";
  Dispatch(Notice(text, int16_t(text.size())));
  EXPECT_EQ(traffic.LaunchUpdater(1), 0);  // declined
  answer = IDOK;
  EXPECT_EQ(traffic.LaunchUpdater(1), 1);
  EXPECT_EQ(offered, (std::vector<int>{1, 1}));
  EXPECT_EQ(started, (std::vector<int>{0, 1}));
  startWorks = false;
  EXPECT_EQ(traffic.LaunchUpdater(0), 0);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(platform::GbkToUtf8(boxes.Boxes()[0].text), "启动自动更新程序失败！");
  // A plain notice is shown but starts nothing.
  const std::string plain = "just news";
  Dispatch(Notice(plain, int16_t(plain.size())));
  EXPECT_EQ(traffic.LaunchUpdater(1), 0);
  EXPECT_EQ(offered.back(), 0);
}

}  // namespace
