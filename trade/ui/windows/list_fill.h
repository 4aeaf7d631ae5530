// Filling a report list from a panel's table (columns, rows of cell
// texts): one way for every list of the trading window, the coloured ones
// and the plain ones alike. A refill costs one repaint and the texts:
// only the rows on the screen are converted for it.
#pragma once
#include <string>
#include <vector>

#include "trade/ui/rules/panel_table.h"

class CListCtrl;

// Replaces the columns (titles are UTF-8 literals shown in GBK).
void SetListColumns(CListCtrl& list, const std::vector<SColumnSpec>& columns);
// The line a cut list shows under its rows.
std::string ListCutNote();
// Replaces the rows, in the table's order; the selection and its mark go.
// A cut list (the reply held more rows than a list takes) says so in a
// line under its rows.
void SetListRows(CListCtrl& list, const std::vector<PanelRow>& rows, bool cut = false);
