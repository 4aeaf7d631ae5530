// A scroll bar drawn by its owner inside the owner's own window: two arrow
// boxes, a track and a thumb filled with the scheme's slider bitmap; page
// steps by click and thumb dragging with the cursor clipped to the bar.
// Used by the deal, price and quote-list tables.
//
// The owner sets the range (0 when all rows fit: the bar is hidden),
// the page and the position before painting, passes mouse points in its
// client coordinates and reads GetPos after a mouse handler returned 1.
// Integer arithmetic only; a bar too short for a track (40 pixels or
// less) never divides by zero. User-interface thread only.
#pragma once
#include "platform/gdi.h"

class CWnd;

class CScrollCtlPic {
 public:
  // Style bit 0: vertical bar; clear: horizontal.
  static constexpr int kVertical = 1;
  // Length of each arrow box along the bar.
  static constexpr int kArrowLength = 20;

  CScrollCtlPic() = default;
  virtual ~CScrollCtlPic();
  CScrollCtlPic(const CScrollCtlPic&) = delete;
  CScrollCtlPic& operator=(const CScrollCtlPic&) = delete;

  // The window whose client coordinates the owners' points are in, for
  // clipping the cursor while the thumb is dragged (the active view);
  // none: no clip. The shell installs it.
  using ClipWindowSource = CWnd* (*)();
  static void SetClipWindowSource(ClipWindowSource source);

  // Stores the style and lays the bar out; returns 1.
  int SetRect(int style, const RECT* rect);
  void Layout(int left, int top, int right, int bottom);
  void SetRange(int total) { m_nTotal = total; }
  void SetPage(int rows) { m_nPage = rows; }
  // position := pos, at most total; returns 0.
  int SetPos(int pos);
  int GetPos() const { return m_nPos; }
  int GetRange() const { return m_nTotal; }
  int GetPage() const { return m_nPage; }
  bool IsVertical() const { return (m_nStyle & kVertical) != 0; }
  bool IsDragging() const { return m_bDragging; }

  // Nothing when total is 0.
  void Draw(CDC* dc);
  // The thumb for the next paint (computed by Draw, and here for owners
  // and tests); empty when the bar has no track or no rows.
  void CalcThumb();
  RECT GetThumbRect() const { return m_rcThumb; }
  RECT GetBarRect() const { return m_rcBar; }
  RECT GetFirstArrowRect() const { return m_rcArrow1; }
  RECT GetSecondArrowRect() const { return m_rcArrow2; }

  // 0 when the point is outside the bar (or the bar is hidden), else 1:
  // on the thumb a drag starts, elsewhere the position moves by a page.
  int OnLButtonDown(int x, int y);
  // 1 when a drag changed the position.
  int OnMouseMove(int x, int y);
  // Ends a drag: 1, or 0 when none was under way.
  int OnLButtonUp(int x, int y);

 private:
  int Length() const;  // of the bar along its direction
  int Track() const { return Length() - 2 * kArrowLength; }
  // Position limited to 0..total - page, the 0 floor last.
  int Clamp(int pos) const;

  int m_nStyle = 0;
  RECT m_rcBar{};
  RECT m_rcArrow1{};
  RECT m_rcArrow2{};
  RECT m_rcThumb{};
  int m_nPage = 0;
  int m_nPos = 0;
  int m_nTotal = 0;
  POINT m_ptAnchor{};
  int m_nDelta = 0;  // pointer movement along the bar since the anchor
  bool m_bDragging = false;
  int m_nDragStart = 0;   // thumb start when the drag began
  int m_nDragOrigin = 0;  // pointer along the bar when the drag began
  int m_nDragOffset = 0;  // pointer movement along the bar since then
};
