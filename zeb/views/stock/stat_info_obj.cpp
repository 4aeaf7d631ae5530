// The information panel's pages, layout and packet routing.
#include "zeb/views/stock/stat_info_obj.h"

#include <algorithm>
#include <cstring>

#include "platform/gbk.h"
#include "platform/window.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/messages.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/base/table_keys.h"
#include "zeb/tables/packets/kline_packets.h"
#include "zeb/tables/chartinfo/chart_info_tables.h"
#include "zeb/charts/kline/his_tech_kept_image.h"
#include "zeb/painter/culling_painter.h"

namespace {
constexpr UINT kKeyPlus = 187;

template <class T>
void Put(std::string& print, const T& value) {
  print.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// A table as a whole: its place, page, colours and columns.
std::string FramePrint(const CBaseTable& t) {
  std::string print;
  Put(print, t.GetRect());
  Put(print, t.GetTopRow());
  Put(print, t.GetSelRow());
  Put(print, t.GetRowCount());
  Put(print, t.GetBkColor());
  Put(print, t.GetTextColor());
  Put(print, t.GetSelColor());
  for (int c = 0; c < t.GetColumnCount(); ++c) Put(print, t.GetColumnWidth(c));
  return print;
}

// One row's cells as drawn.
std::string RowPrint(const CBaseTable& t, int row) {
  std::string print;
  for (int c = 0; c < t.GetColumnCount(); ++c) {
    const SSubItem* cell = t.GetCellItem(row, c);
    if (!cell) continue;
    print += cell->text;
    print += '\0';
    Put(print, cell->image);
    Put(print, cell->textColor);
    Put(print, cell->background);
    Put(print, cell->borders);
    Put(print, cell->align);
    Put(print, cell->font);
  }
  return print;
}

std::string TablePrint(const CBaseTable& t) {
  std::string print = FramePrint(t);
  for (int r = 0; r < t.GetRowCount(); ++r) print += RowPrint(t, r);
  return print;
}

bool Meets(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

// What a Draw shows, part by part: the panel's frame (page, place, item,
// tabs), the title, the board row by row and the lower page. A lower page
// that is a chart has no print: the chart itself says what changed on it
// since it was drawn.
struct CStatInfoObj::SShown {
  std::string frame;
  std::string title;
  std::string board;  // the board as a whole
  std::vector<std::string> rows;
  std::string lower;
  bool lowerIsChart = false;
};

CStatInfoObj::~CStatInfoObj() = default;

RECT CStatInfoObj::LowerRect() const {
  switch (m_nPage) {
    case kPanelTicks: return m_ticks.GetRect();
    case kPanelValues: return m_values.GetRect();
    case kPanelItemChart: return m_itemChart.GetRect();
    case kPanelIndexChart: return m_indexItem ? m_indexChart.GetRect() : RECT{};
    default: return RECT{};
  }
}

CPriceVolObj* CStatInfoObj::LowerChart() {
  if (m_nPage == kPanelItemChart) return &m_itemChart;
  if (m_nPage == kPanelIndexChart && m_indexItem) return &m_indexChart;
  return nullptr;
}

const CPriceVolObj* CStatInfoObj::LowerChart() const {
  return const_cast<CStatInfoObj*>(this)->LowerChart();
}

CStatInfoObj::SShown CStatInfoObj::Shown() const {
  SShown shown;
  Put(shown.frame, m_nPage);
  Put(shown.frame, m_rect);
  Put(shown.frame, m_item);
  Put(shown.frame, m_indexItem);
  Put(shown.frame, const_cast<CStatTypeCtlPic&>(m_tabs).GetCurSel());
  Put(shown.frame, CSysStyle::GetInstance()->GetColor(6));
  if (!m_item) return shown;
  const SStockInfo& title = m_title.Stock();
  Put(shown.title, title.market);
  Put(shown.title, title.code);
  shown.title += title.GetName();
  shown.title += FramePrint(m_title);
  shown.board = FramePrint(m_board);
  for (int r = 0; r < m_board.GetRowCount(); ++r) shown.rows.push_back(RowPrint(m_board, r));
  switch (m_nPage) {
    case kPanelTicks: {
      // The tick list lays its rows out when it draws: its ticks stand for them.
      const auto& ticks = m_ticks.Ticks();
      shown.lower = FramePrint(m_ticks);
      Put(shown.lower, ticks.size());
      if (!ticks.empty()) {
        Put(shown.lower, ticks.front());
        Put(shown.lower, ticks.back());
      }
      break;
    }
    case kPanelValues: shown.lower = TablePrint(m_values); break;
    default: shown.lowerIsChart = true; break;
  }
  return shown;
}

bool CStatInfoObj::ChangedAreas(std::vector<RECT>* areas) const {
  if (!m_drawn || !CPublic::IsValidRect(m_rect)) return false;
  const SShown now = Shown();
  // Another page, place, item or colour: everything.
  if (now.frame != m_drawn->frame || m_nPage > kPanelIndexChart) return false;
  std::vector<RECT> changed;
  if (m_item) {
    if (now.title != m_drawn->title) changed.push_back(m_title.GetRect());
    if (now.board != m_drawn->board || now.rows.size() != m_drawn->rows.size()) {
      changed.push_back(m_board.GetRect());
    } else {
      for (size_t r = 0; r < now.rows.size(); ++r) {
        if (now.rows[r] == m_drawn->rows[r]) continue;
        RECT row = m_board.RowRect(static_cast<int>(r));
        if (IsRectEmpty(row)) continue;
        // With the lines along its edges.
        row.top -= 1;
        row.bottom += 1;
        // Changed rows next to each other are one area: each area draws
        // the rows it meets, and its neighbours' edges meet it.
        if (!changed.empty() && changed.back().left == row.left &&
            changed.back().right == row.right && changed.back().bottom >= row.top &&
            changed.back().top <= row.top)
          changed.back().bottom = std::max(changed.back().bottom, row.bottom);
        else changed.push_back(row);
      }
    }
    const RECT lower = LowerRect();
    if (!IsRectEmpty(lower)) {
      std::vector<RECT> chartAreas;
      if (const CPriceVolObj* chart = LowerChart(); chart && chart->ChangedAreas(&chartAreas))
        changed.insert(changed.end(), chartAreas.begin(), chartAreas.end());
      else if (now.lowerIsChart || now.lower != m_drawn->lower) changed.push_back(lower);
    }
  }
  ClipAreasTo(changed, m_rect);
  if (areas) *areas = std::move(changed);
  return true;
}

void CStatInfoObj::DrawAreas(CDC* dc, const std::vector<RECT>& areas, COLORREF background) {
  if (!dc) return;
  // One area at a time: a part meeting it draws only what lies there (the
  // board, the rows inside it); where areas overlap the later one's paint
  // is whole again.
  for (const RECT& r : areas) {
    dc->FillSolidRect(&r, background);
    const std::vector<RECT> one{r};
    const int saved = ClipToAreas(dc, one);
    DrawParts(dc, &one);
    dc->RestoreDC(saved);
  }
  m_drawn = std::make_unique<SShown>(Shown());
}

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
  DrawParts(dc, nullptr);
  m_drawn = std::make_unique<SShown>(Shown());
  return 1;
}

void CStatInfoObj::DrawParts(CDC* dc, const std::vector<RECT>* areas) {
  // A part's lines may lie on its edges, a pixel or two outside.
  const auto wanted = [&](const RECT& part) {
    const RECT near{part.left - 2, part.top - 2, part.right + 2, part.bottom + 2};
    return !areas ||
           std::any_of(areas->begin(), areas->end(), [&](const RECT& a) { return Meets(a, near); });
  };
  if (m_item) {
    switch (m_nPage) {
      case kPanelTicks:
      case kPanelValues:
      case kPanelItemChart:
      case kPanelIndexChart:
        if (wanted(m_title.GetRect())) m_title.Draw(dc);
        if (wanted(m_board.GetRect())) m_board.Draw(dc);
        if (!wanted(LowerRect())) break;
        if (m_nPage == kPanelTicks) m_ticks.Draw(dc);
        else if (m_nPage == kPanelValues) m_values.Draw(dc);
        else if (CPriceVolObj* chart = LowerChart(); chart && areas) chart->DrawAreas(dc, *areas);
        else if (chart) chart->Draw(dc);
        break;
      case kPanelChips: m_chips.Draw(dc); break;
      case kPanelBigOrders:
        m_bigTitle.Draw(dc);
        m_bigOrders.Draw(dc);
        break;
      default: break;
    }
  }
  if (wanted(m_tabs.GetRect())) m_tabs.Draw(dc);
  CPen pen(PS_SOLID, 1, CSysStyle::GetInstance()->GetColor(6));
  CPen* old = dc->SelectObject(&pen);
  dc->MoveTo(m_rect.left, m_rect.top);
  dc->LineTo(m_rect.left, m_rect.bottom);
  dc->SelectObject(old);
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
