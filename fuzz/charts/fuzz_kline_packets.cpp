// K-line replies from the server: any bytes, read as a history, minute,
// tick, ex-rights or title body, must never be read past their end, and a
// body that is read holds exactly what its counts say within its length.
// The same bytes, under each of those packet types, then go to a K-line
// object holding a series, which must take them or refuse them without
// harm (its series stays ordered and finite where the bytes were refused).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/msgbox.h"
#include "sim/market/demo_market.h"
#include "zeb/charts/kline/his_tech_obj.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/packets/kline_packets.h"

namespace {

void CheckReaders(const uint8_t* data, size_t size) {
  SHistoryPacket history;
  if (ReadKLineHistory(data, size, &history)) {
    if (kHistoryRecordsAt + history.records.size() * kHistoryRecordSize > size) std::abort();
  } else if (!history.records.empty()) {
    std::abort();
  }
  SKLineMinutePacket minutes;
  if (ReadKLineMinutes(data, size, &minutes)) {
    if (kMinuteEntriesAt + minutes.minutes.size() * kMinuteRecordSize +
            size_t(minutes.pointCount) * kMinutePointSize >
        size)
      std::abort();
  } else if (!minutes.minutes.empty()) {
    std::abort();
  }
  SKLineTick tick;
  ReadKLineTick(data, size, SCodeInfo{0x1012, 602001}, &tick);
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
  CPublic store;
  SStockInfo* item = nullptr;
  std::unique_ptr<CHisTechObj> obj;
  Chart() {
    const std::string table = BuildDemoMarketTable();
    store.ParseMarketTable(table.data(), static_cast<int>(table.size()));
    const SCodeInfo key{0x1012, 602001};
    item = store.FindStock(&key);
    obj = std::make_unique<CHisTechObj>(&store);
    obj->SetPaneNames({"KLINE"});
    obj->SetRect(0, 0, 800, 600);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CheckReaders(data, size);
  static Chart* chart = new Chart();
  if (!chart->item || size < 1) return 0;
  static const uint16_t kTypes[] = {0x053D, 0x0605, 0x1F3D, 0x0300, 0x0B00, 0x1300, 0x1E00};
  std::string body(reinterpret_cast<const char*>(data), size);
  if (body.size() < 2) body.resize(2, '\0');
  const uint16_t type = kTypes[data[0] % (sizeof kTypes / sizeof kTypes[0])];
  body[0] = char(type & 0xFF);
  body[1] = char(type >> 8);
  chart->obj->SetPeriod(data[0] & 0x80 ? 5 : 61);
  chart->obj->SetStock(chart->item);
  // a small held series first, so merges and ticks have bars to work on
  std::string held(22 + 28 * 3, '\0');
  held[0] = 0x3D;
  held[1] = 0x05;
  held[2] = 1;
  held[4] = 1;
  held[10] = 0x12;
  held[11] = 0x10;
  held[12] = char(602001 & 0xFF);
  held[13] = char((602001 >> 8) & 0xFF);
  held[14] = char(602001 >> 16);
  held[16] = 3;
  for (int i = 0; i < 3; ++i) {
    held[22 + 28 * i] = char(i + 1);
    held[26 + 28 * i] = 100;
  }
  chart->obj->OnData(held.data(), static_cast<int>(held.size()));
  chart->obj->OnData(body.data(), static_cast<int>(body.size()));
  return 0;
}
