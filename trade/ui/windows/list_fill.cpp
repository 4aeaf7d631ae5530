#include "trade/ui/windows/list_fill.h"

#include "platform/controls.h"
#include "platform/gbk.h"

void SetListColumns(CListCtrl& list, const std::vector<SColumnSpec>& columns) {
  while (list.GetColumnCount() > 0) list.DeleteColumn(0);
  int i = 0;
  for (const SColumnSpec& c : columns)
    list.InsertColumn(i++, platform::GbkLiteral(c.title), LVCFMT_LEFT, c.width);
}

void SetListRows(CListCtrl& list, const std::vector<PanelRow>& rows) {
  // The list keeps the texts and converts only the rows it shows.
  list.SetItemTexts(rows);
  list.SetSelectionMark(-1);
}
