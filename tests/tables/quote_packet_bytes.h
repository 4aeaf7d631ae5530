// Quote packets built for tests from their documented layouts, one field
// at a time by offset, independently of the reader under test.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "zeb/tables/packets/quote_packets.h"

namespace tables_test {

// Little-endian fields written at offsets; the buffer grows as needed.
class PacketBytes {
 public:
  PacketBytes& U8(size_t at, uint8_t v) { return Put(at, v, 1); }
  PacketBytes& U16(size_t at, uint16_t v) { return Put(at, v, 2); }
  PacketBytes& U32(size_t at, uint32_t v) { return Put(at, v, 4); }
  PacketBytes& I32(size_t at, int32_t v) { return Put(at, static_cast<uint32_t>(v), 4); }
  PacketBytes& Size(size_t size) {
    bytes_.resize(size, '\0');
    return *this;
  }
  const std::string& Bytes() const { return bytes_; }

 private:
  PacketBytes& Put(size_t at, uint32_t v, int width) {
    if (bytes_.size() < at + width) bytes_.resize(at + width, '\0');
    for (int i = 0; i < width; ++i) bytes_[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return *this;
  }
  std::string bytes_;
};

// One 54-byte quote record at offset at.
inline void WriteQuote(PacketBytes& b, size_t at, const SQuoteUnit& q) {
  b.U16(at + 0, q.code.market).I32(at + 2, q.code.code);
  b.U32(at + 6, q.open).U32(at + 10, q.high).U32(at + 14, q.low).U32(at + 18, q.last);
  b.U32(at + 22, q.volume).U32(at + 26, q.curVolume).U32(at + 30, q.amount);
  b.U32(at + 34, q.askPrice)
      .U32(at + 38, q.bidPrice)
      .U32(at + 42, q.askVolume)
      .U32(at + 46, q.bidVolume);
  b.I32(at + 50, q.orderRatio);
}

// The quote-list layout: type, tag, u16 count at 4, u16 total at 6, a
// pointer slot at 8, records from 12.
inline std::string QuoteListBody(uint16_t type, uint16_t tag, const std::vector<SQuoteUnit>& quotes,
                                 uint16_t total = 0) {
  PacketBytes b;
  b.U16(0, type).U16(2, tag).U16(4, static_cast<uint16_t>(quotes.size())).U16(6, total).Size(12);
  for (size_t i = 0; i < quotes.size(); ++i) WriteQuote(b, 12 + 54 * i, quotes[i]);
  return b.Bytes();
}

// The grouped push 0x3B00: u8 n at 4, pointer slot at 5, 6 bytes, n
// 16-byte entries from 15; then a block: u16 count at 4, pointer slot at
// 8, records from 12.
inline std::string GroupedBody(uint16_t tag, int entries, const std::vector<SQuoteUnit>& quotes) {
  PacketBytes b;
  b.U16(0, PKT_REPORT_GROUPED).U16(2, tag).U8(4, static_cast<uint8_t>(entries));
  for (int e = 0; e < entries; ++e) b.U32(15 + 16 * e, 0xA5A5A5A5u);
  const size_t block = 15 + 16 * static_cast<size_t>(entries);
  b.U16(block + 4, static_cast<uint16_t>(quotes.size())).Size(block + 12);
  for (size_t i = 0; i < quotes.size(); ++i) WriteQuote(b, block + 12 + 54 * i, quotes[i]);
  return b.Bytes();
}

inline SQuoteUnit Quote(uint16_t market, int32_t code, uint32_t last, uint32_t volume = 1000) {
  SQuoteUnit q;
  q.code = SCodeInfo{market, code};
  q.open = q.high = q.low = q.last = last;
  q.volume = volume;
  q.amount = volume * last;
  return q;
}

}  // namespace tables_test
