// Stand-ins for the chart objects the chart view holds (the time-share
// chart and the chip distribution; the K-line chart is real). They offer the
// operations the analysis object and the information panel call, send the
// same requests, and draw a simple picture, so the view, its routing and
// its panel work and are tested before the real charts exist.
// Temporary: the chart modules replace each class under the same name.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "zeb/shell/store/store_records.h"
#include "zeb/tables/base/draw_obj.h"
#include "zeb/tables/chartinfo/chart_info_tables.h"

class CPublic;

// Time-share chart stand-in: draws the day's tick prices as one line.
class CPriceVolObj : public CBaseDrawObj {
 public:
  explicit CPriceVolObj(CPublic* store = nullptr);

  int RecalcLayout() override { return 1; }
  int OnData(const void* body, int length) override;
  BOOL HitTest(int x, int y) override;
  int Draw(CDC* dc) override;
  int OnKey(UINT key) override { return 0; }
  int OnCommand(UINT id) override;

  void SetStock(SStockInfo* item);
  void SetStyle(int flags) { m_nStyle = flags; }
  int GetStyle() const { return m_nStyle; }
  void SetSubPicType(int kind) { m_nSubPic = kind > 4 ? 0 : kind; }
  int GetSubPicType() const { return m_nSubPic; }
  // Sends the 18-byte time-share request of the item; nothing without one.
  void RequestMinuteTrace();
  // Adds the code to the process-wide trace list and sends the whole list.
  void AddTraceCode(SCodeInfo code);
  static const std::vector<SCodeInfo>& TraceCodes();
  static void ClearTraceCodes();

  int OnLButtonDown(int x, int y) { return 0; }
  int OnLButtonUp(int x, int y) { return 0; }
  int OnMouseMove(int x, int y) { return 0; }
  int OnLButtonDblClk(int x, int y) { return 0; }
  int OnRButtonDown(CDrawOwner* owner, int x, int y);

  const SStockInfo* Stock() const { return m_item; }
  const std::vector<uint32_t>& Prices() const { return m_prices; }
  // Packets handed in so far.
  int PacketsTaken() const { return m_nPackets; }

 private:
  int m_nPackets = 0;
  CPublic* m_store;
  SStockInfo* m_item = nullptr;
  int m_nStyle = 0;
  int m_nSubPic = 0;
  uint32_t m_nLastVolume = 0;
  std::vector<uint32_t> m_prices;
};

// Chip distribution stand-in: the notice outside technical analysis, the
// capital records it was given inside.
class CChipDistribPic {
 public:
  int SetRect(int left, int top, int right, int bottom);
  int Draw(CDC* dc);
  int SetCapitalInfo(int shares, const uint8_t* records, int count);
  void SetKLineData(const SHistoryInterval* range) { m_range = range ? *range : SHistoryInterval{}; }
  void SetCurIndex(int index) { m_nCurIndex = index; }
  void SetTechShown(int flag) { m_nTechShown = flag; }
  int IsTechShown() const { return m_nTechShown; }
  void SetPriceRect(int left, int top, int right, int bottom) { m_rcPrice = RECT{left, top, right, bottom}; }
  int CapitalRecords() const { return m_nCapitalRecords; }
  int Shares() const { return m_nShares; }

 private:
  RECT m_rect{};
  RECT m_rcPrice{};
  SHistoryInterval m_range;
  int m_nCurIndex = -1;
  int m_nTechShown = 0;
  int m_nShares = 0;
  int m_nCapitalRecords = 0;
};
