// Pictures of the K-line chart in the running program: the chart view's
// technical-analysis page of one item (reached with F5 from its time-share
// page), on the simulator's history, as day
// lines, 60-minute lines and week lines (switched by the chart's period
// commands), zoomed in, with the cursor on a bar (moved there by the
// mouse, then one bar left by the Left key) and its cursor box, the box
// dragged over the chart, and with one figure of each drawing tool placed
// through the mouse; the pane and chart menus of a right click, the
// crosshair in a lower pane, KDJ on 5-minute bars and the panel's chip
// page beside the K-line; then back to the quote list. Reports what it
// saw, for the end-to-end test.
#pragma once
#include <string>
#include <vector>

#include "tools/screenshot/shell_pictures.h"

struct SKLinePictures {
  bool onTechnicalPage = false;    // F5 on the time-share page turned to the K-line page
  int dayBars = 0;                 // day bars held after the first reply
  std::vector<std::string> panes;  // the panes' indicator names
  int minuteBars = 0;              // 60-minute bars after the period command
  int weekBars = 0;                // week bars after the period command
  int visibleBefore = 0;           // bars shown before and after zooming in
  int visibleZoomed = 0;
  int newsMarks = 0;            // information titles received
  int figures = 0;              // drawing-tool figures the mouse placed on the K-line pane
  bool leftKeptCursor = false;  // Left moved the cursor one bar and parked the pointer
  std::string cursorValue;      // the cursor box's value row
  bool boxDragged = false;      // the cursor box went where the mouse dragged it
};

void PictureKLine(CMainFrame& frame, const KeepPicture& keep, int timeoutMs, SKLinePictures* seen);
