// The buttons of a tool bar and where they lie: the part of a tool bar
// that needs no widget, so the layout along or across a dock side, hit
// testing and the split of drop-down buttons are tested on their own.
//
// Rectangles are in the bar's client coordinates, exclusive right and
// bottom edges. Texts are GBK.
#pragma once
#include <span>
#include <string>
#include <vector>

#include "platform/types.h"

// Button styles and states, as the tool bar control keeps them.
constexpr BYTE TBSTYLE_BUTTON = 0x00, TBSTYLE_SEP = 0x01, TBSTYLE_CHECK = 0x02,
               TBSTYLE_GROUP = 0x04, TBSTYLE_CHECKGROUP = 0x06, TBSTYLE_DROPDOWN = 0x08;
constexpr BYTE TBSTATE_CHECKED = 0x01, TBSTATE_PRESSED = 0x02, TBSTATE_ENABLED = 0x04,
               TBSTATE_HIDDEN = 0x08, TBSTATE_INDETERMINATE = 0x10, TBSTATE_WRAP = 0x20;
// Control styles of the bar window and its extended style.
constexpr DWORD TBSTYLE_TOOLTIPS = 0x0100, TBSTYLE_FLAT = 0x0800;
constexpr DWORD TBSTYLE_EX_DRAWDDARROWS = 0x1;
// Answers to a drop-down notification: the owner showed its menu
// (default), or the button is to act as a plain press.
constexpr LRESULT TBDDRET_DEFAULT = 0, TBDDRET_NODEFAULT = 1, TBDDRET_TREATPRESSED = 2;

namespace zebui {

// Width of the arrow part of a split drop-down button; a press at or right
// of the button's right edge minus kDropArrowHit lands on the arrow.
constexpr int kDropArrowWidth = 14;
constexpr int kDropArrowHit = 13;
// Width (height across the bar) of a separator that names none.
constexpr int kSeparatorWidth = 8;

struct ToolButton {
  UINT id = 0;     // command; for a separator, the id of the control it hosts (0: none)
  int image = -1;  // image index; a separator's width (0: kSeparatorWidth)
  BYTE style = TBSTYLE_BUTTON;
  BYTE state = TBSTATE_ENABLED;
  std::string text;  // the command's string: "prompt\ntooltip"
  RECT rect{};       // where the layout put it (empty while hidden)

  bool IsSeparator() const { return (style & TBSTYLE_SEP) != 0; }
  // A separator that keeps the place of a control window with its id.
  bool HostsControl() const { return IsSeparator() && id != 0; }
  bool IsHidden() const { return (state & TBSTATE_HIDDEN) != 0; }
  bool IsEnabled() const { return (state & TBSTATE_ENABLED) != 0; }
};

// Lays the buttons out from origin: along a row, or (vertical) one per row
// with separators across the bar. Across a vertical bar the places of
// hosted controls are hidden and plain separators wrap (TBSTATE_WRAP);
// along a row both come back. A drop-down button with split arrows is
// kDropArrowWidth wider. Returns the size the buttons cover.
SIZE LayoutToolButtons(std::vector<ToolButton>& buttons, POINT origin, SIZE buttonSize,
                       bool splitDropDowns, bool vertical);

// The visible button whose rectangle holds the point; -1 for none.
int HitTestToolButton(std::span<const ToolButton> buttons, POINT point);

// Whether a press at the point is on the arrow part of a split drop-down.
bool OnDropArrow(const ToolButton& button, POINT point, bool splitDropDowns);

// The tooltip of a command string: the text after its first newline up to
// the next one; a string without a newline is its own tooltip.
std::string ToolTipOfCommandString(const std::string& text);

// The caption lines of a command string: the lines after its first
// newline (none without one). A trailing newline adds no line; an empty
// line between two others stays, as an empty line.
std::vector<std::string> CaptionLinesOfCommandString(const std::string& text);

}  // namespace zebui
