// CTechCreator: one pane of the K-line chart. It makes the pane's picture
// from an indicator name and forwards the chart object's calls to it; the
// K-line-only calls reach the picture only when the pane is a K-line pane.
//
// A pane also carries the figures drawn on it. Their anchor mapping is
// refreshed whenever the bars, the x positions, the rectangle or the value
// range change, so the figures are drawn from their (date, value) anchors
// and follow the chart when it scrolls or zooms.
#pragma once
#include <memory>
#include <string>

#include "zeb/charts/pictures/kline_pic.h"
#include "zeb/charts/tools/anchor_map.h"
#include "zeb/charts/tools/line_tool_set.h"

class CTechCreator {
 public:
  CTechCreator() = default;
  CTechCreator(const CTechCreator&) = delete;
  CTechCreator& operator=(const CTechCreator&) = delete;

  void CreatePic(const std::string& name);
  const std::string& GetName() const { return m_strName; }
  CTechAnalysisBasePic* GetPic() const { return m_pPic.get(); }

  int SetData(const SKLineRange* range);
  // The newest of the bars lent at the last SetToolBars changed its values
  // (and, for minute bars, its date); false when the picture changed
  // beyond the newest bar's column.
  bool TakeLastBar(const SHistoryUnit& newest);
  int Paint(CChartPainter& p);
  int Paint(CDC* dc);
  void SetRect(int left, int top, int right, int bottom);
  void SetCaption(const std::string& caption, int unused);
  void SetInfoMarks(const InfoTitleMap* marks);
  void SetFlags(int flags);
  void SetExRightsData(const SExRightsRecord* records, int count);
  void SetExRightsHighlight(int on);
  void Zoom(int widen);
  void BuildTitle();
  int HitTest(int x, int y);
  void SetXPositions(const int* positions, int count);
  void SetCursorIndex(int index);
  float ValueAtY(int y) const;
  int ValueToY(float value) const;
  int GetMaxParam() const;
  int OnLButtonDown(int x, int y);
  int OnMouse(int x, int y);
  void DrawFrame(CChartPainter& p);
  int HitTestTitle(int x, int y);
  void Reset();
  int OnLButtonUp(int x, int y);
  int HitTestLine(int x, int y);

  // Drawing tools: the bars (every date, oldest first), the first visible
  // bar, the x of each visible bar and the candle width as the chart laid
  // them out.
  void SetToolBars(const SHistoryUnit* bars, int count, int first, const int* xs, int nx,
                   int candleWidth);
  CLineToolSet& Tools() { return m_tools; }
  const CLineToolSet& Tools() const { return m_tools; }
  const CAnchorMap& ToolMap() const { return m_anchors; }
  void DrawTools(CDC* dc) { m_tools.Draw(dc); }

 private:
  // The plot and value range of the picture into the anchor mapping.
  void RefreshToolRange();

  bool IsKLinePane() const { return m_strName == "KLINE" || m_strName == "KLINEMA"; }
  CTechAnalysisKLine* KLine() const;

  std::unique_ptr<CTechAnalysisBasePic> m_pPic;
  std::string m_strName;
  CAnchorMap m_anchors;
  CLineToolSet m_tools{&m_anchors};
};
