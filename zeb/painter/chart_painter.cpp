// The device-context painter: the chart primitives on a CDC, with the pens
// and brushes of one paint made once and reused.
#include "zeb/painter/chart_painter.h"

#include <cmath>

int ToPixel(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 1e9) return 1000000000;
  if (v <= -1e9) return -1000000000;
  return static_cast<int>(v);
}

CDCPainter::CDCPainter(CDC* dc) : m_pDC(dc), m_nSaved(dc->SaveDC()) { dc->SetBkMode(TRANSPARENT); }

CDCPainter::~CDCPainter() {
  if (m_nSaved) m_pDC->RestoreDC(m_nSaved);
}

void CDCPainter::UsePen(const SPenSpec& pen) {
  if (m_pCurrentPen && *m_pCurrentPen == pen) return;
  for (auto& [style, obj] : m_pens)
    if (style == pen) {
      m_pDC->SelectObject(obj.get());
      m_pCurrentPen = &style;
      return;
    }
  m_pens.emplace_back(pen, std::make_unique<CPen>(pen.style, pen.width, pen.color));
  m_pDC->SelectObject(m_pens.back().second.get());
  m_pCurrentPen = &m_pens.back().first;
}

void CDCPainter::UseBrush(COLORREF fill) {
  if (fill == m_nCurrentBrush) return;
  m_nCurrentBrush = fill;
  if (fill == kHollow) {
    m_pDC->SelectStockObject(HOLLOW_BRUSH);
    return;
  }
  for (auto& [color, obj] : m_brushes)
    if (color == fill) {
      m_pDC->SelectObject(obj.get());
      return;
    }
  m_brushes.emplace_back(fill, std::make_unique<CBrush>(fill));
  m_pDC->SelectObject(m_brushes.back().second.get());
}

void CDCPainter::UseFont(CFont* font) {
  if (font == m_pCurrentFont) return;
  m_pCurrentFont = font;
  m_pDC->SelectObject(font ? font : GetStockFont(DEFAULT_GUI_FONT));
}

void CDCPainter::Line(int x1, int y1, int x2, int y2, const SPenSpec& pen) {
  UsePen(pen);
  m_pDC->MoveTo(x1, y1);
  m_pDC->LineTo(x2, y2);
}

void CDCPainter::Polyline(const POINT* points, int count, const SPenSpec& pen) {
  if (count < 2) return;
  UsePen(pen);
  m_pDC->Polyline(points, count);
}

void CDCPainter::Rect(const RECT& rect, const SPenSpec& pen, COLORREF fill) {
  UsePen(pen);
  UseBrush(fill);
  m_pDC->Rectangle(&rect);
}

void CDCPainter::Fill(const RECT& rect, COLORREF color) { m_pDC->FillSolidRect(&rect, color); }

void CDCPainter::Text(const std::string& text, const RECT& box, UINT format, COLORREF color,
                      CFont* font) {
  UseFont(font);
  m_pDC->SetTextColor(color);
  RECT r = box;
  m_pDC->DrawText(text, &r, format);
}

SIZE CDCPainter::TextExtent(const std::string& text, CFont* font) {
  UseFont(font);
  return m_pDC->GetTextExtent(text);
}

void CDCPainter::SetInvert(bool on) { m_pDC->SetROP2(on ? R2_NOT : R2_COPYPEN); }
