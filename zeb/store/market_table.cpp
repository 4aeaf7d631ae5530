// Loading the market table (packet 0x1000) into the store.
//
// Body layout (little-endian): type u16 at 0, tag u16 at 2, trading date
// (YYYYMMDD) at 4, period count n (u8) at 8, a 4-byte pointer slot at 9,
// market-block count m (u8) at 13, a 4-byte pointer slot at 14, n 4-byte
// periods from 18, then m blocks: a 12-byte head (market id u16 at 0, item
// count u16 at 6) and that many 96-byte item records.
//
// The body is lent by the link and may be shorter than its counts claim:
// every count is checked against the received length, and the body is
// never written to (the pointer slots are not needed to read it).
#include <bit>
#include <cstddef>
#include <cstring>

#include "platform/le_bytes.h"
#include "zeb/store/public_store.h"

static_assert(std::endian::native == std::endian::little,
              "the store copies little-endian records as they are");

namespace {

constexpr size_t kHeadSize = 18;
constexpr size_t kPeriodCountAt = 8;
constexpr size_t kPhaseSize = 4;  // begin and end, u16 minutes
constexpr size_t kBlockCountAt = 13;
constexpr size_t kTradeDateAt = 4;
constexpr size_t kBlockHeadSize = 12;
constexpr size_t kBlockItemCountAt = 6;

using platform::ReadI32;
using platform::ReadU16;
using platform::RecordsFit;

}  // namespace

int CPublic::ParseMarketTable(const void* body, int len) {
  if (body == nullptr || len < static_cast<int>(kHeadSize)) return -1;
  const uint8_t* p = static_cast<const uint8_t*>(body);
  const size_t size = static_cast<size_t>(len);

  if (!ParsePhases(p, size)) return -1;

  const int32_t tradeDate = ReadI32(p + kTradeDateAt);
  const unsigned blockCount = p[kBlockCountAt];
  size_t at = kHeadSize + kPhaseSize * p[kPeriodCountAt];
  int result = 0;
  bool changed = false;
  for (unsigned b = 0; b < blockCount; ++b) {
    if (size - at < kBlockHeadSize) {
      result = -1;
      break;
    }
    const uint16_t count = ReadU16(p + at + kBlockItemCountAt);
    at += kBlockHeadSize;
    if (count == 0) continue;
    if (!RecordsFit(size, at, count, sizeof(SStockInfo))) {
      result = -1;
      break;
    }
    m_nTradeDate = tradeDate;
    StoreMarketBlock(p + at, count);
    changed = true;
    at += static_cast<size_t>(count) * sizeof(SStockInfo);
  }
  if (changed) RebuildIndex();
  return result;
}

bool CPublic::ParsePhases(const uint8_t* body, size_t len) {
  const size_t n = body[kPeriodCountAt];
  if (!RecordsFit(len, kHeadSize, n, kPhaseSize)) return false;
  m_arPhases.clear();
  m_arPhases.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    const uint8_t* rec = body + kHeadSize + kPhaseSize * i;
    m_arPhases.push_back(SPhase{ReadU16(rec), ReadU16(rec + 2)});
  }
  return true;
}

void CPublic::StoreMarketBlock(const uint8_t* records, uint16_t count) {
  // The block belongs to the market of its first record.
  const uint16_t market = ReadU16(records + offsetof(SStockInfo, market));
  CMarketInfo* target = nullptr;
  for (CMarketInfo& m : m_arMarkets) {
    if (m.market == market) {
      target = &m;
      break;
    }
  }
  if (target == nullptr) {
    m_arMarkets.push_back(CMarketInfo{market, {}});
    target = &m_arMarkets.back();
  }
  // Byte copy: the body need not be aligned for the records.
  target->stocks.resize(count);
  std::memcpy(static_cast<void*>(target->stocks.data()), records, count * sizeof(SStockInfo));
}
