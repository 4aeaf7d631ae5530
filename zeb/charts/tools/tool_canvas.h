// What a drawing tool needs of the chart picture it is drawn on: the plot
// rectangle and the mapping between screen points and (bar date, value)
// anchors. The K-line picture implements it (CAnchorMap holds the
// arithmetic from the picture's bars, x positions and value range), so the
// tools follow the chart when it scrolls or zooms.
#pragma once
#include <cstdint>

#include "platform/types.h"

// A point of a drawn figure: a bar date and a price value.
struct SToolAnchor {
  int32_t date = 0;
  float value = 0.0f;
  bool operator==(const SToolAnchor&) const = default;
};

class CToolCanvas {
 public:
  virtual ~CToolCanvas() = default;
  virtual RECT GetPlotRect() const = 0;
  virtual SToolAnchor ScreenToAnchor(POINT point) const = 0;
  virtual POINT AnchorToScreen(const SToolAnchor& anchor) const = 0;
};
