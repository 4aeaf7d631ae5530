#include "zeb/core/splitter/split_layout.h"

#include <algorithm>

void CSplitLayout::SetSize(int pane, int ideal, int min) {
  if (pane < 0 || pane >= kPanes) return;
  m_panes[pane].ideal = std::max(0, ideal);
  m_panes[pane].min = std::max(0, min);
}

void CSplitLayout::Layout(int length) {
  int left = std::max(0, length);
  int shown = 0;
  for (int i = 0; i < kPanes; ++i) {
    SPaneSize& p = m_panes[i];
    if (i == m_hidden) {
      p.cur = 0;
      continue;
    }
    const bool last = ++shown == ShownCount();
    if (last) {
      p.cur = left;
      break;
    }
    int size = p.ideal < p.min ? 0 : std::min(p.ideal, left);
    p.cur = size;
    left = std::max(0, left - size - kSplitBarSize);
  }
}

int CSplitLayout::Offset(int pane) const {
  if (pane == m_hidden) return 0;
  int at = 0;
  for (int i = 0; i < pane; ++i)
    if (i != m_hidden) at += m_panes[i].cur + kSplitBarSize;
  return at;
}

bool CSplitLayout::IsOnBar(int position) const {
  if (ShownCount() < 2) return false;
  const int barTop = m_panes[0].cur;
  return position >= barTop && position < barTop + kSplitBarSize;
}

void CSplitLayout::DragBarTo(int position, int length) {
  const int maxFirst = std::max(0, length - kSplitBarSize);
  m_panes[0].ideal = std::clamp(position, 0, maxFirst);
}
