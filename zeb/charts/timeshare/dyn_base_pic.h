// CDynBasePic: what the time-share chart's price and volume pictures share.
// It maps point indices (one per trading minute) to x, draws the grid with
// its value and percentage labels and the vertical cursor. Pictures own no
// window: they prepare their pixel arrays (grid rows, line segments, bars)
// when their data, size or format change, and their paint only issues
// those through the chart painter it is handed, so they draw into memory
// DCs and test headless with a recording painter.
//
// Rectangles keep Win32's exclusive right and bottom edges: a plot W pixels
// wide spans x = left .. left + W - 1 for hit testing, and the last point of
// the series sits on the right edge itself (drawn one pixel to its left).
#pragma once
#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "platform/types.h"
#include "zeb/painter/chart_painter.h"

// The minutes of the day's vertical grid lines, and the one drawn strong
// (the midday break).
constexpr int kGridPoints[] = {0, 30, 60, 90, 120, 150, 180, 210};
constexpr int kStrongPoint = 120;

// A point without a value in the price picture.
constexpr int32_t kNoPrice = INT_MAX;

// A prepared line from (x1, y1) up to, not including, (x2, y2).
struct SDynSegment {
  int x1, y1, x2, y2;
  bool operator==(const SDynSegment&) const = default;
};

// What a picture is given to draw. The arrays are the caller's and must
// stay valid until the next SetData: {price, average or null, second
// item's price or null, second item's previous close or null} for the
// price picture, {volume, price} for the volume picture.
struct SDynPicData {
  int32_t count = 0;  // points holding data
  int32_t reserved = 0;
  int32_t preClose = 0;  // thousandths
  int32_t upper = 0;     // price bounds of the day, thousandths
  int32_t lower = 0;
  int32_t valueSlots = 4;
  const int32_t* values[4] = {};
};

class CDynBasePic {
 public:
  static constexpr int kDefaultPoints = 242;

  CDynBasePic() = default;
  virtual ~CDynBasePic() = default;
  CDynBasePic(const CDynBasePic&) = delete;
  CDynBasePic& operator=(const CDynBasePic&) = delete;

  // The point under x, -1 outside the plot.
  virtual int IndexAtX(int x, int y) const;
  // Recomputes the pixel arrays of the data (nothing in the base).
  virtual void Recalc() {}
  // Rebuilds the x of every point across the plot and the pixel arrays.
  virtual void SetPointCount(int count);
  virtual int SetData(const SDynPicData& data) = 0;
  // Remembers the point; whether it lies in the plot.
  virtual BOOL HitTest(int x, int y);
  virtual int Paint(CChartPainter& painter) = 0;
  // Runs after a picture painted (nothing here).
  virtual void AfterPaint(CChartPainter& painter) {}
  virtual void SetRect(int left, int top, int right, int bottom);
  virtual void SetGridSpacing(int pixels) { m_nRowSpacing = pixels > 0 ? pixels : 1; }
  // The vertical cursor at the cursor point, inverting what is below.
  virtual void DrawCursor(CChartPainter& painter);

  void SetCursorIndex(int index) { m_nCursor = index; }
  // The labels' decimals and unit; the grid's labels are made again.
  void SetFormat(int decimals, int divisor);

  int GetPointCount() const { return m_nPoints; }
  int GetDataCount() const { return m_nDataCount; }
  int GetCursorIndex() const { return m_nCursor; }
  int GetTop() const { return m_nTop; }
  int GetBottom() const { return m_nBottom; }
  const RECT& GetPlotRect() const { return m_rcPlot; }
  const RECT& GetOuterRect() const { return m_rcOuter; }
  const std::vector<int>& GetXs() const { return m_arX; }
  // Grid rows the plot height gives: height / spacing + 1, at least 2.
  int GetRows() const;
  // What the points first .. last can touch: their column of the plot from
  // the point before first (whose line reaches first) on, with the pens'
  // pixels around it; empty when no such point is laid out.
  RECT PointsColumn(int first, int last) const;

  // The prepared grid: the plot's frame, the middle line of a price grid,
  // the rows with their labels and the vertical lines at fixed points.
  struct SGridRow {
    int y;
    bool line;            // a horizontal line (the frame draws the outer rows)
    int tone;             // +1 above the middle row, -1 below, 0 neutral
    std::string value;    // left of the plot, right-aligned
    std::string percent;  // right of the plot (price grids), or empty
  };
  struct SGridLine {
    int x;
    bool solid;  // solid, else dotted
  };
  struct SGrid {
    bool shown = false;  // nothing without points or with one row
    bool middleLine = false;
    int middleY = 0;
    bool rowsShown = false;  // a price grid of an even row count has its frame only
    std::vector<SGridRow> rows;
    std::vector<SGridLine> vlines;
  };
  const SGrid& Grid() const { return m_grid; }

 protected:
  enum GridKind { kPriceGrid = 0, kPriceGridNoRight = 2, kVolumeGrid = 3, kSkipFirstRow = 4 };
  struct SGridShape {
    int bottom, top, rows, kind;
    const int* vlines;
    int vlineCount;
    int strong;
  };
  struct SGridColors {
    COLORREF frame, neutral, up, down;
  };
  // Prepares the grid from the plot, the value range and the points' x;
  // nothing when none of them nor the labels' format changed since the
  // grid was last prepared (a pushed tick within the range).
  void PrepareGrid(const SGridShape& g);
  // Issues the prepared grid; percent labels only when asked.
  void DrawGrid(CChartPainter& painter, const SGridColors& colors, bool percents) const;
  // A value in the picture's unit rounded to the shown decimals.
  double Rounded(double value) const;
  void ApplyRect(const RECT& rect);
  // With the "no left axis" style the kept rectangle is used at paint
  // time, narrowed so the labels fit inside it; the pixel arrays are made
  // again only when that changes the plot.
  void SetRectDeferredImpl(int style, const RECT& rect, bool deferOnly);
  void ApplyDeferred(CChartPainter& painter, int style);
  // x of point i, kept left of the plot's right edge.
  int DrawnX(int i) const;

  int m_nDecimals = 0;
  int m_nDivisor = 1;
  int m_nTop = 1000;
  int m_nBottom = 0;
  std::vector<int> m_arX;
  int m_nPoints = kDefaultPoints;
  int m_nRowSpacing = 22;
  int m_nRows = 0;
  POINT m_ptHit{};
  int m_nCursor = -1;
  int m_nDataCount = 0;
  RECT m_rcOuter{};
  RECT m_rcPlot{};
  RECT m_rcDeferred{};
  SGrid m_grid;

 private:
  // What the grid was last prepared from.
  struct SGridInputs {
    SGridShape shape;
    RECT plot;
    int points, decimals, divisor;
    bool operator==(const SGridInputs& o) const;
  };
  std::optional<SGridInputs> m_gridInputs;

  void LayoutPoints();
};
