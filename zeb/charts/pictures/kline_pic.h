// CTechAnalysisKLine: the price pane of the K-line chart. Candles over a
// dotted price grid, the view's highest high and lowest low with arrows,
// information marks under the title, ex-rights marks at the bottom with
// their tooltips, an optional volume-by-price histogram and, for
// "KLINEMA", the "MA" formula picture drawn over the candles.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "zeb/charts/pictures/formula_pics.h"

class CTechAnalysisKLine : public CTechAnalysisBasePic {
 public:
  CTechAnalysisKLine();

  int SetData(const SKLineRange* range) override;
  int HitTest(int x, int y) override;
  const RECT* SetRect(int left, int top, int right, int bottom) override;
  int OnMouse(int x, int y) override;
  int ClearInterval() override;
  void SetXPositions(const int* positions, int count) override;
  void SetCursorIndex(int index) override;
  int Paint(CChartPainter& p) override;
  using CBasePic::Paint;
  void Zoom(bool widen) override;
  void SetExRightsData(const SExRightsRecord* records, int count) override;
  void SetInfoMarks(const InfoTitleMap* marks) override;
  void SetCaption(const std::string& caption, int unused) override;
  int GetMaxParam() const override;
  int OnLButtonDown(int x, int y) override;
  int HitTestLine(int x, int y) override;
  int HitTestTitle(int x, int y) override;
  // The candles and the volume-by-price histogram (the moving-average
  // overlay keeps its own rows).
  void RecalcPixels() override;
  bool TakeLastBar() override;
  void RecalcLastPixels() override;
  // Display bits: 2 shows the volume-by-price histogram.
  void SetFlags(int flags) override;
  void CalcRange() override;
  void DrawTitle(CChartPainter& p) override;
  void DrawTitles(CChartPainter& p) override;
  int TitlesRight() const override;

  void AddMovingAverage();
  void SetExRightsHighlight(int on);
  CTechAnalysisSelf* MovingAverage() const { return m_pMA.get(); }
  int HighestBar() const { return m_nHighBar; }
  int LowestBar() const { return m_nLowBar; }
  // The tooltip text of an ex-rights record.
  static std::string ExRightsText(const SExRightsRecord& r);
  // The histogram's line length of each pixel row of the plot from the
  // bottom up; empty when it is not shown or there is no volume.
  const std::vector<int>& VolumeByPrice() const { return m_volumeByPrice; }
  // A mark placed over a visible bar: an information mark under the title
  // (by the date its text is kept under) or an ex-rights mark at the bottom
  // (by its record).
  struct SMark {
    int x;          // the bar's left
    uint32_t date;  // information marks
    int record;     // ex-rights marks, else -1
  };
  const std::vector<SMark>& InfoMarks() const { return m_infoMarks; }
  const std::vector<SMark>& ExRightsMarks() const { return m_exRightsMarks; }

 private:
  void PrepareVolumeByPrice();
  void PrepareMarks();
  void DrawVolumeByPrice(CChartPainter& p) const;
  void DrawInfoMarks(CChartPainter& p);
  void DrawExRightsMarks(CChartPainter& p);
  void DrawHighLow(CChartPainter& p);
  void DrawMark(CChartPainter& p, int kind, int x, int y);

  RECT m_rcMarks{};
  RECT m_rcBottom{};
  std::string m_strCaption;
  const InfoTitleMap* m_pInfoMarks = nullptr;
  const SExRightsRecord* m_pExRights = nullptr;
  int m_nExRights = 0;
  std::vector<int> m_highlight;
  std::unique_ptr<CTechAnalysisSelf> m_pMA;
  int m_nHighBar = 0;
  int m_nLowBar = 0;
  std::vector<int> m_volumeByPrice;
  std::vector<SMark> m_infoMarks;
  std::vector<SMark> m_exRightsMarks;
};
