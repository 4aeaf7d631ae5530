// CMTToolBar: the floating drawing-tools bar, whose buttons show caption
// lines under their images. LoadTextToolBar builds one picture of all
// buttons (each cell: the image, centred, and under it the caption lines
// of its command string in a small "宋体") and makes the bar's buttons a
// cell plus 7 pixels each way. The bar paints raised buttons (flat ones
// with TBSTYLE_FLAT).
#pragma once
#include "zeb/controls/toolbar_base.h"

class CMTToolBar : public CToolBarBase {
 public:
  // Works on the buttons loaded before (LoadToolBar); their command
  // strings come from the resource. FALSE when the module has no resource
  // with the id or its strip does not load.
  BOOL LoadTextToolBar(std::span<const zebui::ToolBarResource> module, UINT id);

  // The close box of the floating bar hides it and marks it closed; its
  // owner takes that as the user turning the bar off (and clears the mark
  // when the bar is turned on again).
  void OnClose() override;
  bool IsClosed() const { return m_bClosed; }
  void SetClosed(bool closed) { m_bClosed = closed; }

 private:
  bool m_bClosed = false;
};
