// Summing deals by price and drawing the distribution.
#include "zeb/tables/deals/price_table.h"

#include <algorithm>

#include "platform/gbk.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/base/price_colors.h"
#include "zeb/tables/deals/deal_request.h"

namespace {
constexpr int kMenuPriceTable = 2;
constexpr int kLegendRoom = 30;
}  // namespace

CPriceTable::CPriceTable(CPublic* store) : m_store(store ? store : CPublic::GetInstance()) {}

void CPriceTable::SetStock(const SStockInfo* item) {
  if (!item) return;
  m_item = *item;
  ItemPriceUnitAndFormat(m_item.GetKey(), &m_nUnit, &m_strFormat);
}

void CPriceTable::RequestDeals() { ::RequestDeals(m_store, m_item); }

void CPriceTable::AddDeal(uint32_t price, uint32_t volume, uint32_t bid) {
  const bool outer = bid < price;
  auto it = std::find_if(m_levels.begin(), m_levels.end(),
                         [&](const SPriceVolItem& l) { return l.price <= price; });
  if (it == m_levels.end() || it->price != price)
    it = m_levels.insert(it, SPriceVolItem{price, 0, 0});
  (outer ? it->outer : it->inner) += volume;
}

int CPriceTable::UpdateData(const void* body, int length) {
  return UpdatePacket(CChartPacket(body, length));
}

int CPriceTable::UpdatePacket(const CChartPacket& packet) {
  DeleteAllRows();
  const SCodeInfo key = m_item.GetKey();
  if (!packet.Body() || CPublic::IsIndexMarket(&key)) {
    m_levels.clear();
    return 1;
  }
  if (packet.Group() == PKT_PRICE_DISTRIB) {
    if (packet.Head().tag != CPublic::GetRequestTag()) return 0;
    const SDealListPacket* list = packet.Deals();
    if (!list) return 1;
    m_levels.clear();
    for (const SDealRecord& d : list->deals) AddDeal(d.price, d.volume, d.bid);
  } else if (const SPushTickPacket* push = packet.Push()) {
    // A record without all ten levels has no best bid to split by: it is
    // not taken, and a later record of its volume still counts.
    m_feed.TakePush(*push, key, [&](const STickRecord& r) {
      if (r.levelCount != kBoardLevels) return false;
      AddDeal(r.last, r.curVolume, r.LevelPrice(kBestBidEntry));
      return true;
    });
  }
  return 1;
}

CFont* CPriceTable::InitColors() {
  CBaseTable::InitColors();
  const CSysStyle* style = CSysStyle::GetInstance();
  m_pFont = style->GetFont(2);
  m_crText = style->GetColor(3);
  m_crInner = style->GetColor(4);
  m_crOuter = style->GetColor(2);
  return m_pFont;
}

int CPriceTable::Draw(CDC* dc) {
  if (!dc) return 0;
  InitColors();
  CFont* oldFont = m_pFont ? dc->SelectObject(m_pFont) : nullptr;
  CBrush inner(m_crInner), outer(m_crOuter);
  CPen pen(PS_SOLID, 1, RGB(0xA5, 0xA5, 0xA5));
  CPen* oldPen = dc->SelectObject(&pen);
  const int oldMode = dc->SetBkMode(TRANSPARENT);
  const SIZE extent = dc->GetTextExtent("999.999");
  const int w = extent.cx, h = extent.cy;
  const int rowHeight = h + 4;
  const int barRoom = GetWidth() - w - 159;
  const int height = m_rect.bottom - m_rect.top;

  uint64_t total = 0, largest = 0;
  for (const SPriceVolItem& l : m_levels) {
    const uint64_t sum = static_cast<uint64_t>(l.outer) + l.inner;
    total += sum;
    largest = std::max(largest, sum);
  }
  dc->SetTextColor(m_crText);
  int drawn = 0;
  for (size_t i = static_cast<size_t>(std::max(0, GetTopRow())); i < m_levels.size(); ++i) {
    if ((drawn + 1) * rowHeight > height - kLegendRoom) break;
    const SPriceVolItem& l = m_levels[i];
    const int top = m_rect.top + drawn * rowHeight;
    RECT cell{m_rect.left, top, m_rect.left + w, top + rowHeight};
    dc->DrawText(PriceText(l.price, m_nUnit, m_strFormat), &cell,
                 DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    const uint64_t sum = static_cast<uint64_t>(l.outer) + l.inner;
    ++drawn;
    // A level without volume (or a day without any) has no bar to scale.
    if (sum == 0 || largest == 0 || total == 0) continue;
    const int x0 = m_rect.left + w + 4, y0 = top + 2;
    const int x1 = x0 + static_cast<int>(static_cast<double>(sum) / static_cast<double>(largest) *
                                         std::max(barRoom, 0));
    const int y1 = y0 + h;
    const int split =
        x0 + static_cast<int>(static_cast<double>(x1 - x0) * l.inner / static_cast<double>(sum));
    CBrush* oldBrush = dc->SelectObject(&inner);
    if (split > x0) dc->Rectangle(x0, y0, split, y1);
    dc->SelectObject(&outer);
    if (x1 > split) dc->Rectangle(split, y0, x1, y1);
    dc->SelectObject(oldBrush);
    dc->TextOut(x1 + 2, y0,
                TextPrintf(GBK("%llu 手  占%.2f%%"), static_cast<unsigned long long>(sum),
                           static_cast<double>(sum) * 100.0 / static_cast<double>(total)));
  }
  // Legend.
  const int legendTop = m_rect.bottom - 20;
  CBrush* oldBrush = dc->SelectObject(&inner);
  dc->Rectangle(m_rect.left + 2, legendTop, m_rect.left + 32, legendTop + 10);
  dc->TextOut(m_rect.left + 34, legendTop, GBK("内盘"));
  const int second = m_rect.left + 32 + dc->GetTextExtent(GBK("内盘")).cx + 10;
  dc->SelectObject(&outer);
  dc->Rectangle(second, legendTop, second + 30, legendTop + 10);
  dc->TextOut(second + 32, legendTop, GBK("外盘"));
  dc->SelectObject(oldBrush);
  dc->SetBkMode(oldMode);
  dc->SelectObject(oldPen);
  if (oldFont) dc->SelectObject(oldFont);

  m_nRowsPerPage = rowHeight > 0 ? (height - kLegendRoom) / rowHeight : 0;
  m_nRowCount = static_cast<int>(m_levels.size());
  if (m_nRowCount < m_nRowsPerPage) {
    m_scroll.SetRange(0);
  } else {
    m_scroll.SetPage(m_nRowsPerPage);
    m_scroll.SetRange(m_nRowCount);
    m_scroll.SetPos(GetTopRow());
  }
  m_scroll.Draw(dc);
  return 1;
}

int CPriceTable::OnRButtonDown(CDrawOwner* owner, int x, int y) {
  if (PtInRect(m_rect, POINT{x, y})) TrackMenu(owner, x, y, kMenuMain, kMenuPriceTable);
  return 1;
}
