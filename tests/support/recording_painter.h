// A painter that records the primitives a chart picture or a chart's table
// issues instead of drawing them, so tests check what is drawn (which line,
// which colour, which text) rather than pixels. Text extents are fixed (6
// pixels a byte, 12 high), so layouts computed from them are the same on
// every machine.
#pragma once
#include <string>
#include <vector>

#include "zeb/painter/chart_painter.h"

namespace test_support {

struct SDrawn {
  enum class Kind { kLine, kPolyline, kRect, kFill, kText };
  Kind kind;
  RECT rect{};                // line: (x1, y1, x2, y2); rect, fill, text: the box
  std::vector<POINT> points;  // polyline
  SPenSpec pen;
  COLORREF fill = kHollow;  // rect fill, fill colour, text colour
  std::string text;
  bool inverted = false;
  UINT format = 0;        // text: DrawText's format bits
  CFont* font = nullptr;  // text
};

class RecordingPainter : public CChartPainter {
 public:
  std::vector<SDrawn> drawn;

  void Line(int x1, int y1, int x2, int y2, const SPenSpec& pen) override {
    drawn.push_back({SDrawn::Kind::kLine, RECT{x1, y1, x2, y2}, {}, pen, kHollow, {}, invert_});
  }
  void Polyline(const POINT* points, int count, const SPenSpec& pen) override {
    if (count < 2) return;
    drawn.push_back({SDrawn::Kind::kPolyline,
                     {},
                     std::vector<POINT>(points, points + count),
                     pen,
                     kHollow,
                     {},
                     invert_});
  }
  void Rect(const RECT& rect, const SPenSpec& pen, COLORREF fill) override {
    drawn.push_back({SDrawn::Kind::kRect, rect, {}, pen, fill, {}, invert_});
  }
  void Fill(const RECT& rect, COLORREF color) override {
    drawn.push_back({SDrawn::Kind::kFill, rect, {}, {}, color, {}, invert_});
  }
  void Text(const std::string& text, const RECT& box, UINT format, COLORREF color,
            CFont* font) override {
    drawn.push_back({SDrawn::Kind::kText, box, {}, {}, color, text, invert_, format, font});
  }
  SIZE TextExtent(const std::string& text, CFont*) override {
    return SIZE{static_cast<int32_t>(6 * text.size()), 12};
  }
  void SetInvert(bool on) override { invert_ = on; }

  std::vector<SDrawn> Of(SDrawn::Kind kind) const {
    std::vector<SDrawn> out;
    for (const SDrawn& d : drawn)
      if (d.kind == kind) out.push_back(d);
    return out;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const SDrawn& d : drawn)
      if (d.kind == SDrawn::Kind::kText) out.push_back(d.text);
    return out;
  }

 private:
  bool invert_ = false;
};

}  // namespace test_support
