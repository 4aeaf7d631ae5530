// Time-share packets from the server: any bytes, read by the minute-data,
// day-trace and pushed-tick readers, must never read past the body, and what is
// read must fit in the body as its counts say. The same bytes then go
// through a time-share chart of a loaded store (with and without data of
// its own), which must take them or refuse them without harm and keep its
// points within its arrays.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "sim/market/demo_market.h"
#include "zeb/charts/timeshare/price_vol_obj.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/packets/timeshare_packets.h"

namespace {

struct Screen {
  CPublic store;
  CPriceVolObj chart{&store};
  Screen() {
    const std::string table = BuildDemoMarketTable();
    store.ParseMarketTable(table.data(), static_cast<int>(table.size()));
    for (CMarketInfo market : store.GetMarkets()) {
      if (market.stocks.empty()) continue;
      SCodeInfo key = market.stocks.front().GetKey();
      chart.SetStock(store.FindStock(&key));
      break;
    }
    chart.SetRect(0, 0, 600, 400);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  // An exact-size copy so any over-read is caught.
  std::vector<uint8_t> body(data, data + size);
  SMinuteData minute;
  if (ReadMinuteData(body.data(), body.size(), &minute)) {
    if (kMinuteHeadSize + minute.points.size() * kMinutePointSize > size) std::abort();
  } else if (!minute.points.empty()) {
    std::abort();
  }
  SDayTrace day;
  if (ReadDayTrace(body.data(), body.size(), &day)) {
    if (kDayTraceHeadSize + day.points.size() * kDayTracePointSize > size) std::abort();
  } else if (!day.points.empty()) {
    std::abort();
  }
  SPushTickPacket ticks;
  if (ReadPushTicks(body.data(), body.size(), &ticks)) {
    if (15 + ticks.records.size() * kTickRecordHead > size) std::abort();
  } else if (!ticks.records.empty()) {
    std::abort();
  }

  static Screen* screen = new Screen;
  // Past days and ticks change what the chart holds; each input starts
  // from the same chart state the run before left, which is also fine.
  screen->chart.OnData(body.data(), static_cast<int>(body.size()));
  if (screen->chart.GetDataCount() > screen->chart.GetPointCount()) std::abort();
  return 0;
}
