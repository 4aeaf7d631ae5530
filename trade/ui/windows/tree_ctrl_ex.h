// CTreeCtrlEx: the trading window's function tree. The tree draws itself;
// over it this control paints the selected item as bold black text in a
// white box, and the items the owner marked (SetItemColor) as white text on
// the blue band. Only whether an item is marked counts, not the colour.
// The box is the whole selection: no highlight runs across the row.
#pragma once
#include <map>

#include "platform/controls.h"

class CTreeCtrlEx : public CTreeCtrl {
 public:
  struct Color_Font {
    COLORREF color = 0;
    LOGFONT logfont;  // height 0: the tree's own font
  };
  static constexpr COLORREF kMarkedBand = 0xB06040;

  CTreeCtrlEx();
  // Marks the item (an existing entry keeps its font description).
  void SetItemColor(HTREEITEM item, COLORREF color);
  bool IsMarked(HTREEITEM item) const { return colours_.count(item) != 0; }

  void OnPaintItem(CDC* dc, HTREEITEM item, const RECT& textRect, UINT state) override;

 private:
  std::map<HTREEITEM, Color_Font> colours_;
};
