// The trading window's readers of outside text: the function-tree text,
// the quote strip's line/group/cell text, the single-quote packet and the
// cell comparison, on arbitrary bytes. The first byte picks the reader and
// its mode.
#include <cstddef>
#include <cstdint>
#include <string>

#include "trade/ui/rules/function_table.h"
#include "trade/ui/rules/list_sort.h"
#include "trade/ui/rules/money_flow.h"
#include "trade/ui/rules/quote_packet.h"
#include "trade/ui/rules/quote_strip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t selector = data[0];
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (selector % 4) {
    case 0: {
      const auto tree = ParseFunctionTree(text);
      if (!tree.empty()) FindFunctionByName(tree, tree.back().text);
      break;
    }
    case 1: {
      const int mode = 1 + (selector / 4) % 3;
      const std::string shown = QuoteStripText(text, mode);
      const SStripLayout layout =
          LayoutQuoteStrip(shown, mode, 200, (selector & 0x80) ? 10.0f : 0.0f, true);
      double price = 0;
      for (const SStripHit& hit : layout.hits)
        StripClickPrice(layout, shown, hit.rect.left, hit.rect.top, &price);
      break;
    }
    case 2: {
      SSingleQuote quote;
      if (ReadSingleQuote(text.data(), static_cast<int>(text.size()), &quote)) {
        const SStripLayout levels =
            LayoutQuoteStrip(FiveLevelText(quote), kStripFiveLevels, 200, 1.0f, true);
        LayoutQuoteStrip(QuoteSummaryText(quote, quote.low), kStripSummary, 200, 1.0f, true);
        (void)levels;
      }
      break;
    }
    default: {
      const size_t half = text.size() / 2;
      const std::string a = text.substr(0, half), b = text.substr(half);
      const int ab = CompareCellTexts(a, b), ba = CompareCellTexts(b, a);
      if (CompareCellTexts(a, a) != 0) __builtin_trap();
      (void)ab;
      (void)ba;
      MoneyFlowTypeText(a);
      std::vector<PanelRow> rows = {{a}, {b}, {a + b}};
      SortRows(rows, 0, (selector & 0x80) != 0);
      break;
    }
  }
  return 0;
}
