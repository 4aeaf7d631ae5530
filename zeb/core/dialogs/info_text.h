// What the information window (信息地雷) shows and asks, without its
// window: the date column's text, the caption, the text request of one
// item and date, and the received text turned into the HTML the window
// shows. The received text comes from the network: it is escaped before it
// becomes HTML, so no tag or entity of the server's reaches the page.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "zeb/store/store_records.h"

// The request tag of the K-line chart's window: its page.
constexpr uint16_t kInfoPageKLine = 32;

// A date key yyyymmdd as "yyyy/mm/dd".
std::string FormatInfoDate(int key);

// The item's name (the first 60 bytes of its record) and "--资讯信息".
std::string InfoCaption(const SStockInfo& item);

// The 30-byte text request: head {0x1100, the item's market, tag, 3, 0},
// then {market, code}, {0, date yyyymmdd}, {0, time hhmmss}.
std::vector<uint8_t> BuildInfoRequest(SCodeInfo item, uint16_t tag, int32_t date, int32_t time);

// '&', '<', '>' and '"' as entities; every other byte as it is.
std::string EscapeHtmlText(std::string_view gbk);

// The text split at each CR LF, each line escaped and made a paragraph:
// "<HTML><BODY><p>a</p><p>b</p></BODY></HTML>".
std::string InfoTextToHtml(std::string_view gbk);
