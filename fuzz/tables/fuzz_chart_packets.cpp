// The chart view's packets from the server: any bytes, read by each chart
// packet reader, must never read past the body, and what is read holds
// exactly what fits. The same bytes then go through the chart view's
// analysis object and information panel (every table behind them) for a
// loaded store and item, which take them or refuse them without harm, and
// are drawn.
#include <QGuiApplication>
#include <QImage>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "sim/market/demo_market.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/packets/chart_packets.h"
#include "zeb/tables/packets/kline_packets.h"
#include "zeb/views/stock/analysis_obj.h"
#include "zeb/views/stock/stat_info_obj.h"

namespace {

struct Screen {
  CPublic store;
  CAnalisysObj analysis{&store};
  CStatInfoObj panel{&store};
  SStockInfo item;
  QImage image{900, 500, QImage::Format_RGB32};
  Screen() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);
    const std::string table = BuildDemoMarketTable();
    store.ParseMarketTable(table.data(), static_cast<int>(table.size()));
    const SCodeInfo key{4114, 602001};
    item = *store.FindStock(&key);
    analysis.InitTabs();
    panel.InitParts();
    analysis.SetRect(0, 0, 650, 500);
    panel.SetRect(650, 0, 900, 500);
    analysis.SetStock(&item);
    panel.SetStock(&item);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  std::vector<uint8_t> body(data, data + size);
  SDealListPacket deals;
  if (ReadDealList(body.data(), body.size(), &deals) &&
      16 + deals.deals.size() * kDealRecordSize > size)
    std::abort();
  SMinuteTracePacket trace;
  if (ReadMinuteTrace(body.data(), body.size(), &trace) &&
      22 + 51 + trace.ticks.size() * kDealRecordSize > size)
    std::abort();
  SPushTickPacket push;
  if (ReadPushTicks(body.data(), body.size(), &push) &&
      15 + push.records.size() * kTickRecordHead > size)
    std::abort();
  SBigOrderPacket big;
  if (ReadBigOrders(body.data(), body.size(), &big) &&
      10 + big.orders.size() * kBigOrderSize > size)
    std::abort();
  std::vector<SExRightsRecord> exRights;
  if (ReadExRights(body.data(), body.size(), &exRights) &&
      kExRightsAt + exRights.size() * kExRightsRecordSize > size)
    std::abort();

  static Screen* screen = new Screen();
  const int length = static_cast<int>(body.size());
  // Each analysis page and the panel's pages see the bytes.
  const int kind = size > 0 ? data[0] % 4 : 0;
  screen->analysis.SetKind(kind);
  screen->panel.SelectTab(size > 1 ? data[1] % 5 : 0);
  screen->analysis.OnData(body.data(), length);
  screen->panel.OnData(body.data(), length);
  CDC dc(&screen->image);
  screen->analysis.Draw(&dc);
  screen->panel.Draw(&dc);
  return 0;
}
