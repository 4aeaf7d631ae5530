// K-line replies from the server: any bytes, read as a history, minute,
// tick, ex-rights or title body, must never be read past their end, and a
// body that is read holds exactly what its counts say within its length.
// Then the input plays a short session with one K-line chart (see
// chart_session.h): up to four bodies in a row under the packet types the
// chart takes, with the current request tag, history asked for or not,
// each followed by a key, a zoom or a mouse move and a paint. The chart
// must take or refuse each without harm, keep its range inside its bars
// and hold no more bars than its bound.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "chart_session.h"
#include "platform/msgbox.h"
#include "sim/market/demo_market.h"
#include "zeb/charts/kline/his_tech_obj.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/packets/kline_packets.h"

namespace {

constexpr SCodeInfo kItem{0x1012, 602001};

void CheckReaders(const uint8_t* data, size_t size) {
  SHistoryPacket history;
  if (ReadKLineHistory(data, size, &history)) {
    if (kHistoryRecordsAt + history.records.size() * kHistoryRecordSize > size) std::abort();
  } else if (!history.records.empty()) {
    std::abort();
  }
  SKLineMinutePacket minutes;
  if (ReadKLineMinutes(data, size, &minutes)) {
    if (kMinuteHeadSize + minutes.minutes.size() * kDealRecordSize +
            size_t(minutes.pointCount) * kMinutePointSize >
        size)
      std::abort();
  } else if (!minutes.minutes.empty()) {
    std::abort();
  }
  SPushTickPacket push;
  SKLineTick tick;
  if (ReadPushTicks(data, size, &push) && KLineTickOf(push, kItem, &tick) && !(tick.code == kItem))
    std::abort();
  std::vector<SExRightsRecord> exRights;
  if (ReadExRights(data, size, &exRights)) {
    if (kExRightsAt + exRights.size() * kExRightsRecordSize > size) std::abort();
  } else if (!exRights.empty()) {
    std::abort();
  }
  std::map<uint32_t, std::string> titles;
  if (ReadInfoTitles(data, size, &titles)) {
    size_t bytes = 18;
    for (const auto& [key, text] : titles) bytes += 9 + text.size();
    if (bytes > size) std::abort();
  } else if (!titles.empty()) {
    std::abort();
  }
}

struct Chart {
  platform::ScopedRecordingBoxes boxes;  // no pane file: the box is recorded
  chart_fuzz::CPicture picture{800, 600};
  CPublic store;
  SStockInfo* item = nullptr;
  std::unique_ptr<CHisTechObj> obj;
  Chart() {
    const std::string table = BuildDemoMarketTable();
    store.ParseMarketTable(table.data(), static_cast<int>(table.size()));
    item = store.FindStock(&kItem);
    obj = std::make_unique<CHisTechObj>(&store);
    obj->SetPaneNames({"KLINE", "VOL"});
    obj->SetRect(0, 0, 800, 600);
  }
};

// The bodies the K-line chart is given, by group.
constexpr uint16_t kGroups[] = {0x0500, 0x0600, 0x1F00, 0x0300, 0x0B00, 0x1300, 0x1E00};
constexpr int kPeriods[] = {5, 15, 30, 60, 61, 62, 63};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CheckReaders(data, size);
  static Chart* chart = new Chart();
  if (!chart->item || size < 1) return 0;
  CHisTechObj& obj = *chart->obj;
  // Each input starts a new item: its first byte chooses the period.
  obj.SetPeriod(kPeriods[data[0] % 7]);
  obj.SetStock(chart->item);
  for (chart_fuzz::SBlock& block : chart_fuzz::Split(data + 1, size - 1)) {
    const uint16_t group = kGroups[(block.kind & 0x0F) % (sizeof kGroups / sizeof kGroups[0])];
    chart_fuzz::Stamp(block, group, block.kind & 0x80, uint16_t(CPublic::GetRequestTag()));
    // History is normally asked for first; unasked replies are refused.
    if (block.kind & 0x40) obj.RequestKLine();
    obj.OnData(block.body.data(), static_cast<int>(block.body.size()));
    if (const UINT key = chart_fuzz::StepKey(block.step)) obj.OnKey(key);
    if (block.step & 0x08) {
      const POINT p = chart_fuzz::StepPoint(block.step, block.body.size(), 800, 600);
      obj.OnMouseMove(p.x, p.y);
    }
    if (block.step & 0x10) obj.OnCommand(kline_cmd::kZoomIn);
    if (block.step & 0x20) obj.OnCommand(kline_cmd::kZoomOut);
    if (block.step & 0x40) obj.OnCommand(kline_cmd::kForward + (block.step >> 7));
    chart->picture.Paint(obj);
    const int bars = static_cast<int>(obj.Raw().size());
    // History replies bring at most the bound; each body adds a bar at most.
    if (bars > CHisTechObj::kMaxHeldBars + int(chart_fuzz::kMaxBodies)) std::abort();
    if (bars > 0 && (obj.First() < 0 || obj.First() > obj.End() || obj.End() > bars)) std::abort();
  }
  return 0;
}
