// The tool bar images built into the program (resources/toolbar/, our own
// drawings): their resource paths, the order of the cells in each strip,
// and loading a strip by path.
//
// Strips are 32-bit with transparency; each cell is kToolImageSize square.
#pragma once
#include <QImage>

namespace zebui {

// The picture at a path (":/toolbar/..." or a file; GBK); a null image
// when it is missing or does not read.
QImage LoadToolBarImage(const char* path);

constexpr int kToolImageSize = 16;

// The main bar's strip and its disabled twin, cells in this order.
inline constexpr char kMainToolStrip[] = ":/toolbar/main16.png";
inline constexpr char kMainToolStripDisabled[] = ":/toolbar/main16_disabled.png";
enum MainToolImage : int {
  kImgHome,        // home page
  kImgUser,        // user information
  kImgBack,        // back
  kImgQuoteList,   // quote list
  kImgTimeShare,   // time-share chart
  kImgKLine,       // K-line chart
  kImgTicks,       // deal details
  kImgPriceTable,  // price table
  kImgMarkets,     // market lists (drop-down)
  kImgBlocks,      // block lists (drop-down)
  kImgFavourite,   // add to favourites
  kImgPageUp,      // previous page
  kImgPageDown,    // next page
  kImgAutoPage,    // automatic page turning
  kImgDrawTools,   // drawing tools
  kImgFormula,     // formula manager
  kImgAlarm,       // price alarms
  kImgSettings,    // system settings
  kImgFullScreen,  // full screen
  kImgConnect,     // connect
  kImgDisconnect,  // disconnect
  kImgHelp,        // help
  kMainToolImageCount
};

// The drawing-tools strip, one cell per tool: select, straight line,
// rectangle, parallel lines, golden section, Gann lines, delete.
inline constexpr char kDrawToolStrip[] = ":/toolbar/draw16.png";
constexpr int kDrawToolImageCount = 7;

}  // namespace zebui
