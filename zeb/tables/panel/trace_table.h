// CTraceTable: the tick table "笔" of the chart's information panel. Three
// headerless columns (time, price, volume with a direction mark) that always
// show the newest ticks at the bottom: filled from the ticks of the
// time-share reply and extended by every pushed record of the item whose
// total volume moved. It keeps the newest kMaxDayDeals ticks
// (newest_rows.h) and makes rows only for those it paints.
#pragma once
#include <string>

#include "zeb/store/store_records.h"
#include "zeb/tables/base/base_table.h"
#include "zeb/tables/base/newest_rows.h"
#include "zeb/tables/base/price_colors.h"
#include "zeb/tables/packets/item_quote_feed.h"
#include "zeb/tables/packets/chart_packets.h"

class CPublic;

// One tick.
struct SFenTraceUnit {
  int16_t direction = 0;  // 1 at the best bid, -1 at the best ask, else 0
  uint16_t time = 0;      // minutes of the day
  uint32_t price = 0;
  int32_t volume = 0;
};

// The direction marks of the tick table: image 0 a rising mark (a deal at
// the ask), image 1 a falling one (at the bid), image 2 none; 7 pixels wide,
// drawn in the scheme's rise and fall colours.
class CTickMarkImages : public CTableImageList {
 public:
  static constexpr int kWidth = 7;
  int GetImageCount() const override { return 3; }
  void Draw(CDC* dc, int index, int x, int y) const override;
};

constexpr int kTraceRowHeight = 16;

class CTraceTable : public CBaseTable {
 public:
  explicit CTraceTable(CPublic* store = nullptr);

  void SetStock(const SStockInfo* item);
  void RebuildColumns();
  void InitColumns() override;
  // Null body: the ticks are emptied and their memory given back.
  // Decodes the body, then UpdatePacket.
  int UpdateData(const void* body, int length) override;
  // The item's day of ticks from a time-share reply, its new ticks from a
  // push; 0 for a push of no records.
  int UpdatePacket(const CChartPacket& packet);
  // Lays the newest ticks that fit into rows, then paints.
  int Draw(CDC* dc) override;

  const CNewestRows<SFenTraceUnit>& Ticks() const { return m_ticks; }

 private:
  void BuildRows();

  CPublic* m_store;
  SStockInfo m_item;
  CNewestRows<SFenTraceUnit> m_ticks;
  int m_nUnit = 1000;
  std::string m_strFormat = "%.2f";
  SPriceColors m_colors;
  CTickMarkImages m_marks;
  CItemQuoteFeed m_feed;
};
