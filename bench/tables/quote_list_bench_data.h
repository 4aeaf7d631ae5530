// What the quote list benchmarks share: a scratch program folder with a
// default colour scheme, a store of 2,000 items of one market that are also
// the favourites, and the reply that quotes them all (rises, falls and ties).
#pragma once
#include <filesystem>
#include <initializer_list>
#include <utility>
#include <string>

#include "link/quote_protocol.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/paths.h"
#include "sim/market/market_table_builder.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/packets/quote_packets.h"

namespace bench_tables {

constexpr uint16_t kMarket = 4116;
constexpr int kItems = 2000;

// The program folder (a folder of the temporary directory) with the scheme
// loaded; extra files by name and content.
inline void UseSchemeFolder(const std::string& name,
                            std::initializer_list<std::pair<const char*, std::string>> files = {}) {
  static platform::ScopedRecordingBoxes boxes;  // no thumb bitmap: recorded, not shown
  const std::string dir = (std::filesystem::temp_directory_path() / name).string();
  std::filesystem::create_directories(dir + "/INTERFACE");
  platform::WriteFileAtomic(dir + "/INTERFACE/COLORSCHEME.ini",
                            std::string("[") + GBK("配色方案") + "]\r\n0=s\r\n");
  for (const auto& [file, content] : files) platform::WriteFileAtomic(dir + "/" + file, content);
  platform::SetProgramDirOverride(dir + "/");
  CSysStyle::GetInstance()->LoadScheme();
}

inline CPublic* MakeStore() {
  sim::MarketTableBlock block{kMarket, {}};
  for (int i = 0; i < kItems; ++i) {
    sim::MarketTableItem item;
    item.code = 200000 + i;
    item.name = std::string(GBK("纪念钞精品")) + std::to_string(i);
    item.preClose = 10000 + 7 * i;
    item.refVolume = 500 + i;
    item.circulating = 100000;
    block.items.push_back(item);
  }
  const std::string table = sim::BuildMarketTable(20260105, 1, {{570, 690}, {780, 900}}, {block});
  auto* store = new CPublic();
  store->ParseMarketTable(table.data(), static_cast<int>(table.size()));
  for (int i = 0; i < kItems; ++i)
    store->GetSelectedStocks().push_back(SCodeInfo{kMarket, 200000 + i});
  return store;
}

inline std::string MakeReply() {
  std::string reply(kQuoteListHeadSize + kQuoteUnitSize * kItems, '\0');
  char* p = reply.data();
  quotelink::WriteU16(p, PKT_REPORT);
  quotelink::WriteU16(p + 2, 1);
  quotelink::WriteU16(p + 4, kItems);
  for (int i = 0; i < kItems; ++i) {
    char* r = p + kQuoteListHeadSize + kQuoteUnitSize * i;
    const uint32_t close = 10000 + 7 * i;
    const uint32_t last = close + (i % 21) * 50 - 500;  // rises, falls and ties
    quotelink::WriteU16(r, kMarket);
    quotelink::WriteU32(r + 2, 200000 + i);
    for (int f = 0; f < 4; ++f) quotelink::WriteU32(r + 6 + 4 * f, last);
    quotelink::WriteU32(r + 22, 1000 + 137 * i);         // volume
    quotelink::WriteU32(r + 26, 3 + i % 50);             // last deal volume
    quotelink::WriteU32(r + 30, (1000 + 137 * i) * 10);  // amount
    quotelink::WriteU32(r + 34, last + 10);
    quotelink::WriteU32(r + 38, last - 10);
    quotelink::WriteU32(r + 42, 20);
    quotelink::WriteU32(r + 46, 30);
    quotelink::WriteU32(r + 50, static_cast<uint32_t>((i % 200) - 100));
  }
  return reply;
}

}  // namespace bench_tables
