// The simulator's information items (info_items.h).
#include "sim/quote-server/info_items.h"

#include <cstdio>

#include "link/quote_protocol.h"
#include "platform/gbk.h"

namespace sim {
namespace {

using quotelink::ReadU16;
using quotelink::ReadU32;
using quotelink::WriteU16;

constexpr size_t kTextAt = 12;
constexpr size_t kItemAt = 12, kDateAt = 18;
constexpr int kDaysBack[3] = {23, 9, 2};

int DateBefore(std::time_t now, int days) {
  std::time_t then = now - std::time_t(days) * 86400;
  std::tm local{};
  localtime_r(&then, &local);
  if (local.tm_wday == 0 || local.tm_wday == 6) {
    then -= std::time_t(local.tm_wday == 0 ? 2 : 1) * 86400;
    localtime_r(&then, &local);
  }
  return (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
}

}  // namespace

std::time_t DayClock(uint32_t date) {
  if (date < 19700101 || date > 29991231) return std::time(nullptr);
  std::tm local{};
  local.tm_year = int(date / 10000) - 1900;
  local.tm_mon = int(date / 100 % 100) - 1;
  local.tm_mday = int(date % 100);
  local.tm_hour = 12;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

std::vector<InfoItem> InfoItemsOf(uint16_t market, int32_t code, std::time_t now) {
  static const char* const kTitles[3] = {"季度鉴定报告发布", "托管库存变动公告", "交易提示"};
  static const char* const kFirstLines[3] = {"本季度鉴定完成，品相评级保持不变。",
                                             "托管库存较上期有所调整，详见附表。",
                                             "今日成交活跃，请注意价格波动风险。"};
  std::vector<InfoItem> items;
  for (int i = 0; i < 3; ++i) {
    InfoItem item;
    item.date = DateBefore(now, kDaysBack[i]);
    char code6[16];
    std::snprintf(code6, sizeof code6, "%06d", int(code));
    item.title = std::string(code6) + GBK(kTitles[i]);
    const std::string second = GBK("市场") + std::to_string(market) + GBK("，藏品") + code6 +
                               GBK("，日期") + std::to_string(item.date) +
                               GBK("。成交量<1万手时不作提示。");
    item.text = std::string(GBK(kFirstLines[i])) + "\r\n" + second;
    items.push_back(std::move(item));
  }
  return items;
}

std::string AnswerInfoRequest(const std::string& request, std::time_t now) {
  if (request.size() < kDateAt + 6) return std::string();
  const uint8_t* p = reinterpret_cast<const uint8_t*>(request.data());
  const uint16_t tag = ReadU16(p + 4);
  const uint16_t market = ReadU16(p + kItemAt);
  const int32_t code = int32_t(ReadU32(p + kItemAt + 2));
  const int date = int(ReadU32(p + kDateAt + 2));
  std::string text;
  for (const InfoItem& item : InfoItemsOf(market, code, now))
    if (item.date == date) text = item.text;
  std::string reply(kTextAt, '\0');
  WriteU16(&reply[0], kInfoTextType);
  WriteU16(&reply[2], tag);
  reply += text;
  reply += '\0';
  return reply;
}

}  // namespace sim
