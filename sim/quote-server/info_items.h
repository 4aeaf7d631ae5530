// The simulator's information items (news): for every item a few entries,
// each a date (yyyymmdd), a title and a text of two lines, the same for
// every run on the same day. The text request (0x1100: head, then
// {market, code}, {0, date}, {0, time}) is answered with the entry's text,
// NUL-terminated from offset 12; a date without an entry gets an empty
// text. Texts and titles are GBK.
#pragma once
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace sim {

constexpr uint16_t kInfoTextType = 0x1100;

struct InfoItem {
  int date = 0;  // yyyymmdd
  std::string title;
  std::string text;  // lines end in CR LF
};

// The entries of an item, oldest first; dates lie 2, 9 and 23 days
// before the day of now (local time), a Saturday or Sunday moved back to
// the Friday, so each falls on a day of the K-line history.
std::vector<InfoItem> InfoItemsOf(uint16_t market, int32_t code, std::time_t now);

// Local noon of a day yyyymmdd: the simulator's clock for its entries, so
// they lie before the trade date its histories end at (the current time for
// a date out of range).
std::time_t DayClock(uint32_t date);

// The reply to a 0x1100 request body; empty for a request too short to
// name its item and date.
std::string AnswerInfoRequest(const std::string& request, std::time_t now);

}  // namespace sim
