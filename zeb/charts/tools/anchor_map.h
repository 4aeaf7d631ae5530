// CAnchorMap: the mapping between screen points and (date, value) anchors
// of a K-line picture, from what the picture knows when it paints: the bar
// dates, the first visible bar, the x position of each visible bar, the
// candle width, the plot rectangle and the value range. Dates past the
// last bar continue one bar step per date unit, so a figure drawn into
// the empty space right of the last bar keeps its place.
//
// Guarded where the arithmetic would fail: no bars, one visible bar (no
// bar step to extend with), a plot without height, an empty value range.
#pragma once
#include <vector>

#include "zeb/charts/tools/tool_canvas.h"

class CAnchorMap : public CToolCanvas {
 public:
  struct SView {
    std::vector<int32_t> dates;  // every bar's date word, oldest first
    int first = 0;               // first visible bar
    std::vector<int> xs;         // left x of each visible bar
    int candleWidth = 0;
    RECT plot{};
    float minimum = 0.0f;
    float maximum = 0.0f;
    float verticalScale = 1.0f;
  };

  void SetView(SView view) { m_view = std::move(view); }
  // The newest bar's date moved on (a tick of minute bars).
  void SetLastDate(int32_t date) {
    if (!m_view.dates.empty()) m_view.dates.back() = date;
  }
  const SView& View() const { return m_view; }

  RECT GetPlotRect() const override { return m_view.plot; }
  SToolAnchor ScreenToAnchor(POINT point) const override;
  POINT AnchorToScreen(const SToolAnchor& anchor) const override;
  // The row of a value: clamped to the plot, the plot top for an empty range.
  int ValueToY(float value) const;

 private:
  SView m_view;
};
