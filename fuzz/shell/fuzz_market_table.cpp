// Market tables from the quote server: any bytes, loaded into a fresh store
// (then a second table from the tail of the input into the same store),
// must never read past the body, and the look-ups must stay consistent.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "zeb/store/public_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 22)) return 0;
  CPublic store;
  // Exact-size copies so any over-read is caught.
  std::vector<uint8_t> first(data, data + size);
  store.ParseMarketTable(first.data(), static_cast<int>(first.size()));
  const size_t half = size / 2;
  std::vector<uint8_t> second(data + half, data + size);
  store.ParseMarketTable(second.data(), static_cast<int>(second.size()));

  int total = store.GetStockCount(kAllMarkets);
  std::vector<SStockInfo> all(static_cast<size_t>(total));
  int count = total;
  store.GetStocks(kAllMarkets, all.data(), &count);
  if (count != total) std::abort();
  for (const SStockInfo& s : all) {
    SCodeInfo key{s.market, s.code};
    const SStockInfo* found = store.FindStock(&key);
    if (found == nullptr || found->code != s.code) std::abort();
    if (found->GetName().size() > kStockNameSize) std::abort();
    store.GetCodeKey(static_cast<uint32_t>(s.code));
  }
  for (uint16_t t : {0, 570, 700, 900, 1439, 65535}) {
    store.TimeToMinuteIndex(0, t);
    store.ElapsedToMinuteIndex(0, t);
    store.MinuteIndexToTime(0, t, 1);
    store.CalcVolumeRatio(0, t, 1000, 7);
  }
  return 0;
}
