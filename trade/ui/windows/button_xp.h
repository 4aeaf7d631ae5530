// CButtonXP: the trading window's flat push button: a thin border, a face
// a little lighter than the button face, and a highlight-coloured face
// while the mouse is over it or it is pressed. CMouseHoverTracker, a member
// of the button, follows the mouse entering and leaving it.
#pragma once
#include "platform/controls.h"

class CMouseHoverTracker {
 public:
  enum : UINT { kRepaint = 1, kRecalcFrame = 2 };

  // The window watched and what a change of the hovering state does.
  void Attach(CWnd* watched, UINT options) {
    watched_ = watched;
    options_ = options;
  }
  bool IsHovering() const { return hovering_; }

  // The mouse moved over the watched window: hovering starts (repainted)
  // and one leave notification is asked for.
  void OnMouseMove();
  // The watched window's WM_MOUSELEAVE: hovering ends (repainted).
  void OnMouseLeave();

 private:
  void Changed();

  CWnd* watched_ = nullptr;
  HWND tracked_ = nullptr;  // the window asked for a leave notification
  bool hovering_ = false;
  UINT options_ = 0;
};

class CButtonXP : public CButton {
 public:
  CButtonXP();
  bool IsHovering() const { return tracker_.IsHovering(); }

  int OnCreate(LPCREATESTRUCT cs) override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void OnMouseLeave() override;
  void DrawItem(LPDRAWITEMSTRUCT dis) override;

 private:
  // The parent dialog's default button is this one.
  bool IsParentDefault() const;

  CMouseHoverTracker tracker_;
};
