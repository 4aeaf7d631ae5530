// CBasePic: what every picture of the K-line chart shares. It holds the
// value range and its mapping to pixel rows, the x of each visible bar
// (lent by the chart object), the table of output lines with their rows,
// and the drawing primitives (frame, axis, value and percentage grids,
// polylines, sticks). Rows are computed through ToPixel, so no value ever
// overflows a pixel coordinate, and 2147483648.0 / INT_MAX mark no value.
#pragma once
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "platform/types.h"
#include "zeb/painter/chart_painter.h"
#include "zeb/charts/pictures/chart_types.h"

// The record DrawYAxis takes.
struct SAxisSpec {
  RECT rect{};
  int lines = 0;
  int style = 0;
  COLORREF gridColor = 0, labelColor = 0, aboveColor = 0, belowColor = 0;
  const int* verticals = nullptr;  // bar indexes of vertical lines
  int verticalCount = 0;
  int highlighted = -1;
};

// A colour of the current scheme, by its number.
COLORREF SchemeColor(int id);

class CBasePic {
 public:
  CBasePic() = default;
  virtual ~CBasePic() = default;
  CBasePic(const CBasePic&) = delete;
  CBasePic& operator=(const CBasePic&) = delete;

  virtual int SetData(const SKLineRange* range) = 0;
  // Stores the point; 1 inside the plot rectangle.
  virtual int HitTest(int x, int y);
  virtual const RECT* SetRect(int left, int top, int right, int bottom);
  virtual int OnMouse(int x, int y) { return 0; }
  virtual int ClearInterval() { return 0; }
  virtual void SetXPositions(const int* positions, int count);
  virtual void SetCursorIndex(int index) { m_nCursor = index; }
  // -1.0 outside the plot.
  virtual float ValueAtY(int y) const;
  virtual void DrawFrame(CChartPainter& p);
  virtual void DrawYAxis(CChartPainter& p, const SAxisSpec& axis);
  virtual void DrawBars(CChartPainter& p, int width, const int* rows, int n, COLORREF up,
                        COLORREF down, float base);
  virtual void DrawValueGrid(CChartPainter& p, const RECT& rect, const float* values, int n,
                             int style, COLORREF line, COLORREF label);
  virtual void DrawPercentGrid(CChartPainter& p, const RECT& rect, const float* values, int n,
                               int style, COLORREF line, COLORREF label, float reference);
  virtual void DrawLines(CChartPainter& p, int width, COLORREF color, const int* rows, int n,
                         int marks);
  virtual int Paint(CChartPainter& p) = 0;
  // Chooses the visible bars whose candles, lines and sticks can show
  // through the painter: all, unless it draws only over a few columns of
  // the plot (a line picked shows its marks: all of them then).
  void ChooseDrawnBars(CChartPainter& p, bool marks);
  // Paints through the window layer's device context.
  int Paint(CDC* dc);

  CFont* SetFont(CFont* font);
  // Range update in thousandths (64-bit), so the range is quantised to 0.001.
  void UpdateMinMax(float* minimum, float* maximum, const float* values, int count,
                    int fresh) const;
  int ValueToY(float value) const;
  void AllocOutputs(int barCount);
  void FreeOutputs();

  float GetMax() const { return m_fMax; }
  float GetMin() const { return m_fMin; }
  const RECT& GetPlotRect() const { return m_rcPlot; }
  const RECT& GetPictureRect() const { return m_rcPicture; }
  int GetOutputCount() const { return m_nOutputs; }
  const std::vector<float>& Output(int i) const { return m_outValues[static_cast<size_t>(i)]; }
  const std::vector<int>& OutputRows(int i) const { return m_outRows[static_cast<size_t>(i)]; }
  int OutputRowsCount() const { return static_cast<int>(m_outRows.size()); }
  int GetDecimals() const { return m_nDecimals; }
  float GetVerticalScale() const { return m_fScale; }
  void SetVerticalScale(float scale) { m_fScale = scale; }

 protected:
  // Right-aligned label against left - 2, centred on y, kept inside the
  // picture; a label that would overlap the one drawn before it in the same
  // grid (last, empty at the first) is left out. Updates last.
  void DrawLabel(CChartPainter& p, const std::string& text, int left, int y, COLORREF color,
                 CFont* font, RECT* last);

  int m_nDecimals = 0;
  float m_fMax = 0.0f;
  float m_fMin = 0.0f;
  const int* m_pX = nullptr;
  int m_nXCount = 0;
  POINT m_ptLast{};
  int m_nCursor = -1;
  int m_nGridLines = 0;
  int m_nBarCount = 0;
  RECT m_rcPlot{};
  RECT m_rcPicture{};
  int m_nCandleWidth = 0;
  CFont* m_pLabelFont = nullptr;
  std::vector<std::vector<float>> m_outValues;
  std::vector<std::vector<int>> m_outRows;
  int m_nOutputs = 0;
  std::vector<int> m_styles;
  std::vector<int> m_params;
  std::vector<COLORREF> m_colors;
  int m_nParams = 0;
  float m_fScale = 1.0f;
  // The visible bars drawn (relative indexes, from included, end not).
  int m_nFromBar = 0;
  int m_nEndBar = INT_MAX;
};

// The label format "%.<decimals>f".
std::string DecimalsFormat(int decimals);
std::string FormatFixed(double value, int decimals);
