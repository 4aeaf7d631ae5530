// Painting the grid: header heads with the sort mark, rows with the
// selected band, and each cell's fill, text, image and borders. Columns are
// laid out once per paint and shared by the header and every row.
#include <algorithm>

#include "zeb/tables/base/base_table.h"

namespace {

// Text sits 2 pixels inside each side of its cell.
constexpr int kCellInset = 2;
// Sort mark and cell images hang 5 pixels below the top of their row.
constexpr int kImageTop = 5;
constexpr int kSortImageLeft = 4;
constexpr int kCellImageLeft = 2;

}  // namespace

float CBaseTable::HeaderHeight() const {
  return (m_nStyle & kTableStyleNoHeader) ? 0.0f : m_fRowHeight;
}

const std::vector<CBaseTable::SDrawnColumn>& CBaseTable::LayoutDrawnColumns() const {
  m_drawn.clear();
  int left = m_rect.left;
  for (int position = 0;; ++position) {
    const int column = GetColumnAtPosition(position);
    if (column < 0) break;
    if (left + kCellInset > m_rect.right) break;
    const int width = GetColumnWidth(column);
    m_drawn.push_back(SDrawnColumn{column, left, width});
    left += width;
  }
  return m_drawn;
}

UINT CBaseTable::TextFormat(int align) {
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  if (align == 0) return format | DT_LEFT;
  if (align == 2) return format | DT_CENTER;
  return format | DT_RIGHT;
}

int CBaseTable::Draw(CDC* dc) {
  if (dc == nullptr) return 0;
  if (m_nTopRow < 0) m_nTopRow = 0;
  dc->FillSolidRect(&m_rect, m_crBack);
  CFont* oldFont = m_pFont ? dc->SelectObject(m_pFont) : nullptr;
  const int oldMode = dc->SetBkMode(TRANSPARENT);
  CPen pen(PS_SOLID, m_nLineWidth, m_crLine);
  CPen* oldPen = dc->SelectObject(&pen);
  const COLORREF oldText = dc->SetTextColor(m_crText);

  LayoutDrawnColumns();
  const float headerHeight = HeaderHeight();
  if (!(m_nStyle & kTableStyleNoHeader)) DrawHeader(dc, headerHeight);
  DrawRows(dc, headerHeight);

  dc->SetTextColor(oldText);
  if (oldFont) dc->SelectObject(oldFont);
  if (oldPen) dc->SelectObject(oldPen);
  dc->SetBkMode(oldMode);
  return 1;
}

void CBaseTable::DrawHeader(CDC* dc, float headerHeight) {
  const int top = m_rect.top;
  const int bottom = static_cast<int>(m_rect.top + headerHeight);
  for (const SDrawnColumn& c : m_drawn) {
    const SColumnHead& head = m_columns[static_cast<size_t>(c.column)];
    const int right = c.left + c.width;
    RECT text{c.left + kCellInset, top, right - kCellInset, bottom};
    dc->DrawText(head.name, -1, &text, TextFormat(head.align));
    if (m_pImages && c.column == m_nSortColumn)
      m_pImages->Draw(dc, m_nSortImage, text.right - kSortImageLeft, top + kImageTop);
    if (m_nHeaderFrames) {
      // Right edges are exclusive: the frame's right line is the head's last
      // pixel column, where the cells' right borders run too.
      const POINT frame[] = {{right - 1, top},
                             {right - 1, bottom - 1},
                             {c.left, bottom - 1},
                             {c.left, top},
                             {right - 1, top}};
      dc->Polyline(frame, 5);
    }
  }
}

RECT CBaseTable::RowRect(int row) const {
  const int i = row - m_nTopRow;
  if (i < 0 || row >= GetRowCount()) return RECT{};
  // As DrawRows places it.
  const int top = static_cast<int>(m_rect.top + HeaderHeight() + i * m_fRowHeight);
  const int bottom = static_cast<int>(top + m_fRowHeight);
  if (bottom > m_rect.bottom) return RECT{};
  return RECT{m_rect.left, top, m_rect.right, bottom};
}

void CBaseTable::DrawRows(CDC* dc, float headerHeight) {
  // Rows the clip leaves out (a redraw of a few rows) are not laid out;
  // a row's lines may lie a pixel beyond it.
  RECT shown{};
  dc->GetClipBox(&shown);
  const int visible = GetRowCount() - m_nTopRow;
  for (int i = 0; i < visible; ++i) {
    int top = static_cast<int>(m_rect.top + headerHeight + i * m_fRowHeight);
    const int bottom = static_cast<int>(top + m_fRowHeight);
    if (bottom > m_rect.bottom) break;
    if (bottom + 1 < shown.top || top - 1 >= shown.bottom) continue;
    if ((m_nStyle2 & kTableStyle2HighlightSel) && i == m_nSelRow) {
      if (m_nSelectionFill) {
        dc->FillSolidRect(m_rect.left, top + 1, m_rect.right - m_rect.left, bottom - top - 1,
                          m_crSel);
      } else {
        CPen selPen(PS_SOLID, 1, m_crSel);
        CPen* previous = dc->SelectObject(&selPen);
        dc->MoveTo(m_rect.left, bottom - 1);
        dc->LineTo(m_rect.right, bottom - 1);
        dc->MoveTo(m_rect.left, top + 1);
        dc->LineTo(m_rect.right, top + 1);
        dc->SelectObject(previous);
        top += 1;
      }
    }
    const std::vector<SSubItem>& cells = m_rows[static_cast<size_t>(m_nTopRow + i)];
    for (const SDrawnColumn& c : m_drawn) {
      if (static_cast<size_t>(c.column) >= cells.size()) continue;
      DrawCell(dc, cells[static_cast<size_t>(c.column)], c, top, bottom);
    }
  }
}

CBaseTable::SCellPlace CBaseTable::PlaceCell(const SSubItem& cell, const SDrawnColumn& c, int top,
                                             int bottom) const {
  SCellPlace place{};
  const int right = c.left + c.width;
  place.text = RECT{c.left + kCellInset, top, right - kCellInset, bottom};
  if (cell.background != CLR_INVALID) {
    const RECT fill{place.text.left + 1, top + 1, place.text.right - 1, bottom - 1};
    if (fill.right > fill.left && fill.bottom > fill.top) place.fill = fill;
  }
  int align = m_columns[static_cast<size_t>(c.column)].align;
  if (cell.align != -1) align = (cell.align & 2) ? 2 : (cell.align & 1) ? 1 : 0;
  place.format = TextFormat(align);
  place.textColor = cell.textColor != CLR_INVALID ? cell.textColor : m_crText;
  place.font = cell.font ? cell.font : m_pFont;
  int borders = cell.borders;
  if (m_nStyle2 & kTableStyle2CellFrames) borders |= kBorderRight | kBorderBottom;
  place.strokeCount = BorderStrokes(borders, c.left, top, right, bottom, place.strokes);
  return place;
}

void CBaseTable::DrawCell(CDC* dc, const SSubItem& cell, const SDrawnColumn& c, int top,
                          int bottom) {
  const SCellPlace place = PlaceCell(cell, c, top, bottom);
  if (place.fill.right > place.fill.left) dc->FillSolidRect(&place.fill, cell.background);
  RECT text = place.text;
  if (!cell.text.empty()) {
    dc->SetTextColor(place.textColor);
    CFont* previous = cell.font ? dc->SelectObject(cell.font) : nullptr;
    dc->DrawText(cell.text, &text, place.format);
    if (previous) dc->SelectObject(previous);
  }
  if (m_pImages && cell.image != -1)
    m_pImages->Draw(dc, cell.image, text.right + kCellImageLeft, top + kImageTop);
  for (int i = 0; i < place.strokeCount; ++i) {
    const SBorderStroke& s = place.strokes[i];
    if (s.count == 2) {
      dc->MoveTo(s.points[0].x, s.points[0].y);
      dc->LineTo(s.points[1].x, s.points[1].y);
    } else {
      dc->Polyline(s.points, s.count);
    }
  }
}

int CBaseTable::BorderStrokes(int borders, int left, int top, int right, int bottom,
                              SBorderStroke* strokes) {
  int count = 0;
  if (borders & kBorderTop) strokes[count++] = SBorderStroke{{{left, top}, {right, top}}, 2};
  if (borders & kBorderLeft) strokes[count++] = SBorderStroke{{{left, top}, {left, bottom}}, 2};
  const bool rightLine = (borders & kBorderRight) != 0;
  const bool bottomLine = (borders & kBorderBottom) != 0;
  if (rightLine && bottomLine) {
    // One stroke down the right edge and back along the bottom.
    strokes[count++] =
        SBorderStroke{{{right - 1, top}, {right - 1, bottom - 1}, {left - 1, bottom - 1}}, 3};
  } else if (rightLine) {
    strokes[count++] = SBorderStroke{{{right - 1, top}, {right - 1, bottom}}, 2};
  } else if (bottomLine) {
    strokes[count++] = SBorderStroke{{{left, bottom - 1}, {right, bottom - 1}}, 2};
  }
  return count;
}
