// The K-line object's screen side: the pane file, the layout and bar
// geometry, scrolling and zooming (fetching older bars), the cursor, keys,
// mouse, commands with their states, and drawing.
#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/gbk.h"
#include "platform/input.h"
#include "platform/menu.h"
#include "platform/msgbox.h"
#include "ui/ini_file.h"
#include "ui/sys_style.h"
#include "zeb/charts/kline/his_tech_obj.h"
#include "zeb/shell/store/public_store.h"

namespace {

const char* SectionCount() { return GBK("指标个数"); }
const char* SectionNames() { return GBK("指标类型"); }
constexpr int kInfoWidth = 66;
constexpr int kAxisHeight = 18;

bool CtrlDown() { return GetKeyState(VK_CONTROL) < 0; }
COLORREF SchemeColor(int id) { return CSysStyle::GetInstance()->GetColor(id); }

}  // namespace

// ---- Pane file ----

void CHisTechObj::LoadPanes() {
  CIniFile file;
  file.Open(m_strPaneFile, 0);
  int count = 0;
  std::string names;
  std::vector<std::string> list;
  if (!file.GetInt(SectionCount(), "001", &count)) {
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
  m_panes.clear();
  for (size_t i = 0; i < names.size() && i < size_t(kMaxPanes); ++i) {
    m_panes.push_back(std::make_unique<CTechCreator>());
    m_panes.back()->CreatePic(names[i]);
  }
  if (!m_panes.empty()) {
    m_panes[0]->SetFlags(m_nDisplayBits);
    m_panes[0]->SetExRightsData(m_exRights.data(), static_cast<int>(m_exRights.size()));
    m_panes[0]->SetInfoMarks(&m_titles);
  }
}

void CHisTechObj::SavePanes() const {
  CIniFile file;
  if (!file.Open(m_strPaneFile, 0)) return;
  const int count = static_cast<int>(m_panes.size());
  file.SetInt(SectionCount(), "001", &count, 1);
  std::string names;
  for (const auto& pane : m_panes) names += pane->GetName() + ",";
  file.SetString(SectionNames(), "001", names, 1);
}

void CHisTechObj::SetLastPaneTech(const char* name) {
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
    const int formulas = CFormulaFace::SizeAtSet(0);
    for (int k = 0; static_cast<int>(m_panes.size()) < count; ++k) {
      m_panes.push_back(std::make_unique<CTechCreator>());
      const char* code = k < formulas ? CFormulaFace::FormuCode(k, 0) : nullptr;
      m_panes.back()->CreatePic(code ? code : "VOL");
    }
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
  Recompute();
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
  for (auto& pane : m_panes) pane->SetCursorIndex(m_nCursor);
  ChipUpdate(1, &m_nCursor);
}

// ---- Scrolling and zooming ----

void CHisTechObj::ZoomIn() {
  if (m_nCursor < 0) m_nCursor = 0;
  const int n = m_nEnd - m_nFirst;
  if (n <= 10) return;
  const int keep = n * 10 / 11;
  m_nEnd = std::min<int>(m_nEnd, static_cast<int>(m_raw.size()));
  m_nFirst = std::max(0, m_nEnd - keep);
  Recompute();
}

void CHisTechObj::ZoomOut() {
  const int n = m_nEnd - m_nFirst;
  const int want = n * 11 / 10;
  const int first = m_nEnd - want;
  if (first < 0 && MayHaveOlder()) {
    m_nBarsWanted = -first;
    m_nScrollMode = 0;
    m_nFirst = 0;
    RequestKLine();
    return;
  }
  m_nFirst = std::max(0, first);
  if (first < 0) m_nEnd = std::min<int>(want, static_cast<int>(m_raw.size()));
  Recompute();
}

void CHisTechObj::PageLeft() {
  const int n = m_nEnd - m_nFirst;
  const int span =
      std::max(n, ToPixel((m_rcDateAxis.right - m_rcDateAxis.left) / std::max(0.01f, m_fBarWidth)));
  if (m_nFirst <= MinFirst() && MayHaveOlder()) {
    m_nBarsWanted = span;
    m_nScrollMode = 2;
    RequestKLine();
    return;
  }
  m_nFirst = std::max(m_nFirst - span, 0);
  m_nEnd = std::min<int>(m_nFirst + span, static_cast<int>(m_raw.size()));
  m_nCursor = -1;
  m_nCursorDate = -1;
  Recompute();
}

void CHisTechObj::PageRight() {
  const int count = static_cast<int>(m_raw.size());
  if (m_nEnd >= count) return;
  const int n = m_nEnd - m_nFirst;
  m_nEnd = std::min(count, m_nEnd + n);
  m_nFirst = std::max(0, m_nEnd - n);
  m_nCursor = -1;
  Recompute();
}

void CHisTechObj::MoveCursorTo(int offset) {
  m_nCursor = offset;
  const int bar =
      std::min<int>(m_nFirst + offset * m_nBarsPerColumn, static_cast<int>(m_raw.size()) - 1);
  if (bar >= 0 && m_pShown) {
    m_nCursorDate = m_pShown[bar].nDate & 0x7FFFFFFF;
    if (!m_panes.empty() && m_panes[0]->ValueAtY(m_nCursorY) == -1.0f)
      m_nCursorY = m_panes[0]->ValueToY(m_pShown[bar].fClose);
  }
  RefreshCursorInfo();
}

void CHisTechObj::CursorLeft() {
  m_bCursorShown = true;
  const int visible = m_nEnd - m_nFirst;
  if (m_nCursor < 0) {
    MoveCursorTo(visible - 1);
  } else if (m_nCursor > 0) {
    MoveCursorTo(m_nCursor - 1);
  } else if (m_nFirst <= MinFirst() && MayHaveOlder()) {
    m_nBarsWanted = visible;
    m_nScrollMode = 1;
    RequestKLine();
  } else if (m_nFirst > 0) {
    const bool full = visible >= static_cast<int>(m_x.size());
    --m_nFirst;
    if (full) --m_nEnd;
    Recompute();
  }
}

void CHisTechObj::CursorRight() {
  m_bCursorShown = true;
  const int visible = m_nEnd - m_nFirst;
  if (m_nCursor < 0) {
    MoveCursorTo(0);
  } else if (m_nCursor < visible - 1) {
    MoveCursorTo(m_nCursor + 1);
  } else if (m_nEnd < static_cast<int>(m_raw.size())) {
    ++m_nFirst;
    ++m_nEnd;
    Recompute();
    MoveCursorTo(m_nEnd - m_nFirst - 1);
  }
}

// ---- Keys ----

int CHisTechObj::OnKey(UINT key) {
  switch (key) {
    case VK_RETURN:
      return OnLButtonDblClk(0, 0), 1;
    case VK_ESCAPE:
      if (m_nIntervalState != 3) {
        m_nIntervalState = 3;
        if (m_hooks.intervalStat) m_hooks.intervalStat(nullptr, nullptr, 0, RECT{});
        return 1;
      }
      if (m_bCursorShown) {
        m_bCursorShown = false;
        return 1;
      }
      return 0;
    case VK_DELETE:
      return OnCommand(kline_cmd::kDeleteTool), 1;
    case VK_F8: {
      UINT next = static_cast<UINT>(m_nCheckedPeriod) + 1;
      if (next > kline_cmd::kLastPeriod) next = kline_cmd::kFirstPeriod;
      OnCommand(next);
      return 1;
    }
    default:
      break;
  }
  if (m_raw.empty()) return 1;
  switch (key) {
    case VK_END:
      MoveCursorTo(m_nEnd - m_nFirst - 1);
      break;
    case VK_HOME:
      MoveCursorTo(0);
      break;
    case VK_LEFT:
      CtrlDown() ? PageLeft() : CursorLeft();
      break;
    case VK_RIGHT:
      CtrlDown() ? PageRight() : CursorRight();
      break;
    case VK_UP:
      if (CtrlDown()) {
        if (!m_panes.empty()) m_panes[0]->Zoom(0);
      } else {
        ZoomIn();
      }
      break;
    case VK_DOWN:
      if (CtrlDown()) {
        if (!m_panes.empty()) m_panes[0]->Zoom(1);
      } else {
        ZoomOut();
      }
      break;
    default:
      return 0;
  }
  return 1;
}

// ---- Commands ----

int CHisTechObj::OnCommand(UINT id) {
  using namespace kline_cmd;
  CTechCreator* selected =
      m_nSelectedPane >= 0 && m_nSelectedPane < static_cast<int>(m_panes.size())
          ? m_panes[static_cast<size_t>(m_nSelectedPane)].get()
          : nullptr;
  auto formulaName = [&]() {
    return selected->GetName() == "KLINEMA" ? std::string("MA") : selected->GetName();
  };
  if (id >= kFirstPeriod && id <= kLastPeriod) {
    m_nCheckedPeriod = static_cast<int>(id);
    const int period = PeriodOfCommand(id);
    if (period != m_nPeriod) {
      m_nPeriod = period;
      m_nFirst = m_nEnd = 0;
      SetStock(nullptr);
      RequestKLine();
    }
    return 1;
  }
  if (id >= kFirstLayout && id <= kLastLayout) {
    static constexpr int kCounts[] = {1, 2, 3, 4, 6, 9};
    SetPaneCount(kCounts[id - kFirstLayout]);
    return 1;
  }
  if (id >= kFirstTool && id < kDeleteTool) {
    m_nTool = static_cast<int>(id - kFirstTool);
    m_nDrawState = id == kFirstTool ? 4 : 1;
    return 1;
  }
  switch (id) {
    case kStackedVolume:
    case kDisplayBit1:
      m_nDisplayBits ^= id == kStackedVolume ? 2 : 1;
      if (!m_panes.empty()) m_panes[0]->SetFlags(m_nDisplayBits);
      Redraw();
      return 1;
    case kIntervalStat:
      if (m_nIntervalState == 3) {
        m_nIntervalState = 0;
      } else {
        m_nIntervalState = 3;
        if (m_hooks.intervalStat) m_hooks.intervalStat(nullptr, nullptr, 0, RECT{});
        Redraw();
      }
      return 1;
    case kForward:
    case kBackward: {
      const int mode = id == kForward ? kExRightsForward : kExRightsBackward;
      if (mode != m_nExRightsMode) {
        BuildPowerReturnList();
        m_nExRightsMode = mode;
        if (!m_panes.empty()) m_panes[0]->SetExRightsHighlight(1);
        Recompute();
      }
      return 1;
    }
    case kNoAdjust:
      if (m_nExRightsMode != kExRightsNone) {
        m_nExRightsMode = kExRightsNone;
        if (!m_panes.empty()) m_panes[0]->SetExRightsHighlight(0);
        Recompute();
      }
      return 1;
    case kZoomIn:
      ZoomIn();
      return 1;
    case kZoomOut:
      ZoomOut();
      return 1;
    case kSwitchIndicator:
      if (selected && m_nSelectedPane > 0 && m_panes.size() > 1) {
        char name[256];
        std::snprintf(name, sizeof name, "%s", selected->GetName().c_str());
        if (CFormulaFace::OnOpenFormulaParasSet(name) == 1) {
          selected->CreatePic(name);
          RecalcLayout();
          SavePanes();
        }
      }
      return 1;
    case kIndicatorNote:
      if (selected) CFormulaFace::OnOpenFormulaDesc(formulaName().c_str());
      return 1;
    case kDeleteIndicator:
      if (selected && m_nSelectedPane > 0 && m_panes.size() > 1) {
        m_panes.erase(m_panes.begin() + m_nSelectedPane);
        m_nSelectedPane = -1;
        RecalcLayout();
        SavePanes();
      }
      return 1;
    case kIndicatorParams:
      if (selected && CFormulaFace::OnOpenSingleFormulaParasSet(formulaName().c_str())) {
        if (selected->GetName() != "MA") selected->CreatePic(selected->GetName());
        RecalcLayout();
      }
      return 1;
    case kEditFormula:
      if (selected) {
        SDefineReturn ret{};
        if (CFormulaFace::OnOpenDefineTechDlg(ret, formulaName().c_str()) == 1) {
          selected->CreatePic(selected->GetName());
          RecalcLayout();
        }
      }
      return 1;
    case kDeleteTool:
      m_nTool = -1;
      Redraw();
      return 1;
    default:
      return 0;
  }
}

int CHisTechObj::UpdateCommandUI(CCmdUI* ui) {
  using namespace kline_cmd;
  const UINT id = ui->m_nID;
  if (id == kStackedVolume) return ui->SetCheck((m_nDisplayBits & 2) ? 1 : 0), 1;
  if (id == kIntervalStat) return ui->SetCheck(m_nIntervalState != 3 ? 1 : 0), 1;
  if (id == kDisplayBit1) return ui->SetCheck((m_nDisplayBits & 1) ? 1 : 0), 1;
  if (id >= kFirstPeriod && id <= kLastPeriod)
    return ui->Enable(static_cast<int>(id) != m_nCheckedPeriod ? TRUE : FALSE), 1;
  if (id >= kForward && id <= kNoAdjust)
    return ui->SetCheck(static_cast<int>(id - kForward) == m_nExRightsMode ? 1 : 0), 1;
  if (id >= kFirstTool && id <= kDeleteTool) {
    ui->Enable(TRUE);
    if (id == kFirstTool)
      ui->SetCheck(m_nDrawState == 4 ? 1 : 0);
    else
      ui->SetCheck(m_nDrawState == 1 && static_cast<int>(id - kFirstTool) == m_nTool ? 1 : 0);
    return 1;
  }
  return 0;
}

// ---- Mouse ----

BOOL CHisTechObj::HitTest(int x, int y) { return PtInRect(m_rect, POINT{x, y}); }

int CHisTechObj::OnLButtonDown(int x, int y) {
  if (m_x.empty()) return 0;
  m_bCursorShown = true;
  if (m_nIntervalState == 0 || m_nIntervalState == 2) {
    m_nIntervalStart = m_nCursor;
    m_nIntervalState = 1;
    return 1;
  }
  if (m_nIntervalState == 1) {
    int a = m_nIntervalStart, b = m_nCursor + 1;
    if (b < a) std::swap(a, b);
    m_nIntervalStart = std::max(0, a);
    m_nIntervalEnd = std::min(b, m_nEnd - m_nFirst);
    m_nIntervalState = 2;
    if (m_hooks.intervalStat && m_pShown) {
      const int mid = (m_rcDateAxis.left + m_rcDateAxis.right) / 2;
      const RECT rect{mid - 200, m_rcDateAxis.top - 20 - 7 * 18, mid + 200, m_rcDateAxis.top - 20};
      m_hooks.intervalStat(m_item, m_pShown + m_nFirst + m_nIntervalStart,
                           m_nIntervalEnd - m_nIntervalStart, rect);
    }
    return 1;
  }
  const POINT pt{x, y};
  if (PtInRect(m_rcKLine, pt)) {
    m_rcZoom = RECT{x, y, x, y};
    m_bZoomActive = true;
    m_nSelectedPane = -1;
    for (size_t i = 0; i < m_panes.size(); ++i)
      if (m_panes[i]->OnLButtonDown(x, y)) {
        m_nSelectedPane = static_cast<int>(i);
        break;
      }
  }
  if (m_nSelectedPane < 0) {
    for (size_t i = 0; i < m_panes.size(); ++i)
      if (m_panes[i]->HitTest(x, y)) {
        m_nSelectedPane = static_cast<int>(i);
        return 1;
      }
    return PtInRect(m_rcKLine, pt) ? 0 : 1;
  }
  return 1;
}

int CHisTechObj::OnLButtonUp(int x, int y) {
  for (auto& pane : m_panes) pane->OnLButtonUp(x, y);
  m_nDrawState = 4;
  if (m_bZoomActive) {
    m_bZoomActive = false;
    if (!PtInRect(m_rcKLine, POINT{x, y}) || m_fBarWidth <= 0.0f) return m_bCursorShown ? 1 : 0;
    const float bars = float(x - m_rcZoom.left) / m_fBarWidth;
    if (bars < 11.0f) return 0;
    auto firstRightOf = [&](int px) {
      for (size_t i = 0; i < m_x.size(); ++i)
        if (m_x[i] > px) return static_cast<int>(i);
      return static_cast<int>(m_x.size());
    };
    const int first = m_nFirst;
    m_nEnd = first + firstRightOf(x);
    m_nFirst = first + firstRightOf(m_rcZoom.left);
    Recompute();
    return 1;
  }
  return m_bCursorShown ? 1 : 0;
}

int CHisTechObj::OnMouseMove(int x, int y) {
  const POINT pt{x, y};
  m_bMouseIn = PtInRect(m_rect, pt) != 0;
  if (!m_bMouseIn) m_bZoomActive = false;
  if (x == m_rect.left && y == m_rect.top) return 0;
  for (auto& pane : m_panes) pane->OnMouse(x, y);
  if (m_bZoomActive) {
    m_rcZoom.right = x;
    m_rcZoom.bottom = y;
  }
  const size_t limit = std::min<size_t>(3, m_panes.size());
  for (size_t i = 0; i < limit; ++i) {
    if (!m_panes[i]->HitTest(x, y)) continue;
    for (size_t k = 0; k < m_x.size(); ++k)
      if (x >= m_x[k] && x < m_x[k] + std::max(1.0f, m_fBarWidth)) {
        m_nCursorY = y;
        MoveCursorTo(static_cast<int>(k));
        return 1;
      }
    return 0;
  }
  return 0;
}

int CHisTechObj::OnLButtonDblClk(int x, int y) {
  if (m_bRequestPending || m_raw.empty()) return 0;
  for (size_t i = 0; i < m_panes.size(); ++i) {
    const int hit = m_panes[i]->HitTestTitle(x, y);
    if (hit == 0) continue;
    m_nSelectedPane = static_cast<int>(i);
    OnCommand(hit == 1 ? kline_cmd::kSwitchIndicator : kline_cmd::kIndicatorParams);
    return 1;
  }
  if (m_nPeriod == kDayPeriod && m_nCursor >= 0 && m_pShown) {
    if (m_hooks.mainCommand) m_hooks.mainCommand(kline_cmd::kDayTraceView);
    const int bar =
        std::min<int>(m_nFirst + m_nCursor * m_nBarsPerColumn, static_cast<int>(m_raw.size()) - 1);
    RequestDayTrace(m_pShown[bar].nDate);
  }
  return 1;
}

int CHisTechObj::OnRButtonDown(CDrawOwner* owner, int x, int y) {
  bool title = false;
  m_nSelectedPane = -1;
  for (size_t i = 0; i < m_panes.size(); ++i)
    if (m_panes[i]->HitTestLine(x, y) || m_panes[i]->HitTestTitle(x, y)) {
      m_nSelectedPane = static_cast<int>(i);
      title = m_panes[i]->HitTestTitle(x, y) != 0;
      break;
    }
  if (m_nSelectedPane < 0)
    for (size_t i = 0; i < m_panes.size(); ++i)
      if (m_panes[i]->HitTest(x, y)) {
        m_nSelectedPane = static_cast<int>(i);
        break;
      }
  SPopupMenu menu;
  menu.baseResource = 130;
  menu.baseSubMenu = title ? 4 : 3;
  if (!title && m_nSelectedPane > 0) {
    menu.items.push_back(SPopupItem{SPopupItem::Kind::kSeparator});
    menu.items.push_back(
        SPopupItem{SPopupItem::Kind::kCommand, kline_cmd::kSwitchIndicator, GBK("切换指标")});
  }
  if (owner) owner->TrackPopup(menu, x, y);
  return 1;
}

// ---- Drawing ----

int CHisTechObj::Draw(CDC* dc) {
  if (dc == nullptr) return 0;
  CDCPainter painter(dc);
  return Draw(painter);
}

int CHisTechObj::Draw(CChartPainter& p) {
  for (auto& pane : m_panes) pane->DrawFrame(p);
  if (m_raw.empty()) return 1;
  for (auto& pane : m_panes) pane->Paint(p);
  DrawDateAxis(p);
  if (m_bCursorShown && m_bMouseIn) DrawCrosshair(p);
  if (m_nIntervalState == 1 || m_nIntervalState == 2) {
    p.SetInvert(true);
    const SPenSpec pen{PS_SOLID, 1, 0};
    auto centre = [&](int offset) {
      offset = std::clamp(offset, 0, std::max(0, static_cast<int>(m_x.size()) - 1));
      return m_x.empty() ? m_rcKLine.left : m_x[static_cast<size_t>(offset)] + m_nCandleWidth / 2;
    };
    const int a = centre(m_nIntervalStart);
    p.Line(a, m_rcKLine.top + 16, a, m_rcKLine.bottom, pen);
    const int end = m_nIntervalState == 2 ? centre(m_nIntervalEnd - 1) : centre(m_nCursor);
    if (m_nIntervalState == 2) p.Line(end, m_rcKLine.top + 16, end, m_rcKLine.bottom, pen);
    const int mid = (m_rcKLine.top + m_rcKLine.bottom) / 2;
    p.Line(a, mid, end, mid, pen);
    p.SetInvert(false);
  }
  if (m_bZoomActive) {
    p.SetInvert(true);
    RECT r{std::min(m_rcZoom.left, m_rcZoom.right), std::min(m_rcZoom.top, m_rcZoom.bottom),
           std::max(m_rcZoom.left, m_rcZoom.right), std::max(m_rcZoom.top, m_rcZoom.bottom)};
    p.Rect(r, SPenSpec{PS_SOLID, 1, 0}, kHollow);
    p.SetInvert(false);
  }
  return 1;
}

void CHisTechObj::DrawDateAxis(CChartPainter& p) {
  if (!m_pShown) return;
  CFont* font = CSysStyle::GetInstance()->GetFont(2);
  const COLORREF color = SchemeColor(5);
  const SPenSpec pen{PS_SOLID, 1, color};
  int lastRight = -1000000;
  int previous = 0;
  for (size_t i = 0; i < m_x.size(); ++i) {
    const int bar = m_nFirst + static_cast<int>(i);
    if (bar >= static_cast<int>(m_raw.size())) break;
    const int date = m_pShown[bar].nDate;
    const int x = m_x[i] + m_nCandleWidth / 2;
    char text[16] = {};
    if (IsMinutePeriod(m_nPeriod)) {
      if (i == 0 || date / 10000 != previous / 10000)
        std::snprintf(text, sizeof text, "%04d", date / 10000);
    } else if (i == 0) {
      std::snprintf(text, sizeof text, "%d", date / 10000);
    } else if (m_nPeriod == kPeriodMonth) {
      if (date / 10000 != previous / 10000) std::snprintf(text, sizeof text, "%d", date / 10000);
    } else if (date / 100 != previous / 100) {
      std::snprintf(text, sizeof text, "%02d", date / 100 % 100);
    }
    previous = date;
    if (!text[0]) continue;
    const SIZE s = p.TextExtent(text, font);
    if (x <= lastRight) continue;
    p.Line(x, m_rcDateAxis.top, x, m_rcDateAxis.top + 6, pen);
    p.Text(text, RECT{x + 2, m_rcDateAxis.top, x + 2 + s.cx, m_rcDateAxis.bottom},
           DT_LEFT | DT_VCENTER | DT_SINGLELINE, color, font);
    lastRight = x + 2 + s.cx + 4;
  }
}

void CHisTechObj::DrawCrosshair(CChartPainter& p) {
  const int visible = m_nEnd - m_nFirst;
  if (m_nCursor < 0 || m_nCursor >= visible || m_nCursor >= static_cast<int>(m_x.size())) return;
  if (m_nCursorY < m_rect.top || m_nCursorY > m_rcDateAxis.top) return;
  const int x = m_x[static_cast<size_t>(m_nCursor)] + m_nCandleWidth / 2;
  p.SetInvert(true);
  p.Line(x, m_rect.top + 16, x, m_rcDateAxis.top, SPenSpec{});
  p.Line(m_rcDateAxis.left, m_nCursorY, m_rcDateAxis.right, m_nCursorY, SPenSpec{});
  p.SetInvert(false);
  CFont* font = CSysStyle::GetInstance()->GetFont(2);
  const SPenSpec frame{PS_SOLID, 1, SchemeColor(6)};
  std::string value = "-";
  for (auto& pane : m_panes) {
    const float v = pane->ValueAtY(m_nCursorY);
    if (v == -1.0f) continue;
    const std::string& name = pane->GetName();
    const int decimals = name.find("KLINE") != std::string::npos || name == "MA"
                             ? CPublic::GetPriceDecimals()
                             : CPublic::GetIndicatorDecimals(name);
    value = CPublic::FormatValue(v, decimals);
    break;
  }
  SIZE s = p.TextExtent(value, font);
  RECT box{m_rect.left + 66 - s.cx - 6, m_nCursorY - s.cy / 2 - 1, m_rect.left + 66,
           m_nCursorY + s.cy / 2 + 1};
  p.Rect(box, frame, 0xFF0000);
  p.Text(value, box, DT_CENTER | DT_VCENTER | DT_SINGLELINE, RGB(255, 255, 255), font);
  if (m_nCursorDate >= 0) {
    char date[16];
    std::snprintf(date, sizeof date, "%08d", m_nCursorDate);
    s = p.TextExtent(date, font);
    int left = std::min<int>(x, m_rcDateAxis.right - s.cx - 4);
    RECT dbox{left, m_rcDateAxis.top, left + s.cx + 4, m_rcDateAxis.bottom};
    p.Rect(dbox, frame, 0xFF0000);
    p.Text(date, dbox, DT_CENTER | DT_VCENTER | DT_SINGLELINE, RGB(255, 255, 255), font);
  }
}
