// Quote requests that name items: the 12-byte request head followed by
// 6-byte item codes, the form of every request the program sends for a
// list of items (the alarm list, the trading window's prices, its single
// quote). A request never exceeds what the quote link carries in one frame:
// a longer one would be refused by the link and never reach the server.
#pragma once
#include <cstdint>
#include <vector>

#include "zeb/store/store_records.h"

// The longest request body the quote link sends in one frame.
constexpr int kLinkMaxRequest = 2040;
// The most item codes one request can carry (338).
constexpr int kMaxCodesPerRequest =
    (kLinkMaxRequest - int(sizeof(SCodeRequestHeader))) / int(sizeof(SCodeInfo));

// The head {type, market, tag, count, reserved 0} and the codes, little-endian.
// At most kMaxCodesPerRequest codes go in; the rest are left out.
std::vector<uint8_t> BuildCodeRequest(uint16_t type, uint16_t market, uint16_t tag,
                                      const SCodeInfo* codes, int count);
