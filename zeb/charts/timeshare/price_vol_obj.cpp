// The time-share object's data, layout, requests and input.
#include "zeb/charts/timeshare/price_vol_obj.h"

#include <algorithm>
#include <cstdint>

#include "platform/gbk.h"
#include "zeb/store/amount_units.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/packets/chart_view_packet.h"

namespace {

// Shared by every time-share chart of the process; each construction and
// destruction of one starts it afresh.
std::vector<SCodeInfo>& TraceList() {
  static std::vector<SCodeInfo> codes;
  return codes;
}

constexpr UINT kKeyEscape = 27, kKeyEnd = 35, kKeyHome = 36, kKeyLeft = 37, kKeyRight = 39;

bool InRect(const RECT& r, int x, int y) { return PtInRect(r, POINT{x, y}); }

}  // namespace

CPriceVolObj::CPriceVolObj(CPublic* store) : m_pStore(store ? store : CPublic::GetInstance()) {
  m_nTradeDate = m_pStore->GetTradeDate();
  TraceList().clear();
}

CPriceVolObj::~CPriceVolObj() { TraceList().clear(); }

const std::vector<SCodeInfo>& CPriceVolObj::TraceCodes() { return TraceList(); }
void CPriceVolObj::ClearTraceCodes() { TraceList().clear(); }

int CPriceVolObj::RecalcLayout() {
  using namespace timeshare_style;
  const RECT o = m_rect;
  RECT plot = o;
  if (!(m_nStyle & kNoLeftAxis)) plot.left += 60;
  if (!(m_nStyle & kNoRightAxis)) plot.right -= 60;
  m_rcAxis = RECT{};
  m_rcTitle = RECT{};
  if (!(m_nStyle & kNoTimeAxis)) {
    plot.bottom -= 18;
    m_rcAxis = RECT{plot.left, o.bottom - 18, plot.right, o.bottom};
  }
  if (m_nStyle & kNoTitle) {
    plot.top += 10;
  } else {
    plot.top += 18;
    m_rcTitle = RECT{plot.left, o.top, plot.right, o.top + 18};
  }
  const int units = m_nSubPic != 0 ? 4 : 3;
  const float h = static_cast<float>(plot.bottom - plot.top) / static_cast<float>(units);
  m_rcPrice = RECT{plot.left, plot.top, plot.right,
                   static_cast<int>(static_cast<float>(plot.top) + h * 1.8f)};
  m_rcVolume = RECT{plot.left, m_rcPrice.bottom, plot.right,
                    static_cast<int>(static_cast<float>(m_rcPrice.bottom) + h * 1.2f)};
  m_pricePic.SetRectDeferred(m_rcPrice.left, m_rcPrice.top, m_rcPrice.right, m_rcPrice.bottom,
                             true);
  m_volPic.SetRectDeferred(m_rcVolume.left, m_rcVolume.top, m_rcVolume.right, m_rcVolume.bottom,
                           true);
  m_rcExtra = RECT{plot.left, m_rcVolume.bottom, plot.right, o.bottom - 18};
  m_rcInfo = RECT{o.left, o.top + 18, o.left + 58, o.top + 198};
  if (m_pInfoBox) m_pInfoBox->SetRect(m_rcInfo);
  m_rcChart = RECT{m_rcPrice.left, m_rcPrice.top, m_rcVolume.right, m_rcVolume.bottom};
  Changed(EChartChange::kSize);
  return 1;
}

BOOL CPriceVolObj::HitTest(int x, int y) { return InRect(m_rect, x, y) ? TRUE : FALSE; }

void CPriceVolObj::SetStyle(int flags) {
  m_nStyle = flags;
  m_pricePic.SetStyle(flags);
  m_volPic.SetStyle(flags);
  Changed(EChartChange::kSize);
}

int CPriceVolObj::SetSubPicType(int kind) {
  m_nSubPic = (kind < 0 || kind > 4) ? 0 : kind;
  RecalcLayout();
  return 1;
}

void CPriceVolObj::SetInfoBox(CTimeShareInfoBox* box) {
  m_pInfoBox = box;
  Changed(EChartChange::kOverlay);
  if (!box) return;
  box->SetRect(m_rcInfo);
  if (m_pItem) box->SetStock(*m_pItem);
}

void CPriceVolObj::SetStock(SStockInfo* item) {
  if (!item) return;
  m_pItem = item;
  // The new item's day is the store's trade date: a chart made before the
  // market table arrived would otherwise refuse every pushed tick.
  m_nTradeDate = m_pStore->GetTradeDate();
  m_nPreClose = item->preClose;
  m_nLastVolume = 0;
  m_nLastPrice = 0;
  m_bCrosshair = false;
  if (m_pInfoBox) m_pInfoBox->SetStock(*item);
  const int points = m_pStore->GetTradeMinutes(item->market) + 2;
  const SCodeInfo key = item->GetKey();
  m_pricePic.SetFormat(CPublic::GetPriceDecimals(&key), CPublic::GetPriceUnit(&key));
  m_volPic.SetFormat(0, 1);
  if (points != m_nPoints) {
    m_nPoints = points;
    m_pricePic.SetPointCount(points);
    m_volPic.SetPointCount(points);
  }
  // A new item starts from an empty day.
  for (auto* a : {&m_arPrice, &m_arAverage, &m_arSpare, &m_arVolume})
    a->assign(static_cast<size_t>(points), 0);
  m_nDataCount = 0;
  m_nCursor = 0;
  GiveData(static_cast<int32_t>(item->limitUp), static_cast<int32_t>(item->limitDown));
  RecalcLayout();
  Changed(EChartChange::kSeries | EChartChange::kRange);
}

void CPriceVolObj::RequestMinuteTrace() {
  if (!m_pItem) return;
  // The view asks again on every refresh: the list keeps each code once.
  std::vector<SCodeInfo>& list = TraceList();
  if (std::find(list.begin(), list.end(), m_pItem->GetKey()) == list.end())
    list.push_back(m_pItem->GetKey());
  const std::string request =
      BuildMinuteTraceRequest(static_cast<uint16_t>(CPublic::GetRequestTag()), m_pItem->GetKey());
  m_pStore->SendRequest(request.data(), static_cast<int>(request.size()), 1);
}

void CPriceVolObj::AddTraceCode(SCodeInfo code) {
  std::vector<SCodeInfo>& list = TraceList();
  if (std::find(list.begin(), list.end(), code) == list.end()) list.push_back(code);
  SendTraceList();
}

void CPriceVolObj::SendTraceList() {
  const std::string request =
      BuildListTraceRequest(static_cast<uint16_t>(CPublic::GetRequestTag()), TraceList());
  m_pStore->SendRequest(request.data(), static_cast<int>(request.size()), 1);
}

int CPriceVolObj::OnData(const void* body, int length) {
  return OnPacket(CChartPacket(body, length));
}

int CPriceVolObj::OnPacket(const CChartPacket& packet) {
  ++m_nPackets;
  // A packet's low byte is a variant of its group (0x0B01 is a push as
  // much as 0x0B00 is): the group says what the body holds.
  switch (packet.Group()) {
    case PKT_MINUTE_TRACE:
    case PKT_MINUTE_TRACE_A:
    case PKT_MINUTE_TRACE_D:
    // The traced items' days come in the same layout, one item each.
    case PKT_TRACE_LIST: {
      const SMinuteTracePacket* data = packet.Minutes();
      if (!data || !data->pointsRead || data->head.tag != CPublic::GetRequestTag()) return 0;
      // A late reply of the item shown before is not this item's day.
      if (!m_pItem || !(data->code == m_pItem->GetKey())) return 0;
      return TakeMinuteData(*data);
    }
    case PKT_DAY_TRACE: {
      const SDayTrace* trace = packet.DayTrace();
      return trace ? TakeDayTrace(*trace) : 0;
    }
    case PKT_PUSH_TICK: {
      if (m_pStore->GetTradeDate() != m_nTradeDate) return 0;
      const SPushTickPacket* ticks = packet.Push();
      return ticks ? TakeTicks(*ticks) : 0;
    }
    default: return 0;
  }
}

int CPriceVolObj::TakeMinuteData(const SMinuteTracePacket& data) {
  if (m_arPrice.empty()) return 1;
  m_nTradeDate = m_pStore->GetTradeDate();
  if (m_pItem) m_nPreClose = m_pItem->preClose;
  m_nLastPrice = data.quote.last;
  m_nLastVolume = data.quote.volume;
  const uint16_t market = m_pItem ? m_pItem->market : 0;
  m_nDataCount = std::min<int>(m_pStore->TimeToMinuteIndex(market, data.quote.time) + 1, m_nPoints);
  std::fill_n(m_arPrice.begin(), m_nDataCount, 0);
  std::fill_n(m_arVolume.begin(), m_nDataCount, 0);
  std::vector<uint8_t> seen(static_cast<size_t>(m_nPoints), 0);
  for (const SMinutePoint& p : data.points) {
    const int index = m_pStore->ElapsedToMinuteIndex(market, p.elapsed);
    if (index >= m_nPoints || (seen[index] && p.volume == 0)) continue;
    seen[index] = 1;
    m_arPrice[index] = static_cast<int32_t>(p.price);
    m_arAverage[index] = static_cast<int32_t>(p.average);
    m_arVolume[index] = static_cast<int32_t>(p.volume);
  }
  FillGaps();
  GiveData(m_pItem ? static_cast<int32_t>(m_pItem->limitUp) : 0,
           m_pItem ? static_cast<int32_t>(m_pItem->limitDown) : 0);
  Changed(EChartChange::kSeries | EChartChange::kRange);
  return 1;
}

int CPriceVolObj::TakeDayTrace(const SDayTrace& trace) {
  if (m_arPrice.empty()) return 1;
  m_nTradeDate = static_cast<int>(trace.date);
  m_nPreClose = trace.preClose;
  m_nDataCount = std::min<int>(static_cast<int>(trace.points.size()), m_nPoints);
  for (int i = 0; i < m_nDataCount; ++i) {
    const SDayTracePoint& p = trace.points[i];
    m_arPrice[i] = static_cast<int32_t>(p.price);
    m_arVolume[i] = static_cast<int32_t>(p.volume);
    int32_t average = static_cast<int32_t>(p.average);
    if (average == 0) average = i > 0 ? m_arAverage[i - 1] : m_arPrice[i];
    m_arAverage[i] = average;
  }
  const int64_t pc = m_nPreClose;
  int64_t lo = m_nDataCount > 0 ? m_arPrice[0] : pc, hi = lo;
  for (int i = 0; i < m_nDataCount; ++i) {
    if (m_arPrice[i] == 0) continue;
    lo = std::min<int64_t>(lo, m_arPrice[i]);
    hi = std::max<int64_t>(hi, m_arPrice[i]);
  }
  const int64_t f = std::llabs(lo - pc), g = std::llabs(hi - pc);
  if (f < g) {
    GiveData(static_cast<int32_t>(hi), static_cast<int32_t>(pc - g));
  } else {
    GiveData(static_cast<int32_t>(pc + f), static_cast<int32_t>(lo));
  }
  Changed(EChartChange::kSeries | EChartChange::kRange);
  return 1;
}

int CPriceVolObj::TakeTicks(const SPushTickPacket& ticks) {
  if (!m_pItem || m_arPrice.empty()) return 0;
  const SCodeInfo key = m_pItem->GetKey();
  const bool index = CPublic::IsIndexMarket(&key);
  const int countBefore = m_nDataCount;
  const int priceTop = m_pricePic.GetTop(), priceBottom = m_pricePic.GetBottom();
  const int volumeTop = m_volPic.GetTop(), volumeBottom = m_volPic.GetBottom();
  int first = INT_MAX;  // the first point written
  bool changed = false;
  for (const STickRecord& t : ticks.records) {
    if (!(t.code == key)) continue;
    if (t.volume <= m_nLastVolume && t.last == m_nLastPrice) break;  // a repeat ends the packet
    m_nLastPrice = t.last;
    m_nLastVolume = t.volume;
    const int d = m_pStore->TimeToMinuteIndex(key.market, t.time);
    const int32_t average =
        t.volume == 0 ? static_cast<int32_t>(m_nPreClose) : static_cast<int32_t>(t.average);
    int at;
    if (d < m_nDataCount) {
      at = m_nDataCount - 1;
      first = std::min(first, at);
      // Volumes from the server are not trusted to stay small: the sum saturates.
      m_arVolume[at] =
          static_cast<int32_t>(std::min<int64_t>(int64_t{m_arVolume[at]} + t.curVolume, INT32_MAX));
    } else {
      // Outside the day's minutes: never written.
      if (d >= m_nPoints) continue;
      first = std::min(first, m_nDataCount);
      for (int i = m_nDataCount; i < d; ++i) {
        m_arPrice[i] = i > 0 ? m_arPrice[i - 1] : static_cast<int32_t>(m_nPreClose);
        m_arAverage[i] = i > 0 ? m_arAverage[i - 1] : static_cast<int32_t>(m_nPreClose);
        m_arVolume[i] = 0;
      }
      at = d;
      m_arVolume[at] = static_cast<int32_t>(t.curVolume);
      m_nDataCount = d + 1;
    }
    m_arPrice[at] = static_cast<int32_t>(t.last);
    m_arAverage[at] = index ? m_arPrice[at] : average;
    changed = true;
  }
  if (!changed) return 0;
  first = std::min(first, FillGaps());
  GiveData(static_cast<int32_t>(m_pItem->limitUp), static_cast<int32_t>(m_pItem->limitDown));
  // Both scales as they were: every other point keeps its rows and bar.
  if (countBefore > 0 && m_pricePic.GetTop() == priceTop && m_pricePic.GetBottom() == priceBottom &&
      m_volPic.GetTop() == volumeTop && m_volPic.GetBottom() == volumeBottom) {
    Changed(EChartChange::kLastBar);
    m_nFirstUnpainted = std::min(m_nFirstUnpainted, first);
  } else {
    Changed(EChartChange::kRange);
  }
  return 1;
}

int CPriceVolObj::FillGaps() {
  const int32_t pc = static_cast<int32_t>(m_nPreClose);
  int first = INT_MAX;
  for (int i = 0; i < m_nDataCount; ++i) {
    if (m_arPrice[i] == 0) {
      m_arPrice[i] = i > 0 ? m_arPrice[i - 1] : pc;
      m_arAverage[i] = i > 0 ? m_arAverage[i - 1] : pc;
      first = std::min(first, i);
    }
    if (m_arAverage[i] == 0) {
      m_arAverage[i] = i > 0 ? m_arAverage[i - 1] : pc;
      first = std::min(first, i);
    }
  }
  return first;
}

bool CPriceVolObj::ShowsAverage() const {
  if (!m_pItem) return true;
  const uint16_t market = m_pItem->market;
  if (market == 4097 || market == 4113) return false;
  const int group = m_pItem->code / 1000;
  return !(market == 4098 && (group == 201 || group == 202));
}

void CPriceVolObj::GiveData(int32_t upper, int32_t lower) {
  if (upper == lower) {
    const auto scaled = [](int32_t v, double f) {
      return static_cast<int32_t>(std::clamp(v * f, double{INT32_MIN}, double{INT32_MAX}));
    };
    upper = scaled(upper, 1.1);
    lower = scaled(lower, 0.9);
  }
  m_nGivenUpper = upper;
  m_nGivenLower = lower;
  SDynPicData price;
  price.count = m_nDataCount;
  price.preClose = static_cast<int32_t>(m_nPreClose);
  price.upper = upper;
  price.lower = lower;
  price.values[0] = m_arPrice.data();
  price.values[1] = ShowsAverage() ? m_arAverage.data() : nullptr;
  m_pricePic.SetData(price);
  SDynPicData volume = price;
  volume.values[0] = m_arVolume.data();
  volume.values[1] = m_arPrice.data();
  m_volPic.SetData(volume);
  RefreshInfo();
}

void CPriceVolObj::RefreshInfo() {
  const uint16_t market = m_pItem ? m_pItem->market : 0;
  const int cursor = std::max(m_nCursor, 0);
  STimeShareCursor info;
  info.time = m_pStore->MinuteIndexToTime(market, static_cast<uint16_t>(cursor), 1);
  if (m_nCursor >= 0 && m_nCursor < m_nDataCount) {
    info.hasData = true;
    info.price = static_cast<float>(m_arPrice[m_nCursor]) / static_cast<float>(kPriceUnit);
    info.average =
        static_cast<float>(ShowsAverage() ? m_arAverage[m_nCursor] : m_arPrice[m_nCursor]) /
        static_cast<float>(kPriceUnit);
    info.volume = static_cast<uint32_t>(m_arVolume[m_nCursor]);
    info.preClose = m_nPreClose;
  }
  m_cursorInfo = info;
  if (m_pInfoBox) m_pInfoBox->Update(info);
}

int CPriceVolObj::MoveCursor(int index) {
  m_nCursor = index;
  Changed(EChartChange::kCursor);
  m_bCursorChanged = true;
  m_pricePic.SetCursorIndex(index);
  m_volPic.SetCursorIndex(index);
  RefreshInfo();
  return 1;
}

int CPriceVolObj::Track(int x, int y) {
  int index = -1;
  if (InRect(m_rcPrice, x, y)) {
    index = m_pricePic.IndexAtX(x, y);
  } else if (InRect(m_rcVolume, x, y)) {
    index = m_volPic.IndexAtX(x, y);
  }
  if (index == m_nCursor) return 0;
  return MoveCursor(index);
}

int CPriceVolObj::OnKey(UINT key) {
  const int last = m_nDataCount - 1;
  switch (key) {
    case kKeyEnd: return MoveCursor(last);
    case kKeyHome: return MoveCursor(0);
    case kKeyLeft:
      m_bCrosshair = true;
      Changed(EChartChange::kOverlay);
      return MoveCursor(m_nCursor <= 0 ? last : m_nCursor - 1);
    case kKeyRight:
      m_bCrosshair = true;
      Changed(EChartChange::kOverlay);
      return MoveCursor(m_nCursor >= last ? 0 : m_nCursor + 1);
    case kKeyEscape:
      if (!m_bCrosshair) return 0;
      m_bCrosshair = false;
      Changed(EChartChange::kOverlay);
      return Track(0, 0);
    default: return 0;
  }
}

void CPriceVolObj::MoveInfoBox(int dx, int dy) {
  OffsetRect(m_rcInfo, dx, dy);
  Changed(EChartChange::kOverlay);
  if (m_pInfoBox) m_pInfoBox->SetRect(m_rcInfo);
}

int CPriceVolObj::OnLButtonDown(int x, int y) {
  if (InRect(m_rcInfo, x, y) && !m_bDragging) {
    m_bDragging = true;
    m_ptDrag = POINT{x, y};
  }
  m_bCrosshair = !m_bCrosshair;
  Changed(EChartChange::kOverlay);
  return 0;
}

int CPriceVolObj::OnLButtonUp(int x, int y) {
  if (!m_bDragging) return 0;
  m_bDragging = false;
  MoveInfoBox(x - m_ptDrag.x, y - m_ptDrag.y);
  return 1;
}

int CPriceVolObj::OnMouseMove(int x, int y) {
  if (x == m_rect.left && y == m_rect.top) return 0;
  if (m_bDragging) {
    MoveInfoBox(x - m_ptDrag.x, y - m_ptDrag.y);
    m_ptDrag = POINT{x, y};
    return 1;
  }
  const bool inChart = InRect(m_rcChart, x, y);
  if (inChart != m_bMouseInChart) Changed(EChartChange::kOverlay);
  m_bMouseInChart = inChart;
  if (!m_bMouseInChart && m_bCrosshair) return Track(0, 0);
  return Track(x, y);
}

int CPriceVolObj::OnRButtonDown(CDrawOwner* owner, int x, int y) {
  if (!m_pItem) return 0;
  if (owner) m_pOwner = owner;
  if (!InRect(m_rcPrice, x, y) && !InRect(m_rcVolume, x, y)) return 1;
  SPopupMenu menu;
  menu.baseResource = kMenu;
  menu.baseSubMenu = kMenuTimeShare;
  // Index items show their advance-decline line under the long-short entry.
  const SCodeInfo key = m_pItem->GetKey();
  if (key.market == 4113 || key.market == 4097)
    menu.retitles.push_back(
        SPopupItem{SPopupItem::Kind::kCommand, kLongShortCommand, GBK("ADL图")});
  if (owner) owner->TrackPopup(menu, x, y);
  return 1;
}

int CPriceVolObj::OnCommand(UINT id) {
  if (id != kVolumeCommand) return 0;
  SetSubPicType(0);
  if (m_pOwner) m_pOwner->Repaint();
  return 1;
}
