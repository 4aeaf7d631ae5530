// The analysis object's pages, routing and first requests.
#include "zeb/views/stock/analysis_obj.h"

#include <algorithm>

#include "platform/gbk.h"
#include "platform/menu.h"
#include "platform/window.h"
#include "zeb/messages.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/base/table_keys.h"

namespace {
constexpr UINT kKeyTab = 9;
constexpr UINT kKeyF1 = 0x70;
constexpr UINT kKeyF2 = 0x71;
}  // namespace

CAnalisysObj::CAnalisysObj(CPublic* store)
    : m_store(store ? store : CPublic::GetInstance()),
      m_priceVol(m_store),
      m_deals(m_store),
      m_prices(m_store),
      m_hisTech(m_store) {
  m_priceVol.SetInfoBox(&m_infoBox);
  SetKLineHooks(nullptr, nullptr);
}

void CAnalisysObj::SetKLineHooks(std::function<void()> redraw,
                                 std::function<void(const InfoTitleMap&, int)> infoList) {
  CHisTechObj::SHooks hooks;
  hooks.chipUpdate = [this](int what, const void* data) { OnKLineChip(what, data); };
  hooks.redraw = std::move(redraw);
  hooks.mainCommand = [this](UINT id) {
    if (HWND main = m_store->GetMainWnd()) ::PostMessage(main, WM_COMMAND, id, 0);
  };
  hooks.intervalStat = [this](const SStockInfo* item, const SHistoryUnit* bars, int count,
                              const RECT& rect) { OnKLineInterval(item, bars, count, rect); };
  hooks.cursorInfo = [this](const SHistoryUnit* bar, const std::string& value) {
    OnKLineCursor(bar, value);
  };
  hooks.infoList = std::move(infoList);
  m_hisTech.SetHooks(std::move(hooks));
}

// The panel's chip picture takes the visible bars as an interval, the
// cursor as an index into it and the price rectangle by address; they
// travel as the chart view's chip notices through the main window.
void CAnalisysObj::OnKLineChip(int what, const void* data) {
  HWND main = m_store->GetMainWnd();
  if (!main || !data) return;
  switch (what) {
    case 0: {
      const auto* range = static_cast<const SKLineRange*>(data);
      const SHistoryUnit* bars = range->bars ? *range->bars : nullptr;
      const int first = std::max(0, range->first);
      m_chipRange = SHistoryInterval{};
      if (bars && range->end > first)
        m_chipRange = SHistoryInterval{range->end - first, bars + first};
      ::SendMessage(main, WM_CHIP_UPDATE, 0, reinterpret_cast<LPARAM>(&m_chipRange));
      break;
    }
    case 1: ::SendMessage(main, WM_CHIP_UPDATE, 1, *static_cast<const int*>(data)); break;
    case 3: ::SendMessage(main, WM_CHIP_UPDATE, 3, reinterpret_cast<LPARAM>(data)); break;
    default: break;
  }
}

void CAnalisysObj::OnKLineInterval(const SStockInfo* item, const SHistoryUnit* bars, int count,
                                   const RECT& rect) {
  m_bIntervalShown = false;
  if (!bars || count <= 0) return;
  if (!m_bTablesReady) InitTables();
  m_interval.SetStock(item ? item : m_item);
  const SHistoryInterval interval{count, bars};
  if (!m_interval.UpdateData(&interval, static_cast<int>(sizeof interval))) return;
  m_interval.SetRect(rect.left, rect.top, rect.right, rect.bottom);
  m_bIntervalShown = true;
}

void CAnalisysObj::OnKLineCursor(const SHistoryUnit* bar, const std::string& value) {
  m_bCursorBoxShown = false;
  const SHistoryUnit* shown = m_hisTech.Shown();
  if (!bar || !shown || !m_item) return;
  if (!m_bTablesReady) InitTables();
  // The change is against the bar before; the first bar has none.
  SInfoCursor cursor;
  cursor.bar = bar;
  cursor.reference = bar > shown ? bar[-1].fClose : 0;
  cursor.value = value;
  PlaceCursorBox();
  // The box's one column spans the box: it was made before the box had a
  // place, with no width.
  if (m_cursorBox.GetColumnWidth(0) != m_cursorBox.GetWidth()) m_cursorBox.InitColumns();
  m_cursorBox.UpdateData(&cursor, static_cast<int>(sizeof cursor));
  m_bCursorBoxShown = true;
}

void CAnalisysObj::PlaceCursorBox() {
  const RECT& to = m_hisTech.InfoTableRect();
  if (!EqualRect(to, m_cursorBox.GetRect()))
    m_cursorBox.SetRect(to.left, to.top, to.right, to.bottom);
}

void CAnalisysObj::InitTabs() {
  m_tabs.RemoveAll();
  m_tabs.SetCurSel(-1);
  m_tabs.AddTab(GBK("分时走势"), 1);
  m_tabs.AddTab(GBK("技术分析"), 0);
  m_tabs.AddTab(GBK("行情报价"), 0);
  m_tabs.AddTab(GBK("量价分布"), 0);
  m_tabs.SetCurSel(0);
  InitTables();
}

void CAnalisysObj::OnSchemeChanged() {
  // The deal tables load their price colours with each reply; the rest now.
  for (CBaseTable* table :
       std::initializer_list<CBaseTable*>{&m_deals, &m_prices, &m_interval, &m_cursorBox})
    table->InitColors();
  m_interval.InitColumns();
  m_cursorBox.InitColumns();
  m_hisTech.OnSchemeChanged();
}

void CAnalisysObj::InitTables() {
  m_interval.InitColumns();
  m_cursorBox.SetMode(1);
  m_bTablesReady = true;
}

int CAnalisysObj::RecalcLayout() {
  const RECT& r = m_rect;
  m_tabs.SetRect(r.left, r.bottom - kAnalysisTabHeight, r.right, r.bottom);
  const int bottom = r.bottom - kAnalysisTabHeight;
  m_priceVol.SetRect(r.left, r.top, r.right, bottom);
  m_hisTech.SetRect(r.left, r.top, r.right, bottom);
  PlaceCursorBox();
  m_prices.SetRect(r.left, r.top, r.right, bottom);
  m_deals.SetRect(r.left, r.top, r.right, bottom);
  return 1;
}

BOOL CAnalisysObj::HitTest(int x, int y) { return PtInRect(m_rect, POINT{x, y}); }

int CAnalisysObj::Draw(CDC* dc) {
  switch (m_nPage) {
    case kPageTimeShare: m_priceVol.Draw(dc); break;
    case kPageTechnical:
      m_hisTech.DrawInPlace(dc, false, nullptr);
      if (m_bIntervalShown) m_interval.Draw(dc);
      if (IsCursorBoxDrawn()) m_cursorBox.Draw(dc);
      break;
    case kPageDeals: m_deals.Draw(dc); break;
    case kPageDistribution: m_prices.Draw(dc); break;
    default: break;
  }
  m_tabs.Draw(dc);
  m_bChartBare = IsChartBare();
  m_bCursorReady = m_nPage == kPageTechnical && !m_bIntervalShown;
  m_bBoxDrawn = m_bCursorReady && IsCursorBoxDrawn();
  m_rcBoxDrawn = m_cursorBox.GetRect();
  return 1;
}

bool CAnalisysObj::IsChartBare() const {
  return m_nPage == kPageTechnical && !m_bIntervalShown &&
         !(m_bCursorBoxShown && m_hisTech.IsInfoTableShown());
}

bool CAnalisysObj::ChangedAreas(std::vector<RECT>* areas) const {
  return m_bChartBare && IsChartBare() && m_hisTech.ChangedAreas(areas);
}

bool CAnalisysObj::DrawChanged(CDC* back, std::vector<RECT>* drawn) {
  if (!ChangedAreas(nullptr)) return false;
  return m_hisTech.DrawInPlace(back, true, drawn);
}

std::vector<RECT> CAnalisysObj::CursorBoxAreas() const {
  std::vector<RECT> areas;
  if (m_bBoxDrawn) areas.push_back(m_rcBoxDrawn);
  if (IsCursorBoxDrawn()) areas.push_back(m_cursorBox.GetRect());
  return areas;
}

bool CAnalisysObj::CursorAreas(std::vector<RECT>* areas) {
  if (!m_bCursorReady || m_nPage != kPageTechnical || m_bIntervalShown ||
      !m_hisTech.CursorAreas(areas))
    return false;
  if (areas) {
    const std::vector<RECT> boxes = CursorBoxAreas();
    areas->insert(areas->end(), boxes.begin(), boxes.end());
  }
  return true;
}

bool CAnalisysObj::DrawCursorChanged(CDC* back, std::vector<RECT>* drawn) {
  if (!CursorAreas(nullptr) || !m_hisTech.DrawCursorInPlace(back, CursorBoxAreas(), drawn))
    return false;
  m_bBoxDrawn = IsCursorBoxDrawn();
  if (m_bBoxDrawn) m_cursorBox.Draw(back);
  m_rcBoxDrawn = m_cursorBox.GetRect();
  return true;
}

void CAnalisysObj::SetStock(SStockInfo* item) {
  if (!item) return;
  m_item = item;
  m_priceVol.SetStock(item);
  m_hisTech.SetStock(item);
  m_deals.SetStock(item);
  m_prices.SetStock(item);
  m_interval.SetStock(item);
  m_cursorBox.SetStock(item);
  m_bIntervalShown = m_bCursorBoxShown = false;
  // The chip picture lets go of the bars of the item shown before.
  m_chipRange = SHistoryInterval{};
  if (HWND main = m_store->GetMainWnd())
    ::SendMessage(main, WM_CHIP_UPDATE, 0, reinterpret_cast<LPARAM>(&m_chipRange));
  m_visited.clear();
  SetKind(m_nPage == kPageTechnical ? 1 : 0);
}

int CAnalisysObj::IsVisited(int page) const {
  return std::find(m_visited.begin(), m_visited.end(), page) != m_visited.end() ? 1 : 0;
}

void CAnalisysObj::SetKind(int kind) {
  m_priceVol.SetActive(0);
  m_hisTech.SetActive(0);
  m_nKind = kind;
  switch (kind) {
    case 0:
      m_priceVol.SetActive(1);
      m_nPage = kPageTimeShare;
      if (!IsVisited(kPageTimeShare)) {
        m_priceVol.RequestMinuteTrace();
        Visit(kPageTimeShare);
      }
      break;
    case 1: {
      const int previous = m_nPage;
      m_nPage = kPageTechnical;
      m_hisTech.SetActive(1);
      if (IsVisited(kPageTechnical)) {
        if (m_hisTech.IsDayPeriod()) break;
        m_hisTech.SetDayPeriod();
      } else if (previous != kPageTechnical) {
        m_hisTech.SetDayPeriod();
      }
      m_hisTech.SetStock(m_item);
      m_hisTech.RequestKLine();
      if (!IsVisited(kPageTechnical)) Visit(kPageTechnical);
      break;
    }
    case 2:
      m_nPage = kPageDeals;
      if (!IsVisited(kPageDeals)) {
        m_deals.RequestDeals();
        Visit(kPageDeals);
      }
      m_hisTech.SetDayPeriod();
      break;
    case 3:
      m_nPage = kPageDistribution;
      if (!IsVisited(kPageDistribution)) {
        m_prices.RequestDeals();
        Visit(kPageDistribution);
      }
      m_hisTech.SetDayPeriod();
      break;
    default: break;
  }
  NotifyTechnicalShown(kind);
}

void CAnalisysObj::NotifyTechnicalShown(int kind) {
  if (HWND main = m_store->GetMainWnd()) ::SendMessage(main, WM_CHIP_UPDATE, 2, kind == 1 ? 1 : 0);
}

void CAnalisysObj::SwitchKind(int kind, int apply) {
  if (kind == m_nKind) return;
  if (apply) SetKind(kind);
  m_tabs.SetCurSel(kind);
}

void CAnalisysObj::SetPageCode(int mode) {
  m_nPage = mode & 0xF0;
  if (m_nPage == kPageTimeShare) m_priceVol.SetSubPicType(mode & 0xF);
}

void CAnalisysObj::ShowIndicator(const char* name) {
  if (m_nPage == kPageTechnical) m_hisTech.SetLastPaneTech(name);
}

void CAnalisysObj::SetChipPageShown(int flag) {
  // Kept whatever page shows: the chart gives the chip page the newest
  // bar's changes only while it shows, and what it missed when it shows.
  m_hisTech.SetChipPageShown(flag);
}

int CAnalisysObj::Refresh() {
  m_priceVol.RequestMinuteTrace();
  if (m_nKind == 2) m_deals.RequestDeals();
  if (m_nKind == 3) m_prices.RequestDeals();
  return 1;
}

int CAnalisysObj::OnData(const void* body, int length) {
  return OnPacket(CChartPacket(body, length));
}

int CAnalisysObj::OnPacket(const CChartPacket& packet) {
  if (!packet.HasHead()) return 1;
  switch (packet.Group()) {
    case PKT_PRICE_DISTRIB:
      m_deals.UpdatePacket(packet);
      m_prices.UpdatePacket(packet);
      break;
    case PKT_MINUTE_TRACE:
    case PKT_TRACE_LIST:
      m_priceVol.OnPacket(packet);
      m_hisTech.OnPacket(packet);
      break;
    case PKT_PUSH_TICK:
      m_priceVol.OnPacket(packet);
      m_hisTech.OnPacket(packet);
      m_deals.UpdatePacket(packet);
      m_prices.UpdatePacket(packet);
      break;
    case PKT_INFO_LIST:
    case PKT_INFO_TITLES:
      if (m_nPage == kPageTimeShare) m_priceVol.OnPacket(packet);
      else if (m_nPage == kPageTechnical) m_hisTech.OnPacket(packet);
      break;
    case PKT_HIS_KLINE:
    case PKT_HIS_KLINE_MORE:
    case PKT_EXRIGHTS:
    case PKT_HIS_KLINE_EXT:
    case PKT_KLINE_SPARE_A:
    case PKT_KLINE_SPARE_B: m_hisTech.OnPacket(packet); break;
    default: break;
  }
  return 1;
}

int CAnalisysObj::OnKey(UINT key) {
  if (key == kKeyTab) {
    m_nPage =
        m_nPage >= kPageDistribution || m_nPage < kPageTimeShare ? kPageTimeShare : m_nPage + 0x10;
    const int index = m_nPage / 0x10 - 1;
    m_tabs.SetCurSel(index);
    SwitchKind(index, 1);
    return 1;
  }
  if (key == kKeyF1) {
    if (m_nPage == kPageDeals) return 0;
    SwitchKind(2, 1);
    return 1;
  }
  if (key == kKeyF2) {
    if (m_nPage == kPageDistribution) return 0;
    SwitchKind(3, 1);
    return 1;
  }
  switch (m_nPage) {
    case kPageTimeShare: return m_priceVol.OnKey(key);
    case kPageTechnical: return m_hisTech.OnKey(key);
    case kPageDeals: return m_deals.OnPageKey(key);
    case kPageDistribution: return m_prices.OnPageKey(key);
    default: return 0;
  }
}

int CAnalisysObj::OnCommand(UINT id) {
  if (m_nPage == kPageTimeShare) return m_priceVol.OnCommand(id);
  if (m_nPage == kPageTechnical) return m_hisTech.OnCommand(id);
  return 0;
}

int CAnalisysObj::UpdateCommandUI(CCmdUI* ui) {
  if (!ui) return 0;
  const UINT id = ui->m_nID;
  if (m_nPage == kPageTimeShare) {
    if (id >= 26390 && id <= 26396) {
      ui->Enable(TRUE);
      return 1;
    }
    return m_priceVol.UpdateCommandUI(ui);
  }
  if (m_nPage == kPageTechnical) {
    const bool enabled =
        id == 26387 || id == 26388 || (id >= 26401 && id <= 26403) || (id >= 26405 && id <= 26407);
    if (enabled) {
      ui->Enable(TRUE);
      m_hisTech.UpdateCommandUI(ui);
      return 1;
    }
    return m_hisTech.UpdateCommandUI(ui);
  }
  return 0;
}

int CAnalisysObj::OnLButtonDown(int x, int y) {
  const int tab = m_tabs.HitTest(x, y);
  if (tab >= 0) {
    m_tabs.SetCurSel(tab);
    SetKind(tab);
    return 1;
  }
  switch (m_nPage) {
    case kPageTimeShare: return m_priceVol.OnLButtonDown(x, y);
    case kPageTechnical: return m_hisTech.OnLButtonDown(x, y);
    case kPageDeals: return m_deals.OnScrollButtonDown(x, y);
    case kPageDistribution: return m_prices.OnScrollButtonDown(x, y);
    default: return 0;
  }
}

int CAnalisysObj::OnMouseMove(int x, int y) {
  switch (m_nPage) {
    case kPageTimeShare: return m_priceVol.OnMouseMove(x, y);
    case kPageTechnical: {
      const int taken = m_hisTech.OnMouseMove(x, y);
      PlaceCursorBox();
      return taken;
    }
    case kPageDeals: return m_deals.OnScrollMouseMove(x, y);
    case kPageDistribution: return m_prices.OnScrollMouseMove(x, y);
    default: return 0;
  }
}

int CAnalisysObj::OnLButtonUp(int x, int y) {
  switch (m_nPage) {
    case kPageTimeShare: return m_priceVol.OnLButtonUp(x, y);
    case kPageTechnical: {
      const int taken = m_hisTech.OnLButtonUp(x, y);
      PlaceCursorBox();
      return taken;
    }
    case kPageDeals: return m_deals.OnScrollButtonUp(x, y);
    case kPageDistribution: return m_prices.OnScrollButtonUp(x, y);
    default: return 0;
  }
}

int CAnalisysObj::OnLButtonDblClk(int x, int y) {
  if (m_nPage == kPageTimeShare && m_priceVol.HitTest(x, y))
    return m_priceVol.OnLButtonDblClk(x, y);
  if (m_nPage == kPageTechnical && m_hisTech.HitTest(x, y)) return m_hisTech.OnLButtonDblClk(x, y);
  return 0;
}

int CAnalisysObj::OnRButtonDown(CDrawOwner* owner, int x, int y) {
  switch (m_nPage) {
    case kPageTimeShare: return m_priceVol.OnRButtonDown(owner, x, y);
    case kPageTechnical: return m_hisTech.OnRButtonDown(owner, x, y);
    case kPageDeals: return m_deals.OnRButtonDown(owner, x, y);
    case kPageDistribution: return m_prices.OnRButtonDown(owner, x, y);
    default: return 0;
  }
}

int CAnalisysObj::OnRButtonUp(int x, int y) {
  return m_nPage == kPageTechnical ? m_hisTech.OnRButtonUp(x, y) : 0;
}
