// Draws the chip distribution headless for the screenshot run.
#include "tools/screenshot/chart_object_pictures.h"

#include <algorithm>
#include <random>
#include <vector>

#include "platform/gdi.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/charts/chips/chip_distrib_pic.h"

namespace {

constexpr COLORREF kBackground = RGB(0, 0, 0);

struct Canvas {
  QImage image;
  CDC dc;
  Canvas(int width, int height) : image(width, height, QImage::Format_ARGB32_Premultiplied) {
    image.fill(QColor(GetRValue(kBackground), GetGValue(kBackground), GetBValue(kBackground)));
    dc.Attach(&image);
  }
  QImage Take() {
    dc.Detach();
    return image;
  }
};

// 120 daily bars of a seeded walk, dates 1 .. 120 of a run of days.
std::vector<SHistoryUnit> Bars() {
  std::vector<SHistoryUnit> bars;
  std::mt19937 rng(5);
  std::uniform_real_distribution<float> move(-0.3f, 0.32f), range(0.05f, 0.4f);
  std::uniform_int_distribution<uint32_t> volume(20000, 90000);
  float close = 10.0f;
  for (int i = 0; i < 120; ++i) {
    const float open = close;
    close = std::max(2.0f, close + move(rng));
    const float high = std::max(open, close) + range(rng), low = std::min(open, close) - range(rng);
    bars.push_back(SHistoryUnit{20250101 + i, open, high, low, close, volume(rng), 0});
  }
  return bars;
}

void FrameRect(CDC& dc, const RECT& r, COLORREF color) {
  CPen pen(PS_SOLID, 1, color);
  CPen* old = dc.SelectObject(&pen);
  CGdiObject* brush = dc.SelectStockObject(NULL_BRUSH);
  dc.Rectangle(&r);
  dc.SelectObject(brush);
  dc.SelectObject(old);
}

QImage ChipPicture() {
  Canvas c(560, 420);
  const std::vector<SHistoryUnit> bars = Bars();
  CChipDistribPic on, off;
  for (CChipDistribPic* pic : {&on, &off}) {
    pic->SetCapitalInfo(3000000, nullptr, 0);
    pic->SetRect(pic == &on ? 10 : 290, 10, pic == &on ? 260 : 540, 410);
    pic->SetPriceRect(0, 20, 0, 400);
    pic->SetBars(bars.data(), static_cast<int>(bars.size()));
    pic->SetCurIndex(110);
  }
  on.SetTechShown(1);
  on.Draw(&c.dc);
  off.Draw(&c.dc);
  FrameRect(c.dc, RECT{10, 10, 260, 410}, CSysStyle::GetInstance()->GetColor(6));
  FrameRect(c.dc, RECT{290, 10, 540, 410}, CSysStyle::GetInstance()->GetColor(6));
  return c.Take();
}

}  // namespace

int PictureCharts(const KeepImage& keep) {
  keep("14-chips.png", ChipPicture());
  return 1;
}
