// Builds the body of the market-table reply (packet type 0x1000) the way the
// quote server sends it: the trading date, the trading periods, then one
// block per market with its 96-byte item records.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

constexpr uint16_t kMarketTablePacketType = 0x1000;
constexpr size_t kMarketTableHeadSize = 18;
constexpr size_t kMarketBlockHeadSize = 12;
constexpr size_t kStockRecordSize = 96;
constexpr size_t kStockNameSize = 60;

struct MarketTableItem {
  std::string name;  // GBK bytes; cut to 59 bytes so the record keeps its NUL
  int32_t code = 0;
  uint16_t market = 0;  // 0: the market of the block
  uint32_t preClose = 0;
  uint32_t refVolume = 0;
  uint32_t limitUp = 0;
  uint32_t limitDown = 0;
  int32_t circulating = 0;
  uint32_t inventory = 0;
  int16_t valuePerShare = 0;
};

struct MarketTableBlock {
  uint16_t market = 0;
  std::vector<MarketTableItem> items;
};

struct MarketTablePhase {
  uint16_t begin = 0;  // minutes of the day
  uint16_t end = 0;
};

// One 96-byte item record.
std::string EncodeStockRecord(const MarketTableItem& item, uint16_t blockMarket);

// The whole reply body. The two pointer slots of the head are sent as zero.
std::string BuildMarketTable(int32_t tradeDate, uint16_t tag,
                             const std::vector<MarketTablePhase>& phases,
                             const std::vector<MarketTableBlock>& blocks);

// A market of one item (previous close in thousandths) on a trading day of
// 09:30-11:30 and 13:00-15:00: what the chart benchmarks and their harness
// load.
std::string BuildOneItemMarketTable(uint16_t market, int32_t code, const std::string& name,
                                    uint32_t preClose);

}  // namespace sim
