// Quote packets from the server: any bytes, read by the packet reader
// (each layout and the dispatch), must never read past the body, and a
// packet that is read has exactly the records its count says, within the
// body; an information text read from them lies within the body and holds
// no NUL. The same bytes then go through the quote list table and the
// statistics strip of a loaded store, which must take them or refuse them
// without harm.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "sim/market/demo_market.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/packets/info_packets.h"
#include "zeb/tables/packets/quote_packets.h"
#include "zeb/tables/report/report_table.h"
#include "zeb/tables/report/stat_info.h"

namespace {

void CheckRead(bool read, const SQuotePacket& packet, size_t size) {
  if (!read) {
    if (!packet.records.empty() || packet.count != 0) std::abort();
    return;
  }
  if (packet.records.size() != packet.count) std::abort();
  if (kQuoteListHeadSize + packet.count * kQuoteUnitSize > size) std::abort();
}

struct Screen {
  CPublic store;
  CReportTable favourites{&store};
  CReportTable market{&store};
  CStatInfo strip{&store};
  Screen() {
    const std::string table = BuildDemoMarketTable();
    store.ParseMarketTable(table.data(), static_cast<int>(table.size()));
    for (const CMarketInfo& m : store.GetMarkets())
      for (const SStockInfo& s : m.stocks) store.GetSelectedStocks().push_back(s.GetKey());
    for (CReportTable* t : {&favourites, &market}) {
      t->SetClock([] { return 600; });
      t->InitColumns();
      t->SetRect(0, 0, 1000, 24 * 11);
    }
    favourites.LoadItems(kFavouritesList, "");
    market.LoadItems(kAllMarketsAlt, "");
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  // An exact-size copy so any over-read is caught.
  std::vector<uint8_t> body(data, data + size);
  SQuotePacket packet;
  CheckRead(ReadQuoteList(body.data(), body.size(), &packet), packet, body.size());
  // The grouped layout's records start even later than the list's.
  CheckRead(ReadGroupedQuotes(body.data(), body.size(), &packet), packet, body.size());
  CheckRead(ReadQuotePacket(body.data(), body.size(), &packet), packet, body.size());

  std::string text;
  if (ReadInfoText(body.data(), body.size(), &text)) {
    if (text.size() > body.size() - kInfoTextAt || text.find('\0') != std::string::npos)
      std::abort();
  } else if (!text.empty()) {
    std::abort();
  }

  static Screen* screen = new Screen();
  const int length = static_cast<int>(body.size());
  screen->favourites.UpdateData(body.data(), length);
  screen->market.UpdateData(body.data(), length);
  SPacketHead head;
  if (ReadPacketHead(body.data(), body.size(), &head)) {
    const bool read = ReadQuotePacket(body.data(), body.size(), &packet);
    screen->strip.Update(head, read ? &packet : nullptr, 1);
  }
  if (screen->favourites.GetDisplayList().size() !=
      static_cast<size_t>(screen->favourites.GetRowCount()))
    std::abort();
  screen->favourites.GetSelectedCode();
  screen->market.GetSelectedCode();
  return 0;
}
