// Draws the chip distribution and the drawing tools headless for the
// screenshot run.
#include "zeb/screenshot/chart_object_pictures.h"

#include <algorithm>
#include <random>
#include <vector>

#include "platform/gdi.h"
#include "ui/sys_style.h"
#include "zeb/charts/chips/chip_distrib_pic.h"
#include "zeb/charts/tools/anchor_map.h"
#include "zeb/charts/tools/line_tool_set.h"

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

// Close prices of the bars as a line, so the figures have a chart under them.
void DrawCloses(CDC& dc, const CAnchorMap& map, const std::vector<SHistoryUnit>& bars) {
  CPen pen(PS_SOLID, 1, CSysStyle::GetInstance()->GetColor(7));
  CPen* old = dc.SelectObject(&pen);
  const CAnchorMap::SView& v = map.View();
  for (size_t i = 0; i < v.xs.size(); ++i) {
    const int x = v.xs[i] + v.candleWidth / 2;
    const int y = map.ValueToY(bars[v.first + i].fClose);
    if (i == 0)
      dc.MoveTo(x, y);
    else
      dc.LineTo(x, y);
  }
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

QImage ToolsPicture() {
  Canvas c(900, 460);
  const std::vector<SHistoryUnit> bars = Bars();
  CAnchorMap map;
  CAnchorMap::SView v;
  for (const SHistoryUnit& b : bars) v.dates.push_back(b.nDate);
  v.first = 20;
  for (int i = 0; i < 100; ++i) v.xs.push_back(40 + i * 8);
  v.candleWidth = 6;
  v.plot = RECT{40, 20, 840, 440};
  v.minimum = 1e9f;
  v.maximum = -1e9f;
  for (size_t i = 20; i < bars.size(); ++i) {
    v.minimum = std::min(v.minimum, bars[i].fLow);
    v.maximum = std::max(v.maximum, bars[i].fHigh);
  }
  map.SetView(v);
  FrameRect(c.dc, v.plot, CSysStyle::GetInstance()->GetColor(6));
  DrawCloses(c.dc, map, bars);
  CLineToolSet set(&map);
  const auto drag = [&](int tool, POINT p, POINT q) {
    set.SetDrawMode(tool);
    set.OnLButtonDown(p.x, p.y);
    set.OnMouse(q.x, q.y);
    set.OnLButtonUp(q.x, q.y);
  };
  drag(1, {60, 380}, {300, 120});   // line
  drag(2, {330, 80}, {450, 170});   // rectangle
  drag(3, {480, 300}, {640, 240});  // parallel lines
  drag(4, {660, 60}, {820, 200});   // golden section
  drag(5, {100, 250}, {200, 330});  // Gann lines
  set.SetDrawMode(0);
  set.OnLButtonDown(480, 300);  // the parallel lines selected
  set.OnLButtonUp(480, 300);
  set.Draw(&c.dc);
  return c.Take();
}

}  // namespace

int PictureCharts(const KeepImage& keep) {
  keep("14-chips.png", ChipPicture());
  keep("14-drawing-tools.png", ToolsPicture());
  return 2;
}
