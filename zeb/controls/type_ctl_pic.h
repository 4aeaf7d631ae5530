// A tab bar drawn by its owner inside the owner's own window: a row of
// trapezoid tabs with one current tab, hit testing and selection. The
// market tabs of the quote list, the tabs of the chart information panel
// and the page tabs of the analysis object derive from it or hold one.
//
// The owner passes its rectangle, mouse points (its client coordinates)
// and its DC; the bar receives no messages. Tabs are laid out on every
// paint, each as wide as its label and the label's margin beyond both
// slanted ends; tabs past the bar's width are laid out but not painted, and the
// part of such a tab inside the bar still answers the hit test. Names are
// GBK. User-interface thread only.
#pragma once
#include <string>
#include <vector>

#include "platform/gdi.h"

struct STypeCtlUnit {
  std::string name;  // GBK
  RECT rect{};       // set by the layout
  int state = 0;     // 0 normal, 1 current
};

class CTypeCtlPic {
 public:
  // No current tab.
  static constexpr int kNoTab = 9999;
  // Room a label keeps from its tab's edges: beyond the slanted ends on
  // the left and right, and above and below.
  static constexpr int kLabelMargin = 3;
  // The marker a tab name ends with when it opens a list ("◢").
  static const char* Marker();

  CTypeCtlPic();
  virtual ~CTypeCtlPic();
  CTypeCtlPic(const CTypeCtlPic&) = delete;
  CTypeCtlPic& operator=(const CTypeCtlPic&) = delete;

  virtual void SetRect(int left, int top, int right, int bottom);
  // -1 outside the bar; else the first tab whose rectangle holds the
  // point; -1 when none.
  virtual int HitTest(int x, int y);
  virtual void SetUnitState(int index, int state);
  // 0 for an empty name; else appends the tab (current when state is
  // non-zero) and returns 1.
  virtual int AddTab(const char* name, int state);
  // 0 when the bar has no positive width and height, else 1.
  virtual int Draw(CDC* dc);
  // Lays tab `index` out after the previous one; its width (0 for an
  // invalid index).
  virtual int LayoutTab(CDC* dc, int index);
  virtual void PaintTab(CDC* dc, int index);
  // Builds the tabs (derived bars); the base has none to build and returns 1.
  virtual int InitTabs();
  // Selects the tab under the point: 1, or 0 when there is none.
  virtual int OnClick(int x, int y);
  virtual int GetCurSel();
  // Stores the current index without touching any tab's state.
  virtual void SetCurIndex(int index);
  virtual RECT GetRect();
  // Lays every tab out; where the next tab would start.
  virtual POINT GetTabPos(CDC* dc);
  // The height a bar needs so its labels keep their margin: the tab
  // font's cell height and the margin above and below.
  int GetFittingHeight(CDC* dc);
  // The bar's colours; the two scheme colours are read again on every paint.
  virtual void InitColors();
  virtual void SetCurTabText(const char* text);
  // The current tab's name; for a name ending in the marker, an empty text
  // when x lies on the marker, else the name without it.
  virtual void GetTabText(std::string& out, int x);
  virtual void ClearSel();

  // A negative index clears the selection.
  void SetCurSel(int index);
  void RemoveAll();
  int GetTabCount() const { return (int)m_tabs.size(); }
  // Null for an invalid index.
  const STypeCtlUnit* GetTab(int index) const;

 protected:
  bool IsValidIndex(int index) const { return index >= 0 && index < (int)m_tabs.size(); }

  std::vector<STypeCtlUnit> m_tabs;
  RECT m_rcBar{};
  int m_nSlant = 4;
  int m_nCurrent = kNoTab;
  CFont m_font;
  COLORREF m_clrLine = 0;
  COLORREF m_clrText = RGB(0, 0, 0);
  COLORREF m_clrCurText = RGB(127, 255, 255);
  COLORREF m_clrBar = 0;
  COLORREF m_clrCurFill = RGB(128, 0, 0);
  COLORREF m_clrTabFill = RGB(128, 128, 128);
  SIZE m_sizeMarker{};
};
