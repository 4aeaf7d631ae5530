// CStockView: the chart view of the market pane (page 512). One item as
// charts: on the left the analysis object with its four pages, on the right
// the 250-pixel information panel. The view draws only its background,
// routes input to its two parts, paints both through one off-screen DC and
// owns two timers: the crosshair follows the mouse (100, every 50 ms) and
// the shown data are asked for again (200).
//
// The page code (SCurItem::mode): bits 4-7 the analysis page (0x10
// time-share, 0x20 technical analysis, 0x30 deal details, 0x40
// distribution); bits 0-3 the time-share chart's extra pane (0-4) or a
// panel page to show (5-15).
//
// The view keeps its picture in a back buffer between paints. A packet
// that changed only the K-line chart's newest bar invalidates just the
// areas the chart reports changed, and the panel's rows it changed; a chip
// notice of the K-line chart, just the panel while it shows the chips; a
// mouse move of the chart's cursor, just the areas of the crosshair, the
// titles and the cursor box; that paint redraws them in the back buffer
// and copies only them to the window. Every other repaint draws the whole
// picture anew.
//
// A double click on a K-line news mark opens the information window
// (created once, then shown again); every 0x1100 reply's text goes to it.
//
// A packet is decoded here once: the head is read and the records of its
// group are read on first demand (chart_view_packet.h), and the analysis
// object and the panel hand that one decode to their charts and tables.
#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "zeb/views/report/base_view.h"
#include "zeb/views/stock/analysis_obj.h"
#include "zeb/views/stock/stat_info_obj.h"

constexpr UINT kCrosshairTimer = 100;
constexpr UINT kCrosshairPeriodMs = 50;
constexpr UINT kChartRefreshTimer = 200;
// Commands the view answers.
constexpr UINT kCmdTimeShare = 26369;
constexpr UINT kCmdDealDetails = 26370;
constexpr UINT kCmdDistribution = 26371;
constexpr UINT kCmdFirstPeriod = 26390;
constexpr UINT kCmdLastPeriod = 26396;
constexpr UINT kCmdMovingChips = 26405;
constexpr UINT kCmdItemInfo = 26626;
constexpr UINT kCmdTogglePanel = 26883;
constexpr UINT kCmdTimeShareTechnical = 26905;
constexpr UINT kCmdIgnored = 36867;

class CMineInfoDlg;

class CStockView : public CBaseView {
 public:
  explicit CStockView(CPublic* store = nullptr);
  ~CStockView() override;

  int GetViewPage() const override { return kPageChart; }
  void OnInitialUpdate() override;
  void OnDraw(CDC* dc) override;
  void RecalcLayout() override;

  int SetCurItem(const SCurItem* item) override;
  int IsCurItem(const SCurItem* item) override;
  int OnData(const void* body, int length) override;
  int OnKey(UINT key, UINT data, UINT flags) override;
  using CBaseView::OnCommand;
  int OnCommand(int id) override;
  int UpdateCommandUI(CCmdUI* ui) override;

  // ---- What the router calls ----
  int GetPageCode() const override;
  void SetPanelPage(int tab) override;
  void RefreshBigOrders() override;
  void OnSchemeChanged() override;
  void ShowIndicator(const char* name) override;
  void SetAnalysisKind(int kind) override;

  // The mode field brought up to date with the analysis page and the panel
  // page the user looks at now.
  const SCurItem* GetCurItem() override;
  void SetStock(const SStockInfo* item);
  void SwitchAnalysis(int kind, int apply);
  int TogglePanel();
  int IsPanelShown() const { return m_nPanelWidth != 0 ? 1 : 0; }

  // Asks for a paint of everything, drawn anew.
  void Repaint() override;
  // The next paint redraws only the areas a packet changed.
  bool IsPartialRepaintPending() const { return !m_bFullPending && !m_pending.empty(); }
  CAnalisysObj& Analysis() { return m_analysis; }
  CStatInfoObj& Panel() { return m_panel; }
  const SStockInfo& Stock() const { return m_item; }
  // Null until a news mark was opened.
  CMineInfoDlg* InfoWindow() { return m_infoWindow.get(); }

  // ---- Handlers ----
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnTimer(UINT_PTR id) override;
  void OnDestroy() override;
  void OnShowWindow(BOOL show, UINT status) override;
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnLButtonUp(UINT flags, CPoint point) override;
  void OnLButtonDblClk(UINT flags, CPoint point) override;
  void OnRButtonDown(UINT flags, CPoint point) override;
  void OnRButtonUp(UINT flags, CPoint point) override;
  void OnMouseMove(UINT flags, CPoint point) override;

 private:
  void OnCrosshairTimer();
  // After a packet: only the changed areas when the chart can tell them.
  void RepaintChanged();
  // The panel alone, over the kept picture: the areas it changed, or
  // (whole, or when it cannot tell them) all of it.
  void RepaintPanel(bool whole);
  // After the mouse moved the chart's cursor: the crosshair's areas when
  // the chart can draw them over its kept picture.
  void RepaintCursor();
  void AskForArea(const RECT& area);
  // Asks for the areas the analysis object names; for everything when it
  // names none (false then).
  bool AskForAreas(const std::function<bool(std::vector<RECT>*)>& areasOf);
  // Copies an area of the back buffer to the window being painted.
  void CopyToWindow(CDC* dc, const RECT& area);
  // Makes the back buffer fit the layout; false when it is empty.
  bool FitBackBuffer();
  void ShowInfoList(const InfoTitleMap& titles, int date);
  // The information window's part of a packet.
  void PassToInfoWindow(const CChartPacket& packet);

  SBigOrderHooks m_hooks;
  CStatInfoObj m_panel;
  CAnalisysObj m_analysis;
  int m_nPanelWidth = kPanelWidth;
  SStockInfo m_item;
  UINT_PTR m_nCrosshairTimer = 0;
  POINT m_ptLastCursor{};
  UINT_PTR m_nRefreshTimer = 0;
  std::unique_ptr<CMineInfoDlg> m_infoWindow;
  CDC m_back;
  CBitmap m_backBitmap;
  RECT m_rcBack{};
  bool m_bBackHolds = false;       // the back buffer holds the last full paint
  bool m_bFullPending = true;      // a repaint of everything is asked for
  bool m_bChartPending = false;    // the chart's changed areas are asked for
  bool m_bPanelPending = false;    // the panel is asked for
  bool m_bCursorPending = false;   // the chart's cursor areas are asked for
  std::vector<RECT> m_pending;     // areas asked for since the last paint
  std::vector<RECT> m_panelAreas;  // of the panel asked for; none: all of it
};
