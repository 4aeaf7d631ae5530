// The tick table: ticks from the time-share reply and pushes, the newest
// that fit laid into rows at every paint.
#include "zeb/tables/panel/trace_table.h"

#include <cstdlib>

#include "platform/gbk.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/store/public_store.h"

void CTickMarkImages::Draw(CDC* dc, int index, int x, int y) const {
  if (!dc || index < 0 || index > 1) return;
  const SPriceColors colors = [] {
    SPriceColors c;
    c.Load();
    return c;
  }();
  const COLORREF color = index == 0 ? colors.up : colors.down;
  CPen pen(PS_SOLID, 1, color);
  CBrush brush(color);
  CPen* oldPen = dc->SelectObject(&pen);
  CBrush* oldBrush = dc->SelectObject(&brush);
  const POINT up[3] = {{x + 3, y + 4}, {x, y + 10}, {x + 6, y + 10}};
  const POINT down[3] = {{x, y + 4}, {x + 6, y + 4}, {x + 3, y + 10}};
  dc->Polygon(index == 0 ? up : down, 3);
  dc->SelectObject(oldPen);
  dc->SelectObject(oldBrush);
}

CTraceTable::CTraceTable(CPublic* store) : m_store(store ? store : CPublic::GetInstance()) {
  SetTextColor(CSysStyle::GetInstance()->GetColor(40));
  SetRowHeight(kTraceRowHeight);
  SetImageList(&m_marks);
}

void CTraceTable::InitColumns() {
  m_colors.Load();
  SetRowHeight(kTraceRowHeight);
}

void CTraceTable::SetStock(const SStockInfo* item) {
  if (!item) return;
  m_item = *item;
  ItemPriceUnitAndFormat(m_item.GetKey(), &m_nUnit, &m_strFormat);
  m_ticks.Release();
  DeleteAllRows();
  m_feed.Reset();
  RebuildColumns();
}

void CTraceTable::RebuildColumns() {
  RemoveAllColumns();
  const int w = GetWidth();
  AddColumn(0, "", 0, w / 3);
  AddColumn(1, "", 2, w / 3);
  AddColumn(2, "", 1, w / 3 - 8);
  AddStyle(kTableStyleNoHeader);
}

int CTraceTable::UpdateData(const void* body, int length) {
  return UpdatePacket(CChartPacket(body, length));
}

int CTraceTable::UpdatePacket(const CChartPacket& packet) {
  if (!packet.Body()) {
    m_ticks.Release();
    DeleteAllRows();
    return 1;
  }
  const auto taken = m_feed.Take(
      packet, m_item.GetKey(),
      [&](const SMinuteTracePacket& trace) {
        m_ticks.Release();
        for (const SDealRecord& d : trace.ticks) {
          SFenTraceUnit t;
          t.direction = d.price == d.ask ? -1 : (d.price == d.bid ? 1 : 0);
          t.time = m_store->OffsetToTime(d.time);
          t.price = d.price;
          t.volume = static_cast<int32_t>(d.volume);
          m_ticks.Add(t);
        }
      },
      [&](const STickRecord& r) {
        SFenTraceUnit t;
        if (r.levelCount == 10 || r.levelCount == 11) {
          if (r.last == r.LevelPrice(kBestBidEntry)) t.direction = 1;
          if (r.last == r.LevelPrice(kBestAskEntry)) t.direction = -1;
        }
        t.time = r.time;
        t.price = r.last;
        t.volume = static_cast<int32_t>(r.curVolume);
        m_ticks.Add(t);
      });
  if (taken == CItemQuoteFeed::Taken::kPush && packet.Push()->records.empty()) return 0;
  return 1;
}

void CTraceTable::BuildRows() {
  DeleteAllRows();
  const int height = m_rect.bottom - m_rect.top;
  const int fit = GetRowHeight() > 0 ? height / GetRowHeight() : 0;
  const int count = static_cast<int>(m_ticks.size());
  const int first = count - fit > 0 ? count - fit : 0;
  const SCodeInfo key = m_item.GetKey();
  const bool index = CPublic::IsIndexMarket(&key);
  const COLORREF text = GetTextColor();
  for (int i = first; i < count; ++i) {
    const SFenTraceUnit& t = m_ticks[static_cast<size_t>(i)];
    const int row = i - first;
    const int top = row == 0 ? 0x1000 : 0;
    SetCell(row, 0, TextPrintf("%02d:%02d", t.time / 60, t.time % 60), -1, text, CLR_INVALID,
            top | 0x4000);
    SetCell(row, 1, PriceText(t.price, m_nUnit, m_strFormat), -1,
            m_colors.Of(t.price, m_item.preClose), CLR_INVALID, top);
    std::string volume;
    int image = -1;
    if (index) {
      volume = std::abs(t.volume) < 10000 ? TextPrintf("%d", t.volume)
                                          : TextPrintf(GBK("%d万"), t.volume / 10000);
    } else {
      volume = TextPrintf("%d", t.volume / CPublic::GetLotSize());
      image = t.direction == 1 ? 1 : (t.direction == -1 ? 0 : 2);
    }
    SetCell(row, 2, volume, image, m_colors.volume, CLR_INVALID, top);
  }
}

int CTraceTable::Draw(CDC* dc) {
  BuildRows();
  const int drawn = CBaseTable::Draw(dc);
  if (dc && m_ticks.empty()) {
    CPen pen(PS_SOLID, 1, CSysStyle::GetInstance()->GetColor(6));  // the grid line colour
    CPen* old = dc->SelectObject(&pen);
    dc->MoveTo(m_rect.left, m_rect.top);
    dc->LineTo(m_rect.right, m_rect.top);
    dc->SelectObject(old);
  }
  return drawn;
}
