// The quote strip's text model: lines end with "\n", groups within a line
// are separated by "~" and cells within a group by "@". This lays a text out
// in cells with their positions and colours (every character counts 7
// pixels, rows are 16 pixels apart) and records the price cells a click
// can pick; the control only paints the cells.
#pragma once
#include <string>
#include <vector>

#include "platform/types.h"

enum EQuoteStripMode { kStripFiveLevels = 1, kStripSummary = 2, kStripPlain = 3 };

constexpr size_t kQuoteStripCapacity = 5119;  // bytes of text kept
constexpr int kStripMaxHits = 20;

// The text a strip shows: an empty text takes the mode's template; a longer
// one than the strip keeps is cut on a character boundary.
std::string QuoteStripText(const std::string& text, int mode);

struct SStripCell {
  std::string text;  // GBK
  int x = 0;         // left edge, or the right edge when rightAligned
  int y = 0;         // top
  bool rightAligned = false;
  COLORREF colour = 0;
};

struct SStripHit {
  double price = 0;
  RECT rect;
};

struct SStripLayout {
  std::vector<SStripCell> cells;
  std::vector<SStripHit> hits;  // only when asked for (a click action is set)
};

SStripLayout LayoutQuoteStrip(const std::string& text, int mode, int clientWidth,
                              float referencePrice, bool recordHits);

// Colour of a price cell against the reference: reference 0 blue; above it
// red; equal to it in thousandths blue; below it green.
COLORREF StripPriceColour(const std::string& cell, float referencePrice);

// The price a click at (x, y) picks: the first hit cell containing the
// point, and only when the strip's text is longer than 10 bytes. False when
// the click picks nothing.
bool StripClickPrice(const SStripLayout& layout, const std::string& text, int x, int y,
                     double* price);
