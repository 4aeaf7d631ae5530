// The tool bar both of the program's bars stand on (the framework's
// CToolBar): a QToolBar window that holds buttons (command, image, style,
// state), lays them out along or across its dock side, paints them and
// turns clicks into commands for its owner. Separators with an id keep the
// place of a control window with that id, a child of the bar.
//
// What it guarantees:
// - A click (press and release on the same enabled button) posts
//   WM_COMMAND(id, 0) to the owner (the frame the bar is docked in),
//   as a menu does; check buttons toggle first.
// - A press on the arrow part of a split drop-down button asks OnDropDown
//   at once; TBDDRET_TREATPRESSED makes it an ordinary press.
// - Update-UI runs against the owner when the bar shows and on its timer
//   (kUpdateUiTimer, every kUpdateUiMs), through CToolCmdUI.
// - Docked at the left or right the bar lays its buttons out across and
//   hides hosted controls; along the top or bottom they return, placed on
//   their separator's rectangle shrunk by one pixel.
//
// Bar styles (CBRS_*) are kept apart from the window's style, which holds
// the control styles (TBSTYLE_FLAT, TBSTYLE_TOOLTIPS). Texts are GBK.
// User-interface thread only.
#pragma once
#include <QPointer>
#include <span>
#include <vector>

#include "zeb/controls/toolbar_images.h"
#include "zeb/controls/toolbar_layout.h"
#include "platform/menu.h"
#include "platform/wnd_qt_bases.h"

// Bar styles.
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000, CBRS_ALIGN_TOP = 0x2000, CBRS_ALIGN_RIGHT = 0x4000,
                CBRS_ALIGN_BOTTOM = 0x8000, CBRS_ALIGN_ANY = 0xF000, CBRS_BORDER_BOTTOM = 0x0800,
                CBRS_TOOLTIPS = 0x0010, CBRS_FLYBY = 0x0020, CBRS_SIZE_DYNAMIC = 0x0004,
                CBRS_GRIPPER = 0x00400000, CBRS_ALL = 0x0040FFFF,
                CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;

namespace zebui {

// One button of a tool bar resource: its command (0: a separator) and the
// command's string ("prompt\ntooltip"; bars with captions read the lines
// after the first newline); image -1 takes the next cell of the strip.
struct ToolBarItem {
  UINT id;
  const char* text = nullptr;
  int image = -1;
};
// A tool bar resource of a module, kept beside the window that uses it as
// menus are: its id, the image size, the image strip (one of our resource
// paths, ":/toolbar/..."; null: none) and the buttons in order.
struct ToolBarResource {
  UINT id;
  int imageWidth;
  int imageHeight;
  const char* bitmap;
  std::span<const ToolBarItem> items;
};

}  // namespace zebui

class CToolBarBase;

// Update-UI of one tool bar button: Enable sets TBSTATE_ENABLED, SetCheck
// 1 checks, 2 makes it indeterminate, 0 clears both.
class CToolCmdUI : public CCmdUI {
 public:
  CToolCmdUI(CToolBarBase* bar, int index);
  void Enable(BOOL on = TRUE) override;
  void SetCheck(int check = 1) override;
  void SetText(const char*) override {}

 private:
  CToolBarBase* bar_;
};

class CToolBarBase : public CWndImpl<QToolBar> {
 public:
  static constexpr UINT_PTR kUpdateUiTimer = 0xE8F0;
  static constexpr UINT kUpdateUiMs = 250;

  CToolBarBase();
  ~CToolBarBase() override;

  // A bar of the parent (a frame then adds it with AddControlBar). style
  // mixes window bits with bar styles (CBRS_*); ctrlStyle holds TBSTYLE_*.
  using CWnd::Create;
  BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP,
              UINT id = AFX_IDW_TOOLBAR);
  BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = TBSTYLE_FLAT,
                DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);
  DWORD GetBarStyle() const { return barStyle_; }
  void SetBarStyle(DWORD style);
  // CBRS_ALIGN_ANY (or some sides): the bar can be moved between the
  // frame's sides and floated; 0: it stays where it is.
  void EnableDocking(DWORD align);
  // A floating bar at the screen point, over its frame, never docked.
  // closeBox: a small caption with a close box, as a floating bar's
  // frame has (the full-screen bar has none).
  void Float(POINT screenPoint, bool closeBox = false);

  // ---- Buttons ----------------------------------------------------------
  // The buttons (and the strip, when it names one) of the resource with
  // the id; button size = image size + 7 each way. FALSE when the module
  // has no such resource or its strip does not load.
  virtual BOOL LoadToolBar(std::span<const zebui::ToolBarResource> module, UINT id);
  // Buttons from command ids (0: separator), images in order.
  BOOL SetButtons(const UINT* ids, int count);
  int GetCount() const { return (int)buttons_.size(); }
  int CommandToIndex(UINT id) const;
  UINT GetItemID(int index) const;
  void GetItemRect(int index, RECT* rect) const;
  // A button's style (TBSTYLE_*) and state (TBSTATE_*).
  UINT GetButtonStyle(int index) const;
  void SetButtonStyle(int index, UINT style);
  UINT GetButtonState(int index) const;
  void SetButtonState(int index, UINT state);
  // MFC's: for a separator image is its width (an id makes it the place
  // of the child control with that id).
  void SetButtonInfo(int index, UINT id, UINT style, int image);
  void GetButtonInfo(int index, UINT& id, UINT& style, int& image) const;
  // The command string of a button (see ToolBarItem).
  void SetButtonText(int index, const char* text);
  const zebui::ToolButton* GetButton(int index) const;

  void SetSizes(SIZE button, SIZE image);
  SIZE GetButtonSize() const { return buttonSize_; }
  SIZE GetImageSize() const { return imageSize_; }
  void SetBorders(int left, int top, int right, int bottom);
  DWORD SetExtendedStyle(DWORD exStyle);
  DWORD GetExtendedStyle() const { return exStyle_; }
  zebui::CToolImageList& GetImageList() { return images_; }
  zebui::CToolImageList& GetDisabledImageList() { return disabledImages_; }
  int GetHotItem() const { return hot_; }
  bool IsVertical() const;

  // Where commands and update-UI go; by default the frame (or window) the
  // bar belongs to.
  void SetOwner(CWnd* owner) { owner_ = owner ? owner->GetWidget() : nullptr; }
  CWnd* GetOwner() const;
  // Update-UI of every button against the owner now.
  void UpdateButtons();
  // Lays the buttons out again and places the hosted controls.
  void RecalcLayout();

  // ---- Handlers -----------------------------------------------------------
  int OnCreate(LPCREATESTRUCT cs) override;
  void OnPaint() override;
  void OnSize(UINT type, int cx, int cy) override;
  void OnShowWindow(BOOL show, UINT status) override;
  void OnTimer(UINT_PTR id) override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnLButtonDblClk(UINT flags, CPoint point) override;
  void OnLButtonUp(UINT flags, CPoint point) override;
  void OnMouseLeave() override;
  int OnNcHitTest(CPoint screenPoint) override;

 protected:
  // Paints the buttons (the bar's face over the clip box first). The base
  // paints raised buttons, flat ones with TBSTYLE_FLAT.
  virtual void PaintBar(CDC* dc, const RECT& clip);
  // A press on the arrow part of a split drop-down button.
  virtual LRESULT OnDropDown(int index);

  const std::vector<zebui::ToolButton>& Buttons() const { return buttons_; }
  // The button being pressed (-1: none) and the last mouse point (-1, -1
  // once the mouse has left).
  int PressedItem() const { return pressed_; }
  POINT CursorPoint() const { return cursor_; }
  // Lays the buttons out when something changed since the last layout.
  void EnsureLayout();

 private:
  void ButtonsChanged();
  void SetHotItem(int index);
  void PlaceHostedControls();
  void PaintGrip(CDC* dc) const;
  void PaintClassicButton(CDC* dc, const zebui::ToolButton& button, bool hot, bool down) const;
  POINT ContentOrigin() const;

  std::vector<zebui::ToolButton> buttons_;
  SIZE buttonSize_{23, 22};
  SIZE imageSize_{16, 15};
  RECT borders_{};
  DWORD barStyle_ = 0;
  DWORD exStyle_ = 0;
  zebui::CToolImageList images_;
  zebui::CToolImageList disabledImages_;
  QWidget* area_ = nullptr;  // keeps the buttons' place in the bar's own layout
  QPointer<QWidget> owner_;
  bool layoutDirty_ = true;
  POINT laidOutOrigin_{-1, -1};
  bool laidOutVertical_ = false;
  int hot_ = -1;
  int pressed_ = -1;
  POINT cursor_{-1, -1};
  bool tracking_ = false;
};
