// Scaling and drawing of the time-share volume picture.
#include "zeb/charts/timeshare/vol_pic.h"

#include <algorithm>
#include <cstdint>

#include "zeb/scheme/sys_style.h"

int CVolPic::VolY(int64_t v) const {
  const int height = m_rcPlot.bottom - m_rcPlot.top;
  if (v <= 0 || m_nTop <= 0) return m_rcPlot.bottom - 2;
  if (v > m_nTop) return m_rcPlot.top;
  const int64_t y = m_rcPlot.bottom - v * height / m_nTop;
  return static_cast<int>(std::min<int64_t>(y, m_rcPlot.bottom - 3));
}

int CVolPic::SetData(const SDynPicData& d) {
  m_nDataCount = std::max(d.count, 0);
  m_pVolume = d.values[0];
  m_pPrice = d.values[1];
  if (!m_pVolume || !m_pPrice) m_nDataCount = 0;
  m_nLowest = m_nHighest = 0;
  for (int i = 0; i < m_nDataCount; ++i) {
    if (i == 0) m_nLowest = m_nHighest = m_pVolume[0];
    m_nLowest = std::min<int64_t>(m_nLowest, m_pVolume[i]);
    m_nHighest = std::max<int64_t>(m_nHighest, m_pVolume[i]);
  }
  m_nBottom = 0;
  m_arUp.assign(static_cast<size_t>(m_nDataCount), 1);
  m_arY.assign(static_cast<size_t>(m_nDataCount), 0);
  Recalc();
  return 1;
}

void CVolPic::Recalc() {
  m_nBarWidth = m_nPoints > 0 ? std::max(0, (m_rcPlot.right - m_rcPlot.left) / m_nPoints) : 0;
  m_nRows = GetRows();
  // The scale's top is a whole number of rows above the lowest volume, so
  // it follows the height: a resized chart scales as one made at that size.
  const int rows = m_nRows;
  const int64_t top =
      rows < 2 ? 0 : ((m_nHighest - m_nLowest) / (rows - 1) + 1) * (rows - 1) + m_nLowest;
  m_nTop = static_cast<int>(std::clamp<int64_t>(top, INT32_MIN, INT32_MAX));
  const int n = std::min<int>(m_nDataCount, static_cast<int>(m_arY.size()));
  for (int i = 0; i < n; ++i) {
    m_arUp[i] = (i == 0 || m_pPrice[i] >= m_pPrice[i - 1]) ? 1 : 0;
    m_arY[i] = VolY(m_pVolume[i]);
  }
  m_arBars.clear();
  const int base = m_rcPlot.bottom - 2;
  const int drawn = std::min<int>(
      {m_nDataCount, m_nPoints, static_cast<int>(m_arY.size()), static_cast<int>(m_arX.size())});
  for (int i = 0; i < drawn; ++i) {
    if (m_arY[i] >= base) continue;
    const int x = DrawnX(i);
    m_arBars.push_back(SBar{SDynSegment{x, base, x, m_arY[i]}, m_arUp[i] != 0});
  }
  PrepareGrid(SGridShape{m_nBottom, m_nTop, m_nRows, kVolumeGrid, kGridPoints,
                         static_cast<int>(std::size(kGridPoints)), kStrongPoint});
}

int CVolPic::Paint(CChartPainter& painter) {
  CSysStyle* style = CSysStyle::GetInstance();
  ApplyDeferred(painter, m_nStyle);
  DrawGrid(
      painter,
      SGridColors{style->GetColor(6), style->GetColor(1), style->GetColor(2), style->GetColor(24)},
      false);
  const SPenSpec upPen{PS_SOLID, 1, style->GetColor(41)};
  const SPenSpec downPen{PS_SOLID, 1, style->GetColor(42)};
  for (const SBar& bar : m_arBars)
    painter.Line(bar.line.x1, bar.line.y1, bar.line.x2, bar.line.y2, bar.up ? upPen : downPen);
  AfterPaint(painter);
  DrawCursor(painter);
  return 1;
}
