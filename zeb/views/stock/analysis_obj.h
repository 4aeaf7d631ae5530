// CAnalisysObj: the left part of the chart view. Four pages shown one at a
// time (the time-share chart, the K-line chart, the deal details and the
// price-volume distribution) with a tab strip along the bottom. It routes
// packets, keys, commands and mouse input to the page that needs them,
// sends a page's first request once per item (the visited list), and tells
// the main window whether the technical-analysis page is shown.
//
// Packets are lent: their type is read and masked on a copy, never in the
// buffer.
#pragma once
#include <vector>

#include "controls/type_ctl_pic.h"
#include "zeb/charts/standins/chart_standins.h"
#include "zeb/charts/timeshare/price_vol_obj.h"
#include "zeb/tables/base/draw_obj.h"
#include "zeb/tables/deals/deal_table.h"
#include "zeb/tables/deals/price_table.h"
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
  int OnData(const void* body, int length) override;
  BOOL HitTest(int x, int y) override;
  int Draw(CDC* dc) override;
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
  // The window the time-share chart repaints after its commands.
  void SetOwner(CDrawOwner* owner) { m_priceVol.SetOwner(owner); }
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
  int Refresh();
  int IsVisited(int page) const;

  CPriceVolObj& PriceVol() { return m_priceVol; }
  const CTimeShareInfoTable& InfoBox() const { return m_infoBox; }
  CHisTechObj& HisTech() { return m_hisTech; }
  CDealTable& Deals() { return m_deals; }
  CPriceTable& Prices() { return m_prices; }
  CTypeCtlPic& Tabs() { return m_tabs; }

 private:
  void Visit(int page) { m_visited.push_back(page); }
  void NotifyTechnicalShown(int kind);

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
  int m_nKind = -1;  // no page shown before the first item
};
