// Time-share packets from the server: any bytes, read by the minute-data,
// day-trace and pushed-tick readers, must never read past the body, and
// what is read must fit in the body as its counts say. Then the input
// plays a short session with a time-share chart of a loaded store (see
// chart_session.h): up to four bodies in a row under the packet types the
// chart takes, with the current request tag, each followed by a key, the
// mouse or a change of the extra pane and a paint. The chart must take or
// refuse each without harm and keep its points within its arrays.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "chart_session.h"
#include "sim/market/demo_market.h"
#include "zeb/charts/timeshare/price_vol_obj.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/packets/timeshare_packets.h"

namespace {

void CheckReaders(const std::vector<uint8_t>& body) {
  const size_t size = body.size();
  SMinuteData minute;
  if (ReadMinuteData(body.data(), size, &minute)) {
    if (kMinuteHeadSize + minute.points.size() * kMinutePointSize > size) std::abort();
  } else if (!minute.points.empty()) {
    std::abort();
  }
  SDayTrace day;
  if (ReadDayTrace(body.data(), size, &day)) {
    if (kDayTraceHeadSize + day.points.size() * kDayTracePointSize > size) std::abort();
  } else if (!day.points.empty()) {
    std::abort();
  }
  SPushTickPacket ticks;
  if (ReadPushTicks(body.data(), size, &ticks)) {
    if (15 + ticks.records.size() * kTickRecordHead > size) std::abort();
  } else if (!ticks.records.empty()) {
    std::abort();
  }
}

struct Screen {
  chart_fuzz::CPicture picture{600, 400};
  CPublic store;
  SStockInfo* item = nullptr;
  CPriceVolObj chart{&store};
  Screen() {
    const std::string table = BuildDemoMarketTable();
    store.ParseMarketTable(table.data(), static_cast<int>(table.size()));
    for (CMarketInfo market : store.GetMarkets()) {
      if (market.stocks.empty()) continue;
      SCodeInfo key = market.stocks.front().GetKey();
      item = store.FindStock(&key);
      break;
    }
    chart.SetRect(0, 0, 600, 400);
  }
};

// The bodies the time-share chart is given, by group.
constexpr uint16_t kGroups[] = {0x0300, 0x0A00, 0x0D00, 0x0400, 0x0B00};
constexpr UINT kPanes[] = {CPriceVolObj::kVolumeCommand, CPriceVolObj::kLongShortCommand};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  // The whole input as one body (an exact-size copy so any over-read is caught).
  CheckReaders(std::vector<uint8_t>(data, data + size));
  static Screen* screen = new Screen;
  CPriceVolObj& chart = screen->chart;
  // Each input starts a new item.
  chart.SetStock(screen->item);
  for (chart_fuzz::SBlock& block : chart_fuzz::Split(data, size)) {
    const uint16_t group = kGroups[(block.kind & 0x0F) % (sizeof kGroups / sizeof kGroups[0])];
    chart_fuzz::Stamp(block, group, block.kind & 0x80, uint16_t(CPublic::GetRequestTag()));
    CheckReaders(block.body);
    chart.OnData(block.body.data(), static_cast<int>(block.body.size()));
    if (chart.GetDataCount() > chart.GetPointCount()) std::abort();
    if (const UINT key = chart_fuzz::StepKey(block.step)) chart.OnKey(key);
    if (block.step & 0x08) {
      const POINT p = chart_fuzz::StepPoint(block.step, block.body.size(), 600, 400);
      chart.OnMouseMove(p.x, p.y);
    }
    if (block.step & 0x10) chart.OnCommand(kPanes[(block.step >> 5) & 1]);
    screen->picture.Paint(chart);
  }
  return 0;
}
