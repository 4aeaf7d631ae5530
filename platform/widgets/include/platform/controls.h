// The controls of the window layer in MFC's shape.
//
// Two sorts:
// - Accessors for the plain controls a dialog table makes: a combo box, a
//   list box or an edit is reached as CComboBox, CListBox or CEdit through
//   GetDlgItemT<T>(id) (or FindCtl in tests). They hold nothing of their
//   own (items, data and limits live on the widget), so a pointer is good
//   while the dialog lives.
// - Window classes (CListCtrl, CTreeCtrl, CSpinButtonCtrl, CButton,
//   CStatic): widgets with handlers and hooks that a window class derives
//   from. Dialog tables make them with the kinds kListCtrl, kTreeCtrl,
//   kSpin and kButton with BS_OWNERDRAW; a window keeping its own class as
//   a member puts it in the table's place with SubclassDlgItem or
//   DDX_Control.
//
// Notifications reach the control's window as WM_COMMAND(MAKEWPARAM(id,
// code), control's handle), the 16-bit codes below included (NM_DBLCLK,
// LVN_ITEMCHANGED, TVN_SELCHANGED ...); the control's hooks (virtual On*)
// run first and their base sends the notification. Texts are GBK.
#pragma once
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTreeWidget>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/image_list.h"
#include "platform/wnd_qt_bases.h"

class QComboBox;
class QListWidget;
class QLineEdit;
class QPlainTextEdit;
class CListCtrl;

namespace platform {
namespace detail {
class ListModel;
}
// Control kinds of dialog tables (see DialogItem).
inline constexpr char kListCtrl[] =
    "listctrl";  // CListCtrl; LVS_REPORT, LVS_SINGLESEL, LVS_NOSORTHEADER ...
inline constexpr char kTreeCtrl[] = "tree";  // CTreeCtrl; TVS_HASBUTTONS, TVS_LINESATROOT ...
inline constexpr char kSpin[] = "spin";      // CSpinButtonCtrl; UDS_*
// kButton with BS_OWNERDRAW makes a CButton; other buttons stay plain.
}  // namespace platform

// ---- Shared values ----------------------------------------------------------

constexpr int CB_ERR = -1, CB_ERRSPACE = -2, LB_ERR = -1, LB_ERRSPACE = -2;

// Notification codes as they arrive in HIWORD(wParam) of WM_COMMAND (the
// low 16 bits of the Win32 values).
constexpr UINT NM_CLICK = 0xFFFE, NM_DBLCLK = 0xFFFD, NM_RCLICK = 0xFFFB, LVN_ITEMCHANGED = 0xFF9B,
               LVN_COLUMNCLICK = 0xFF94, TVN_SELCHANGED = 0xFE6E;

// Owner drawing.
constexpr UINT WM_DRAWITEM = 0x002B;
constexpr UINT ODT_MENU = 1, ODT_LISTBOX = 2, ODT_COMBOBOX = 3, ODT_BUTTON = 4, ODT_STATIC = 5,
               ODT_HEADER = 100, ODT_TAB = 101, ODT_LISTVIEW = 102;
constexpr UINT ODA_DRAWENTIRE = 0x1, ODA_SELECT = 0x2, ODA_FOCUS = 0x4;
constexpr UINT ODS_SELECTED = 0x1, ODS_GRAYED = 0x2, ODS_DISABLED = 0x4, ODS_CHECKED = 0x8,
               ODS_FOCUS = 0x10, ODS_DEFAULT = 0x20, ODS_HOTLIGHT = 0x40, ODS_INACTIVE = 0x80,
               ODS_NOACCEL = 0x100, ODS_NOFOCUSRECT = 0x200;
// What DrawItem gets: hDC paints on the item (valid for the call only).
struct DRAWITEMSTRUCT {
  UINT CtlType = 0;
  UINT CtlID = 0;
  UINT itemID = 0;
  UINT itemAction = ODA_DRAWENTIRE;
  UINT itemState = 0;
  HWND hwndItem = nullptr;
  HDC hDC = nullptr;
  RECT rcItem;
  ULONG_PTR itemData = 0;
};
typedef DRAWITEMSTRUCT* LPDRAWITEMSTRUCT;

// A place in a list of selected items (GetFirstSelectedItemPosition).
struct __POSITION;
typedef __POSITION* POSITION;

// ---- Combo boxes and list boxes -----------------------------------------------

// A table's combo box (QComboBox). Selections set here never notify;
// CBN_SELCHANGE comes from the user's choices only.
class CComboBox : public CWnd {
 public:
  QComboBox* GetComboBox() const;
  int GetCount() const;
  int GetCurSel() const;
  // Selects index (-1 clears; an index out of range clears and gives CB_ERR).
  int SetCurSel(int index);
  // Appends, or with CBS_SORT inserts in order (ASCII case aside, GBK byte
  // order); returns the index.
  int AddString(const char* text);
  // Inserts at index (-1: the end), never sorted; CB_ERR past the end.
  int InsertString(int index, const char* text);
  // Returns the count left, CB_ERR for a bad index.
  int DeleteString(int index);
  void ResetContent();
  // The first item from startAfter + 1 on, wrapping round to startAfter
  // (-1: from the first), that starts with prefix / equals text, ASCII
  // case aside; CB_ERR when none.
  int FindString(int startAfter, const char* prefix) const;
  int FindStringExact(int startAfter, const char* text) const;
  // FindString, then selects what it found (silently); CB_ERR when none.
  int SelectString(int startAfter, const char* prefix);
  // The item's text cut on a character boundary to size - 1 bytes; its
  // length, CB_ERR for a bad index.
  int GetLBText(int index, char* buffer, int size) const;
  int GetLBText(int index, std::string& text) const;
  int GetLBTextLen(int index) const;
  // CB_ERR for a bad index.
  DWORD_PTR GetItemData(int index) const;
  int SetItemData(int index, DWORD_PTR data);
  // An editable combo box's edit: the most GBK bytes the user may type
  // (0: no limit). FALSE for a drop-down list.
  BOOL LimitText(int maxBytes);
  // The box with its dropped list, as MoveWindow last placed it (screen).
  void GetDroppedControlRect(RECT* rect) const;
  BOOL GetDroppedState() const;
  void ShowDropDown(BOOL show = TRUE);

 protected:
  CComboBox() = default;
};

// A table's list box (QListWidget). Selections set here never notify;
// LBN_SELCHANGE comes from the user's changes only.
class CListBox : public CWnd {
 public:
  QListWidget* GetListWidget() const;
  int GetCount() const;
  // Single-selection list boxes.
  int GetCurSel() const;
  int SetCurSel(int index);
  // Multiple-selection list boxes (index -1: every item).
  int GetSel(int index) const;
  int SetSel(int index, BOOL select = TRUE);
  int GetSelCount() const;
  // Fills at most max indexes of selected items in order; returns how many.
  int GetSelItems(int max, int* indexes) const;
  int AddString(const char* text);  // sorted with LBS_SORT
  int InsertString(int index, const char* text);
  int DeleteString(int index);
  void ResetContent();
  int FindString(int startAfter, const char* prefix) const;
  int FindStringExact(int startAfter, const char* text) const;
  int SelectString(int startAfter, const char* prefix);
  int GetText(int index, char* buffer, int size) const;
  int GetText(int index, std::string& text) const;
  int GetTextLen(int index) const;
  DWORD_PTR GetItemData(int index) const;
  int SetItemData(int index, DWORD_PTR data);
  int GetTopIndex() const;
  int SetTopIndex(int index);
  // Client coordinates; LB_ERR for a bad index.
  int GetItemRect(int index, RECT* rect) const;
  // The item nearest the point; outside is TRUE when the point is past the items.
  UINT ItemFromPoint(CPoint point, BOOL& outside) const;

 protected:
  CListBox() = default;
};

// ---- Edits ----------------------------------------------------------------------

// A table's edit: single-line (QLineEdit) or ES_MULTILINE (its text speaks
// CR LF). Positions are GBK byte offsets, CR LF counting two.
class CEdit : public CWnd {
 public:
  BOOL IsMultiLine() const;
  // The most GBK bytes the user may type or paste (0: no limit); what goes
  // past it is cut on a character boundary. Text set by code is not cut.
  void SetLimitText(UINT maxBytes);
  void LimitText(int maxBytes = 0) { SetLimitText(maxBytes > 0 ? (UINT)maxBytes : 0); }
  UINT GetLimitText() const;
  BOOL SetReadOnly(BOOL readOnly = TRUE);
  // 0 shows the text; any other character hides it (single-line edits).
  void SetPasswordChar(char ch);
  char GetPasswordChar() const;
  // (0, -1) selects everything, (-1, any) removes the selection.
  void SetSel(int start, int end, BOOL noScroll = FALSE);
  void GetSel(int& start, int& end) const;
  // Replaces the selection (within the limit).
  void ReplaceSel(const char* text, BOOL canUndo = FALSE);
  int GetLineCount() const;

 protected:
  CEdit() = default;
};

// ---- Window classes over Qt's controls ----------------------------------------------

// A static control (QLabel) that a window class derives from; SS_LEFT,
// SS_CENTER, SS_RIGHT, SS_CENTERIMAGE apply as in a table.
class CStatic : public CWndImpl<QLabel> {
 public:
  CStatic();
  // Shows the bitmap's picture (copied; null: none); returns the bitmap
  // shown before (not owned).
  HBITMAP SetBitmap(HBITMAP bitmap);
  HBITMAP GetBitmap() const { return bitmap_; }
  // The control's own colours, asked before the parent's OnCtlColor (MFC's
  // reflected WM_CTLCOLOR): set them on dc and return a brush, or null to
  // let the parent decide.
  virtual HBRUSH CtlColor(CDC* dc, UINT kind);

  int OnCreate(LPCREATESTRUCT cs) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HBITMAP bitmap_ = nullptr;
};

// Button states of GetState.
constexpr UINT BST_PUSHED = 0x4, BST_FOCUS = 0x8;

// A push button window class (QPushButton). With BS_OWNERDRAW it paints
// nothing itself: each paint calls DrawItem with the item's states
// (ODS_SELECTED while pressed, ODS_FOCUS, ODS_DISABLED). A click sends
// BN_CLICKED to its window.
class CButton : public CWndImpl<QPushButton> {
 public:
  CButton();
  UINT GetButtonStyle() const;
  void SetButtonStyle(UINT style, BOOL redraw = TRUE);
  UINT GetState() const;
  // Shows the button pressed (TRUE) or not.
  void SetState(BOOL highlight);
  // Paints an owner-drawn button; the default sends WM_DRAWITEM(id, dis)
  // to its window, as Win32 does.
  virtual void DrawItem(LPDRAWITEMSTRUCT dis);

  void OnPaint() override;
};

// ---- Spin buttons -------------------------------------------------------------------

constexpr DWORD UDS_WRAP = 0x1, UDS_SETBUDDYINT = 0x2, UDS_ALIGNRIGHT = 0x4, UDS_ALIGNLEFT = 0x8,
                UDS_AUTOBUDDY = 0x10, UDS_ARROWKEYS = 0x20, UDS_HORZ = 0x40, UDS_NOTHOUSANDS = 0x80,
                UDS_HOTTRACK = 0x100;
constexpr int UD_MAXVAL = 0x7FFF, UD_MINVAL = -UD_MAXVAL;

namespace platform {
// The arithmetic of an up-down control: a step moves towards upper
// (downwards when upper < lower); past an end it wraps to the other end
// (wrap) or stops there.
struct SpinRange {
  int lower = 0;
  int upper = 100;
  bool wrap = false;
  int Clamp(int pos) const;
  int Step(int pos, int delta) const;
};
}  // namespace platform

// An up-down control (two arrow buttons) with an optional buddy window:
// UDS_SETBUDDYINT writes the position into the buddy and reads it back
// from there, UDS_ARROWKEYS lets the buddy's Up and Down keys step,
// UDS_ALIGNRIGHT/LEFT put the control at the buddy's edge (the buddy gives
// up that width), UDS_AUTOBUDDY takes the control made just before it.
// Each step sends WM_VSCROLL (WM_HSCROLL with UDS_HORZ) with
// SB_THUMBPOSITION and the position to its window; a held arrow repeats on
// a timer.
class CSpinButtonCtrl : public CWndImpl<QWidget> {
 public:
  CSpinButtonCtrl();
  ~CSpinButtonCtrl() override;
  // Returns the previous buddy.
  CWnd* SetBuddy(CWnd* buddy);
  CWnd* GetBuddy() const;
  void SetRange(short lower, short upper) { SetRange32(lower, upper); }
  void SetRange32(int lower, int upper);
  // MAKELONG(upper, lower).
  DWORD GetRange() const;
  void GetRange(int& lower, int& upper) const { GetRange32(lower, upper); }
  void GetRange32(int& lower, int& upper) const;
  // Returns the previous position; clamps into the range.
  int SetPos(int pos) { return SetPos32(pos); }
  int SetPos32(int pos);
  // The position (read from the buddy with UDS_SETBUDDYINT); *error TRUE
  // when the buddy's text is not a number in the range.
  int GetPos32(BOOL* error = nullptr) const;
  // MAKELONG(position, error).
  DWORD GetPos() const;
  // 10 or 16; returns the previous base (0 for another value).
  int SetBase(int base);
  int GetBase() const { return base_; }

  // The repeat timer of a held arrow.
  static constexpr UINT_PTR kRepeatTimer = 0x5350;

  int OnCreate(LPCREATESTRUCT cs) override;
  void OnDestroy() override;
  void OnPaint() override;
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnLButtonUp(UINT flags, CPoint point) override;
  void OnTimer(UINT_PTR id) override;

 private:
  class BuddyKeys;
  // Steps from the current position as an arrow does (+1: up).
  void Spin(int delta);
  void Notify(UINT code);
  void WriteBuddy();
  // Which arrow a point is on: +1 up (right), -1 down (left).
  int ArrowAt(CPoint point) const;

  platform::SpinRange range_;
  int pos_ = 0;
  int base_ = 10;
  int pressed_ = 0;  // the arrow held down, 0 when none
  QPointer<QWidget> buddy_;
  BuddyKeys* keys_ = nullptr;
};

// ---- List controls (report view) ---------------------------------------------------

constexpr DWORD LVS_ICON = 0x0, LVS_REPORT = 0x1, LVS_SMALLICON = 0x2, LVS_LIST = 0x3,
                LVS_TYPEMASK = 0x3, LVS_SINGLESEL = 0x4, LVS_SHOWSELALWAYS = 0x8,
                LVS_NOLABELWRAP = 0x80, LVS_NOCOLUMNHEADER = 0x4000, LVS_NOSORTHEADER = 0x8000;
constexpr DWORD LVS_EX_GRIDLINES = 0x1, LVS_EX_CHECKBOXES = 0x4, LVS_EX_HEADERDRAGDROP = 0x10,
                LVS_EX_FULLROWSELECT = 0x20;
constexpr int LVCFMT_LEFT = 0, LVCFMT_RIGHT = 1, LVCFMT_CENTER = 2, LVCFMT_JUSTIFYMASK = 3;
constexpr int LVSCW_AUTOSIZE = -1, LVSCW_AUTOSIZE_USEHEADER = -2;
constexpr UINT LVIS_FOCUSED = 0x1, LVIS_SELECTED = 0x2;
constexpr int LVNI_ALL = 0x0, LVNI_FOCUSED = 0x1, LVNI_SELECTED = 0x2;
constexpr UINT LVIR_BOUNDS = 0, LVIR_ICON = 1, LVIR_LABEL = 2;
constexpr UINT LVHT_NOWHERE = 0x1, LVHT_ONITEMICON = 0x2, LVHT_ONITEMLABEL = 0x4, LVHT_ONITEM = 0xE,
               LVHT_ABOVE = 0x8, LVHT_BELOW = 0x10, LVHT_TORIGHT = 0x20, LVHT_TOLEFT = 0x40;
constexpr int LVSIL_NORMAL = 0, LVSIL_SMALL = 1;
// SortItems' comparison: item data of two items and the caller's value;
// negative puts the first before the second.
typedef int (*PFNLVCOMPARE)(LPARAM, LPARAM, LPARAM);

// Header items.
constexpr UINT HDI_WIDTH = 0x1, HDI_TEXT = 0x2, HDI_FORMAT = 0x4, HDI_LPARAM = 0x8;
constexpr int HDF_LEFT = 0x0, HDF_RIGHT = 0x1, HDF_CENTER = 0x2, HDF_JUSTIFYMASK = 0x3,
              HDF_STRING = 0x4000, HDF_OWNERDRAW = 0x8000;
struct HDITEM {
  UINT mask = 0;
  int cxy = 0;              // HDI_WIDTH
  char* pszText = nullptr;  // HDI_TEXT: GBK; GetItem fills cchTextMax bytes at most
  int cchTextMax = 0;
  int fmt = 0;        // HDI_FORMAT: HDF_*
  LPARAM lParam = 0;  // HDI_LPARAM
};

// The header of a list control (a QHeaderView). Items with HDF_OWNERDRAW
// are painted by DrawItem; a window class derives from it and gives it to
// its list with ReplaceHeader.
class CHeaderCtrl : public QHeaderView {
 public:
  explicit CHeaderCtrl(QWidget* parent = nullptr);
  int GetItemCount() const;
  // In the header's own coordinates.
  BOOL GetItemRect(int index, RECT* rect) const;
  BOOL GetItem(int index, HDITEM* item) const;
  BOOL SetItem(int index, const HDITEM* item);
  void Invalidate();
  // The list it heads; null before it heads one.
  CListCtrl* GetListCtrl() const;
  // Paints an owner-drawn item: itemID is its index, ODS_SELECTED while it
  // is pressed. The default paints nothing.
  virtual void DrawItem(LPDRAWITEMSTRUCT dis);

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  // The item whose right edge the point grips for resizing, -1 when none.
  int ResizeGripAt(int position) const;
  // Whether the list lets the user resize the item the point grips.
  bool GripRefused(const QPoint& point) const;
  int pressed_ = -1;
};

// A list control in report view (QTableView over a model of the list's
// own): columns, rows of texts with item data, selection and the selection
// mark, sorting through a comparison, a replaceable header, columns the
// user may not resize, and hooks. Rows select whole; LVS_SINGLESEL allows
// one. The list keeps its texts as given and converts only those of the
// rows on the screen, as they are painted: a long list costs its texts.
//
// Hooks (override in a window class; the base of each sends the
// notification to the window): OnItemChanged per item whose selection
// changes, by the user or by code (then one LVN_ITEMCHANGED per change);
// OnClick (NM_CLICK) and OnDblClk (NM_DBLCLK) after the list handled the
// press; OnColumnClick (LVN_COLUMNCLICK); OnBeginTrack, asked before the
// user resizes a column; OnItemColors, asked as each row paints.
// Inserting, deleting and sorting items never notify.
class CListCtrl : public CWndImpl<QTableView> {
 public:
  CListCtrl();
  ~CListCtrl() override;

  // ---- Columns ----
  // Inserts at column (past the end: appended); width -1: fits the heading.
  int InsertColumn(int column, const char* heading, int format = LVCFMT_LEFT, int width = -1,
                   int subItem = -1);
  BOOL DeleteColumn(int column);
  int GetColumnCount() const;
  int GetColumnWidth(int column) const;
  // LVSCW_AUTOSIZE fits the items, LVSCW_AUTOSIZE_USEHEADER the heading too.
  BOOL SetColumnWidth(int column, int width);
  CHeaderCtrl* GetHeaderCtrl() const;
  // Puts a header of the list's own class in place (made with new; the
  // list owns it from then on), keeping the columns and their widths.
  void ReplaceHeader(CHeaderCtrl* header);
  // A fixed column keeps its width: the default OnBeginTrack refuses it.
  void SetColumnFixed(int column, BOOL fixed = TRUE);
  BOOL IsColumnFixed(int column) const;

  // ---- Items ----
  // Inserts a row at item (past the end: appended); returns its index.
  int InsertItem(int item, const char* text, int image = -1);
  BOOL SetItemText(int item, int subItem, const char* text);
  std::string GetItemText(int item, int subItem) const;
  // Cut on a character boundary to size - 1 bytes; returns the length.
  int GetItemText(int item, int subItem, char* buffer, int size) const;
  BOOL SetItemImage(int item, int image);
  int GetItemImage(int item) const;
  BOOL DeleteItem(int item);
  BOOL DeleteAllItems();
  // Replaces every row by these texts at once (a row's missing cells are
  // empty; no item data, no image); the selection and the mark go.
  void SetItemTexts(std::vector<std::vector<std::string>> rows);
  int GetItemCount() const;
  BOOL SetItemData(int item, DWORD_PTR data);
  DWORD_PTR GetItemData(int item) const;

  // ---- State ----
  // LVIS_SELECTED and LVIS_FOCUSED; item -1 sets every item.
  BOOL SetItemState(int item, UINT state, UINT mask);
  UINT GetItemState(int item, UINT mask) const;
  // The next item after item (-1: from the first) with the LVNI_ flags.
  int GetNextItem(int item, int flags) const;
  UINT GetSelectedCount() const;
  POSITION GetFirstSelectedItemPosition() const;
  int GetNextSelectedItem(POSITION& position) const;
  // The item the user last clicked or moved to with the keys (-1: none),
  // or the one set here; it follows its item when items move.
  int GetSelectionMark() const { return mark_; }
  int SetSelectionMark(int item);

  // ---- View (client coordinates: below the header) ----
  BOOL EnsureVisible(int item, BOOL partialOK);
  int GetTopIndex() const;
  int GetCountPerPage() const;
  BOOL GetItemRect(int item, RECT* rect, UINT code) const;
  BOOL GetSubItemRect(int item, int subItem, int code, RECT* rect) const;
  int HitTest(CPoint point, UINT* flags = nullptr) const;
  // Like HitTest, with the column.
  int SubItemHitTest(CPoint point, int* subItem) const;
  DWORD SetExtendedStyle(DWORD exStyle);
  DWORD GetExtendedStyle() const { return exStyle_; }
  // LVSIL_SMALL: the images of column 0. Not owned. Returns the previous list.
  CImageList* SetImageList(CImageList* list, int which);
  CImageList* GetImageList(int which) const;
  BOOL SetBkColor(COLORREF color);
  COLORREF GetBkColor() const;
  BOOL SetTextColor(COLORREF color);
  COLORREF GetTextColor() const;
  // A line of text the list shows under its rows, apart from them, beside
  // the horizontal scroll bar (GBK; empty hides it): what its owner has to
  // say about the list as a whole.
  void SetNote(const std::string& text);
  std::string GetNote() const;

  // Orders the rows by compare(item data, item data, param), stably;
  // selection and the mark stay with their items. A comparison that is
  // not a consistent order gives some order, never harm.
  BOOL SortItems(PFNLVCOMPARE compare, DWORD_PTR param);

  // ---- Hooks ----
  virtual void OnItemChanged(int item, UINT oldState, UINT newState);
  virtual void OnClick(int item, int subItem);
  virtual void OnDblClk(int item, int subItem);
  virtual void OnColumnClick(int column);
  // FALSE refuses the user's resizing of the column; default: not fixed.
  virtual BOOL OnBeginTrack(int column);
  // Colours of a row that is not selected: set text and/or back and return
  // TRUE; FALSE keeps the list's own.
  virtual BOOL OnItemColors(int item, COLORREF* text, COLORREF* back);

  int OnCreate(LPCREATESTRUCT cs) override;
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnLButtonDblClk(UINT flags, CPoint point) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  class Delegate;
  friend class Delegate;
  friend class CHeaderCtrl;
  void ApplyStyle(DWORD style);
  void UpdateRowHeight();
  void ConnectSelection();
  void SelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
  bool IsItem(int item) const;
  // Row i takes what row order[i] held (a permutation of the rows); the
  // selection, the focus and the mark go with their rows.
  void ReorderItems(const std::vector<int>& order);

  platform::detail::ListModel* model_;  // owned by the list
  QLabel* note_ = nullptr;              // made by the first SetNote

  DWORD exStyle_ = 0;
  CImageList* smallImages_ = nullptr;
  int mark_ = -1;
  int quiet_ = 0;      // inside an operation that never notifies
  int userInput_ = 0;  // inside a mouse or key message
};

// ---- Tree controls ---------------------------------------------------------------------

// A tree item is its QTreeWidgetItem.
typedef QTreeWidgetItem* HTREEITEM;
inline const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x10000));
inline const HTREEITEM TVI_FIRST = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFF));
inline const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFE));
inline const HTREEITEM TVI_SORT = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFD));

constexpr DWORD TVS_HASBUTTONS = 0x1, TVS_HASLINES = 0x2, TVS_LINESATROOT = 0x4,
                TVS_EDITLABELS = 0x8, TVS_DISABLEDRAGDROP = 0x10, TVS_SHOWSELALWAYS = 0x20,
                TVS_TRACKSELECT = 0x200, TVS_SINGLEEXPAND = 0x400, TVS_INFOTIP = 0x800,
                TVS_FULLROWSELECT = 0x1000;
constexpr UINT TVGN_ROOT = 0x0, TVGN_NEXT = 0x1, TVGN_PREVIOUS = 0x2, TVGN_PARENT = 0x3,
               TVGN_CHILD = 0x4, TVGN_FIRSTVISIBLE = 0x5, TVGN_NEXTVISIBLE = 0x6,
               TVGN_PREVIOUSVISIBLE = 0x7, TVGN_DROPHILITE = 0x8, TVGN_CARET = 0x9,
               TVGN_LASTVISIBLE = 0xA;
constexpr UINT TVE_COLLAPSE = 0x1, TVE_EXPAND = 0x2, TVE_TOGGLE = 0x3;
constexpr UINT TVIS_SELECTED = 0x2, TVIS_BOLD = 0x10, TVIS_EXPANDED = 0x20;
constexpr UINT TVHT_NOWHERE = 0x1, TVHT_ONITEMICON = 0x2, TVHT_ONITEMLABEL = 0x4,
               TVHT_ONITEM = 0x46, TVHT_ONITEMINDENT = 0x8, TVHT_ONITEMBUTTON = 0x10,
               TVHT_ONITEMRIGHT = 0x20, TVHT_ONITEMSTATEICON = 0x40, TVHT_ABOVE = 0x100,
               TVHT_BELOW = 0x200, TVHT_TORIGHT = 0x400, TVHT_TOLEFT = 0x800;
// The cause of a selection change.
constexpr UINT TVC_UNKNOWN = 0x0, TVC_BYMOUSE = 0x1, TVC_BYKEYBOARD = 0x2;
constexpr int TVSIL_NORMAL = 0;

// A tree control (QTreeWidget, one column). Items carry text, item data
// and an image and selected image from the image list.
//
// Hooks (override in a window class; the base of the first three sends
// the notification to the window): OnSelChanged with the cause
// (TVC_BYMOUSE, TVC_BYKEYBOARD, TVC_UNKNOWN for code, which notifies too;
// GetSelChangeAction tells the window during TVN_SELCHANGED); OnClick
// (NM_CLICK, after a left press was handled); OnRClick (NM_RCLICK; a right
// click never selects); OnPaintItem, called after the tree painted an
// item, to paint over it. Deleting items never notifies.
class CTreeCtrl : public CWndImpl<QTreeWidget> {
 public:
  CTreeCtrl();
  ~CTreeCtrl() override;

  // ---- Items ----
  // parent TVI_ROOT: top level; after TVI_FIRST, TVI_LAST, TVI_SORT (in
  // order of text, ASCII case aside) or a sibling. Null for a bad place.
  HTREEITEM InsertItem(const char* text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
  HTREEITEM InsertItem(const char* text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                       HTREEITEM after = TVI_LAST);
  // The item and everything below it.
  BOOL DeleteItem(HTREEITEM item);
  BOOL DeleteAllItems();
  UINT GetCount() const;
  std::string GetItemText(HTREEITEM item) const;
  BOOL SetItemText(HTREEITEM item, const char* text);
  BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
  DWORD_PTR GetItemData(HTREEITEM item) const;
  BOOL SetItemImage(HTREEITEM item, int image, int selectedImage);
  BOOL GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
  // TVIS_BOLD, TVIS_EXPANDED, TVIS_SELECTED.
  BOOL SetItemState(HTREEITEM item, UINT state, UINT mask);
  UINT GetItemState(HTREEITEM item, UINT mask) const;
  // TVSIL_NORMAL; not owned. Returns the previous list.
  CImageList* SetImageList(CImageList* list, int which);
  CImageList* GetImageList(int which) const;
  BOOL Expand(HTREEITEM item, UINT code);

  // ---- Selection ----
  // Selects the item (null: none); a change notifies with TVC_UNKNOWN.
  BOOL SelectItem(HTREEITEM item);
  // TVGN_CARET selects, TVGN_FIRSTVISIBLE scrolls the item to the top.
  BOOL Select(HTREEITEM item, UINT code);
  HTREEITEM GetSelectedItem() const;
  BOOL EnsureVisible(HTREEITEM item);
  UINT GetSelChangeAction() const { return action_; }

  // ---- Navigation ----
  HTREEITEM GetNextItem(HTREEITEM item, UINT code) const;
  HTREEITEM GetRootItem() const;
  HTREEITEM GetChildItem(HTREEITEM item) const;
  HTREEITEM GetNextSiblingItem(HTREEITEM item) const;
  HTREEITEM GetPrevSiblingItem(HTREEITEM item) const;
  HTREEITEM GetParentItem(HTREEITEM item) const;
  // Visible: every ancestor expanded (scrolled out still counts).
  HTREEITEM GetFirstVisibleItem() const;
  HTREEITEM GetNextVisibleItem(HTREEITEM item) const;
  HTREEITEM GetPrevVisibleItem(HTREEITEM item) const;
  HTREEITEM GetLastVisibleItem() const;
  BOOL ItemHasChildren(HTREEITEM item) const;
  // Items that fit the client area whole.
  UINT GetVisibleCount() const;

  // ---- Geometry (client coordinates) ----
  // The item under the point, with TVHT_ flags; null past the items.
  HTREEITEM HitTest(CPoint point, UINT* flags = nullptr) const;
  // The whole row, or with textOnly the text's box; FALSE when the item is
  // hidden under a collapsed parent.
  BOOL GetItemRect(HTREEITEM item, RECT* rect, BOOL textOnly) const;
  COLORREF SetBkColor(COLORREF color);
  COLORREF GetBkColor() const;
  COLORREF SetTextColor(COLORREF color);
  COLORREF GetTextColor() const;

  // ---- Hooks ----
  virtual void OnSelChanged(HTREEITEM oldItem, HTREEITEM newItem, UINT action);
  virtual void OnClick(CPoint point);
  virtual void OnRClick(CPoint point);
  // textRect as GetItemRect(textOnly) gives it; state as GetItemState.
  virtual void OnPaintItem(CDC* dc, HTREEITEM item, const RECT& textRect, UINT state);

  int OnCreate(LPCREATESTRUCT cs) override;
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnRButtonDown(UINT flags, CPoint point) override;
  void OnRButtonUp(UINT flags, CPoint point) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  class Delegate;
  friend class Delegate;
  bool Owns(HTREEITEM item) const;
  void SelectionChanged();
  // Runs fn without notifying and takes the selection it leaves as known.
  template <class Fn>
  void Quietly(Fn&& fn);

  CImageList* images_ = nullptr;
  Delegate* delegate_ = nullptr;
  HTREEITEM selected_ = nullptr;  // the selection last notified
  UINT action_ = TVC_UNKNOWN;
  UINT cause_ = TVC_UNKNOWN;  // of the message being handled
  int quiet_ = 0;
};

// ---- Data exchange ----------------------------------------------------------------

// A window class member takes the table control's place on the first
// exchange (SubclassDlgItem); later exchanges leave it.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
