// The quote list against the quote simulator: the table's own requests
// go to the simulator over a socket and its replies come back into the
// table, so the two agree on every byte of the road.
#include <gtest/gtest.h>

#include "link/quote_frame.h"
#include "platform/socket.h"
#include "report_test_support.h"
#include "sim/market/demo_market.h"
#include "sim/quote-server/quote_server.h"

using namespace tables_test;

namespace {

constexpr int kWaitMs = 20000;

class ReportSimTest : public ReportTest {
 protected:
  ReportSimTest() {
    sim::QuoteServerOptions options;
    options.port = 0;
    options.walkIntervalMs = 0;
    options.verbose = false;
    server = std::make_unique<sim::QuoteServer>(options);
    EXPECT_TRUE(server->Start());
    fd = platform::ConnectTcp("127.0.0.1", server->Port(), kWaitMs);
    const std::string table = BuildDemoMarketTable();
    EXPECT_EQ(store.ParseMarketTable(table.data(), static_cast<int>(table.size())), 0);
  }
  ~ReportSimTest() override { platform::CloseSocket(fd); }

  // The next frame's body from the simulator; empty when none came.
  std::string ReadBody() {
    unsigned char head[quotelink::kFrameHeaderSize];
    if (!platform::RecvExact(fd, head, sizeof head, kWaitMs)) return "";
    const uint32_t length =
        (uint32_t)head[0] << 24 | (uint32_t)head[1] << 16 | (uint32_t)head[2] << 8 | head[3];
    std::string body(length, '\0');
    if (!platform::RecvExact(fd, body.data(), body.size(), kWaitMs)) return "";
    return body;
  }
  // Sends every request the table made to the simulator and hands each
  // reply to the table, until the table asks no more.
  void Serve() {
    for (size_t next = 0; next < frame.requests.size(); ++next) {
      const std::string& request = frame.requests[next].bytes;
      const std::string out = quotelink::EncodeFrame(request.data(), request.size());
      ASSERT_TRUE(platform::SendAll(fd, out.data(), out.size(), kWaitMs));
      const std::string reply = ReadBody();
      ASSERT_EQ(table.UpdateData(reply.data(), static_cast<int>(reply.size())), 1);
    }
  }

  std::unique_ptr<sim::QuoteServer> server;
  int fd = -1;
};

TEST_F(ReportSimTest, EveryFavouriteGetsTheSimulatorsQuotes) {
  for (const CMarketInfo& market : store.GetMarkets())
    for (const SStockInfo& item : market.stocks) store.GetSelectedStocks().push_back(item.GetKey());
  const size_t count = store.GetSelectedStocks().size();
  ASSERT_GT(count, 200u);  // more than one window
  Init();
  table.LoadItems(kFavouritesList, "");
  server->Market().Step();
  table.RequestQuotes();
  Serve();
  EXPECT_EQ(frame.requests.size(), (count + 199) / 200);
  ASSERT_EQ(table.GetRowCount(), static_cast<int>(count));

  // The last prices shown are the simulator's.
  const int lastColumn = ReportColumnIndexOfId(kColLast);
  for (int row = 0; row < table.GetRowCount(); row += 37) {
    const int32_t code = std::stoi(table.GetCellText(row, 1));
    const std::vector<sim::WalkItem> item = server->Market().Find({code});
    ASSERT_EQ(item.size(), 1u);
    char expected[32];
    std::snprintf(expected, sizeof expected, "%.2f", item[0].price / 1000.0);
    EXPECT_EQ(table.GetCellText(row, lastColumn), expected) << code;
  }
}

TEST_F(ReportSimTest, AMarketPageAndThePushesThatFollow) {
  Init();
  ASSERT_EQ(table.LoadItems(kAllMarketsAlt, GBK("全部藏品")), 1);
  table.RequestQuotes();
  Serve();
  ASSERT_EQ(table.GetRowCount(), 10);
  EXPECT_EQ(table.GetCellText(0, 0), "1");

  // A pushed update of the page reaches the table like any reply.
  server->Market().Step();
  server->PushQuoteLists();
  const std::string push = ReadBody();
  EXPECT_EQ(table.UpdateData(push.data(), static_cast<int>(push.size())), 1);
  EXPECT_EQ(table.GetRowCount(), 10);
  EXPECT_EQ(table.GetItemCount(), static_cast<int>(server->Market().Size()));
}

}  // namespace
