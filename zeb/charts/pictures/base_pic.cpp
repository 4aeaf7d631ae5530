// Value range, pixel mapping and drawing primitives of every chart picture.
#include "zeb/charts/pictures/base_pic.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "zeb/scheme/sys_style.h"
#include "zeb/store/amount_units.h"
#include "zeb/store/public_store.h"

COLORREF SchemeColor(int id) { return CSysStyle::GetInstance()->GetColor(id); }

std::string DecimalsFormat(int decimals) {
  char fmt[16];
  std::snprintf(fmt, sizeof fmt, "%%.%df", decimals < 0 ? 0 : (decimals > 9 ? 9 : decimals));
  return fmt;
}

std::string FormatFixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, DecimalsFormat(decimals).c_str(), value);
  return text;
}

int CBasePic::HitTest(int x, int y) {
  m_ptLast = POINT{x, y};
  return PtInRect(m_rcPlot, m_ptLast) ? 1 : 0;
}

const RECT* CBasePic::SetRect(int left, int top, int right, int bottom) {
  m_rcPicture = RECT{left, top, right, bottom};
  return &m_rcPicture;
}

void CBasePic::SetXPositions(const int* positions, int count) {
  m_pX = positions;
  m_nXCount = positions ? count : 0;
}

float CBasePic::ValueAtY(int y) const {
  const int height = m_rcPlot.bottom - m_rcPlot.top;
  if (y > m_rcPlot.bottom || y < m_rcPlot.top || height <= 0) return -1.0f;
  return float(m_rcPlot.bottom - y) / float(height) * (m_fMax - m_fMin) * m_fScale + m_fMin;
}

CFont* CBasePic::SetFont(CFont* font) {
  CFont* old = m_pLabelFont;
  m_pLabelFont = font;
  return old;
}

namespace {

int64_t Thousandths(float v) { return static_cast<int64_t>(double(v) * kPriceUnit); }

// Thousandths of values this small are exact in 64 bits and grow with the
// value.
constexpr float kWholeRange = 9.0e15f;

}  // namespace

void CBasePic::UpdateMinMax(float* minimum, float* maximum, const float* values, int count,
                            int fresh) const {
  if (count <= 0 || values == nullptr) return;
  int64_t high = fresh ? INT64_MIN : Thousandths(*maximum);
  int64_t low = fresh ? INT64_MAX : Thousandths(*minimum);
  // The extremes of the values first, a select per value and no branch:
  // the thousandths grow with the value, so theirs are the extremes'
  // thousandths. Past the range where they do, value by value.
  float smallest = std::numeric_limits<float>::max();
  float largest = std::numeric_limits<float>::lowest();
  for (int i = 0; i < count; ++i) {
    const float v = values[i];
    const bool shown = v != kNoValue && std::fabs(v) <= std::numeric_limits<float>::max();
    smallest = shown && v < smallest ? v : smallest;
    largest = shown && v > largest ? v : largest;
  }
  const bool any = smallest <= largest;
  if (any && largest < kWholeRange && smallest > -kWholeRange) {
    high = std::max(high, Thousandths(largest));
    low = std::min(low, Thousandths(smallest));
  } else if (any) {
    for (int i = 0; i < count; ++i) {
      const float v = values[i];
      if (v == kNoValue || !std::isfinite(v)) continue;
      const int64_t t = Thousandths(v);
      if (t > high) high = t;
      if (t < low) low = t;
    }
  }
  if (!any && fresh) return;
  *maximum = float(double(high) / kPriceUnit);
  *minimum = float(double(low) / kPriceUnit);
}

int CBasePic::ValueToY(float value) const {
  if (m_fMax == m_fMin) return m_rcPlot.top;
  const double height = m_rcPlot.bottom - m_rcPlot.top;
  const double span = (double(m_fMax) - m_fMin) * m_fScale;
  int row = m_rcPlot.bottom - ToPixel(height * ((double(value) - m_fMin) / span));
  if (row > m_rcPlot.bottom) row = m_rcPlot.bottom;
  if (row < m_rcPlot.top) row = m_rcPlot.top;
  return row;
}

void CBasePic::AllocOutputs(int barCount) {
  FreeOutputs();
  const size_t bars = barCount > 0 ? static_cast<size_t>(barCount) : 0;
  m_outValues.assign(static_cast<size_t>(m_nOutputs), std::vector<float>(bars, 0.0f));
  m_outRows.assign(static_cast<size_t>(m_nOutputs), std::vector<int>(bars, 0));
}

void CBasePic::FreeOutputs() {
  m_outValues.clear();
  m_outRows.clear();
}

int CBasePic::Paint(CDC* dc) {
  if (dc == nullptr) return 0;
  CDCPainter painter(dc);
  return Paint(painter);
}

void CBasePic::DrawFrame(CChartPainter& p) {
  p.Rect(m_rcPicture, SPenSpec{PS_SOLID, 1, CSysStyle::GetInstance()->GetColor(6)}, kHollow);
}

namespace {
// Where a grid's value labels lie: left of it, each in a box its text is
// clipped to. A painter reaching none of it (a redraw of a few columns or
// of the titles) is spared laying them out.
RECT LabelStrip(const RECT& grid) {
  return RECT{INT_MIN / 2, INT_MIN / 2, grid.left - 2, INT_MAX / 2};
}
}  // namespace

void CBasePic::DrawLabel(CChartPainter& p, const std::string& text, int left, int y, COLORREF color,
                         CFont* font, RECT* last) {
  const SIZE s = p.TextExtent(text, font);
  RECT box{left - 2 - s.cx, y - s.cy / 2, left - 2, y + s.cy / 2 + 1};
  // Kept inside the picture: a label on its bottom edge would overlap the
  // top label of the pane below.
  int shift = 0;
  if (box.bottom > m_rcPicture.bottom) shift = m_rcPicture.bottom - box.bottom;
  if (box.top + shift < m_rcPicture.top) shift = m_rcPicture.top - box.top;
  box.top += shift;
  box.bottom += shift;
  // Rows closer than a label's height: every other label shows.
  if (last->bottom > last->top && box.top < last->bottom && box.bottom > last->top) return;
  *last = box;
  p.Text(text, box, DT_CENTER | DT_VCENTER | DT_SINGLELINE, color, font);
}

void CBasePic::DrawYAxis(CChartPainter& p, const SAxisSpec& a) {
  const int n = a.lines;
  if (m_pX == nullptr || n <= 1) return;
  const float step = (m_fMax - m_fMin) / float(n - 1);
  const SPenSpec grid{PS_SOLID, 1, a.gridColor};
  p.Rect(a.rect, grid, kHollow);
  const int top = a.rect.top, bottom = a.rect.bottom, left = a.rect.left, right = a.rect.right;
  if (a.style == 0 || a.style == 2) {
    if (n % 2 == 0) return;
    const int mid = (top + bottom) / 2;
    p.Line(left, mid, right, mid, SPenSpec{PS_SOLID, 2, a.gridColor});
  }
  if (m_fMax == m_fMin) return;
  const float middle =
      float(std::atof(FormatFixed((double(m_fMax) + m_fMin) / 2.0, m_nDecimals).c_str()));
  const int height = bottom - top;
  CFont* percentFont = CSysStyle::GetInstance()->GetFont(6);
  RECT drawn{};
  for (int i = 0; i < n; ++i) {
    if (a.style == 3 && (i == 0 || i == n - 1)) continue;
    if (a.style == 5 && i == 0) continue;
    const int y = bottom - height * i / (n - 1);
    if (i != 0 && i != n - 1) p.Line(left, y, right, y, grid);
    const float value = i == n / 2 ? middle : m_fMin + float(i) * step;
    COLORREF color = a.labelColor;
    if (a.style == 0 || a.style == 2) {
      if (i > n / 2) color = a.aboveColor;
      if (i < n / 2) color = a.belowColor;
    }
    DrawLabel(p, FormatFixed(value, m_nDecimals), left, y, color, m_pLabelFont, &drawn);
    if (a.style == 0 && middle != 0.0f) {
      char text[64];
      std::snprintf(text, sizeof text, "%.2f%%", std::fabs(value - middle) * 100.0 / middle);
      const SIZE s = p.TextExtent(text, percentFont);
      p.Text(text, RECT{right + 2, y - s.cy / 2, right + 2 + s.cx, y + s.cy / 2 + 1},
             DT_CENTER | DT_VCENTER | DT_SINGLELINE, color, percentFont);
    }
  }
  for (int k = 0; k < a.verticalCount; ++k) {
    const int index = a.verticals[k];
    if (index < 0 || index >= m_nXCount) continue;
    const int x = m_pX[index];
    const int style = index == a.highlighted ? PS_SOLID : (k % 2 ? PS_DOT : PS_SOLID);
    p.Line(x, top, x, bottom, SPenSpec{style, 1, a.gridColor});
  }
}

void CBasePic::DrawValueGrid(CChartPainter& p, const RECT& rect, const float* values, int n,
                             int style, COLORREF line, COLORREF label) {
  if (m_fMax == m_fMin || m_pX == nullptr || n <= 1) return;
  if (style != 4) p.Rect(rect, SPenSpec{PS_SOLID, 1, line}, kHollow);
  const double height = rect.bottom - rect.top;
  const double span = (double(m_fMax) - m_fMin) * m_fScale;
  const bool labels = p.Reaches(LabelStrip(rect));
  RECT drawn{};
  for (int i = 0; i < n; ++i) {
    const int y = rect.bottom - ToPixel(height * (double(values[i]) - m_fMin) / span);
    if (style == 4 || (i != 0 && i != n - 1))
      p.Line(rect.left, y, rect.right, y, SPenSpec{PS_DOT, 1, line});
    if (labels)
      DrawLabel(p, CPublic::FormatValue(values[i], m_nDecimals), rect.left, y, label, m_pLabelFont,
                &drawn);
  }
}

void CBasePic::DrawPercentGrid(CChartPainter& p, const RECT& rect, const float* values, int n,
                               int style, COLORREF line, COLORREF label, float reference) {
  if (m_fMax == m_fMin || m_pX == nullptr || n <= 1) return;
  if (style != 4) p.Rect(rect, SPenSpec{PS_SOLID, 1, line}, kHollow);
  const double height = rect.bottom - rect.top;
  const bool labels = p.Reaches(LabelStrip(rect));
  RECT drawn{};
  for (int i = 0; i < n; ++i) {
    const int y =
        rect.bottom - ToPixel(height * (double(values[i]) - m_fMin) / (double(m_fMax) - m_fMin));
    if (style == 4 || (i != 0 && i != n - 1))
      p.Line(rect.left, y, rect.right, y, SPenSpec{PS_DOT, 1, line});
    if (!labels) continue;
    char text[64];
    const double pct =
        reference != 0.0f ? (double(values[i]) - reference) * 100.0 / reference : 0.0;
    std::snprintf(text, sizeof text, "%.2f%%", pct);
    DrawLabel(p, text, rect.left, y, label, m_pLabelFont, &drawn);
  }
}

void CBasePic::ChooseDrawnBars(CChartPainter& p, bool marks) {
  m_nFromBar = 0;
  m_nEndBar = INT_MAX;
  if (marks || m_pX == nullptr || m_nXCount <= 0) return;
  // A bar draws inside the plot's rows, within its column and up to the
  // next bar's (a segment of a line).
  const int reach = std::max(1, m_nCandleWidth) + 2;
  const RECT within{m_rcPlot.left - reach, m_rcPlot.top, m_rcPlot.right + reach,
                    m_rcPlot.bottom + 1};
  int left = 0, right = 0;
  if (!p.ReachedColumns(within, &left, &right)) return;
  int from = 0;
  while (from < m_nXCount && m_pX[from] + reach < left) ++from;
  int to = m_nXCount - 1;
  while (to >= 0 && m_pX[to] - reach > right) --to;
  // The segments from the bar before and to the bar after.
  m_nFromBar = std::max(0, from - 1);
  m_nEndBar = to + 2;
}

void CBasePic::DrawLines(CChartPainter& p, int width, COLORREF color, const int* rows, int n,
                         int marks) {
  if (rows == nullptr || m_pX == nullptr) return;
  if (n > m_nXCount) n = m_nXCount;
  if (!marks && m_nEndBar < n) n = m_nEndBar;
  const int start = marks ? 0 : std::min(m_nFromBar, std::max(0, n));
  if (m_fMax == 0.0f && m_fMin == 0.0f) return;
  const SPenSpec pen{PS_SOLID, width, color};
  const int half = m_nCandleWidth / 2;
  // Runs of rows with a value become one polyline; a missing row breaks it.
  std::vector<POINT> run;
  run.reserve(static_cast<size_t>(n > start ? n - start : 0));
  int lastMark = 0;
  for (int i = start; i < n; ++i) {
    if (rows[i] == kNoRow) {
      p.Polyline(run.data(), static_cast<int>(run.size()), pen);
      run.clear();
      continue;
    }
    run.push_back(POINT{m_pX[i] + half, rows[i]});
    if (marks && run.size() >= 2 && m_pX[i] - lastMark > 50) {
      lastMark = m_pX[i];
      p.Rect(RECT{m_pX[i] - 3, rows[i] - 3, m_pX[i] + 3, rows[i] + 3}, pen, color);
    }
  }
  p.Polyline(run.data(), static_cast<int>(run.size()), pen);
}

void CBasePic::DrawBars(CChartPainter& p, int width, const int* rows, int n, COLORREF up,
                        COLORREF down, float base) {
  if (rows == nullptr || m_pX == nullptr || m_fMax == m_fMin) return;
  if (n > m_nXCount) n = m_nXCount;
  const double height = m_rcPlot.bottom - m_rcPlot.top;
  const int baseRow =
      ToPixel(m_rcPlot.bottom - height * (double(base) - m_fMin) / (double(m_fMax) - m_fMin));
  const int half = m_nCandleWidth / 2;
  // Sticks inside the plot's rows lie in their bars' columns: only the bars
  // the painter reaches are drawn. One reaching out of the plot (a base
  // or value beyond the range) may meet what lies above or below it.
  const auto inPlot = [&](int row) { return row >= m_rcPlot.top && row <= m_rcPlot.bottom; };
  const bool inside = inPlot(baseRow) && std::all_of(rows, rows + std::max(n, 0), [&](int row) {
                        return row == kNoRow || inPlot(row);
                      });
  const int from = inside ? std::min(m_nFromBar, std::max(n, 0)) : 0;
  const int end = inside ? std::min(n, m_nEndBar) : n;
  for (int i = from; i < end; ++i) {
    if (rows[i] == kNoRow) continue;
    const int x = m_pX[i] + half;
    p.Line(x, baseRow, x, rows[i], SPenSpec{PS_SOLID, width, rows[i] < baseRow ? up : down});
  }
}
