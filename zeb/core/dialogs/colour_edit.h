// The appearance page's arithmetic, without its window: a colour's three
// components as the sliders and number edits show them (a missing colour,
// -1, shows as white), the components an edit may hold (0 to 255), and
// the scheme font entry made from the font chooser's answer.
#pragma once
#include <string>

#include "platform/gdi.h"
#include "platform/types.h"
#include "zeb/scheme/sys_style.h"

struct SRgbParts {
  int red = 255, green = 255, blue = 255;
};

// Bits 0-7, 8-15, 16-23; CLR_INVALID (-1) gives white.
SRgbParts SplitColor(COLORREF color);
// red + 256 green + 65536 blue.
COLORREF JoinColor(const SRgbParts& parts);

// A component typed into a number edit: an integer 0 to 255, blanks
// around allowed; false for anything else.
bool ReadColorComponent(const std::string& text, int* value);
// The message shown when a component is refused (GBK).
const char* ColorComponentMessage();

// One style bit: 1 bold (weight exactly 700), else 2 italic, else 4
// underlined, else 0.
int FontStyleOf(const LOGFONT& font);
// The entry with the id: size |height|, the style above, the face.
SFontEntry FontEntryFromChoice(int id, const LOGFONT& font);
