// CBaseTable: the self-drawn grid of every quote screen. A header row of
// column heads, rows of cells with their own text, colours, borders, font
// and image, a selected row, paging by whole pages, a horizontal column
// scroll behind a number of fixed columns, a display order of the columns
// and a sort mark in one head.
//
// It owns no window: its owner gives it a rectangle, paints it from its
// own paint through a CDC, passes keys and clicks and hands it received
// packets. Subclasses build their columns in InitColumns and fill their
// rows in UpdateData. Column widths are addressed by column index; drawing
// walks display positions through the column order.
//
// Paging needs at least one whole data row in the rectangle: while none
// fits, the paging keys and EnsureVisible change nothing.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "platform/types.h"
#include "zeb/tables/base/draw_owner.h"
#include "zeb/tables/base/table_images.h"

// One column head. The name is at most 8 bytes of GBK, cut on a character
// boundary.
struct SColumnHead {
  char name[9] = {};
  int32_t align = 0;  // 0 left, 2 centre, any other value right
  int32_t width = 0;  // pixels
};

// Cell border bits.
constexpr int kBorderTop = 0x1000;
constexpr int kBorderBottom = 0x2000;
constexpr int kBorderLeft = 0x4000;
constexpr int kBorderRight = 0x8000;

// One cell.
struct SSubItem {
  std::string text;                   // GBK
  int image = -1;                     // index in the table's image list; -1 none
  COLORREF textColor = CLR_INVALID;   // -1: the table's text colour
  COLORREF background = CLR_INVALID;  // -1: not filled
  int borders = 0;                    // kBorder* bits
  int align = -1;                     // -1: the column's; else 2 centre, 1 right, neither left
  CFont* font = nullptr;              // null: the table's font (not owned)
};

// Style bits.
constexpr int kTableStyleNoHeader = 0x4000;
constexpr int kTableStyle2HighlightSel = 0x20;
constexpr int kTableStyle2CellFrames = 0x01;

class CBaseTable {
 public:
  CBaseTable();
  virtual ~CBaseTable();
  CBaseTable(const CBaseTable&) = delete;
  CBaseTable& operator=(const CBaseTable&) = delete;

  // Paging, selection and column scroll; 1 when handled, 0 otherwise.
  virtual int OnKey(UINT key);
  // Grows the rows to reach row; 0 (rows still grown) when col is no column.
  virtual int SetCell(int row, int col, const std::string& text, int image = -1,
                      COLORREF textColor = CLR_INVALID, COLORREF background = CLR_INVALID,
                      int borders = 0);
  // 0 when row is no row.
  virtual int DeleteRow(int row);
  virtual int Draw(CDC* dc);
  // Pages until the row is on the page; 0 for no row or while no row fits.
  virtual int EnsureVisible(int row);
  virtual int GetRowCount() const { return static_cast<int>(m_rows.size()); }
  virtual std::string GetCellText(int row, int col) const;
  // The whole cell; null when the row or column does not exist.
  const SSubItem* GetCellItem(int row, int col) const;
  // Counted from the top row of the page.
  virtual int GetSelRow() const { return m_nSelRow; }
  // The data row under the point, counted from the top row of the page;
  // -1 outside the rectangle, in the header or below the last row.
  virtual int HitTestRow(int x, int y) const;
  virtual void InitColumns() = 0;
  // Inserts a head at index and appends index to the column order.
  virtual int AddColumn(int index, const char* name, int align, int width);
  virtual void SetBkColor(COLORREF color) { m_crBack = color; }
  // Stores the rectangle; returns the rows that fit in its height.
  virtual int SetRect(int left, int top, int right, int bottom);
  virtual CFont* SetFont(CFont* font);
  virtual CTableImageList* SetImageList(CTableImageList* images);
  virtual void SetRowHeight(int height) { m_fRowHeight = static_cast<float>(height); }
  virtual void AddStyle(int bits) { m_nStyle |= bits; }
  virtual void AddStyle2(int bits) { m_nStyle2 |= bits; }
  void RemoveStyle2(int bits) { m_nStyle2 &= ~bits; }
  int Style2() const { return m_nStyle2; }
  virtual void SetTextColor(COLORREF color) { m_crText = color; }
  virtual int OnMouse(int x, int y) { return 0; }
  // One received packet body (lent for the call).
  virtual int UpdateData(const void* body, int length) = 0;
  virtual void SetLinePen(COLORREF color, int width);
  virtual int TrackMenu(CDrawOwner* owner, int x, int y, int menuId, int subMenu);
  // Background, selection, text and line colours and the font from the
  // scheme; returns the font.
  virtual CFont* InitColors();

  void SetSelRow(int row) { m_nSelRow = row; }
  int DeleteAllRows();
  // As SetCell with a whole cell, alignment and font included.
  int SetCellItem(int row, int col, const SSubItem& item);
  int GetRowsPerPage() const;
  // Top row of the last page of n rows (0 while no row fits).
  int GetLastPageTop(int n) const;
  int GetPageRows(int top, int n) const;
  int GetTotalColumnWidth() const;
  int GetWidth() const { return m_rect.right - m_rect.left; }
  int GetColumnWidth(int column) const;
  bool SetColumnWidth(int column, int width);
  int GetColumnScroll() const { return m_nColumnScroll; }
  void ResetColumnScroll() { m_nColumnScroll = 0; }
  int GetFixedColumns() const { return m_nFixedColumns; }
  int GetColumnCount() const { return static_cast<int>(m_columns.size()); }
  const SColumnHead* GetColumnHead(int column) const;
  void SetSortImage(int column, int image);
  int GetSortColumn() const { return m_nSortColumn; }
  int GetSortImage() const { return m_nSortImage; }
  void SetHeaderFrames(int on) { m_nHeaderFrames = on; }
  // colour CLR_INVALID keeps the selection colour.
  void SetSelectionFill(int on, COLORREF color);
  // Column scroll from a scroll-bar position in pixels.
  void ScrollColumnsTo(int x);
  // Scrolls so the column at a column index shows at the right of the
  // scrolling part; returns the new scroll-bar position in pixels.
  int ScrollToColumn(int column);
  // Width of the columns scrolled out of view: the scroll bar's position.
  int GetColumnScrollPixels() const;
  int GetRowHeight() const { return static_cast<int>(m_fRowHeight); }
  // Where Draw puts a row (counted from the first row, not the page's top
  // row); empty when it is not on the page.
  RECT RowRect(int row) const;
  int GetTopRow() const { return m_nTopRow; }
  void SetTopRow(int top) { m_nTopRow = top; }
  const RECT& GetRect() const { return m_rect; }
  // Display position -> column index.
  const std::vector<int>& GetColumnOrder() const { return m_columnOrder; }
  // The column index at a display position, counting the column scroll
  // for positions behind the fixed ones; -1 past the last column.
  int GetColumnAtPosition(int position) const;
  COLORREF GetBkColor() const { return m_crBack; }
  COLORREF GetSelColor() const { return m_crSel; }
  COLORREF GetTextColor() const { return m_crText; }

 protected:
  // One column as drawn: its index, left edge and width.
  struct SDrawnColumn {
    int column;
    int left;
    int width;
  };
  // The columns as the header and rows draw them, left to right, up to the
  // first that starts past the right edge.
  const std::vector<SDrawnColumn>& LayoutDrawnColumns() const;
  // The header band's height (0 without a header).
  float HeaderHeight() const;
  // One stroke of a cell's borders: a line of two points, or the right
  // edge and the bottom in one stroke of three.
  struct SBorderStroke {
    POINT points[3];
    int count;
  };
  // Where and how a cell draws in its row band (top to bottom of the row):
  // the one placing of the grid's own drawing and of the tables that draw
  // through a painter.
  struct SCellPlace {
    RECT text;           // the box its text sits in
    RECT fill;           // the box its own background fills; empty: none
    UINT format;         // its text's DrawText format
    COLORREF textColor;  // the cell's, else the table's
    CFont* font;         // the cell's, else the table's (may be null)
    SBorderStroke strokes[3];
    int strokeCount;
  };
  SCellPlace PlaceCell(const SSubItem& cell, const SDrawnColumn& column, int top, int bottom) const;
  COLORREF GetLineColor() const { return m_crLine; }
  int GetLineWidth() const { return m_nLineWidth; }
  // Sets the row count, keeping existing rows' storage; every row has a
  // cell per column.
  void ResizeRows(int count);
  std::vector<SSubItem>& RowCells(int row) { return m_rows[static_cast<size_t>(row)]; }
  const std::vector<SSubItem>& RowCells(int row) const { return m_rows[static_cast<size_t>(row)]; }
  void RemoveAllColumns();
  std::vector<SColumnHead>& Columns() { return m_columns; }
  std::vector<int>& ColumnOrder() { return m_columnOrder; }
  void SetFixedColumns(int count) { m_nFixedColumns = count; }
  int Style() const { return m_nStyle; }

  RECT m_rect{};
  int m_nSelRow = 0;
  int m_nTopRow = 0;
  int m_nFittingRows = 0;
  float m_fRowHeight = 18.0f;
  int m_nColumnScroll = 0;

 private:
  void DrawHeader(CDC* dc, float headerHeight);
  void DrawRows(CDC* dc, float headerHeight);
  void DrawCell(CDC* dc, const SSubItem& cell, const SDrawnColumn& column, int top, int bottom);
  static int BorderStrokes(int borders, int left, int top, int right, int bottom,
                           SBorderStroke* strokes);
  static UINT TextFormat(int align);

  COLORREF m_crBack = 0;
  COLORREF m_crSel = 0;
  COLORREF m_crText = 0;
  std::vector<std::vector<SSubItem>> m_rows;
  std::vector<SColumnHead> m_columns;
  CFont* m_pFont = nullptr;
  int m_nStyle = 0;
  int m_nStyle2 = 0;
  CTableImageList* m_pImages = nullptr;
  COLORREF m_crLine = 0;
  int m_nLineWidth = 1;
  std::vector<int> m_columnOrder;
  int m_nSortImage = 1;
  int m_nSortColumn = -1;
  int m_nFixedColumns = 0;
  int m_nHeaderFrames = 1;
  int m_nSelectionFill = 1;
  mutable std::vector<SDrawnColumn> m_drawn;  // scratch of LayoutDrawnColumns
};
