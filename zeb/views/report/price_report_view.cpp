// The quote list view: layout, painting, the item records it is given,
// received packets, keys and the refresh timer.
#include "zeb/views/report/price_report_view.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "zeb/controls/my_mem_dc.h"
#include "zeb/messages.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/base/table_keys.h"
#include "zeb/views/report/block_lists.h"

namespace {

// Sort columns up to this one (sequence, code, name) keep a market list in
// the server's order.
constexpr int kLastOrderColumn = 2;

}  // namespace

CPriceReportView::CPriceReportView(CPublic* store)
    : CBaseView(store), m_table(Store()), m_tabs(Store()), m_stat(Store()) {
  m_table.SetListSource(GetBlockListItems);
}

CPriceReportView::~CPriceReportView() = default;

void CPriceReportView::OnInitialUpdate() {
  CBaseView::OnInitialUpdate();
  m_tabs.InitTabs();
  m_table.InitColumns();
  m_stat.Init();
  PlaceScrollBar();
  SetTimer(kReportRefreshTimer, UINT(Store()->GetQuoteRefreshPeriod()));
}

// ---- Layout and painting ----

void CPriceReportView::RecalcLayout() {
  const RECT& r = m_rcLayout;
  const int tabsBottom = r.bottom - kReportStatStripHeight;
  const int tabsTop = tabsBottom - GetTabStripHeight();
  m_tabs.SetRect(r.left, tabsTop, r.right, tabsBottom);
  PlaceScrollBar();
  const int pageBefore = m_table.GetRowsPerPage();
  m_table.SetRect(r.left, r.top, r.right, tabsTop);
  m_stat.SetRect(r.left, tabsBottom, r.right, r.bottom);
  // A market list asks for the quotes of a page: when more or fewer rows
  // fit now, ask again at once rather than at the next refresh.
  if (m_table.GetRowsPerPage() != pageBefore && m_table.GetItemCount() > 0) RefreshData();
}

int CPriceReportView::GetTabStripHeight() {
  CDC measure;
  measure.CreateCompatibleDC(nullptr);
  return m_tabs.GetFittingHeight(&measure);
}

void CPriceReportView::PlaceScrollBar() {
  // The tabs' widths come from their text, measured on a memory DC.
  CDC measure;
  measure.CreateCompatibleDC(nullptr);
  RECT bar = m_tabs.GetRect();
  bar.left = std::clamp(int(m_tabs.GetTabPos(&measure).x), int(bar.left), int(bar.right));
  m_scroll.SetRect(0, &bar);
}

void CPriceReportView::OnDraw(CDC* dc) {
  CBaseView::OnDraw(dc);
  // All columns fit: no column stays scrolled out and the bar hides.
  m_nVisibleWidth = m_table.GetWidth();
  m_nTotalWidth = m_table.GetTotalColumnWidth();
  if (m_nVisibleWidth > m_nTotalWidth) {
    m_nScrollPos = 0;
    m_table.ResetColumnScroll();
  }
  CMyMemDC memory(dc, &m_rcLayout);
  m_table.Draw(&memory);
  m_tabs.Draw(&memory);
  m_stat.Draw(&memory);
  DrawScrollBar(&memory);
}

void CPriceReportView::DrawScrollBar(CDC* dc) {
  if (m_nVisibleWidth > m_nTotalWidth) {
    m_scroll.SetRange(0);
  } else {
    m_scroll.SetRange(m_nTotalWidth);
    m_scroll.SetPage(m_nVisibleWidth);
    m_scroll.SetPos(m_nScrollPos);
  }
  m_scroll.Draw(dc);
}

// ---- What the router gives the view ----

int CPriceReportView::SetCurItem(const SCurItem* item) {
  if (!item) return 0;
  // The view's own item handed back (Esc from the chart view, new market
  // tables): the list reloads in the user's order, and the item the user
  // opened stays selected and in view instead of the list starting over
  // at its first row.
  const bool own = IsCurItem(item) && m_table.GetItemCount() > 0;
  const int place = own ? m_table.GetSelectedIndex() : -1;
  CBaseView::SetCurItem(item);
  const std::string name(item->name, strnlen(item->name, sizeof item->name));
  const SRepTabRecord record = MakeRepTabRecord(name.c_str(), item->market);
  if (!own) {
    m_table.SetSortFromItem(item->market, item->mode);
    m_table.ScrollToColumn(m_table.GetColumnPos(item->mode & 0xFF));
    m_nScrollPos = m_table.GetColumnScrollPixels();
  }
  LoadTab(record, place);
  m_tabs.SelectTabOf(record);
  return 1;
}

void CPriceReportView::LoadTab(const SRepTabRecord& record, int place) {
  m_curItem.market = record.market;
  m_curItem.SetName(record.name);
  m_curTab = record;
  const int listed = m_table.LoadItems(record.market, record.name);
  if (place >= 0) m_table.SelectIndex(place);
  if (listed && !IsRectEmpty(m_rcLayout)) RefreshData();
  // The figures of the list shown before do not belong to this one.
  if (!listed) m_stat.Reset();
  Repaint();
  PlaceScrollBar();
}

// The list shown last: a block or an item record's market has no tab.
void CPriceReportView::ReloadCurrentTab() { LoadTab(m_curTab); }

int CPriceReportView::OnData(const void* body, int length) {
  // The head and the records are read here, once; the table and the strip
  // take the same decoded reply.
  SPacketHead head;
  if (length >= 0 && ReadPacketHead(body, static_cast<size_t>(length), &head)) {
    const bool read = head.tag == CPublic::GetRequestTag() &&
                      ReadQuotePacket(body, static_cast<size_t>(length), &m_packet);
    const SQuotePacket* quotes = read ? &m_packet : nullptr;
    m_table.UpdateQuotes(head, quotes);
    m_stat.Update(head, quotes, m_table.GetItemCount() > 0 ? 1 : 0);
  }
  Repaint();
  return 0;
}

void CPriceReportView::RefreshData() { m_table.RequestQuotes(); }

SCodeInfo* CPriceReportView::GetCodeInfo(SCodeInfo* out) {
  m_curItem.code = m_table.GetSelectedCode();
  return CBaseView::GetCodeInfo(out);
}

// ---- Keys and commands ----

int CPriceReportView::OnKey(UINT key, UINT data, UINT flags) {
  using namespace table_keys;
  if (key == kReturn) {
    SCodeInfo code;
    GetCodeInfo(&code);
    if (!code.IsEmpty()) {
      if (!m_table.IsMarketList() || m_table.GetReportSortColumn() > kLastOrderColumn)
        Store()->SetOpenedFromList(1);
      if (HWND main = MainWnd()) ::SendMessage(main, WM_QUOTE_REQUEST, kRequestItem, LPARAM(&code));
      return 1;
    }
  } else if (key == kDelete && (m_table.GetMarket() & kUserListMask) == kUserListMask) {
    if (HWND main = MainWnd()) ::PostMessage(main, WM_COMMAND, kCmdRemoveFromList, 0);
    return 1;
  }
  const int taken = m_table.OnKey(key);
  if (taken) {
    m_nScrollPos = m_table.GetColumnScrollPixels();
    Repaint();
  }
  return taken;
}

int CPriceReportView::OnCommand(int id) {
  if (!m_table.OnCommand(UINT(id))) return 0;
  Repaint();
  return 1;
}

int CPriceReportView::StepReport(int step) {
  if (!m_table.StepSelection(step)) return 0;
  Repaint();
  OnKey(table_keys::kReturn, 0, 0);
  return 1;
}

LRESULT CPriceReportView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_REPORT_STEP) {
    if (!wParam) return 0;
    StepReport(*reinterpret_cast<const int*>(wParam));
    return 1;
  }
  return CBaseView::WindowProc(message, wParam, lParam);
}

void CPriceReportView::OnTimer(UINT_PTR id) {
  RefreshData();
  CBaseView::OnTimer(id);
}

void CPriceReportView::OnSchemeChanged() {
  m_table.InitColors();
  CBaseView::OnSchemeChanged();
}
