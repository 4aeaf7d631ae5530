#include "sim/market/market_table_builder.h"

#include <cstring>

namespace sim {
namespace {

void PutU16(std::string& out, size_t at, uint16_t v) {
  out[at] = static_cast<char>(v & 0xFF);
  out[at + 1] = static_cast<char>(v >> 8);
}

void PutU32(std::string& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

std::string EncodeStockRecord(const MarketTableItem& item, uint16_t blockMarket) {
  std::string rec(kStockRecordSize, '\0');
  size_t nameLen = item.name.size() < kStockNameSize - 1 ? item.name.size() : kStockNameSize - 1;
  std::memcpy(rec.data(), item.name.data(), nameLen);
  PutU32(rec, 64, static_cast<uint32_t>(item.code));
  PutU16(rec, 68, item.market != 0 ? item.market : blockMarket);
  PutU32(rec, 70, item.preClose);
  PutU32(rec, 74, item.refVolume);
  PutU32(rec, 78, item.limitUp);
  PutU32(rec, 82, item.limitDown);
  PutU32(rec, 86, static_cast<uint32_t>(item.circulating));
  PutU32(rec, 90, item.inventory);
  PutU16(rec, 94, static_cast<uint16_t>(item.valuePerShare));
  return rec;
}

std::string BuildMarketTable(int32_t tradeDate, uint16_t tag,
                             const std::vector<MarketTablePhase>& phases,
                             const std::vector<MarketTableBlock>& blocks) {
  std::string out(kMarketTableHeadSize, '\0');
  PutU16(out, 0, kMarketTablePacketType);
  PutU16(out, 2, tag);
  PutU32(out, 4, static_cast<uint32_t>(tradeDate));
  out[8] = static_cast<char>(phases.size() & 0xFF);
  out[13] = static_cast<char>(blocks.size() & 0xFF);
  for (const MarketTablePhase& p : phases) {
    std::string rec(4, '\0');
    PutU16(rec, 0, p.begin);
    PutU16(rec, 2, p.end);
    out += rec;
  }
  for (const MarketTableBlock& b : blocks) {
    std::string head(kMarketBlockHeadSize, '\0');
    PutU16(head, 0, b.market);
    PutU16(head, 6, static_cast<uint16_t>(b.items.size()));
    out += head;
    for (const MarketTableItem& item : b.items) out += EncodeStockRecord(item, b.market);
  }
  return out;
}

std::string BuildOneItemMarketTable(uint16_t market, int32_t code, const std::string& name,
                                    uint32_t preClose) {
  MarketTableBlock block{market, {}};
  MarketTableItem item;
  item.code = code;
  item.name = name;
  item.preClose = preClose;
  block.items.push_back(item);
  return BuildMarketTable(20260105, 1, {{570, 690}, {780, 900}}, {block});
}

}  // namespace sim
