#include "trade/ui/windows/tree_ctrl_ex.h"

#include <QPalette>

namespace {
constexpr int kSelectedWeight = 700, kSelectedHeight = 12, kMarkedWeight = 300, kCharWidth = 7;
}  // namespace

CTreeCtrlEx::CTreeCtrlEx() {
  // The tree's own selection is only what the box covers: the row around
  // it stays in the band's colour instead of a highlight across the tree.
  QPalette p = palette();
  const QColor band(GetRValue(kMarkedBand), GetGValue(kMarkedBand), GetBValue(kMarkedBand));
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    p.setColor(group, QPalette::Highlight, band);
  setPalette(p);
}

void CTreeCtrlEx::SetItemColor(HTREEITEM item, COLORREF color) {
  auto found = colours_.find(item);
  if (found != colours_.end()) {
    found->second.color = color;
    return;
  }
  Color_Font entry;
  entry.color = color;
  entry.logfont.lfHeight = 0;
  colours_.emplace(item, entry);
}

void CTreeCtrlEx::OnPaintItem(CDC* dc, HTREEITEM item, const RECT& textRect, UINT state) {
  const bool selected = state & TVIS_SELECTED;
  auto found = colours_.find(item);
  if (!selected && found == colours_.end()) return;  // the tree's own drawing stays
  LOGFONT lf;
  if (CFont* own = GetFont()) own->GetLogFont(&lf);
  if (!selected && found->second.logfont.lfHeight != 0) lf = found->second.logfont;
  lf.lfWeight = selected ? kSelectedWeight : kMarkedWeight;
  if (selected) lf.lfHeight = kSelectedHeight;
  CFont font;
  font.CreateFontIndirect(&lf);
  const int saved = dc->SaveDC();
  dc->SelectObject(&font);
  dc->SetBkMode(OPAQUE);
  const std::string text = GetItemText(item);
  if (selected) {
    dc->SetBkColor(RGB(255, 255, 255));
    dc->SetTextColor(RGB(0, 0, 0));
    dc->SelectStockObject(BLACK_PEN);
    dc->SelectStockObject(WHITE_BRUSH);
    dc->Rectangle(textRect.left - 1, textRect.top - 1,
                  textRect.left + kCharWidth * static_cast<int>(text.size()) + 4,
                  textRect.bottom + 1);
    dc->TextOut(textRect.left + 2, textRect.top + 2, text);
  } else {
    dc->SetBkColor(kMarkedBand);
    dc->SetTextColor(RGB(255, 255, 255));
    dc->TextOut(textRect.left + 2, textRect.top + 1, text);
  }
  dc->RestoreDC(saved);
}
