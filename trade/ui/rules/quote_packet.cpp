#include "trade/ui/rules/quote_packet.h"

#include <cstdio>
#include <cstring>

#include "platform/gbk.h"
#include "platform/le_bytes.h"

namespace {

using platform::ReadU32;

double Units(uint32_t thousandths) { return thousandths / 1000.0; }

constexpr int kLevelsOffset = 61;

}  // namespace

bool ReadSingleQuote(const void* data, int length, SSingleQuote* out) {
  if (!data || !out || length < kSingleQuoteMinLength) return false;
  const unsigned char* p = static_cast<const unsigned char*>(data);
  out->code = ReadU32(p + 6);
  out->high = ReadU32(p + 20);
  out->low = ReadU32(p + 24);
  out->last = ReadU32(p + 28);
  for (int i = 0; i < 10; ++i) {
    out->price[i] = ReadU32(p + kLevelsOffset + 8 * i);
    out->volume[i] = ReadU32(p + kLevelsOffset + 8 * i + 4);
  }
  return true;
}

std::string QuoteSummaryText(const SSingleQuote& q, uint32_t preClose) {
  char text[256];
  std::snprintf(text, sizeof text, GBK("现价@  %.2f@    最高@  %.2f~涨跌@  %.2f@  最低@  %.2f\n"),
                Units(q.last), Units(q.high),
                (static_cast<double>(q.last) - static_cast<double>(preClose)) / 1000.0,
                Units(q.low));
  return text;
}

std::string FiveLevelText(const SSingleQuote& q) {
  static const char* const kLabels[10] = {"卖⑤", "卖④", "卖③", "卖②", "卖①",
                                          "买①", "买②", "买③", "买④", "买⑤"};
  std::string out;
  for (int i = 0; i < 10; ++i) {
    char group[96];
    std::snprintf(group, sizeof group, "%s  @%.2f    %u", platform::GbkLiteral(kLabels[i]),
                  Units(q.price[i]), q.volume[i]);
    out += group;
    out += (i == 4 || i == 9) ? "\n" : "~";
  }
  return out;
}

std::string LastPriceText(const SSingleQuote& q) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", Units(q.last));
  return text;
}
