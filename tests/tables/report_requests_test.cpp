// The quote list's requests and replies: windows of a user list, pages of
// a market list, pushed lists, and replies that change nothing.
#include <gtest/gtest.h>

#include "report_test_support.h"
#include "zeb/tables/base/table_keys.h"

using namespace tables_test;
using namespace table_keys;

namespace {

class ReportRequestTest : public ReportTest {
 protected:
  // A market of count items and the same items as favourites.
  void Favourites(int count) {
    LoadSeries(kMarket, 100000, count);
    for (int i = 0; i < count; ++i)
      store.GetSelectedStocks().push_back(SCodeInfo{kMarket, 100000 + i});
    Init();
    ASSERT_EQ(table.LoadItems(kFavouritesList, GBK("自选藏品")), 1);
  }
  static uint32_t Ten(const SCodeInfo&) { return 10000; }
};

TEST_F(ReportRequestTest, UserListOf250AsksInWindowsUntilEveryItemHasQuotes) {
  Favourites(250);
  table.RequestQuotes();
  ASSERT_EQ(frame.requests.size(), 1u);
  const auto& first = frame.requests[0];
  EXPECT_EQ(first.type, PKT_REPORT);
  EXPECT_EQ(first.market, kFavouritesList);
  EXPECT_EQ(first.tag, 1);
  EXPECT_EQ(first.count, 50);  // the remainder first: 250 mod 200
  EXPECT_EQ(first.bytes.size(), 12u + 6 * 50);
  EXPECT_EQ(first.items.front(), (SCodeInfo{kMarket, 100000}));
  EXPECT_EQ(first.items.back(), (SCodeInfo{kMarket, 100049}));

  // The first reply asks for the next window at once; the first round
  // shows what has come.
  EXPECT_EQ(Reply(Answer(first, Ten)), 1);
  ASSERT_EQ(frame.requests.size(), 2u);
  const auto second = frame.requests[1];
  EXPECT_EQ(second.count, 200);
  EXPECT_EQ(second.items.front(), (SCodeInfo{kMarket, 100050}));
  EXPECT_EQ(second.items.back(), (SCodeInfo{kMarket, 100249}));
  EXPECT_EQ(table.GetRowCount(), 50);

  EXPECT_EQ(Reply(Answer(second, Ten)), 1);
  EXPECT_EQ(frame.requests.size(), 2u);  // complete: nothing more to ask
  EXPECT_EQ(table.GetRowCount(), 250);
  EXPECT_EQ(table.GetDisplayList().size(), 250u);
  EXPECT_EQ(store.GetReportCodes().size(), 250u);

  // A refresh starts over; the rows keep the complete round meanwhile.
  table.RequestQuotes();
  ASSERT_EQ(frame.requests.size(), 3u);
  EXPECT_EQ(frame.requests[2].count, 50);
  Reply(Answer(frame.requests[2], Ten));
  ASSERT_EQ(frame.requests.size(), 4u);
  EXPECT_EQ(frame.requests[3].count, 200);
  EXPECT_EQ(table.GetRowCount(), 250);
  Reply(Answer(frame.requests[3], Ten));
  EXPECT_EQ(table.GetRowCount(), 250);
  EXPECT_EQ(frame.requests.size(), 4u);
}

TEST_F(ReportRequestTest, UserListOf200AsksOnce) {
  Favourites(200);
  table.RequestQuotes();
  ASSERT_EQ(frame.requests.size(), 1u);
  EXPECT_EQ(frame.requests[0].count, 200);
  Reply(Answer(frame.requests[0], Ten));
  EXPECT_EQ(frame.requests.size(), 1u);
  EXPECT_EQ(table.GetRowCount(), 200);
}

TEST_F(ReportRequestTest, MarketListAsksForTheShownPage) {
  LoadSeries(kMarket, 100000, 25);
  Init();
  ASSERT_EQ(table.LoadItems(kMarket, "x"), 1);
  EXPECT_TRUE(table.IsMarketList());
  table.RequestQuotes();
  ASSERT_EQ(frame.requests.size(), 1u);
  EXPECT_EQ(frame.requests[0].market, kMarket);
  EXPECT_EQ(frame.requests[0].count, 10);
  Reply(Answer(frame.requests[0], Ten));
  EXPECT_EQ(Column(0).front(), "1");

  EXPECT_EQ(table.OnKey(kNext), 1);
  ASSERT_EQ(frame.requests.size(), 2u);
  EXPECT_EQ(frame.requests[1].items.front(), (SCodeInfo{kMarket, 100010}));
  EXPECT_EQ(frame.requests[1].count, 10);
  // Until the page's quotes arrive the selection means the item at that place.
  EXPECT_EQ(table.GetSelectedCode(), (SCodeInfo{kMarket, 100010}));
  Reply(Answer(frame.requests[1], Ten));
  EXPECT_EQ(Column(0).front(), "11");
  EXPECT_EQ(Column(1).front(), "100010");

  table.OnKey(kNext);  // the last page holds 5
  EXPECT_EQ(frame.requests.back().count, 5);
  EXPECT_EQ(frame.requests.back().items.front(), (SCodeInfo{kMarket, 100020}));
  table.OnKey(kNext);  // from the last page back to the first
  EXPECT_EQ(table.GetPageStart(), 0);
  table.OnKey(kPrior);  // and before the first to the last
  EXPECT_EQ(table.GetPageStart(), 20);
}

TEST_F(ReportRequestTest, NoRowFittingPagesNothingAndAsksNothing) {
  LoadSeries(kMarket, 100000, 25);
  Init(2000, 30);  // one fitting row: the header's
  table.LoadItems(kMarket, "x");
  for (UINT key : {kPrior, kNext, kUp, kDown}) EXPECT_EQ(table.OnKey(key), 0);
  EXPECT_EQ(table.StepSelection(1), 0);
  table.RequestQuotes();
  EXPECT_TRUE(frame.requests.empty());
  EXPECT_EQ(table.GetPageStart(), 0);
}

TEST_F(ReportRequestTest, StepSelectionWrapsOverItemsAndTurnsPages) {
  Favourites(25);
  table.RequestQuotes();
  Reply(Answer(frame.requests[0], Ten));
  ASSERT_EQ(table.GetRowCount(), 25);
  // -1 on the first item selects the last, on its page.
  EXPECT_EQ(table.StepSelection(-1), 1);
  EXPECT_EQ(table.GetPageStart(), 20);
  EXPECT_EQ(table.GetTopRow(), 20);
  EXPECT_EQ(table.GetSelRow(), 4);
  EXPECT_EQ(table.GetSelectedCode(), (SCodeInfo{kMarket, 100024}));
  // +1 on the last selects the first.
  EXPECT_EQ(table.StepSelection(1), 1);
  EXPECT_EQ(table.GetPageStart(), 0);
  EXPECT_EQ(table.GetSelRow(), 0);
  EXPECT_EQ(table.GetSelectedCode(), (SCodeInfo{kMarket, 100000}));
  EXPECT_EQ(table.StepSelection(12), 1);
  EXPECT_EQ(table.GetSelectedCode(), (SCodeInfo{kMarket, 100012}));

  // A user list turns its pages and its shown rows together: the selected
  // row is the item opened.
  table.LoadItems(kFavouritesList, "");
  table.RequestQuotes();
  Reply(Answer(frame.requests.back(), Ten));
  table.OnKey(kNext);
  EXPECT_EQ(table.GetTopRow(), table.GetPageStart());
  table.OnKey(kNext);
  EXPECT_EQ(table.GetTopRow(), table.GetPageStart());
  table.OnKey(kDown);
  EXPECT_EQ(+table.GetSelectedCode().code, 100000 + table.GetTopRow() + table.GetSelRow());

  // An empty list has nothing to step over or open.
  store.GetSelectedStocks().clear();
  EXPECT_EQ(table.LoadItems(kFavouritesList, ""), 0);
  EXPECT_EQ(table.StepSelection(1), 0);
  EXPECT_TRUE(table.GetSelectedCode().IsEmpty());
}

TEST_F(ReportRequestTest, RepliesThatChangeNothing) {
  Favourites(3);
  table.RequestQuotes();
  const auto quotes = Answer(frame.requests[0], Ten);
  EXPECT_EQ(Reply(quotes, PKT_REPORT, 2), 0);  // another request's tag
  EXPECT_EQ(Reply({}), 0);                     // no records
  const std::string body = QuoteListBody(PKT_REPORT, 1, quotes);
  EXPECT_EQ(table.UpdateData(body.data(), static_cast<int>(body.size()) - 1), 0);  // truncated
  EXPECT_EQ(table.UpdateData(body.data(), 3), 0);
  EXPECT_EQ(table.UpdateData(nullptr, 100), 0);
  EXPECT_EQ(Reply(quotes, 0x0300), 1);  // not the quote list's: ignored
  EXPECT_EQ(table.GetRowCount(), 0);
  // Pushed market lists do not concern a user list.
  EXPECT_EQ(Reply(quotes, PKT_REPORT_PUSH), 1);
  EXPECT_EQ(table.GetRowCount(), 0);
  // Items the store does not know make no row.
  std::vector<SQuoteUnit> withStranger = quotes;
  withStranger.push_back(Quote(kMarket, 999999, 10000));
  EXPECT_EQ(Reply(withStranger), 1);
  EXPECT_EQ(table.GetRowCount(), 3);
}

TEST_F(ReportRequestTest, PushedMarketListsShowInArrivalOrder) {
  LoadSeries(kMarket, 100000, 30);
  Init();
  table.LoadItems(kMarket, "x");
  table.SortBy(5);  // a sort the pushed lists do not follow
  const std::vector<SQuoteUnit> quotes = {
      Quote(kMarket, 100003, 11000), Quote(kMarket, 100001, 9000), Quote(kMarket, 100002, 10000)};
  const std::string push = QuoteListBody(PKT_REPORT_PUSH, 1, quotes, 30);
  EXPECT_EQ(table.UpdateData(push.data(), static_cast<int>(push.size())), 1);
  EXPECT_EQ(Column(1), (std::vector<std::string>{"100003", "100001", "100002"}));
  EXPECT_EQ(table.GetItemCount(), 30);

  const std::string grouped = GroupedBody(1, 2, {quotes[2], quotes[0]});
  EXPECT_EQ(table.UpdateData(grouped.data(), static_cast<int>(grouped.size())), 1);
  EXPECT_EQ(Column(1), (std::vector<std::string>{"100002", "100003"}));
  EXPECT_EQ(table.UpdateData(grouped.data(), static_cast<int>(grouped.size()) - 54), 0);
  EXPECT_EQ(Column(1).size(), 2u);

  // A pushed count larger than the items known never asks past them.
  const std::string big = QuoteListBody(PKT_REPORT_PUSH_ALT, 1, quotes, 60000);
  table.UpdateData(big.data(), static_cast<int>(big.size()));
  table.OnKey(kPrior);
  for (const auto& request : frame.requests) EXPECT_LE(request.items.size(), 10u);
  for (const auto& request : frame.requests)
    for (const SCodeInfo& code : request.items) EXPECT_LT(+code.code, 100030);
}

}  // namespace
