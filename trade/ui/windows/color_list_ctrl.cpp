#include "trade/ui/windows/color_list_ctrl.h"

#include <QWidget>
#include <string>

#include "platform/desktop.h"
#include "trade/ui/rules/list_sort.h"
#include "trade/ui/windows/list_fill.h"

namespace {

constexpr COLORREF kAscendingArrow = RGB(255, 0, 0);
constexpr COLORREF kDescendingArrow = RGB(0, 0, 255);

void Line(CDC* dc, int x1, int y1, int x2, int y2) {
  dc->MoveTo(x1, y1);
  dc->LineTo(x2, y2);
}

// What a sort compares: each row's item data is its text in the sort
// column; descending swaps the two.
struct SSortContext {
  const std::vector<std::string>* texts;
  bool descending;
};

int CompareRowTexts(LPARAM a, LPARAM b, LPARAM param) {
  const auto* sort = reinterpret_cast<const SSortContext*>(param);
  const std::string& x = (*sort->texts)[static_cast<size_t>(sort->descending ? b : a)];
  const std::string& y = (*sort->texts)[static_cast<size_t>(sort->descending ? a : b)];
  return CompareCellTexts(x, y);
}

}  // namespace

CSortHeaderCtrl::CSortHeaderCtrl(QWidget* parent) : CHeaderCtrl(parent) {}

void CSortHeaderCtrl::SetSortArrow(int column, bool ascending) {
  sortColumn_ = column;
  ascending_ = ascending;
  HDITEM item;
  item.mask = HDI_FORMAT;
  if (GetItem(column, &item)) {
    item.fmt |= HDF_OWNERDRAW;
    SetItem(column, &item);
  }
  Invalidate();
}

void CSortHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT dis) {
  CDC* dc = dis->hDC;
  CRect rect(dis->rcItem);
  const int saved = dc->SaveDC();
  dc->IntersectClipRect(&rect);
  dc->FillSolidRect(&rect, GetSysColor(COLOR_BTNFACE));
  const int o = rect.Height() / 4;
  if (dis->itemState & ODS_SELECTED) rect.OffsetRect(1, 2);
  const bool sortColumn = static_cast<int>(dis->itemID) == sortColumn_;

  CRect text(rect.left + o, rect.top, rect.right - o - (sortColumn ? 3 * o : 0), rect.bottom);
  if (text.Width() > 0) {
    char title[256] = {};
    HDITEM item;
    item.mask = HDI_TEXT;
    item.pszText = title;
    item.cchTextMax = sizeof title;
    GetItem(static_cast<int>(dis->itemID), &item);
    if (CListCtrl* list = GetListCtrl()) dc->SelectObject(list->GetFont());
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(GetSysColor(COLOR_BTNTEXT));
    dc->TextOut(text.left - 2, rect.top + 2, title);
  }
  if (sortColumn) {
    const int r = rect.right, b = rect.bottom, t = rect.top;
    CPen pen(PS_SOLID, 1, ascending_ ? kAscendingArrow : kDescendingArrow);
    dc->SelectObject(&pen);
    if (ascending_) {
      Line(dc, r - 2 * o, t + o, r - o, b - o - 1);
      Line(dc, r - o, b - o - 1, r - 3 * o - 1, b - o - 1);
      Line(dc, r - 3 * o - 1, b - o - 1, r - 2 * o, t + o - 1);
    } else {
      Line(dc, r - o - 1, t + o, r - 2 * o - 1, b - o);
      Line(dc, r - 2 * o - 2, b - o, r - 3 * o - 1, t + o);
      Line(dc, r - 3 * o - 1, t + o, r - o - 1, t + o);
    }
  }
  dc->RestoreDC(saved);
}

CMyColorListCtrl::CMyColorListCtrl() = default;

int CMyColorListCtrl::OnCreate(LPCREATESTRUCT cs) {
  if (CListCtrl::OnCreate(cs) == -1) return -1;
  header_ = new CSortHeaderCtrl;
  ReplaceHeader(header_);
  return 0;
}

void CMyColorListCtrl::SetColumns(const std::vector<SColumnSpec>& columns) {
  SetListColumns(*this, columns);
}

void CMyColorListCtrl::SetRows(const std::vector<PanelRow>& rows, bool cut) {
  SetListRows(*this, rows, cut);
  sources_.resize(rows.size());
  for (size_t i = 0; i < sources_.size(); ++i) sources_[i] = static_cast<int>(i);
}

int CMyColorListCtrl::SourceRow(int row) const {
  if (row >= 0 && sources_.size() == static_cast<size_t>(GetItemCount()) &&
      static_cast<size_t>(row) < sources_.size())
    return sources_[static_cast<size_t>(row)];
  return row;
}

void CMyColorListCtrl::SortByColumn(int column, bool ascending) {
  if (column < 0 || column >= GetColumnCount()) return;
  sortColumn_ = column;
  ascending_ = ascending;
  if (header_) header_->SetSortArrow(column, ascending);
  // Each row carries its text in the sort column while the sort runs (as
  // an index into the texts, which live for the sort).
  GetWidget()->setUpdatesEnabled(false);  // one repaint for the whole sort
  const int count = GetItemCount();
  std::vector<std::string> texts(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    texts[static_cast<size_t>(i)] = GetItemText(i, column);
    SetItemData(i, static_cast<DWORD_PTR>(i));
  }
  SSortContext sort{&texts, !ascending};
  SortItems(CompareRowTexts, reinterpret_cast<DWORD_PTR>(&sort));
  // The rows' places in SetRows follow the new order (a list filled
  // otherwise keeps none).
  std::vector<int> sources;
  if (sources_.size() == static_cast<size_t>(count)) {
    sources.resize(sources_.size());
    for (int i = 0; i < count; ++i) sources[static_cast<size_t>(i)] = sources_[GetItemData(i)];
  }
  sources_ = std::move(sources);
  GetWidget()->setUpdatesEnabled(true);
}

void CMyColorListCtrl::OnColumnClick(int column) {
  SortByColumn(column, NextSortAscending(sortColumn_, ascending_, column));
  CListCtrl::OnColumnClick(column);
}

BOOL CMyColorListCtrl::OnBeginTrack(int column) {
  // The colour-code column stays out of sight.
  if (column == GetColumnCount() - 1) return FALSE;
  return CListCtrl::OnBeginTrack(column);
}

BOOL CMyColorListCtrl::OnItemColors(int item, COLORREF* text, COLORREF* back) {
  const int last = GetColumnCount() - 1;
  if (last < 0) return FALSE;
  const SRowColours colours = RowColoursOfCode(GetItemText(item, last));
  *text = colours.text;
  *back = colours.background;
  return TRUE;
}
