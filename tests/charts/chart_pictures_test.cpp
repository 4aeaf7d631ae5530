// The chart pictures: value range and pixel mapping, the primitives they
// draw, the formula pictures computed through the Formula library, the
// candles and the moving-average overlay, and the pane factory.
#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cmath>

#include "kline_test_support.h"
#include "support/recording_painter.h"
#include "zeb/charts/pictures/tech_creator.h"

namespace charts_test {
namespace {

using test_support::RecordingPainter;
using test_support::SDrawn;
using Kind = SDrawn::Kind;

// A picture of the CBasePic primitives with a plot and a range set by hand.
class PlainPic : public CTechAnalysisBasePic {
 public:
  void Plot(RECT r, float min, float max) {
    SetRect(r.left, r.top - 16, r.right + 3, r.bottom);
    SetRange(max, min);
  }
  using CBasePic::DrawLines;
  using CBasePic::UpdateMinMax;
};

struct Bars {
  std::vector<SHistoryUnit> units;
  const SHistoryUnit* ptr = nullptr;
  std::vector<int> x;
  SKLineRange range;
  explicit Bars(const std::vector<SHistoryUnit>& u, int first = 0) : units(u) {
    ptr = units.data();
    range.end = static_cast<int>(units.size());
    range.first = first;
    range.candleWidth = 5;
    range.bars = &ptr;
    for (int i = first; i < range.end; ++i) x.push_back(10 + 8 * (i - first));
  }
  void Give(CTechAnalysisBasePic& pic) {
    pic.SetXPositions(x.data(), static_cast<int>(x.size()));
    pic.SetData(&range);
  }
};

std::vector<SHistoryUnit> Units(const std::vector<float>& closes, uint32_t volume = 100) {
  std::vector<SHistoryUnit> u;
  for (size_t i = 0; i < closes.size(); ++i) {
    const float c = closes[i];
    u.push_back(SHistoryUnit{int32_t(20240101 + i), c - 0.5f, c + 1.0f, c - 1.0f, c, volume, 0});
  }
  return u;
}

TEST(ChartMapping, RangeIsQuantisedToThousandthsIn64Bits) {
  PlainPic pic;
  float min = 0, max = 0;
  const float a[] = {1.2344f, 1.2346f};
  pic.UpdateMinMax(&min, &max, a, 2, 1);
  EXPECT_FLOAT_EQ(min, 1.234f);
  EXPECT_FLOAT_EQ(max, 1.234f);
  // 3,000,000 x 1000 does not fit 32 bits; the range must still hold it.
  const float big[] = {-3000000.0f, kNoValue, 3000000.0f};
  pic.UpdateMinMax(&min, &max, big, 3, 1);
  EXPECT_FLOAT_EQ(min, -3000000.0f);
  EXPECT_FLOAT_EQ(max, 3000000.0f);
}

TEST(ChartMapping, PixelsStayInsideThePlotForAnyValue) {
  PlainPic pic;
  pic.Plot(RECT{10, 100, 200, 300}, 0.0f, 10.0f);
  for (float v : {std::nanf(""), INFINITY, -INFINITY, 1e30f, -1e30f}) {
    const int y = pic.ValueToY(v);
    EXPECT_GE(y, 100);
    EXPECT_LE(y, 300);
  }
  EXPECT_EQ(pic.ValueToY(10.0f), 100);
  EXPECT_EQ(pic.ValueToY(0.0f), 300);
  EXPECT_FLOAT_EQ(pic.ValueAtY(99), -1.0f);
  pic.SetRange(5.0f, 5.0f);
  EXPECT_EQ(pic.ValueToY(7.0f), 100);  // no range: the plot top
}

TEST(ChartPrimitives, AMissingRowSplitsAPolylineAndMarksKeepTheirDistance) {
  PlainPic pic;
  pic.Plot(RECT{0, 0, 1000, 100}, 0.0f, 100.0f);
  std::vector<int> x;
  for (int i = 0; i < 20; ++i) x.push_back(i * 10);
  pic.SetXPositions(x.data(), static_cast<int>(x.size()));
  std::vector<int> rows(20, 50);
  rows[5] = kNoRow;
  RecordingPainter p;
  pic.DrawLines(p, 1, RGB(1, 2, 3), rows.data(), 20, 0);
  const auto lines = p.Of(Kind::kPolyline);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].points.size(), 5u);   // bars 0-4
  EXPECT_EQ(lines[1].points.size(), 14u);  // bars 6-19
  EXPECT_EQ(lines[1].points.front().x, 60);
  RecordingPainter marked;
  pic.DrawLines(marked, 1, RGB(1, 2, 3), rows.data(), 20, 1);
  std::vector<int> markX;
  for (const SDrawn& d : marked.Of(Kind::kRect)) markX.push_back(d.rect.left + 3);
  // a mark follows a drawn segment: bar 6 (x 60) has none, the gap being before it
  EXPECT_EQ(markX, (std::vector<int>{70, 130, 190}));
}

// The grid is the picture's own formula's even when another pane's
// formula was computed after it, as the panes below it are.
TEST_F(ChartsTest, FixedGridLevelsSetTheRangeAndTheGrid) {
  CTechAnalysisSelf pic("GRID2080");
  pic.SetRect(80, 0, 600, 200);
  Bars bars(Units({30, 40, 50, 60, 70}));
  bars.Give(pic);
  EXPECT_FLOAT_EQ(pic.GetMin(), 20.0f);
  EXPECT_FLOAT_EQ(pic.GetMax(), 80.0f);
  CTechAnalysisSelf later("BIGV");
  later.SetRect(80, 200, 600, 400);
  bars.Give(later);
  RecordingPainter p;
  pic.Paint(p);
  std::vector<std::string> labels;
  for (const SDrawn& d : p.Of(Kind::kText))
    if (d.rect.right == 80 - 2) labels.push_back(d.text);
  // The range's ends fall on the two levels: each label is drawn once, not
  // a second time over itself.
  EXPECT_EQ(labels, (std::vector<std::string>{"20.00", "80.00"}));
}

TEST_F(ChartsTest, VolumeTitleHidesTheVolumeItself) {
  CTechAnalysisVol pic("VOL");
  pic.SetRect(80, 0, 900, 200);
  Bars bars(Units({10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21}));
  bars.Give(pic);
  EXPECT_FLOAT_EQ(pic.GetMin(), 0.0f);
  RecordingPainter p;
  pic.Paint(p);
  std::string title;
  for (const std::string& t : p.Texts()) title += t + "|";
  EXPECT_NE(title.find("VOL(5,10)|MA1=100|MA2=100|"), std::string::npos) << title;
  EXPECT_EQ(title.find("VOLUME"), std::string::npos) << title;
}

// A cursor hidden, or left outside the range by a zoom out that brought
// older bars, leaves the title with the last bar's values.
TEST_F(ChartsTest, TitleWithoutACursorInRangeShowsTheLastBar) {
  CTechAnalysisVol pic("VOL");
  pic.SetRect(80, 0, 900, 200);
  Bars bars(Units({10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21}));
  bars.Give(pic);
  for (int cursor : {-1, 12, 40}) {
    pic.SetCursorIndex(cursor);
    RecordingPainter p;
    pic.Paint(p);
    std::string title;
    for (const std::string& t : p.Texts()) title += t + "|";
    EXPECT_NE(title.find("VOL(5,10)|MA1=100|MA2=100|"), std::string::npos)
        << cursor << " " << title;
  }
}

// Value labels stay inside their pane, so those on the edges of two
// adjacent panes do not overlap.
TEST_F(ChartsTest, AxisLabelsStayInsideTheirPane) {
  CTechAnalysisVol upper("VOL"), lower("VOL");
  upper.SetRect(80, 0, 900, 100);
  lower.SetRect(80, 99, 900, 200);
  Bars bars(Units({10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21}));
  bars.Give(upper);
  bars.Give(lower);
  RecordingPainter a, b;
  upper.Paint(a);
  lower.Paint(b);
  int upperBottom = 0, lowerTop = 1000;
  for (const SDrawn& d : a.Of(Kind::kText))
    if (d.rect.right <= 80) upperBottom = std::max<int>(upperBottom, d.rect.bottom);
  for (const SDrawn& d : b.Of(Kind::kText))
    if (d.rect.right <= 80) lowerTop = std::min<int>(lowerTop, d.rect.top);
  ASSERT_GT(upperBottom, 0);
  EXPECT_LE(upperBottom, 100);
  EXPECT_GE(lowerTop, 99);
  EXPECT_LE(upperBottom, lowerTop + 1);
  // Nor do the labels of one pane overlap each other, however low it is.
  for (int height : {30, 45, 100}) {
    CTechAnalysisVol pane("VOL");
    pane.SetRect(80, 0, 900, height);
    bars.Give(pane);
    RecordingPainter p;
    pane.Paint(p);
    std::vector<RECT> labels;
    for (const SDrawn& d : p.Of(Kind::kText))
      if (d.rect.right <= 80) labels.push_back(d.rect);
    ASSERT_FALSE(labels.empty()) << height;
    for (size_t i = 0; i < labels.size(); ++i)
      for (size_t j = i + 1; j < labels.size(); ++j)
        EXPECT_FALSE(labels[i].top < labels[j].bottom && labels[i].bottom > labels[j].top)
            << height;
  }
}

TEST_F(ChartsTest, LargeOutputsAreHeldInTenThousandsFromOneMillionAndOne) {
  struct Case {
    float close;
    float held;
  } cases[] = {{1000000.0f, 1000000.0f}, {1000001.0f, 100.0001f}};
  for (const Case& c : cases) {
    CTechAnalysisSelf pic("BIGV");
    pic.SetRect(80, 0, 600, 200);
    Bars bars(Units({1.0f, c.close}));
    bars.Give(pic);
    ASSERT_EQ(pic.GetOutputCount(), 2);
    EXPECT_FLOAT_EQ(pic.Output(0)[1], c.held) << c.close;
  }
}

TEST_F(ChartsTest, WilliamsOverAFlatSeriesDrawsWithoutARange) {
  CTechAnalysisSelf pic("WR");
  pic.SetRect(80, 0, 600, 200);
  Bars bars(Units(std::vector<float>(30, 10.0f)));
  bars.Give(pic);
  pic.SetRange(50.0f, 50.0f);
  pic.RecalcPixels();
  for (int row : pic.OutputRows(0)) EXPECT_TRUE(row == kNoRow || (row >= 16 && row <= 200));
  RecordingPainter p;
  EXPECT_EQ(pic.Paint(p), 1);
}

TEST_F(ChartsTest, TheOverlaidCloseOfAFlatPairHasNoRangeAndStillDraws) {
  std::vector<SHistoryUnit> own = Units(std::vector<float>(20, 10.0f));
  std::vector<SHistoryUnit> other = Units(std::vector<float>(20, 5.0f));
  SAppendCloseData data{own.data(), other.data(), {'6', '0', '2', '0', '0', '2', ' ', ' '}};
  Bars bars(own);
  bars.range.overlay = &data;
  CTechAnalysisAppendClosePrice pic;
  pic.SetRect(80, 0, 600, 200);
  bars.Give(pic);
  EXPECT_FLOAT_EQ(pic.Output(1)[3], 10.0f);  // rescaled to the own close
  for (int row : pic.OutputRows(1)) EXPECT_EQ(row, 16);
  RecordingPainter p;
  EXPECT_EQ(pic.Paint(p), 1);
}

TEST_F(ChartsTest, SeriesLongerThanTheLibraryTakesAreComputedOverTheirNewestBars) {
  std::vector<float> closes(40000);
  for (size_t i = 0; i < closes.size(); ++i) closes[i] = 10.0f + float(i % 100) / 10.0f;
  CTechAnalysisSelf pic("BIGV");
  pic.SetRect(80, 0, 600, 200);
  Bars bars(Units(closes), 39900);
  bars.Give(pic);
  ASSERT_EQ(pic.GetOutputCount(), 2);
  const int skipped = 40000 - CTechAnalysisSelf::kMaxCalcBars;
  EXPECT_EQ(pic.Output(0)[size_t(skipped - 1)], kNoValue);
  EXPECT_FLOAT_EQ(pic.Output(0)[39999], closes[39999]);
  EXPECT_FLOAT_EQ(pic.Output(0)[size_t(skipped)], closes[size_t(skipped)]);
}

TEST_F(ChartsTest, CandlesTakeTheSchemeColoursOfRiseAndFall) {
  CTechAnalysisKLine pic;
  pic.SetRect(80, 0, 600, 300);
  std::vector<SHistoryUnit> u = {{20240101, 10, 12, 9, 11, 100, 0},
                                 {20240102, 11, 11.5f, 8, 9, 100, 0}};
  Bars bars(u);
  bars.Give(pic);
  RecordingPainter p;
  pic.Paint(p);
  std::vector<SDrawn> bodies;
  for (const SDrawn& d : p.Of(Kind::kRect))
    if (d.rect.left == 10 || d.rect.left == 18) bodies.push_back(d);
  ASSERT_EQ(bodies.size(), 2u);
  EXPECT_EQ(bodies[0].pen.color, Color(2));
  EXPECT_EQ(bodies[0].fill, kHollow);
  EXPECT_EQ(bodies[1].pen.color, Color(24));
  EXPECT_EQ(bodies[1].fill, Color(24));
  EXPECT_EQ(pic.HighestBar(), 0);
  EXPECT_EQ(pic.LowestBar(), 1);
}

// The candles are placed when the bars, the size or the zoom change, and a
// paint issues just what was placed: each candle's body and two wicks.
TEST_F(ChartsTest, CandlesArePlacedWithTheirDataAndFollowSizeAndZoom) {
  CTechAnalysisKLine pic;
  pic.SetRect(80, 0, 600, 300);
  std::vector<SHistoryUnit> u = {{20240101, 10, 12, 9, 11, 100, 0},
                                 {20240102, 11, 11.5f, 8, 9, 100, 0},
                                 {20240103, 10, 10.5f, 9.5f, 10, 100, 0}};
  Bars bars(u);
  bars.Give(pic);
  using SCandle = CTechAnalysisBasePic::SCandle;
  const auto expectPlaced = [&](const char* when) {
    const std::vector<SCandle>& c = pic.Candles();
    ASSERT_EQ(c.size(), 3u) << when;
    const SCandle::Body bodies[] = {SCandle::kOutlined, SCandle::kFilled, SCandle::kLevel};
    for (size_t i = 0; i < c.size(); ++i) {
      const SHistoryUnit& b = u[i];
      EXPECT_EQ(c[i].body, bodies[i]) << when << i;
      EXPECT_EQ(c[i].box.left, bars.x[i]) << when << i;
      EXPECT_EQ(c[i].box.right, bars.x[i] + 5) << when << i;
      EXPECT_EQ(c[i].box.top, pic.ValueToY(std::max(b.fOpen, b.fClose))) << when << i;
      EXPECT_EQ(c[i].box.bottom, pic.ValueToY(std::min(b.fOpen, b.fClose))) << when << i;
      EXPECT_EQ(c[i].mid, bars.x[i] + 2) << when << i;
      EXPECT_EQ(c[i].highY, pic.ValueToY(b.fHigh)) << when << i;
      EXPECT_EQ(c[i].lowY, pic.ValueToY(b.fLow)) << when << i;
      EXPECT_EQ(c[i].falling, b.fClose < b.fOpen) << when << i;
    }
  };
  expectPlaced("given");
  const int lowBefore = pic.Candles()[1].lowY;
  pic.SetRect(80, 0, 600, 200);
  expectPlaced("resized");
  EXPECT_LT(pic.Candles()[1].lowY, lowBefore);
  const int highBefore = pic.Candles()[0].highY;
  pic.Zoom(true);
  expectPlaced("zoomed");
  EXPECT_GT(pic.Candles()[0].highY, highBefore);

  RecordingPainter p;
  pic.Paint(p);
  std::vector<SDrawn> issued;
  for (const SDrawn& d : p.drawn)
    if (d.pen.color == Color(2) || d.pen.color == Color(24))
      if (d.rect.left >= 10 && d.rect.right <= 31 && d.kind != Kind::kText) issued.push_back(d);
  ASSERT_EQ(issued.size(), 9u);  // a body and two wicks each
  for (size_t i = 0; i < 3; ++i) {
    const SCandle& c = pic.Candles()[i];
    EXPECT_EQ(issued[3 * i].kind, i == 2 ? Kind::kLine : Kind::kRect);
    EXPECT_TRUE(EqualRect(issued[3 * i + 1].rect, RECT{c.mid, c.highY, c.mid, c.box.top}));
    EXPECT_TRUE(EqualRect(issued[3 * i + 2].rect, RECT{c.mid, c.lowY, c.mid, c.box.bottom - 1}));
  }
}

// Draws on a DC as the chart does and keeps what each text call asked.
class KeepingPainter : public CDCPainter {
 public:
  using CDCPainter::CDCPainter;
  struct SCall {
    std::string text;
    RECT box;
    UINT format;
    CFont* font;
  };
  std::vector<SCall> calls;
  void Text(const std::string& text, const RECT& box, UINT format, COLORREF color,
            CFont* font) override {
    calls.push_back({text, box, format, font});
    CDCPainter::Text(text, box, format, color, font);
  }
};

// The high and low labels are drawn whole: each comes out as the same
// text drawn without a box to keep it in (an end ellipsis in a box of the
// text's own measure cut "8.12" to "8.…").
TEST_F(ChartsTest, HighAndLowLabelsAreDrawnWhole) {
  CTechAnalysisKLine pic;
  pic.SetRect(80, 0, 600, 300);
  std::vector<SHistoryUnit> u = {{20240101, 9.0f, 9.91f, 8.12f, 9.5f, 100, 0},
                                 {20240102, 9.5f, 11.31f, 9.2f, 11.0f, 100, 0},
                                 {20240103, 11.0f, 11.2f, 10.1f, 10.5f, 100, 0}};
  Bars bars(u);
  bars.Give(pic);
  QImage image(600, 300, QImage::Format_ARGB32_Premultiplied);
  CDC dc;
  dc.Attach(&image);
  KeepingPainter p(&dc);
  pic.Paint(p);
  int labels = 0;
  for (const KeepingPainter::SCall& c : p.calls) {
    // The labels beside the extremes (the value axis' labels are centred
    // in their boxes, these start at the arrow).
    if ((c.text != "8.12" && c.text != "11.31") || (c.format & DT_CENTER)) continue;
    ++labels;
    const auto draw = [&](const RECT& box, UINT format) {
      QImage out(700, 300, QImage::Format_ARGB32_Premultiplied);
      out.fill(0);
      CDC d;
      d.Attach(&out);
      CDCPainter painter(&d);
      painter.Text(c.text, box, format, RGB(255, 255, 255), c.font);
      return out;
    };
    const RECT wide{c.box.left, c.box.top, c.box.left + 300, c.box.bottom};
    EXPECT_TRUE(draw(c.box, c.format) == draw(wide, c.format & ~UINT(DT_END_ELLIPSIS))) << c.text;
  }
  EXPECT_EQ(labels, 2);
}

TEST_F(ChartsTest, TheMovingAverageWidensThePriceRange) {
  // Falling closes: the averages of the visible bars lie above their highs.
  std::vector<float> closes;
  for (int i = 0; i < 80; ++i) closes.push_back(100.0f - float(i));
  CTechAnalysisKLine pic;
  pic.AddMovingAverage();
  pic.SetRect(80, 0, 600, 300);
  Bars bars(Units(closes), 70);
  bars.Give(pic);
  const float highest = closes[70] + 1.0f;
  EXPECT_GT(pic.GetMax(), highest);
  float maMax, maMin;
  pic.MovingAverage()->GetRange(&maMax, &maMin);
  EXPECT_FLOAT_EQ(maMax, pic.GetMax());
  EXPECT_EQ(pic.GetMaxParam(), 60);
}

TEST_F(ChartsTest, TheHistogramAddsTheWholeVolumePerRow) {
  CTechAnalysisKLine pic;
  pic.SetRect(0, 0, 306, 140);  // plot 300 x 100
  pic.SetFlags(2);
  // bar 0 spans the whole range, bar 1 the upper half: the upper rows count twice.
  std::vector<SHistoryUnit> u = {{1, 5, 10, 0, 5, 1000, 0}, {2, 8, 10, 5, 8, 1000, 0}};
  Bars bars(u);
  bars.Give(pic);
  RecordingPainter p;
  pic.Paint(p);
  int longest = 0, shortest = 1 << 30;
  for (const SDrawn& d : p.Of(Kind::kLine))
    if (d.pen.color == Color(23)) {
      longest = std::max<int>(longest, d.rect.left - d.rect.right);
      shortest = std::min<int>(shortest, d.rect.left - d.rect.right);
    }
  EXPECT_EQ(longest, 200);  // two thirds of the width
  EXPECT_EQ(shortest, 100);
}

// The histogram is placed when it is switched on after the bars came, follows
// the plot's height, and goes with its display bit.
TEST_F(ChartsTest, TheHistogramFollowsItsDisplayBitAndThePlotHeight) {
  CTechAnalysisKLine pic;
  pic.SetRect(0, 0, 306, 140);  // plot 300 x 100
  std::vector<SHistoryUnit> u = {{1, 5, 10, 0, 5, 1000, 0}, {2, 8, 10, 5, 8, 1000, 0}};
  Bars bars(u);
  bars.Give(pic);
  EXPECT_TRUE(pic.VolumeByPrice().empty());
  pic.SetFlags(2);
  ASSERT_EQ(pic.VolumeByPrice().size(), 100u);
  EXPECT_EQ(pic.VolumeByPrice().back(), 200);  // the upper rows count twice
  pic.SetRect(0, 0, 306, 90);                  // plot 300 x 50
  ASSERT_EQ(pic.VolumeByPrice().size(), 50u);
  EXPECT_EQ(pic.VolumeByPrice().front(), 100);
  const auto histogramLines = [&] {
    RecordingPainter p;
    pic.Paint(p);
    int n = 0;
    for (const SDrawn& d : p.Of(Kind::kLine)) n += d.pen.color == Color(23);
    return n;
  };
  EXPECT_EQ(histogramLines(), 50);
  pic.SetFlags(0);
  EXPECT_TRUE(pic.VolumeByPrice().empty());
  EXPECT_EQ(histogramLines(), 0);
}

// Information marks sit over the bars of their dates (while the display
// bits show them), an ex-rights record over the first bar on or after its
// date; the marks follow the bars' x, and the mark under the mouse shows
// its text.
TEST_F(ChartsTest, MarksSitOverTheirBarsAndShowTheirTextUnderTheMouse) {
  CTechAnalysisKLine pic;
  pic.SetRect(80, 0, 600, 300);
  Bars bars(Units({10, 11, 12, 11, 10}));  // dates 20240101 .. 20240105
  bars.Give(pic);
  const InfoTitleMap titles = {{20240102, "news"}, {20240109, "later"}};
  pic.SetInfoMarks(&titles);
  EXPECT_TRUE(pic.InfoMarks().empty());  // not shown by the display bits
  pic.SetFlags(1);
  ASSERT_EQ(pic.InfoMarks().size(), 1u);
  EXPECT_EQ(pic.InfoMarks()[0].x, bars.x[1]);
  const std::vector<SExRightsRecord> records = {
      {20231201, 100, 0, 0, 0}, {20240103, 100, 0, 0, 0}, {20240110, 100, 0, 0, 0}};
  pic.SetExRightsData(records.data(), 3);
  ASSERT_EQ(pic.ExRightsMarks().size(), 1u);
  EXPECT_EQ(pic.ExRightsMarks()[0].x, bars.x[2]);
  EXPECT_EQ(pic.ExRightsMarks()[0].record, 1);

  for (int& x : bars.x) x += 40;
  pic.SetXPositions(bars.x.data(), static_cast<int>(bars.x.size()));
  EXPECT_EQ(pic.InfoMarks()[0].x, bars.x[1]);
  EXPECT_EQ(pic.ExRightsMarks()[0].x, bars.x[2]);

  const auto texts = [&] {
    RecordingPainter p;
    pic.Paint(p);
    return p.Texts();
  };
  const auto has = [](const std::vector<std::string>& all, const std::string& text) {
    return std::find(all.begin(), all.end(), text) != all.end();
  };
  EXPECT_FALSE(has(texts(), "news"));
  pic.OnMouse(bars.x[1] + 1, 20);  // over the information mark
  EXPECT_TRUE(has(texts(), "news"));
  pic.OnMouse(bars.x[2] + 1, 295);  // over the ex-rights mark
  EXPECT_TRUE(has(texts(), CTechAnalysisKLine::ExRightsText(records[1])));
}

TEST_F(ChartsTest, TheFactoryMatchesNamesWithoutCaseButKLineCallsNeedTheExactName) {
  struct Case {
    const char* name;
    bool kline, ma, vol;
  } cases[] = {
      {"kline", true, false, false}, {"KLineMA", true, true, false}, {"Vol", false, false, true}};
  for (const Case& c : cases) {
    CTechCreator pane;
    pane.CreatePic(c.name);
    auto* k = dynamic_cast<CTechAnalysisKLine*>(pane.GetPic());
    EXPECT_EQ(k != nullptr, c.kline) << c.name;
    if (k) {
      EXPECT_EQ(k->MovingAverage() != nullptr, c.ma) << c.name;
    }
    EXPECT_EQ(dynamic_cast<CTechAnalysisVol*>(pane.GetPic()) != nullptr, c.vol) << c.name;
    pane.SetFlags(6);
    EXPECT_EQ(pane.GetPic()->GetFlags(), 0) << c.name;  // not "KLINE"/"KLINEMA" exactly
  }
  CTechCreator exact;
  exact.CreatePic("KLINE");
  exact.SetFlags(6);
  EXPECT_EQ(exact.GetPic()->GetFlags(), 6);
}

// A change of the newest bar alone (a pushed tick) taken by a pane leaves
// its picture as a fresh preparation of the changed bars leaves it: the
// same outputs, value range, rows and candles. A change inside the range
// touches no earlier pixel and says so; one past the range is prepared
// whole and says that.
TEST_F(ChartsTest, ANewestBarChangeLeavesThePictureAsAFreshPreparation) {
  std::vector<float> closes;
  for (int i = 0; i < 90; ++i) closes.push_back(50.0f + 8.0f * std::sin(float(i) / 6.0f));
  const auto same = [](const CTechAnalysisBasePic& a, const CTechAnalysisBasePic& b,
                       const std::string& what) {
    EXPECT_EQ(a.GetMax(), b.GetMax()) << what;
    EXPECT_EQ(a.GetMin(), b.GetMin()) << what;
    ASSERT_EQ(a.OutputRowsCount(), b.OutputRowsCount()) << what;
    for (int j = 0; j < a.OutputRowsCount(); ++j) {
      EXPECT_EQ(a.Output(j), b.Output(j)) << what << " output " << j;
      EXPECT_EQ(a.OutputRows(j), b.OutputRows(j)) << what << " output " << j;
    }
    ASSERT_EQ(a.Candles().size(), b.Candles().size()) << what;
    for (size_t i = 0; i < a.Candles().size(); ++i) {
      const auto &x = a.Candles()[i], &y = b.Candles()[i];
      EXPECT_TRUE(x.body == y.body && EqualRect(x.box, y.box) && x.mid == y.mid &&
                  x.highY == y.highY && x.lowY == y.lowY && x.openY == y.openY &&
                  x.closeY == y.closeY && x.falling == y.falling)
          << what << " candle " << i;
    }
  };
  struct Case {
    float close;  // of the newest bar
    bool column;  // only the newest bar's column changes
  };
  // The newest close sits mid-range: a small move keeps every range, a
  // leap far above moves them all.
  for (const char* name : {"KLINE", "KLINEMA", "VOL", "MACD", "KDJ", "RSI", "WR", "BOLL"}) {
    for (const Case c : {Case{closes.back() + 0.2f, true}, Case{closes.back() + 400.0f, false}}) {
      const std::string what = std::string(name) + (c.column ? " in range" : " past the range");
      Bars bars(Units(closes), 30);
      CTechCreator taking;
      taking.CreatePic(name);
      taking.SetRect(80, 0, 600, 300);
      taking.SetXPositions(bars.x.data(), static_cast<int>(bars.x.size()));
      taking.SetData(&bars.range);
      SHistoryUnit& newest = bars.units.back();
      newest.fClose = c.close;
      newest.fHigh = std::max(newest.fHigh, c.close);
      newest.nVolume = c.column ? 90 : 100000;
      const bool column = taking.TakeLastBar(newest);
      // Whether an oscillator's range moves depends on where its newest
      // value falls; the price and volume panes' ranges are known here.
      const std::string n = name;
      if (n == "KLINE" || n == "KLINEMA" || n == "VOL" ||
          (!c.column && (n == "MACD" || n == "BOLL"))) {
        EXPECT_EQ(column, c.column) << what;
      }
      CTechCreator fresh;
      fresh.CreatePic(name);
      fresh.SetRect(80, 0, 600, 300);
      fresh.SetXPositions(bars.x.data(), static_cast<int>(bars.x.size()));
      fresh.SetData(&bars.range);
      same(*taking.GetPic(), *fresh.GetPic(), what);
      if (const auto* kline = dynamic_cast<const CTechAnalysisKLine*>(taking.GetPic());
          kline && kline->MovingAverage())
        same(*kline->MovingAverage(),
             *static_cast<const CTechAnalysisKLine*>(fresh.GetPic())->MovingAverage(),
             what + " MA");
    }
  }
}

TEST(ExRightsTips, TextsFollowTheReceivedLayout) {
  struct Case {
    SExRightsRecord r;
    const char* text;
  } cases[] = {
      {{20240105, 1500, 0, 0, 1}, "20240105 每10股分红1.50元"},
      {{20240105, 0, 2500, 0, 0}, "20240105 每10股送2.50股"},
      {{20240105, 1000, 2500, 0, 0}, "20240105 每10股分红利1.00元 送红股2.50股"},
      {{20240105, 0, 3000, 50000, 0}, "20240105 每10股配3.00股 每股5.00元"},
  };
  for (const Case& c : cases) EXPECT_EQ(CTechAnalysisKLine::ExRightsText(c.r), GBK(c.text));
}

}  // namespace
}  // namespace charts_test
