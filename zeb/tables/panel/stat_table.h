// CStatTable: the five-level quote board of the chart's information panel.
// 19 rows of title/value pairs for one item (the left pair only for an
// index item), filled from the time-share reply's quote record and from
// every pushed record of the item whose total volume moved.
//
// A record carries a variable number of levels: a level the record lacks
// shows "-" (price and volume), and nothing past the record is read.
#pragma once
#include <string>

#include "zeb/store/store_records.h"
#include "zeb/tables/base/base_table.h"
#include "zeb/tables/base/price_colors.h"
#include "zeb/tables/packets/chart_packets.h"
#include "zeb/tables/packets/item_quote_feed.h"

class CPublic;

// Rows of the board.
constexpr int kBoardRows = 19;
constexpr int kBoardRowsIndex = 14;
constexpr int kBoardRowHeight = 18;
constexpr int kBoardDealRow = 5;

class CStatTable : public CBaseTable {
 public:
  explicit CStatTable(CPublic* store = nullptr);

  // Copies the item, builds the columns for the table's width and writes
  // the titles with "-" values.
  void SetStock(const SStockInfo* item);
  void InitColumns() override;
  // Decodes the body, then UpdatePacket.
  int UpdateData(const void* body, int length) override;
  // Shows the item's record of a time-share reply or a push.
  int UpdatePacket(const CChartPacket& packet);
  // Writes the values of one quote record.
  void Fill(const STickRecord& record);
  // Builds the columns and titles again (the panel shown again) and shows
  // the last record taken.
  void Refill();
  // A price as the board prints it: the integer part above 1000, "-" for 0.
  std::string FormatValue(int64_t value) const;

  const SStockInfo& Stock() const { return m_item; }

 private:
  void BuildColumns();
  void WriteTitles();
  bool IsIndex() const;
  void SetValue(int row, int col, const std::string& text, COLORREF color, int borders);

  CPublic* m_store;
  SStockInfo m_item;
  int m_nUnit = 1000;
  std::string m_strFormat = "%.2f";
  bool m_bHasRecord = false;
  STickRecord m_last;
  SPriceColors m_colors;
  COLORREF m_crTitle = 0;
  CItemQuoteFeed m_feed;
};
