// The chart view's packets built for tests from their documented layouts,
// field by field, independently of the reader under test.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "quote_packet_bytes.h"

namespace tables_test {

// A quote record as written: the code packed with the market's low byte.
struct TickBytes {
  uint16_t market = 4114;
  int32_t code = 602001;
  uint16_t time = 600;
  uint32_t open = 0, high = 0, low = 0, last = 0, average = 0;
  uint32_t volume = 0, curVolume = 0, amount = 0, activeBuy = 0, activeSell = 0;
  std::vector<std::pair<uint32_t, uint32_t>> levels;  // price, volume
  int claimedLevels = -1;                             // -1: levels.size()
};

inline void WriteTick(PacketBytes& b, size_t at, const TickBytes& t) {
  b.U32(at, (static_cast<uint32_t>(t.market & 0xFF) << 24) |
                (static_cast<uint32_t>(t.code) & 0xFFFFFF));
  b.U16(at + 4, t.time)
      .U32(at + 6, t.open)
      .U32(at + 10, t.high)
      .U32(at + 14, t.low)
      .U32(at + 18, t.last);
  b.U32(at + 22, t.average).U32(at + 26, t.volume).U32(at + 30, t.curVolume).U32(at + 34, t.amount);
  b.U32(at + 38, t.activeBuy).U32(at + 42, t.activeSell);
  b.U8(at + 46, static_cast<uint8_t>(t.claimedLevels < 0 ? t.levels.size() : t.claimedLevels))
      .Size(at + 51);
  for (size_t i = 0; i < t.levels.size(); ++i)
    b.U32(at + 51 + 8 * i, t.levels[i].first).U32(at + 55 + 8 * i, t.levels[i].second);
}

inline size_t TickSize(const TickBytes& t) { return 51 + 8 * t.levels.size(); }

// Ten levels around a best bid and ask one cent apart, volumes 10..100.
inline std::vector<std::pair<uint32_t, uint32_t>> TenLevels(uint32_t bid, uint32_t ask) {
  std::vector<std::pair<uint32_t, uint32_t>> l;
  for (int i = 4; i >= 0; --i) l.push_back({ask + 10u * i, 10u * (i + 1)});
  for (int i = 0; i < 5; ++i) l.push_back({bid - 10u * i, 20u * (i + 1)});
  return l;
}

// 0x0B00 with `entries` 16-byte entries, then the records.
inline std::string PushBody(const std::vector<TickBytes>& ticks, int entries = 0,
                            int claimed = -1) {
  PacketBytes b;
  b.U16(0, 0x0B00).U8(4, static_cast<uint8_t>(entries));
  b.U16(9, static_cast<uint16_t>(claimed < 0 ? ticks.size() : claimed));
  size_t at = 15 + 16 * static_cast<size_t>(entries);
  b.Size(at);
  for (const TickBytes& t : ticks) {
    WriteTick(b, at, t);
    at += TickSize(t);
  }
  return b.Bytes();
}

struct DealBytes {
  uint16_t time = 0;
  uint32_t price = 0, volume = 0, bid = 0, ask = 0;
};

inline void WriteDeal(PacketBytes& b, size_t at, const DealBytes& d) {
  b.U16(at, d.time)
      .U32(at + 2, d.price)
      .U32(at + 6, d.volume)
      .U32(at + 18, d.bid)
      .U32(at + 22, d.ask)
      .Size(at + 30);
}

// 0x0100: tag at 2, count at 10, deals from 16.
inline std::string DealListBody(const std::vector<DealBytes>& deals, uint16_t tag = 1,
                                int claimed = -1) {
  PacketBytes b;
  b.U16(0, 0x0100)
      .U16(2, tag)
      .U16(10, static_cast<uint16_t>(claimed < 0 ? deals.size() : claimed))
      .Size(16);
  for (size_t i = 0; i < deals.size(); ++i) WriteDeal(b, 16 + 30 * i, deals[i]);
  return b.Bytes();
}

// A per-minute point of the time-share reply (26 bytes).
struct PointBytes {
  uint16_t elapsed = 0;  // minutes since 09:30
  uint32_t price = 0, volume = 0, average = 0;
};

// 0x0300: the record's market at 4 and code at 6, tick count at 10, point
// count at 16, the record at 22, ticks after it, then the points.
inline std::string TraceBody(const TickBytes& quote, const std::vector<DealBytes>& ticks,
                             int claimed = -1, const std::vector<PointBytes>& points = {}) {
  PacketBytes b;
  b.U16(0, 0x0300).U16(2, 1).U16(4, quote.market).I32(6, quote.code);
  b.U16(10, static_cast<uint16_t>(claimed < 0 ? ticks.size() : claimed));
  b.U16(16, static_cast<uint16_t>(points.size()));
  WriteTick(b, 22, quote);
  size_t at = 22 + TickSize(quote);
  b.Size(at);
  for (size_t i = 0; i < ticks.size(); ++i) WriteDeal(b, at + 30 * i, ticks[i]);
  at += 30 * ticks.size();
  for (const PointBytes& p : points) {
    b.U16(at, p.elapsed)
        .U32(at + 2, p.price)
        .U32(at + 6, p.volume)
        .U32(at + 14, p.average)
        .Size(at + 26);
    at += 26;
  }
  return b.Bytes();
}

struct BigBytes {
  uint16_t time = 0, market = 0;
  int32_t code = 0;
  uint32_t price = 0, volume = 0;
};

// 0x1C00 (count at 4, records from 10) or 0x1D00 (count at 19, from 25).
inline std::string BigOrderBody(uint16_t type, const std::vector<BigBytes>& orders,
                                int claimed = -1) {
  PacketBytes b;
  const bool add = type == 0x1D00;
  const size_t at = add ? 25 : 10;
  b.U16(0, type)
      .U16(add ? 19 : 4,
           static_cast<uint16_t>(claimed < 0 ? static_cast<int>(orders.size()) : claimed))
      .Size(at);
  for (size_t i = 0; i < orders.size(); ++i) {
    const BigBytes& o = orders[i];
    b.U16(at + 16 * i, o.time).U16(at + 16 * i + 2, o.market).I32(at + 16 * i + 4, o.code);
    b.U32(at + 16 * i + 8, o.price).U32(at + 16 * i + 12, o.volume);
  }
  return b.Bytes();
}

}  // namespace tables_test
