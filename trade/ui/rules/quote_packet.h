// The single-item quote packet (PKT_SINGLE_QUOTE, 0x0800) as the order
// entry reads it, and the texts of its two quote strips. The packet is lent
// with its length; one shorter than the last field it reads (141 bytes) is
// refused instead of read past its end.
#pragma once
#include <cstdint>
#include <string>

constexpr int kSingleQuoteMinLength = 141;

struct SSingleQuote {
  uint32_t code = 0;  // offset 6
  uint32_t high = 0;  // 20, thousandths
  uint32_t low = 0;   // 24
  uint32_t last = 0;  // 28
  // From 61, in display order 卖⑤ 卖④ 卖③ 卖② 卖① 买① 买② 买③ 买④ 买⑤.
  uint32_t price[10] = {};
  uint32_t volume[10] = {};
};

// False (out untouched) for a null packet or one shorter than 141 bytes.
bool ReadSingleQuote(const void* data, int length, SSingleQuote* out);

// "现价@  %.2f@    最高@  %.2f~涨跌@  %.2f@  最低@  %.2f\n": last, high, last
// minus the previous close and low, in currency units. GBK.
std::string QuoteSummaryText(const SSingleQuote& quote, uint32_t preClose);
// Two lines of five groups "label  @price    volume", asks then bids. GBK.
std::string FiveLevelText(const SSingleQuote& quote);
// The last price as the price edit takes it ("%.2f").
std::string LastPriceText(const SSingleQuote& quote);
