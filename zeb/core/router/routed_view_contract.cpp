#include "zeb/core/router/routed_view_contract.h"

#include <cstring>

int IRoutedView::SetCurItem(const SCurItem* item) {
  if (item) std::memcpy(static_cast<void*>(&m_curItem), item, sizeof m_curItem);
  return 0;
}

int IRoutedView::IsCurItem(const SCurItem* item) {
  return item && IsSameCurItem(*item, m_curItem) ? 1 : 0;
}

SCodeInfo* IRoutedView::GetCodeInfo(SCodeInfo* out) {
  if (out) std::memcpy(static_cast<void*>(out), &m_curItem.code, sizeof(SCodeInfo));
  return out;
}
