// The grid table's rows, columns, paging and column scroll.
#include "zeb/tables/base/base_table.h"

#include <algorithm>

#include "platform/gbk.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/tables/base/table_keys.h"

namespace {

// Scheme colour and font ids of the grid.
constexpr int kColorBackground = 19;
constexpr int kColorSelection = 35;
constexpr int kColorFixedText = 25;
constexpr int kColorLine = 6;
constexpr int kFontList = 1;

}  // namespace

CBaseTable::CBaseTable() { InitColors(); }

CBaseTable::~CBaseTable() = default;

CFont* CBaseTable::InitColors() {
  const CSysStyle* style = CSysStyle::GetInstance();
  m_crBack = style->GetColor(kColorBackground);
  m_crSel = style->GetColor(kColorSelection);
  m_crText = style->GetColor(kColorFixedText);
  m_crLine = style->GetColor(kColorLine);
  m_pFont = style->GetFont(kFontList);
  return m_pFont;
}

// ---- rows and cells

int CBaseTable::SetCell(int row, int col, const std::string& text, int image, COLORREF textColor,
                        COLORREF background, int borders) {
  SSubItem item;
  item.text = text;
  item.image = image;
  item.textColor = textColor;
  item.background = background;
  item.borders = borders;
  return SetCellItem(row, col, item);
}

int CBaseTable::SetCellItem(int row, int col, const SSubItem& item) {
  if (row < 0) return 0;
  if (row >= GetRowCount()) m_rows.resize(static_cast<size_t>(row) + 1);
  if (col < 0 || col >= GetColumnCount()) return 0;
  std::vector<SSubItem>& cells = m_rows[static_cast<size_t>(row)];
  if (cells.size() < m_columns.size()) cells.resize(m_columns.size());
  cells[static_cast<size_t>(col)] = item;
  return 1;
}

int CBaseTable::DeleteRow(int row) {
  if (row < 0 || row >= GetRowCount()) return 0;
  m_rows.erase(m_rows.begin() + row);
  return 1;
}

int CBaseTable::DeleteAllRows() {
  m_rows.clear();
  return 1;
}

void CBaseTable::ResizeRows(int count) {
  m_rows.resize(static_cast<size_t>(std::max(count, 0)));
  for (std::vector<SSubItem>& cells : m_rows) {
    if (cells.size() != m_columns.size()) cells.resize(m_columns.size());
  }
}

const SSubItem* CBaseTable::GetCellItem(int row, int col) const {
  if (row < 0 || row >= GetRowCount() || col < 0) return nullptr;
  const std::vector<SSubItem>& cells = m_rows[static_cast<size_t>(row)];
  if (static_cast<size_t>(col) >= cells.size()) return nullptr;
  return &cells[static_cast<size_t>(col)];
}

std::string CBaseTable::GetCellText(int row, int col) const {
  const SSubItem* cell = GetCellItem(row, col);
  return cell ? cell->text : std::string();
}

// ---- columns

int CBaseTable::AddColumn(int index, const char* name, int align, int width) {
  SColumnHead head;
  platform::GbkCopyCut(head.name, sizeof head.name, name ? name : "");
  head.align = align;
  head.width = width;
  index = std::clamp(index, 0, GetColumnCount());
  m_columns.insert(m_columns.begin() + index, head);
  m_columnOrder.push_back(index);
  return 0;
}

void CBaseTable::RemoveAllColumns() {
  m_columns.clear();
  m_columnOrder.clear();
}

const SColumnHead* CBaseTable::GetColumnHead(int column) const {
  if (column < 0 || column >= GetColumnCount()) return nullptr;
  return &m_columns[static_cast<size_t>(column)];
}

int CBaseTable::GetColumnWidth(int column) const {
  const SColumnHead* head = GetColumnHead(column);
  return head ? head->width : 0;
}

bool CBaseTable::SetColumnWidth(int column, int width) {
  if (column < 0 || column >= GetColumnCount()) return false;
  m_columns[static_cast<size_t>(column)].width = width;
  return true;
}

int CBaseTable::GetTotalColumnWidth() const {
  int total = 0;
  for (const SColumnHead& head : m_columns) total += head.width;
  return total;
}

void CBaseTable::SetSortImage(int column, int image) {
  m_nSortColumn = column;
  m_nSortImage = image;
}

void CBaseTable::SetSelectionFill(int on, COLORREF color) {
  m_nSelectionFill = on;
  if (color != CLR_INVALID) m_crSel = color;
}

int CBaseTable::GetColumnAtPosition(int position) const {
  if (position < 0) return -1;
  if (position >= m_nFixedColumns) position += m_nColumnScroll;
  if (position >= static_cast<int>(m_columnOrder.size())) return -1;
  const int column = m_columnOrder[static_cast<size_t>(position)];
  return column >= 0 && column < GetColumnCount() ? column : -1;
}

// ---- settings

int CBaseTable::SetRect(int left, int top, int right, int bottom) {
  m_rect = RECT{left, top, right, bottom};
  const int height = bottom - top;
  m_nFittingRows = height > 0 && m_fRowHeight > 0 ? static_cast<int>(height / m_fRowHeight) : 0;
  return m_nFittingRows;
}

CFont* CBaseTable::SetFont(CFont* font) {
  CFont* previous = m_pFont;
  m_pFont = font;
  return previous;
}

CTableImageList* CBaseTable::SetImageList(CTableImageList* images) {
  CTableImageList* previous = m_pImages;
  m_pImages = images;
  return previous;
}

void CBaseTable::SetLinePen(COLORREF color, int width) {
  m_crLine = color;
  m_nLineWidth = width;
}

int CBaseTable::TrackMenu(CDrawOwner* owner, int x, int y, int menuId, int subMenu) {
  return TrackMenuResource(owner, x, y, menuId, subMenu);
}

// ---- paging

int CBaseTable::GetRowsPerPage() const {
  return (m_nStyle & kTableStyleNoHeader) ? m_nFittingRows : m_nFittingRows - 1;
}

int CBaseTable::GetLastPageTop(int n) const {
  const int page = GetRowsPerPage();
  if (page <= 0 || n <= 0) return 0;
  const int rest = n % page;
  return n - (rest != 0 ? rest : page);
}

int CBaseTable::GetPageRows(int top, int n) const {
  if (n <= 0) return 0;
  return std::min(n - top, GetRowsPerPage());
}

int CBaseTable::EnsureVisible(int row) {
  if (row < 0 || row >= GetRowCount()) return 0;
  const int page = GetRowsPerPage();
  if (page <= 0) return 0;
  while (row < m_nTopRow) m_nTopRow -= page;
  while (row >= m_nTopRow + page) m_nTopRow += page;
  return 1;
}

int CBaseTable::HitTestRow(int x, int y) const {
  if (!PtInRect(m_rect, POINT{x, y}) || m_fRowHeight <= 0) return -1;
  int row = static_cast<int>((y - m_rect.top) / m_fRowHeight);
  if (!(m_nStyle & kTableStyleNoHeader)) row -= 1;
  // Only rows that exist on the page: a click below the last row of a
  // short last page selects nothing.
  if (row < 0 || m_nTopRow + row >= GetRowCount()) return -1;
  return row;
}

int CBaseTable::OnKey(UINT key) {
  using namespace table_keys;
  const int page = GetRowsPerPage();
  const int n = GetRowCount();
  switch (key) {
    case kLeft: m_nColumnScroll = std::max(m_nColumnScroll - 1, 0); return 1;
    case kRight:
      m_nColumnScroll =
          std::max(std::min(m_nColumnScroll + 1, GetColumnCount() - m_nFixedColumns - 1), 0);
      return 1;
    case kPrior:
    case kNext:
    case kUp:
    case kDown: break;
    default: return 0;
  }
  // Paging divides by the page: nothing to do while no row fits.
  if (page <= 0) return 0;
  switch (key) {
    case kPrior:
      m_nTopRow -= page;
      if (m_nTopRow < 0) m_nTopRow = GetLastPageTop(n);
      return 1;
    case kNext:
      m_nTopRow += page;
      if (m_nTopRow > n) m_nTopRow = 0;
      if (m_nTopRow > n - page) m_nTopRow = GetLastPageTop(n);
      return 1;
    case kUp:
      if (--m_nSelRow < 0) {
        EnsureVisible(m_nTopRow - 1);
        m_nSelRow = page - 1;
      }
      return 1;
    case kDown: {
      ++m_nSelRow;
      int limit = page;
      int target = m_nTopRow + m_nSelRow;
      const int lastTop = GetLastPageTop(n);
      if (m_nTopRow >= lastTop) {
        limit = n - lastTop;
        target = 0;
      }
      if (m_nSelRow > limit - 1) {
        EnsureVisible(target);
        m_nSelRow = 0;
      }
      return 1;
    }
  }
  return 0;
}

// ---- column scroll

int CBaseTable::GetColumnScrollPixels() const {
  int pixels = 0;
  for (int i = 0; i < m_nColumnScroll; ++i) {
    const size_t position = static_cast<size_t>(m_nFixedColumns + i);
    if (position >= m_columnOrder.size()) break;
    pixels += GetColumnWidth(m_columnOrder[position]);
  }
  return pixels;
}

void CBaseTable::ScrollColumnsTo(int x) {
  const int count = static_cast<int>(m_columnOrder.size());
  int scroll = 0;
  if (x > 0) {
    // Whole columns behind the fixed ones that the position has passed, so
    // GetColumnScrollPixels of the result never exceeds x.
    int position = m_nFixedColumns;
    while (position < count) {
      x -= GetColumnWidth(m_columnOrder[static_cast<size_t>(position)]);
      if (x < 0) break;
      ++position;
    }
    scroll = position - m_nFixedColumns;
  }
  const int most = GetColumnCount() - m_nFixedColumns - 1;
  m_nColumnScroll = std::max(std::min(scroll, most), 0);
}

int CBaseTable::ScrollToColumn(int column) {
  const auto found = std::find(m_columnOrder.begin(), m_columnOrder.end(), column);
  if (found == m_columnOrder.end()) return 0;
  const int target = static_cast<int>(found - m_columnOrder.begin());
  if (target <= 0) return 0;
  int space = GetWidth();
  for (int p = 0; p < m_nFixedColumns && p < static_cast<int>(m_columnOrder.size()); ++p)
    space -= GetColumnWidth(m_columnOrder[static_cast<size_t>(p)]);
  // Walk left from the column until the columns no longer fit beside the
  // fixed ones; the first column that fits whole starts the scroll.
  int position = target;
  int sum = 0;
  for (; position >= m_nFixedColumns; --position) {
    sum += GetColumnWidth(m_columnOrder[static_cast<size_t>(position)]);
    if (sum >= space) break;
  }
  const int most = GetColumnCount() - m_nFixedColumns - 1;
  m_nColumnScroll = std::max(std::min(position - m_nFixedColumns + 1, most), 0);
  return GetColumnScrollPixels();
}
