// CScrolledTable: a grid table with its own vertical scroll bar along its
// right edge (10 pixels), the base of the deal-details and price-volume
// tables. It keeps the row count and rows per page of the last paint, pages
// by key within them, and moves its top row with the bar's mouse handling.
#pragma once
#include "zeb/controls/scroll_ctl_pic.h"
#include "zeb/tables/base/base_table.h"

constexpr int kTableScrollWidth = 10;

class CScrolledTable : public CBaseTable {
 public:
  // The bar gets (right - 10, top, right, bottom); the table keeps the rest.
  int SetRect(int left, int top, int right, int bottom) override;
  // PageUp/PageDown by the rows per page, Up/Down by one; the top kept in
  // [0, row count - rows per page + extra]; 1 when taken.
  int OnPageKey(UINT key);
  int OnScrollButtonDown(int x, int y);
  int OnScrollMouseMove(int x, int y);
  int OnScrollButtonUp(int x, int y);

  CScrollCtlPic& ScrollBar() { return m_scroll; }
  int PaintedRowCount() const { return m_nRowCount; }
  int PaintedRowsPerPage() const { return m_nRowsPerPage; }

 protected:
  // Rows past the last page the top may reach (1 where a header takes a row).
  virtual int ExtraTopRows() const { return 0; }

  CScrollCtlPic m_scroll;
  int m_nRowCount = 0;
  int m_nRowsPerPage = 0;
};
