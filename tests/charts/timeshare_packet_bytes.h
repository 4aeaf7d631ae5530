// Time-share packets built for tests from their documented layouts, one
// field at a time by offset, independently of the reader under test.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tables/quote_packet_bytes.h"
#include "zeb/tables/packets/timeshare_packets.h"

namespace charts_test {

using tables_test::PacketBytes;

struct Point {
  uint16_t elapsed;
  uint32_t price, volume, average;
};

// Minute data: head, `levels` 8-byte entries, `deals` 30-byte records,
// then the per-minute points.
inline std::string MinuteBody(uint16_t type, uint16_t tag, SCodeInfo code, uint16_t time,
                              uint32_t last, uint32_t total, const std::vector<Point>& points,
                              uint8_t levels = 2, uint16_t deals = 1) {
  PacketBytes b;
  b.U16(0, type).U16(2, tag).U16(4, code.market).U32(6, static_cast<uint32_t>(code.code));
  b.U16(10, deals).U16(16, static_cast<uint16_t>(points.size())).U16(26, time);
  b.U32(40, last).U32(48, total).U8(68, levels);
  size_t at = 73 + levels * 8u + deals * 30u;
  b.Size(at);
  for (const Point& p : points) {
    b.U16(at, p.elapsed).U32(at + 2, p.price).U32(at + 6, p.volume).U32(at + 14, p.average);
    at += 26;
  }
  b.Size(at);
  return b.Bytes();
}

inline std::string DayTraceBody(uint32_t date, uint32_t preClose,
                                const std::vector<std::vector<uint32_t>>& records) {
  PacketBytes b;
  b.U16(0, PKT_DAY_TRACE).U16(2, 1).U32(4, date).U32(8, preClose);
  b.U16(12, static_cast<uint16_t>(records.size())).Size(18);
  size_t at = 18;
  for (const auto& r : records) {
    b.U32(at, r[0]).U32(at + 4, r[1]).U32(at + 8, r[2]);
    at += 12;
  }
  return b.Bytes();
}

struct Tick {
  SCodeInfo code;
  uint16_t time;  // minutes of the day
  uint32_t last, average, total, step;
  uint8_t levels = 0;
};

// Pushed ticks with `entries` 16-byte entries before the records.
inline std::string TickBody(const std::vector<Tick>& ticks, uint8_t entries = 1) {
  PacketBytes b;
  b.U16(0, PKT_PUSH_TICK).U8(4, entries).U16(9, static_cast<uint16_t>(ticks.size()));
  size_t at = 15 + entries * 16u;
  b.Size(at);
  for (const Tick& t : ticks) {
    const uint32_t word =
        (static_cast<uint32_t>(t.code.market - 0x1000) << 24) | (t.code.code & 0xFFFFFF);
    b.U32(at, word).U16(at + 4, t.time).U32(at + 18, t.last).U32(at + 22, t.average);
    b.U32(at + 26, t.total).U32(at + 30, t.step).U8(at + 46, t.levels);
    at += 51 + t.levels * 8u;
    b.Size(at);
  }
  return b.Bytes();
}

}  // namespace charts_test
