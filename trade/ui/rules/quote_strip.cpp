#include "trade/ui/rules/quote_strip.h"

#include <cmath>
#include <cstdlib>

#include "platform/gbk.h"
#include "trade/ui/rules/gbk_find.h"
#include "trade/ui/rules/panel_values.h"

namespace {

constexpr int kCharWidth = 7;
constexpr int kRowHeight = 16;
constexpr int kLineGap = 10;
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 128, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);

int TextWidth(const std::string& s) { return kCharWidth * static_cast<int>(s.size()); }

size_t TrimmedLength(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return e - b;
}

}  // namespace

std::string QuoteStripText(const std::string& text, int mode) {
  if (text.empty()) {
    switch (mode) {
      case kStripFiveLevels:
        return GBK("卖⑤  @~卖④  @~卖③  @~卖②  @~卖①  @\n买①  @~买②  @~买③  @~买④  @~买⑤  @\n");
      case kStripSummary: return GBK("现价@      @    最高@ ~涨跌@      @    最低@\n  ");
      default: return "";
    }
  }
  return text.substr(0, platform::GbkCutLength(text.c_str(), kQuoteStripCapacity));
}

COLORREF StripPriceColour(const std::string& cell, float referencePrice) {
  if (referencePrice == 0) return kBlue;
  const double number = TextToNumber(cell);
  if (number > referencePrice) return kRed;
  // Compared in whole thousandths, as prices travel.
  const double a = std::trunc(number * 1000),
               b = std::trunc(static_cast<double>(referencePrice) * 1000);
  if (a == b) return kBlue;
  return kGreen;
}

SStripLayout LayoutQuoteStrip(const std::string& text, int mode, int clientWidth,
                              float referencePrice, bool recordHits) {
  SStripLayout out;
  int y = 1;
  bool firstSummaryHit = true;
  std::string rest = text;
  // A line ends at a "\n" found from the second byte on; what follows the
  // last one is not drawn.
  for (size_t nl; (nl = rest.find('\n', 1)) != std::string::npos;) {
    std::string line = rest.substr(0, nl);
    rest.erase(0, nl + 1);
    while (!line.empty()) {
      const size_t tilde = GbkFindChar(line, '~', 1);
      std::string group = tilde == std::string::npos ? line : line.substr(0, tilde);
      line = tilde == std::string::npos ? std::string() : line.substr(tilde + 1);
      int x = 0;
      std::string remaining = group;
      for (int k = 0;; ++k) {
        const size_t at = GbkFindChar(remaining, '@', 2);
        const std::string cell = at == std::string::npos ? remaining : remaining.substr(0, at);
        const bool priceCell =
            k == 1 && (mode == kStripFiveLevels || (mode == kStripSummary && y < 10));
        SStripCell c;
        c.text = cell;
        c.y = y;
        c.colour = priceCell ? StripPriceColour(cell, referencePrice) : kBlack;
        if (mode == kStripFiveLevels && k == 2) {
          c.rightAligned = true;
          c.x = clientWidth - 2;
        } else {
          c.x = x;
        }
        out.cells.push_back(c);
        const bool hitCell =
            k == 1 && ((mode == kStripFiveLevels && out.hits.size() < kStripMaxHits) ||
                       (mode == kStripSummary && firstSummaryHit));
        if (recordHits && hitCell) {
          SStripHit hit;
          hit.price = TextToNumber(cell);
          hit.rect.top = y;
          hit.rect.bottom = y + kRowHeight;
          hit.rect.right = x + TextWidth(cell) + 3;
          hit.rect.left = hit.rect.right - kCharWidth * static_cast<int>(TrimmedLength(cell)) - 6;
          out.hits.push_back(hit);
          if (mode == kStripSummary) firstSummaryHit = false;
        }
        x += TextWidth(cell);
        const std::string next = at == std::string::npos ? remaining : remaining.substr(at + 1);
        if (next == cell) break;
        remaining = next;
      }
      y += kRowHeight;
    }
    y += kLineGap;
  }
  return out;
}

bool StripClickPrice(const SStripLayout& layout, const std::string& text, int x, int y,
                     double* price) {
  if (text.size() <= 10) return false;
  for (const SStripHit& hit : layout.hits) {
    if (PtInRect(hit.rect, POINT{x, y})) {
      *price = hit.price;
      return true;
    }
  }
  return false;
}
