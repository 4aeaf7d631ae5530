// The big-order page of the chart's information panel ("主力大单"): the
// market's recent deals of at least a threshold the user sets.
// CLargeTitleTable is its one-line title (caption and threshold; a double
// click opens the settings), CLargeVolTable the list (time, name, price,
// volume) whose rows open their item on a double click. The list follows
// the market of the item shown: it is requested for that market (0x1C00,
// the latest first), which replaces the rows, and grows with the pushed
// additions (0x1D00), which go on top, the newest first; the oldest rows
// beyond kBigOrderRows leave.
//
// A record of a code the store does not know gives no row, and its code is
// not kept either, so every row's code stays the code of what it shows.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "zeb/store/store_records.h"
#include "zeb/tables/base/base_table.h"
#include "zeb/tables/base/price_colors.h"
#include "zeb/tables/packets/chart_view_packet.h"

class CPublic;

// The most rows the list keeps.
constexpr size_t kBigOrderRows = 500;

// The threshold the list asks for (the settings' "主力大单"), and the
// settings dialog at its big-order page; given by the shell.
struct SBigOrderHooks {
  std::function<int()> threshold;
  std::function<void()> openSettings;
};

class CLargeTitleTable : public CBaseTable {
 public:
  explicit CLargeTitleTable(const SBigOrderHooks* hooks = nullptr) : m_hooks(hooks) {}
  void InitColumns() override {}
  int UpdateData(const void*, int) override { return 1; }
  int Draw(CDC* dc) override;
  int HitTestRow(int x, int y) const override;
  // Opens the settings when the point is on the title; 1, else 0.
  int OnLButtonDblClk(int x, int y);

 private:
  const SBigOrderHooks* m_hooks;
};

class CLargeVolTable : public CBaseTable {
 public:
  CLargeVolTable(CPublic* store = nullptr, const SBigOrderHooks* hooks = nullptr);

  // The list follows the market: an item of the same market keeps the one set.
  void SetStock(const SStockInfo* item);
  void InitColumns() override;
  // Sends the 0x1C00 request of the item's market with the threshold.
  void Request();
  // Decodes the body, then UpdatePacket.
  int UpdateData(const void* body, int length) override;
  // 0 for another packet or a count of 0 or less (the rows are kept); else 1.
  int UpdatePacket(const CChartPacket& packet);
  // Up and Down move the rows shown by one, PageUp and PageDown by a page
  // (as the deal tables page); 1 when taken.
  int OnKey(UINT key) override;
  // Opens the row's item through the main window; 1, else 0.
  int OnLButtonDblClk(int x, int y);
  void Fill(const std::vector<SBigOrder>& orders);

  const std::vector<SCodeInfo>& RowCodes() const { return m_codes; }
  const SStockInfo* Stock() const { return m_item; }

 private:
  CPublic* m_store;
  const SBigOrderHooks* m_hooks;
  std::vector<SCodeInfo> m_codes;
  const SStockInfo* m_item = nullptr;
  int m_nUnit = 1000;
  std::string m_strFormat = "%.2f";
  SPriceColors m_colors;
  std::vector<SBigOrder> m_orders;  // the rows' records, newest first
};
