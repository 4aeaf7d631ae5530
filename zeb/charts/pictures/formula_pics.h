// The formula pictures: CTechAnalysisSelf computes any indicator of the
// formula library over the bars through the installed formula access;
// CTechAnalysisVol is the same with its value axis starting at 0; and
// CTechAnalysisAppendClosePrice overlays a second item's close, rescaled to
// the first item's close, with percentage labels.
#pragma once
#include <string>
#include <vector>

#include "zeb/charts/pictures/tech_base_pic.h"

class CTechAnalysisSelf : public CTechAnalysisBasePic {
 public:
  explicit CTechAnalysisSelf(const std::string& name);
  int SetData(const SKLineRange* range) override;
  void Compute() override;
  const std::string& GetFormulaName() const { return m_strName; }

  // The formula library takes at most this many bars per calculation (its
  // count is 16 bits); longer series are computed over their newest bars.
  static constexpr int kMaxCalcBars = 32767;
  // Outputs whose largest value passes this are held in ten-thousands.
  static constexpr float kDivisorLimit = 1000000.0f;

 private:
  std::string m_strName;
  // The output values before the last computation's, kept for the next.
  std::vector<std::vector<float>> m_spareValues;
};

class CTechAnalysisVol : public CTechAnalysisSelf {
 public:
  explicit CTechAnalysisVol(const std::string& name) : CTechAnalysisSelf(name) {}
  int SetData(const SKLineRange* range) override;
  void CalcRange() override;
};

class CTechAnalysisAppendClosePrice : public CTechAnalysisBasePic {
 public:
  CTechAnalysisAppendClosePrice();
  int SetData(const SKLineRange* range) override;
  void RecalcPixels() override;
  bool TakeLastBar() override;
  void Compute() override;
  void CalcRange() override;
  void DrawTitle(CChartPainter& p) override;
  void SetItemName(const std::string& name) { m_strItemName = name; }

 private:
  const SAppendCloseData* m_pData = nullptr;
  std::string m_strItemName;
};
