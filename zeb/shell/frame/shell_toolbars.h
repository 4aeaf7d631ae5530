// The buttons of the main program's toolbars as module tables: 120 the
// main toolbar (its images in the strips of resources 120 and, greyed,
// 201), 206 the drawing tools (captions under the images), 208 the
// floating toolbar of full-screen mode. 0 is a separator; the images
// follow the buttons in order, one 16 x 16 cell per button.
#pragma once
#include <span>

#include "zeb/shell/frame/shell_commands.h"

namespace toolbars {

inline constexpr UINT kMain[] = {
    cmd::kConnect,  cmd::kDisconnect, 0,
    cmd::kBack,     cmd::kTimeShare,  cmd::kKLine,          cmd::kDeals,          cmd::kPriceTable, 0,
    cmd::kMarketList + 13,           cmd::kFavourites,     0,
    cmd::kPageTurn, cmd::kDrawTools,  cmd::kFormulaManager, cmd::kSystemSettings, 0,
    cmd::kFullScreen, cmd::kHelp};

inline constexpr UINT kDrawTools[] = {cmd::kFirstDrawTool + 0, cmd::kFirstDrawTool + 1,
                                      cmd::kFirstDrawTool + 2, cmd::kFirstDrawTool + 3,
                                      cmd::kFirstDrawTool + 4, cmd::kFirstDrawTool + 5,
                                      cmd::kFirstDrawTool + 6};

inline constexpr UINT kFullScreen[] = {cmd::kFullScreen, 0, cmd::kBack, cmd::kTimeShare, cmd::kKLine};

constexpr int kImageSize = 16;

}  // namespace toolbars
