// CFramedChartTable: the base of the small tables the charts lay over
// themselves, the interval statistics and the cursor boxes. Such a table
// draws the way the chart pictures do, through a CChartPainter: its
// background, each cell's fill, text and borders where CBaseTable places
// them, and round the whole a frame in the scheme's frame colour. It has
// no header, images or selected row (the charts' boxes show none), so
// nothing it draws needs the device context itself; Draw(CDC*) is the
// device-context painter over the same primitives.
#pragma once
#include "zeb/painter/chart_painter.h"
#include "zeb/tables/base/base_table.h"

class CFramedChartTable : public CBaseTable {
 public:
  // Paints through a painter over the device context; 0 without one.
  int Draw(CDC* dc) final;
  // The rows of the page and the frame, in the order they cover each
  // other: background, then each cell's fill, text and borders, then the
  // frame.
  virtual void Paint(CChartPainter& painter);
};
