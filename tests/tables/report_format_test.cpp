// Formatting the quote figures: units, signs, colours against the
// previous close, the cases without a value, and the change highlight
// kept per item between refreshes.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "report_test_support.h"
#include "zeb/tables/base/table_keys.h"
#include "zeb/tables/report/report_format.h"

using namespace tables_test;

namespace {

constexpr COLORREF kNone = CLR_INVALID;

class ReportFormatTest : public ReportTest {};

TEST_F(ReportFormatTest, FormatCellTable) {
  LoadMarket({{kMarket, {Item(100001, "a", 10000, 1000, 50000)}}, {4097, {Item(1, "idx", 10000)}}});
  const SCodeInfo itemKey{kMarket, 100001}, indexKey{4097, 1};
  const SStockInfo item = *store.FindStock(&itemKey);
  SStockInfo noClose = item;
  noClose.preClose = 0;
  SStockInfo noBase = item;
  noBase.circulating = 0;
  const SStockInfo index = *store.FindStock(&indexKey);

  struct Case {
    const char* what;
    int column;
    std::function<void(SQuoteUnit&)> set;
    const SStockInfo* item;
    float previous;
    std::string text;
    COLORREF color;
    COLORREF background;
  };
  const COLORREF rise = Color(2), fall = Color(4), level = Color(3), volume = Color(1),
                 other = Color(33);
  auto none = [](SQuoteUnit&) {};
  const Case cases[] = {
      {"open above close", kColOpen, [](SQuoteUnit& q) { q.open = 10500; }, &item, 0, "10.50", rise,
       kNone},
      {"no open", kColOpen, [](SQuoteUnit& q) { q.open = 0; }, &item, 0, "-", fall, kNone},
      {"last below close", kColLast, [](SQuoteUnit& q) { q.last = 9990; }, &item, 0, "9.99", fall,
       kNone},
      {"last changed", kColLast, [](SQuoteUnit& q) { q.last = 10100; }, &item, 10.0f, "10.10", rise,
       kReportChangedBackground},
      {"last unchanged", kColLast, [](SQuoteUnit& q) { q.last = 10100; }, &item, 10.1f, "10.10",
       rise, kNone},
      {"change down", kColChange, [](SQuoteUnit& q) { q.last = 9500; }, &item, 0, "-0.50", fall,
       kNone},
      {"change rate up", kColChangeRate, [](SQuoteUnit& q) { q.last = 10500; }, &item, 0, "5.00%",
       rise, kNone},
      {"change rate without close", kColChangeRate, [](SQuoteUnit& q) { q.last = 10500; }, &noClose,
       0, "-", rise, kNone},
      {"change rate untraded", kColChangeRate, [](SQuoteUnit& q) { q.last = 0; }, &item, 0, "-",
       fall, kNone},
      {"high", kColHigh, [](SQuoteUnit& q) { q.high = 11000; }, &item, 10.5f, "11.00", rise,
       kReportChangedBackground},
      {"low above the high", kColLow,
       [](SQuoteUnit& q) {
         q.high = 9000;
         q.low = 9500;
       },
       &item, 0, "-", fall, kNone},
      {"low", kColLow,
       [](SQuoteUnit& q) {
         q.high = 11000;
         q.low = 9500;
       },
       &item, 0, "9.50", fall, kNone},
      {"previous close", kColPreClose, none, &item, 0, "10.00", level, kNone},
      {"average", kColAverage,
       [](SQuoteUnit& q) {
         q.volume = 100;
         q.amount = 1010000;
       },
       &item, 0, "10.10", rise, kNone},
      {"average untraded", kColAverage, [](SQuoteUnit& q) { q.volume = 0; }, &item, 0, "0.00",
       level, kNone},
      {"deal at the bid", kColCurVolume,
       [](SQuoteUnit& q) {
         q.curVolume = 42;
         q.bidPrice = q.last;
       },
       &item, 0, "42", fall, kNone},
      {"deal at the ask", kColCurVolume,
       [](SQuoteUnit& q) {
         q.curVolume = 7;
         q.askPrice = q.last;
         q.bidPrice = 1;
       },
       &item, 0, "7", rise, kNone},
      {"bid", kColBidPrice, [](SQuoteUnit& q) { q.bidPrice = 9900; }, &item, 0, "9.90", fall,
       kNone},
      {"bid of an index", kColBidPrice, [](SQuoteUnit& q) { q.bidPrice = 9900; }, &index, 0, "-",
       level, kNone},
      {"ask volume", kColAskVolume, [](SQuoteUnit& q) { q.askVolume = 123; }, &item, 0, "123",
       volume, kNone},
      {"volume in 亿", kColVolume, [](SQuoteUnit& q) { q.volume = 123456789; }, &item, 0,
       GBK("1.23亿"), volume, kNone},
      {"volume in 万", kColVolume, [](SQuoteUnit& q) { q.volume = 12345; }, &item, 0, GBK("1.23万"),
       volume, kNone},
      {"small volume", kColVolume, [](SQuoteUnit& q) { q.volume = 9999; }, &item, 0, "9999", volume,
       kNone},
      {"inventory", kColInventory, none, &item, 0, "-", volume, kNone},
      {"amount in 万", kColAmount, [](SQuoteUnit& q) { q.amount = 123456789; }, &item, 0,
       GBK("12.35万"), other, kNone},
      {"small amount", kColAmount, [](SQuoteUnit& q) { q.amount = 9999000; }, &item, 0, "9999.00",
       other, kNone},
      // 13:00 is minute 121 of 240: half the day for the whole day's reference volume.
      {"volume ratio", kColVolumeRatio, [](SQuoteUnit& q) { q.volume = 1000; }, &item, 0, "2.00",
       kReportVolumeRatioColor, kNone},
      {"no volume ratio", kColVolumeRatio, [](SQuoteUnit& q) { q.volume = 0; }, &item, 0, "-",
       kReportVolumeRatioColor, kNone},
      {"order ratio", kColOrderRatio, [](SQuoteUnit& q) { q.orderRatio = -1234; }, &item, 0,
       "-12.34%", fall, kNone},
      {"no order ratio", kColOrderRatio, [](SQuoteUnit& q) { q.orderRatio = 0; }, &item, 0, "-",
       level, kNone},
      {"turnover", kColTurnover, [](SQuoteUnit& q) { q.volume = 500; }, &item, 0, "1.00%", rise,
       kNone},
      {"turnover without a base", kColTurnover, [](SQuoteUnit& q) { q.volume = 500; }, &noBase, 0,
       "0.00%", rise, kNone},
  };
  SReportFormatContext context{&store, CSysStyle::GetInstance(),
                               store.TimeToMinuteIndex(0, 13 * 60)};
  for (const Case& c : cases) {
    SQuoteUnit q = Quote(kMarket, 100001, 10000);
    q.open = q.high = q.low = q.last = 0;
    c.set(q);
    SReportCell cell;
    cell.text = "stale";
    FormatReportCell(context, c.column, q, *c.item, c.previous, &cell);
    EXPECT_EQ(cell.text, c.text) << c.what;
    EXPECT_EQ(cell.textColor, c.color) << c.what;
    EXPECT_EQ(cell.background, c.background) << c.what;
  }
}

TEST_F(ReportFormatTest, ChangeHighlightComparesWithTheLastRefreshOfEachItem) {
  LoadSeries(kMarket, 100000, 2);
  store.GetSelectedStocks() = {{kMarket, 100000}, {kMarket, 100001}};
  Init();
  table.LoadItems(kFavouritesList, "");
  const int last = ReportColumnIndexOfId(kColLast);
  // Rows in code order; each refresh gives both items' last prices.
  auto refresh = [&](uint32_t a, uint32_t b) {
    EXPECT_EQ(Reply({Quote(kMarket, 100000, a), Quote(kMarket, 100001, b)}), 1);
    std::vector<bool> marked;
    for (int row = 0; row < 2; ++row)
      marked.push_back(table.GetCellItem(row, last)->background == kReportChangedBackground);
    return marked;
  };
  EXPECT_EQ(refresh(10000, 10000),
            (std::vector<bool>{false, false}));  // nothing to compare with yet
  EXPECT_EQ(refresh(10000, 10000), (std::vector<bool>{false, false}));
  EXPECT_EQ(refresh(10100, 10000), (std::vector<bool>{true, false}));  // the first item moved
  EXPECT_EQ(refresh(10100, 9900), (std::vector<bool>{false, true}));
  // A new list starts without memories.
  table.LoadItems(kFavouritesList, "");
  EXPECT_EQ(refresh(10500, 10500), (std::vector<bool>{false, false}));
}

// On a market list a header click and a page turn ask the server again:
// the replies that follow mark only the figures that moved since the last
// reply of the same item, wherever the sort puts its row.
TEST_F(ReportFormatTest, ResortsAndPageTurnsAreNoChange) {
  constexpr int32_t kFirst = 100000;
  LoadSeries(kMarket, kFirst, 25);
  Init();  // 10 rows a page
  std::map<int32_t, uint32_t> prices;
  for (int i = 0; i < 25; ++i) prices[kFirst + i] = 10000 + uint32_t(i % 7) * 150;
  // The server answers the last request with the prices of now; the rows
  // marked as changed, by code.
  auto answer = [&] {
    EXPECT_EQ(Reply(Answer(frame.requests.back(),
                           [&](const SCodeInfo& c) { return prices[int32_t(c.code)]; })),
              1);
    std::vector<std::string> marked;
    for (int row = 0; row < table.GetRowCount(); ++row)
      for (int column = kReportFirstQuoteColumn; column < kReportColumnCount; ++column)
        if (table.GetCellItem(row, column)->background == kReportChangedBackground) {
          marked.push_back(table.GetCellText(row, kColCode));
          break;
        }
    return marked;
  };
  const std::vector<std::string> none;
  ASSERT_EQ(table.LoadItems(kMarket, ""), 1);
  table.RequestQuotes();
  EXPECT_EQ(answer(), none);
  table.SortBy(ReportColumnIndexOfId(kColLast));
  EXPECT_EQ(answer(), none);
  EXPECT_EQ(table.OnKey(table_keys::kNext), 1);
  EXPECT_EQ(answer(), none);
  EXPECT_EQ(table.OnKey(table_keys::kPrior), 1);
  EXPECT_EQ(answer(), none);
  // One item of the page trades: its row alone is marked, also after the
  // sort moved it to the top.
  prices[kFirst + 3] = 20000;
  table.RequestQuotes();
  EXPECT_EQ(answer(), std::vector<std::string>{"100003"});
  EXPECT_EQ(table.GetCellText(0, kColCode), "100003");
  // Sorting the other way shows what the last reply showed: no change.
  table.SortBy(ReportColumnIndexOfId(kColLast));
  EXPECT_EQ(answer(), none);
}

TEST_F(ReportFormatTest, NamesAreCutOnACharacterBoundary) {
  LoadSeries(kMarket, 100000, 1);
  // A name filling all 60 bytes, without a NUL, whose last byte starts a
  // two-byte character.
  SCodeInfo key{kMarket, 100000};
  SStockInfo* item = store.FindStock(&key);
  std::string name = "a";
  for (int i = 0; i < 29; ++i) name += GBK("藏");
  name += GBK("品")[0];
  ASSERT_EQ(name.size(), 60u);
  std::memcpy(item->name, name.data(), 60);
  store.GetSelectedStocks() = {key};
  Init();
  table.LoadItems(kFavouritesList, "");
  Reply({Quote(kMarket, 100000, 10000)});
  EXPECT_EQ(table.GetCellText(0, 2), name.substr(0, 59));
}

}  // namespace
