// The quote simulator's quote lists, in-process: replies in the documented
// layout (read back with the program's own packet reader and compared
// with bytes written field by field), prices that move with the seeded
// walk, market-list pushes to the clients that show a market list, and
// the trading window's and the alarms' requests, built by the program's
// own request builders and read back by the readers of the program and
// of the trading window.
#include <gtest/gtest.h>

#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "link/quote_frame.h"
#include "link/quote_protocol.h"
#include "platform/socket.h"
#include "sim/quote-server/info_items.h"
#include "sim/quote-server/quote_replies.h"
#include "sim/quote-server/quote_server.h"
#include "tables/quote_packet_bytes.h"
#include "trade/ui/rules/quote_packet.h"
#include "zeb/core/dialogs/info_text.h"
#include "zeb/store/code_request.h"
#include "zeb/core/trade/trade_requests.h"
#include "zeb/tables/packets/info_packets.h"
#include "zeb/tables/packets/kline_packets.h"
#include "zeb/tables/packets/quote_packets.h"

namespace {

using namespace quotelink;

constexpr int kWaitMs = 20000;

std::unique_ptr<sim::QuoteServer> StartQuoteSim(uint32_t seed = 7) {
  sim::QuoteServerOptions options;
  options.port = 0;
  options.walkIntervalMs = 0;  // the tests step the walk
  options.verbose = false;
  options.seed = seed;
  auto server = std::make_unique<sim::QuoteServer>(options);
  EXPECT_TRUE(server->Start());
  return server;
}

class Client {
 public:
  explicit Client(int port) : fd_(platform::ConnectTcp("127.0.0.1", port, kWaitMs)) {}
  ~Client() { platform::CloseSocket(fd_); }
  bool Connected() const { return fd_ >= 0; }
  // A quote-list request: type, market, tag, count, reserved, then the codes.
  bool AskQuotes(uint16_t market, uint16_t tag, const std::vector<SCodeInfo>& codes,
                 int claimedCount = -1) {
    std::string body(12 + 6 * codes.size(), '\0');
    WriteU16(&body[0], 0x0200);
    WriteU16(&body[2], market);
    WriteU16(&body[4], tag);
    WriteU16(&body[6], static_cast<uint16_t>(claimedCount < 0 ? codes.size() : claimedCount));
    for (size_t i = 0; i < codes.size(); ++i) {
      WriteU16(&body[12 + 6 * i], codes[i].market);
      WriteU32(&body[12 + 6 * i + 2], static_cast<uint32_t>(codes[i].code));
    }
    return Send(body);
  }
  bool Send(const std::string& body) {
    const std::string frame = EncodeFrame(body.data(), body.size());
    return platform::SendAll(fd_, frame.data(), frame.size(), kWaitMs);
  }
  std::string Read() {
    unsigned char head[kFrameHeaderSize];
    if (!platform::RecvExact(fd_, head, sizeof head, kWaitMs)) return "";
    uint32_t length =
        (uint32_t)head[0] << 24 | (uint32_t)head[1] << 16 | (uint32_t)head[2] << 8 | head[3];
    std::string body(length, '\0');
    if (!platform::RecvExact(fd_, body.data(), body.size(), kWaitMs)) return "";
    return body;
  }

 private:
  int fd_;
};

const std::vector<SCodeInfo> kPage = {{4116, 100001}, {4116, 100100}, {4116, 100101}};

// The records the quote-list layout carries for the walk's items.
std::vector<SQuoteUnit> QuotesOf(const std::vector<sim::WalkItem>& items) {
  std::vector<SQuoteUnit> quotes;
  for (const sim::WalkItem& item : items) {
    SQuoteUnit q;
    q.code = SCodeInfo{item.market, item.code};
    q.open = item.open;
    q.high = item.high;
    q.low = item.low;
    q.last = item.price;
    q.volume = static_cast<uint32_t>(item.volume);
    q.curVolume = item.lastDeal;
    q.amount = static_cast<uint32_t>(item.amount);
    q.askPrice = item.ask;
    q.bidPrice = item.bid;
    q.askVolume = item.askVolume;
    q.bidVolume = item.bidVolume;
    q.orderRatio = item.orderRatio;
    quotes.push_back(q);
  }
  return quotes;
}

std::string Text(const std::vector<uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

TEST(QuoteSimLists, RepliesInTheDocumentedLayout) {
  auto server = StartQuoteSim();
  Client client(server->Port());
  ASSERT_TRUE(client.Connected());
  // Favourites name items of any market; an unknown code is left out.
  std::vector<SCodeInfo> asked = kPage;
  asked.push_back({4116, 999999});
  ASSERT_TRUE(client.AskQuotes(0x21FF, 9, asked));
  const std::string reply = client.Read();
  SQuotePacket packet;
  ASSERT_TRUE(ReadQuotePacket(reply.data(), reply.size(), &packet));
  EXPECT_EQ(packet.head.type, PKT_REPORT);
  EXPECT_EQ(packet.head.tag, 9);
  ASSERT_EQ(packet.records.size(), 3u);

  // Byte for byte what the layout says, for the walk's figures.
  const std::vector<sim::WalkItem> items = server->Market().Find({100001, 100100, 100101});
  ASSERT_EQ(items.size(), 3u);
  const std::vector<SQuoteUnit> expected = QuotesOf(items);
  EXPECT_EQ(reply, tables_test::QuoteListBody(PKT_REPORT, 9, expected));

  // A count past the codes sent answers the codes there are.
  ASSERT_TRUE(client.AskQuotes(4116, 1, kPage, 40));
  const std::string bounded = client.Read();
  ASSERT_TRUE(ReadQuotePacket(bounded.data(), bounded.size(), &packet));
  EXPECT_EQ(packet.records.size(), 3u);
}

TEST(QuoteSimLists, TradingWindowPricesAndAlarmQuotesInTheQuoteListLayout) {
  auto server = StartQuoteSim();
  Client client(server->Port());
  ASSERT_TRUE(client.Connected());
  for (int i = 0; i < 3; ++i) server->Market().Step();
  const std::vector<sim::WalkItem> items = server->Market().Find({602001, 100001, 701001});
  ASSERT_EQ(items.size(), 3u);

  const std::vector<std::vector<uint8_t>> prices =
      BuildSubscriptionRequests({"602001", "100001", "701001"}, 4);
  ASSERT_EQ(prices.size(), 1u);
  ASSERT_TRUE(client.Send(Text(prices[0])));
  const std::string reply = client.Read();
  EXPECT_EQ(reply, tables_test::QuoteListBody(PKT_TRADE_QUOTES, 4, QuotesOf(items)));

  const std::vector<SCodeInfo> alarms = {{4114, 602001}, {4116, 100001}, {4117, 701001}};
  const std::vector<uint8_t> alarm =
      BuildCodeRequest(PKT_ALARM_QUOTES, 0x3000, 6, alarms.data(), 3);
  ASSERT_TRUE(client.Send(Text(alarm)));
  const std::string alarmReply = client.Read();
  EXPECT_EQ(alarmReply, tables_test::QuoteListBody(PKT_ALARM_QUOTES, 6, QuotesOf(items)));
  SQuotePacket packet;
  ASSERT_TRUE(ReadQuotePacket(alarmReply.data(), alarmReply.size(), &packet));
  EXPECT_EQ(packet.records.size(), 3u);
}

TEST(QuoteSimLists, SingleQuoteOfOneItemMovesWithTheMarket) {
  auto server = StartQuoteSim();
  Client client(server->Port());
  ASSERT_TRUE(client.Connected());
  server->Market().Step();
  const sim::WalkItem item = server->Market().Find({605001}).at(0);

  ASSERT_TRUE(client.Send(Text(BuildSingleQuoteRequest(605001, 3))));
  const std::string reply = client.Read();
  // The documented offsets, one field at a time: the item, its range and
  // last price, then ten levels from 61, asks from the fifth down to the
  // best and bids from the best down to the fifth, one spread apart.
  tables_test::PacketBytes b;
  b.U16(0, 0x0800).U16(2, 3).U16(4, item.market).I32(6, item.code);
  b.U32(20, item.high).U32(24, item.low).U32(28, item.price).Size(141);
  const uint32_t spread = item.ask - item.bid;
  for (uint32_t level = 0; level < 5; ++level) {
    b.U32(61 + 8 * (4 - level), item.ask + level * spread)
        .U32(65 + 8 * (4 - level), item.askVolume + 100 * level);
    b.U32(101 + 8 * level, item.bid - level * spread)
        .U32(105 + 8 * level, item.bidVolume + 100 * level);
  }
  EXPECT_EQ(reply, b.Bytes());
  // The trading window's reader agrees.
  SSingleQuote quote;
  ASSERT_TRUE(ReadSingleQuote(reply.data(), static_cast<int>(reply.size()), &quote));
  EXPECT_EQ(quote.code, 605001u);
  EXPECT_EQ(quote.last, item.price);
  EXPECT_EQ(quote.price[4], item.ask);  // 卖①
  EXPECT_EQ(quote.price[5], item.bid);  // 买①
  for (int i = 1; i < 10; ++i) EXPECT_LT(quote.price[i], quote.price[i - 1]) << i;

  // As the market moves, so does the quote.
  std::string moved;
  for (int step = 0; step < 50 && (moved.empty() || moved.substr(28, 4) == reply.substr(28, 4));
       ++step) {
    server->Market().Step();
    ASSERT_TRUE(client.Send(Text(BuildSingleQuoteRequest(605001, 3))));
    moved = client.Read();
  }
  EXPECT_NE(moved.substr(28, 4), reply.substr(28, 4));

  // An item the market does not list gets no answer: the next body is the
  // keep-alive's.
  ASSERT_TRUE(client.Send(Text(BuildSingleQuoteRequest(999999, 3))));
  ShortRequest keepAlive = BuildRequestHeader(PKT_KEEPALIVE, 0, kKeepAliveTag, 0);
  ASSERT_TRUE(
      client.Send(std::string(reinterpret_cast<const char*>(keepAlive.data()), keepAlive.size())));
  const std::string next = client.Read();
  ASSERT_GE(next.size(), 2u);
  EXPECT_EQ(ReadU16(next.data()), PKT_KEEPALIVE);
}

TEST(QuoteSimLists, PricesMoveWithTheSeededWalk) {
  auto a = StartQuoteSim(7), b = StartQuoteSim(7);
  for (int i = 0; i < 5; ++i) {
    a->Market().Step();
    b->Market().Step();
  }
  const std::string one = sim::BuildQuoteList(0x0200, 1, a->Market().Snapshot(), 0);
  EXPECT_EQ(one,
            sim::BuildQuoteList(0x0200, 1, b->Market().Snapshot(), 0));  // same seed, same market
  a->Market().Step();
  const std::vector<sim::WalkItem> moved = a->Market().Snapshot();
  const std::vector<sim::WalkItem> before = b->Market().Snapshot();
  int changed = 0, traded = 0;
  for (size_t i = 0; i < moved.size(); ++i) {
    changed += moved[i].price != before[i].price;
    // An item without a deal in the step keeps every figure, so a quote
    // list marks only the items that traded.
    if (moved[i].volume == before[i].volume) {
      EXPECT_EQ(sim::BuildQuoteList(0x0200, 1, {moved[i]}, 0),
                sim::BuildQuoteList(0x0200, 1, {before[i]}, 0))
          << i;
    } else {
      ++traded;
    }
    // Within 10% of the previous close, inside the day's range, a deal at
    // the bid or the ask.
    EXPECT_LE(moved[i].price, moved[i].preClose + moved[i].preClose / 10);
    EXPECT_GE(moved[i].price, moved[i].preClose - moved[i].preClose / 10);
    EXPECT_LE(moved[i].low, moved[i].price);
    EXPECT_GE(moved[i].high, moved[i].price);
    EXPECT_TRUE(moved[i].price == moved[i].bid || moved[i].price == moved[i].ask);
    EXPECT_GE(moved[i].volume, before[i].volume);
  }
  // Some items trade in a step, most do not.
  EXPECT_GT(changed, 0);
  EXPECT_LE(changed, traded);
  EXPECT_LT(traded, static_cast<int>(moved.size()) / 4);
}

TEST(QuoteSimLists, PushesGoToClientsShowingAMarketList) {
  auto server = StartQuoteSim();
  Client market(server->Port()), favourites(server->Port());
  ASSERT_TRUE(market.AskQuotes(4116, 1, kPage));
  ASSERT_FALSE(market.Read().empty());
  ASSERT_TRUE(favourites.AskQuotes(0x21FF, 1, kPage));
  ASSERT_FALSE(favourites.Read().empty());

  const size_t total = server->Market().CountMarket(4116);
  SQuotePacket packet;
  const uint16_t kinds[] = {PKT_REPORT_PUSH, PKT_REPORT_PUSH_ALT, PKT_REPORT_GROUPED,
                            PKT_REPORT_PUSH};
  for (uint16_t kind : kinds) {
    server->Market().Step();
    server->PushQuoteLists();
    const std::string push = market.Read();
    ASSERT_TRUE(ReadQuotePacket(push.data(), push.size(), &packet)) << kind;
    EXPECT_EQ(packet.head.type, kind);
    EXPECT_EQ(packet.head.tag, 1);
    ASSERT_EQ(packet.records.size(), kPage.size());
    for (size_t i = 0; i < kPage.size(); ++i) EXPECT_EQ(packet.records[i].code, kPage[i]);
    if (kind != PKT_REPORT_GROUPED) {
      EXPECT_EQ(packet.total, total);
    }
  }
  // The favourites' client got none: its next body answers its keep-alive.
  ShortRequest keepAlive = BuildRequestHeader(PKT_KEEPALIVE, 0, kKeepAliveTag, 0);
  ASSERT_TRUE(favourites.Send(
      std::string(reinterpret_cast<const char*>(keepAlive.data()), keepAlive.size())));
  const std::string next = favourites.Read();
  ASSERT_GE(next.size(), 2u);
  EXPECT_EQ(ReadU16(next.data()), PKT_KEEPALIVE);
}

}  // namespace

// The information texts: the program's request is answered with the text
// of the item's entry for that date, which the program's reader takes.
TEST(QuoteSimLists, InformationTextsPerItemAndDate) {
  const std::time_t now = std::time(nullptr);
  const SCodeInfo item{4352, 602001};
  const std::vector<sim::InfoItem> entries = sim::InfoItemsOf(item.market, item.code, now);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_LT(entries[0].date, entries[2].date);
  const std::vector<uint8_t> request = BuildInfoRequest(item, kInfoPageKLine, entries[1].date, 0);
  const std::string reply =
      sim::AnswerInfoRequest(std::string(request.begin(), request.end()), now);
  SPacketHead head;
  ASSERT_TRUE(ReadPacketHead(reply.data(), reply.size(), &head));
  EXPECT_EQ(head.tag, kInfoPageKLine);
  std::string text;
  ASSERT_TRUE(ReadInfoText(reply.data(), reply.size(), &text));
  EXPECT_EQ(text, entries[1].text);
  EXPECT_NE(text.find("\r\n"), std::string::npos);
  // A date without an entry gets an empty text; a short request nothing.
  const std::vector<uint8_t> none = BuildInfoRequest(item, kInfoPageKLine, 19990101, 0);
  const std::string empty = sim::AnswerInfoRequest(std::string(none.begin(), none.end()), now);
  ASSERT_TRUE(ReadInfoText(empty.data(), empty.size(), &text));
  EXPECT_EQ(text, "");
  EXPECT_EQ(sim::AnswerInfoRequest(std::string(request.begin(), request.begin() + 20), now), "");
}

// A first K-line request brings the history, then the ex-rights records in
// the one layout the chart and the chip distribution read, then the titles
// of the information entries, whose texts the information request returns;
// a request for the ex-rights records alone gets the same records.
TEST(QuoteSimLists, KLineHistoryBringsExRightsAndTheInformationTitles) {
  auto server = StartQuoteSim();
  Client client(server->Port());
  ASSERT_TRUE(client.Connected());
  tables_test::PacketBytes request;
  request.U16(0, 0x0500 + 61).U16(2, 4114).U16(4, 1).U16(6, 3).U16(12, 4114).U32(14, 602001);
  request.U32(20, 0).U32(26, 100);
  ASSERT_TRUE(client.Send(request.Bytes()));
  const std::string history = client.Read();
  const std::string exRights = client.Read();
  const std::string titles = client.Read();
  ASSERT_GE(history.size(), 2u);
  EXPECT_EQ(ReadU16(history.data()), 0x053D);
  std::vector<SExRightsRecord> records;
  ASSERT_TRUE(ReadExRights(exRights.data(), exRights.size(), &records));
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].shares, 2000);  // a bonus: no rights price
  EXPECT_EQ(records[0].rightsPrice, 0);
  EXPECT_EQ(records[1].dividend, 1500);
  EXPECT_LT(uint32_t(records[0].date), server->TradeDate());
  std::map<uint32_t, std::string> read;
  ASSERT_TRUE(ReadInfoTitles(titles.data(), titles.size(), &read));
  const std::time_t day = sim::DayClock(server->TradeDate());
  const std::vector<sim::InfoItem> entries = sim::InfoItemsOf(4114, 602001, day);
  ASSERT_EQ(read.size(), entries.size());
  for (const sim::InfoItem& e : entries) {
    EXPECT_EQ(read[uint32_t(e.date)], e.title);
    const std::vector<uint8_t> ask =
        BuildInfoRequest(SCodeInfo{4114, 602001}, kInfoPageKLine, e.date, 0);
    ASSERT_TRUE(client.Send(Text(ask)));
    const std::string reply = client.Read();
    std::string text;
    ASSERT_TRUE(ReadInfoText(reply.data(), reply.size(), &text));
    EXPECT_EQ(text, e.text);
  }
  request.U16(0, 0x1300);
  ASSERT_TRUE(client.Send(request.Bytes()));
  EXPECT_EQ(client.Read(), exRights);
}
