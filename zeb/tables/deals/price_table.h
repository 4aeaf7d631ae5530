// CPriceTable: the price-volume distribution "量价分布" of the chart view.
// Every price the item dealt at today, highest first, with a bar of the
// volume traded there split into inner (at or below the best bid) and outer
// volume, the hands and their share of the day. Filled from the deal list
// (0x0100) and extended by every pushed deal of the item (0x0B00). It draws
// itself rather than through grid cells, and scrolls with its own bar.
//
// A level or a day whose total is 0 draws no bar: nothing is divided by 0.
#pragma once
#include <string>
#include <vector>

#include "zeb/store/store_records.h"
#include "zeb/tables/base/draw_owner.h"
#include "zeb/tables/deals/scrolled_table.h"
#include "zeb/tables/packets/chart_view_packet.h"
#include "zeb/tables/packets/item_quote_feed.h"

class CPublic;

struct SPriceVolItem {
  uint32_t price = 0;
  uint32_t outer = 0;  // volume above the best bid
  uint32_t inner = 0;  // at or below it
};

class CPriceTable : public CScrolledTable {
 public:
  explicit CPriceTable(CPublic* store = nullptr);

  void SetStock(const SStockInfo* item);
  void RequestDeals();
  void InitColumns() override {}
  // Decodes the body, then UpdatePacket.
  int UpdateData(const void* body, int length) override;
  // The deal list sums the levels anew, each new pushed record of the item
  // with all ten levels adds its deal. 0 for a deal list with a foreign
  // tag; else 1.
  int UpdatePacket(const CChartPacket& packet);
  int Draw(CDC* dc) override;
  CFont* InitColors() override;
  // The pop-up "分价表" when the point is in the table; 1.
  int OnRButtonDown(CDrawOwner* owner, int x, int y);
  // Adds one deal: outer when bid < price, else inner.
  void AddDeal(uint32_t price, uint32_t volume, uint32_t bid);

  const std::vector<SPriceVolItem>& Levels() const { return m_levels; }
  const SStockInfo& Stock() const { return m_item; }

 private:
  CPublic* m_store;
  SStockInfo m_item;
  std::vector<SPriceVolItem> m_levels;  // descending price, no two equal
  int m_nUnit = 1000;
  std::string m_strFormat = "%.2f";
  CItemQuoteFeed m_feed;
  CFont* m_pFont = nullptr;
  COLORREF m_crText = 0;
  COLORREF m_crInner = 0;
  COLORREF m_crOuter = 0;
};
