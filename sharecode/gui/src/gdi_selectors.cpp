#include "sharecode/gdi_selectors.h"

CPenSelector::CPenSelector(HDC dc, COLORREF color) : m_dc(dc) {
  m_pen.CreatePen(PS_SOLID, 1, color);
  if (m_dc) m_oldPen = m_dc->SelectObject(&m_pen);
}

void CPenSelector::SetColor(COLORREF color) {
  if (m_dc && m_oldPen) m_dc->SelectObject(m_oldPen);
  m_pen.DeleteObject();
  m_pen.CreatePen(PS_SOLID, 1, color);
  if (m_dc) m_dc->SelectObject(&m_pen);
}

CPenSelector::~CPenSelector() {
  if (m_dc && m_oldPen) m_dc->SelectObject(m_oldPen);
  m_pen.DeleteObject();
}

CBrush* CBrushSelector::Make(COLORREF color) {
  if (color == (COLORREF)-1) return static_cast<CBrush*>(GetStockObject(HOLLOW_BRUSH));
  m_brush.CreateSolidBrush(color);
  return &m_brush;
}

CBrushSelector::CBrushSelector(HDC dc, COLORREF color) : m_dc(dc) {
  CBrush* brush = Make(color);
  if (m_dc) m_oldBrush = m_dc->SelectObject(brush);
}

void CBrushSelector::SetColor(COLORREF color) {
  if (m_dc && m_oldBrush) m_dc->SelectObject(m_oldBrush);
  m_brush.DeleteObject();
  CBrush* brush = Make(color);
  if (m_dc) m_dc->SelectObject(brush);
}

CBrushSelector::~CBrushSelector() {
  if (m_dc && m_oldBrush) m_dc->SelectObject(m_oldBrush);
  m_brush.DeleteObject();
}

CFontSelector::CFontSelector(HDC dc, int stockFont, COLORREF textColor)
    : m_font(GetStockFont(stockFont & 0xFF)), m_dc(dc) {
  if (!m_dc) return;
  m_oldFont = m_dc->SelectObject(m_font);
  if (textColor != KEEP_TEXT_COLOR) m_oldTextColor = m_dc->SetTextColor(textColor);
}

CFontSelector::~CFontSelector() {
  if (!m_dc) return;
  if (m_oldFont) m_dc->SelectObject(m_oldFont);
  // The selected font is a stock font: it is never deleted.
  if (m_oldTextColor != (COLORREF)-1) m_dc->SetTextColor(m_oldTextColor);
}
