// The main program's tool bars as a module table (the tool bars' images
// are the controls' strips, resources/toolbar/): 120 the main tool bar
// (normal strip; its disabled twin stands for bitmap 201), 206 the drawing
// tools with captions under the images, 208 the floating bar of
// full-screen mode. Command strings are "prompt\ntooltip" in GBK; the
// drawing bar shows the lines after the first newline.
#pragma once
#include <span>

#include "zeb/controls/toolbar_base.h"

// The split drop-down buttons of the main tool bar: the market lists and
// the block lists.
constexpr UINT ID_TOOL_MARKETS = 0x6311;
constexpr UINT ID_TOOL_BLOCKS = 0x6317;

std::span<const zebui::ToolBarResource> ShellToolBars();
