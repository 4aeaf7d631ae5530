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
// named after a zodiac animal, the kind of its market, a theme and a serial
// number ("鼠票精品12"; on the index market "鼠精品指数12").
void AddSeries(MarketTableBlock& block, int32_t codeBase, const char* gbkKind, const char* gbkTail,
               uint32_t basePrice) {
  static const char* const kAnimals[] = {
      "\xCA\xF3", "\xC5\xA3", "\xBB\xA2", "\xCD\xC3", "\xC1\xFA", "\xC9\xDF",  // 鼠牛虎兔龙蛇
      "\xC2\xED", "\xD1\xF2", "\xBA\xEF", "\xBC\xA6", "\xB9\xB7", "\xD6\xED"};  // 马羊猴鸡狗猪
  static const char* const kThemes[] = {"\xBE\xAB\xC6\xB7", "\xD5\xE4\xB2\xD8",  // 精品 珍藏
                                        "\xBC\xCD\xC4\xEE"};                     // 纪念
  for (int i = 0; i < kSeriesLength; ++i) {
    std::string name = std::string(kAnimals[i % 12]) + gbkKind + kThemes[(i / 12) % 3] + gbkTail +
                       std::to_string(i / 36 + 1) + std::to_string(i % 10);
    uint32_t price = basePrice + (uint32_t)((i * 7919) % 97) * basePrice / 100;
    block.items.push_back(Item(name.c_str(), codeBase + 100 + i, price, 600 + 37 * (uint32_t)i,
                               100000 + 5000 * i, 150000 + 5000 * (uint32_t)i,
                               (int16_t)(price / 10)));
  }
}

}  // namespace

std::vector<MarketTablePhase> DemoMarketPhases() { return {{570, 690}, {780, 900}}; }

std::vector<MarketTableBlock> DemoMarketBlocks() {
  // Each item sits in the market its code maps to (code / 1000: 602
  // stamps, 701 coins, 903 phone cards, 605 postal covers and cards, 100
  // the indexes of the collectibles), and is named as what that market's
  // tab lists. Names are GBK bytes.
  std::vector<MarketTableBlock> blocks = {
      {4097, {Item("\xD7\xDB\xBA\xCF\xD6\xB8\xCA\xFD", 1, 1000000, 0, 0, 0, 0)}},  // 综合指数
      {4113, {Item("\xB3\xC9\xB7\xDD\xD6\xB8\xCA\xFD", 399001, 2000000, 0, 0, 0, 0)}},  // 成份指数
      {4114,
       {Item("\xB8\xFD\xD7\xD3\xCA\xF3\xC6\xB1", 602001, 12340, 2400, 500000, 800000,
             1500),  // 庚子鼠票
        Item("\xD0\xC1\xB3\xF3\xC5\xA3\xC6\xB1", 602002, 8760, 1200, 300000, 450000,
             900),  // 辛丑牛票
        Item("\xC8\xC9\xD2\xFA\xBB\xA2\xC6\xB1", 602003, 21500, 3600, 250000, 400000,
             2000)}},  // 壬寅虎票
      {4118, {}},
      {4119,
       {Item("\xC9\xFA\xD0\xA4\xD3\xCA\xD7\xCA\xB7\xE2", 605001, 356000, 480, 20000, 30000,
             30000),  // 生肖邮资封
        Item("\xB3\xA4\xB3\xC7\xC3\xF7\xD0\xC5\xC6\xAC", 605002, 45800, 960, 60000, 80000,
             4000)}},  // 长城明信片
      {4117,
       {Item("\xD0\xDC\xC3\xA8\xBD\xF0\xB1\xD2", 701001, 5600, 7200, 1000000, 1200000,
             500)}},  // 熊猫金币
      {4115,
       {Item("\xC9\xFA\xD0\xA4\xB5\xE7\xBB\xB0\xBF\xA8", 903001, 3210, 4800, 800000, 900000,
             300)}},  // 生肖电话卡
      {4116,
       {Item("\xD3\xCA\xC6\xB1\xD6\xB8\xCA\xFD", 100001, 150000, 240, 10000, 12000,
             14000)}},  // 邮票指数
  };
  const char* const none = "";
  const char* const index = "\xD6\xB8\xCA\xFD";  // 指数
  for (MarketTableBlock& block : blocks) {
    switch (block.market) {
      case 4114: AddSeries(block, 602000, "\xC6\xB1", none, 8000); break;   // 票
      case 4117: AddSeries(block, 701000, "\xB1\xD2", none, 40000); break;  // 币
      case 4115: AddSeries(block, 903000, "\xBF\xA8", none, 5000); break;   // 卡
      case 4119: AddSeries(block, 605000, "\xB7\xE2", none, 3000); break;   // 封
      case 4116: AddSeries(block, 100000, none, index, 120000); break;
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
