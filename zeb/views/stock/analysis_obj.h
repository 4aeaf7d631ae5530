// CAnalisysObj: the left part of the chart view. Four pages shown one at a
// time (the time-share chart, the K-line chart, the deal details and the
// price-volume distribution) with a tab strip along the bottom. It routes
// packets, keys, commands and mouse input to the page that needs them,
// sends a page's first request once per item (the visited list), and tells
// the main window whether the technical-analysis page is shown.
//
// On the technical-analysis page it also hosts what the K-line chart asks
// its view for: the interval statistics and the cursor box drawn over the
// chart, and the chip-distribution notices sent to the main window (which
// passes them on to the panel).
//
// Packets come decoded once by the view (chart_view_packet.h) and go on by
// their group; the lent buffer is never written.
#pragma once
#include <functional>
#include <vector>

#include "zeb/controls/type_ctl_pic.h"
#include "zeb/charts/kline/his_tech_obj.h"
#include "zeb/charts/timeshare/price_vol_obj.h"
#include "zeb/tables/chartinfo/chart_info_tables.h"
#include "zeb/tables/base/draw_obj.h"
#include "zeb/tables/deals/deal_table.h"
#include "zeb/tables/deals/price_table.h"
#include "zeb/tables/packets/chart_view_packet.h"
#include "zeb/views/stock/timeshare_info_box.h"

class CPublic;

// Pages of the analysis object (SCurItem::mode bits 4-7).
constexpr int kPageTimeShare = 0x10;
constexpr int kPageTechnical = 0x20;
constexpr int kPageDeals = 0x30;
constexpr int kPageDistribution = 0x40;
constexpr int kAnalysisTabHeight = 16;

class CAnalisysObj : public CBaseDrawObj {
 public:
  explicit CAnalisysObj(CPublic* store = nullptr);

  int RecalcLayout() override;
  // Decodes the body, then OnPacket.
  int OnData(const void* body, int length) override;
  // Hands the packet to the pages that take its group; 1.
  int OnPacket(const CChartPacket& packet);
  BOOL HitTest(int x, int y) override;
  // Draws into the view's back buffer (kept between paints, so the K-line
  // chart keeps no picture of its own).
  int Draw(CDC* dc) override;
  // The areas of the back buffer a paint would change now, when only the
  // K-line chart's ticks changed it since the last Draw; false otherwise.
  bool ChangedAreas(std::vector<RECT>* areas) const;
  // Redraws those areas in the back buffer that holds the last Draw and
  // gives the areas drawn; false (nothing drawn) when a full Draw is needed.
  bool DrawChanged(CDC* back, std::vector<RECT>* drawn);
  // After mouse moves that moved only the K-line chart's cursor: the areas
  // of the back buffer the crosshair, the titles and the cursor box take
  // now and took at the last Draw; false when a full Draw is needed.
  bool CursorAreas(std::vector<RECT>* areas);
  // Redraws those areas in the back buffer that holds the last Draw (the
  // crosshair over the chart's kept picture, the cursor box over both)
  // and gives the areas drawn; false (nothing drawn) otherwise.
  bool DrawCursorChanged(CDC* back, std::vector<RECT>* drawn);
  int OnKey(UINT key) override;
  int OnCommand(UINT id) override;
  int UpdateCommandUI(CCmdUI* ui) override;
  int OnLButtonDown(int x, int y);
  int OnMouseMove(int x, int y);
  int OnLButtonUp(int x, int y);
  int OnLButtonDblClk(int x, int y);
  int OnRButtonDown(CDrawOwner* owner, int x, int y);
  int OnRButtonUp(int x, int y);

  void InitTabs();
  // The colour scheme changed: the tables take its colours.
  void OnSchemeChanged();
  // The window the time-share chart repaints after its commands and that
  // the K-line chart's drawing tools grab the mouse of.
  void SetOwner(CDrawOwner* owner) {
    m_priceVol.SetOwner(owner);
    m_hisTech.SetOwner(owner);
  }
  void SetStock(SStockInfo* item);
  void SetKind(int kind);
  void SwitchKind(int kind, int apply);
  void SetPageCode(int mode);
  int GetPage() const { return m_nPage; }
  int GetKind() const { return m_nKind; }
  int GetSubPicType() const { return m_priceVol.GetSubPicType(); }
  void ShowIndicator(const char* name);
  void SetChipPageShown(int flag);
  void RebuildDealColumns() { m_deals.RebuildColumns(); }
  // What only the window can do for the K-line chart: repaint, and show
  // the information list of a date (titles by date, the date clicked).
  void SetKLineHooks(std::function<void()> redraw,
                     std::function<void(const InfoTitleMap&, int)> infoList);
  int Refresh();
  int IsVisited(int page) const;

  CPriceVolObj& PriceVol() { return m_priceVol; }
  const CTimeShareInfoTable& InfoBox() const { return m_infoBox; }
  CHisTechObj& HisTech() { return m_hisTech; }
  CDealTable& Deals() { return m_deals; }
  CPriceTable& Prices() { return m_prices; }
  CTypeCtlPic& Tabs() { return m_tabs; }
  CDistractStatTable& IntervalTable() { return m_interval; }
  bool IsIntervalShown() const { return m_bIntervalShown; }
  CInfoTable& CursorTable() { return m_cursorBox; }
  bool IsCursorBoxShown() const { return m_bCursorBoxShown; }

 private:
  void Visit(int page) { m_visited.push_back(page); }
  void NotifyTechnicalShown(int kind);
  void InitTables();
  void OnKLineChip(int what, const void* data);
  void OnKLineInterval(const SStockInfo* item, const SHistoryUnit* bars, int count,
                       const RECT& rect);
  void OnKLineCursor(const SHistoryUnit* bar, const std::string& value);
  // The cursor box stands where the chart keeps it (the user may drag it).
  void PlaceCursorBox();
  // The technical page shows the K-line chart with nothing drawn over it.
  bool IsChartBare() const;
  bool IsCursorBoxDrawn() const { return m_bCursorBoxShown && m_hisTech.IsInfoTableShown(); }
  // Where the cursor box was and is (the areas it takes from the chart).
  std::vector<RECT> CursorBoxAreas() const;

  CPublic* m_store;
  SStockInfo* m_item = nullptr;
  int m_nPage = kPageTimeShare;
  std::vector<int> m_visited;
  CTimeShareInfoTable m_infoBox;  // before the chart that points at it
  CPriceVolObj m_priceVol;
  CDealTable m_deals;
  CPriceTable m_prices;
  CHisTechObj m_hisTech;
  CTypeCtlPic m_tabs;
  CDistractStatTable m_interval;
  bool m_bIntervalShown = false;
  CInfoTable m_cursorBox;
  bool m_bCursorBoxShown = false;
  bool m_bTablesReady = false;
  // The last Draw showed the K-line chart with nothing drawn over it.
  bool m_bChartBare = false;
  // The last Draw showed the K-line chart with no interval table, and the
  // cursor box there, if it drew it.
  bool m_bCursorReady = false;
  bool m_bBoxDrawn = false;
  RECT m_rcBoxDrawn{};
  // The visible bars lent to the chip distribution; kept here because the
  // notice carries only its address.
  SHistoryInterval m_chipRange;
  int m_nKind = -1;  // no page shown before the first item
};
