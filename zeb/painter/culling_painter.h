// A painter that passes on only the primitives that can touch some of a
// few rectangles. A chart redrawn under a clip of those rectangles through it
// gives the same pixels there as a full paint, while the thousands of
// candles and segments elsewhere cost a bounds test each instead of a
// rasterisation. A text drawn with clipping goes on when its box meets an
// area; one drawn without (DT_NOCLIP) always does, its ink may overflow the
// box; the device's clip bounds them.
#pragma once
#include <vector>

#include "zeb/painter/chart_painter.h"

class CCullingPainter : public CChartPainter {
 public:
  CCullingPainter(CChartPainter& target, std::vector<RECT> areas)
      : m_target(target), m_areas(std::move(areas)) {}

  void Line(int x1, int y1, int x2, int y2, const SPenSpec& pen) override;
  void Polyline(const POINT* points, int count, const SPenSpec& pen) override;
  void Rect(const RECT& rect, const SPenSpec& pen, COLORREF fill) override;
  void Fill(const RECT& rect, COLORREF color) override;
  void Text(const std::string& text, const RECT& box, UINT format, COLORREF color,
            CFont* font) override;
  SIZE TextExtent(const std::string& text, CFont* font) override;
  void SetInvert(bool on) override;
  bool Reaches(const RECT& rect) const override;
  bool ReachedColumns(const RECT& within, int* left, int* right) const override;

 private:
  // The box from (x1, y1) to (x2, y2) widened by the pen meets an area.
  bool Meets(int x1, int y1, int x2, int y2, int penWidth) const;

  CChartPainter& m_target;
  std::vector<RECT> m_areas;
};

// Cuts each of the areas to the bounds and drops those left empty: the
// areas a chart or a panel hands to a painter's culling, kept inside itself.
void ClipAreasTo(std::vector<RECT>& areas, const RECT& bounds);
