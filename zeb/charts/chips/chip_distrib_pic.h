// CChipDistribPic: the chip (cost) distribution of an item beside the
// K-line chart: for each price level, how much of the circulating stock
// last changed hands there, estimated from the bars up to the bar under
// the chart cursor. The chart information panel holds it and feeds it the
// K-line chart's notifications (WM_CHIP_UPDATE 0 bars, 1 cursor bar,
// 2 technical page shown, 3 price area) and the ex-rights records.
//
// The picture keeps its own copy of the bars it reads, so a K-line series
// replaced or freed by its chart never leaves it reading freed memory, and
// every degenerate input (one price, no shares, no bars, a cursor below 2)
// computes nothing and keeps the previous distribution.
#pragma once
#include <cstdint>
#include <vector>

#include "formula/functions/formula_types.h"
#include "platform/gdi.h"
#include "platform/types.h"
#include "zeb/painter/chart_painter.h"
#include "zeb/tables/packets/kline_packets.h"

class CChipDistribPic {
 public:
  CChipDistribPic() = default;
  virtual ~CChipDistribPic() = default;

  // The distribution, or the notice outside the technical-analysis page;
  // 0 while no distribution was computed on that page. Draw paints on the
  // device context through the chart painter.
  virtual int Draw(CDC* dc);
  int Paint(CChartPainter& painter);

  // shares: circulating shares now; records: the item's ex-rights records
  // as received, each bonus (shares per 10 x 1000) one step further back
  // from today's shares. Always 1.
  int SetCapitalInfo(int shares, const std::vector<SExRightsRecord>& records);
  // The visible bars from the first visible one to the range end (copied).
  void SetBars(const SHistoryUnit* bars, int count);
  // Any range record with the bars in `units` and their number in `count`.
  template <class Range>
  void SetKLineData(const Range* range) {
    if (range) SetBars(range->units, range->count);
    else SetBars(nullptr, 0);
  }
  void SetCurIndex(int index);
  int SetRect(int left, int top, int right, int bottom);
  void SetPriceRect(int left, int top, int right, int bottom);
  void SetTechShown(int flag) { m_nTechShown = flag; }
  int IsTechShown() const { return m_nTechShown; }

  struct SShareEntry {
    int32_t date;
    int32_t shares;
  };
  const std::vector<SShareEntry>& ShareTable() const { return m_arShares; }
  // What the last SetCapitalInfo was given.
  int Shares() const { return m_nShares; }
  int CapitalRecords() const { return m_nCapitalRecords; }
  int GetLineCount() const { return static_cast<int>(m_arLineEnds.size()); }
  const std::vector<int>& LineEnds() const { return m_arLineEnds; }
  // The prepared lines: one per bin, from the bottom of the price area up
  // every 2 pixels, from the panel's left edge to the bin's end.
  struct SLine {
    int x1, x2, y;
  };
  const std::vector<SLine>& Lines() const { return m_arLines; }
  // Bin values of the last computation (0 .. 1 of the circulating stock).
  const std::vector<double>& Bins() const { return m_arBins; }
  int GetCurIndex() const { return m_nCurIndex; }
  // The trade date that heads the share table (the store's by default).
  void SetTradeDate(int32_t date) { m_nTradeDate = date; }

 private:
  void Recompute();
  // The lines from the line ends and the price area (after either changed).
  void PrepareLines();
  int32_t SharesAt(int32_t date) const;

  std::vector<SHistoryUnit> m_arBars;
  std::vector<SShareEntry> m_arShares;
  int m_nCurIndex = -1;
  RECT m_rcPanel{};
  int m_nTechShown = 0;
  std::vector<int> m_arLineEnds;
  std::vector<SLine> m_arLines;
  std::vector<double> m_arBins;
  RECT m_rcPrice{};
  int32_t m_nTradeDate = -1;
  int m_nShares = 0;
  int m_nCapitalRecords = 0;
};
