// Paging and scroll-bar handling of the deal tables.
#include "zeb/tables/deals/scrolled_table.h"

#include <algorithm>

#include "zeb/tables/base/table_keys.h"

int CScrolledTable::SetRect(int left, int top, int right, int bottom) {
  const RECT bar{right - kTableScrollWidth, top, right, bottom};
  m_scroll.SetRect(CScrollCtlPic::kVertical, &bar);
  return CBaseTable::SetRect(left, top, right - kTableScrollWidth, bottom);
}

int CScrolledTable::OnPageKey(UINT key) {
  using namespace table_keys;
  int top = GetTopRow();
  switch (key) {
    case kPrior: top -= m_nRowsPerPage; break;
    case kNext: top += m_nRowsPerPage; break;
    case kUp: top -= 1; break;
    case kDown: top += 1; break;
    default: return 0;
  }
  top = std::max(0, std::min(top, m_nRowCount - m_nRowsPerPage + ExtraTopRows()));
  SetTopRow(top);
  m_scroll.SetPos(top);
  return 1;
}

int CScrolledTable::OnScrollButtonDown(int x, int y) {
  if (!m_scroll.OnLButtonDown(x, y)) return 0;
  SetTopRow(m_scroll.GetPos());
  return 1;
}

int CScrolledTable::OnScrollMouseMove(int x, int y) {
  const int moved = m_scroll.OnMouseMove(x, y);
  if (moved) SetTopRow(m_scroll.GetPos());
  return moved;
}

int CScrolledTable::OnScrollButtonUp(int x, int y) {
  const int ended = m_scroll.OnLButtonUp(x, y);
  if (ended) SetTopRow(m_scroll.GetPos());
  return ended;
}
