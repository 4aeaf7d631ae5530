// The colour list's rules: row colours from the colour code in a row's last
// column, the order a column click sorts in, and the comparison of two cell
// texts (digit texts by value, dd/mm/yyyy dates by date, anything else as
// text in the Chinese locale's order, so "10.00" sorts before "9.50").
#pragma once
#include <string>
#include <vector>

#include "platform/types.h"
#include "trade/ui/rules/panel_table.h"

struct SRowColours {
  COLORREF text;
  COLORREF background;
};

// "1" red on white, "2" red on light grey, "3" blue on white, "4" blue on
// light grey, anything else black on white.
SRowColours RowColoursOfCode(const std::string& code);

// After a click on column clicked: ascending when it is another column than
// the sort column or the current order is descending.
bool NextSortAscending(int sortColumn, bool ascending, int clicked);

// -1, 0 or 1, chosen by the first text alone: all digits (or empty) compares
// the integer values of both (any length, no overflow); dd/mm/yyyy compares
// year, month and day; otherwise the Chinese locale's case-sensitive
// comparison of the texts.
int CompareCellTexts(const std::string& a, const std::string& b);

// Sorts rows by one column (stable; a row without that column counts as an
// empty cell). Descending swaps the two texts before comparing.
void SortRows(std::vector<PanelRow>& rows, int column, bool ascending);
