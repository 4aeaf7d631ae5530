#include "trade/ui/windows/button_xp.h"

#include "platform/desktop.h"
#include "sharecode/buffer_dc.h"
#include "sharecode/color_hsl.h"
#include "sharecode/gdi_selectors.h"

void CMouseHoverTracker::Changed() {
  if (watched_ && (options_ & kRepaint)) watched_->Invalidate();
}

void CMouseHoverTracker::OnMouseMove() {
  if (!watched_) return;
  const HWND hwnd = watched_->GetSafeHwnd();
  if (hovering_ && tracked_ == hwnd) return;
  if (hovering_ && tracked_ && tracked_ != hwnd) {
    TRACKMOUSEEVENT cancel;
    cancel.dwFlags = TME_LEAVE | TME_CANCEL;
    cancel.hwndTrack = tracked_;
    TrackMouseEvent(&cancel);
  }
  hovering_ = true;
  tracked_ = hwnd;
  TRACKMOUSEEVENT track;
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = hwnd;
  track.dwHoverTime = 0;
  TrackMouseEvent(&track);
  Changed();
}

void CMouseHoverTracker::OnMouseLeave() {
  if (!hovering_) return;
  hovering_ = false;
  tracked_ = nullptr;
  Changed();
}

CButtonXP::CButtonXP() = default;

int CButtonXP::OnCreate(LPCREATESTRUCT cs) {
  if (CButton::OnCreate(cs) == -1) return -1;
  SetButtonStyle((GetButtonStyle() & ~BS_TYPEMASK) | BS_OWNERDRAW, FALSE);
  tracker_.Attach(this, CMouseHoverTracker::kRepaint);
  return 0;
}

void CButtonXP::OnMouseMove(UINT flags, CPoint point) {
  CButton::OnMouseMove(flags, point);
  tracker_.OnMouseMove();
}

void CButtonXP::OnMouseLeave() {
  tracker_.OnMouseLeave();
  CButton::OnMouseLeave();
}

bool CButtonXP::IsParentDefault() const {
  const auto* dialog = dynamic_cast<const CDialog*>(GetParent());
  return dialog && static_cast<int>(LOWORD(dialog->GetDefID())) == GetDlgCtrlID();
}

void CButtonXP::DrawItem(LPDRAWITEMSTRUCT dis) {
  CBufferDC dc(dis->hDC, &dis->rcItem);
  CFontSelector font(&dc, DEFAULT_GUI_FONT, CFontSelector::KEEP_TEXT_COLOR);
  CPenSelector pen(&dc, 0);
  CBrushSelector brush(&dc, static_cast<COLORREF>(-1));

  const bool disabled = dis->itemState & ODS_DISABLED;
  const bool pressed = dis->itemState & ODS_SELECTED;
  const bool focused = dis->itemState & ODS_FOCUS;
  const bool hovering = tracker_.IsHovering();
  if (disabled || (!hovering && !pressed)) {
    pen.SetColor(GetSysColor(focused || IsParentDefault() ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW));
    brush.SetColor(AdjustColorHsl(GetSysColor(COLOR_BTNFACE), 15, 0));
  } else {
    pen.SetColor(GetSysColor(COLOR_HIGHLIGHT));
    brush.SetColor(pressed ? AdjustColorHsl(GetSysColor(COLOR_HIGHLIGHT), 50, -50)
                           : AdjustColorHsl(GetSysColor(COLOR_HIGHLIGHT), 80, -66));
  }
  COLORREF text = GetSysColor(COLOR_BTNTEXT);
  if (disabled) text = GetSysColor(COLOR_GRAYTEXT);
  else if (pressed) text = 0xF0F0F0;
  else if (hovering) text = RGB(0, 0, 0);

  CRect rect(dis->rcItem);
  dc.Rectangle(&rect);
  dc.SetTextColor(text);
  dc.SetBkMode(TRANSPARENT);
  dc.DrawText(GetWindowTextString(), &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (focused) {
    CRect inner(rect);
    inner.DeflateRect(2, 2);
    CPen dots(PS_DOT, 1, RGB(0, 0, 0));
    CPen* old = dc.SelectObject(&dots);
    CGdiObject* oldBrush = dc.SelectStockObject(NULL_BRUSH);
    dc.Rectangle(&inner);
    dc.SelectObject(old);
    dc.SelectObject(oldBrush);
  }
}
