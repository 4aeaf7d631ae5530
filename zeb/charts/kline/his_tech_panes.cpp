// The K-line object's panes: the pane file "INDEX/INDEX.DEX" (read with its
// count tamed to 1-9 and "KLINE" as the fallback), the layout of the panes
// and the bar geometry.
#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "settings/file_report.h"
#include "settings/ini_file.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/charts/kline/his_tech_obj.h"
#include "zeb/store/public_store.h"

namespace {

const char* SectionCount() { return GBK("指标个数"); }
const char* SectionNames() { return GBK("指标类型"); }
constexpr int kInfoWidth = 66;
constexpr int kAxisHeight = 18;
// The information table's place below the K-line title row: 16 rows of 18.
constexpr int kInfoTop = 16;
constexpr int kInfoBottom = 308;

}  // namespace

// ---- Pane file ----

void CHisTechObj::LoadPanes() {
  CIniFile file;
  file.Open(m_strPaneFile, 0);
  int count = 0;
  std::string names;
  std::vector<std::string> list;
  if (file.IsUnreadable()) {
    settings::ReportUnreadable(m_strPaneFile);
  } else if (!file.GetInt(SectionCount(), "001", &count)) {
    AfxMessageBox(GBK("执行目录下的INDEX\\INDEX.DEX 文件中没有[指标个数]-001项"));
  } else if (!file.GetString(SectionNames(), "001", names)) {
    AfxMessageBox(GBK("执行目录下的INDEX\\INDEX.DEX 文件中没有[指标类型]-001项"));
  } else {
    // A count outside 1-9 is taken to the nearest; panes without a name are dropped.
    count = std::clamp(count, 1, kMaxPanes);
    size_t start = 0;
    for (int i = 0; i < count && start < names.size(); ++i) {
      const size_t comma = names.find(',', start);
      std::string name =
          names.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
      while (!name.empty() && name.back() == ' ') name.pop_back();
      if (name.empty()) break;
      list.push_back(name);
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
  }
  if (list.empty()) list.push_back("KLINE");
  SetPaneNames(list);
}

void CHisTechObj::SetPaneNames(const std::vector<std::string>& names) {
  Changed(EChartChange::kSeries | EChartChange::kSize);
  m_panes.clear();
  for (size_t i = 0; i < names.size() && i < size_t(kMaxPanes); ++i) {
    m_panes.push_back(std::make_unique<CTechCreator>());
    m_panes.back()->CreatePic(names[i]);
  }
  SetOwner(m_pOwner);
  GiveKLineData();
}

void CHisTechObj::GiveKLineData() {
  if (m_panes.empty()) return;
  m_panes[0]->SetFlags(m_nDisplayBits);
  m_panes[0]->SetExRightsData(m_exRights.data(), static_cast<int>(m_exRights.size()));
  m_panes[0]->SetExRightsHighlight(m_nExRightsMode != kExRightsNone ? 1 : 0);
  m_panes[0]->SetInfoMarks(&m_titles);
  m_panes[0]->SetCaption(m_strCaption, 0);
}

void CHisTechObj::SavePanes() const {
  CIniFile file;
  if (!file.Open(m_strPaneFile, 0)) {
    // A missing file is not made; one that is there but unreadable is the
    // user's and is not written over.
    if (file.IsUnreadable()) settings::ReportUnreadable(m_strPaneFile);
    return;
  }
  const int count = static_cast<int>(m_panes.size());
  file.SetInt(SectionCount(), "001", &count, 1);
  std::string names;
  for (const auto& pane : m_panes) names += pane->GetName() + ",";
  file.SetString(SectionNames(), "001", names, 1);
  if (!file.Flush()) settings::ReportNotSaved(m_strPaneFile);
}

void CHisTechObj::SetLastPaneTech(const char* name) {
  Changed(EChartChange::kSeries);
  m_strLastTech = name ? name : "";
  if (m_panes.size() < 2 || m_strLastTech.empty()) return;
  m_panes.back()->CreatePic(m_strLastTech);
  RecalcLayout();
  SavePanes();
}

void CHisTechObj::SetPaneCount(int count) {
  count = std::clamp(count, 1, kMaxPanes);
  const int old = static_cast<int>(m_panes.size());
  if (count == old) return;
  if (count < old) {
    m_panes.resize(static_cast<size_t>(count));
  } else {
    CFormulaAccess& library = FormulaAccess();
    const int formulas = library.SizeAtSet(0);
    for (int k = 0; static_cast<int>(m_panes.size()) < count; ++k) {
      m_panes.push_back(std::make_unique<CTechCreator>());
      const char* code = k < formulas ? library.FormuCode(k, 0) : nullptr;
      m_panes.back()->CreatePic(code ? code : "VOL");
    }
    SetOwner(m_pOwner);
  }
  RecalcLayout();
  SavePanes();
}

// ---- Layout and geometry ----

int CHisTechObj::RecalcLayout() {
  const int l = m_rect.left, t = m_rect.top, r = m_rect.right, b = m_rect.bottom;
  const int n = std::max(1, static_cast<int>(m_panes.size()));
  const int unit = (b - t - 36) / (n + 2);
  m_rcKLine = RECT{l + kInfoWidth, t, r, b - (n - 1) * unit - kAxisHeight};
  if (!m_panes.empty())
    m_panes[0]->SetRect(m_rcKLine.left, m_rcKLine.top, m_rcKLine.right, m_rcKLine.bottom);
  const int base = m_rcKLine.bottom;
  for (int i = 1; i < static_cast<int>(m_panes.size()); ++i)
    m_panes[static_cast<size_t>(i)]->SetRect(l + kInfoWidth, base + (i - 1) * unit - 1, r,
                                             base + i * unit);
  m_rcDateAxis = RECT{l + kInfoWidth + 3, b - kAxisHeight, r - 3, b};
  m_rcInfo = RECT{l, t + kInfoTop, l + kInfoWidth, t + kInfoBottom};
  Recompute(EChartChange::kSize | EChartChange::kRange);
  const RECT price{l + kInfoWidth, t + 28, r, m_rcKLine.bottom - 12};
  ChipUpdate(3, &price);
  return 1;
}

int CHisTechObj::CandleWidthFor(float* barWidth) {
  const int w = static_cast<int>(*barWidth);
  if (w >= 67) {
    *barWidth = 65.0f;
    return 61;
  }
  if (w > 20) return static_cast<int>(*barWidth / 1.3f);
  if (w >= 18) return 15;
  if (w >= 15) return 13;
  if (w >= 13) return 11;
  if (w >= 11) return 9;
  if (w >= 9) return 7;
  if (w >= 6) return 5;
  if (w >= 3) return 3;
  return 1;
}

void CHisTechObj::SetBarGeometry() {
  const int width = m_rcDateAxis.right - m_rcDateAxis.left;
  const int n = m_nEnd - m_nFirst;
  m_fBarWidth = n > 0 && width > 0 ? float(width) / float(n) : 10.0f;
  m_nBarsPerColumn = width > 0 && width < n ? n / width + 1 : 1;
  m_nCandleWidth = CandleWidthFor(&m_fBarWidth);
}

void CHisTechObj::ComputeXPositions() {
  const int n = std::max(0, m_nEnd - m_nFirst);
  m_x.resize(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i)
    m_x[static_cast<size_t>(i)] = ToPixel(m_rcDateAxis.left + double(i) * m_fBarWidth);
}

void CHisTechObj::RefreshCursorInfo() {
  // Until the user shows a cursor the titles give the newest bar's values.
  const int titleBar = HasCursor() ? m_nCursor : m_nEnd - m_nFirst - 1;
  for (auto& pane : m_panes) pane->SetCursorIndex(titleBar);
  if (m_hooks.cursorInfo) {
    const int bar = std::min(m_nFirst + m_nCursor, m_nEnd - 1);
    if (m_nCursor >= 0 && m_pShown && bar >= 0) m_hooks.cursorInfo(&m_pShown[bar], ValueAtCursor());
    else m_hooks.cursorInfo(nullptr, "-");
  }
  ChipUpdate(1, &m_nCursor);
}

std::string CHisTechObj::ValueAtCursor() const {
  for (const auto& pane : m_panes) {
    const float v = pane->ValueAtY(m_nCursorY);
    if (v == -1.0f) continue;
    const std::string& name = pane->GetName();
    const int decimals = name.find("KLINE") != std::string::npos || name == "MA"
                             ? CPublic::GetPriceDecimals()
                             : CPublic::GetIndicatorDecimals(name);
    return CPublic::FormatValue(v, decimals);
  }
  return "-";
}
