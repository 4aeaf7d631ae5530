// Anchors, hit testing, moving and drawing of one drawn figure.
#include "zeb/charts/tools/draw_line_tool.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kHandle = 5;
constexpr int kHandleSize = 3;

bool Same(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }
POINT Shift(POINT p, POINT d) { return POINT{p.x + d.x, p.y + d.y}; }
bool Near(POINT p, int x, int y) {
  return std::abs(x - p.x) <= kHandle && std::abs(y - p.y) <= kHandle;
}
RECT Spanned(POINT a, POINT b) {
  return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}
bool Inside(const RECT& r, int x, int y) {
  return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
}

void Segment(CDC* dc, int x1, int y1, int x2, int y2) {
  dc->MoveTo(x1, y1);
  dc->LineTo(x2, y2);
}

void Handle(CDC* dc, POINT p) {
  CPen pen(PS_SOLID, 1, RGB(255, 255, 255));
  CBrush brush(RGB(255, 255, 255));
  CPen* oldPen = dc->SelectObject(&pen);
  CBrush* oldBrush = dc->SelectObject(&brush);
  dc->Rectangle(p.x - kHandleSize, p.y - kHandleSize, p.x + kHandleSize, p.y + kHandleSize);
  dc->SelectObject(oldBrush);
  dc->SelectObject(oldPen);
}

}  // namespace

void CDrawLineTool::SetOwner(const CToolCanvas* owner) {
  m_pOwner = owner;
  RefreshClip();
}

void CDrawLineTool::RefreshClip() {
  if (m_pOwner) m_rcClip = m_pOwner->GetPlotRect();
}

SToolAnchor CDrawLineTool::ToAnchor(int x, int y) const {
  return m_pOwner ? m_pOwner->ScreenToAnchor(POINT{x, y}) : SToolAnchor{};
}

POINT CDrawLineTool::ScreenPoint(int i) const {
  return m_pOwner ? m_pOwner->AnchorToScreen(m_anchors[i]) : m_points[i];
}

void CDrawLineTool::StartAt(int x, int y) {
  m_anchors[0] = ToAnchor(x, y);
  m_nSelected = kFirstEnd;
  m_offset = POINT{};
  m_points[0] = POINT{x, y};
}

void CDrawLineTool::SetEnd(int x, int y) {
  m_anchors[1] = ToAnchor(x, y);
  m_points[1] = POINT{x, y};
  m_bHasEnd = true;
}

void CDrawLineTool::SetThird(int x, int y) {
  m_anchors[2] = ToAnchor(x, y);
  m_points[2] = POINT{x, y};
  m_bHasThird = true;
}

void CDrawLineTool::SetOffset(int dx, int dy) {
  m_bMoving = true;
  m_offset.x += dx;
  m_offset.y += dy;
}

int CDrawLineTool::MoveBy(int dx, int dy) {
  m_bMoving = false;
  m_offset.x += dx;
  m_offset.y += dy;
  if (m_offset.x == 0 && m_offset.y == 0) return 1;
  RefreshClip();
  POINT p1 = Shift(ScreenPoint(0), m_offset), p2 = Shift(ScreenPoint(1), m_offset);
  // Keep both ends in the plot with their distance unchanged.
  const RECT& c = m_rcClip;
  int fixX = 0, fixY = 0;
  if (std::min(p1.x, p2.x) < c.left) fixX = c.left - std::min(p1.x, p2.x);
  else if (std::max(p1.x, p2.x) > c.right - 1) fixX = c.right - 1 - std::max(p1.x, p2.x);
  if (std::min(p1.y, p2.y) < c.top) fixY = c.top - std::min(p1.y, p2.y);
  else if (std::max(p1.y, p2.y) > c.bottom - 1) fixY = c.bottom - 1 - std::max(p1.y, p2.y);
  const POINT shift{m_offset.x + fixX, m_offset.y + fixY};
  p1 = Shift(p1, POINT{fixX, fixY});
  p2 = Shift(p2, POINT{fixX, fixY});
  if (m_bHasThird) {
    const POINT p3 = Shift(ScreenPoint(2), shift);
    SetThird(p3.x, p3.y);
  }
  m_anchors[0] = ToAnchor(p1.x, p1.y);
  m_points[0] = p1;
  SetEnd(p2.x, p2.y);
  m_offset = POINT{};
  return 0;
}

int CDrawLineTool::HitTest(int x, int y) {
  const POINT p1 = ScreenPoint(0), p2 = ScreenPoint(1);
  int part = kNone;
  if (Near(p1, x, y)) {
    part = kFirstEnd;
  } else if (m_bHasEnd && Near(p2, x, y)) {
    part = kSecondEnd;
  } else if (m_bHasThird && Near(ScreenPoint(2), x, y)) {
    part = kThirdPoint;
  } else if (m_bHasEnd) {
    RECT body = Spanned(p1, p2);
    const bool thin =
        m_nKind == kLine && (std::abs(p1.x - p2.x) <= 4 || std::abs(p1.y - p2.y) <= 4);
    if (thin) body = RECT{body.left - 5, body.top - 5, body.right + 5, body.bottom + 5};
    if (Inside(body, x, y)) part = kBody;
  }
  m_nSelected = part;
  return part;
}

bool CDrawLineTool::ClipLine(int x1, int y1, int x2, int y2, POINT out[2]) const {
  const RECT& c = m_rcClip;
  if (c.left == 0 && c.top == 0 && c.right == 0 && c.bottom == 0) return false;
  if (x1 == x2) {
    out[0] = POINT{x1, c.top};
    out[1] = POINT{x1, c.bottom};
    return true;
  }
  if (y1 == y2) {
    out[0] = POINT{c.left, y1};
    out[1] = POINT{c.right, y1};
    return true;
  }
  int found = 0;
  const auto keep = [&](int x, int y) {
    if (found < 2) out[found++] = POINT{x, y};
  };
  const int64_t dx = x2 - x1, dy = y2 - y1;
  const auto yAt = [&](int x) { return static_cast<int>(y1 + (x - x1) * dy / dx); };
  const auto xAt = [&](int y) { return static_cast<int>(x1 + (y - y1) * dx / dy); };
  if (int y = yAt(c.left); y >= c.top && y <= c.bottom) keep(c.left, y);
  if (int x = xAt(c.top); x >= c.left && x <= c.right) keep(x, c.top);
  if (int y = yAt(c.right); y >= c.top && y <= c.bottom) keep(c.right, y);
  if (int x = xAt(c.bottom); x >= c.left && x <= c.right) keep(x, c.bottom);
  return found == 2;
}

void CDrawLineTool::DrawAcross(CDC* dc, POINT a, POINT b) const {
  POINT ends[2];
  if (!ClipLine(a.x, a.y, b.x, b.y, ends) || Same(ends[0], ends[1])) return;
  // The ends lie on the clip's edges, the right and bottom ones included:
  // a line leaving through those two is still inside the plot.
  if (!Inside(m_rcClip, ends[0].x, ends[0].y) && !Inside(m_rcClip, ends[1].x, ends[1].y)) return;
  Segment(dc, ends[0].x, ends[0].y, ends[1].x, ends[1].y);
}

void CDrawLineTool::DrawParallel(CDC* dc, POINT p1, POINT p2) {
  if ((p1.x == 0 && p1.y == 0) || (p2.x == 0 && p2.y == 0)) return;
  int m = kParallelGap;
  POINT p3{};
  if (m_bHasThird) {
    p3 = ScreenPoint(2);
    if (m_bMoving) p3 = Shift(p3, m_offset);
    const auto length = [](POINT a, POINT b) {
      return std::sqrt(static_cast<float>(a.x - b.x) * (a.x - b.x) +
                       static_cast<float>(a.y - b.y) * (a.y - b.y));
    };
    const float a = length(p1, p2), b = length(p1, p3), c = length(p2, p3);
    const float s = (a + b + c) / 2;
    const float area = std::sqrt(std::max(0.0f, s * (s - a) * (s - b) * (s - c)));
    m = static_cast<int>(2 * area / a);
    if (p1.x != p2.x) {
      const double lineY = p1.y + static_cast<double>(p3.x - p1.x) * (p2.y - p1.y) / (p2.x - p1.x);
      if (p3.y > lineY) m = -m;
    } else if (p3.x < p1.x) {
      m = -m;
    }
  }
  POINT q1 = p1, q2 = p2;
  if (p1.y == p2.y) {
    q1.y -= m;
    q2.y -= m;
  } else if (p1.x == p2.x) {
    q1.x += m;
    q2.x += m;
  } else {
    const float k = static_cast<float>(p1.y - p2.y) / static_cast<float>(p1.x - p2.x);
    const auto move = [&](POINT p) {
      const int x = static_cast<int>(k * m / std::sqrt(k * k + 1) + p.x);
      return POINT{x, static_cast<int>((p.x - x) / k + p.y)};
    };
    q1 = move(p1);
    q2 = move(p2);
  }
  if (!m_bHasThird) {
    // Drawn without a third point: the first moved end becomes it, kept
    // as an anchor so the second line follows the chart too.
    const POINT at = m_bMoving ? Shift(q1, POINT{-m_offset.x, -m_offset.y}) : q1;
    SetThird(at.x, at.y);
  }
  DrawAcross(dc, p1, p2);
  DrawAcross(dc, q1, q2);
  if (m_nSelected != kNone)
    Handle(dc, m_bHasThird ? (m_bMoving ? Shift(ScreenPoint(2), m_offset) : ScreenPoint(2)) : q1);
}

void CDrawLineTool::DrawGann(CDC* dc, POINT p1, POINT p2) const {
  if (p1.x == p2.x || p1.y == p2.y) return;
  const RECT& c = m_rcClip;
  dc->Rectangle(p1.x, p1.y, p2.x, p2.y);
  Segment(dc, p1.x, p1.y, p2.x, p2.y);
  const int qx = (p2.x - p1.x) / 4, qy = (p2.y - p1.y) / 4;
  const int edgeX = p2.x < p1.x ? c.left : c.right;
  const int edgeY = p2.y < p1.y ? c.top : c.bottom;
  for (int i = 1; i <= 3; ++i) {
    const int hy = p1.y + i * qy;
    Segment(dc, p1.x, hy, p2.x, hy);
    int ry = p1.y + static_cast<int>(static_cast<int64_t>(edgeX - p1.x) * i * qy / (p2.x - p1.x));
    ry = std::clamp(ry, static_cast<int>(c.top), static_cast<int>(std::max(c.top, c.bottom)));
    Segment(dc, p1.x, p1.y, edgeX, ry);
    const int vx = p1.x + i * qx;
    Segment(dc, vx, p1.y, vx, p2.y);
    int rx = p1.x + static_cast<int>(static_cast<int64_t>(edgeY - p1.y) * i * qx / (p2.y - p1.y));
    rx = std::clamp(rx, static_cast<int>(c.left), static_cast<int>(std::max(c.left, c.right)));
    Segment(dc, p1.x, p1.y, rx, edgeY);
  }
}

void CDrawLineTool::Draw(CDC* dc) {
  if (!m_bHasEnd) return;
  RefreshClip();
  POINT p1 = ScreenPoint(0), p2 = ScreenPoint(1);
  if (Same(p1, p2)) return;
  if (m_bMoving) {
    p1 = Shift(p1, m_offset);
    p2 = Shift(p2, m_offset);
  }
  if (!PtInRect(m_rcClip, p1) && !PtInRect(m_rcClip, p2)) return;
  // An end may lie off the plot (its bar scrolled out of view): the figure
  // is cut at the plot's edges, which it may touch on every side.
  const int saved = dc->SaveDC();
  dc->IntersectClipRect(m_rcClip.left, m_rcClip.top, m_rcClip.right + 1, m_rcClip.bottom + 1);
  CPen pen(PS_SOLID, 1, m_color);
  CPen* oldPen = dc->SelectObject(&pen);
  CGdiObject* oldBrush = dc->SelectStockObject(NULL_BRUSH);
  switch (m_nKind) {
    case kLine: Segment(dc, p1.x, p1.y, p2.x, p2.y); break;
    case kRectangle: dc->Rectangle(p1.x, p1.y, p2.x, p2.y); break;
    case kParallel: DrawParallel(dc, p1, p2); break;
    case kGolden: {
      const int e = static_cast<int>((p2.y - p1.y) * 0.618);
      for (int y : {p1.y, p1.y + e, p2.y - e, (p1.y + p2.y) / 2, p2.y})
        Segment(dc, p1.x, y, p2.x, y);
      break;
    }
    case kGann: DrawGann(dc, p1, p2); break;
    default: break;
  }
  dc->SelectObject(oldBrush);
  dc->SelectObject(oldPen);
  dc->RestoreDC(saved);
  if (m_nSelected != kNone) {
    for (POINT end : {p1, p2})
      if (Inside(m_rcClip, end.x, end.y)) Handle(dc, end);
  }
}
