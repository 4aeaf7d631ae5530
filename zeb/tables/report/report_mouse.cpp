// The quote list's mouse, pop-up menus, column swap and header line.
#include <algorithm>
#include <cstdlib>

#include "platform/gbk.h"
#include "zeb/tables/report/report_table.h"

namespace {

// A column edge takes the mouse within this many pixels.
constexpr int kEdgeSlack = 2;
const COLORREF kHeaderLineColor = RGB(255, 255, 255);

}  // namespace

int CReportTable::Draw(CDC* dc) {
  if (!CBaseTable::Draw(dc)) return 0;
  CPen pen(PS_SOLID, 1, kHeaderLineColor);
  CPen* oldPen = dc->SelectObject(&pen);
  const int y = static_cast<int>(m_rect.top + m_fRowHeight) - 1;
  dc->MoveTo(m_rect.left, y);
  dc->LineTo(m_rect.right, y);
  if (oldPen) dc->SelectObject(oldPen);
  return 1;
}

// ---- hit tests

int CReportTable::HitTestHeader(int x, int y) const {
  if (y < m_rect.top || y >= m_rect.top + m_fRowHeight || x < m_rect.left || x >= m_rect.right)
    return -1;
  for (const SDrawnColumn& c : LayoutDrawnColumns()) {
    if (x >= c.left && x < c.left + c.width) return c.column;
  }
  return -1;
}

int CReportTable::HitTestRow(int x, int y) const {
  const int row = CBaseTable::HitTestRow(x, y);
  if (row < 0) return -1;
  const std::vector<SDrawnColumn>& drawn = LayoutDrawnColumns();
  if (drawn.empty() || x < drawn.front().left || x >= drawn.back().left + drawn.back().width)
    return -1;
  return row;
}

int CReportTable::HitTestColumnEdge(int x, int y) const {
  if (y < m_rect.top || y >= m_rect.top + m_fRowHeight) return -1;
  for (const SDrawnColumn& c : LayoutDrawnColumns()) {
    if (std::abs(c.left + c.width - x) <= kEdgeSlack) return c.column;
  }
  return -1;
}

// ---- mouse

int CReportTable::OnLButtonDown(CDrawOwner* owner, UINT flags, int x, int y) {
  const int edge = HitTestColumnEdge(x, y);
  if (edge >= 0) {
    m_nResizeColumn = edge;
    m_ptDragStart = POINT{x, y};
    if (owner) {
      owner->SetCursor(CDrawOwner::Cursor::kSizeWE);
      owner->CaptureMouse();
    }
    return 1;
  }
  if (owner) owner->SetCursor(CDrawOwner::Cursor::kArrow);
  const int column = HitTestHeader(x, y);
  if (column >= 0) {
    SortBy(column);
    return 1;
  }
  const int row = HitTestRow(x, y);
  if (row >= 0) {
    m_nSelRow = row;
    return 1;
  }
  return 0;
}

int CReportTable::OnLButtonUp(CDrawOwner* owner, UINT flags, int x, int y) {
  if (m_nResizeColumn < 0) return 0;
  const int column = m_nResizeColumn;
  // From the width as drawn, which the column record keeps in step.
  const int width =
      std::clamp(GetColumnWidth(column) + (x - m_ptDragStart.x), kMinColumnWidth, kMaxColumnWidth);
  m_reportColumns[static_cast<size_t>(column)].head.width = width;
  SetColumnWidth(column, width);
  m_nResizeColumn = -1;
  if (owner) {
    owner->ReleaseMouse();
    owner->Repaint();
  }
  return 1;
}

int CReportTable::OnMouseMove(CDrawOwner* owner, UINT flags, int x, int y) {
  const bool sizing = m_nResizeColumn >= 0 || HitTestColumnEdge(x, y) >= 0;
  if (owner) owner->SetCursor(sizing ? CDrawOwner::Cursor::kSizeWE : CDrawOwner::Cursor::kArrow);
  return 1;
}

int CReportTable::OnLButtonDblClk(CDrawOwner* owner, UINT flags, int x, int y) {
  return HitTestRow(x, y) >= 0 ? 1 : 0;
}

int CReportTable::OnRButtonDown(CDrawOwner* owner, UINT flags, int x, int y) {
  if (owner == nullptr) return -1;
  const int column = HitTestHeader(x, y);
  if (column >= 0) {
    const auto& order = GetColumnOrder();
    const auto position = std::find(order.begin(), order.end(), column) - order.begin();
    if (position < GetFixedColumns()) return 1;
    m_nHeaderMenuColumn = column;
    owner->TrackPopup(BuildHeaderMenu(column), x, y);
    return 1;
  }
  const bool inBody = PtInRect(m_rect, POINT{x, y}) && y >= m_rect.top + m_fRowHeight;
  if (inBody) owner->TrackPopup(BuildBodyMenu(), x, y);
  return 1;
}

// ---- menus

SPopupMenu CReportTable::BuildHeaderMenu(int column) const {
  SPopupMenu menu;
  menu.flags = popup_flags::kRightButton | popup_flags::kRightAlign;
  const auto& order = GetColumnOrder();
  for (size_t p = static_cast<size_t>(GetFixedColumns()); p < order.size(); ++p) {
    const int other = order[p];
    if (other == column || other < 0 || other >= static_cast<int>(m_reportColumns.size())) continue;
    SPopupItem item;
    item.id = kCmdSwapColumnFirst + static_cast<UINT>(other);
    item.text = m_reportColumns[static_cast<size_t>(other)].head.name;
    menu.items.push_back(item);
  }
  return menu;
}

SPopupMenu CReportTable::BuildBodyMenu() const {
  SPopupMenu menu;
  menu.baseResource = kMenuReportBody;
  menu.baseSubMenu = kMenuReportBodySub;
  menu.flags = popup_flags::kRightButton;
  SPopupItem separator;
  separator.kind = SPopupItem::Kind::kSeparator;
  menu.items.push_back(separator);
  SPopupItem mainItems;
  mainItems.kind = SPopupItem::Kind::kResourceItems;
  mainItems.resourceId = kMenuMain;
  mainItems.subMenu = kMenuMainItemSub;
  menu.items.push_back(mainItems);
  if (m_market == kFavouritesList) {
    menu.items.push_back(
        SPopupItem{SPopupItem::Kind::kCommand, kCmdRemoveFromList, GBK("从自选股中删除\t Del")});
    return menu;
  }
  if (m_market == kBlockList)
    menu.items.push_back(
        SPopupItem{SPopupItem::Kind::kCommand, kCmdRemoveFromList, GBK("从板块中删除\t Del")});
  menu.items.push_back(
      SPopupItem{SPopupItem::Kind::kCommand, kCmdAddFavourite, GBK("加入自选藏品")});
  return menu;
}

// ---- commands

int CReportTable::OnCommand(UINT id) {
  if (id < kCmdSwapColumnFirst || id > kCmdSwapColumnLast) return 0;
  SwapColumns(m_nHeaderMenuColumn, static_cast<int>(id - kCmdSwapColumnFirst));
  return 1;
}

void CReportTable::SwapColumns(int first, int second) {
  std::vector<int>& order = ColumnOrder();
  const auto a = std::find(order.begin(), order.end(), first);
  const auto b = std::find(order.begin(), order.end(), second);
  // Only columns behind the fixed ones trade places: the sequence number,
  // code and name stay where they are.
  const auto fixedEnd =
      order.begin() + std::min<ptrdiff_t>(GetFixedColumns(), static_cast<ptrdiff_t>(order.size()));
  if (a == order.end() || b == order.end() || a < fixedEnd || b < fixedEnd) return;
  std::iter_swap(a, b);
  ReportOrder saved{};
  for (size_t i = 0; i < saved.size() && i < order.size(); ++i) saved[i] = order[i];
  SaveReportOrder(OrderFilePath(), saved);
}
