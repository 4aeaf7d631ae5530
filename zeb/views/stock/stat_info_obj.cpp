// The information panel's pages, layout and packet routing.
#include "zeb/views/stock/stat_info_obj.h"

#include "platform/gbk.h"
#include "platform/window.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/messages.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/base/table_keys.h"
#include "zeb/tables/packets/kline_packets.h"
#include "zeb/tables/chartinfo/chart_info_tables.h"

namespace {
constexpr UINT kKeyPlus = 187;
}  // namespace

int CStatTypeCtlPic::InitTabs() {
  RemoveAll();
  m_nCurrent = kNoTab;
  AddTab(GBK("笔"), 1);
  AddTab(GBK("势"), 0);
  SetCurSel(0);
  return 1;
}

int CStatTypeCtlPic::OnClick(int x, int y) {
  const int index = HitTest(x, y);
  if (index < 0 || index == 5) return 0;
  SetCurSel(index);
  return 1;
}

CStatInfoObj::CStatInfoObj(CPublic* store, const SBigOrderHooks* hooks)
    : m_store(store ? store : CPublic::GetInstance()),
      m_title(m_store),
      m_board(m_store),
      m_values(m_store),
      m_ticks(m_store),
      m_itemChart(m_store),
      m_indexChart(m_store),
      m_bigOrders(m_store, hooks),
      m_bigTitle(hooks) {
  m_itemChart.SetStyle(kPanelItemChartStyle);
  m_indexChart.SetStyle(kPanelIndexChartStyle);
}

void CStatInfoObj::InitParts() {
  m_bigOrders.InitColumns();
  m_bigTitle.InitColumns();
  m_board.InitColumns();
  m_title.InitColumns();
  m_ticks.InitColumns();
  m_values.InitColumns();
  m_tabs.InitTabs();
}

BOOL CStatInfoObj::HitTest(int x, int y) { return PtInRect(m_rect, POINT{x, y}); }

int CStatInfoObj::RecalcLayout() {
  const RECT& r = m_rect;
  m_title.SetRect(r.left, r.top, r.right, r.top + kTitleRowHeight);
  m_bigTitle.SetRect(r.left, r.top, r.right, r.top + kTitleRowHeight);
  m_tabs.SetRect(r.left, r.bottom - kPanelTabHeight, r.right, r.bottom);
  m_bigOrders.SetRect(r.left, r.top + kTitleRowHeight, r.right, r.bottom - kPanelTabHeight);
  m_bigOrders.InitColumns();
  m_chips.SetRect(r.left, r.top, r.right, r.bottom - kPanelTabHeight);
  LayoutTables();
  return 1;
}

void CStatInfoObj::LayoutTables() {
  if (!m_item) return;
  const RECT& r = m_rect;
  const SCodeInfo key = m_item->GetKey();
  const int rows = CPublic::IsIndexMarket(&key) ? kBoardRowsIndex : kBoardRows;
  const int boardTop = r.top + kTitleRowHeight;
  const int boardBottom = boardTop + m_board.GetRowHeight() * rows;
  m_board.SetRect(r.left, boardTop, r.right, boardBottom);
  const int bottom = r.bottom - kPanelTabHeight;
  m_ticks.SetRect(r.left, boardBottom, r.right, bottom);
  m_values.SetRect(r.left, boardBottom, r.right, bottom);
  m_itemChart.SetRect(r.left, boardBottom, r.right, bottom);
  m_indexChart.SetRect(r.left, boardBottom, r.right, bottom);
}

void CStatInfoObj::SetStock(SStockInfo* item) {
  if (!item) return;
  m_item = item;
  LayoutTables();
  m_title.SetStock(item);
  m_board.SetStock(item);
  m_ticks.SetStock(item);
  m_values.SetStock(item);
  m_bigOrders.SetStock(item);
  if (m_nPage == kPanelBigOrders) m_bigOrders.Request();
  m_itemChart.SetStock(item);
  const SStockInfo* index =
      m_store->GetIndexStock(static_cast<uint16_t>((item->market & 0xF0) | 0x1001));
  m_indexItem = nullptr;
  if (index) {
    m_indexCopy = *index;
    m_indexItem = &m_indexCopy;
    m_indexChart.SetStock(m_indexItem);
  }
}

void CStatInfoObj::SelectTab(int tab) {
  if (tab == m_tabs.GetCurSel()) return;
  SetPage(tab);
  m_tabs.SetCurSel(tab);
}

void CStatInfoObj::SetPage(int tab) {
  switch (tab) {
    case 0: m_nPage = kPanelTicks; break;
    case 1:
      m_nPage = kPanelItemChart;
      m_itemChart.RequestMinuteTrace();
      break;
    case 2:
      m_nPage = kPanelIndexChart;
      if (m_indexItem) m_indexChart.AddTraceCode(m_indexItem->GetKey());
      break;
    case 3:
      m_nPage = kPanelChips;
      if (m_nChipCursor >= 0) m_chips.SetCurIndex(m_nChipCursor);
      break;
    case 4:
      m_nPage = kPanelBigOrders;
      m_bigOrders.Request();
      m_itemChart.RequestMinuteTrace();
      break;
    default: break;
  }
  if (HWND main = m_store->GetMainWnd()) ::SendMessage(main, WM_STAT_PAGE, 0, tab == 3 ? 1 : 0);
}

void CStatInfoObj::SetPageDirect(int mode) {
  m_nPage = mode & 0xF;
  SetPage(mode & 0xF);
}

void CStatInfoObj::RefillTables() {
  m_board.Refill();
  m_ticks.RebuildColumns();
  m_values.RebuildColumns();
}

void CStatInfoObj::OnSchemeChanged() {
  for (CBaseTable* table : std::initializer_list<CBaseTable*>{
           &m_title, &m_board, &m_values, &m_ticks, &m_bigOrders, &m_bigTitle}) {
    table->InitColors();
    table->InitColumns();
  }
  RecalcLayout();
  RefillTables();
  RefreshBigOrders();
}

void CStatInfoObj::RefreshBigOrders() {
  if (m_nPage == kPanelBigOrders) m_bigOrders.Request();
}

void CStatInfoObj::OnChipUpdate(int kind, LPARAM value) {
  switch (kind) {
    case 0: m_chips.SetKLineData(reinterpret_cast<const SHistoryInterval*>(value)); break;
    case 1:
      // The chart's cursor bar is kept while another page shows, so the
      // chip page has a distribution the moment it is chosen, not only
      // after the chart's next notice.
      m_nChipCursor = static_cast<int>(value);
      if (m_nPage == kPanelChips) m_chips.SetCurIndex(m_nChipCursor);
      break;
    case 2: m_chips.SetTechShown(static_cast<int>(value)); break;
    case 3:
      if (const RECT* r = reinterpret_cast<const RECT*>(value))
        m_chips.SetPriceRect(r->left, r->top, r->right, r->bottom);
      break;
    default: break;
  }
}

int CStatInfoObj::OnData(const void* body, int length) {
  return OnPacket(CChartPacket(body, length));
}

int CStatInfoObj::OnPacket(const CChartPacket& packet) {
  if (!packet.HasHead()) return 1;
  const uint16_t group = packet.Group();
  if (m_nPage == kPanelChips && group != PKT_EXRIGHTS) return 1;
  switch (group) {
    case PKT_MINUTE_TRACE:
      m_board.UpdatePacket(packet);
      m_ticks.UpdatePacket(packet);
      m_values.UpdatePacket(packet);
      m_itemChart.OnPacket(packet);
      break;
    case PKT_DAY_TRACE:
    case PKT_MINUTE_TRACE_D: m_itemChart.OnPacket(packet); break;
    case PKT_TRACE_LIST: m_indexChart.OnPacket(packet); break;
    case PKT_PUSH_TICK:
      m_board.UpdatePacket(packet);
      m_ticks.UpdatePacket(packet);
      m_values.UpdatePacket(packet);
      m_itemChart.OnPacket(packet);
      m_indexChart.OnPacket(packet);
      break;
    case PKT_EXRIGHTS: {
      const std::vector<SExRightsRecord>* records = m_item ? packet.ExRights() : nullptr;
      if (!records) break;
      // Today's shares head the table under this store's trade date.
      m_chips.SetTradeDate(m_store->GetTradeDate());
      m_chips.SetCapitalInfo(m_item->circulating, *records);
      break;
    }
    case PKT_BIG_ORDER:
    case PKT_BIG_ORDER_ADD: m_bigOrders.UpdatePacket(packet); break;
    default: break;
  }
  return 1;
}

int CStatInfoObj::Draw(CDC* dc) {
  if (!dc || !CPublic::IsValidRect(m_rect)) return 0;
  if (m_item) {
    switch (m_nPage) {
      case kPanelTicks:
      case kPanelValues:
      case kPanelItemChart:
      case kPanelIndexChart:
        m_title.Draw(dc);
        m_board.Draw(dc);
        if (m_nPage == kPanelTicks) m_ticks.Draw(dc);
        else if (m_nPage == kPanelValues) m_values.Draw(dc);
        else if (m_nPage == kPanelItemChart) m_itemChart.Draw(dc);
        else if (m_indexItem) m_indexChart.Draw(dc);
        break;
      case kPanelChips: m_chips.Draw(dc); break;
      case kPanelBigOrders:
        m_bigTitle.Draw(dc);
        m_bigOrders.Draw(dc);
        break;
      default: break;
    }
  }
  m_tabs.Draw(dc);
  CPen pen(PS_SOLID, 1, CSysStyle::GetInstance()->GetColor(6));
  CPen* old = dc->SelectObject(&pen);
  dc->MoveTo(m_rect.left, m_rect.top);
  dc->LineTo(m_rect.left, m_rect.bottom);
  dc->SelectObject(old);
  return 1;
}

int CStatInfoObj::OnKey(UINT key) {
  // The big-order list scrolls by rows with Up and Down, which the view
  // hands over when the chart has not taken them (PageUp and PageDown step
  // to the next item in this view).
  if (m_nPage == kPanelBigOrders && (key == table_keys::kUp || key == table_keys::kDown))
    return m_bigOrders.OnKey(key);
  if (key != kKeyPlus) return 0;
  const int current = m_tabs.GetCurSel();
  SelectTab(current == 5 ? 0 : current + 1);
  return 1;
}

int CStatInfoObj::OnLButtonDown(int x, int y) {
  if (m_tabs.OnClick(x, y)) {
    if (m_tabs.GetCurSel() != 5) SetPage(m_tabs.GetCurSel());
    return 1;
  }
  if (m_nPage == kPanelBigOrders) {
    const int row = m_bigOrders.HitTestRow(x, y);
    if (row >= 0) {
      m_bigOrders.SetSelRow(row);
      return 1;
    }
  }
  return 0;
}

int CStatInfoObj::OnLButtonDblClk(int x, int y) {
  if (m_nPage != kPanelBigOrders) return 0;
  if (m_bigOrders.OnLButtonDblClk(x, y)) return 1;
  return m_bigTitle.OnLButtonDblClk(x, y);
}
