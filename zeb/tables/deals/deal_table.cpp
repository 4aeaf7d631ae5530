// Rows of the deal details from the deal list and pushes.
#include "zeb/tables/deals/deal_table.h"

#include <algorithm>

#include "platform/gbk.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/deals/deal_request.h"

namespace {
constexpr int kMenuMain = 130;
constexpr int kMenuDeals = 1;
constexpr int kCellBorders = 0xA000;  // bottom and right
}  // namespace

CDealTable::CDealTable(CPublic* store) : m_store(store ? store : CPublic::GetInstance()) {}

bool CDealTable::IsIndex() const {
  const SCodeInfo key = m_item.GetKey();
  return CPublic::IsIndexMarket(&key);
}

void CDealTable::SetStock(const SStockInfo* item) {
  if (!item) return;
  m_item = *item;
  const SCodeInfo key = m_item.GetKey();
  m_nUnit = CPublic::GetPriceUnit(&key);
  m_strFormat = PriceFormat(CPublic::GetPriceDecimals(&key));
  m_nLastVolume = 0;
  RebuildColumns();
}

void CDealTable::RequestDeals() { ::RequestDeals(m_store, m_item); }

void CDealTable::RebuildColumns() {
  RemoveAllColumns();
  const int w = GetWidth() / 6;
  static const char* const kIndex[] = {"时  间", "指  数", "涨跌值", "上  涨", "下  跌", "现  量"};
  static const char* const kItem[] = {"时  间", "成交价", "涨跌值", "买入价", "卖出价", "现  量"};
  const char* const* names = IsIndex() ? kIndex : kItem;
  for (int i = 0; i < 6; ++i) AddColumn(i, GBK(names[i]), 2, w);
}

int CDealTable::SetRect(int left, int top, int right, int bottom) {
  CScrolledTable::SetRect(left, top, right, bottom);
  RebuildColumns();
  return 1;
}

void CDealTable::AddTick(uint16_t time, uint32_t price, int64_t bid, int64_t ask, uint32_t volume) {
  const int row = GetRowCount();
  const int64_t P = m_item.preClose;
  const bool index = IsIndex();
  const auto cell = [&](int col, const std::string& text, COLORREF color) {
    SSubItem item;
    item.text = text;
    item.textColor = color;
    item.borders = kCellBorders;
    item.align = col == 0 ? -1 : 1;
    SetCellItem(row, col, item);
  };
  cell(0, TextPrintf("%02d:%02d", time / 60, time % 60), m_colors.level);
  cell(1, PriceText(price, m_nUnit, m_strFormat), m_colors.Of(price, P));
  const int64_t change = static_cast<int64_t>(price) - P;
  std::string changeText = PriceText(change < 0 ? -change : change, m_nUnit, m_strFormat);
  if (change >= 1) changeText = "+" + changeText;
  if (change < 0) changeText = "-" + changeText;
  cell(2, changeText, m_colors.OfSign(change));
  const auto side = [&](int col, int64_t value) {
    if (index) cell(col, "0", m_colors.level);
    else if (value == kNoPrice) cell(col, "-", m_colors.level);
    else cell(col, PriceText(value, m_nUnit, m_strFormat), m_colors.Of(value, P));
  };
  side(3, bid);
  side(4, ask);
  COLORREF volumeColor = m_colors.level;
  if (index) volumeColor = m_colors.volume;
  else if (price == bid) volumeColor = m_colors.down;
  else if (price == ask) volumeColor = m_colors.up;
  cell(5, TextPrintf("%u", volume / static_cast<uint32_t>(CPublic::GetLotSize())), volumeColor);
  // The rows per page count the header's row, as the scroll range does.
  const int page = m_nFittingRows;
  if (page > 0 && GetTopRow() >= page) {
    SetTopRow(std::max(0, m_nRowCount - page + 2));
    m_scroll.SetPos(GetTopRow());
  }
}

int CDealTable::UpdateData(const void* body, int length) {
  SPacketHead head;
  if (!body || length < 0 || !ReadPacketHead(body, static_cast<size_t>(length), &head)) return 1;
  const size_t size = static_cast<size_t>(length);
  m_colors.Load();
  if (PacketGroup(head.type) == PKT_PRICE_DISTRIB) {
    DeleteAllRows();
    if (head.tag != CPublic::GetRequestTag()) return 0;
    if (!ReadDealList(body, size, &m_deals)) return 1;
    for (const SDealRecord& d : m_deals.deals)
      AddTick(m_store->OffsetToTime(d.time), d.price, d.bid, d.ask, d.volume);
    const int n = static_cast<int>(m_deals.deals.size());
    SetTopRow(n < m_nFittingRows ? 0 : n - m_nFittingRows + 1);
    m_scroll.SetPos(GetTopRow());
  } else if (PacketGroup(head.type) == PKT_PUSH_TICK) {
    if (!ReadPushTicks(body, size, &m_push)) return 1;
    for (const STickRecord& r : m_push.records) {
      if (!(r.code == m_item.GetKey()) || r.volume == m_nLastVolume) continue;
      const int64_t bid = r.HasLevel(kBestBidEntry) ? r.LevelPrice(kBestBidEntry) : kNoPrice;
      const int64_t ask = r.HasLevel(kBestAskEntry) ? r.LevelPrice(kBestAskEntry) : kNoPrice;
      AddTick(r.time, r.last, bid, ask, r.curVolume);
      m_nLastVolume = r.volume;
    }
  }
  return 1;
}

int CDealTable::Draw(CDC* dc) {
  const int drawn = CBaseTable::Draw(dc);
  m_nRowsPerPage = m_nFittingRows;
  m_nRowCount = GetRowCount();
  if (m_nRowCount < m_nRowsPerPage) {
    m_scroll.SetRange(0);
  } else {
    m_scroll.SetRange(m_nRowCount + 1);
    m_scroll.SetPage(m_nRowsPerPage);
    m_scroll.SetPos(GetTopRow());
  }
  if (dc) m_scroll.Draw(dc);
  return drawn;
}

int CDealTable::OnRButtonDown(CDrawOwner* owner, int x, int y) {
  if (HitTestRow(x, y) > 0) TrackMenu(owner, x, y, kMenuMain, kMenuDeals);
  return 1;
}
