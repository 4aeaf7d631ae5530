// The main program's menus as a module table: 120 is the menu bar, 130
// holds the pop-up menus of the views and tables (0 time-share chart, 1
// deal list, 2 price table, 3 K-line chart, 4 indicator pane, 5 drawing
// tools, 6 the quote list's item commands). Texts are GBK.
#pragma once
#include <span>

#include "platform/menu.h"

std::span<const platform::MenuResource> ShellMenus();
