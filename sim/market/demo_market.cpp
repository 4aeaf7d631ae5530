#include "sim/market/demo_market.h"

namespace sim {
namespace {

// Limits of +-10% around the previous close, in thousandths.
MarketTableItem Item(const char* gbkName, int32_t code, uint32_t preClose, uint32_t refVolume,
                     int32_t circulating, uint32_t inventory, int16_t valuePerShare) {
  MarketTableItem item;
  item.name = gbkName;
  item.code = code;
  item.preClose = preClose;
  item.refVolume = refVolume;
  item.limitUp = preClose + preClose / 10;
  item.limitDown = preClose - preClose / 10;
  item.circulating = circulating;
  item.inventory = inventory;
  item.valuePerShare = valuePerShare;
  return item;
}

// A few hundred more items so the quote list has pages to scroll: each
// named after a zodiac animal, a theme and a serial number ("鼠票精品12").
void AddSeries(MarketTableBlock& block, int32_t codeBase, const char* gbkKind, uint32_t basePrice) {
  static const char* const kAnimals[] = {
      "\xCA\xF3", "\xC5\xA3", "\xBB\xA2", "\xCD\xC3", "\xC1\xFA", "\xC9\xDF",  // 鼠牛虎兔龙蛇
      "\xC2\xED", "\xD1\xF2", "\xBA\xEF", "\xBC\xA6", "\xB9\xB7", "\xD6\xED"};  // 马羊猴鸡狗猪
  static const char* const kThemes[] = {"\xBE\xAB\xC6\xB7", "\xD5\xE4\xB2\xD8",  // 精品 珍藏
                                        "\xBC\xCD\xC4\xEE"};                           // 纪念
  for (int i = 0; i < kSeriesLength; ++i) {
    std::string name = std::string(kAnimals[i % 12]) + gbkKind + kThemes[(i / 12) % 3] +
                       std::to_string(i / 36 + 1) + std::to_string(i % 10);
    uint32_t price = basePrice + (uint32_t)((i * 7919) % 97) * basePrice / 100;
    block.items.push_back(Item(name.c_str(), codeBase + 100 + i, price, 600 + 37 * (uint32_t)i,
                               100000 + 5000 * i, 150000 + 5000 * (uint32_t)i, (int16_t)(price / 10)));
  }
}

}  // namespace

std::vector<MarketTablePhase> DemoMarketPhases() { return {{570, 690}, {780, 900}}; }

std::vector<MarketTableBlock> DemoMarketBlocks() {
  // Names are GBK bytes.
  std::vector<MarketTableBlock> blocks = {
      {4097, {Item("\xD7\xDB\xBA\xCF\xD6\xB8\xCA\xFD", 1, 1000000, 0, 0, 0, 0)}},            // 综合指数
      {4113, {Item("\xB3\xC9\xB7\xDD\xD6\xB8\xCA\xFD", 399001, 2000000, 0, 0, 0, 0)}},       // 成份指数
      {4114,
       {Item("\xB8\xFD\xD7\xD3\xCA\xF3\xC6\xB1", 602001, 12340, 2400, 500000, 800000, 1500),   // 庚子鼠票
        Item("\xD0\xC1\xB3\xF3\xC5\xA3\xC6\xB1", 602002, 8760, 1200, 300000, 450000, 900),     // 辛丑牛票
        Item("\xC8\xC9\xD2\xFA\xBB\xA2\xC6\xB1", 602003, 21500, 3600, 250000, 400000, 2000)}},  // 壬寅虎票
      {4118, {}},
      {4119,
       {Item("\xD0\xDC\xC3\xA8\xBD\xF0\xB1\xD2", 605001, 356000, 480, 20000, 30000, 30000),    // 熊猫金币
        Item("\xB3\xA4\xB3\xC7\xD2\xF8\xB1\xD2", 605002, 45800, 960, 60000, 80000, 4000)}},    // 长城银币
      {4117, {Item("\xC9\xFA\xD0\xA4\xBF\xA8\xC6\xAC", 701001, 5600, 7200, 1000000, 1200000, 500)}},  // 生肖卡片
      {4115, {Item("\xD3\xCA\xD7\xCA\xB7\xE2\xC6\xAC", 903001, 3210, 4800, 800000, 900000, 300)}},    // 邮资封片
      {4116, {Item("\xBC\xCD\xC4\xEE\xB3\xAE", 100001, 150000, 240, 10000, 12000, 14000)}},           // 纪念钞
  };
  for (MarketTableBlock& block : blocks) {
    switch (block.market) {
      case 4114: AddSeries(block, 602000, "\xC6\xB1", 8000); break;    // 票
      case 4119: AddSeries(block, 605000, "\xB1\xD2", 40000); break;   // 币
      case 4117: AddSeries(block, 701000, "\xBF\xA8", 5000); break;    // 卡
      case 4115: AddSeries(block, 903000, "\xB7\xE2", 3000); break;    // 封
      case 4116: AddSeries(block, 100000, "\xB3\xAE", 120000); break;  // 钞
      default: break;
    }
  }
  return blocks;
}

}  // namespace sim

std::string BuildDemoMarketTable() {
  return sim::BuildMarketTable(sim::kDemoTradeDate, sim::kDemoRequestTag, sim::DemoMarketPhases(),
                               sim::DemoMarketBlocks());
}
