// CVolPic: the volume bars of the time-share chart, one 1-pixel bar per
// minute in the rise or fall colour of the minute's price.
#pragma once
#include "zeb/charts/timeshare/dyn_base_pic.h"

class CVolPic : public CDynBasePic {
 public:
  void Recalc() override;
  int SetData(const SDynPicData& data) override;
  int Paint(CChartPainter& painter) override;
  void SetRectDeferred(int left, int top, int right, int bottom, bool deferOnly) {
    SetRectDeferredImpl(m_nStyle, RECT{left, top, right, bottom}, deferOnly);
  }
  void SetStyle(int bits) { m_nStyle = bits; }
  int VolY(int64_t volume) const;
  const std::vector<int>& BarRows() const { return m_arY; }
  const std::vector<uint8_t>& UpFlags() const { return m_arUp; }
  int GetBarWidth() const { return m_nBarWidth; }
  // A prepared bar: a line from the base up to its row, in the rise or
  // fall colour.
  struct SBar {
    SDynSegment line;
    bool up;
  };
  const std::vector<SBar>& Bars() const { return m_arBars; }

 private:
  std::vector<uint8_t> m_arUp;
  std::vector<int> m_arY;
  std::vector<SBar> m_arBars;
  const int32_t* m_pVolume = nullptr;
  const int32_t* m_pPrice = nullptr;
  int m_nStyle = 0;
  int m_nBarWidth = 0;
  int64_t m_nLowest = 0, m_nHighest = 0;  // the volumes' range, from SetData
};
