// The K-line object's series: requests, history replies (prepend, repair,
// week and month fold), minute packets, pushed ticks, ex-rights and
// information titles, and the recompute that hands the series to the panes.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "link/quote_protocol.h"
#include "platform/gbk.h"
#include "sharecode/mythread.h"
#include "zeb/charts/kline/his_tech_kept_image.h"
#include "zeb/charts/kline/his_tech_obj.h"
#include "zeb/store/amount_units.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/packets/chart_view_packet.h"

namespace {

constexpr size_t kKLineRequestSize = 30;
constexpr size_t kDayTraceRequestSize = 24;
constexpr uint32_t kDateMask = 0x0FFFFFFF;
constexpr int kMinutesPerDay = 1440;

bool Missing(float v) { return v < 0.001f; }

}  // namespace

int PeriodOfCommand(UINT id) {
  static constexpr int kPeriods[] = {5, 15, 30, 60, 61, 62, 63};
  if (id < kline_cmd::kFirstPeriod || id > kline_cmd::kLastPeriod) return 0;
  return kPeriods[id - kline_cmd::kFirstPeriod];
}

const char* PeriodName(int period) {
  switch (period) {
    case 5: return GBK("5分钟线");
    case 15: return GBK("15分钟线");
    case 30: return GBK("30分钟线");
    case 60: return GBK("60分钟线");
    case 61: return GBK("日线");
    case 62: return GBK("周线");
    case 63: return GBK("月线");
    default: return "";
  }
}

CHisTechObj::CHisTechObj(CPublic* store) : m_store(store ? store : CPublic::GetInstance()) {
  m_range.bars = &m_pShown;
  m_strPaneFile = m_store->GetAppDir() + "INDEX/INDEX.DEX";
  LoadPanes();
}

CHisTechObj::~CHisTechObj() = default;

int CHisTechObj::LargestPaneNeed() const {
  int need = 0;
  for (const auto& pane : m_panes) need = std::max(need, pane->GetMaxParam());
  return need;
}

void CHisTechObj::SetStock(SStockInfo* item) {
  Changed(EChartChange::kSeries | EChartChange::kRange | EChartChange::kCursor);
  if (item) m_item = item;
  if (m_item) {
    // Each item keeps its own figures.
    const SCodeInfo code{m_item->market, m_item->code};
    for (auto& pane : m_panes) pane->Tools().SwitchItem(code);
  }
  ResetPaneOutputs();
  m_raw.clear();
  m_adjusted.clear();
  m_pShown = nullptr;
  m_nFirst = m_nEnd = 0;
  m_nCursor = -1;
  m_nCursorDate = -1;
  m_bCursorShown = false;
  m_nScrollMode = 0;
  m_nAccumulator = 0;
  m_nHistoryState = 1;
  m_nCursorBase = LargestPaneNeed();
  m_nBarsWanted = LargestPaneNeed() + 100;
  m_nIntervalState = 3;
  if (m_hooks.intervalStat) m_hooks.intervalStat(nullptr, nullptr, 0, RECT{});
  m_exRights.clear();
  m_powerList.clear();
  m_nExRightsMode = kExRightsNone;
  if (!m_panes.empty()) {
    m_panes[0]->SetExRightsData(nullptr, 0);
    m_panes[0]->SetInfoMarks(nullptr);
  }
  m_bRequestPending = false;
}

void CHisTechObj::SetDayPeriod() {
  Changed(EChartChange::kSeries);
  m_nPeriod = kDayPeriod;
  m_nCheckedPeriod = kline_cmd::kDayPeriod;
}

void CHisTechObj::SetPeriod(int period) {
  Changed(EChartChange::kSeries);
  for (UINT id = kline_cmd::kFirstPeriod; id <= kline_cmd::kLastPeriod; ++id)
    if (PeriodOfCommand(id) == period) {
      m_nPeriod = period;
      m_nCheckedPeriod = static_cast<int>(id);
    }
}

void CHisTechObj::RequestKLine() {
  if (!m_item) return;
  m_bRequestPending = true;
  uint8_t r[kKLineRequestSize] = {};
  using quotelink::WriteU16;
  using quotelink::WriteU32;
  WriteU16(r,
           static_cast<uint16_t>((m_raw.empty() ? PKT_HIS_KLINE : PKT_HIS_KLINE_MORE) + m_nPeriod));
  WriteU16(r + 2, m_item->market);
  WriteU16(r + 4, static_cast<uint16_t>(CPublic::GetRequestTag()));
  WriteU16(r + 6, 3);
  WriteU16(r + 12, m_item->market);
  WriteU32(r + 14, static_cast<uint32_t>(m_item->code));
  WriteU32(r + 20, static_cast<uint32_t>(m_raw.size()));
  WriteU32(r + 26, static_cast<uint32_t>(std::max(0, m_nBarsWanted)));
  m_store->SendRequest(r, sizeof r, 1);
}

void CHisTechObj::RequestDayTrace(int date) {
  if (!m_item) return;
  uint8_t r[kDayTraceRequestSize] = {};
  using quotelink::WriteU16;
  using quotelink::WriteU32;
  WriteU16(r, PKT_DAY_TRACE);
  WriteU16(r + 2, m_item->market);
  WriteU16(r + 4, static_cast<uint16_t>(CPublic::GetRequestTag()));
  WriteU16(r + 6, 2);
  WriteU16(r + 12, m_item->market);
  WriteU32(r + 14, static_cast<uint32_t>(m_item->code));
  WriteU32(r + 20, static_cast<uint32_t>(date));
  m_store->SendRequest(r, sizeof r, 1);
}

void CHisTechObj::ResetPaneOutputs() {
  for (auto& pane : m_panes) pane->Reset();
}

int CHisTechObj::OnData(const void* body, int length) {
  return OnPacket(CChartPacket(body, length));
}

int CHisTechObj::OnPacket(const CChartPacket& packet) {
  ++m_nPackets;
  if (!m_item) return 0;
  if (packet.Body() == nullptr) {
    m_raw.clear();
    Recompute();
    return 1;
  }
  if (!packet.HasHead()) return 0;
  switch (packet.Group()) {
    case PKT_MINUTE_TRACE: return OnMinutes(packet.Minutes());
    case PKT_HIS_KLINE:
    case PKT_HIS_KLINE_MORE:
    case PKT_HIS_KLINE_EXT: {
      if (m_nHistoryState == 1) m_nHistoryState = 2;
      if (packet.Head().tag != CPublic::GetRequestTag()) return 0;
      return OnHistory(packet.History());
    }
    case PKT_PUSH_TICK: return OnTick(packet.Push());
    case PKT_EXRIGHTS: {
      const std::vector<SExRightsRecord>* records = packet.ExRights();
      if (!records) return 0;
      m_exRights = *records;
      Changed(EChartChange::kSeries);
      if (!m_panes.empty())
        m_panes[0]->SetExRightsData(m_exRights.data(), static_cast<int>(m_exRights.size()));
      return 1;
    }
    case PKT_INFO_TITLES: {
      const InfoTitleMap* titles = packet.Titles();
      if (!titles) return 0;
      m_titles = *titles;
      Changed(EChartChange::kSeries);
      if (!m_panes.empty()) m_panes[0]->SetInfoMarks(&m_titles);
      return 1;
    }
    default: return 1;
  }
}

int CHisTechObj::OnHistory(const SHistoryPacket* read) {
  // Another item's late reply answers nothing asked of this one.
  if (read && read->hasData != 0 && !read->records.empty() && !(read->code == m_item->GetKey()))
    return 1;
  // One reply per request: a server repeating its answer, or sending
  // history unasked, would otherwise prepend it again and again.
  if (!m_bRequestPending) {
    TraceRefused(m_replyUnasked, "a history reply no request waits for");
    return 0;
  }
  m_bRequestPending = false;
  if (!read) return 0;
  const SHistoryPacket& reply = *read;
  const bool extended = PacketGroup(reply.head.type) == PKT_HIS_KLINE_EXT;
  if (reply.hasData == 0 || reply.records.empty()) {
    Recompute();
    return 0;
  }
  int n = static_cast<int>(reply.records.size());
  const int held = static_cast<int>(m_raw.size());
  // Overlap with the held bars: records not older than the first held bar
  // are left out, so no bar is held twice; of week and month lines also
  // those of the first held bar's week or month, unless that bar is the
  // only one held (today's bar, folded into its week below).
  if (held > 0) {
    const uint32_t firstHeld = static_cast<uint32_t>(m_raw[0].nDate) & kDateMask;
    auto overlaps = [&](uint32_t date) {
      date &= kDateMask;
      if (date >= firstHeld) return true;
      if (held == 1) return false;
      if (m_nPeriod == kPeriodWeek) return CPublic::IsSameWeek(date, firstHeld);
      if (m_nPeriod == kPeriodMonth) return CPublic::IsSameMonth(date, firstHeld);
      return false;
    };
    while (n > 0 && overlaps(reply.records[static_cast<size_t>(n - 1)].date)) --n;
  }
  // Held bars are bounded: the newest of the reply that fit are taken,
  // and no older history is asked for after that.
  const int room = std::max(0, kMaxHeldBars - held);
  int skipped = 0;
  if (n > room) {
    TraceRefused(m_barsOverCap, "history past the most bars held");
    skipped = n - room;
    n = room;
  }
  std::vector<SHistoryUnit> bars;
  bars.reserve(static_cast<size_t>(n + held));
  for (int i = 0; i < n; ++i) {
    const SHistoryRecord& r = reply.records[static_cast<size_t>(skipped + i)];
    bars.push_back(SHistoryUnit{static_cast<int32_t>(r.date), float(r.open / kPriceUnit),
                                float(r.high / kPriceUnit), float(r.low / kPriceUnit),
                                float(r.close / kPriceUnit), r.volume,
                                static_cast<uint32_t>(r.amount)});
  }
  bars.insert(bars.end(), m_raw.begin(), m_raw.end());
  m_raw.swap(bars);
  for (int k = 0; k < n; ++k) RepairBar(k);
  if (held == 1 && n > 0 && (m_nPeriod == kPeriodWeek || m_nPeriod == kPeriodMonth)) {
    SHistoryUnit& newest = m_raw[static_cast<size_t>(n - 1)];
    const SHistoryUnit& old = m_raw[static_cast<size_t>(n)];
    const bool same = m_nPeriod == kPeriodWeek
                          ? CPublic::IsSameWeek(uint32_t(newest.nDate), uint32_t(old.nDate))
                          : CPublic::IsSameMonth(uint32_t(newest.nDate), uint32_t(old.nDate));
    if (same) {
      newest.fHigh = std::max(newest.fHigh, old.fHigh);
      if (old.fLow < newest.fLow && old.fLow != 0.0f) newest.fLow = old.fLow;
      newest.fClose = old.fClose;
      newest.nVolume += old.nVolume;
      // Saturates: a month of a busy item may not fit the bar's field.
      newest.nAmount = static_cast<uint32_t>(
          std::min<uint64_t>(uint64_t{newest.nAmount} + old.nAmount, UINT32_MAX));
      newest.nDate = old.nDate;
      m_raw.pop_back();
    }
  }
  ResetPaneOutputs();
  const int count = static_cast<int>(m_raw.size());
  if ((!extended && static_cast<int>(reply.records.size()) < m_nBarsWanted) ||
      count >= kMaxHeldBars)
    m_nHistoryState = 3;
  if (extended) {
    m_nFirst = 0;
    m_nEnd = n;
    m_nScrollMode = 3;
    Owe(EChartChange::kSeries | EChartChange::kRange);
    return 1;
  }
  switch (m_nScrollMode) {
    case 1:
    case 2: m_nScrollMode = 0; break;
    case 3:
      if (m_nHistoryState == 3) m_nCursorBase = std::max(0, m_nCursorBase + count - m_nBarsWanted);
      else if (count > m_nBarsWanted) m_nFirst = m_nEnd;
      m_nEnd = count;
      m_nScrollMode = 0;
      m_nCursor = -1;
      break;
    default:
      m_nEnd = count;
      m_nAccumulator += n;
      // Older bars asked by a zoom out that reached the start of history
      // are shown with all the rest: counting the range back from the end by
      // the number asked would show only that many bars.
      if (m_nHistoryState == 3 && held == 0) {
        m_nFirst = m_nEnd - m_nBarsWanted;
        m_nAccumulator -= m_nFirst;
      } else {
        m_nFirst = 0;
        m_nCursorBase = LargestPaneNeed();
      }
      m_nCursor = m_nAccumulator / std::max(1, m_nBarsPerColumn) - m_nCursorBase;
      m_nAccumulator = 0;
      break;
  }
  // The server held fewer bars than wanted: show what there is.
  if (m_nFirst < 0) m_nFirst = 0;
  Recompute();
  return 1;
}

void CHisTechObj::RepairBar(int k) {
  SHistoryUnit& b = m_raw[static_cast<size_t>(k)];
  if (Missing(b.fOpen)) {
    b.fOpen = 0.0f;
    for (int j = k - 1; j >= 0; --j)
      if (!Missing(m_raw[static_cast<size_t>(j)].fClose)) {
        b.fOpen = m_raw[static_cast<size_t>(j)].fClose;
        break;
      }
    if (Missing(b.fClose)) b.fClose = b.fOpen;
    if (Missing(b.fHigh)) b.fHigh = b.fOpen;
    if (Missing(b.fLow) || b.fLow == 4294967296.0f) b.fLow = b.fOpen;
  } else {
    if (Missing(b.fClose)) b.fClose = b.fOpen;
    if (Missing(b.fLow)) b.fLow = std::min(b.fOpen, b.fClose);
    if (Missing(b.fHigh)) b.fHigh = std::max(b.fOpen, b.fClose);
  }
  if (b.fHigh < b.fLow) std::swap(b.fHigh, b.fLow);
}

int CHisTechObj::TradingMinute(int minuteOfDay) const {
  const std::vector<SPhase>& phases = m_store->GetPhases();
  if (phases.empty()) return minuteOfDay - 570;
  // Minutes traded since the first session began; the first minute of a
  // later session counts with the one after it (its opening deal).
  int sum = 0;
  for (size_t i = 0; i < phases.size(); ++i) {
    const int begin = phases[i].begin, end = phases[i].end;
    if (minuteOfDay <= end) {
      if (minuteOfDay < begin) return sum;
      return sum + (i == 0 ? minuteOfDay - begin : std::max(1, minuteOfDay - begin));
    }
    sum += end - begin;
  }
  return sum;
}

int CHisTechObj::OnMinutes(const SMinuteTracePacket* body) {
  SKLineMinutePacket packet;
  if (!body || !KLineMinutesOf(*body, &packet)) return 0;
  if (packet.head.tag != CPublic::GetRequestTag() || packet.code.code != m_item->code) return 0;
  if (m_raw.empty() || packet.minutes.empty() || packet.pointCount == 0) return 1;
  const SKLineMinute& newest = packet.minutes.back();
  SHistoryUnit* last = &m_raw.back();
  if (!IsMinutePeriod(m_nPeriod)) {
    const float p = float(newest.price / kPriceUnit);
    last->fHigh = std::max(last->fHigh, p);
    last->fLow = std::min(last->fLow, p);
    last->fClose = p;
  } else {
    const int d = m_nPeriod;
    const int hhmm = last->nDate % 10000;
    int e = hhmm / 100 * 60 + hhmm % 100 - 570;
    // Minute numbers past the day's last session are no trading minute:
    // they would open a bar per packet.
    const std::vector<SPhase>& phases = m_store->GetPhases();
    const int dayEnd = (phases.empty() ? kMinutesPerDay : phases.back().end) - 570;
    if (packet.newestPointMinute > dayEnd)
      TraceRefused(m_tickOutside, "a bar for a minute past the trading sessions");
    else if (e < packet.newestPointMinute) {
      SHistoryUnit bar = *last;
      int minutes = hhmm / 100 * 60 + hhmm % 100 + d;
      bar.nDate = last->nDate - hhmm + minutes / 60 * 100 + minutes % 60;
      bar.fOpen = bar.fHigh = bar.fLow = last->fClose;
      bar.nVolume = 0;
      bar.nAmount = 0;
      const bool followed = m_nEnd == static_cast<int>(m_raw.size());
      m_raw.push_back(bar);
      last = &m_raw.back();
      if (followed) {
        ++m_nEnd;
        const int capacity = std::max(1, m_rcDateAxis.right - m_rcDateAxis.left) * m_nBarsPerColumn;
        if (m_nEnd - m_nFirst > capacity) m_nFirst = m_nEnd - capacity;
      }
      e += d;
    }
    if (!(e == 330 && packet.newestPointMinute == 0)) {
      last->nVolume = 0;
      last->nAmount = 0;
    }
    for (auto it = packet.minutes.rbegin(); it != packet.minutes.rend(); ++it) {
      const int m = it->minute;
      if (!(m > e - d || (d == e && m == 0) || (e - d == 210 && m == 210))) break;
      const float p = float(it->price / kPriceUnit);
      last->fHigh = std::max(last->fHigh, p);
      last->fLow = std::min(last->fLow, p);
      // Saturates: a busy bar's minutes may not fit the bar's field.
      last->nAmount = static_cast<uint32_t>(std::min<uint64_t>(
          uint64_t{last->nAmount} + static_cast<uint32_t>(it->amount), UINT32_MAX));
      last->nVolume += packet.code.market == 4097 ? it->volume / 100 : it->volume;
    }
    if (e - d < newest.minute) last->fClose = float(newest.price / kPriceUnit);
  }
  ResetPaneOutputs();
  Recompute();
  return 1;
}

bool CHisTechObj::InSession(int minuteOfDay) const {
  const std::vector<SPhase>& phases = m_store->GetPhases();
  if (phases.empty()) return minuteOfDay < kMinutesPerDay;
  return std::any_of(phases.begin(), phases.end(), [&](const SPhase& phase) {
    return phase.begin <= minuteOfDay && minuteOfDay <= phase.end;
  });
}

void CHisTechObj::TraceRefused(CTraceBudget& kind, const char* what) {
  if (!kind.Take()) return;
  WriteTraceLine(TRACE_HERE, 0, "K-line %06d: %s refused (%llu so far)\n",
                 m_item ? m_item->code : 0, what, static_cast<unsigned long long>(kind.Count()));
}

// The bar of the last bar's time and of a tick's minute, in bars of the
// period counted in trading minutes since the session start (so 60-minute
// bars and the hour boundaries fall where the sessions put them); a last
// bar of another day than the trade date's (or the night after it) gives
// today false.
struct CHisTechObj::STickBars {
  bool today = false;
  int lastBar = 0;
  int tickBar = 0;
};

CHisTechObj::STickBars CHisTechObj::BarsOfTick(int minuteOfDay) const {
  const int tradeDay = m_store->GetTradeDate() % 10000;
  const SHistoryUnit& last = m_raw.back();
  const int lastDay = last.nDate / 10000;
  const int lastHhmm = last.nDate % 10000;
  STickBars b;
  b.today = lastDay == tradeDay || lastDay == tradeDay + 1;
  const int lastMinute =
      (lastDay - tradeDay) * kMinutesPerDay + lastHhmm / 100 * 60 + lastHhmm % 100;
  b.lastBar = (TradingMinute(lastMinute) - 1) / m_nPeriod;
  b.tickBar = (TradingMinute(minuteOfDay) - 1) / m_nPeriod;
  return b;
}

bool CHisTechObj::ReadOwnTick(const SPushTickPacket* push, SKLineTick* t) {
  m_bTicksSeen = true;
  if (!push || !KLineTickOf(*push, m_item->GetKey(), t) || m_raw.empty()) return false;
  // A quote stamped outside the sessions is no trade of the day: it moves
  // no bar, whatever the period (a server's bad clock would otherwise open
  // a bar per tick).
  if (!InSession(t->minuteOfDay)) {
    TraceRefused(m_tickOutside, "a pushed quote outside the trading sessions");
    return false;
  }
  if (IsMinutePeriod(m_nPeriod)) {
    const STickBars b = BarsOfTick(t->minuteOfDay);
    if (b.today && b.tickBar < b.lastBar) {
      TraceRefused(m_tickEarlier, "a pushed quote earlier than the last bar");
      return false;
    }
  }
  return true;
}

void CHisTechObj::TakeTick(const SKLineTick& t) {
  SHistoryUnit& last = m_raw.back();
  bool opened = false;
  const float lastPrice = float(t.last / kPriceUnit);
  auto widen = [&](SHistoryUnit& b, float high, float low) {
    b.fHigh = std::max(b.fHigh, high);
    if (low != 0.0f) b.fLow = std::min(b.fLow, low);
  };
  if (m_nPeriod == kDayPeriod) {
    last.fHigh = float(t.high / kPriceUnit);
    if (t.low != 0) last.fLow = float(t.low / kPriceUnit);
    last.fClose = lastPrice;
    last.fOpen = float(t.open / kPriceUnit);
    last.nVolume = t.dayVolume;
    last.nAmount = BarAmountOfRecordAmount(t.amount);
  } else if (m_nPeriod == kPeriodWeek || m_nPeriod == kPeriodMonth) {
    widen(last, float(t.high / kPriceUnit), float(t.low / kPriceUnit));
    last.fClose = lastPrice;
    last.nVolume += t.volumeIncrement;
  } else {
    const int tradeDay = m_store->GetTradeDate() % 10000;
    // Minutes of the trade date; past midnight they run on (a session
    // that ends after midnight), and the bar's date moves to the next day.
    const int minute = t.minuteOfDay;
    const int32_t time = (tradeDay + minute / kMinutesPerDay) * 10000 +
                         minute % kMinutesPerDay / 60 * 100 + minute % 60;
    const uint32_t increment = t.code.market == 4097 ? t.volumeIncrement / 100 : t.volumeIncrement;
    const STickBars b = BarsOfTick(minute);
    if (!b.today || b.lastBar < b.tickBar) {
      m_raw.push_back(SHistoryUnit{time, lastPrice, lastPrice, lastPrice, lastPrice, increment, 0});
      ++m_nFirst;
      ++m_nEnd;
      opened = true;
    } else {
      last.nDate = std::max(last.nDate, time);
      widen(last, lastPrice, lastPrice);
      last.fClose = lastPrice;
      last.nVolume += increment;
    }
    // The day's amount so far less that of the day's bars before the last.
    uint32_t earlier = 0;
    for (size_t i = m_raw.size() - 1; i-- > 0;) {
      const int day = m_raw[i].nDate / 10000;
      if (day != tradeDay && day != tradeDay + 1) break;
      if (day == tradeDay) earlier += m_raw[i].nAmount;
    }
    const uint32_t dayAmount = BarAmountOfRecordAmount(t.amount);
    m_raw.back().nAmount = dayAmount > earlier ? dayAmount - earlier : 0;
  }
  Recompute(opened ? EChartChange::kSeries | EChartChange::kRange
                   : CChartChanges(EChartChange::kLastBar));
}

void CHisTechObj::Recompute(CChartChanges what) {
  what |= m_owed;
  m_owed = CChartChanges();
  if (what.Within(EChartChange::kLastBar) && RecomputeLastBar()) return;
  // Prepared anew whole, the chart is drawn anew whole.
  Changed(what | EChartChange::kRange);
  if (m_raw.empty() || m_nFirst < 0) return;
  if (!m_panes.empty() && m_item) {
    char code[16];
    std::snprintf(code, sizeof code, "%06d ", m_item->code);
    m_strCaption = std::string(code) + m_item->GetName() + "(" + PeriodName(m_nPeriod) + ")";
    m_panes[0]->SetCaption(m_strCaption, 0);
  }
  const int count = static_cast<int>(m_raw.size());
  if (m_nEnd > count) m_nEnd = count;
  if (m_nFirst > m_nEnd) m_nFirst = m_nEnd;
  SetBarGeometry();
  m_pShown = AdjustSeries(m_raw.data(), count);
  const int width = std::max(1, m_rcDateAxis.right - m_rcDateAxis.left);
  const int capacity = width * m_nBarsPerColumn;
  if (m_nEnd - m_nFirst > capacity) m_nEnd = m_nFirst + capacity;
  m_range.end = m_nEnd;
  m_range.first = m_nFirst;
  m_range.candleWidth = m_nCandleWidth;
  m_range.decimals = CPublic::GetPriceDecimals();
  m_range.barsPerColumn = m_nBarsPerColumn;
  m_range.bars = &m_pShown;
  GiveChipBars(true);
  const int visible = m_nEnd - m_nFirst;
  if (m_nCursor >= visible) m_nCursor = visible - 1;
  ComputeXPositions();
  for (auto& pane : m_panes) {
    // A new bar or new positions may have moved both arrays the pane points
    // into: it forgets them first, so placing the positions prepares nothing
    // from bars that are gone, and SetData prepares from both fresh arrays.
    pane->Reset();
    pane->SetXPositions(m_x.data(), static_cast<int>(m_x.size()));
    pane->SetData(&m_range);
    pane->SetToolBars(m_pShown, count, m_nFirst, m_x.data(), static_cast<int>(m_x.size()),
                      m_nCandleWidth);
  }
  RefreshCursorInfo();
}

bool CHisTechObj::RecomputeLastBar() {
  const int count = static_cast<int>(m_raw.size());
  // The panes hold the bars and positions of the last recompute, the
  // newest bar among the visible ones.
  if (count == 0 || m_nFirst < 0 || m_nEnd != count || m_range.end != m_nEnd ||
      m_range.first != m_nFirst || m_x.size() != static_cast<size_t>(m_nEnd - m_nFirst) ||
      m_pShown == nullptr)
    return false;
  const SHistoryUnit* shown = AdjustSeries(m_raw.data(), count);
  if (shown != m_pShown) {
    m_pShown = shown;
    return false;
  }
  bool column = true;
  for (auto& pane : m_panes) column = pane->TakeLastBar(m_pShown[count - 1]) && column;
  // A pane whose range moved is drawn whole, and so is the chart.
  Changed(column ? CChartChanges(EChartChange::kLastBar) : EChartChange::kRange);
  if (column) MeasureTickTitles();
  GiveChipBars(false);
  // The cursor box shows the values of the bar under the cursor.
  if (m_hooks.cursorInfo && m_nCursor >= 0 && m_nFirst + m_nCursor >= count - 1)
    m_hooks.cursorInfo(&m_pShown[count - 1], ValueAtCursor());
  return true;
}

void CHisTechObj::GiveChipBars(bool always) {
  m_bChipStale = !always && m_nChipShown == 0;
  if (!m_bChipStale) ChipUpdate(0, &m_range);
}

void CHisTechObj::SetChipPageShown(int flag) {
  m_nChipShown = flag;
  if (flag && m_bChipStale) GiveChipBars(true);
}

void CHisTechObj::ChipUpdate(int what, const void* data) {
  if (m_hooks.chipUpdate) m_hooks.chipUpdate(what, data);
}

void CHisTechObj::Redraw() {
  if (m_hooks.redraw) m_hooks.redraw();
}
