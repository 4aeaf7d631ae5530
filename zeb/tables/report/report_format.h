// The text, colour and sort value of each quote figure of the quote list.
// Prices are thousandths printed with two decimals; volumes and amounts
// switch to 万 and 亿 units; colours come from the scheme and compare a
// price with the item's previous close.
#pragma once
#include <cstdint>
#include <string>

#include "platform/types.h"
#include "zeb/store/store_records.h"
#include "zeb/tables/packets/quote_packets.h"

class CPublic;
class CSysStyle;

// One formatted figure.
struct SReportCell {
  float value = 0;                    // what the column sorts by; 0 when none
  COLORREF textColor = CLR_INVALID;   // -1: the table's
  COLORREF background = CLR_INVALID;  // -1: none
  std::string text;                   // GBK
};

// Background of a price that changed since the last refresh.
constexpr COLORREF kReportChangedBackground = 0xFF0000;
// Text colour of the volume ratio.
constexpr COLORREF kReportVolumeRatioColor = 0xF4E202;

struct SReportFormatContext {
  const CPublic* store = nullptr;
  const CSysStyle* style = nullptr;
  uint32_t minuteIndex = 1;  // position of now in the trading day
};

// Formats the figure of column id (3..22) for a quote record of the item.
// previous is the figure's value at the last refresh of the same item (0
// when there was none): 最新, 最高价 and 最低价 get the changed background
// when it was above 0 and differs.
void FormatReportCell(const SReportFormatContext& context, int columnId, const SQuoteUnit& quote,
                      const SStockInfo& item, float previous, SReportCell* cell);

// Volume text: "%d" below 10000, "%.2f万" below 1e8, else "%.2f亿" (GBK).
std::string FormatReportVolume(uint32_t volume);
// "%d" of v into out, reusing its storage.
void AssignReportInt(std::string* out, long long v);
