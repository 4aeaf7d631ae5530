// CDealTable: the deal details "行情报价" of the chart view. Six columns
// with a header (time, price, change, bid, ask, volume), one row per deal
// of the day: filled from the deal list (0x0100) and extended by every
// pushed record of the item (0x0B00). A table scrolled to its end keeps
// showing the newest deal.
//
// A pushed record that lacks the best bid or ask (fewer than six levels)
// shows "-" in that column.
#pragma once
#include <string>

#include "zeb/store/store_records.h"
#include "zeb/tables/base/draw_owner.h"
#include "zeb/tables/base/price_colors.h"
#include "zeb/tables/deals/scrolled_table.h"
#include "zeb/tables/packets/chart_packets.h"

class CPublic;

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
  int UpdateData(const void* body, int length) override;
  int Draw(CDC* dc) override;
  // The pop-up "成交明细" on a data row below the first shown; 1.
  int OnRButtonDown(CDrawOwner* owner, int x, int y);
  void AddTick(uint16_t time, uint32_t price, int64_t bid, int64_t ask, uint32_t volume);

  const SStockInfo& Stock() const { return m_item; }

 protected:
  int ExtraTopRows() const override { return 1; }

 private:
  bool IsIndex() const;

  CPublic* m_store;
  SStockInfo m_item;
  int m_nUnit = 1000;
  uint32_t m_nLastVolume = 0;
  std::string m_strFormat = "%.2f";
  SPriceColors m_colors;
  SDealListPacket m_deals;
  SPushTickPacket m_push;
};
