// The K-line page painted through the device context into a memory DC, as
// the chart view will show it: candles in the scheme's rise and fall
// colours over the price grid, with the VOL, MACD and KDJ panes below.
// With ZEB_KLINE_PNG_DIR set, the pictures are saved there to be looked at.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <cstdlib>

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

}  // namespace
}  // namespace charts_test
