// The information window's texts and request (info_text.h).
#include "zeb/core/dialogs/info_text.h"

#include <cstdio>

#include "platform/gbk.h"
#include "zeb/store/code_request.h"
#include "zeb/tables/packets/info_packets.h"

std::string FormatInfoDate(int key) {
  char text[32];
  std::snprintf(text, sizeof text, "%4d/%02d/%02d", key / 10000, key % 10000 / 100, key % 100);
  return text;
}

std::string InfoCaption(const SStockInfo& item) { return item.GetName() + GBK("--资讯信息"); }

std::vector<uint8_t> BuildInfoRequest(SCodeInfo item, uint16_t tag, int32_t date, int32_t time) {
  const SCodeInfo codes[3] = {item, SCodeInfo{0, date}, SCodeInfo{0, time}};
  return BuildCodeRequest(PKT_INFO_LIST, item.market, tag, codes, 3);
}

std::string EscapeHtmlText(std::string_view gbk) {
  std::string out;
  out.reserve(gbk.size());
  for (char c : gbk) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string InfoTextToHtml(std::string_view gbk) {
  std::string html = "<HTML><BODY><p>";
  size_t from = 0;
  for (;;) {
    const size_t at = gbk.find("\r\n", from);
    html += EscapeHtmlText(
        gbk.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
    if (at == std::string_view::npos) break;
    html += "</p><p>";
    from = at + 2;
  }
  return html + "</p></BODY></HTML>";
}
