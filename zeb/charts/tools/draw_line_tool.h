// CDrawLineTool: one figure the user drew on a K-line picture: a line, a
// rectangle, parallel lines, golden-section lines or Gann lines. It is
// anchored to (bar date, value) points and converts them through its
// picture every time it is drawn, hit or moved, so it follows the chart
// when it scrolls or zooms. A plain value kept in its picture's list.
#pragma once
#include <cstdint>

#include "platform/gdi.h"
#include "platform/types.h"
#include "zeb/charts/tools/tool_canvas.h"

class CDrawLineTool {
 public:
  enum Kind { kLine = 0, kRectangle = 1, kParallel = 2, kGolden = 3, kGann = 4 };
  enum Part { kNone = 0, kFirstEnd = 1, kSecondEnd = 2, kThirdPoint = 3, kBody = 4 };
  static constexpr COLORREF kDefaultColor = 255;  // red
  static constexpr int kParallelGap = 40;

  void SetColor(COLORREF color) { m_color = color; }
  // The picture that converts the anchors; its plot becomes the clip.
  void SetOwner(const CToolCanvas* owner);
  void SetKind(int kind) { m_nKind = kind; }
  void SetSelected(int part) { m_nSelected = part; }
  void StartAt(int x, int y);
  void SetEnd(int x, int y);
  void SetThird(int x, int y);
  // Shows the figure shifted while a body drag goes on.
  void SetOffset(int dx, int dy);
  // Ends a body drag: moves the anchors by the accumulated shift, kept
  // inside the plot with the figure's size unchanged. 1 when nothing moved.
  int MoveBy(int dx, int dy);
  // The part under the point (stored as the selected part), 0 for none.
  int HitTest(int x, int y);
  void Draw(CDC* dc);
  // The two points where the line through (x1, y1) and (x2, y2) crosses
  // the clip rectangle's edges; false when there are not two.
  bool ClipLine(int x1, int y1, int x2, int y2, POINT out[2]) const;

  int GetKind() const { return m_nKind; }
  int GetSelected() const { return m_nSelected; }
  COLORREF GetColor() const { return m_color; }
  bool IsMoving() const { return m_bMoving; }
  bool HasEnd() const { return m_bHasEnd; }
  bool HasThird() const { return m_bHasThird; }
  const SToolAnchor& Anchor(int i) const { return m_anchors[i]; }
  // The screen point of anchor i as the picture maps it now.
  POINT ScreenPoint(int i) const;

 private:
  void RefreshClip();
  void DrawParallel(CDC* dc, POINT p1, POINT p2);
  void DrawGann(CDC* dc, POINT p1, POINT p2) const;
  void DrawAcross(CDC* dc, POINT a, POINT b) const;
  SToolAnchor ToAnchor(int x, int y) const;

  int m_nKind = kLine;
  SToolAnchor m_anchors[3];
  bool m_bHasEnd = false;
  bool m_bHasThird = false;
  COLORREF m_color = 0;
  int m_nSelected = kNone;
  RECT m_rcClip{};
  const CToolCanvas* m_pOwner = nullptr;
  POINT m_points[3]{};
  bool m_bMoving = false;
  POINT m_offset{};
};
