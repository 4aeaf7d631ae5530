// The K-line page painted through the device context into a memory DC, as
// the chart view will show it: candles in the scheme's rise and fall
// colours over the price grid, with the VOL, MACD and KDJ panes below.
// With ZEB_KLINE_PNG_DIR set, the pictures are saved there to be looked at.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdlib>
#include <functional>

#include "kline_test_support.h"
#include "platform/input.h"
#include "zeb/charts/kline/his_tech_obj.h"

namespace charts_test {
namespace {

// Bars of a wandering price: day bars, or four 60-minute bars a day.
std::vector<SHistoryRecord> Wander(int n, bool hourly) {
  std::vector<SHistoryRecord> out;
  double price = 20.0;
  static const int kHours[] = {1030, 1130, 1400, 1500};
  for (int i = 0; i < n; ++i) {
    const double open = price;
    price *= 1.0 + 0.03 * std::sin(i * 0.37) * std::cos(i * 0.11) + 0.004 * std::sin(i * 1.7);
    const double close = price;
    const double high = std::max(open, close) * (1.0 + 0.01 * (1 + std::sin(i * 2.3)));
    const double low = std::min(open, close) * (1.0 - 0.01 * (1 + std::cos(i * 1.9)));
    const uint32_t date =
        hourly ? static_cast<uint32_t>((DayOf(i / 4) % 10000) * 10000 + kHours[i % 4]) : DayOf(i);
    out.push_back(Rec(date, uint32_t(open * 1000), uint32_t(high * 1000), uint32_t(low * 1000),
                      uint32_t(close * 1000), uint32_t(50000 + 30000 * (1 + std::sin(i * 0.5)))));
  }
  return out;
}

class KLineRender : public ChartsTest {
 protected:
  QImage Render(int period, int bars, int zoomSteps, const char* panes) {
    WritePaneFile("4", panes);
    CHisTechObj obj(&store);
    obj.SetPeriod(period);
    obj.SetRect(0, 0, 1280, 800);
    obj.SetStock(item);
    obj.RequestKLine();
    const std::string body =
        HistoryBody(static_cast<uint16_t>(0x0500 + period), Wander(bars, period == kPeriod60));
    obj.OnData(body.data(), static_cast<int>(body.size()));
    obj.SetRange(0, bars);
    obj.Recompute();
    for (int i = 0; i < zoomSteps; ++i) obj.OnKey(VK_UP);
    CDC screen;
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateBitmap(1280, 800);
    dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 1280, 800, Color(19));
    obj.Draw(&dc);
    return dc.GetImage()->copy();
  }
  static int Count(const QImage& image, COLORREF color, QRect area) {
    const QRgb want = qRgb(GetRValue(color), GetGValue(color), GetBValue(color));
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        if ((image.pixel(x, y) & 0xFFFFFF) == (want & 0xFFFFFF)) ++n;
    return n;
  }
  static void Save(const QImage& image, const char* name) {
    if (const char* dir = std::getenv("ZEB_KLINE_PNG_DIR"))
      image.save(QString::fromStdString(std::string(dir) + "/" + name), "PNG");
  }
};

TEST_F(KLineRender, EveryPeriodPaintsCandlesInTheSchemeColours) {
  struct Case {
    int period, bars, zoom;
    const char* panes;
    const char* file;
  } cases[] = {{kPeriodDay, 300, 0, "KLINE,VOL,MACD,KDJ,", "13-kline-day.png"},
               {kPeriod60, 240, 0, "KLINE,VOL,MACD,KDJ,", "13-kline-60min.png"},
               {kPeriodWeek, 160, 0, "KLINEMA,VOL,RSI,WR,", "13-kline-week.png"},
               {kPeriodDay, 300, 8, "KLINEMA,VOL,MACD,BOLL,", "13-kline-zoomed.png"}};
  for (const Case& c : cases) {
    const QImage image = Render(c.period, c.bars, c.zoom, c.panes);
    Save(image, c.file);
    const QRect price(70, 30, 1200, 300);
    EXPECT_GT(Count(image, Color(2), price), 200) << c.file;
    EXPECT_GT(Count(image, Color(24), price), 200) << c.file;
    EXPECT_GT(Count(image, Color(6), QRect(66, 0, 1214, 800)), 500) << c.file;  // frames and grids
  }
}

// A pushed tick for the item: the day's open, high, low and last all at
// one price (thousandths), as the day bar then shows it.
std::string DayTick(uint32_t price, int32_t code = kCode) {
  tables_test::PacketBytes b;
  b.U16(0, 0x0B00).U16(2, 1).U8(4, 0).U16(9, 1);
  const size_t at = 15;
  b.U32(at, (uint32_t(kMarket - 0x1000) << 24) | uint32_t(code)).U16(at + 4, 600);
  b.U32(at + 6, price).U32(at + 10, price).U32(at + 14, price).U32(at + 18, price);
  b.U32(at + 26, 1000).U32(at + 30, 5).U32(at + 34, 0).Size(at + 51);
  return b.Bytes();
}

// After every tick the live chart is painted over a page spoilt with a
// colour the chart never uses: a tick that moved only the last bar must be
// painted from the kept picture (no trace of the spoiling colour) and give
// the very pixels of a fresh chart given the same packets and painted in
// full; a tick that moved a pane's range is painted in full. A second live
// chart paints into a back buffer kept between paints, as the chart view
// does: only the areas it reports go to a screen picture, which must show
// the same pixels, and a tick that moved only the last bar reports far less
// than the whole chart.
TEST_F(KLineRender, APaintAfterATickMatchesAFullPaintPixelForPixel) {
  constexpr int kW = 1280, kH = 800;
  constexpr COLORREF kSpoilt = RGB(1, 2, 3);
  // The cursor where the history left it, or on the last bar (the titles
  // then show the values the tick changes).
  for (const auto& setup :
       {std::pair{"KLINE,VOL,MACD,KDJ,", false}, std::pair{"KLINE,VOL,MACD,KDJ,", true},
        std::pair{"KLINEMA,VOL,RSI,WR,", true}}) {
    const char* panes = setup.first;
    const bool cursorOnLast = setup.second;  // a plain local: lambdas below take it
    WritePaneFile("4", panes);
    const std::string history = HistoryBody(0x053D, Wander(300, false));
    auto open = [&](CHisTechObj& obj) {
      obj.SetRect(0, 0, kW, kH);
      obj.SetStock(item);
      obj.RequestKLine();
      obj.OnData(history.data(), static_cast<int>(history.size()));
      obj.SetRange(0, 300);
      obj.Recompute();
      if (cursorOnLast) obj.OnKey(VK_END);
    };
    auto canvas = [&](CDC& dc, CBitmap& bitmap) {
      dc.CreateCompatibleDC(nullptr);
      bitmap.CreateBitmap(kW, kH);
      dc.SelectObject(&bitmap);
    };
    CHisTechObj live(&store);
    open(live);
    CDC liveDC;
    CBitmap liveBitmap;
    canvas(liveDC, liveBitmap);
    CHisTechObj inPlace(&store);
    open(inPlace);
    CDC backDC;
    CBitmap backBitmap;
    canvas(backDC, backBitmap);
    backDC.FillSolidRect(0, 0, kW, kH, Color(19));
    ASSERT_TRUE(inPlace.DrawInPlace(&backDC, false, nullptr));
    QImage screen = backDC.GetImage()->copy();
    float high = 0, low = 1e9f;
    for (const SHistoryUnit& bar : live.Raw()) {
      high = std::max(high, bar.fHigh);
      low = std::min(low, bar.fLow);
    }
    const uint32_t mid = uint32_t((high + low) / 2 * 1000);
    struct Step {
      uint32_t price;
      int fast;  // 1 kept picture, 0 full paint, -1 either
    } steps[] = {
        {mid, -1}, {mid + 270, 1}, {mid - 310, 1}, {mid + 3, 1}, {uint32_t(high * 3000), 0},
        {mid, 0},  {mid + 150, 1}};
    std::vector<std::string> fed;
    liveDC.FillSolidRect(0, 0, kW, kH, Color(19));
    live.Draw(&liveDC);
    for (const Step& step : steps) {
      fed.push_back(DayTick(step.price));
      live.OnData(fed.back().data(), static_cast<int>(fed.back().size()));
      liveDC.FillSolidRect(0, 0, kW, kH, step.fast == 0 ? Color(19) : kSpoilt);
      if (step.fast == -1) liveDC.FillSolidRect(0, 0, kW, kH, Color(19));
      live.Draw(&liveDC);
      const QImage got = liveDC.GetImage()->copy();
      inPlace.OnData(fed.back().data(), static_cast<int>(fed.back().size()));
      std::vector<RECT> areas;
      if (!inPlace.DrawInPlace(&backDC, true, &areas)) {
        // Nothing kept yet of what lies under the chart: the owner gives it.
        EXPECT_EQ(step.fast, -1);
        backDC.FillSolidRect(0, 0, kW, kH, Color(19));
        ASSERT_TRUE(inPlace.DrawInPlace(&backDC, false, &areas));
      }
      long long reported = 0;
      {
        QPainter blit(&screen);
        blit.setCompositionMode(QPainter::CompositionMode_Source);
        for (const RECT& r : areas) {
          const QRect q(r.left, r.top, r.right - r.left, r.bottom - r.top);
          blit.drawImage(q.topLeft(), *backDC.GetImage(), q);
          reported += (long long)q.width() * q.height();
        }
      }
      if (step.fast == 1) {
        EXPECT_LT(reported, (long long)kW * kH / 3) << panes << step.price;
      }
      if (step.fast == 0) {
        EXPECT_EQ(reported, (long long)kW * kH) << panes << step.price;
      }

      CHisTechObj fresh(&store);
      open(fresh);
      for (const std::string& tick : fed) fresh.OnData(tick.data(), static_cast<int>(tick.size()));
      CDC freshDC;
      CBitmap freshBitmap;
      canvas(freshDC, freshBitmap);
      freshDC.FillSolidRect(0, 0, kW, kH, Color(19));
      fresh.Draw(&freshDC);
      const QImage want = freshDC.GetImage()->copy();

      int differing = 0, differingOnScreen = 0;
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
          differing += got.pixel(x, y) != want.pixel(x, y);
          differingOnScreen += screen.pixel(x, y) != want.pixel(x, y);
        }
      EXPECT_EQ(differing, 0) << panes << cursorOnLast << " price " << step.price;
      EXPECT_EQ(differingOnScreen, 0) << panes << cursorOnLast << " price " << step.price;
      EXPECT_FLOAT_EQ(live.Raw().back().fClose, float(step.price / 1000.0));
    }
  }
}

}  // namespace
}  // namespace charts_test

namespace charts_test {
namespace {

// Each change of the chart carries its kind, and a paint takes them all
// in: a tick inside the ranges is of the newest bar alone, one past a
// range moves the range; the cursor, a zoom, the scheme and a new layout
// say what they are; a push of another item changes nothing.
TEST_F(KLineRender, EachChangeCarriesItsKindUntilThePaint) {
  WritePaneFile("4", "KLINE,VOL,MACD,KDJ,");
  CHisTechObj obj(&store);
  obj.SetRect(0, 0, 1280, 800);
  obj.SetStock(item);
  obj.RequestKLine();
  const std::vector<SHistoryRecord> bars = Wander(300, false);
  const std::string history = HistoryBody(0x053D, bars);
  obj.OnData(history.data(), static_cast<int>(history.size()));
  obj.SetRange(0, 300);
  obj.Recompute();
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap bitmap;
  bitmap.CreateBitmap(1280, 800);
  dc.SelectObject(&bitmap);
  const auto paint = [&] {
    dc.FillSolidRect(0, 0, 1280, 800, Color(19));
    ASSERT_TRUE(obj.DrawInPlace(&dc, false, nullptr));
    EXPECT_TRUE(obj.Unpainted().None());
  };
  paint();
  float high = 0, low = 1e9f;
  for (const SHistoryUnit& bar : obj.Raw()) {
    high = std::max(high, bar.fHigh);
    low = std::min(low, bar.fLow);
  }
  const uint32_t mid = uint32_t((high + low) / 2 * 1000);
  using K = EChartChange;
  const auto deliver = [&](const std::string& body) {
    obj.OnData(body.data(), static_cast<int>(body.size()));
  };
  // The first tick makes the history's newest bar the day's.
  deliver(DayTick(mid));
  paint();
  struct Step {
    const char* what;
    std::function<void()> act;
    CChartChanges has;   // kinds it must carry
    CChartChanges only;  // the most it may carry
  } steps[] = {
      {"tick in range", [&] { deliver(DayTick(mid + 270)); }, K::kLastBar, K::kLastBar},
      {"another tick in range", [&] { deliver(DayTick(mid - 310)); }, K::kLastBar, K::kLastBar},
      {"tick past the range", [&] { deliver(DayTick(uint32_t(high * 3000))); }, K::kRange,
       K::kRange | K::kLastBar},
      {"another item's tick", [&] { deliver(DayTick(mid, kCode + 1)); }, CChartChanges(),
       CChartChanges()},
      {"cursor", [&] { obj.OnKey(VK_END); }, K::kCursor, K::kCursor | K::kOverlay},
      {"zoom", [&] { obj.OnCommand(kline_cmd::kZoomIn); }, K::kRange, K::kRange | K::kOverlay},
      {"scheme", [&] { obj.OnSchemeChanged(); }, K::kScheme, K::kScheme},
      {"layout", [&] { obj.SetRect(0, 0, 1200, 760); }, K::kSize, K::kSize | K::kRange},
  };
  for (const Step& step : steps) {
    step.act();
    const CChartChanges changed = obj.Unpainted();
    EXPECT_TRUE(changed.Within(step.only)) << step.what;
    EXPECT_TRUE((changed | step.has) == changed) << step.what;
    // What the next paint redraws: the newest bar's areas, none, or all.
    std::vector<RECT> areas;
    const bool some = obj.ChangedAreas(&areas);
    if (changed.None()) {
      EXPECT_TRUE(some && areas.empty()) << step.what;
    } else if (changed == CChartChanges(K::kLastBar)) {
      EXPECT_TRUE(some && !areas.empty()) << step.what;
    } else if (!changed.Within(K::kLastBar)) {
      EXPECT_FALSE(some) << step.what;
    }
    paint();
  }
}

}  // namespace
}  // namespace charts_test
