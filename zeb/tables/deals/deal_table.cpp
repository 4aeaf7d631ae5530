// Rows of the deal details from the deal list and pushes.
#include "zeb/tables/deals/deal_table.h"

#include <algorithm>

#include "platform/gbk.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/deals/deal_request.h"

namespace {
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
  ItemPriceUnitAndFormat(m_item.GetKey(), &m_nUnit, &m_strFormat);
  m_feed.Reset();
  // Another item's deals go, and the memory they took.
  ReleaseRows();
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
  // A page that showed the newest deal shows it after a resize too.
  const bool following = ShowsNewest();
  CScrolledTable::SetRect(left, top, right, bottom);
  RebuildColumns();
  SetTop(following ? LastPageTop() : GetTopRow());
  return 1;
}

int CDealTable::DataRowsPerPage() const { return std::max(0, m_nFittingRows - ExtraTopRows()); }

int CDealTable::LastPageTop() const { return std::max(0, DealCount() - DataRowsPerPage()); }

bool CDealTable::ShowsNewest() const { return m_rows.empty() || GetTopRow() >= LastPageTop(); }

void CDealTable::SetTop(int top) {
  SetTopRow(std::clamp(top, 0, LastPageTop()));
  m_nRowCount = DealCount();
  m_scroll.SetPos(GetTopRow());
}

void CDealTable::ReleaseRows() {
  m_rows.Release();
  DeleteAllRows();
  SetTop(0);
}

SSubItem CDealTable::DealCell(int deal, int col) const {
  SSubItem item;
  if (deal < 0 || deal >= DealCount() || col < 0 || col > 5) return item;
  const SDealRow& d = m_rows[static_cast<size_t>(deal)];
  const int64_t P = m_item.preClose;
  const bool index = IsIndex();
  item.borders = kCellBorders;
  item.align = col == 0 ? -1 : 1;
  const auto set = [&](std::string text, COLORREF color) {
    item.text = std::move(text);
    item.textColor = color;
  };
  const auto side = [&](int64_t value) {
    if (index) set("0", m_colors.level);
    else if (value == kNoPrice) set("-", m_colors.level);
    else set(PriceText(value, m_nUnit, m_strFormat), m_colors.Of(value, P));
  };
  switch (col) {
    case 0: set(TextPrintf("%02d:%02d", d.time / 60, d.time % 60), m_colors.level); break;
    case 1: set(PriceText(d.price, m_nUnit, m_strFormat), m_colors.Of(d.price, P)); break;
    case 2: {
      const int64_t change = static_cast<int64_t>(d.price) - P;
      std::string text = PriceText(change < 0 ? -change : change, m_nUnit, m_strFormat);
      if (change >= 1) text = "+" + text;
      if (change < 0) text = "-" + text;
      set(text, m_colors.OfSign(change));
      break;
    }
    case 3: side(d.bid); break;
    case 4: side(d.ask); break;
    default: {
      COLORREF color = m_colors.level;
      if (index) color = m_colors.volume;
      else if (d.price == d.bid) color = m_colors.down;
      else if (d.price == d.ask) color = m_colors.up;
      set(TextPrintf("%u", d.volume / static_cast<uint32_t>(CPublic::GetLotSize())), color);
      break;
    }
  }
  return item;
}

void CDealTable::AddTick(uint16_t time, uint32_t price, int64_t bid, int64_t ask, uint32_t volume) {
  const bool following = ShowsNewest();
  const int dropped = static_cast<int>(m_rows.Add(SDealRow{time, price, bid, ask, volume}));
  // A reader of older deals stays on the same deal while the oldest go.
  SetTop(following ? LastPageTop() : GetTopRow() - dropped);
}

int CDealTable::UpdateData(const void* body, int length) {
  return UpdatePacket(CChartPacket(body, length));
}

int CDealTable::UpdatePacket(const CChartPacket& packet) {
  if (!packet.Body() || !packet.HasHead()) return 1;
  m_colors.Load();
  if (packet.Group() == PKT_PRICE_DISTRIB) {
    // The list comes again every few seconds: a reader of older deals keeps
    // his place, a table showing the newest shows the newest again.
    const bool following = ShowsNewest();
    const int top = GetTopRow();
    m_rows.Release();
    DeleteAllRows();
    SetTop(0);
    if (packet.Head().tag != CPublic::GetRequestTag()) return 0;
    const SDealListPacket* list = packet.Deals();
    if (!list) return 1;
    for (const SDealRecord& d : list->deals)
      m_rows.Add(SDealRow{m_store->OffsetToTime(d.time), d.price, d.bid, d.ask, d.volume});
    SetTop(following ? LastPageTop() : top);
  } else if (const SPushTickPacket* push = packet.Push()) {
    m_feed.TakePush(*push, m_item.GetKey(), [&](const STickRecord& r) {
      const int64_t bid = r.HasLevel(kBestBidEntry) ? r.LevelPrice(kBestBidEntry) : kNoPrice;
      const int64_t ask = r.HasLevel(kBestAskEntry) ? r.LevelPrice(kBestAskEntry) : kNoPrice;
      AddTick(r.time, r.last, bid, ask, r.curVolume);
    });
  }
  return 1;
}

void CDealTable::BuildRows() {
  DeleteAllRows();
  const int first = GetTopRow();
  const int last = std::min(DealCount(), first + DataRowsPerPage());
  for (int deal = first; deal < last; ++deal) {
    for (int col = 0; col < 6; ++col) SetCellItem(deal - first, col, DealCell(deal, col));
  }
}

int CDealTable::Draw(CDC* dc) {
  SetTop(GetTopRow());
  BuildRows();
  // The rows made are the page's: the grid paints them from its first row.
  const int top = GetTopRow();
  SetTopRow(0);
  const int drawn = CBaseTable::Draw(dc);
  SetTopRow(top);
  m_nRowsPerPage = m_nFittingRows;
  m_nRowCount = DealCount();
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

int CDealTable::HitTestRow(int x, int y) const {
  if (!PtInRect(m_rect, POINT{x, y}) || GetRowHeight() <= 0) return -1;
  const int row = static_cast<int>((y - m_rect.top) / m_fRowHeight) - ExtraTopRows();
  if (row < 0 || GetTopRow() + row >= DealCount()) return -1;
  return row;
}

int CDealTable::OnRButtonDown(CDrawOwner* owner, int x, int y) {
  if (HitTestRow(x, y) > 0) TrackMenu(owner, x, y, kMenuMain, kMenuDeals);
  return 1;
}
