// The chip distribution: share table from ex-rights records, bins and
// their guards, and what it draws on and off the technical page.
#include <gtest/gtest.h>

#include <QImage>
#include <cstring>
#include <memory>

#include "tables/tables_test_support.h"
#include "zeb/charts/chips/chip_distrib_pic.h"

namespace {

SHistoryUnit Bar(int32_t date, float low, float high, uint32_t volume) {
  return SHistoryUnit{date, low, high, low, high, volume, 0};
}

// A picture 100 pixels wide over a price area 40 pixels high (20 bins).
struct Chips {
  CChipDistribPic pic;
  Chips(int shares = 1000) {
    pic.SetTradeDate(20260105);
    pic.SetCapitalInfo(shares, nullptr, 0);
    pic.SetRect(0, 0, 100, 200);
    pic.SetPriceRect(0, 10, 100, 50);
  }
};

TEST(ChipDistribution, ShareTableGoesBackThroughBonusRecords) {
  uint8_t records[3 * 16] = {};
  const auto put = [&](int i, int32_t date, uint16_t ratio) {
    std::memcpy(records + i * 16, &date, 4);
    std::memcpy(records + i * 16 + 6, &ratio, 2);
  };
  put(0, 20250601, 10000);  // 10 for 10: half before
  put(1, 20240601, 0);      // a dividend only: no entry
  put(2, 20230601, 5000);   // 5 for 10
  CChipDistribPic pic;
  pic.SetTradeDate(20260105);
  EXPECT_EQ(pic.SetCapitalInfo(3000, records, 3), 1);
  ASSERT_EQ(pic.ShareTable().size(), 3u);
  EXPECT_EQ(pic.ShareTable()[0].shares, 3000);
  EXPECT_EQ(pic.ShareTable()[1].date, 20250601);
  EXPECT_EQ(pic.ShareTable()[1].shares, 1500);
  EXPECT_EQ(pic.ShareTable()[2].shares, 1000);
  EXPECT_EQ(pic.Shares(), 3000);
  EXPECT_EQ(pic.CapitalRecords(), 3);
}

TEST(ChipDistribution, FullTurnoverEmptiesEveryBinBeforeAddingItsOwn) {
  Chips c;
  const std::vector<SHistoryUnit> bars = {Bar(20260101, 10, 20, 0), Bar(20260102, 10, 15, 0),
                                          Bar(20260103, 15, 20, 1000)};  // turnover 1.0
  c.pic.SetBars(bars.data(), 3);
  c.pic.SetCurIndex(2);
  ASSERT_EQ(c.pic.GetLineCount(), 20);
  const std::vector<double>& bins = c.pic.Bins();
  for (int i = 0; i < 10; ++i) EXPECT_DOUBLE_EQ(bins[i], 0.0) << i;
  for (int i = 10; i < 20; ++i) EXPECT_DOUBLE_EQ(bins[i], 1.0) << i;
  EXPECT_EQ(c.pic.LineEnds()[0], 0);
  EXPECT_EQ(c.pic.LineEnds()[19], 100);
}

TEST(ChipDistribution, NineRowsGiveFourBins) {
  Chips c;
  c.pic.SetPriceRect(0, 10, 100, 19);
  const std::vector<SHistoryUnit> bars = {Bar(1, 10, 20, 0), Bar(2, 10, 20, 10),
                                          Bar(3, 12, 14, 10)};
  c.pic.SetBars(bars.data(), 3);
  c.pic.SetCurIndex(2);
  EXPECT_EQ(c.pic.GetLineCount(), 4);
}

struct GuardCase {
  const char* name;
  std::vector<SHistoryUnit> bars;
  int cursor;
  int shares;
};

class ChipGuards : public ::testing::TestWithParam<GuardCase> {};

// Each degenerate input computes nothing: the earlier distribution stays.
TEST_P(ChipGuards, KeepThePreviousDistribution) {
  Chips c(GetParam().shares);
  const std::vector<SHistoryUnit> good = {Bar(1, 10, 20, 0), Bar(2, 10, 20, 10),
                                          Bar(3, 12, 14, 10)};
  Chips reference;
  reference.pic.SetBars(good.data(), 3);
  reference.pic.SetCurIndex(2);
  c.pic.SetBars(good.data(), 3);
  c.pic.SetCurIndex(2);
  const std::vector<double> before = c.pic.Bins();
  const bool sharesCase = GetParam().shares == 0;
  if (!sharesCase) {
    EXPECT_EQ(before, reference.pic.Bins());
  }
  c.pic.SetCurIndex(GetParam().cursor);
  c.pic.SetBars(GetParam().bars.data(), static_cast<int>(GetParam().bars.size()));
  EXPECT_EQ(c.pic.Bins(), before);
  for (double b : c.pic.Bins()) EXPECT_TRUE(b == b);  // never NaN
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, ChipGuards,
    ::testing::Values(
        GuardCase{"OnePrice", {Bar(1, 10, 10, 5), Bar(2, 10, 10, 5), Bar(3, 10, 10, 5)}, 2, 1000},
        GuardCase{"NoBars", {}, 2, 1000},
        GuardCase{
            "CursorBelowTwo", {Bar(1, 10, 30, 5), Bar(2, 10, 30, 5), Bar(3, 10, 30, 5)}, 1, 1000},
        GuardCase{"NoShares", {Bar(1, 10, 30, 5), Bar(2, 10, 30, 5), Bar(3, 10, 30, 5)}, 2, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChipDistribution, KeepsItsOwnCopyOfTheBars) {
  Chips c;
  auto bars = std::make_unique<std::vector<SHistoryUnit>>(
      std::vector<SHistoryUnit>{Bar(1, 10, 20, 0), Bar(2, 10, 20, 500), Bar(3, 15, 20, 500)});
  c.pic.SetBars(bars->data(), 3);
  bars.reset();  // the chart replaced its series
  c.pic.SetCurIndex(2);
  EXPECT_EQ(c.pic.GetLineCount(), 20);
}

class ChipDrawing : public tables_test::TablesTest {};

TEST_F(ChipDrawing, NoticeOffTheTechnicalPageAndLinesOnIt) {
  Chips c;
  const std::vector<SHistoryUnit> bars = {Bar(1, 10, 20, 0), Bar(2, 10, 20, 300),
                                          Bar(3, 12, 16, 300)};
  c.pic.SetBars(bars.data(), 3);
  c.pic.SetCurIndex(2);
  QImage image(100, 200, QImage::Format_ARGB32_Premultiplied);
  CDC dc;
  dc.Attach(&image);
  const COLORREF ink = Color(33);
  const auto count = [&](int top, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < 100; ++x) n += dc.GetPixel(x, y) == ink;
    return n;
  };
  image.fill(Qt::black);
  EXPECT_EQ(c.pic.Draw(&dc), 1);  // the notice, though a distribution exists
  EXPECT_GT(count(70, 130), 20);
  EXPECT_EQ(count(0, 60), 0);

  image.fill(Qt::black);
  c.pic.SetTechShown(1);
  EXPECT_EQ(c.pic.Draw(&dc), 1);
  EXPECT_EQ(count(70, 130), 0);
  EXPECT_GT(count(10, 51), 100);
  CChipDistribPic empty;
  empty.SetTechShown(1);
  EXPECT_EQ(empty.Draw(&dc), 0);
}

}  // namespace
