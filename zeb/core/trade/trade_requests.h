// The quote requests the trading pane sends for the trading window: one
// item's five-level quote (0x0800) and the latest prices of the codes the
// window holds (0x2200), each item with the market its code belongs to.
//
// Sound behaviour kept here: the single-quote request carries no address
// in its reserved slot (a pointer means nothing to the server and would
// only leak one); a price list longer than one request can carry is split
// into several requests, each within what the quote link sends in a frame.
#pragma once
#include <cstdint>
#include <vector>

#include "zeb/messages.h"

// The market of an item code, by code / 1000: 100 -> 4116, 602 -> 4114,
// 605 -> 4119, 701 -> 4117, 903 -> 4115, any other -> 4118.
uint16_t GetMarketOfCode(int32_t code);

// 18 bytes: {0x0800, the code's market, tag, count 1, slot 0}, then the
// item {market, code}.
std::vector<uint8_t> BuildSingleQuoteRequest(int32_t code, uint16_t tag);

// The 0x2200 requests for the codes (decimal texts, read as atoi reads
// them), in list order: {0x2200, market 0x3000, tag, count, slot 0}, then
// per code {its market, code}. None for an empty list; more than one when
// the list is longer than one request carries (kMaxCodesPerRequest).
std::vector<std::vector<uint8_t>> BuildSubscriptionRequests(const TradeCodeList& codes,
                                                            uint16_t tag);
