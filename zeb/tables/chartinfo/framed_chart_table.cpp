// The charts' framed tables, drawn through the chart painter.
#include "zeb/tables/chartinfo/framed_chart_table.h"

#include "zeb/scheme/sys_style.h"

namespace {

// The scheme colour of the frame round the table.
constexpr int kColorFrame = 3;

}  // namespace

int CFramedChartTable::Draw(CDC* dc) {
  if (dc == nullptr) return 0;
  CDCPainter painter(dc);
  Paint(painter);
  return 1;
}

void CFramedChartTable::Paint(CChartPainter& painter) {
  if (GetTopRow() < 0) SetTopRow(0);
  painter.Fill(m_rect, GetBkColor());
  const SPenSpec line{PS_SOLID, GetLineWidth(), GetLineColor()};
  const std::vector<SDrawnColumn>& columns = LayoutDrawnColumns();
  for (int row = GetTopRow(); row < GetRowCount(); ++row) {
    const RECT band = RowRect(row);
    if (band.bottom <= band.top) break;  // the first row that does not fit
    // A row's lines may lie a pixel beyond it.
    if (!painter.Reaches(RECT{band.left - 1, band.top - 1, band.right + 1, band.bottom + 1}))
      continue;
    const std::vector<SSubItem>& cells = RowCells(row);
    for (const SDrawnColumn& column : columns) {
      if (static_cast<size_t>(column.column) >= cells.size()) continue;
      const SSubItem& cell = cells[static_cast<size_t>(column.column)];
      const SCellPlace place = PlaceCell(cell, column, band.top, band.bottom);
      if (place.fill.right > place.fill.left) painter.Fill(place.fill, cell.background);
      if (!cell.text.empty())
        painter.Text(cell.text, place.text, place.format, place.textColor, place.font);
      for (int i = 0; i < place.strokeCount; ++i) {
        const SBorderStroke& s = place.strokes[i];
        if (s.count == 2) {
          painter.Line(s.points[0].x, s.points[0].y, s.points[1].x, s.points[1].y, line);
        } else {
          painter.Polyline(s.points, s.count, line);
        }
      }
    }
  }
  const COLORREF frame = CSysStyle::GetInstance()->GetColor(kColorFrame);
  painter.Rect(m_rect, SPenSpec{PS_SOLID, 1, frame}, kHollow);
}
