// The chart view: page codes, input routing, timers and painting.
#include "zeb/views/stock/stock_view.h"

#include <QWidget>
#include <algorithm>

#include "platform/gbk.h"
#include "platform/input.h"
#include "platform/window.h"
#include "zeb/core/dialogs/info_text.h"
#include "zeb/shell/dialogs/mine_info_dlg.h"
#include "zeb/messages.h"
#include "zeb/core/router/cmd_dispatcher.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/packets/kline_packets.h"
#include "zeb/tables/base/table_keys.h"

namespace {
constexpr UINT kKeyF2 = 0x71;
constexpr UINT kKeyF5 = 0x74;
}  // namespace

CStockView::CStockView(CPublic* store)
    : CBaseView(store), m_panel(Store(), &m_hooks), m_analysis(Store()) {
  m_analysis.SetOwner(this);
  m_hooks.threshold = [] { return CCmdDispatcher::GetInstance()->GetSysParam(GBK("主力大单")); };
  // The big-order title row opens the settings on the page of its threshold.
  m_hooks.openSettings = [] { CCmdDispatcher::GetInstance()->OpenSystemSettings(1); };
  m_analysis.SetKLineHooks([this] { Repaint(); }, [this](const InfoTitleMap& titles,
                                                         int date) { ShowInfoList(titles, date); });
}

CStockView::~CStockView() = default;

void CStockView::OnInitialUpdate() {
  CBaseView::OnInitialUpdate();
  // Every paint covers what it was asked for from the back buffer, so the
  // frame need not fill the background under the view first.
  if (QWidget* widget = GetWidget()) widget->setAttribute(Qt::WA_OpaquePaintEvent);
  m_nCrosshairTimer = SetTimer(kCrosshairTimer, kCrosshairPeriodMs);
  m_analysis.InitTabs();
  m_panel.InitParts();
  m_nRefreshTimer = SetTimer(kChartRefreshTimer, UINT(Store()->GetQuoteRefreshPeriod()));
}

void CStockView::OnDestroy() {
  CBaseView::OnDestroy();
  if (m_nCrosshairTimer) KillTimer(m_nCrosshairTimer);
  if (m_nRefreshTimer) KillTimer(m_nRefreshTimer);
  m_nCrosshairTimer = m_nRefreshTimer = 0;
  if (m_infoWindow && m_infoWindow->GetSafeHwnd()) m_infoWindow->DestroyWindow();
}

// Put out of the pane (the list shown in its place), the view lets go of
// its deal and tick rows: the item it shows next brings its own. Hidden with
// a minimised main window, it keeps them.
void CStockView::OnShowWindow(BOOL show, UINT status) {
  CBaseView::OnShowWindow(show, status);
  if (show || (GetStyle() & WS_VISIBLE)) return;
  m_analysis.Deals().ReleaseRows();
  m_panel.Ticks().UpdateData(nullptr, 0);
}

void CStockView::ShowInfoList(const InfoTitleMap& titles, int date) {
  if (!m_infoWindow) {
    m_infoWindow = std::make_unique<CMineInfoDlg>(kInfoPageKLine, CWnd::FromHandle(MainWnd()));
    m_infoWindow->Create(CWnd::FromHandle(MainWnd()));
  }
  std::map<int, std::string> byDate;
  for (const auto& [key, title] : titles) byDate[static_cast<int>(key)] = title;
  m_infoWindow->ShowItems(&m_item, byDate, date);
}

// ---- Layout and painting ----

void CStockView::RecalcLayout() {
  const RECT& r = m_rcLayout;
  m_analysis.SetRect(r.left, r.top, r.right - m_nPanelWidth, r.bottom);
  if (m_nPanelWidth != 0) m_panel.SetRect(r.right - m_nPanelWidth, r.top, r.right, r.bottom);
  else m_panel.SetRect(0, 0, 0, 0);
}

bool CStockView::FitBackBuffer() {
  const RECT& r = m_rcLayout;
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return false;
  if (EqualRect(m_rcBack, r)) return true;
  m_bBackHolds = false;
  // A new DC lets go of the old picture; a bitmap is created only once, so
  // the old one is released before the picture of the new size is made.
  m_back.CreateCompatibleDC(nullptr);
  m_backBitmap.DeleteObject();
  if (!m_backBitmap.CreateBitmap(width, height) || !m_back.SelectObject(&m_backBitmap)) {
    m_rcBack = RECT{};
    return false;
  }
  m_back.SetWindowOrg(r.left, r.top);
  m_rcBack = r;
  return true;
}

void CStockView::Repaint() {
  m_bFullPending = true;
  m_bChartPending = m_bPanelPending = m_bCursorPending = false;
  m_pending.clear();
  m_panelAreas.clear();
  CBaseView::Repaint();
}

void CStockView::AskForArea(const RECT& area) {
  InvalidateRect(&area, FALSE);
  m_pending.push_back(area);
}

bool CStockView::AskForAreas(const std::function<bool(std::vector<RECT>*)>& areasOf) {
  std::vector<RECT> areas;
  if (m_bFullPending || !m_bBackHolds || !areasOf(&areas)) {
    Repaint();
    return false;
  }
  for (const RECT& r : areas) AskForArea(r);
  return true;
}

void CStockView::RepaintCursor() {
  if (AskForAreas([this](std::vector<RECT>* areas) { return m_analysis.CursorAreas(areas); }))
    m_bCursorPending = true;
}

void CStockView::RepaintPanel(bool whole) {
  if (m_nPanelWidth == 0 || m_bFullPending) return;
  const bool wholePending = m_bPanelPending && m_panelAreas.empty();
  std::vector<RECT> areas;
  if (!whole && !wholePending && m_bBackHolds && m_panel.ChangedAreas(&areas)) {
    // Found against the panel's last paint: they hold those asked before.
    for (const RECT& r : areas) AskForArea(r);
    if (!areas.empty()) m_bPanelPending = true;
    m_panelAreas = std::move(areas);
    return;
  }
  m_bPanelPending = true;
  m_panelAreas.clear();
  AskForArea(m_panel.GetRect());
}

void CStockView::RepaintChanged() {
  if (!AskForAreas([this](std::vector<RECT>* areas) { return m_analysis.ChangedAreas(areas); }))
    return;
  m_bChartPending = true;
  // The panel shows the packet's figures too.
  RepaintPanel(false);
}

void CStockView::CopyToWindow(CDC* dc, const RECT& r) {
  // In bands of a few dozen rows: the raster engine hands a copy of more
  // rows to its thread pool, and for the narrow areas of a tick or a
  // crosshair the wake-ups cost more than the copy.
  constexpr int kBand = 64;
  for (int top = r.top; top < r.bottom; top += kBand)
    dc->BitBlt(r.left, top, r.right - r.left, std::min<int>(kBand, r.bottom - top), &m_back, r.left,
               top, SRCCOPY);
}

void CStockView::OnDraw(CDC* dc) {
  CBaseView::OnDraw(dc);
  if (!FitBackBuffer()) return;
  const RECT& layout = m_rcLayout;
  const bool partial = !m_bFullPending && m_bBackHolds && !m_pending.empty();
  std::vector<RECT> drawn;
  std::vector<RECT> cursor;
  if (partial && (!m_bChartPending || m_analysis.DrawChanged(&m_back, &drawn)) &&
      (!m_bCursorPending || m_analysis.DrawCursorChanged(&m_back, &cursor))) {
    drawn.insert(drawn.end(), cursor.begin(), cursor.end());
    if (m_bPanelPending && m_nPanelWidth != 0 && !m_panelAreas.empty()) {
      m_panel.DrawAreas(&m_back, m_panelAreas, dc->GetBkColor());
      drawn.insert(drawn.end(), m_panelAreas.begin(), m_panelAreas.end());
    } else if (m_bPanelPending && m_nPanelWidth != 0) {
      m_back.FillSolidRect(&m_panel.GetRect(), dc->GetBkColor());
      m_panel.Draw(&m_back);
      drawn.push_back(m_panel.GetRect());
    }
    // The rest of the back buffer is current too: a paint reaching beyond
    // the areas asked for (the window uncovered meanwhile) gets all of it.
    RECT asked = m_pending[0];
    for (const RECT& r : m_pending) UnionRect(asked, asked, r);
    const auto* paint = dynamic_cast<const CPaintDC*>(dc);
    const RECT* p = paint ? &paint->m_ps.rcPaint : nullptr;
    if (!p || p->left < asked.left || p->top < asked.top || p->right > asked.right ||
        p->bottom > asked.bottom) {
      drawn.assign(1, layout);
    } else {
      // Areas asked for by moves the paint caught up with hold the current
      // picture too.
      for (const RECT& r : m_pending)
        if (std::none_of(drawn.begin(), drawn.end(),
                         [&](const RECT& d) { return EqualRect(d, r); }))
          drawn.push_back(r);
    }
    for (const RECT& r : drawn) CopyToWindow(dc, r);
    m_bChartPending = m_bPanelPending = m_bCursorPending = false;
    m_pending.clear();
    m_panelAreas.clear();
    return;
  }
  m_back.FillSolidRect(&layout, dc->GetBkColor());
  m_panel.Draw(&m_back);
  m_analysis.Draw(&m_back);
  m_bBackHolds = true;
  dc->BitBlt(layout.left, layout.top, layout.right - layout.left, layout.bottom - layout.top,
             &m_back, layout.left, layout.top, SRCCOPY);
  // A paint of a few areas that had to draw everything: the rest follows
  // (drawn anew once more; the back buffer is current either way).
  if (partial) CBaseView::Repaint();
  m_bFullPending = m_bChartPending = m_bPanelPending = m_bCursorPending = false;
  m_pending.clear();
  m_panelAreas.clear();
}

// ---- Items and page codes ----

int CStockView::SetCurItem(const SCurItem* record) {
  if (!record) return 0;
  CRoutedView::SetCurItem(record);
  SCodeInfo key = record->code;
  SStockInfo* found = Store()->FindStock(&key);
  if (!found) return 0;
  const int code = record->mode;
  if ((code & 0xF) < 5) m_analysis.SetPageCode(code);
  else m_panel.SetPageDirect(code);
  SwitchAnalysis(((code & 0xF0) >> 4) - 1, 0);
  SetStock(found);
  return 1;
}

int CStockView::IsCurItem(const SCurItem* record) {
  if (!record) return 0;
  SCodeInfo key = record->code;
  if (Store()->RestoreRemappedCode(key)) return 0;
  GetCurItem();  // compared with the page shown now
  return CRoutedView::IsCurItem(record);
}

void CStockView::SetStock(const SStockInfo* item) {
  if (!item) return;
  m_item = *item;
  SCodeInfo key = m_item.GetKey();
  if (Store()->RemapCode(key)) {
    m_item.code = key.code;
    m_item.market = key.market;
  }
  m_curItem.code = m_item.GetKey();
  m_panel.SetStock(&m_item);
  m_analysis.SetStock(&m_item);
  Repaint();
}

int CStockView::GetPageCode() const {
  const int page = m_analysis.GetPage();
  if (page == kPageTechnical) return kPageTechnical;
  return kPageTimeShare + (m_analysis.GetSubPicType() & 0xF);
}

const SCurItem* CStockView::GetCurItem() {
  m_curItem.mode = m_analysis.GetPage() + m_panel.GetPage();
  return &m_curItem;
}

void CStockView::SwitchAnalysis(int kind, int apply) {
  SetPanelPage((kind + 1) * 16 == kPageTechnical ? 1 : 0);
  if (kind < 0) return;
  m_analysis.SwitchKind(kind, apply);
  if (!apply) m_curItem.mode = GetPageCode();
}

void CStockView::SetPanelPage(int tab) {
  if (tab < 0) return;
  if (tab != m_panel.GetCurTab()) m_panel.SelectTab(tab);
  Repaint();
}

void CStockView::RefreshBigOrders() { m_panel.RefreshBigOrders(); }

void CStockView::OnSchemeChanged() {
  m_analysis.OnSchemeChanged();
  m_panel.OnSchemeChanged();
  CBaseView::OnSchemeChanged();
}

void CStockView::ShowIndicator(const char* name) {
  if (m_analysis.GetPage() != kPageTechnical) SwitchAnalysis(1, 1);
  m_analysis.ShowIndicator(name);
  Repaint();
}

void CStockView::SetAnalysisKind(int kind) {
  m_analysis.SwitchKind(kind, 1);
  Repaint();
}

int CStockView::TogglePanel() {
  m_nPanelWidth = m_nPanelWidth == 0 ? kPanelWidth : 0;
  RecalcLayout();
  m_panel.RefillTables();
  m_analysis.RebuildDealColumns();
  Repaint();
  return 1;
}

// ---- Packets, keys, commands ----

int CStockView::OnData(const void* body, int length) {
  // One decode per body, of its own: a receiver's request answered at
  // once brings its packet here while this one is still being handed out.
  const CChartPacket packet(body, length);
  PassToInfoWindow(packet);
  m_analysis.OnPacket(packet);
  m_panel.OnPacket(packet);
  RepaintChanged();
  return 0;
}

void CStockView::PassToInfoWindow(const CChartPacket& packet) {
  if (!m_infoWindow) return;
  if (const std::string* text = packet.InfoText()) m_infoWindow->ShowText(*text);
  // New titles: the list shown is of the old ones.
  if (packet.Group() == PKT_INFO_TITLES && m_infoWindow->IsWindowVisible())
    m_infoWindow->ShowWindow(SW_HIDE);
}

int CStockView::OnKey(UINT key, UINT data, UINT flags) {
  using namespace table_keys;
  const int page = m_analysis.GetPage();
  if (page == kPageTimeShare || page == kPageTechnical) {
    int step = 0;
    if (key == kPrior) step = -int(data);
    if (key == kNext) step = int(data);
    if (step != 0)
      if (HWND main = MainWnd()) ::SendMessage(main, WM_REPORT_STEP, WPARAM(&step), 0);
  }
  if (key == kReturn || key == kKeyF5) {
    SwitchAnalysis(page == kPageTimeShare ? 1 : 0, 1);
    Repaint();
    return 1;
  }
  if (key == kKeyF2) {
    if (m_item.market == 0) return 0;
    const SCodeInfo itemKey = m_item.GetKey();
    if (CPublic::IsIndexMarket(&itemKey)) return 1;
  }
  const int analysis = m_analysis.OnKey(key);
  // Up and Down go to the panel only when the chart did not take them
  // (they zoom the K-line; on the time-share they scroll the big orders).
  const bool chartArrow = analysis && (key == kUp || key == kDown);
  const int panel = chartArrow ? 0 : m_panel.OnKey(key);
  if (analysis || panel) Repaint();
  return analysis | panel;
}

int CStockView::OnCommand(int id) {
  const UINT command = UINT(id);
  if (command >= kCmdFirstPeriod && command <= kCmdLastPeriod) {
    SwitchAnalysis(1, 1);
    m_analysis.OnCommand(command);
    Repaint();
    return 1;
  }
  if (command == kCmdMovingChips) {
    // The chip page and the board page take turns.
    m_panel.SelectTab(m_panel.GetPage() == kPanelChips ? 0 : 3);
    Repaint();
    return 1;
  }
  if (command == kCmdTogglePanel) return TogglePanel();
  // What a chart command changed is drawn anew (the chip notices that
  // follow repaint the panel alone).
  const int taken = m_analysis.OnCommand(command);
  if (taken) Repaint();
  return taken;
}

int CStockView::UpdateCommandUI(CCmdUI* ui) {
  if (!ui) return 0;
  const UINT id = ui->m_nID;
  const SCodeInfo key = m_item.GetKey();
  switch (id) {
    case kCmdTimeShare: ui->Enable(m_analysis.GetPage() != kPageTimeShare); return 1;
    case kCmdDealDetails:
    case kCmdTimeShareTechnical: ui->Enable(TRUE); return 1;
    case kCmdDistribution:
    case kCmdItemInfo:
      if (m_item.code != 0) ui->Enable(!CPublic::IsIndexMarket(&key));
      return 1;
    case kCmdMovingChips: {
      const bool technical = m_analysis.GetPage() == kPageTechnical;
      ui->Enable(technical);
      ui->SetCheck(technical && m_panel.GetPage() == kPanelChips ? 1 : 0);
      return 1;
    }
    case kCmdTogglePanel: ui->SetCheck(IsPanelShown() ? 0 : 1); return 1;
    default: return m_analysis.UpdateCommandUI(ui);
  }
}

// ---- Messages, timers, mouse ----

LRESULT CStockView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHIP_UPDATE) {
    // The chip picture is the panel's: the chart that sent the notice
    // repaints itself.
    m_panel.OnChipUpdate(int(wParam), lParam);
    if (m_panel.GetPage() == kPanelChips) RepaintPanel(true);
    return 1;
  }
  if (message == WM_STAT_PAGE) {
    m_analysis.SetChipPageShown(int(lParam));
    return 1;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == kCmdIgnored) return 0;
  return CBaseView::WindowProc(message, wParam, lParam);
}

void CStockView::OnTimer(UINT_PTR id) {
  CBaseView::OnTimer(id);
  if (id == m_nCrosshairTimer && m_nCrosshairTimer != 0) {
    OnCrosshairTimer();
  } else if (id == m_nRefreshTimer && m_nRefreshTimer != 0) {
    if (GetCurItem()->page == kPageChart) m_analysis.Refresh();
  }
}

void CStockView::OnCrosshairTimer() {
  // A hidden view has no crosshair to move.
  if (!IsWindowVisible()) return;
  // Only while the user works in the main window (this view keeps the
  // focus there once it is shown).
  CWnd* focus = CWnd::GetFocus();
  CWnd* top = focus ? focus->GetTopLevelParent() : nullptr;
  if (!top || top->GetSafeHwnd() != MainWnd() || m_analysis.GetPage() >= kPageDeals) return;
  POINT at{};
  if (!::GetCursorPos(&at) || (at.x == m_ptLastCursor.x && at.y == m_ptLastCursor.y)) return;
  m_ptLastCursor = at;
  ScreenToClient(&at);
  m_analysis.OnMouseMove(at.x, at.y);
  RepaintCursor();
}

void CStockView::OnLButtonDown(UINT flags, CPoint point) {
  if (m_panel.OnLButtonDown(point.x, point.y)) Repaint();
  if (m_analysis.OnLButtonDown(point.x, point.y)) Repaint();
}

void CStockView::OnLButtonDblClk(UINT flags, CPoint point) {
  if (m_analysis.HitTest(point.x, point.y)) m_analysis.OnLButtonDblClk(point.x, point.y);
  else if (m_panel.HitTest(point.x, point.y)) m_panel.OnLButtonDblClk(point.x, point.y);
}

void CStockView::OnLButtonUp(UINT flags, CPoint point) {
  if (m_analysis.OnLButtonUp(point.x, point.y)) Repaint();
}

void CStockView::OnRButtonDown(UINT flags, CPoint point) {
  m_analysis.OnRButtonDown(this, point.x, point.y);
}

void CStockView::OnRButtonUp(UINT flags, CPoint point) { m_analysis.OnRButtonUp(point.x, point.y); }

void CStockView::OnMouseMove(UINT flags, CPoint point) {
  if (m_analysis.OnMouseMove(point.x, point.y)) RepaintCursor();
  CBaseView::OnMouseMove(flags, point);
}
