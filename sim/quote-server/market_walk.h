// The simulator's moving market: every item of the served market table
// takes a seeded random walk around its previous close, a step whenever it
// trades, and keeps the figures a quote record carries (open, high, low,
// last, volume, last deal, amount, the best bid and ask with their volumes,
// the order ratio), and each item's deals of the day: a seeded morning made
// at load, then one deal whenever it trades, now and then a big one; the big
// deals of the whole market are kept in order for the big-order lists.
// Dear items trade in fewer pieces and less often, so that a day's amount
// of every item stays near a million currency units: within the quote
// record's 32-bit thousandths for a whole session, and a month of K-line
// bars within their 32-bit hundredths.
// Thread-safe: the walk thread steps it while clients are answered.
#pragma once
#include <cstdint>
#include <mutex>
#include <random>
#include <string>
#include <vector>

namespace sim {

struct WalkItem {
  uint16_t market = 0;
  int32_t code = 0;
  std::string name;       // GBK
  uint32_t preClose = 0;  // thousandths
  uint32_t open = 0;
  uint32_t price = 0;  // last
  uint32_t high = 0;
  uint32_t low = 0;
  uint64_t volume = 0;
  uint32_t lastDeal = 0;  // volume of the last deal
  uint64_t amount = 0;    // thousandths of the currency unit
  uint32_t bid = 0;
  uint32_t ask = 0;
  uint32_t bidVolume = 0;
  uint32_t askVolume = 0;
  int32_t orderRatio = 0;   // hundredths of a percent
  int32_t circulating = 0;  // shares, from the market table
  uint64_t activeBuy = 0;   // volume dealt at the ask
  uint64_t activeSell = 0;  // volume dealt at the bid
};

// The units the fields carry amounts in. Quote and tick records: u32
// thousandths of the currency unit; K-line bars and the time-share reply's
// minute records: i32 hundredths. A figure too large for its field goes out
// as the field's largest value, never wrapped.
uint32_t RecordAmount(uint64_t thousandths);
int32_t BarAmount(uint64_t thousandths);
// Hundredths of price x volume (thousandths x pieces), saturated.
int32_t BarAmountOf(uint32_t price, uint64_t volume);
// a + b in hundredths, saturated.
int32_t AddBarAmounts(int32_t a, int32_t b);

// One deal of an item's day.
struct WalkDeal {
  uint16_t minute = 0;  // trading minute: 0 = 09:30, the lunch break left out
  uint32_t price = 0;
  uint32_t volume = 0;
  uint32_t bid = 0;  // the book when it was dealt
  uint32_t ask = 0;
};

// A deal of at least some volume, with its item.
struct WalkBigDeal {
  uint16_t market = 0;
  int32_t code = 0;
  WalkDeal deal;
  uint64_t serial = 0;  // increasing over the whole market
};

// Deals of the morning every item has already made when the server starts.
constexpr int kMorningDeals = 90;
// The deals kept per item (the oldest go first).
constexpr size_t kKeptDeals = 4000;
// A live step is one second: a new minute every 60 steps, up to the day's end.
constexpr int kStepsPerMinute = 60;
constexpr uint16_t kLastMinute = 239;

// One in this many steps an item of this previous close trades.
int TradeOdds(uint32_t preClose);
// Pieces of a deal of this many lots at this price: a lot is worth about
// ten currency units, a deal at least one piece.
uint32_t DealPieces(uint32_t lots, uint32_t price);

class MarketWalk {
 public:
  explicit MarketWalk(uint32_t seed) : rng_(seed), dealRng_(seed ^ 0x9E3779B9u) {}
  // Takes the items of a 0x1000 reply body; false when it is malformed.
  bool Load(const std::string& marketTable);
  // One step: about one item in eight trades (dear items fewer, see
  // TradeOdds), with a move of at most 1%
  // of the previous close, kept within +-10% of it, and one deal at the
  // bid or the ask; the others keep every figure.
  void Step();
  std::vector<WalkItem> Snapshot() const;
  size_t Size() const;
  // The items with these codes, in the order asked, leaving out codes the
  // market does not list (the first item of a code, as the store finds it).
  std::vector<WalkItem> Find(const std::vector<int32_t>& codes) const;
  // Items of a market; 0x1000 and 0x3000 count every item.
  size_t CountMarket(uint16_t market) const;
  // The item of a code (first in market order) and its deals of the day,
  // taken together; false when the market does not list the code.
  bool Day(int32_t code, WalkItem* item, std::vector<WalkDeal>* deals) const;
  // Deals of a market's items of at least minVolume with a serial above
  // after, oldest first (0x1000 and 0x3000: every market).
  std::vector<WalkBigDeal> BigDeals(uint16_t market, uint32_t minVolume, uint64_t after) const;
  uint64_t LastSerial() const;

 private:
  // One deal of one item; minute is the deal's time.
  void StepItem(size_t index, std::mt19937& moves, uint16_t minute);

  mutable std::mutex mutex_;
  std::mt19937 rng_;
  std::mt19937 dealRng_;  // deal sizes apart from the price moves
  std::vector<WalkItem> items_;
  std::vector<std::vector<WalkDeal>> deals_;  // per item, oldest first
  std::vector<WalkBigDeal> bigDeals_;         // the latest, oldest first
  uint64_t serial_ = 0;
  long steps_ = 0;
};

}  // namespace sim
