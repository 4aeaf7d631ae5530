#include "zeb/store/public_store.h"

#include <cstring>
#include <iterator>
#include <memory>

#include "platform/paths.h"
#include "platform/window.h"
#include "zeb/messages.h"

namespace {

CPublic* g_pPublic = nullptr;

// The menu commands 0x6200 + index for index 0 to 14 and their markets.
constexpr uint16_t kCommandMarkets[] = {4100, 4101, 4098, 4099, 4103, 4102,   4116, 4117,
                                        4114, 4115, 4119, 4118, 4127, 0x3000, 1};

// The chart view shows these items under another market and code.
struct SRemapRow {
  uint16_t sourceMarket;
  int32_t sourcePrefix;
  uint16_t targetMarket;
  int32_t targetPrefix;
};
constexpr SRemapRow kRemapRows[] = {{4118, 3, 4100, 600}, {4100, 609, 4116, 2}};

}  // namespace

CPublic::CPublic() : m_strAppDir(platform::GetProgramDir()) {
  m_bAlarmListLoaded = LoadAlarmFile((m_strAppDir + "INDEX/ALARM.DEX").c_str());
}

CPublic::~CPublic() = default;

CPublic* CPublic::GetInstance() {
  if (g_pPublic == nullptr) g_pPublic = new CPublic();
  return g_pPublic;
}

void CPublic::ReleaseInstance() {
  if (g_pPublic == nullptr) return;
  g_pPublic->SaveConfig();
  delete g_pPublic;
  g_pPublic = nullptr;
}

// ---- Markets and items ----

int CPublic::GetStockCount(uint16_t market) const {
  if (market == kAllMarkets || market == kAllMarketsAlt) {
    size_t total = 0;
    for (const CMarketInfo& m : m_arMarkets) total += m.stocks.size();
    return static_cast<int>(total);
  }
  for (const CMarketInfo& m : m_arMarkets)
    if (m.market == market) return static_cast<int>(m.stocks.size());
  return 0;
}

void CPublic::GetStocks(uint16_t market, SStockInfo* out, int* count) const {
  if (count == nullptr) return;
  if (out == nullptr) {
    *count = GetStockCount(market);
    return;
  }
  if (market == kAllMarkets || market == kAllMarketsAlt) {
    // Never more than the caller said its buffer holds.
    int room = *count < 0 ? 0 : *count;
    int copied = 0;
    for (const CMarketInfo& m : m_arMarkets) {
      for (const SStockInfo& s : m.stocks) {
        if (copied == room) break;
        out[copied++] = s;
      }
    }
    *count = copied;
    return;
  }
  for (const CMarketInfo& m : m_arMarkets) {
    if (m.market != market || m.stocks.empty()) continue;
    if (*count == static_cast<int>(m.stocks.size()))
      std::memcpy(static_cast<void*>(out), m.stocks.data(), m.stocks.size() * sizeof(SStockInfo));
    return;
  }
  *count = 0;
}

SStockInfo* CPublic::FindStock(const SCodeInfo* key) {
  if (key == nullptr) return nullptr;
  SStockInfo* const* found = m_firstByCode.Find(key->code);
  return found == nullptr ? nullptr : *found;
}

const SStockInfo* CPublic::FindStock(const SCodeInfo* key) const {
  return const_cast<CPublic*>(this)->FindStock(key);
}

SStockInfo* CPublic::GetIndexStock(uint16_t market) {
  SCodeInfo key;
  key.market = market;
  if (market == 4097) key.code = 1;
  else if (market == 4113) key.code = 399001;
  else return nullptr;
  return FindStock(&key);
}

bool CPublic::IsIndexMarket(const SCodeInfo* key) {
  return key != nullptr && (key->market & 0x0F) == 1;
}

SCodeInfo CPublic::GetCodeKey(uint32_t code) const {
  SCodeInfo key;
  if (code / 10000 == 16) return key;
  const uint16_t* market = m_lastTradeMarketByCode.Find(static_cast<int32_t>(code));
  if (market == nullptr) return key;
  key.market = *market;
  key.code = static_cast<int32_t>(code);
  return key;
}

uint16_t CPublic::GetMarketOfCommand(int index) const {
  if (index < 0) return 0;
  if (index < static_cast<int>(std::size(kCommandMarkets))) return kCommandMarkets[index];
  return m_blockKindResolver ? m_blockKindResolver(index) : 0;
}

void CPublic::RebuildIndex() {
  const size_t total = static_cast<size_t>(GetStockCount(kAllMarkets));
  m_firstByCode.Reset(total);
  m_lastTradeMarketByCode.Reset(total);
  for (CMarketInfo& m : m_arMarkets) {
    SCodeInfo marketKey{m.market, 0};
    bool indexMarket = IsIndexMarket(&marketKey);
    for (SStockInfo& s : m.stocks) {
      m_firstByCode.InsertFirst(s.code, &s);
      if (!indexMarket) m_lastTradeMarketByCode.InsertLast(s.code, m.market);
    }
  }
}

// ---- Quote list state ----

void CPublic::SetReportSort(int column, int descending) {
  m_nReportSortColumn = column;
  m_nReportSortDescending = descending;
}

void CPublic::GetReportSort(int* column, int* descending) const {
  if (column != nullptr) *column = m_nReportSortColumn;
  if (descending != nullptr) *descending = m_nReportSortDescending;
}

void CPublic::SetReportCodes(std::vector<SCodeInfo> codes) {
  if (!codes.empty()) m_arReportCodes = std::move(codes);
}

std::vector<SCodeInfo> CPublic::GetTradeCodes() const {
  std::vector<SCodeInfo> codes;
  codes.reserve(m_arReportCodes.size());
  for (const SCodeInfo& c : m_arReportCodes)
    if (c.code / 1000 != 100) codes.push_back(c);
  return codes;
}

bool CPublic::IsSelectedStock(SCodeInfo key) const {
  for (const SCodeInfo& c : m_arSelectedStocks)
    if (c.code == key.code) return true;
  return false;
}

// ---- Requests ----

int CPublic::SendRequest(const void* data, int len, int kind) {
  if (len < 0 || (data == nullptr && len > 0)) return 0;
  std::unique_ptr<uint8_t[]> buffer(new uint8_t[static_cast<size_t>(len) + 4]);
  int32_t length = len;
  std::memcpy(buffer.get(), &length, 4);
  if (len > 0) std::memcpy(buffer.get() + 4, data, static_cast<size_t>(len));
  SendMessage(m_hMainWnd, WM_QUOTE_REQUEST, static_cast<WPARAM>(kind),
              reinterpret_cast<LPARAM>(buffer.get()));
  return 1;
}

// ---- Code remapping ----

int CPublic::RemapCode(SCodeInfo& key) {
  for (const SRemapRow& row : kRemapRows) {
    if (row.sourceMarket != key.market) continue;
    if (key.code / 1000 == row.sourcePrefix) {
      m_remembered = key;
      key.market = row.targetMarket;
      key.code = row.targetPrefix * 1000 + key.code % 1000;
    } else {
      m_remembered = SCodeInfo{};
    }
    return 1;
  }
  m_remembered = SCodeInfo{};
  return 0;
}

int CPublic::RestoreRemappedCode(SCodeInfo& key) {
  for (const SRemapRow& row : kRemapRows) {
    if (row.targetPrefix != key.code / 1000) continue;
    if (key.market == row.targetMarket && m_remembered.market != 0 && m_remembered.code != 0) {
      key = m_remembered;
      return 1;
    }
    return 0;
  }
  return 0;
}
