// CPricePic: the price line of the time-share chart with its average line
// and, where given, a second item's line, on a scale symmetric about the
// previous close so the middle grid row is always the previous close.
#pragma once
#include "zeb/charts/timeshare/dyn_base_pic.h"

class CPricePic : public CDynBasePic {
 public:
  CPricePic() { m_nDecimals = 3; }

  void Recalc() override;
  int SetData(const SDynPicData& data) override;
  int Paint(CChartPainter& painter) override;
  // With the "no left axis" style and deferOnly, only keeps the rectangle
  // for the next paint; otherwise takes it at once and recomputes.
  virtual void SetRectDeferred(int left, int top, int right, int bottom, bool deferOnly);

  void SetStyle(int bits) { m_nStyle = bits; }
  // The row of a price; inside the plot, never on its edges.
  int YOf(int64_t value) const;
  const std::vector<int>& PriceRows() const { return m_arPriceY; }
  const std::vector<int>& AverageRows() const { return m_arAvgY; }
  const std::vector<int>& SecondRows() const { return m_arSecondY; }
  // The prepared segments of each line, joining neighbouring points that
  // both have a value.
  const std::vector<SDynSegment>& PriceSegments() const { return m_arPriceLine; }
  const std::vector<SDynSegment>& AverageSegments() const { return m_arAvgLine; }
  const std::vector<SDynSegment>& SecondSegments() const { return m_arSecondLine; }

 private:
  void PrepareSeries(const std::vector<int>& rows, const int32_t* values,
                     std::vector<SDynSegment>& out) const;

  int m_nStyle = 0;
  int m_nRef = 0;
  std::vector<int> m_arPriceY;
  std::vector<int> m_arAvgY;
  std::vector<int> m_arSecondY;
  std::vector<SDynSegment> m_arPriceLine;
  std::vector<SDynSegment> m_arAvgLine;
  std::vector<SDynSegment> m_arSecondLine;
  const int32_t* m_pPrice = nullptr;
  const int32_t* m_pAverage = nullptr;
  const int32_t* m_pSecond = nullptr;
  int m_nSecondRef = 0;
};
