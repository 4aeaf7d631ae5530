// Packed little-endian records of the market-data store, laid out exactly as
// the quote server sends them and as the user files hold them.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "link/code_info.h"

// Fields of packed records may sit at odd addresses: read them by value
// (copy to a local, or +field in a test macro), never bind a reference.
#pragma pack(push, 1)

constexpr size_t kStockNameSize = 60;

// One listed item, copied whole from the market table.
struct SStockInfo {
  char name[kStockNameSize];  // GBK; a name of all 60 bytes has no NUL
  uint8_t unused[4];          // not read by the program
  int32_t code;
  uint16_t market;
  uint32_t preClose;      // thousandths of the currency unit
  uint32_t refVolume;     // divisor of the volume ratio
  uint32_t limitUp;       // thousandths, shown under "涨停"
  uint32_t limitDown;     // thousandths, shown under "跌停"
  int32_t circulating;    // circulating shares
  uint32_t inventory;     // summed for the quote list's total inventory
  int16_t valuePerShare;  // thousandths

  SStockInfo() { std::memset(static_cast<void*>(this), 0, sizeof(*this)); }

  // The name up to its NUL, at most 60 bytes.
  std::string GetName() const { return std::string(name, strnlen(name, kStockNameSize)); }
  SCodeInfo GetKey() const { return SCodeInfo{market, code}; }
};
static_assert(sizeof(SStockInfo) == 96);

// One trading period in minutes of the day (570 = 09:30).
struct SPhase {
  uint16_t begin = 0;
  uint16_t end = 0;
};
static_assert(sizeof(SPhase) == 4);

// One alarm entry; the 20 trailing bytes are kept as read.
struct SPreAlrmUnit {
  uint16_t market = 0;
  int32_t code = 0;
  uint8_t reserved[20] = {};
};
static_assert(sizeof(SPreAlrmUnit) == 26);

// Head of every quote request, followed by `count` SCodeInfo items.
struct SCodeRequestHeader {
  uint16_t type = 0;
  uint16_t market = 0;
  uint16_t tag = 0;
  uint16_t count = 0;
  uint32_t reserved = 0;
};
static_assert(sizeof(SCodeRequestHeader) == 12);

#pragma pack(pop)

// A market of the store: its id and its items in packet order.
struct CMarketInfo {
  uint16_t market = 0;
  std::vector<SStockInfo> stocks;
};

// Packet types the store knows.
constexpr uint16_t PKT_INIT_DATA = 0x1000;

// Market ids that mean "every market".
constexpr uint16_t kAllMarkets = 0x1000;
constexpr uint16_t kAllMarketsAlt = 0x3000;
