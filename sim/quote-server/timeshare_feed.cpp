// Minute points, minute-data replies and day traces of the simulator.
#include "sim/quote-server/timeshare_feed.h"

#include <algorithm>
#include <random>

#include "link/quote_protocol.h"
#include "sim/quote-server/chart_replies.h"

namespace sim {

namespace {

constexpr int kMorningMinutes = 120;
constexpr uint16_t kOpen = 570, kAfternoon = 780;

void Put16(std::string& s, size_t at, uint16_t v) {
  if (s.size() < at + 2) s.resize(at + 2, '\0');
  quotelink::WriteU16(s.data() + at, v);
}
void Put32(std::string& s, size_t at, uint32_t v) {
  if (s.size() < at + 4) s.resize(at + 4, '\0');
  quotelink::WriteU32(s.data() + at, v);
}

}  // namespace

uint16_t MinuteElapsed(int index) {
  return static_cast<uint16_t>(
      index <= kMorningMinutes ? index : index + (kAfternoon - kOpen) - kMorningMinutes - 1);
}

uint16_t MinuteOfDay(int index) { return static_cast<uint16_t>(kOpen + MinuteElapsed(index)); }

std::vector<MinuteBar> MinuteBarsOf(const WalkItem& item, int count, uint32_t seed) {
  std::vector<MinuteBar> bars(static_cast<size_t>(std::max(count, 0)));
  if (bars.empty()) return bars;
  std::mt19937 rng(seed ^ static_cast<uint32_t>(item.code));
  const int64_t low = item.low ? item.low : item.preClose, high = std::max<int64_t>(item.high, low);
  const int64_t span = std::max<int64_t>(high - low, 1);
  std::uniform_int_distribution<int64_t> move(-span / 8 - 1, span / 8 + 1);
  std::uniform_int_distribution<uint32_t> weight(1, 9);
  int64_t price = std::clamp<int64_t>(item.open ? item.open : item.preClose, low, high);
  std::vector<uint32_t> weights(bars.size());
  uint64_t weightSum = 0;
  for (size_t i = 0; i < bars.size(); ++i) {
    // Drift towards the last price over the day's remaining minutes.
    const int64_t left = static_cast<int64_t>(bars.size() - i);
    price += (static_cast<int64_t>(item.price) - price) / left + move(rng) / 2;
    price = std::clamp<int64_t>(price, low, high);
    bars[i].price = static_cast<uint32_t>(price);
    weights[i] = weight(rng);
    weightSum += weights[i];
  }
  bars.back().price = item.price;
  uint64_t given = 0, amount = 0;
  for (size_t i = 0; i < bars.size(); ++i) {
    const uint64_t volume =
        i + 1 == bars.size() ? item.volume - given : item.volume * weights[i] / weightSum;
    bars[i].volume = static_cast<uint32_t>(volume);
    given += volume;
    amount += volume * bars[i].price;
    bars[i].average = given ? static_cast<uint32_t>(amount / given) : bars[i].price;
  }
  return bars;
}

std::vector<MinuteBar> MinuteBarsOfDeals(const WalkItem& item, const std::vector<WalkDeal>& deals) {
  std::vector<MinuteBar> bars;
  if (deals.empty()) return bars;
  bars.resize(static_cast<size_t>(deals.back().minute) + 1);
  uint32_t price = item.open ? item.open : item.preClose;
  uint64_t volume = 0, amount = 0;
  size_t next = 0;
  for (size_t m = 0; m < bars.size(); ++m) {
    uint64_t minuteVolume = 0;
    for (; next < deals.size() && deals[next].minute <= m; ++next) {
      price = deals[next].price;
      minuteVolume += deals[next].volume;
      amount += static_cast<uint64_t>(deals[next].volume) * deals[next].price;
    }
    volume += minuteVolume;
    bars[m].price = price;
    bars[m].volume = static_cast<uint32_t>(std::min<uint64_t>(minuteVolume, UINT32_MAX));
    bars[m].average = volume ? static_cast<uint32_t>(amount / volume) : price;
  }
  return bars;
}

void AppendMinutePoints(std::string& body, const std::vector<MinuteBar>& bars) {
  Put16(body, 16, static_cast<uint16_t>(bars.size()));
  for (size_t i = 0; i < bars.size(); ++i) {
    const size_t at = body.size();
    Put16(body, at, MinuteElapsed(static_cast<int>(i)));
    Put32(body, at + 2, bars[i].price);
    Put32(body, at + 6, bars[i].volume);
    Put32(body, at + 10, 0);
    Put32(body, at + 14, bars[i].average);
    body.resize(at + 26, '\0');
  }
}

std::string BuildMinuteData(uint16_t tag, const WalkItem& item,
                            const std::vector<MinuteBar>& bars) {
  const uint16_t minute = static_cast<uint16_t>(bars.empty() ? 0 : bars.size() - 1);
  return BuildMinuteReply(tag, item, {}, minute, bars);
}

std::string BuildDayTrace(uint16_t tag, uint32_t date, uint32_t preClose,
                          const std::vector<MinuteBar>& bars) {
  std::string body(18, '\0');
  Put16(body, 0, kDayTraceType);
  Put16(body, 2, tag);
  Put32(body, 4, date);
  Put32(body, 8, preClose);
  Put16(body, 12, static_cast<uint16_t>(bars.size()));
  for (const MinuteBar& b : bars) {
    const size_t at = body.size();
    Put32(body, at, b.price);
    Put32(body, at + 4, b.volume);
    Put32(body, at + 8, b.average);
  }
  return body;
}

}  // namespace sim
