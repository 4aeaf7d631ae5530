#include "trade/ui/windows/list_fill.h"

#include <QWidget>

#include "platform/controls.h"
#include "platform/gbk.h"

void SetListColumns(CListCtrl& list, const std::vector<SColumnSpec>& columns) {
  while (list.GetColumnCount() > 0) list.DeleteColumn(0);
  int i = 0;
  for (const SColumnSpec& c : columns)
    list.InsertColumn(i++, platform::GbkLiteral(c.title), LVCFMT_LEFT, c.width);
}

void SetListRows(CListCtrl& list, const std::vector<PanelRow>& rows) {
  // One repaint for the whole refill. Rows already there take the new
  // texts in place: a reply of about the same length as the last one then
  // neither frees nor makes any cell.
  list.GetWidget()->setUpdatesEnabled(false);
  list.SetItemState(-1, 0, LVIS_SELECTED);
  list.SetSelectionMark(-1);
  const int wanted = static_cast<int>(rows.size());
  while (list.GetItemCount() > wanted) list.DeleteItem(list.GetItemCount() - 1);
  const int columns = list.GetColumnCount();
  for (int r = 0; r < wanted; ++r) {
    const PanelRow& row = rows[static_cast<size_t>(r)];
    if (r >= list.GetItemCount()) list.InsertItem(r, "");
    for (int c = 0; c < columns; ++c)
      list.SetItemText(r, c, static_cast<size_t>(c) < row.size() ? row[c].c_str() : "");
  }
  list.GetWidget()->setUpdatesEnabled(true);
}
