// The chip distribution: share table from ex-rights records, bins and
// their guards, and what it draws on and off the technical page.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/gbk.h"
#include "support/recording_painter.h"
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
    pic.SetCapitalInfo(shares, {});
    pic.SetRect(0, 0, 100, 200);
    pic.SetPriceRect(0, 10, 100, 50);
  }
};

TEST(ChipDistribution, ShareTableGoesBackThroughBonusRecords) {
  const auto record = [](int32_t date, uint16_t ratio) {
    SExRightsRecord r;
    r.date = date;
    r.shares = ratio;
    return r;
  };
  const std::vector<SExRightsRecord> records = {record(20250601, 10000),  // 10 for 10: half before
                                                record(20240601, 0),  // a dividend only: no entry
                                                record(20230601, 5000)};  // 5 for 10
  CChipDistribPic pic;
  pic.SetTradeDate(20260105);
  EXPECT_EQ(pic.SetCapitalInfo(3000, records), 1);
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
  using test_support::RecordingPainter;
  using test_support::SDrawn;
  const COLORREF ink = Color(33);
  {
    RecordingPainter painter;
    EXPECT_EQ(c.pic.Paint(painter), 1);  // the notice, though a distribution exists
    ASSERT_EQ(painter.drawn.size(), 1u);
    const SDrawn& notice = painter.drawn[0];
    EXPECT_EQ(notice.kind, SDrawn::Kind::kText);
    EXPECT_EQ(notice.text, GBK("筹码分布只能显示\r\n在技术分析视图中"));
    EXPECT_EQ(notice.fill, ink);
    // Centred on the panel, well below the price area.
    EXPECT_EQ((notice.rect.top + notice.rect.bottom) / 2, 100);
    EXPECT_GE(notice.rect.top, 70);
    EXPECT_LE(notice.rect.bottom, 130);
  }
  c.pic.SetTechShown(1);
  {
    RecordingPainter painter;
    EXPECT_EQ(c.pic.Paint(painter), 1);
    EXPECT_TRUE(painter.Texts().empty());
    const std::vector<SDrawn> lines = painter.Of(SDrawn::Kind::kLine);
    ASSERT_EQ(lines.size(), 20u);
    ASSERT_EQ(c.pic.LineEnds().size(), 20u);
    // One line per bin from the price area's bottom up, every 2 pixels,
    // from the left edge to the bin's end, some reaching across.
    int widest = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
      const int y = 50 - 2 * static_cast<int>(i);
      EXPECT_EQ(lines[i].rect.left, 0);
      EXPECT_EQ(lines[i].rect.top, y);
      EXPECT_EQ(lines[i].rect.bottom, y);
      EXPECT_EQ(lines[i].rect.right, c.pic.LineEnds()[i]);
      EXPECT_EQ(lines[i].pen.color, ink);
      widest = std::max(widest, static_cast<int>(lines[i].rect.right));
    }
    EXPECT_EQ(widest, 100);
  }
  // The price area moved (the chart was resized): the lines follow it.
  c.pic.SetPriceRect(0, 30, 100, 70);
  {
    RecordingPainter painter;
    c.pic.Paint(painter);
    const std::vector<SDrawn> lines = painter.Of(SDrawn::Kind::kLine);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].rect.top, 70);
  }
  CChipDistribPic empty;
  empty.SetTechShown(1);
  RecordingPainter painter;
  EXPECT_EQ(empty.Paint(painter), 0);
  EXPECT_TRUE(painter.drawn.empty());
  // Through the device context the same.
  QImage image(100, 200, QImage::Format_ARGB32_Premultiplied);
  CDC dc;
  dc.Attach(&image);
  EXPECT_EQ(empty.Draw(&dc), 0);
  EXPECT_EQ(c.pic.Draw(&dc), 1);
}

}  // namespace
