// CMyColorListCtrl: the panels' list. A row takes its colours from the
// colour code in its last column (the panels add a zero-width column for
// it), a click on a column heading sorts by that column (again: the other
// way round), and the user cannot widen the last column. CSortHeaderCtrl
// is its header, drawing the sort column's title itself with a small
// triangle. The colours, the order of clicks and the comparison of cell
// texts are the list-sort rules.
#pragma once
#include <vector>

#include "platform/controls.h"
#include "trade/ui/rules/panel_table.h"

class CSortHeaderCtrl : public CHeaderCtrl {
 public:
  explicit CSortHeaderCtrl(QWidget* parent = nullptr);
  // Marks the column with the arrow of the order and redraws.
  void SetSortArrow(int column, bool ascending);
  int SortColumn() const { return sortColumn_; }
  bool Ascending() const { return ascending_; }

  void DrawItem(LPDRAWITEMSTRUCT dis) override;

 private:
  int sortColumn_ = -1;
  bool ascending_ = true;
};

class CMyColorListCtrl : public CListCtrl {
 public:
  CMyColorListCtrl();

  // Replaces the columns (titles are UTF-8 literals shown in GBK).
  void SetColumns(const std::vector<SColumnSpec>& columns);
  // Replaces the rows; the list is not re-sorted (a refill shows the
  // panel's order). A cut list says so under its rows (SetListRows).
  void SetRows(const std::vector<PanelRow>& rows, bool cut = false);

  // Sorts the rows by the column's texts.
  void SortByColumn(int column, bool ascending);
  // The index in the rows SetRows gave of the list's row (its place before
  // any sort); -1 for -1, the row itself for a list filled otherwise.
  // Panels act on the record of the row the user picked, whatever order
  // the list shows.
  int SourceRow(int row) const;
  int SortColumn() const { return sortColumn_; }
  bool SortAscending() const { return ascending_; }
  CSortHeaderCtrl* GetSortHeader() const { return header_; }

  int OnCreate(LPCREATESTRUCT cs) override;
  void OnColumnClick(int column) override;
  BOOL OnBeginTrack(int column) override;
  BOOL OnItemColors(int item, COLORREF* text, COLORREF* back) override;

 private:
  CSortHeaderCtrl* header_ = nullptr;  // owned by the list
  std::vector<int> sources_;           // each list row's index in SetRows' rows
  int sortColumn_ = -1;
  bool ascending_ = true;
};
