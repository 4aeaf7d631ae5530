// The stand-in for the K-line chart the chart view holds. It offers the
// operations the analysis object calls, sends the same request, and draws
// a notice, so the view's technical-analysis page, its routing and its
// tests work before the real chart exists.
// Temporary: the K-line chart replaces this class under the same name.
#pragma once
#include <cstdint>
#include <string>

#include "zeb/shell/store/store_records.h"
#include "zeb/tables/base/draw_obj.h"

class CPublic;

// K-line chart stand-in: keeps its item and period and draws a notice.
class CHisTechObj : public CBaseDrawObj {
 public:
  static constexpr int kDayPeriod = 61;

  explicit CHisTechObj(CPublic* store = nullptr);

  int RecalcLayout() override { return 1; }
  int OnData(const void* body, int length) override {
    ++m_nPackets;
    return 1;
  }
  BOOL HitTest(int x, int y) override;
  int Draw(CDC* dc) override;
  int OnKey(UINT key) override { return 0; }
  int OnCommand(UINT id) override { return 0; }
  // Packets handed in so far.
  int PacketsTaken() const { return m_nPackets; }

  // A null item keeps the current one.
  void SetStock(SStockInfo* item);
  // Sends the 30-byte K-line request of the day period; nothing without an item.
  void RequestKLine();
  void SetDayPeriod() { m_nPeriod = kDayPeriod; }
  int IsDayPeriod() const { return m_nPeriod == kDayPeriod ? 1 : 0; }
  void SetPeriod(int period) { m_nPeriod = period; }
  void SetLastPaneTech(const char* name) { m_strLastTech = name ? name : ""; }
  const std::string& LastPaneTech() const { return m_strLastTech; }
  void SetChipPageShown(int flag) { m_nChipShown = flag; }
  int ChipPageShown() const { return m_nChipShown; }

  int OnLButtonDown(int x, int y) { return 0; }
  int OnLButtonUp(int x, int y) { return 0; }
  int OnMouseMove(int x, int y) { return 0; }
  int OnLButtonDblClk(int x, int y) { return 0; }
  int OnRButtonDown(CDrawOwner* owner, int x, int y) { return 0; }
  int OnRButtonUp(int x, int y) { return 0; }

 private:
  CPublic* m_store;
  SStockInfo* m_item = nullptr;
  int m_nPeriod = kDayPeriod;
  bool m_bHasRecords = false;
  std::string m_strLastTech;
  int m_nChipShown = 0;
  int m_nPackets = 0;
};
