// Pictures of the chart view in the running program: an item opened from
// the quote list with its panel filled from the simulator, each of the four
// analysis pages and each of the panel's six pages; then back to the quote
// list the way a user goes (Esc). Reports what it saw, for the end-to-end
// test.
#pragma once
#include <cstdint>
#include <string>

#include "tools/screenshot/shell_pictures.h"

struct SChartPictures {
  bool boardFilled = false;      // the panel's board showed the item's last price
  int ticks = 0;                 // ticks in the panel's tick table
  int deals = 0;                 // rows of the deal details
  int priceLevels = 0;           // levels of the price-volume distribution
  int bigOrders = 0;             // rows of the big-order page
  int timeShareMinutes = 0;      // minutes with data in the time-share page
  std::string timeShareLast;     // the time-share chart's last point, "%.2f"
  std::string boardLast;         // the board's last price as shown
  int itemChartMinutes = 0;      // minutes of the panel's small chart of the item
  int indexChartMinutes = 0;     // minutes of the panel's index chart (from pushes)
  bool tabTurnedPage = false;    // Tab through the main frame showed the next analysis page
  bool pageDownStepped = false;  // Page Down through the main frame opened another item
  bool backToList = false;       // Esc showed the quote list again
};

class CStockView;

// The item pictured: a stamp of the demo market, whose market has an index.
constexpr uint16_t kPictureMarket = 4114;
constexpr int32_t kPictureCode = 602001;

// The chart view among the main frame's views, or null before one is made.
CStockView* FindChartView(CMainFrame& frame);

void PictureChartView(CMainFrame& frame, const KeepPicture& keep, int timeoutMs,
                      SChartPictures* seen);
// Esc through the router while the chart view is shown; true once the
// quote list is the active view.
bool ReturnToQuoteList(int timeoutMs);
