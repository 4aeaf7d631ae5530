#include "zeb/core/router/routed_view.h"

#include <cstring>

int CRoutedView::SetCurItem(const SCurItem* item) {
  if (item) std::memcpy(static_cast<void*>(&m_curItem), item, sizeof m_curItem);
  return 0;
}

int CRoutedView::IsCurItem(const SCurItem* item) { return item && IsSameCurItem(*item, m_curItem) ? 1 : 0; }

SCodeInfo* CRoutedView::GetCodeInfo(SCodeInfo* out) {
  if (out) std::memcpy(static_cast<void*>(out), &m_curItem.code, sizeof(SCodeInfo));
  return out;
}

void CRoutedView::OnSchemeChanged() {
  if (GetSafeHwnd()) Invalidate();
}
