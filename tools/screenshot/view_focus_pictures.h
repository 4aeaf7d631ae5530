// The market pane as a keyboard and mouse user meets it in the running
// program: where the keys go after the login, after opening an item from
// the quote list by Enter and by a double click (F5, Left and Esc typed
// with no click in between, as real key events to whatever has the focus),
// which row the list shows selected on the way back, and the chart view
// after the main window was restored and resized and the split bar
// dragged ("16-resized-chart.png"). Reports what it saw, for the
// end-to-end test.
#pragma once
#include <cstdint>

#include "tools/screenshot/shell_pictures.h"

struct SOpenedByKeys {
  bool opened = false;               // the chart view showed the item
  bool leftMovedCursor = false;      // Left put the time-share cursor on a minute
  bool f5TurnedPage = false;         // F5 showed the K-line page and F5 again the time-share page
  bool escBackToList = false;        // Esc (pressed until it left the chart) showed the quote list
  bool openedStaysSelected = false;  // the list selects the item opened, on the page shown
  bool listFocused = false;          // back in the list, the keys go to it
};

struct SViewFocusRun {
  bool listFocusedAtStart = false;  // after the login the quote list takes the keys
  SOpenedByKeys byEnter, byDoubleClick;
  bool resizedChartDrawn = false;  // the chart view drew after the resize and the drag
};

// Whether the keys go to the quote list now.
bool QuoteListHasFocus(CMainFrame& frame);
// Opens a row of the quote list by Enter, then another by a double click;
// after each, F5, Left and Esc go to the window as a user types them.
void CheckKeysAfterOpening(CMainFrame& frame, int timeoutMs, SViewFocusRun* seen);
// The chart view after the main window is restored and made smaller and
// the split bar dragged: "16-resized-chart.png". The window is maximised
// and the bar put back after.
void PictureResizedChart(CMainFrame& frame, const KeepPicture& keep, int timeoutMs,
                         SViewFocusRun* seen);
