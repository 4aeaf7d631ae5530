// Seeded K-line history and its replies.
#include "sim/quote-server/kline_replies.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <random>

#include "link/quote_protocol.h"
#include "sim/quote-server/info_items.h"
#include "sim/quote-server/quote_server.h"

namespace sim {

namespace {

using quotelink::ReadU16;
using quotelink::ReadU32;
using quotelink::WriteU16;
using quotelink::WriteU32;

namespace chr = std::chrono;

chr::sys_days DayOf(uint32_t date) {
  return chr::sys_days{chr::year{int(date / 10000)} / chr::month{date / 100 % 100} /
                       chr::day{date % 100}};
}

uint32_t DateOf(chr::sys_days d) {
  const chr::year_month_day ymd{d};
  return uint32_t(int(ymd.year()) * 10000 + unsigned(ymd.month()) * 100 + unsigned(ymd.day()));
}

bool Weekday(chr::sys_days d) {
  const unsigned w = chr::weekday{d}.c_encoding();
  return w != 0 && w != 6;
}

// Minutes of the day of session minute 1..240 (09:31 .. 11:30, 13:01 .. 15:00).
int TimeOfMinute(int m) { return m <= 120 ? 570 + m : 780 + (m - 120); }

void Put(std::string& b, size_t at, uint32_t v, int width) {
  if (b.size() < at + width) b.resize(at + width, '\0');
  if (width == 2) WriteU16(&b[at], uint16_t(v));
  else WriteU32(&b[at], v);
}

// Every reply carries the tag of the request it answers (requests are
// checked for their 12-byte head before this is read).
uint16_t RequestTag(const std::string& request) { return ReadU16(request.data() + 4); }

uint32_t Thousandths(double price) {
  return uint32_t(std::lround(std::max(price, 0.01) * 100.0) * 10);
}

}  // namespace

KLineReplies::KLineReplies(const MarketWalk& walk, uint32_t tradeDate)
    : walk_(walk),
      tradeDate_(tradeDate >= 19700101 && tradeDate <= 29991231 ? tradeDate : 20260105) {}

std::vector<SimBar> KLineReplies::Daily(const WalkItem& item) const {
  // Walk back from the previous close: the history ends exactly there.
  std::mt19937 rng(uint32_t(item.code) * 2654435761u);
  std::normal_distribution<double> move(0.0003, 0.018);
  std::uniform_real_distribution<double> spread(0.002, 0.02);
  // A day's amount in currency units: a month of them stays well inside
  // the bar's 32-bit hundredths.
  std::uniform_int_distribution<uint32_t> turnover(150000, 600000);
  std::vector<SimBar> bars(kHistoryDays);
  double close = std::max(item.preClose, 10u) / 1000.0;
  chr::sys_days day = DayOf(tradeDate_);
  for (int i = kHistoryDays - 1; i >= 0; --i) {
    do day -= chr::days{1};
    while (!Weekday(day));
    const double r = std::clamp(move(rng), -0.09, 0.09);
    const double open = close / (1.0 + r);
    SimBar& b = bars[size_t(i)];
    b.date = DateOf(day);
    b.open = Thousandths(open);
    b.close = Thousandths(close);
    b.high = std::max(b.open, b.close) + Thousandths(close * spread(rng)) - 10;
    b.low = std::min(b.open, b.close) - std::min<uint32_t>(std::min(b.open, b.close) / 2,
                                                           Thousandths(close * spread(rng)) - 10);
    b.volume = std::max<uint32_t>(
        1, uint32_t(uint64_t(turnover(rng)) * 1000 / std::max<uint32_t>(b.close, 1)));
    b.amount = BarAmountOf(b.close, b.volume);
    close = open;
  }
  // Today: the moving market's figures.
  SimBar today;
  today.date = tradeDate_;
  today.close = item.price ? item.price : item.preClose;
  today.open = item.open ? item.open : today.close;
  today.high = std::max({item.high, today.open, today.close});
  today.low =
      item.low ? std::min({item.low, today.open, today.close}) : std::min(today.open, today.close);
  today.volume = uint32_t(item.volume);
  today.amount = BarAmount(item.amount);
  bars.push_back(today);
  return bars;
}

std::vector<SimBar> KLineReplies::Minutes(const WalkItem& item, uint32_t date) const {
  const std::vector<SimBar> daily = Daily(item);
  auto it =
      std::find_if(daily.begin(), daily.end(), [&](const SimBar& b) { return b.date == date; });
  if (it == daily.end()) return {};
  const SimBar& day = *it;
  // A path from the open to the close that touches the day's high and low.
  std::mt19937 rng(uint32_t(item.code) ^ date);
  std::uniform_int_distribution<int> at(20, 220);
  const int highAt = at(rng), lowAt = at(rng);
  std::vector<SimBar> out(240);
  auto anchor = [&](int m) -> std::pair<int, uint32_t> {
    if (m < std::min(highAt, lowAt))
      return {std::min(highAt, lowAt), highAt < lowAt ? day.high : day.low};
    if (m < std::max(highAt, lowAt))
      return {std::max(highAt, lowAt), highAt < lowAt ? day.low : day.high};
    return {240, day.close};
  };
  uint32_t price = day.open;
  int from = 0;
  for (int m = 1; m <= 240; ++m) {
    const auto [to, target] = anchor(m);
    const double f = double(m - from) / double(std::max(1, to - from));
    const double p = price + (double(target) - price) * std::min(1.0, f);
    SimBar& b = out[size_t(m - 1)];
    b.date = (date % 10000) * 10000 + uint32_t(TimeOfMinute(m) / 60 * 100 + TimeOfMinute(m) % 60);
    b.close = std::clamp<uint32_t>(uint32_t(std::lround(p / 10.0) * 10), day.low, day.high);
    b.open = b.high = b.low = b.close;
    // Spread evenly, so a dear item's few pieces still trade all day.
    b.volume = uint32_t(uint64_t(day.volume) * uint32_t(m) / 240 -
                        uint64_t(day.volume) * uint32_t(m - 1) / 240);
    b.amount = BarAmountOf(b.close, b.volume);
    if (m == to) {
      price = target;
      from = m;
    }
  }
  return out;
}

std::vector<SimBar> KLineReplies::Bars(const WalkItem& item, int period) const {
  const std::vector<SimBar> daily = Daily(item);
  std::vector<SimBar> out;
  auto fold = [&](SimBar& into, const SimBar& b) {
    into.high = std::max(into.high, b.high);
    into.low = std::min(into.low, b.low);
    into.close = b.close;
    into.volume = uint32_t(std::min<uint64_t>(uint64_t(into.volume) + b.volume, UINT32_MAX));
    into.amount = AddBarAmounts(into.amount, b.amount);
    into.date = b.date;
  };
  if (period == 61) return daily;
  if (period == 62 || period == 63) {
    for (const SimBar& b : daily) {
      const bool same =
          !out.empty() &&
          (period == 63 ? out.back().date / 100 == b.date / 100
                        : chr::sys_days{DayOf(b.date)} - DayOf(out.back().date) < chr::days{7} &&
                              chr::weekday{DayOf(b.date)}.c_encoding() >
                                  chr::weekday{DayOf(out.back().date)}.c_encoding());
      if (same) fold(out.back(), b);
      else out.push_back(b);
    }
    return out;
  }
  if (period != 5 && period != 15 && period != 30 && period != 60) return {};
  const size_t first = daily.size() > size_t(kMinuteDays) ? daily.size() - kMinuteDays : 0;
  for (size_t d = first; d < daily.size(); ++d) {
    const std::vector<SimBar> minutes = Minutes(item, daily[d].date);
    for (size_t m = 0; m < minutes.size(); ++m) {
      if (m % size_t(period) == 0) {
        out.push_back(minutes[m]);
        out.back().open = m == 0 ? daily[d].open : minutes[m - 1].close;
        out.back().high = std::max(out.back().open, minutes[m].close);
        out.back().low = std::min(out.back().open, minutes[m].close);
      } else {
        fold(out.back(), minutes[m]);
      }
    }
  }
  return out;
}

bool KLineReplies::FindItem(const std::string& request, WalkItem* out) const {
  if (request.size() < 18) return false;
  const std::vector<WalkItem> items = walk_.Find({int32_t(ReadU32(request.data() + 14))});
  if (items.empty()) return false;
  *out = items[0];
  return true;
}

std::string KLineReplies::History(const std::string& request) const {
  WalkItem item;
  if (request.size() < 30 || !FindItem(request, &item)) return {};
  const uint16_t type = ReadU16(request.data());
  const std::vector<SimBar> bars = Bars(item, type & 0xFF);
  const size_t held = std::min<size_t>(ReadU32(request.data() + 20), bars.size());
  const size_t wanted = std::min<size_t>(ReadU32(request.data() + 26), 8000);
  const size_t end = bars.size() - held;
  const size_t begin = end > wanted ? end - wanted : 0;  // fewer at the start of history
  std::string b;
  Put(b, 0, type, 2);
  Put(b, 2, RequestTag(request), 2);
  Put(b, 4, end > begin ? 1 : 0, 2);
  Put(b, 10, item.market, 2);
  Put(b, 12, uint32_t(item.code), 4);
  Put(b, 16, uint32_t(end - begin), 2);
  b.resize(22 + 28 * (end - begin), '\0');
  for (size_t i = begin; i < end; ++i) {
    const size_t at = 22 + 28 * (i - begin);
    const SimBar& r = bars[i];
    Put(b, at, r.date, 4);
    Put(b, at + 4, r.open, 4);
    Put(b, at + 8, r.high, 4);
    Put(b, at + 12, r.low, 4);
    Put(b, at + 16, r.close, 4);
    Put(b, at + 20, r.volume, 4);
    Put(b, at + 24, uint32_t(r.amount), 4);
  }
  return b;
}

std::string KLineReplies::DayTrace(const std::string& request) const {
  WalkItem item;
  if (request.size() < 24 || !FindItem(request, &item)) return {};
  const uint32_t date = ReadU32(request.data() + 20);
  const std::vector<SimBar> daily = Daily(item);
  auto it =
      std::find_if(daily.begin(), daily.end(), [&](const SimBar& b) { return b.date == date; });
  const uint32_t preClose =
      it != daily.end() && it != daily.begin() ? (it - 1)->close : item.preClose;
  const std::vector<SimBar> minutes = Minutes(item, date);
  std::string b;
  Put(b, 0, 0x0400, 2);
  Put(b, 2, RequestTag(request), 2);
  Put(b, 4, date, 4);
  Put(b, 8, preClose, 4);
  Put(b, 12, uint32_t(minutes.size()), 2);
  b.resize(18 + 12 * minutes.size(), '\0');
  uint64_t volume = 0, money = 0;
  for (size_t i = 0; i < minutes.size(); ++i) {
    volume += minutes[i].volume;
    money += uint64_t(minutes[i].volume) * minutes[i].close;
    Put(b, 18 + 12 * i, minutes[i].close, 4);
    Put(b, 22 + 12 * i, minutes[i].volume, 4);
    Put(b, 26 + 12 * i, volume ? uint32_t(money / volume) : minutes[i].close, 4);
  }
  return b;
}

std::string KLineReplies::ExRights(const std::string& request) const {
  WalkItem item;
  if (!FindItem(request, &item)) return {};
  const std::vector<SimBar> daily = Daily(item);
  // A bonus issue about a year and a half ago and a cash dividend eight
  // months ago: 16-byte records of date, dividend, shares, rights price, flag.
  struct Rec {
    size_t back;
    int16_t dividend;
    uint16_t shares;
    int32_t price, flag;
  } recs[] = {{380, 0, 2000, 0, 0}, {170, 1500, 0, 0, 1}};
  std::string b;
  Put(b, 0, 0x1300, 2);
  Put(b, 2, RequestTag(request), 2);
  Put(b, 4, 2, 2);
  b.resize(10 + 16 * 2, '\0');
  for (size_t i = 0; i < 2; ++i) {
    const size_t at = 10 + 16 * i;
    Put(b, at, daily[daily.size() - 1 - recs[i].back].date, 4);
    Put(b, at + 4, uint16_t(recs[i].dividend), 2);
    Put(b, at + 6, recs[i].shares, 2);
    Put(b, at + 8, uint32_t(recs[i].price), 4);
    Put(b, at + 12, uint32_t(recs[i].flag), 4);
  }
  return b;
}

std::string KLineReplies::InfoTitles(const std::string& request) const {
  WalkItem item;
  if (!FindItem(request, &item)) return {};
  // The entries the information window shows, so each mark opens its text.
  const std::vector<InfoItem> entries = InfoItemsOf(item.market, item.code, DayClock(tradeDate_));
  std::string b;
  Put(b, 0, 0x1E00, 2);
  Put(b, 2, RequestTag(request), 2);
  Put(b, 10, uint32_t(entries.size()), 4);
  b.resize(18, '\0');
  for (const InfoItem& e : entries) {
    const std::string text = e.title.substr(0, 255);
    const size_t at = b.size();
    Put(b, at, uint32_t(e.date), 4);
    b.resize(at + 9, '\0');
    b[at + 4] = char(text.size());
    b += text;
  }
  return b;
}

void RegisterKLineReplies(QuoteServer& server, uint32_t tradeDate) {
  auto replies = std::make_shared<KLineReplies>(server.Market(), tradeDate);
  auto answer = [replies](std::string (KLineReplies::*fn)(const std::string&) const) {
    return [replies, fn](QuoteSession& session, const ReceivedRequest& request) {
      const std::string body = ((*replies).*fn)(request.body);
      if (!body.empty()) session.Reply(body);
    };
  };
  // A first history request also brings the item's ex-rights records and
  // information titles, which nothing asks for on its own.
  server.RegisterHandler(0x0500, [replies](QuoteSession& session, const ReceivedRequest& request) {
    for (const std::string& body : {replies->History(request.body), replies->ExRights(request.body),
                                    replies->InfoTitles(request.body)})
      if (!body.empty()) session.Reply(body);
  });
  server.RegisterHandler(0x0600, answer(&KLineReplies::History));
  server.RegisterHandler(0x0400, answer(&KLineReplies::DayTrace));
  server.RegisterHandler(0x1300, answer(&KLineReplies::ExRights));
  server.RegisterHandler(0x1E00, answer(&KLineReplies::InfoTitles));
}

}  // namespace sim
