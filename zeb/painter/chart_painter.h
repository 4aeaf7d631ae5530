// The drawing primitives a chart picture or a chart's table issues. They
// paint through this small interface: the device-context painter draws
// them with the window layer's CDC (on screen or into a memory DC), and
// tests put a recording painter in its place to check what is drawn rather
// than pixels. Every pen, brush and font a call needs is given with the
// call, so nothing stays selected after a picture returns.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "platform/types.h"

struct SPenSpec {
  int style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
  bool operator==(const SPenSpec&) const = default;
};

// A fill colour meaning "hollow" (no fill).
constexpr COLORREF kHollow = 0xFFFFFFFF;

class CChartPainter {
 public:
  virtual ~CChartPainter() = default;
  // A line from (x1, y1) up to, not including, (x2, y2).
  virtual void Line(int x1, int y1, int x2, int y2, const SPenSpec& pen) = 0;
  virtual void Polyline(const POINT* points, int count, const SPenSpec& pen) = 0;
  // Outline with the pen, inside filled unless fill is kHollow.
  virtual void Rect(const RECT& rect, const SPenSpec& pen, COLORREF fill) = 0;
  virtual void Fill(const RECT& rect, COLORREF color) = 0;
  // One text in the box with DrawText's format bits, transparent background.
  virtual void Text(const std::string& text, const RECT& box, UINT format, COLORREF color,
                    CFont* font) = 0;
  virtual SIZE TextExtent(const std::string& text, CFont* font) = 0;
  // Lines and shapes invert what is below while on (crosshair, zoom box).
  virtual void SetInvert(bool on) = 0;
  // Whether anything drawn inside the rectangle can show: a painter that
  // draws only over some areas says no for the rest, so a part of a
  // picture lying wholly elsewhere need not even be laid out.
  virtual bool Reaches(const RECT& rect) const { return true; }
  // The columns from left to right that the areas meeting the rectangle
  // span (none: left > right); false when the painter draws everywhere.
  virtual bool ReachedColumns(const RECT& within, int* left, int* right) const { return false; }
};

// Draws on a CDC; restores the DC's pen, brush, font, colours and modes
// when it ends.
class CDCPainter : public CChartPainter {
 public:
  explicit CDCPainter(CDC* dc);
  ~CDCPainter() override;
  CDCPainter(const CDCPainter&) = delete;
  CDCPainter& operator=(const CDCPainter&) = delete;

  void Line(int x1, int y1, int x2, int y2, const SPenSpec& pen) override;
  void Polyline(const POINT* points, int count, const SPenSpec& pen) override;
  void Rect(const RECT& rect, const SPenSpec& pen, COLORREF fill) override;
  void Fill(const RECT& rect, COLORREF color) override;
  void Text(const std::string& text, const RECT& box, UINT format, COLORREF color,
            CFont* font) override;
  SIZE TextExtent(const std::string& text, CFont* font) override;
  void SetInvert(bool on) override;

 private:
  void UsePen(const SPenSpec& pen);
  void UseBrush(COLORREF fill);
  void UseFont(CFont* font);

  CDC* m_pDC;
  int m_nSaved;
  // Pens and brushes made during this paint, reused by colour.
  std::vector<std::pair<SPenSpec, std::unique_ptr<CPen>>> m_pens;
  std::vector<std::pair<COLORREF, std::unique_ptr<CBrush>>> m_brushes;
  const SPenSpec* m_pCurrentPen = nullptr;
  COLORREF m_nCurrentBrush = 0xFFFFFFFE;
  CFont* m_pCurrentFont = nullptr;
};

// The one conversion of computed coordinates to pixels: truncates toward
// zero, gives 0 for NaN and stays within +-1e9 (well away from the INT_MAX
// that marks a missing row), so no overflow or undefined cast can occur.
int ToPixel(double v);
