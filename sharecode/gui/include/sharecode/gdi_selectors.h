// Select a pen, brush or font for the length of a drawing step and put
// the previous one back afterwards.
#pragma once
#include "platform/gdi.h"

class CPenSelector {
 public:
  // A solid pen of width 1 in the colour.
  CPenSelector(HDC dc, COLORREF color);
  ~CPenSelector();
  CPenSelector(const CPenSelector&) = delete;
  CPenSelector& operator=(const CPenSelector&) = delete;
  void SetColor(COLORREF color);

 private:
  CPen m_pen;
  HDC m_dc;
  CPen* m_oldPen = nullptr;
};

class CBrushSelector {
 public:
  // A solid brush in the colour; colour -1 selects the stock hollow brush.
  CBrushSelector(HDC dc, COLORREF color);
  ~CBrushSelector();
  CBrushSelector(const CBrushSelector&) = delete;
  CBrushSelector& operator=(const CBrushSelector&) = delete;
  void SetColor(COLORREF color);

 private:
  CBrush* Make(COLORREF color);

  CBrush m_brush;
  HDC m_dc;
  CBrush* m_oldBrush = nullptr;
};

class CFontSelector {
 public:
  enum : COLORREF { KEEP_TEXT_COLOR = 0xFF000000 };
  // The stock font of index stockFont & 0xFF; the text colour too unless
  // it is KEEP_TEXT_COLOR.
  CFontSelector(HDC dc, int stockFont, COLORREF textColor);
  ~CFontSelector();
  CFontSelector(const CFontSelector&) = delete;
  CFontSelector& operator=(const CFontSelector&) = delete;

 private:
  CFont* m_font;
  HDC m_dc;
  CFont* m_oldFont = nullptr;
  COLORREF m_oldTextColor = (COLORREF)-1;  // -1: unchanged
};
