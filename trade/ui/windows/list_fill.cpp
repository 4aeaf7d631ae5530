#include "trade/ui/windows/list_fill.h"

#include <cstdio>

#include "platform/controls.h"
#include "platform/gbk.h"
#include "trade/core/list_rows.h"

void SetListColumns(CListCtrl& list, const std::vector<SColumnSpec>& columns) {
  while (list.GetColumnCount() > 0) list.DeleteColumn(0);
  int i = 0;
  for (const SColumnSpec& c : columns)
    list.InsertColumn(i++, platform::GbkLiteral(c.title), LVCFMT_LEFT, c.width);
}

std::string ListCutNote() {
  char text[128];
  std::snprintf(text, sizeof text, GBK("记录太多，列表只显示了前 %zu 条"), kMaxListRows);
  return text;
}

void SetListRows(CListCtrl& list, const std::vector<PanelRow>& rows, bool cut) {
  // The list keeps the texts and converts only the rows it shows.
  list.SetItemTexts(rows);
  list.SetSelectionMark(-1);
  list.SetNote(cut ? ListCutNote() : std::string());
}
