// Building the chart view's replies at their offsets.
#include "sim/quote-server/chart_replies.h"

#include <algorithm>
#include <limits>

#include "link/quote_protocol.h"
#include "sim/quote-server/quote_replies.h"

namespace sim {

using quotelink::WriteU16;
using quotelink::WriteU32;

namespace {

constexpr size_t kRecordHead = 51;
constexpr size_t kDealSize = 30;
constexpr size_t kBigSize = 16;

void AppendDeal(std::string& body, const WalkDeal& d) {
  std::string r(kDealSize, '\0');
  WriteU16(&r[0], MinuteElapsed(d.minute));
  WriteU32(&r[2], d.price);
  WriteU32(&r[6], d.volume);
  WriteU32(&r[18], d.bid);
  WriteU32(&r[22], d.ask);
  WriteU32(&r[26], (uint32_t)BarAmountOf(d.price, d.volume));
  body += r;
}

}  // namespace

std::string EncodeTickRecord(const WalkItem& item, uint16_t minute) {
  BookLevel levels[10];
  BookLevels(item, levels);
  std::string r(kRecordHead + 8 * 10, '\0');
  char* p = r.data();
  WriteU32(p, ((uint32_t)(item.market & 0xFF) << 24) | ((uint32_t)item.code & 0xFFFFFF));
  WriteU16(p + 4, MinuteOfDay(minute));
  WriteU32(p + 6, item.open);
  WriteU32(p + 10, item.high);
  WriteU32(p + 14, item.low);
  WriteU32(p + 18, item.price);
  WriteU32(p + 22, item.volume ? (uint32_t)(item.amount / item.volume) : item.price);
  WriteU32(p + 26, Clamp32(item.volume));
  WriteU32(p + 30, item.lastDeal);
  WriteU32(p + 34, RecordAmount(item.amount));
  WriteU32(p + 38, Clamp32(item.activeBuy));
  WriteU32(p + 42, Clamp32(item.activeSell));
  p[46] = 10;
  for (int i = 0; i < 10; ++i) {
    WriteU32(p + kRecordHead + 8 * i, levels[i].price);
    WriteU32(p + kRecordHead + 8 * i + 4, levels[i].volume);
  }
  return r;
}

std::string BuildMinuteReply(uint16_t tag, const WalkItem& item, const std::vector<WalkDeal>& deals,
                             uint16_t minute, const std::vector<MinuteBar>& bars) {
  const size_t count = std::min<size_t>(deals.size(), 0xFFFF);
  std::string body(22, '\0');
  WriteU16(&body[0], kMinuteTraceType);
  WriteU16(&body[2], tag);
  WriteU16(&body[4], item.market);
  WriteU32(&body[6], (uint32_t)item.code);
  WriteU16(&body[10], (uint16_t)count);
  body += EncodeTickRecord(item, minute);
  for (size_t i = deals.size() - count; i < deals.size(); ++i) AppendDeal(body, deals[i]);
  AppendMinutePoints(body, bars);
  return body;
}

std::string BuildMinuteTrace(uint16_t tag, const WalkItem& item,
                             const std::vector<WalkDeal>& deals) {
  const uint16_t minute = deals.empty() ? 0 : deals.back().minute;
  return BuildMinuteReply(tag, item, deals, minute, MinuteBarsOfDeals(item, deals));
}

std::string BuildDealList(uint16_t tag, const std::vector<WalkDeal>& deals) {
  const size_t count = std::min<size_t>(deals.size(), 0xFFFF);
  std::string body(16, '\0');
  WriteU16(&body[0], kDealListType);
  WriteU16(&body[2], tag);
  WriteU16(&body[10], (uint16_t)count);
  for (size_t i = deals.size() - count; i < deals.size(); ++i) AppendDeal(body, deals[i]);
  return body;
}

std::string BuildPushTicks(const std::vector<WalkItem>& items, uint16_t minute) {
  const size_t count = std::min<size_t>(items.size(), 0xFFFF);
  std::string body(15, '\0');
  WriteU16(&body[0], kPushTickType);
  WriteU16(&body[9], (uint16_t)count);
  for (size_t i = 0; i < count; ++i) body += EncodeTickRecord(items[i], minute);
  return body;
}

std::string BuildBigOrders(uint16_t type, uint16_t tag, const std::vector<WalkBigDeal>& deals) {
  const size_t count = std::min<size_t>(deals.size(), 0x7FFF);
  const bool add = type == kBigOrderAddType;
  std::string body(add ? 25 : 10, '\0');
  WriteU16(&body[0], type);
  if (!add) WriteU16(&body[2], tag);
  WriteU16(&body[add ? 19 : 4], (uint16_t)count);
  for (size_t k = 0; k < count; ++k) {
    const size_t i = deals.size() - 1 - k;
    std::string r(kBigSize, '\0');
    WriteU16(&r[0], MinuteElapsed(deals[i].deal.minute));
    WriteU16(&r[2], deals[i].market);
    WriteU32(&r[4], (uint32_t)deals[i].code);
    WriteU32(&r[8], deals[i].deal.price);
    WriteU32(&r[12], deals[i].deal.volume);
    body += r;
  }
  return body;
}

std::string BuildInfoText(uint16_t tag, const WalkItem& item, uint32_t date) {
  std::string body(12, '\0');
  WriteU16(&body[0], kInfoType);
  WriteU16(&body[2], tag);
  WriteU16(&body[4], item.market);
  // GBK: 资讯信息, 最新价, 成交量.
  body += item.name + " \xD7\xCA\xD1\xB6\xD0\xC5\xCF\xA2 " + std::to_string(date) + "\r\n";
  body += "\xD7\xEE\xD0\xC2\xBC\xDB " + std::to_string(item.price / 1000) + "." +
          std::to_string(item.price % 1000 / 100) + std::to_string(item.price % 100 / 10) + "\r\n";
  body += "\xB3\xC9\xBD\xBB\xC1\xBF " + std::to_string(item.volume);
  body.push_back('\0');
  return body;
}

}  // namespace sim
