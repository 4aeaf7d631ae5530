// CBaseView: the base of the views of the market pane (the quote list, the
// chart view). It adds to the router's contract (CRoutedView) what every
// such view shares: a layout rectangle that follows each size change and
// lays the view out when it has an area, keys and typed characters passed
// on to the main window (which hands them back through the router), the
// mouse wheel turned into page keys, and the owner side of its tables and
// drawn objects (repaint, cursor, mouse capture, pop-up menus built from
// the main program's menu resources and owned by the main window, so a
// chosen command reaches the main window as WM_COMMAND).
//
// The main window is the store's: the one every request goes to.
#pragma once
#include <string>

#include "zeb/shell/router/routed_view.h"
#include "zeb/tables/base/draw_owner.h"

class CPublic;

class CBaseView : public CRoutedView, public CDrawOwner {
 public:
  // The store whose main window the view talks to; null: the program's.
  explicit CBaseView(CPublic* store = nullptr);
  ~CBaseView() override;

  // The parent window's caption: the first line of the document string.
  virtual void UpdateTitle();
  // Asks for the shown data again (the quote list's request).
  virtual void RefreshData() {}
  virtual std::string GetTitle() { return m_strTitle; }
  // Lays the view's parts out inside the layout rectangle.
  virtual void RecalcLayout() {}
  virtual void SetRect(int left, int top, int right, int bottom) {
    m_rcLayout = RECT{left, top, right, bottom};
  }
  // Sub-menu subMenu of menu resource menuId at (x, y) of the owner's
  // client area; -1 without an owner.
  virtual int TrackMenu(CDrawOwner* owner, int x, int y, int menuId, int subMenu);

  const RECT& GetLayoutRect() const { return m_rcLayout; }
  CPublic* Store() const { return m_store; }
  HWND MainWnd() const;

  // ---- CDrawOwner: what the view's tables and drawn objects ask ----
  void Repaint() override;
  void SetCursor(Cursor cursor) override;
  void CaptureMouse() override;
  void ReleaseMouse() override;
  void MovePointer(int x, int y) override;
  int TrackPopup(const SPopupMenu& menu, int x, int y) override;
  bool IsKeyDown(UINT vk) const override;

  // ---- Handlers ----
  void OnDraw(CDC* dc) override;
  void OnSize(UINT type, int cx, int cy) override;
  BOOL OnEraseBkgnd(CDC* dc) override;
  void OnKeyDown(UINT vk, UINT repeat, UINT flags) override;
  void OnChar(UINT ch, UINT repeat, UINT flags) override;
  BOOL OnMouseWheel(UINT flags, short delta, CPoint screenPoint) override;

 protected:
  RECT m_rcLayout{};
  std::string m_strTitle;

 private:
  CPublic* m_store;
};
