// The owner-drawn scroll bar: thumb arithmetic, page steps, dragging and
// painting.
//
// Sound arithmetic where a literal reading would fail: a bar of 40 pixels
// or less has no track, so a drag moves nothing instead of dividing by
// zero; "at least 0 and at most total - page" applies the 0 floor last, so
// a list shorter than a page stays at 0; a page of at least the total
// fills the track; products are taken in 64 bits. While dragging, the
// thumb is drawn where the drag began plus the pointer's movement since,
// so every paint of one drag state draws the same thumb.
#include "zeb/controls/scroll_ctl_pic.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "platform/input.h"
#include "platform/wnd.h"
#include "zeb/scheme/sys_style.h"

namespace {

constexpr int kLineColorId = 6;
const COLORREF kArrowColor = RGB(0, 153, 153);

CScrollCtlPic::ClipWindowSource g_clipWindowSource = nullptr;

int MulDivToward0(int a, int b, int c) { return (int)((int64_t)a * b / c); }

}  // namespace

CScrollCtlPic::~CScrollCtlPic() {
  if (m_bDragging) ClipCursor(nullptr);
}

void CScrollCtlPic::SetClipWindowSource(ClipWindowSource source) { g_clipWindowSource = source; }

int CScrollCtlPic::SetRect(int style, const RECT* rect) {
  m_nStyle = style;
  if (rect) Layout(rect->left, rect->top, rect->right, rect->bottom);
  return 1;
}

void CScrollCtlPic::Layout(int left, int top, int right, int bottom) {
  m_rcBar = RECT{left, top, right, bottom};
  if (IsVertical()) {
    m_rcArrow1 = RECT{left, top, right, top + kArrowLength};
    m_rcArrow2 = RECT{left, bottom - kArrowLength, right, bottom};
  } else {
    m_rcArrow1 = RECT{left, top, left + kArrowLength, bottom};
    m_rcArrow2 = RECT{right - kArrowLength, top, right, bottom};
  }
}

int CScrollCtlPic::SetPos(int pos) {
  m_nPos = std::min(pos, m_nTotal);
  return 0;
}

int CScrollCtlPic::Length() const {
  return IsVertical() ? RectHeight(m_rcBar) : RectWidth(m_rcBar);
}

int CScrollCtlPic::Clamp(int pos) const {
  pos = std::min(pos, m_nTotal - m_nPage);
  return std::max(pos, 0);
}

void CScrollCtlPic::CalcThumb() {
  const int track = Track();
  if (m_nTotal <= 0 || track <= 0) {
    m_rcThumb = RECT{};
    return;
  }
  const int first = IsVertical() ? m_rcArrow1.bottom : m_rcArrow1.right;
  const int second = IsVertical() ? m_rcArrow2.top : m_rcArrow2.left;
  int start = first, length = track;
  if (m_nPage < m_nTotal) {
    length = MulDivToward0(track, std::max(m_nPage, 0), m_nTotal);
    start =
        m_bDragging ? m_nDragStart + m_nDragOffset : first + MulDivToward0(track, m_nPos, m_nTotal);
    start = std::min(std::max(start, first), second - length);
  }
  m_rcThumb = IsVertical() ? RECT{m_rcBar.left, start, m_rcBar.right, start + length}
                           : RECT{start, m_rcBar.top, start + length, m_rcBar.bottom};
}

void CScrollCtlPic::Draw(CDC* dc) {
  if (!dc || m_nTotal <= 0) return;
  CalcThumb();
  CPen line(PS_SOLID, 1, CSysStyle::GetInstance()->GetColor(kLineColorId));
  CPen* oldPen = dc->SelectObject(&line);
  CGdiObject* oldBrush = dc->SelectStockObject(NULL_BRUSH);
  dc->Rectangle(&m_rcBar);
  dc->Rectangle(&m_rcArrow1);
  dc->Rectangle(&m_rcArrow2);

  CPen arrowPen(PS_SOLID, 1, kArrowColor);
  CBrush arrowBrush(kArrowColor);
  dc->SelectObject(&arrowPen);
  dc->SelectObject(&arrowBrush);
  const int oldMode = dc->SetBkMode(OPAQUE);
  auto inset = [this](RECT r) {
    if (IsVertical()) InflateRect(r, -4, -8);
    else InflateRect(r, -7, -6);
    return r;
  };
  const RECT a = inset(m_rcArrow1), b = inset(m_rcArrow2);
  if (IsVertical()) {
    const POINT up[] = {{(a.left + a.right) / 2, a.top}, {a.left, a.bottom}, {a.right, a.bottom}};
    const POINT down[] = {{(b.left + b.right) / 2, b.bottom}, {b.left, b.top}, {b.right, b.top}};
    dc->Polygon(up, (int)std::size(up));
    dc->Polygon(down, (int)std::size(down));
  } else {
    const POINT left[] = {{a.left, (a.top + a.bottom) / 2}, {a.right, a.top}, {a.right, a.bottom}};
    const POINT right[] = {{b.right, (b.top + b.bottom) / 2}, {b.left, b.top}, {b.left, b.bottom}};
    dc->Polygon(left, (int)std::size(left));
    dc->Polygon(right, (int)std::size(right));
  }
  dc->SetBkMode(oldMode);

  CBitmap* slider = CSysStyle::GetInstance()->GetSliderBitmap();
  CBrush thumbBrush;
  if (slider && !IsRectEmpty(m_rcThumb) && thumbBrush.CreatePatternBrush(slider)) {
    dc->SelectObject(&line);
    dc->SelectObject(&thumbBrush);
    dc->Rectangle(&m_rcThumb);
  }
  dc->SelectObject(oldBrush);
  dc->SelectObject(oldPen);
}

int CScrollCtlPic::OnLButtonDown(int x, int y) {
  const POINT p{x, y};
  if (m_nTotal <= 0 || !PtInRect(m_rcBar, p)) return 0;
  CalcThumb();
  if (PtInRect(m_rcThumb, p)) {
    m_bDragging = true;
    m_nDelta = 0;
    m_ptAnchor = p;
    m_nDragStart = IsVertical() ? m_rcThumb.top : m_rcThumb.left;
    m_nDragOffset = 0;
    m_nDragOrigin = IsVertical() ? y : x;
    CWnd* view = g_clipWindowSource ? g_clipWindowSource() : nullptr;
    if (view) {
      RECT clip = m_rcBar;
      view->ClientToScreen(&clip);
      ClipCursor(&clip);
    }
    return 1;
  }
  const int along = IsVertical() ? y : x;
  const int thumbStart = IsVertical() ? m_rcThumb.top : m_rcThumb.left;
  const bool back = PtInRect(m_rcArrow1, p) || (!PtInRect(m_rcArrow2, p) && along < thumbStart);
  m_nPos = Clamp(back ? m_nPos - m_nPage : m_nPos + m_nPage);
  return 1;
}

int CScrollCtlPic::OnMouseMove(int x, int y) {
  if (!m_bDragging) return 0;
  m_nDelta = IsVertical() ? y - m_ptAnchor.y : x - m_ptAnchor.x;
  m_nDragOffset = (IsVertical() ? y : x) - m_nDragOrigin;
  const int track = Track();
  if (track <= 0) return 0;
  const int rows = MulDivToward0(m_nDelta, m_nTotal, track);
  if (rows == 0) return 0;
  const long long wanted = (long long)m_nPos + rows;
  const bool inside = wanted >= 0 && wanted <= (long long)m_nTotal - m_nPage;
  m_nPos = Clamp((int)std::clamp<long long>(wanted, INT32_MIN, INT32_MAX));
  if (inside) m_ptAnchor = POINT{x, y};
  return 1;
}

int CScrollCtlPic::OnLButtonUp(int, int) {
  if (!m_bDragging) return 0;
  ClipCursor(nullptr);
  m_bDragging = false;
  return 1;
}
