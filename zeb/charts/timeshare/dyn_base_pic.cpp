// Point layout, grid and cursor of the time-share pictures.
#include "zeb/charts/timeshare/dyn_base_pic.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "zeb/scheme/sys_style.h"

namespace {

// The scheme font of the grid's value labels ("走势涨跌比例字体").
constexpr int kLabelFont = 6;

constexpr int kStyleNoLeftAxis = 0x40;

std::string Format(const char* format, double v, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, format, decimals, v);
  return text;
}

}  // namespace

int CDynBasePic::IndexAtX(int x, int y) const {
  const int width = m_rcPlot.right - m_rcPlot.left;
  if (width <= 0 || !PtInRect(m_rcPlot, POINT{x, y})) return -1;
  return static_cast<int>(static_cast<int64_t>(x - m_rcPlot.left) * m_nPoints / width);
}

void CDynBasePic::SetPointCount(int count) {
  m_nPoints = std::max(count, 0);
  m_arX.assign(static_cast<size_t>(m_nPoints), m_rcPlot.left);
  if (m_nPoints < 2) return;
  const float step =
      static_cast<float>(m_rcPlot.right - m_rcPlot.left) / static_cast<float>(m_nPoints - 1);
  for (int i = 0; i < m_nPoints; ++i)
    m_arX[i] = m_rcPlot.left + static_cast<int>(static_cast<float>(i) * step);
}

BOOL CDynBasePic::HitTest(int x, int y) {
  m_ptHit = POINT{x, y};
  return PtInRect(m_rcPlot, m_ptHit) ? TRUE : FALSE;
}

void CDynBasePic::SetRect(int left, int top, int right, int bottom) {
  m_rcOuter = RECT{left, top, right, bottom};
}

int CDynBasePic::GetRows() const {
  const int rows = (m_rcPlot.bottom - m_rcPlot.top) / m_nRowSpacing + 1;
  return std::max(rows, 2);
}

void CDynBasePic::ApplyRect(const RECT& rect) {
  m_rcOuter = rect;
  m_rcPlot = rect;
  SetPointCount(m_nPoints);
  Recalc();
}

void CDynBasePic::SetRectDeferredImpl(int style, const RECT& rect, bool deferOnly) {
  m_rcDeferred = rect;
  if ((style & kStyleNoLeftAxis) && deferOnly) return;
  ApplyRect(rect);
}

void CDynBasePic::ApplyDeferred(CDC* dc, int style) {
  if (!(style & kStyleNoLeftAxis)) return;
  // Measured in the font the labels are drawn in: a narrower one cut the
  // first digit of a four-digit price.
  CFont* font = CSysStyle::GetInstance()->GetFont(kLabelFont);
  CFont* old = font ? dc->SelectObject(font) : nullptr;
  const int labelWidth = dc->GetTextExtent("9999.99 ").cx;
  if (old) dc->SelectObject(old);
  RECT r = m_rcDeferred;
  r.left = std::min(r.left + labelWidth, r.right);
  ApplyRect(r);
}

int CDynBasePic::DrawnX(int i) const {
  const int x = m_arX[static_cast<size_t>(i)];
  return std::min(x, m_rcPlot.right - 1);
}

double CDynBasePic::Rounded(double value) const {
  return std::atof(Format("%.*f", value / m_nDivisor, m_nDecimals).c_str()) * m_nDivisor;
}

void CDynBasePic::DrawCursor(CDC* dc) {
  if (m_nCursor < 0 || m_nCursor >= m_nDataCount || m_nCursor >= static_cast<int>(m_arX.size()))
    return;
  const int x = DrawnX(m_nCursor);
  CPen pen(PS_SOLID, 1, RGB(255, 255, 255));
  CPen* old = dc->SelectObject(&pen);
  const int rop = dc->SetROP2(R2_NOT);
  dc->MoveTo(x, m_rcPlot.top);
  dc->LineTo(x, m_rcPlot.bottom);
  dc->SetROP2(rop);
  dc->SelectObject(old);
}

void CDynBasePic::DrawGrid(CDC* dc, const SGridSpec& g) const {
  if (m_arX.empty() || g.rows <= 1) return;
  const double step = static_cast<double>(
      static_cast<float>(static_cast<int64_t>(g.top) - g.bottom) / static_cast<float>(g.rows - 1));
  CPen framePen(PS_SOLID, 1, g.frame);
  CPen* oldPen = dc->SelectObject(&framePen);
  CGdiObject* oldBrush = dc->SelectStockObject(NULL_BRUSH);
  dc->Rectangle(&g.plot);
  const bool priceKind = g.kind == kPriceGrid || g.kind == kPriceGridNoRight;
  const int height = g.plot.bottom - g.plot.top;
  if (priceKind && g.rows % 2 == 1) {
    CPen middlePen(PS_SOLID, 2, g.frame);
    dc->SelectObject(&middlePen);
    const int y = (g.plot.top + g.plot.bottom) / 2;
    dc->MoveTo(g.plot.left, y);
    dc->LineTo(g.plot.right, y);
    dc->SelectObject(&framePen);
  }
  if (priceKind && g.rows % 2 == 0) {
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
    return;
  }
  if (g.top != g.bottom) {
    CFont* font = CSysStyle::GetInstance()->GetFont(kLabelFont);
    CFont* oldFont = font ? dc->SelectObject(font) : nullptr;
    const int mode = dc->SetBkMode(TRANSPARENT);
    const COLORREF oldText = dc->GetTextColor();
    // Summed as doubles: two bounds near the top of 32 bits would wrap.
    const double middle = Rounded((static_cast<double>(g.top) + g.bottom) / 2.0);
    const int middleRow = g.rows / 2;
    for (int i = 0; i < g.rows; ++i) {
      if ((g.kind == kVolumeGrid && (i == 0 || i == g.rows - 1)) ||
          (g.kind == kSkipFirstRow && i == 0))
        continue;
      const int y =
          g.plot.bottom - static_cast<int>(static_cast<int64_t>(height) * i / (g.rows - 1));
      if (i != 0 && i != g.rows - 1) {
        dc->MoveTo(g.plot.left, y);
        dc->LineTo(g.plot.right, y);
      }
      const double value =
          (g.rows % 2 == 1 && i == middleRow) ? middle : Rounded(g.bottom + i * step);
      COLORREF color = g.neutral;
      if (priceKind) color = i > middleRow ? g.up : (i < middleRow ? g.down : g.neutral);
      dc->SetTextColor(color);
      const std::string text = Format("%.*f", value / m_nDivisor, m_nDecimals);
      const SIZE size = dc->GetTextExtent(text);
      RECT box{g.plot.left - 2 - size.cx, y - size.cy / 2, g.plot.left - 2, y + size.cy / 2 + 1};
      dc->DrawText(text, &box, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
      if (g.kind == kPriceGrid && middle != 0) {
        char percent[32];
        std::snprintf(percent, sizeof percent, "%.2f%%", std::fabs(value - middle) * 100 / middle);
        const SIZE ps = dc->GetTextExtent(percent);
        RECT pbox{g.plot.right + 2, y - ps.cy / 2, g.plot.right + 2 + ps.cx, y + ps.cy / 2 + 1};
        dc->DrawText(percent, -1, &pbox, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
      }
    }
    dc->SetTextColor(oldText);
    dc->SetBkMode(mode);
    if (oldFont) dc->SelectObject(oldFont);
  }
  CPen dotPen(PS_DOT, 1, g.frame);
  for (int k = 0; k < g.vlineCount; ++k) {
    const int index = g.vlines[k];
    if (index < 0 || index >= static_cast<int>(m_arX.size())) continue;
    dc->SelectObject((index == g.strong || k % 2 == 0) ? &framePen : &dotPen);
    const int x = m_arX[static_cast<size_t>(index)];
    dc->MoveTo(x, g.plot.top);
    dc->LineTo(x, g.plot.bottom);
  }
  dc->SelectObject(oldBrush);
  dc->SelectObject(oldPen);
}
