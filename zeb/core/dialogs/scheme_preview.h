// CSchemePreview: the settings page's working copies of the current
// scheme's colours and fonts and the sample screen painted from them
// (title, chart area with candles, indicator legend, a two-row quote table
// and font samples). The scheme itself is untouched until SaveColors and
// SaveFonts, which the dialog calls on 确定 only; dropping the object
// drops every change. A colour id missing from the copies paints as -1.
// The window that shows it (CColorDefPic) repaints on OnChanged.
#pragma once
#include <vector>

#include "platform/gdi.h"
#include "platform/types.h"
#include "zeb/scheme/sys_style.h"

// Where the sample's parts lie in a client rectangle, in pixels; the
// paint uses these, and tests look at the pixels there.
struct SPreviewLayout {
  int titleHeight = 0;                // h: text height of "大标题"
  RECT titleText{}, highlight{};      // "大标题" and the "高亮背景色" box
  int axisLeft = 0, axisRight = 0;    // A and X
  int chartTop = 0, chartBottom = 0;  // Y0 and Y1
  int candleWidth = 0;                // width of "阴线"
  int candleLeft[3] = {};             // each sample's left edge
  int bodyTop = 0, bodyBottom = 0;    // y' + 8 and Y0 + 76
  int legendLeft = 0;                 // x0
  int legendLineY[8] = {};            // volume, then indicators 1 to 7
  RECT cells[2][5] = {};              // the quote table
  int fontRow1 = 0, fontRow2 = 0;     // y1 and y2
};

class CSchemePreview {
 public:
  // Takes the copies from the scheme (which must be loaded).
  CSchemePreview();
  virtual ~CSchemePreview();
  CSchemePreview(const CSchemePreview&) = delete;
  CSchemePreview& operator=(const CSchemePreview&) = delete;

  // The scheme's colours again: unsaved colour changes are dropped.
  void ReloadColors();
  // New fonts made from the scheme's font entries; the old ones deleted.
  void ReloadFonts();
  // The working colour of the id; CLR_INVALID (-1) when none.
  COLORREF GetColor(int id) const;
  // The first working entry with the id takes the colour.
  void SetColor(int id, COLORREF color);
  // The working font entry with the id; else the first; null when none.
  const SFontEntry* FindFont(int id) const;
  // The working entry with the entry's id takes its size, style and face
  // and a new font made from them.
  void SetFont(const SFontEntry& entry);
  void FreeFonts();
  // Into the current scheme (its lists and files); the scheme's answer.
  int SaveColors();
  int SaveFonts();

  const std::vector<SColorEntry>& Colors() const { return m_colors; }
  const std::vector<SFontEntry>& Fonts() const { return m_fonts; }

  // The sample's geometry on the client rectangle, measured with dc.
  SPreviewLayout Layout(CDC* dc, const RECT& client) const;
  // Paints the sample off screen and copies it to dc at the client's
  // top-left corner.
  void Paint(CDC* dc, const RECT& client) const;

 protected:
  // A copy changed: the window repaints.
  virtual void OnChanged() {}

 private:
  void PaintSample(CDC* dc, const RECT& client) const;

  std::vector<SColorEntry> m_colors;
  std::vector<SFontEntry> m_fonts;  // each font owned here
};
