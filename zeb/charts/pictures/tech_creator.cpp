// The picture factory of a pane and its forwarding calls.
#include "zeb/charts/pictures/tech_creator.h"

#include <strings.h>

#include <algorithm>

void CTechCreator::CreatePic(const std::string& name) {
  // Figures drawn on another indicator's scale mean nothing on the new one.
  if (m_pPic && name != m_strName) m_tools.ClearTools();
  m_strName = name;
  m_pPic.reset();
  const char* n = name.c_str();
  if (strcasecmp(n, "KLINE") == 0) {
    m_pPic = std::make_unique<CTechAnalysisKLine>();
  } else if (strcasecmp(n, "KLINEMA") == 0) {
    auto kline = std::make_unique<CTechAnalysisKLine>();
    kline->AddMovingAverage();
    m_pPic = std::move(kline);
  } else if (strcasecmp(n, "VOL") == 0) {
    m_pPic = std::make_unique<CTechAnalysisVol>(name);
  } else if (strcasecmp(n, "APPENDCLOSEPRICE") == 0) {
    m_pPic = std::make_unique<CTechAnalysisAppendClosePrice>();
  } else {
    m_pPic = std::make_unique<CTechAnalysisSelf>(name);
  }
  m_pPic->SetFormulaName(name);
}

CTechAnalysisKLine* CTechCreator::KLine() const {
  return IsKLinePane() ? static_cast<CTechAnalysisKLine*>(m_pPic.get()) : nullptr;
}

int CTechCreator::SetData(const SKLineRange* range) {
  if (m_pPic) m_pPic->SetData(range);
  RefreshToolRange();
  return 1;
}
bool CTechCreator::TakeLastBar(const SHistoryUnit& newest) {
  const bool column = !m_pPic || m_pPic->TakeLastBar();
  m_anchors.SetLastDate(newest.nDate);
  // A range that moved moves the figures.
  if (!column) RefreshToolRange();
  return column;
}
int CTechCreator::Paint(CChartPainter& p) {
  if (m_pPic) m_pPic->Paint(p);
  return 1;
}
int CTechCreator::Paint(CDC* dc) {
  if (m_pPic) m_pPic->Paint(dc);
  return 1;
}
void CTechCreator::SetRect(int left, int top, int right, int bottom) {
  if (m_pPic) m_pPic->SetRect(left, top, right, bottom);
  RefreshToolRange();
}
void CTechCreator::SetCaption(const std::string& caption, int unused) {
  if (m_pPic) m_pPic->SetCaption(caption, unused);
}
void CTechCreator::SetInfoMarks(const InfoTitleMap* marks) {
  if (m_pPic && IsKLinePane()) m_pPic->SetInfoMarks(marks);
}
void CTechCreator::SetFlags(int flags) {
  if (m_pPic && IsKLinePane()) m_pPic->SetFlags(flags);
}
void CTechCreator::SetExRightsData(const SExRightsRecord* records, int count) {
  if (m_pPic && IsKLinePane()) m_pPic->SetExRightsData(records, count);
}
void CTechCreator::SetExRightsHighlight(int on) {
  if (CTechAnalysisKLine* k = KLine()) k->SetExRightsHighlight(on);
}
void CTechCreator::Zoom(int widen) {
  if (m_pPic && (strcasecmp(m_strName.c_str(), "KLINE") == 0 ||
                 strcasecmp(m_strName.c_str(), "KLINEMA") == 0))
    m_pPic->Zoom((widen & 0xFF) != 0);
  RefreshToolRange();
}
void CTechCreator::BuildTitle() {
  if (m_pPic) m_pPic->BuildTitle();
}
int CTechCreator::HitTest(int x, int y) { return m_pPic ? m_pPic->HitTest(x, y) : 0; }
void CTechCreator::SetXPositions(const int* positions, int count) {
  if (m_pPic) m_pPic->SetXPositions(positions, count);
}
void CTechCreator::SetCursorIndex(int index) {
  if (m_pPic) m_pPic->SetCursorIndex(index);
}
float CTechCreator::ValueAtY(int y) const { return m_pPic ? m_pPic->ValueAtY(y) : -1.0f; }
int CTechCreator::ValueToY(float value) const { return m_pPic ? m_pPic->ValueToY(value) : 0; }
int CTechCreator::GetMaxParam() const { return m_pPic ? m_pPic->GetMaxParam() : 0; }
int CTechCreator::OnLButtonDown(int x, int y) { return m_pPic ? m_pPic->OnLButtonDown(x, y) : 0; }
int CTechCreator::OnMouse(int x, int y) { return m_pPic ? m_pPic->OnMouse(x, y) : 0; }
void CTechCreator::DrawFrame(CChartPainter& p) {
  if (m_pPic) m_pPic->DrawFrame(p);
}
int CTechCreator::HitTestTitle(int x, int y) { return m_pPic ? m_pPic->HitTestTitle(x, y) : 0; }
void CTechCreator::Reset() {
  if (m_pPic) m_pPic->Reset();
}
int CTechCreator::OnLButtonUp(int x, int y) { return m_pPic ? m_pPic->OnLButtonUp(x, y) : 0; }
int CTechCreator::HitTestLine(int x, int y) { return m_pPic ? m_pPic->HitTestLine(x, y) : 0; }

void CTechCreator::SetToolBars(const SHistoryUnit* bars, int count, int first, const int* xs,
                               int nx, int candleWidth) {
  CAnchorMap::SView view = m_anchors.View();
  view.dates.clear();
  if (bars && count > 0) {
    view.dates.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) view.dates.push_back(bars[i].nDate);
  }
  view.first = first;
  view.xs.assign(xs, xs + std::max(0, xs ? nx : 0));
  view.candleWidth = candleWidth;
  m_anchors.SetView(std::move(view));
  RefreshToolRange();
}

void CTechCreator::RefreshToolRange() {
  if (!m_pPic) return;
  CAnchorMap::SView view = m_anchors.View();
  view.plot = m_pPic->GetPlotRect();
  view.maximum = m_pPic->GetMax();
  view.minimum = m_pPic->GetMin();
  view.verticalScale = m_pPic->GetVerticalScale();
  m_anchors.SetView(std::move(view));
  // The figures clip to the plot as it is now.
  m_tools.SetCanvas(&m_anchors);
}
