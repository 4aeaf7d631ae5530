// Scaling and drawing of the time-share price picture.
#include "zeb/charts/timeshare/price_pic.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "zeb/scheme/sys_style.h"

void CPricePic::SetRectDeferred(int left, int top, int right, int bottom, bool deferOnly) {
  SetRectDeferredImpl(m_nStyle, RECT{left, top, right, bottom}, deferOnly);
}

int CPricePic::YOf(int64_t v) const {
  const int height = m_rcPlot.bottom - m_rcPlot.top;
  if (m_nTop == m_nBottom) return m_rcPlot.bottom;
  int y = m_rcPlot.bottom -
          static_cast<int>(static_cast<double>(height) * static_cast<double>(v - m_nBottom) /
                           (static_cast<double>(m_nTop) - m_nBottom));
  if (y >= m_rcPlot.bottom) y = m_rcPlot.bottom - 1;
  if (y <= m_rcPlot.top) y = m_rcPlot.top + 1;
  return y;
}

int CPricePic::SetData(const SDynPicData& d) {
  m_nDataCount = std::max(d.count, 0);
  m_nRef = d.preClose;
  m_pPrice = d.values[0];
  m_pAverage = d.values[1];
  m_pSecond = d.values[2];
  m_nSecondRef = d.values[3] ? *d.values[3] : 0;
  if (!m_pPrice) m_nDataCount = 0;

  int64_t top = 0, bottom = 0;
  bool any = false;
  const auto widen = [&](const int32_t* values) {
    for (int i = 0; values && i < m_nDataCount; ++i) {
      if (values[i] == kNoPrice) continue;
      if (!any) top = bottom = values[i], any = true;
      top = std::max<int64_t>(top, values[i]);
      bottom = std::min<int64_t>(bottom, values[i]);
    }
  };
  widen(m_pPrice);
  widen(m_pAverage);
  const int64_t ref = m_nRef;
  // A second item is brought to this scale through both references: a
  // zero reference on either side would divide by zero, so it adds nothing.
  if (m_pSecond && m_nSecondRef != 0 && ref != 0) {
    int64_t max2 = 0, min2 = 0;
    bool any2 = false;
    for (int i = 0; i < m_nDataCount; ++i) {
      if (m_pSecond[i] == kNoPrice) continue;
      if (!any2) max2 = min2 = m_pSecond[i], any2 = true;
      max2 = std::max<int64_t>(max2, m_pSecond[i]);
      min2 = std::min<int64_t>(min2, m_pSecond[i]);
    }
    if (any2) {
      top = std::max(top, ref + (max2 - m_nSecondRef) * ref / m_nSecondRef);
      bottom = std::min(bottom, ref - ref * (m_nSecondRef - min2) / m_nSecondRef);
    }
  }

  // The day's price bounds: prices outside them widen them around the
  // reference by the farther side, with a margin of 1% (after the second
  // line has widened the range, so the bounds hold both lines).
  int64_t upper = d.upper, lower = d.lower;
  if (any && (upper < top || lower > bottom)) {
    const int64_t e = std::max(std::llabs(ref - bottom), std::llabs(top - ref));
    lower = static_cast<int64_t>(static_cast<double>(ref - e) * 0.99);
    upper = static_cast<int64_t>(static_cast<double>(ref + e) * 1.01);
  }

  const int rows = GetRows();
  const int64_t c = std::llabs(top - ref), dd = std::llabs(bottom - ref);
  int64_t h = (rows % 2 == 0 ? rows + 1 : rows) / 2;
  h = std::max<int64_t>(h, 1);
  int64_t e = h * (std::max(c, dd) / h + 1);
  if (m_nDecimals == 3) {
    e = std::max(e, h);
  } else if (e / 10 < h) {
    e = 10 * h;
  }
  e = std::max<int64_t>(e, static_cast<int64_t>(static_cast<double>(ref) * 0.01));
  // Prices from the server may be anywhere in 32 bits: the range is kept
  // within them.
  int64_t rangeTop = ref + e, rangeBottom = ref - e;
  // Bounds inside the range narrow it to them, so a quiet day (a past
  // day's bounds are its own extremes) spans the plot.
  if (upper > 0 && upper < rangeTop) rangeTop = upper;
  if (lower > 0 && lower > rangeBottom) rangeBottom = lower;
  m_nTop = static_cast<int>(std::min<int64_t>(rangeTop, INT32_MAX));
  m_nBottom = static_cast<int>(std::max<int64_t>(rangeBottom, INT32_MIN));

  const size_t n = static_cast<size_t>(m_nDataCount);
  m_arPriceY.assign(n, kNoPrice);
  m_arAvgY.assign(m_pAverage ? n : 0, kNoPrice);
  m_arSecondY.assign(m_pSecond ? n : 0, kNoPrice);
  Recalc();
  return 1;
}

void CPricePic::Recalc() {
  m_nRows = GetRows();
  if (m_nRows % 2 == 0) --m_nRows;
  const int n = std::min<int>(m_nDataCount, static_cast<int>(m_arPriceY.size()));
  const int height = m_rcPlot.bottom - m_rcPlot.top;
  const int64_t ref = m_nRef, r2 = m_nSecondRef;
  const int64_t s = ref != 0 ? (ref - m_nBottom) * r2 / ref : 0;
  for (int i = 0; i < n; ++i) {
    m_arPriceY[i] = m_pPrice[i] == kNoPrice ? kNoPrice : YOf(m_pPrice[i]);
    if (m_pAverage) m_arAvgY[i] = m_pAverage[i] == kNoPrice ? kNoPrice : YOf(m_pAverage[i]);
    if (m_pSecond) {
      const int32_t v = m_pSecond[i];
      if (v == kNoPrice) {
        m_arSecondY[i] = kNoPrice;
      } else if (s == 0) {
        m_arSecondY[i] = m_rcPlot.bottom;
      } else {
        const int64_t y = m_rcPlot.bottom - (v - (r2 - s)) * height / (2 * s);
        m_arSecondY[i] = static_cast<int>(std::min<int64_t>(y, m_rcPlot.bottom));
      }
    }
  }
  PrepareSeries(m_arAvgY, m_pAverage, m_arAvgLine);
  PrepareSeries(m_arPriceY, m_pPrice, m_arPriceLine);
  PrepareSeries(m_arSecondY, m_pSecond, m_arSecondLine);
  PrepareGrid(SGridShape{m_nBottom, m_nTop, m_nRows, kPriceGrid, kGridPoints,
                         static_cast<int>(std::size(kGridPoints)), kStrongPoint});
}

void CPricePic::PrepareSeries(const std::vector<int>& rows, const int32_t* values,
                              std::vector<SDynSegment>& out) const {
  out.clear();
  if (!values) return;
  const int n = std::min<int>(
      {m_nDataCount, m_nPoints, static_cast<int>(rows.size()), static_cast<int>(m_arX.size())});
  for (int i = 1; i < n; ++i) {
    if (rows[i - 1] == kNoPrice || rows[i] == kNoPrice) continue;
    out.push_back(SDynSegment{DrawnX(i - 1), rows[i - 1], DrawnX(i), rows[i]});
  }
}

int CPricePic::Paint(CChartPainter& painter) {
  CSysStyle* style = CSysStyle::GetInstance();
  ApplyDeferred(painter, m_nStyle);
  DrawGrid(
      painter,
      SGridColors{style->GetColor(6), style->GetColor(3), style->GetColor(2), style->GetColor(4)},
      !(m_nStyle & 2));
  const auto draw = [&](const std::vector<SDynSegment>& line, int color) {
    const SPenSpec pen{PS_SOLID, 1, style->GetColor(color)};
    for (const SDynSegment& s : line) painter.Line(s.x1, s.y1, s.x2, s.y2, pen);
  };
  draw(m_arAvgLine, 8);
  draw(m_arPriceLine, 7);
  draw(m_arSecondLine, 9);
  AfterPaint(painter);
  DrawCursor(painter);
  return 1;
}
