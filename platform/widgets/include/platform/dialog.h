// Dialogs from control tables, the way the system's designs give them:
// a dialog is a CDialog (a QDialog and a CWnd) built from a template of
// controls (kind, id, text, rectangle, style) in pixels or dialog units.
//
// Controls are plain Qt widgets named by their id ("1183"); each reports
// to its parent as WM_COMMAND(id, notification). DoModal runs the real
// modal loop, through a hook that lets tests answer it; a dialog created
// with WS_CHILD in its template is a panel inside another window. Enter
// and Esc act only in top-level dialogs. Texts are GBK.
#pragma once
#include <QDialog>

class QEventLoop;
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/wnd.h"

// Button styles (the low 4 bits are the kind).
constexpr DWORD BS_PUSHBUTTON = 0x0, BS_DEFPUSHBUTTON = 0x1, BS_CHECKBOX = 0x2,
                BS_AUTOCHECKBOX = 0x3, BS_RADIOBUTTON = 0x4, BS_3STATE = 0x5, BS_AUTO3STATE = 0x6,
                BS_GROUPBOX = 0x7, BS_AUTORADIOBUTTON = 0x9, BS_OWNERDRAW = 0xB, BS_TYPEMASK = 0xF,
                BS_LEFT = 0x100, BS_RIGHT = 0x200, BS_CENTER = 0x300, BS_MULTILINE = 0x2000,
                BS_FLAT = 0x8000;
// Edit styles.
constexpr DWORD ES_LEFT = 0x0, ES_CENTER = 0x1, ES_RIGHT = 0x2, ES_MULTILINE = 0x4,
                ES_UPPERCASE = 0x8, ES_LOWERCASE = 0x10, ES_PASSWORD = 0x20, ES_AUTOVSCROLL = 0x40,
                ES_AUTOHSCROLL = 0x80, ES_READONLY = 0x800, ES_WANTRETURN = 0x1000,
                ES_NUMBER = 0x2000;
// Static styles.
constexpr DWORD SS_LEFT = 0x0, SS_CENTER = 0x1, SS_RIGHT = 0x2, SS_TYPEMASK = 0x1F,
                SS_NOPREFIX = 0x80, SS_NOTIFY = 0x100, SS_CENTERIMAGE = 0x200, SS_SUNKEN = 0x1000;
// Combo box and list box styles.
constexpr DWORD CBS_SIMPLE = 0x1, CBS_DROPDOWN = 0x2, CBS_DROPDOWNLIST = 0x3,
                CBS_AUTOHSCROLL = 0x40, CBS_SORT = 0x100, CBS_HASSTRINGS = 0x200;
constexpr DWORD LBS_NOTIFY = 0x1, LBS_SORT = 0x2, LBS_MULTIPLESEL = 0x8, LBS_HASSTRINGS = 0x40,
                LBS_NOINTEGRALHEIGHT = 0x100, LBS_EXTENDEDSEL = 0x800;
// Date picker styles.
constexpr DWORD DTS_SHORTDATEFORMAT = 0x0, DTS_UPDOWN = 0x1, DTS_TIMEFORMAT = 0x9;
// Messages a parent reflects back to the control they concern.
constexpr UINT OCM__BASE = 0x2000;
// GetDefID's high word.
constexpr WORD DC_HASDEFID = 0x534B;

class CDialog;
class CDataExchange;

namespace platform {

// Control kinds of a dialog table. controls.h and later code add kinds
// with RegisterControlKind.
inline constexpr char kStatic[] = "static";      // QLabel; SS_LEFT/CENTER/RIGHT
inline constexpr char kButton[] = "button";      // QPushButton; BS_DEFPUSHBUTTON
inline constexpr char kCheckBox[] = "check";     // QCheckBox; BS_AUTO3STATE
inline constexpr char kRadio[] = "radio";        // QRadioButton; WS_GROUP starts a group
inline constexpr char kGroupBox[] = "group";     // QGroupBox (a frame; controls stay siblings)
inline constexpr char kEdit[] = "edit";          // QLineEdit, or QPlainTextEdit with ES_MULTILINE
inline constexpr char kComboBox[] = "combo";     // QComboBox; CBS_DROPDOWNLIST, CBS_SORT
inline constexpr char kListBox[] = "listbox";    // QListWidget; LBS_SORT, LBS_MULTIPLESEL
inline constexpr char kDateTime[] = "datetime";  // QDateTimeEdit; DTS_TIMEFORMAT

// One control of a table. The control is visible (as in resource scripts)
// unless its window hides it; WS_DISABLED disables it.
struct DialogItem {
  const char* kind;
  int id;
  const char* text;  // GBK; may be null
  int x, y, cx, cy;
  DWORD style = 0;
};

// A dialog's resource: client size, style (WS_CHILD: a panel; WS_POPUP
// without WS_CAPTION: frameless; WS_VISIBLE: shown by Create), caption,
// font, and the controls in tab order.
struct DialogTemplate {
  int cx = 0, cy = 0;
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  const char* caption = nullptr;   // GBK
  const char* fontFace = nullptr;  // GBK; null: "宋体"
  int fontPoints = 9;
  bool dialogUnits = true;  // sizes and positions in dialog units, else pixels
  std::span<const DialogItem> items;
};

// A template whose sizes and positions are pixels.
inline DialogTemplate PixelTemplate(int cx, int cy, std::span<const DialogItem> items = {},
                                    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU) {
  DialogTemplate t;
  t.cx = cx;
  t.cy = cy;
  t.style = style;
  t.dialogUnits = false;
  t.items = items;
  return t;
}

// Makes the widget of a control kind under parent, with the item's text and
// style applied and its notifications wired (NotifyParent). The caller
// names, places, shows and hooks it.
using ControlFactory = QWidget* (*)(QWidget* parent, const DialogItem& item);
// Registers (or replaces) a kind; returns the factory it replaced, so a
// new one can hand the cases it does not take to the old one.
ControlFactory RegisterControlKind(const char* kind, ControlFactory factory);
// Makes a control of the item's kind on a window at a pixel rectangle:
// named by its id, placed, styled, given the window's font, shown, asked
// for colours through the window's OnCtlColor, and deleted when the window
// is destroyed. Null for an unknown kind.
QWidget* CreateControl(CWnd* parent, const DialogItem& item, const RECT& pixels);
// Sends WM_COMMAND(MAKEWPARAM(id, code), control's handle) to the window
// the control belongs to.
void NotifyParent(QWidget* control, UINT code);
// Asks the parent's OnCtlColor(dc, control, kind) before the control
// paints and applies the text colour and background brush (the NULL_BRUSH
// stock object: transparent; null: the control's own colours). A control
// that is a window class is asked first with the reflected message
// OCM__BASE + WM_CTLCOLOR* (CStatic::CtlColor); a brush from it wins.
void InstallCtlColor(QWidget* control, UINT kind);

// Dialog base units of a font: fixed per dialog font so layouts never
// depend on the machine's fonts ("宋体" 9: 6 x 12; "MS Shell Dlg" 8 and
// its relatives: 6 x 13; others from the point size).
SIZE DialogBaseUnits(const char* faceGbk, int points);
// Dialog units to pixels: x * base.cx / 4, y * base.cy / 8, rounded.
void MapDialogUnits(SIZE baseUnits, RECT* rect);

// Runs inside each modal loop of DoModal once the loop is running; tests
// install one to answer dialogs. The program has none.
class ModalHook {
 public:
  virtual ~ModalHook() = default;
  virtual void OnModalLoop(CDialog* dialog) = 0;
};
// Installs a hook and returns the previous one.
ModalHook* SetModalHook(ModalHook* hook);

// The colour and font choosers; Qt's dialogs unless replaced (tests).
class ChooserSink {
 public:
  virtual ~ChooserSink() = default;
  // TRUE with the choice written back; FALSE when cancelled.
  virtual bool ChooseColor(HWND owner, COLORREF* color) = 0;
  virtual bool ChooseFont(HWND owner, LOGFONT* font) = 0;
};
ChooserSink* SetChooserSink(ChooserSink* sink);

}  // namespace platform

class CDialog : public CWndImpl<QDialog> {
 public:
  explicit CDialog(const platform::DialogTemplate& tpl, CWnd* parent = nullptr);
  ~CDialog() override;

  // Builds the dialog, runs OnInitDialog and the modal loop; returns IDOK,
  // IDCANCEL or the EndDialog value (-1 when the dialog is already made).
  // The dialog is destroyed afterwards; the object may run again.
  INT_PTR DoModal();
  // A modeless dialog, or a panel (template style WS_CHILD) inside parent.
  BOOL Create(CWnd* parent);
  // The same, then placed at rect with the id.
  BOOL Create(CWnd* parent, const RECT& rect, UINT id, DWORD style = 0) override;
  // Ends the modal loop with the result; hides a modeless dialog.
  void EndDialog(int result);

  virtual BOOL OnInitDialog();
  // UpdateData(TRUE), then EndDialog(IDOK) when the data are valid.
  virtual void OnOK();
  virtual void OnCancel();
  virtual void DoDataExchange(CDataExchange* dx);
  // FALSE when a value did not validate (its box has been shown).
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

  void SetDefID(UINT id);
  // MAKELONG(id, DC_HASDEFID).
  DWORD GetDefID() const;
  // Focuses the control (and selects an edit's text).
  void GotoDlgCtrl(CWnd* control);
  // The template's dialog units to pixels.
  void MapDialogRect(RECT* rect) const;
  const platform::DialogTemplate& GetTemplate() const { return tpl_; }
  // Running its modal loop now; the count of DoModal calls so far.
  bool IsInModalLoop() const { return inLoop_; }
  int ModalCount() const { return modalCount_; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  // The close box and Qt's reject() come here: IDCANCEL, unless that
  // button is there and disabled.
  void OnClose() override;
  // Fills with the brush OnCtlColor(CTLCOLOR_DLG) gives, if any.
  BOOL OnEraseBkgnd(CDC* dc) override;
  BOOL DestroyWindow() override;
  // Qt's ways of ending a dialog go the Win32 way: accept is IDOK, reject
  // is WM_CLOSE.
  void accept() override;
  void reject() override;

 protected:
  // Enter and Esc never reach Qt's own dialog handling.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Build(CWnd* parent, bool child);

  platform::DialogTemplate tpl_;
  CWnd* parent_;
  std::unique_ptr<CFont> font_;
  UINT defId_ = IDOK;
  bool inLoop_ = false;
  bool modal_ = false;
  bool ended_ = false;
  int endResult_ = IDCANCEL;
  int modalCount_ = 0;
  QEventLoop* loop_ = nullptr;  // the running modal loop
};

extern template class CWndImpl<QDialog>;

// Data exchange between a dialog's members and its controls.
class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate);
  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;
  int m_idLastControl = 0;
  // The control (null when missing: the exchange skips it); it becomes the
  // one a failure points at.
  QWidget* PrepareCtrl(int id);
  // Shows the message (GBK) in a box, puts the focus on the last control
  // and stops the exchange: later DDX calls do nothing.
  void Fail(const char* message);
  bool Failed() const { return failed_; }

 private:
  bool failed_ = false;
};

// GBK text; with maxBytes >= 0 cut on a character boundary to that many bytes.
void DDX_Text(CDataExchange* dx, int id, std::string& value, int maxBytes = -1);
// A fixed buffer of size bytes (NUL included), cut on a character boundary.
void DDX_Text(CDataExchange* dx, int id, char* buffer, int size);
// Numbers; text that does not read as one fails with a box.
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, UINT& value);
void DDX_Text(CDataExchange* dx, int id, double& value);
// 0 unchecked, 1 checked, 2 indeterminate.
void DDX_Check(CDataExchange* dx, int id, int& value);
// The index of the checked radio button of the group that starts at
// firstId (-1: none).
void DDX_Radio(CDataExchange* dx, int firstId, int& value);
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
void DDX_LBIndex(CDataExchange* dx, int id, int& index);
// Seconds since 1970 (local time shown).
void DDX_DateTime(CDataExchange* dx, int id, int64_t& seconds);
void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue);

// The colour and font choosers in MFC's shape.
class CColorDialog {
 public:
  explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0, CWnd* parent = nullptr);
  INT_PTR DoModal();
  COLORREF GetColor() const { return color_; }

 private:
  COLORREF color_;
  CWnd* parent_;
};

class CFontDialog {
 public:
  explicit CFontDialog(const LOGFONT* initial = nullptr, DWORD flags = 0, CDC* printer = nullptr,
                       CWnd* parent = nullptr);
  INT_PTR DoModal();
  void GetCurrentFont(LOGFONT* font) const;
  LOGFONT m_lf;

 private:
  CWnd* parent_;
};
