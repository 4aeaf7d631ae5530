// Tool bar layout and hit testing; see toolbar_layout.h.
#include "zeb/controls/toolbar_layout.h"

#include <algorithm>

namespace zebui {

namespace {

int SeparatorExtent(const ToolButton& b) { return b.image > 0 ? b.image : kSeparatorWidth; }

int ButtonWidth(const ToolButton& b, SIZE buttonSize, bool splitDropDowns) {
  if (b.IsSeparator()) return SeparatorExtent(b);
  const bool split = splitDropDowns && (b.style & TBSTYLE_DROPDOWN);
  return buttonSize.cx + (split ? kDropArrowWidth : 0);
}

}  // namespace

SIZE LayoutToolButtons(std::vector<ToolButton>& buttons, POINT origin, SIZE buttonSize,
                       bool splitDropDowns, bool vertical) {
  // Across a vertical bar every button takes a row of the widest button's
  // width, and the places of hosted controls go; along a row they return.
  int across = buttonSize.cx;
  for (ToolButton& b : buttons) {
    if (b.HostsControl()) {
      b.state = vertical ? (b.state | TBSTATE_HIDDEN) : (b.state & ~TBSTATE_HIDDEN);
    }
    if (b.IsSeparator() && !b.HostsControl()) {
      b.state = vertical ? (b.state | TBSTATE_WRAP) : (b.state & ~TBSTATE_WRAP);
    }
    if (!b.IsSeparator()) across = std::max(across, ButtonWidth(b, buttonSize, splitDropDowns));
  }

  int x = origin.x, y = origin.y;
  for (ToolButton& b : buttons) {
    if (b.IsHidden()) {
      b.rect = RECT{x, y, x, y};
      continue;
    }
    if (vertical) {
      const int h = b.IsSeparator() ? SeparatorExtent(b) : buttonSize.cy;
      b.rect = RECT{origin.x, y, origin.x + across, y + h};
      y += h;
    } else {
      const int w = ButtonWidth(b, buttonSize, splitDropDowns);
      b.rect = RECT{x, origin.y, x + w, origin.y + buttonSize.cy};
      x += w;
    }
  }
  if (vertical) return SIZE{across, y - origin.y};
  return SIZE{x - origin.x, buttonSize.cy};
}

int HitTestToolButton(std::span<const ToolButton> buttons, POINT point) {
  for (size_t i = 0; i < buttons.size(); ++i) {
    if (!buttons[i].IsHidden() && PtInRect(buttons[i].rect, point)) return (int)i;
  }
  return -1;
}

bool OnDropArrow(const ToolButton& button, POINT point, bool splitDropDowns) {
  return splitDropDowns && (button.style & TBSTYLE_DROPDOWN) && !button.IsSeparator() &&
         point.x >= button.rect.right - kDropArrowHit;
}

std::string ToolTipOfCommandString(const std::string& text) {
  const size_t first = text.find('\n');
  if (first == std::string::npos) return text;
  const size_t end = text.find('\n', first + 1);
  return text.substr(first + 1, end == std::string::npos ? std::string::npos : end - first - 1);
}

std::vector<std::string> CaptionLinesOfCommandString(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = text.find('\n');
  if (start == std::string::npos) return lines;
  ++start;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace zebui
