// The rows of the two indicator parameter dialogs: seven value boxes with
// spin buttons inside a frame, and a pool of fourteen labels placed around
// them as the parameters and their descriptions ask. Both dialogs take
// their tables' row items from here and place the rows the same way.
#pragma once
#include <string>
#include <vector>

#include "formula/editor/IndicatorParams.h"
#include "platform/dialog.h"

namespace formula {

// The frame at (x, y) in dialog units with the value boxes, spin buttons
// and pool labels inside, the label saying there is nothing to set (GBK)
// over it, and "确定" and "取消" below its right end.
std::vector<platform::DialogItem> ParamRowItems(int x, int y, const char* noParamsText);
// The frame's size, and the height the rows and the buttons take below y
// (dialog units).
inline constexpr int kParamFrameWidth = 196;
inline constexpr int kParamFrameHeight = 122;
inline constexpr int kParamRowsHeight = kParamFrameHeight + 28;
// The top of the line below the frame (the buttons), from y.
inline constexpr int kParamButtonsTop = kParamFrameHeight + 6;

// Binds each spin button to its value box; the pool labels start hidden.
void PrepareParamRows(CDialog& dialog);

// Places the rows of a layout inside the frame (texts measured in the
// dialog's font): per parameter its prefix label, value box, spin button
// and suffix label (or its name without a description); hides the rest.
void PlaceParamRows(CDialog& dialog, const SParamLayout& layout);

// The value boxes as typed, one per row.
std::vector<std::string> ParamRowValues(const CDialog& dialog);

}  // namespace formula
