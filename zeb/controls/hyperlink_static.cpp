// CHyperlinkStatic; see hyperlink_static.h.
#include "zeb/controls/hyperlink_static.h"

#include "zeb/controls/link_policy.h"
#include "platform/desktop.h"
#include "platform/dialog.h"

CHyperlinkStatic::CHyperlinkStatic()
    : hand_(LoadCursor(nullptr, IDC_HAND)), arrow_(LoadCursor(nullptr, IDC_ARROW)) {}

CHyperlinkStatic::~CHyperlinkStatic() = default;

int CHyperlinkStatic::OnCreate(LPCREATESTRUCT cs) {
  ModifyStyle(0, SS_NOTIFY);
  text_ = GetWindowTextString();
  measured_ = false;
  return CWndImpl<QWidget>::OnCreate(cs);
}

void CHyperlinkStatic::OnDestroy() {
  CWndImpl<QWidget>::OnDestroy();
  font_.DeleteObject();
  fontCreated_ = false;
  measured_ = false;
}

void CHyperlinkStatic::OnPaint() {
  CPaintDC dc(this);
  if (!fontCreated_) {
    CWnd* parent = GetParent();
    LOGFONT lf;
    if (parent && parent->GetFont() && parent->GetFont()->GetLogFont(&lf)) {
      lf.lfUnderline = 1;
      lf.lfHeight = 15;
      fontCreated_ = font_.CreateFontIndirect(&lf) != FALSE;
    }
  }
  if (fontCreated_) dc.SelectObject(&font_);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0, 0, 255));
  dc.TextOut(0, 0, text_);
}

void CHyperlinkStatic::MeasureText() {
  if (measured_ || !fontCreated_) return;
  CDC dc;
  dc.SelectObject(&font_);
  extent_ = dc.GetTextExtent(text_);
  measured_ = true;
}

bool CHyperlinkStatic::HitsText(CPoint point) const {
  return measured_ && point.x >= 0 && point.x < extent_.cx && point.y >= 0 && point.y < extent_.cy;
}

void CHyperlinkStatic::OnLButtonDown(UINT flags, CPoint point) {
  MeasureText();
  if (HitsText(point) && zebui::IsOpenableLinkAddress(url_)) platform::OpenUrl(url_);
  CWndImpl<QWidget>::OnLButtonDown(flags, point);
}

void CHyperlinkStatic::OnMouseMove(UINT flags, CPoint point) {
  if (tracking_) {
    MeasureText();
    SetCursor(HitsText(point) ? hand_ : arrow_);
  } else {
    TRACKMOUSEEVENT track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = GetSafeHwnd();
    tracking_ = TrackMouseEvent(&track) != FALSE;
  }
  CWndImpl<QWidget>::OnMouseMove(flags, point);
}

void CHyperlinkStatic::OnMouseLeave() {
  tracking_ = false;
  SetCursor(arrow_);
}
