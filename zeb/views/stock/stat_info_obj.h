// CStatInfoObj: the right-hand panel of the chart view, 250 pixels wide.
// The item's title on top and one of six pages below it (board and ticks,
// board and valuation, the item's small time-share chart, its market
// index's small chart, the chip distribution, the big orders), with a
// small tab bar along the bottom. It owns these parts, hands each packet
// to the parts that use it and sends what a page needs when it is chosen.
//
// An item the store does not know, or a market without an index item,
// leaves the parts that need it alone: no request, no drawing.
//
// The panel remembers what its last Draw showed, row by row for the quote
// board, so a packet that moved a few figures has only their rows (and
// the tick list when it grew) drawn again.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "zeb/controls/type_ctl_pic.h"
#include "zeb/charts/chips/chip_distrib_pic.h"
#include "zeb/charts/timeshare/price_vol_obj.h"
#include "zeb/tables/base/draw_obj.h"
#include "zeb/tables/bigorder/large_vol_table.h"
#include "zeb/tables/packets/chart_view_packet.h"
#include "zeb/tables/panel/stat_table.h"
#include "zeb/tables/panel/title_rows.h"
#include "zeb/tables/panel/trace_table.h"

class CPublic;

constexpr int kPanelWidth = 250;
constexpr int kPanelTabHeight = 16;
constexpr int kPanelItemChartStyle = 198;
constexpr int kPanelIndexChartStyle = 71;
// Pages of the panel.
constexpr int kPanelTicks = 0;
constexpr int kPanelValues = 1;
constexpr int kPanelItemChart = 2;
constexpr int kPanelIndexChart = 3;
constexpr int kPanelChips = 4;
constexpr int kPanelBigOrders = 5;

// The panel's tab bar: "笔" and "势" drawn; tab numbers up to 5 stored.
class CStatTypeCtlPic : public CTypeCtlPic {
 public:
  int InitTabs() override;
  // The tab under the point becomes current (1); none, or 5: 0.
  int OnClick(int x, int y) override;
};

class CStatInfoObj : public CBaseDrawObj {
 public:
  CStatInfoObj(CPublic* store = nullptr, const SBigOrderHooks* hooks = nullptr);
  ~CStatInfoObj() override;

  int RecalcLayout() override;
  // Decodes the body, then OnPacket.
  int OnData(const void* body, int length) override;
  // Hands the packet to the parts that take its group (on the chip page
  // only the ex-rights); 1.
  int OnPacket(const CChartPacket& packet);
  BOOL HitTest(int x, int y) override;
  int Draw(CDC* dc) override;
  // The areas that show something else than the last Draw did: the
  // board's rows whose cells changed, the title, the lower page when what
  // it shows moved; false when the whole panel must be drawn again.
  bool ChangedAreas(std::vector<RECT>* areas) const;
  // Draws those areas again over the last Draw, each filled with the
  // background first, as a whole Draw gives them.
  void DrawAreas(CDC* dc, const std::vector<RECT>& areas, COLORREF background);
  int OnKey(UINT key) override;
  int OnLButtonDown(int x, int y);
  int OnLButtonDblClk(int x, int y);

  void InitParts();
  void SetStock(SStockInfo* item);
  void SelectTab(int tab);
  void SetPage(int tab);
  void SetPageDirect(int mode);
  // Shows a page as it is, without its requests: the valuation row, which
  // no tab selects.
  void ShowPage(int page) { m_nPage = page; }
  int GetPage() const { return m_nPage; }
  int GetCurTab() { return m_tabs.GetCurSel(); }
  void RefillTables();
  void RefreshBigOrders();
  // The colour scheme changed: the tables take its colours and refill.
  void OnSchemeChanged();
  void OnChipUpdate(int kind, LPARAM value);

  CStatTable& Board() { return m_board; }
  CTraceTable& Ticks() { return m_ticks; }
  CValueTable& Values() { return m_values; }
  CTitleTable& Title() { return m_title; }
  CLargeVolTable& BigOrders() { return m_bigOrders; }
  CPriceVolObj& ItemChart() { return m_itemChart; }
  CPriceVolObj& IndexChart() { return m_indexChart; }
  CChipDistribPic& Chips() { return m_chips; }
  CStatTypeCtlPic& Tabs() { return m_tabs; }
  const SStockInfo* IndexStock() const { return m_indexItem; }

 private:
  void LayoutTables();
  // The parts that meet the areas (all of them without areas).
  void DrawParts(CDC* dc, const std::vector<RECT>* areas);
  // What a Draw shows now, part by part.
  struct SShown;
  SShown Shown() const;
  // The lower page's part: a table, a chart or nothing.
  RECT LowerRect() const;
  // The lower page's chart, or null when it shows none.
  CPriceVolObj* LowerChart();
  const CPriceVolObj* LowerChart() const;

  CPublic* m_store;
  int m_nPage = kPanelTicks;
  int m_nChipCursor = -1;  // the K-line's cursor bar as last told, for the chip page
  SStockInfo* m_item = nullptr;
  SStockInfo* m_indexItem = nullptr;  // m_indexCopy, or null without an index
  // A copy: the store's records move when a new market table arrives.
  SStockInfo m_indexCopy;
  CTitleTable m_title;
  CStatTable m_board;
  CValueTable m_values;
  CTraceTable m_ticks;
  CPriceVolObj m_itemChart;
  CPriceVolObj m_indexChart;
  CChipDistribPic m_chips;
  CLargeVolTable m_bigOrders;
  CLargeTitleTable m_bigTitle;
  CStatTypeCtlPic m_tabs;
  std::unique_ptr<SShown> m_drawn;  // what the last Draw showed
};
