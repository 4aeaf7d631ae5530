// Pictures of the quote list on each of its market tabs, taken by the
// screenshot run: the tab is clicked as a user would, the picture waits
// for that list's quotes, and the screen is kept as
// "02-main-frame-<tab>.png". What each list held is reported, so the
// end-to-end test can check that every tab shows its own market. One more
// picture shows a sorted list's second page after a refresh, where only
// the prices that moved are marked.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/screenshot/shell_pictures.h"
#include "zeb/store/store_records.h"

class CPriceReportView;

struct SMarketTabPicture {
  std::string picture;           // file name kept
  uint16_t market = 0;           // the tab's list
  std::vector<SCodeInfo> shown;  // the rows of the picture
};

// Clicks every market tab of the list (the favourites, a user's list, are
// left out), keeps a picture of each, then shows the first tab again.
std::vector<SMarketTabPicture> PictureMarketTabs(CPriceReportView& list, const KeepPicture& keep,
                                                 int timeoutMs);
// The first tab's list sorted by its last price (a click on the head),
// turned to its second page and refreshed once the market has moved:
// "02-main-frame-sorted.png".
void PictureSortedPage(CPriceReportView& list, const KeepPicture& keep, int timeoutMs);
