// The window layer: the system's windows are written as MFC windows (On*
// handlers, WM_ messages, control ids) and are Qt widgets underneath.
//
// CWnd is a message target (it has an HWND between Create and DestroyWindow)
// with the handler set of a window; CWndImpl<QtBase> is the widget that
// turns Qt's events into those handlers. Every Qt event and every message
// sent or posted to the window meets in one WindowProc, so tests may drive a
// window either way. A base On* handler calls Default(), which runs the Qt
// base class's handling of the event in flight; input events are accepted
// either way, so nothing reaches a Qt parent by accident.
//
// A plain Qt widget (a control made from a dialog's table, for example) is
// reached as a CWnd through FromWidget, which attaches a handle-only window
// to it: the members work on it, no handler runs for it.
//
// Everything here runs on the user-interface thread; other threads talk to
// windows only by SendMessage/PostMessage on their handle. Texts are GBK.
#pragma once
#include <QMainWindow>
#include <QWidget>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/gdi.h"
#include "platform/types.h"
#include "platform/window.h"

class QToolBar;
class CWnd;
typedef struct HICON__* HICON;  // desktop.h: LoadIconFromImage
class CCmdUI;
class CMenu;

// ---- Message ids and their parameters -------------------------------------
constexpr UINT WM_MOVE = 0x0003, WM_ACTIVATE = 0x0006, WM_SETFOCUS = 0x0007, WM_KILLFOCUS = 0x0008,
               WM_ENABLE = 0x000A, WM_SETREDRAW = 0x000B, WM_SETTEXT = 0x000C, WM_GETTEXT = 0x000D,
               WM_ERASEBKGND = 0x0014, WM_SHOWWINDOW = 0x0018, WM_SETCURSOR = 0x0020,
               WM_GETMINMAXINFO = 0x0024, WM_SETFONT = 0x0030, WM_GETFONT = 0x0031,
               WM_NOTIFY = 0x004E, WM_CONTEXTMENU = 0x007B, WM_NCHITTEST = 0x0084,
               WM_NCLBUTTONDOWN = 0x00A1, WM_KEYUP = 0x0101, WM_SYSKEYDOWN = 0x0104,
               WM_SYSKEYUP = 0x0105, WM_SYSCHAR = 0x0106, WM_INITDIALOG = 0x0110,
               WM_SYSCOMMAND = 0x0112, WM_HSCROLL = 0x0114, WM_VSCROLL = 0x0115,
               WM_INITMENUPOPUP = 0x0117, WM_CTLCOLORMSGBOX = 0x0132, WM_CTLCOLOREDIT = 0x0133,
               WM_CTLCOLORLISTBOX = 0x0134, WM_CTLCOLORBTN = 0x0135, WM_CTLCOLORDLG = 0x0136,
               WM_CTLCOLORSCROLLBAR = 0x0137, WM_CTLCOLORSTATIC = 0x0138, WM_MOUSEMOVE = 0x0200,
               WM_LBUTTONDOWN = 0x0201, WM_LBUTTONUP = 0x0202, WM_LBUTTONDBLCLK = 0x0203,
               WM_RBUTTONDOWN = 0x0204, WM_RBUTTONUP = 0x0205, WM_RBUTTONDBLCLK = 0x0206,
               WM_MBUTTONDOWN = 0x0207, WM_MBUTTONUP = 0x0208, WM_MBUTTONDBLCLK = 0x0209,
               WM_MOUSEWHEEL = 0x020A, WM_MOUSEHOVER = 0x02A1, WM_MOUSELEAVE = 0x02A3,
               WM_HOTKEY = 0x0312, WM_APP = 0x8000;

// WM_SIZE kinds.
constexpr UINT SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2;
// Mouse-message key flags.
constexpr UINT MK_LBUTTON = 0x0001, MK_RBUTTON = 0x0002, MK_SHIFT = 0x0004, MK_CONTROL = 0x0008,
               MK_MBUTTON = 0x0010;
// Hit-test answers of OnNcHitTest.
constexpr int HTERROR = -2, HTTRANSPARENT = -1, HTNOWHERE = 0, HTCLIENT = 1, HTCAPTION = 2,
              HTSYSMENU = 3, HTMINBUTTON = 8, HTMAXBUTTON = 9, HTLEFT = 10, HTRIGHT = 11,
              HTTOP = 12, HTTOPLEFT = 13, HTTOPRIGHT = 14, HTBOTTOM = 15, HTBOTTOMLEFT = 16,
              HTBOTTOMRIGHT = 17, HTBORDER = 18, HTCLOSE = 20;
// RedrawWindow flags (erasing and frames have no separate meaning here).
constexpr UINT RDW_INVALIDATE = 0x0001, RDW_INTERNALPAINT = 0x0002, RDW_ERASE = 0x0004,
               RDW_VALIDATE = 0x0008, RDW_NOINTERNALPAINT = 0x0010, RDW_NOERASE = 0x0020,
               RDW_NOCHILDREN = 0x0040, RDW_ALLCHILDREN = 0x0080, RDW_UPDATENOW = 0x0100,
               RDW_ERASENOW = 0x0200, RDW_FRAME = 0x0400, RDW_NOFRAME = 0x0800;
// Control notifications (HIWORD of WM_COMMAND's wParam).
constexpr UINT BN_CLICKED = 0, BN_DOUBLECLICKED = 5;
constexpr UINT EN_SETFOCUS = 0x0100, EN_KILLFOCUS = 0x0200, EN_CHANGE = 0x0300, EN_UPDATE = 0x0400,
               EN_MAXTEXT = 0x0501;
constexpr UINT CBN_SELCHANGE = 1, CBN_DBLCLK = 2, CBN_SETFOCUS = 3, CBN_KILLFOCUS = 4,
               CBN_EDITCHANGE = 5, CBN_DROPDOWN = 7, CBN_CLOSEUP = 8;
constexpr UINT LBN_SELCHANGE = 1, LBN_DBLCLK = 2, LBN_SETFOCUS = 4, LBN_KILLFOCUS = 5;
// Scroll codes (LOWORD of WM_HSCROLL/WM_VSCROLL's wParam).
constexpr UINT SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1, SB_PAGEUP = 2,
               SB_PAGELEFT = 2, SB_PAGEDOWN = 3, SB_PAGERIGHT = 3, SB_THUMBPOSITION = 4,
               SB_THUMBTRACK = 5, SB_TOP = 6, SB_LEFT = 6, SB_BOTTOM = 7, SB_RIGHT = 7,
               SB_ENDSCROLL = 8;
// WM_SYSCOMMAND commands.
constexpr UINT SC_SIZE = 0xF000, SC_MOVE = 0xF010, SC_MINIMIZE = 0xF020, SC_MAXIMIZE = 0xF030,
               SC_CLOSE = 0xF060, SC_RESTORE = 0xF120;
// WM_ACTIVATE states.
constexpr UINT WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2;
// OnCtlColor kinds.
constexpr UINT CTLCOLOR_MSGBOX = 0, CTLCOLOR_EDIT = 1, CTLCOLOR_LISTBOX = 2, CTLCOLOR_BTN = 3,
               CTLCOLOR_DLG = 4, CTLCOLOR_SCROLLBAR = 5, CTLCOLOR_STATIC = 6;
// Window styles the layer reads (others are kept for GetStyle only).
constexpr DWORD WS_OVERLAPPED = 0x00000000, WS_POPUP = 0x80000000, WS_CHILD = 0x40000000,
                WS_MINIMIZE = 0x20000000, WS_VISIBLE = 0x10000000, WS_DISABLED = 0x08000000,
                WS_CLIPSIBLINGS = 0x04000000, WS_CLIPCHILDREN = 0x02000000,
                WS_MAXIMIZE = 0x01000000, WS_BORDER = 0x00800000, WS_DLGFRAME = 0x00400000,
                WS_CAPTION = 0x00C00000, WS_VSCROLL = 0x00200000, WS_HSCROLL = 0x00100000,
                WS_SYSMENU = 0x00080000, WS_THICKFRAME = 0x00040000, WS_GROUP = 0x00020000,
                WS_TABSTOP = 0x00010000, WS_MINIMIZEBOX = 0x00020000, WS_MAXIMIZEBOX = 0x00010000,
                WS_OVERLAPPEDWINDOW = 0x00CF0000;
// A title bar takes both bits of WS_CAPTION: a border alone (WS_BORDER) or
// a dialog frame alone draws none.
constexpr bool HasCaption(DWORD style) { return (style & WS_CAPTION) == WS_CAPTION; }
// TrackMouseEvent.
constexpr DWORD TME_HOVER = 0x1, TME_LEAVE = 0x2, TME_CANCEL = 0x80000000;
constexpr DWORD HOVER_DEFAULT = 0xFFFFFFFF;
// Well-known control ids.
constexpr int IDC_STATIC = -1;
// Frame children.
constexpr UINT AFX_IDW_PANE_FIRST = 0xE900, AFX_IDW_TOOLBAR = 0xE800, AFX_IDW_STATUS_BAR = 0xE801;

// What OnCreate gets.
struct CREATESTRUCT {
  CWnd* parent = nullptr;
  RECT rect;
  UINT id = 0;
  DWORD style = 0;
};
typedef CREATESTRUCT* LPCREATESTRUCT;

// A message as PreTranslateMessage sees it (keys only here).
struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
  POINT pt;
};

struct TRACKMOUSEEVENT {
  DWORD cbSize = sizeof(TRACKMOUSEEVENT);
  DWORD dwFlags = 0;
  HWND hwndTrack = nullptr;
  DWORD dwHoverTime = HOVER_DEFAULT;
};
// Asks for one WM_MOUSELEAVE when the mouse leaves the window and/or one
// WM_MOUSEHOVER when it rests in it for the hover time (400 ms by default).
BOOL TrackMouseEvent(TRACKMOUSEEVENT* track);

namespace platform {
struct WndFrame;  // the message and Qt event a window is handling now
}  // namespace platform

class CWnd : public platform::MsgTarget {
 public:
  CWnd();
  ~CWnd() override;

  // ---- Identity ---------------------------------------------------------
  // The window of a live handle; null for a dead or foreign one.
  static CWnd* FromHandle(HWND hwnd);
  // The window a widget is; a plain Qt widget gets a handle-only window
  // attached (deleted with the widget). Null for null.
  static CWnd* FromWidget(QWidget* widget);
  QWidget* GetWidget() const { return widget_; }
  // Created and not yet destroyed.
  bool IsCreated() const { return created_; }
  CWnd* GetParent() const;
  CWnd* GetTopLevelParent() const;
  // The control id is the widget's objectName ("1183"); 0 when none.
  int GetDlgCtrlID() const;
  void SetDlgCtrlID(int id);
  // A direct child with the id (two panels may hold the same ids); null
  // when there is none. The first one in creation order when several.
  CWnd* GetDlgItem(int id) const;
  // The same child as a Qt control or a window class; null when the child
  // is missing or of another type.
  template <class T>
  T* GetDlgItemT(int id) const;
  QWidget* GetDlgItemWidget(int id) const;

  // ---- Lifetime -----------------------------------------------------------
  // Makes the window a child of parent (a top-level window when parent is
  // null or the style has WS_POPUP) at rect in the parent's client
  // coordinates, gives it a handle, then runs OnCreate (-1 fails the create
  // and destroys the window again) and OnSize. Shown when the style has
  // WS_VISIBLE.
  virtual BOOL Create(CWnd* parent, const RECT& rect, UINT id, DWORD style = WS_CHILD | WS_VISIBLE);
  // Runs OnDestroy on the window, then on its descendants, once each; kills
  // their timers, ends their handles (posts to them are dropped), hides the
  // window and deletes the controls the layer made for it. The owner
  // deletes the object afterwards; destructors never rely on OnDestroy.
  virtual BOOL DestroyWindow();
  // Takes the place of the control with the id that a table made among the
  // parent's direct children (MFC's subclassing of a dialog item): created
  // at its rectangle with its style, text, font and colours, in its place
  // in the tab order; that control is deleted. Called by a window class
  // that keeps its own control class as a member (see DDX_Control). When
  // the parent is destroyed this window leaves it (its owner deletes it)
  // and may take the place again when the parent is built anew. FALSE when
  // there is no such control or this window is created already.
  BOOL SubclassDlgItem(UINT id, CWnd* parent);

  // ---- Geometry (RECTs exclusive; client coordinates of the parent) -------
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  void MoveWindow(const RECT* rect, BOOL repaint = TRUE);
  void GetClientRect(RECT* rect) const;
  // In screen coordinates.
  void GetWindowRect(RECT* rect) const;
  void ClientToScreen(POINT* point) const;
  void ClientToScreen(RECT* rect) const;
  void ScreenToClient(POINT* point) const;
  void ScreenToClient(RECT* rect) const;
  // Centres on the owner (or the screen's work area for a window without one).
  void CenterWindow(CWnd* alternateOwner = nullptr);

  // ---- State --------------------------------------------------------------
  // Returns whether the window was visible before.
  BOOL ShowWindow(int command);
  // Returns whether the window was disabled before.
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL IsWindowVisible() const;
  BOOL IsWindowEnabled() const;
  BOOL IsIconic() const;
  BOOL IsZoomed() const;
  DWORD GetStyle() const;
  // Keeps the bits; WS_VISIBLE, WS_DISABLED and (top-level) WS_CAPTION take
  // effect.
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);

  // ---- Text (GBK) -----------------------------------------------------------
  void SetWindowText(const char* text);
  void SetWindowText(const std::string& text) { SetWindowText(text.c_str()); }
  // Copies at most size - 1 bytes, cut on a character boundary; returns the
  // count copied.
  int GetWindowText(char* buffer, int size) const;
  void GetWindowText(std::string& text) const;
  std::string GetWindowTextString() const;
  int GetWindowTextLength() const;
  void SetDlgItemText(int id, const char* text);
  int GetDlgItemText(int id, char* buffer, int size) const;
  int GetDlgItemText(int id, std::string& text) const;
  void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE);
  // Surrounding spaces allowed; anything else, or a value out of range,
  // gives 0 and *translated FALSE.
  UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const;
  // BST_UNCHECKED 0, BST_CHECKED 1, BST_INDETERMINATE 2.
  void CheckDlgButton(int id, UINT check);
  UINT IsDlgButtonChecked(int id) const;
  // Checks `check` and unchecks the other radio buttons with ids first..last;
  // a check outside the range (0) unchecks them all.
  void CheckRadioButton(int firstId, int lastId, int check);

  // ---- Painting -----------------------------------------------------------
  void Invalidate(BOOL erase = TRUE);
  void InvalidateRect(const RECT* rect, BOOL erase = TRUE);
  void UpdateWindow();
  BOOL RedrawWindow(const RECT* rect = nullptr, CRgn* region = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  // Suspends painting of the window until UnlockWindowUpdate.
  BOOL LockWindowUpdate();
  void UnlockWindowUpdate();
  // The window's shape (null: rectangular again); the region is copied.
  int SetWindowRgn(CRgn* region, BOOL redraw = TRUE);

  // ---- Input --------------------------------------------------------------
  // Returns the window that had the focus.
  CWnd* SetFocus();
  static CWnd* GetFocus();
  CWnd* SetCapture();
  static CWnd* GetCapture();

  // ---- Messages and timers -------------------------------------------------
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, TIMERPROC proc = nullptr);
  BOOL KillTimer(UINT_PTR id);

  // The window's icon (WM_SETICON); the big and the small icon are one here.
  void SetIcon(HICON icon, BOOL bigIcon);

  // ---- Font -----------------------------------------------------------------
  // The font is not copied: it must outlive its use, as in MFC.
  void SetFont(CFont* font, BOOL redraw = TRUE);
  CFont* GetFont() const;

  // ---- The one dispatch -----------------------------------------------------
  // Maps the standard message ids to the handlers below; everything else
  // goes to Default(). Override to take private messages (call the base for
  // the rest).
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Keys on their way to the focus window are offered here, from the focus
  // window up to its top-level window; TRUE eats the key.
  virtual BOOL PreTranslateMessage(MSG* msg);
  // Qt's own handling of the event in flight (once per event); 0 for a
  // message that came by SendMessage or PostMessage.
  LRESULT Default();

  // ---- Handlers ---------------------------------------------------------------
  virtual int OnCreate(LPCREATESTRUCT cs);
  virtual void OnDestroy();
  // Default: DestroyWindow.
  virtual void OnClose();
  virtual void OnSize(UINT type, int cx, int cy);
  virtual void OnShowWindow(BOOL show, UINT status);
  virtual void OnActivate(UINT state, CWnd* other, BOOL minimized);
  virtual void OnEnable(BOOL enable);
  // Paint with a CPaintDC made on this window.
  virtual void OnPaint();
  // Called before OnPaint with a DC on the same painter; TRUE = erased.
  virtual BOOL OnEraseBkgnd(CDC* dc);
  virtual void OnTimer(UINT_PTR id);
  // flags = HIWORD of the key data: 0x4000 (bit 30 of the data) marks an
  // auto-repeat, 0x2000 Alt held, 0x0100 an extended key.
  virtual void OnKeyDown(UINT vk, UINT repeat, UINT flags);
  virtual void OnKeyUp(UINT vk, UINT repeat, UINT flags);
  // One call per GBK byte of the typed text (control characters included).
  virtual void OnChar(UINT ch, UINT repeat, UINT flags);
  // Keys with Alt held (and F10) arrive here instead of OnKeyDown and give
  // no OnChar.
  virtual void OnSysKeyDown(UINT vk, UINT repeat, UINT flags);
  virtual void OnSetFocus(CWnd* oldWnd);
  virtual void OnKillFocus(CWnd* newWnd);
  virtual void OnLButtonDown(UINT flags, CPoint point);
  virtual void OnLButtonUp(UINT flags, CPoint point);
  virtual void OnLButtonDblClk(UINT flags, CPoint point);
  virtual void OnRButtonDown(UINT flags, CPoint point);
  virtual void OnRButtonUp(UINT flags, CPoint point);
  virtual void OnMouseMove(UINT flags, CPoint point);
  // delta: 120 per notch, positive away from the user; point in screen
  // coordinates. TRUE = handled.
  virtual BOOL OnMouseWheel(UINT flags, short delta, CPoint screenPoint);
  virtual void OnMouseLeave();
  virtual void OnMouseHover(UINT flags, CPoint point);
  // WM_COMMAND: LOWORD(wParam) id, HIWORD(wParam) notification, lParam the
  // control's handle. TRUE = handled (a sent WM_COMMAND then answers 1).
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  // Default: SC_CLOSE closes (WM_CLOSE), SC_MINIMIZE/MAXIMIZE/RESTORE change
  // the window's state.
  virtual void OnSysCommand(UINT id, LPARAM lParam);
  // Fill the command's state before a menu shows or a toolbar refreshes.
  // TRUE = handled.
  virtual BOOL OnUpdateCmdUI(CCmdUI* cmdUI);
  // Asked before a control of this window paints: set the text colour, the
  // background colour and mode on dc and return a brush for the background
  // (the NULL_BRUSH stock object: transparent; null: the default colours).
  virtual HBRUSH OnCtlColor(CDC* dc, CWnd* child, UINT kind);
  // Asked for a frameless top-level window when the left button goes down
  // in it: HTCAPTION drags the window instead of pressing the button.
  virtual int OnNcHitTest(CPoint screenPoint);
  virtual void OnHotKey(UINT id, UINT modifiers, UINT vk);

 protected:
  // Gives a window that a subclass has set up itself (a dialog from its
  // table) its handle; it counts as created from here on.
  void AttachCreatedHandle();
  // For CWndImpl: the widget this window is, and Qt's handling of an event.
  void BindWidget(QWidget* widget, bool routesEvents);
  void UnbindWidget();
  // Turns a Qt event of the widget (or of its viewport) into messages.
  bool RouteEvent(QEvent* event, bool viewport);
  virtual bool QtDefault(QEvent* event, bool viewport);
  virtual QWidget* Viewport() const { return nullptr; }

 private:
  friend struct platform::WndFrame;
  friend class CPaintDC;
  friend BOOL TrackMouseEvent(TRACKMOUSEEVENT* track);
  QPainter* PaintPainter(RECT* paintRect);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void RouteMouse(QEvent* event, bool viewport);
  void RouteKey(QEvent* event);
  void RoutePaint(QEvent* event, bool viewport);
  void ApplyShow(int command);

  QWidget* widget_ = nullptr;
  bool routes_ = false;  // a CWndImpl (handlers run) rather than a handle-only window
  bool created_ = false;
  bool dying_ = false;
  platform::WndFrame* frame_ = nullptr;
  int lastSizeType_ = -1;
  QSize lastSize_;
  POINT dragOrigin_;  // manual caption drag: mouse minus window position
  bool dragging_ = false;
  DWORD trackFlags_ = 0;  // TrackMouseEvent requests pending
  QObject* hoverTimer_ = nullptr;
  void DeliverSize();
  void DestroyTree();
  void EndHandles();
  static void DestroyChildren(QWidget* parent);
  static void EndChildHandles(QWidget* parent);
};

BOOL ReleaseCapture();

// The widget half of a window: derive the system's windows from
// CWndImpl<QWidget>, CDialog, CView ... and override On* handlers only.
// Instantiated once, in the platform library, for the Qt bases the system
// needs (QWidget, QMainWindow here; QDialog in dialog.h; the control
// widgets in wnd_qt_bases.h).
template <class QtBase>
class CWndImpl : public QtBase, public CWnd {
 public:
  explicit CWndImpl(QWidget* parent = nullptr);
  ~CWndImpl() override;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool QtDefault(QEvent* event, bool viewport) override;
  QWidget* Viewport() const override;
};

extern template class CWndImpl<QWidget>;

// A DC on the window for the paint in flight (inside OnPaint); outside a
// paint it draws nothing.
class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* wnd);
  struct {
    RECT rcPaint;  // the area being painted (client coordinates)
  } m_ps;
};

// A view: a child window that draws itself in OnDraw.
class CView : public CWndImpl<QWidget> {
 public:
  CView();
  // Called by OnPaint with the paint DC.
  virtual void OnDraw(CDC* dc) = 0;
  // Called once, by CFrameWnd::InitialUpdateFrame, after the view is
  // created and placed.
  virtual void OnInitialUpdate();
  void OnPaint() override;

 private:
  friend class CFrameWnd;
  bool initialUpdateDone_ = false;
};

// The main window: menu bar, toolbars, one central window, a minimum size.
// Commands and update-UI it does not handle go to the active view.
class CFrameWnd : public CWndImpl<QMainWindow> {
 public:
  CFrameWnd();
  ~CFrameWnd() override;
  // The menu bar made from the menu (shared: later changes show; update-UI
  // runs before each of its pop-ups shows; choosing an item sends
  // WM_COMMAND to the frame). Null removes the bar.
  BOOL SetMenu(CMenu* menu);
  CMenu* GetMenu() const;
  // A bar along the top, in the order added (a QToolBar-based window goes in
  // as it is, any other window inside a plain tool bar).
  void AddControlBar(CWnd* bar);
  void ShowControlBar(CWnd* bar, BOOL show);
  // The window filling the rest of the client area.
  void SetCentralWnd(CWnd* wnd);
  CWnd* GetCentralWnd() const;
  void SetActiveView(CView* view);
  CView* GetActiveView() const { return activeView_; }
  void SetMinimumSize(int cx, int cy);
  // Runs OnInitialUpdate of every view in the frame that has not had it.
  void InitialUpdateFrame();
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnUpdateCmdUI(CCmdUI* cmdUI) override;
  BOOL DestroyWindow() override;

 private:
  CMenu* menu_ = nullptr;
  CView* activeView_ = nullptr;
};

extern template class CWndImpl<QMainWindow>;

// The program's main window; destroying it ends the application's loop.
CWnd* AfxGetMainWnd();
void SetMainWnd(CWnd* wnd);
// Ends the application's event loop with the code once control returns to it.
void PostQuitMessage(int exitCode);

constexpr UINT BST_UNCHECKED = 0, BST_CHECKED = 1, BST_INDETERMINATE = 2;

namespace platform {

// The GBK text a widget shows: caption of a top-level window, label,
// button, group box, edit (multi-line edits speak CR LF), combo box (edit
// text, or the chosen item of a drop-down list); other widgets keep it as
// their window title. The one text accessor of the layer.
std::string GetWidgetText(const QWidget* widget);
void SetWidgetText(QWidget* widget, std::string_view gbk);
// CR LF <-> LF for multi-line text.
std::string LfToCrLf(std::string_view text);
std::string CrLfToLf(std::string_view text);

}  // namespace platform

template <class T>
T* CWnd::GetDlgItemT(int id) const {
  QWidget* w = GetDlgItemWidget(id);
  if (!w) return nullptr;
  if constexpr (std::is_base_of_v<QObject, T>) {
    return dynamic_cast<T*>(w);
  } else {
    return dynamic_cast<T*>(FromWidget(w));
  }
}
