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

// The frame, the value boxes, spin buttons and pool labels, with the frame
// at (x, y) in dialog units.
std::vector<platform::DialogItem> ParamRowItems(int x, int y);
// The frame's size in dialog units.
inline constexpr int kParamFrameWidth = 196;
inline constexpr int kParamFrameHeight = 122;

// Binds each spin button to its value box; the pool labels start hidden.
void PrepareParamRows(CDialog& dialog);

// Places the rows of a layout inside the frame (texts measured in the
// dialog's font): per parameter its prefix label, value box, spin button
// and suffix label (or its name without a description); hides the rest.
void PlaceParamRows(CDialog& dialog, const SParamLayout& layout);

// The value boxes as typed, one per row.
std::vector<std::string> ParamRowValues(const CDialog& dialog);

}  // namespace formula
