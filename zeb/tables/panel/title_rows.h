// The two small rows of the chart's information panel: CTitleTable, the
// 22-pixel title with the item's name on the left and its six-digit code on
// the right; and CValueTable, the valuation row whose labels follow the
// kind of market (accrued interest and yield, net value, or price-to-book
// and turnover), updated with the time-share reply and every push of the
// item.
#pragma once
#include <string>

#include "zeb/store/store_records.h"
#include "zeb/tables/base/base_table.h"
#include "zeb/tables/base/price_colors.h"
#include "zeb/tables/packets/chart_packets.h"
#include "zeb/tables/packets/item_quote_feed.h"

class CPublic;

constexpr int kTitleRowHeight = 22;

class CTitleTable : public CBaseTable {
 public:
  explicit CTitleTable(CPublic* store = nullptr);
  // Copies the item; a remapped code shows as the code the user knows.
  void SetStock(const SStockInfo* item);
  void InitColumns() override {}
  int UpdateData(const void*, int) override { return 1; }
  int Draw(CDC* dc) override;
  const SStockInfo& Stock() const { return m_item; }

 private:
  CPublic* m_store;
  SStockInfo m_item;
};

class CValueTable : public CBaseTable {
 public:
  explicit CValueTable(CPublic* store = nullptr);
  void SetStock(const SStockInfo* item);
  void RebuildColumns();
  void InitColumns() override;
  // Decodes the body, then UpdatePacket.
  int UpdateData(const void* body, int length) override;
  // Shows the item's record of a time-share reply or a push.
  int UpdatePacket(const CChartPacket& packet);
  void Fill(const STickRecord& record);

 private:
  int Kind() const { return m_item.market & 0xF; }
  void WriteLabels();

  CPublic* m_store;
  SStockInfo m_item;
  int m_nUnit = 1000;
  std::string m_strFormat = "%.2f";
  SPriceColors m_colors;
  CItemQuoteFeed m_feed;
};
