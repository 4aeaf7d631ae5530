// The culling painter: bounds tests in front of another painter.
#include "zeb/painter/culling_painter.h"

#include <algorithm>
#include <climits>

bool CCullingPainter::Meets(int x1, int y1, int x2, int y2, int penWidth) const {
  // The box taken with its far edges (which a line or rectangle leaves
  // out) and half the pen around it holds all the ink; no more, or every
  // stick of a pane would meet the title band of the pane below.
  const int margin = std::max(0, penWidth / 2);
  const long long left = std::min(x1, x2) - margin, right = std::max(x1, x2) + margin;
  const long long top = std::min(y1, y2) - margin, bottom = std::max(y1, y2) + margin;
  for (const RECT& a : m_areas)
    if (right >= a.left && left < a.right && bottom >= a.top && top < a.bottom) return true;
  return false;
}

void CCullingPainter::Line(int x1, int y1, int x2, int y2, const SPenSpec& pen) {
  if (!Meets(x1, y1, x2, y2, pen.width)) return;
  if (y1 == y2 && x1 < x2) {
    // A level line across the chart (a grid line) is cut down to the
    // columns the areas it meets span: dotted ones cost a stroke of every
    // pixel else. The start moves by whole periods of every dash pattern,
    // so the dots keep their places; the new end lies beyond the areas.
    const int margin = std::max(0, pen.width / 2);
    long long lo = x2, hi = x1;
    for (const RECT& a : m_areas)
      if (y1 + margin >= a.top && y1 - margin < a.bottom) {
        lo = std::min<long long>(lo, a.left - margin);
        hi = std::max<long long>(hi, a.right + margin);
      }
    const long long period = 36LL * std::max(1, pen.width);
    if (lo - x1 > period) x1 += static_cast<int>((lo - x1) / period * period - period);
    if (hi + 2 < x2) x2 = static_cast<int>(hi + 2);
  }
  m_target.Line(x1, y1, x2, y2, pen);
}

void CCullingPainter::Polyline(const POINT* points, int count, const SPenSpec& pen) {
  // Runs of consecutive segments that meet an area go on whole; a point
  // shared with a left-out segment lies outside the areas, so how the run
  // ends there cannot show.
  int start = -1;
  for (int i = 0; i + 1 < count; ++i) {
    const bool meets = Meets(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y, pen.width);
    if (meets && start < 0) start = i;
    if (!meets && start >= 0) {
      m_target.Polyline(points + start, i - start + 1, pen);
      start = -1;
    }
  }
  if (start >= 0) m_target.Polyline(points + start, count - start, pen);
}

void CCullingPainter::Rect(const RECT& rect, const SPenSpec& pen, COLORREF fill) {
  if (Meets(rect.left, rect.top, rect.right, rect.bottom, pen.width))
    m_target.Rect(rect, pen, fill);
}

void CCullingPainter::Fill(const RECT& rect, COLORREF color) {
  if (Meets(rect.left, rect.top, rect.right, rect.bottom, 0)) m_target.Fill(rect, color);
}

void CCullingPainter::Text(const std::string& text, const RECT& box, UINT format, COLORREF color,
                           CFont* font) {
  // A text drawn with clipping keeps its ink inside its box; one without may
  // overflow it anywhere and always goes on.
  if ((format & DT_NOCLIP) || Meets(box.left, box.top, box.right - 1, box.bottom - 1, 0))
    m_target.Text(text, box, format, color, font);
}

SIZE CCullingPainter::TextExtent(const std::string& text, CFont* font) {
  return m_target.TextExtent(text, font);
}

void CCullingPainter::SetInvert(bool on) { m_target.SetInvert(on); }

bool CCullingPainter::ReachedColumns(const RECT& within, int* left, int* right) const {
  *left = INT_MAX;
  *right = INT_MIN;
  for (const RECT& a : m_areas)
    if (within.left < a.right && a.left < within.right && within.top < a.bottom &&
        a.top < within.bottom) {
      *left = std::min<int>(*left, a.left);
      *right = std::max<int>(*right, a.right);
    }
  return true;
}

bool CCullingPainter::Reaches(const RECT& rect) const {
  return std::any_of(m_areas.begin(), m_areas.end(), [&](const RECT& a) {
    return rect.left < a.right && a.left < rect.right && rect.top < a.bottom && a.top < rect.bottom;
  });
}

void ClipAreasTo(std::vector<RECT>& areas, const RECT& bounds) {
  for (RECT& r : areas) IntersectRect(r, r, bounds);
  areas.erase(
      std::remove_if(areas.begin(), areas.end(), [](const RECT& r) { return IsRectEmpty(r); }),
      areas.end());
}
