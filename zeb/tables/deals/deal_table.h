// CDealTable: the deal details "行情报价" of the chart view. Six columns
// with a header (time, price, change, bid, ask, volume), one row per deal
// of the day: filled from the deal list (0x0100) and extended by every
// pushed record of the item (0x0B00).
//
// The table keeps the deals themselves, the newest kMaxDayDeals of them
// (newest_rows.h), and makes grid rows only for the page it paints. It
// follows the newest deal only while the newest is in view: a user reading
// older deals keeps his place through pushes and through the deal list the
// chart view asks for again every few seconds.
//
// A pushed record that lacks the best bid or ask (fewer than six levels)
// shows "-" in that column.
#pragma once
#include <cstdint>
#include <string>

#include "zeb/store/store_records.h"
#include "zeb/tables/base/draw_owner.h"
#include "zeb/tables/base/newest_rows.h"
#include "zeb/tables/base/price_colors.h"
#include "zeb/tables/deals/scrolled_table.h"
#include "zeb/tables/packets/chart_view_packet.h"
#include "zeb/tables/packets/item_quote_feed.h"

class CPublic;

// One deal as the table keeps it.
struct SDealRow {
  uint16_t time = 0;  // minutes of the day
  uint32_t price = 0;
  int64_t bid = 0;  // CDealTable::kNoPrice when the record had none
  int64_t ask = 0;
  uint32_t volume = 0;
};

class CDealTable : public CScrolledTable {
 public:
  // A bid or ask the record does not carry.
  static constexpr int64_t kNoPrice = -1;

  explicit CDealTable(CPublic* store = nullptr);

  void SetStock(const SStockInfo* item);
  void RequestDeals();
  void RebuildColumns();
  void InitColumns() override {}
  int SetRect(int left, int top, int right, int bottom) override;
  // Decodes the body, then UpdatePacket.
  int UpdateData(const void* body, int length) override;
  // The deal list replaces the deals (0 for another request's list); each
  // new pushed record of the item adds one.
  int UpdatePacket(const CChartPacket& packet);
  // Lays the deals of the page into rows, then paints.
  int Draw(CDC* dc) override;
  // The data row under the point, counted from the top deal of the page.
  int HitTestRow(int x, int y) const override;
  // The pop-up "成交明细" on a data row below the first shown; 1.
  int OnRButtonDown(CDrawOwner* owner, int x, int y);
  void AddTick(uint16_t time, uint32_t price, int64_t bid, int64_t ask, uint32_t volume);

  const SStockInfo& Stock() const { return m_item; }
  int DealCount() const { return static_cast<int>(m_rows.size()); }
  // The cell of a deal (counted from the oldest kept) as its row shows it.
  SSubItem DealCell(int deal, int col) const;
  // Whether the newest deal is on the page (or there is none).
  bool ShowsNewest() const;
  // Lets go of the deals (the view is hidden); the next item fills it anew.
  void ReleaseRows();

 protected:
  int ExtraTopRows() const override { return 1; }

 private:
  bool IsIndex() const;
  // Data rows of a page: the rows that fit less the header's.
  int DataRowsPerPage() const;
  // The top deal of the page that ends with the newest.
  int LastPageTop() const;
  void SetTop(int top);
  void BuildRows();

  CPublic* m_store;
  SStockInfo m_item;
  int m_nUnit = 1000;
  CItemQuoteFeed m_feed;
  std::string m_strFormat = "%.2f";
  SPriceColors m_colors;
  CNewestRows<SDealRow> m_rows;
};
