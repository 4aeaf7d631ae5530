// Point layout, grid and cursor of the time-share pictures.
#include "zeb/charts/timeshare/dyn_base_pic.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "zeb/scheme/sys_style.h"

namespace {

// The scheme font of the grid's value labels ("走势涨跌比例字体").
constexpr int kLabelFont = 6;

constexpr int kStyleNoLeftAxis = 0x40;

// Whether a label drawn unclipped in its box can put ink where the
// painter draws: the box widened by the text's height on every side holds
// any overhang of its glyphs. A painter redrawing a few columns then lays
// out none of the labels away from them.
bool LabelReaches(const CChartPainter& painter, const RECT& box, const SIZE& size) {
  const int m = std::max<int>(size.cy, 1);
  return painter.Reaches(RECT{box.left - m, box.top - m, box.right + m, box.bottom + m});
}

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

void CDynBasePic::LayoutPoints() {
  m_arX.assign(static_cast<size_t>(m_nPoints), m_rcPlot.left);
  if (m_nPoints < 2) return;
  const float step =
      static_cast<float>(m_rcPlot.right - m_rcPlot.left) / static_cast<float>(m_nPoints - 1);
  for (int i = 0; i < m_nPoints; ++i)
    m_arX[i] = m_rcPlot.left + static_cast<int>(static_cast<float>(i) * step);
}

void CDynBasePic::SetPointCount(int count) {
  m_nPoints = std::max(count, 0);
  LayoutPoints();
  Recalc();
}

void CDynBasePic::SetFormat(int decimals, int divisor) {
  m_nDecimals = decimals;
  m_nDivisor = divisor > 0 ? divisor : 1;
  Recalc();
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
  LayoutPoints();
  Recalc();
}

void CDynBasePic::SetRectDeferredImpl(int style, const RECT& rect, bool deferOnly) {
  m_rcDeferred = rect;
  if ((style & kStyleNoLeftAxis) && deferOnly) return;
  ApplyRect(rect);
}

void CDynBasePic::ApplyDeferred(CChartPainter& painter, int style) {
  if (!(style & kStyleNoLeftAxis)) return;
  // Measured in the font the labels are drawn in: a narrower one cut the
  // first digit of a four-digit price.
  CFont* font = CSysStyle::GetInstance()->GetFont(kLabelFont);
  const int labelWidth = painter.TextExtent("9999.99 ", font).cx;
  RECT r = m_rcDeferred;
  r.left = std::min(r.left + labelWidth, r.right);
  if (EqualRect(r, m_rcPlot) && EqualRect(r, m_rcOuter)) return;
  ApplyRect(r);
}

int CDynBasePic::DrawnX(int i) const {
  const int x = m_arX[static_cast<size_t>(i)];
  return std::min(x, m_rcPlot.right - 1);
}

RECT CDynBasePic::PointsColumn(int first, int last) const {
  const int from = std::max(first - 1, 0);
  const int to = std::min(last, static_cast<int>(m_arX.size()) - 1);
  if (to < from) return RECT{};
  // Two pixels either side hold a one-pixel pen's ink, the plot's frame
  // and the cursor's line.
  constexpr int kInk = 2;
  return RECT{DrawnX(from) - kInk, m_rcPlot.top - kInk, DrawnX(to) + kInk + 1,
              m_rcPlot.bottom + kInk};
}

double CDynBasePic::Rounded(double value) const {
  return std::atof(Format("%.*f", value / m_nDivisor, m_nDecimals).c_str()) * m_nDivisor;
}

void CDynBasePic::DrawCursor(CChartPainter& painter) {
  if (m_nCursor < 0 || m_nCursor >= m_nDataCount || m_nCursor >= static_cast<int>(m_arX.size()))
    return;
  const int x = DrawnX(m_nCursor);
  painter.SetInvert(true);
  painter.Line(x, m_rcPlot.top, x, m_rcPlot.bottom, SPenSpec{PS_SOLID, 1, RGB(255, 255, 255)});
  painter.SetInvert(false);
}

bool CDynBasePic::SGridInputs::operator==(const SGridInputs& o) const {
  const SGridShape& a = shape;
  const SGridShape& b = o.shape;
  return a.bottom == b.bottom && a.top == b.top && a.rows == b.rows && a.kind == b.kind &&
         a.vlines == b.vlines && a.vlineCount == b.vlineCount && a.strong == b.strong &&
         EqualRect(plot, o.plot) && points == o.points && decimals == o.decimals &&
         divisor == o.divisor;
}

void CDynBasePic::PrepareGrid(const SGridShape& g) {
  // The points' x follow from the plot and their count.
  const SGridInputs inputs{g, m_rcPlot, static_cast<int>(m_arX.size()), m_nDecimals, m_nDivisor};
  if (m_gridInputs && *m_gridInputs == inputs) return;
  m_gridInputs = inputs;
  m_grid = SGrid{};
  if (m_arX.empty() || g.rows <= 1) return;
  m_grid.shown = true;
  const RECT& plot = m_rcPlot;
  const double step = static_cast<double>(
      static_cast<float>(static_cast<int64_t>(g.top) - g.bottom) / static_cast<float>(g.rows - 1));
  const bool priceKind = g.kind == kPriceGrid || g.kind == kPriceGridNoRight;
  const int height = plot.bottom - plot.top;
  if (priceKind && g.rows % 2 == 1) {
    m_grid.middleLine = true;
    m_grid.middleY = (plot.top + plot.bottom) / 2;
  }
  if (priceKind && g.rows % 2 == 0) return;
  m_grid.rowsShown = true;
  if (g.top != g.bottom) {
    // Summed as doubles: two bounds near the top of 32 bits would wrap.
    const double middle = Rounded((static_cast<double>(g.top) + g.bottom) / 2.0);
    const int middleRow = g.rows / 2;
    for (int i = 0; i < g.rows; ++i) {
      if ((g.kind == kVolumeGrid && (i == 0 || i == g.rows - 1)) ||
          (g.kind == kSkipFirstRow && i == 0))
        continue;
      SGridRow row;
      row.y = plot.bottom - static_cast<int>(static_cast<int64_t>(height) * i / (g.rows - 1));
      row.line = i != 0 && i != g.rows - 1;
      const double value =
          (g.rows % 2 == 1 && i == middleRow) ? middle : Rounded(g.bottom + i * step);
      row.tone = priceKind ? (i > middleRow ? 1 : (i < middleRow ? -1 : 0)) : 0;
      row.value = Format("%.*f", value / m_nDivisor, m_nDecimals);
      if (priceKind && middle != 0) {
        char percent[32];
        std::snprintf(percent, sizeof percent, "%.2f%%", std::fabs(value - middle) * 100 / middle);
        row.percent = percent;
      }
      m_grid.rows.push_back(std::move(row));
    }
  }
  for (int k = 0; k < g.vlineCount; ++k) {
    const int index = g.vlines[k];
    if (index < 0 || index >= static_cast<int>(m_arX.size())) continue;
    m_grid.vlines.push_back(
        SGridLine{m_arX[static_cast<size_t>(index)], index == g.strong || k % 2 == 0});
  }
}

void CDynBasePic::DrawGrid(CChartPainter& painter, const SGridColors& colors, bool percents) const {
  if (!m_grid.shown) return;
  const RECT& plot = m_rcPlot;
  const SPenSpec framePen{PS_SOLID, 1, colors.frame};
  painter.Rect(plot, framePen, kHollow);
  if (m_grid.middleLine)
    painter.Line(plot.left, m_grid.middleY, plot.right, m_grid.middleY,
                 SPenSpec{PS_SOLID, 2, colors.frame});
  if (!m_grid.rowsShown) return;
  CFont* font = CSysStyle::GetInstance()->GetFont(kLabelFont);
  // A label is a line of this height centred on its row: a row whose band
  // of twice the height either side is out of the painter's reach has no
  // label to measure.
  const int lineHeight = std::max<int>(painter.TextExtent("0", font).cy, 1);
  for (const SGridRow& row : m_grid.rows) {
    if (row.line) painter.Line(plot.left, row.y, plot.right, row.y, framePen);
    if (!painter.Reaches(
            RECT{INT_MIN / 2, row.y - 2 * lineHeight, INT_MAX / 2, row.y + 2 * lineHeight}))
      continue;
    const COLORREF color = row.tone > 0 ? colors.up : (row.tone < 0 ? colors.down : colors.neutral);
    const SIZE size = painter.TextExtent(row.value, font);
    const RECT box{plot.left - 2 - size.cx, row.y - size.cy / 2, plot.left - 2,
                   row.y + size.cy / 2 + 1};
    if (LabelReaches(painter, box, size))
      painter.Text(row.value, box, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP, color, font);
    if (percents && !row.percent.empty()) {
      const SIZE ps = painter.TextExtent(row.percent, font);
      const RECT pbox{plot.right + 2, row.y - ps.cy / 2, plot.right + 2 + ps.cx,
                      row.y + ps.cy / 2 + 1};
      if (LabelReaches(painter, pbox, ps))
        painter.Text(row.percent, pbox, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP, color,
                     font);
    }
  }
  const SPenSpec dotPen{PS_DOT, 1, colors.frame};
  for (const SGridLine& line : m_grid.vlines)
    painter.Line(line.x, plot.top, line.x, plot.bottom, line.solid ? framePen : dotPen);
}
