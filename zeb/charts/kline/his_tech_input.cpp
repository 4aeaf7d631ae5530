// The K-line object's input: scrolling and zooming (fetching older bars
// when the view reaches the oldest held bar), the cursor, the keys, the
// commands with their check and enable states, and the mouse.
#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/gbk.h"
#include "platform/cmd_ui.h"
#include "platform/virtual_keys.h"
#include "platform/msgbox.h"
#include "settings/ini_file.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/charts/kline/his_tech_obj.h"
#include "zeb/store/public_store.h"

// ---- Scrolling and zooming ----

void CHisTechObj::ZoomIn() {
  if (m_nCursor < 0) m_nCursor = 0;
  const int n = m_nEnd - m_nFirst;
  if (n <= 10) return;
  const int keep = n * 10 / 11;
  m_nEnd = std::min<int>(m_nEnd, static_cast<int>(m_raw.size()));
  m_nFirst = std::max(0, m_nEnd - keep);
  Recompute(EChartChange::kRange);
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
  Recompute(EChartChange::kRange);
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
  Recompute(EChartChange::kRange);
}

void CHisTechObj::PageRight() {
  const int count = static_cast<int>(m_raw.size());
  if (m_nEnd >= count) return;
  const int n = m_nEnd - m_nFirst;
  m_nEnd = std::min(count, m_nEnd + n);
  m_nFirst = std::max(0, m_nEnd - n);
  m_nCursor = -1;
  Recompute(EChartChange::kRange);
}

void CHisTechObj::MoveCursorTo(int offset) {
  // Hidden, the cursor shows nowhere (the titles give the newest bar).
  if (m_bCursorShown) Changed(EChartChange::kCursor);
  m_nCursor = offset;
  const int bar =
      std::min<int>(m_nFirst + offset * m_nBarsPerColumn, static_cast<int>(m_raw.size()) - 1);
  if (bar >= 0 && m_pShown) {
    m_nCursorDate = m_pShown[bar].nDate & 0x7FFFFFFF;
    // The crosshair stays at its height in whichever pane it stands; only
    // off every pane does it go to the close.
    const bool inPane = std::any_of(m_panes.begin(), m_panes.end(), [&](const auto& pane) {
      return pane->ValueAtY(m_nCursorY) != -1.0f;
    });
    if (!m_panes.empty() && !inPane) m_nCursorY = m_panes[0]->ValueToY(m_pShown[bar].fClose);
  }
  RefreshCursorInfo();
}

void CHisTechObj::ParkPointer() {
  if (!m_pOwner) return;
  m_pOwner->MovePointer(m_rect.left, m_rect.top);
  m_bMouseIn = true;
}

void CHisTechObj::CursorLeft() {
  ParkPointer();
  // A cursor the user cannot see is no place to step from: Left starts at
  // the newest bar shown, Right at the oldest.
  const bool fresh = !HasCursor();
  m_bCursorShown = true;
  const int visible = m_nEnd - m_nFirst;
  if (fresh) {
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
    Recompute(EChartChange::kRange);
  }
}

void CHisTechObj::CursorRight() {
  const bool fresh = !HasCursor();
  m_bCursorShown = true;
  const int visible = m_nEnd - m_nFirst;
  if (fresh) {
    MoveCursorTo(0);
  } else if (m_nCursor < visible - 1) {
    MoveCursorTo(m_nCursor + 1);
  } else if (m_nEnd < static_cast<int>(m_raw.size())) {
    ++m_nFirst;
    ++m_nEnd;
    Recompute(EChartChange::kRange);
    MoveCursorTo(m_nEnd - m_nFirst - 1);
  }
}

// ---- Keys ----

int CHisTechObj::OnKey(UINT key) {
  // Every key moves the cursor or what shows over the chart; those that
  // scroll or zoom say so through Recompute.
  Changed(EChartChange::kCursor | EChartChange::kOverlay);
  const auto CtrlDown = [this] { return m_pOwner && m_pOwner->IsKeyDown(VK_CONTROL); };
  switch (key) {
    case VK_RETURN: return OnLButtonDblClk(0, 0), 1;
    case VK_ESCAPE:
      if (m_nIntervalState != 3) {
        m_nIntervalState = 3;
        if (m_hooks.intervalStat) m_hooks.intervalStat(nullptr, nullptr, 0, RECT{});
        return 1;
      }
      if (m_bCursorShown) {
        m_bCursorShown = false;
        RefreshCursorInfo();
        return 1;
      }
      return 0;
    case VK_DELETE: return OnCommand(kline_cmd::kDeleteTool), 1;
    case VK_F8: {
      UINT next = static_cast<UINT>(m_nCheckedPeriod) + 1;
      if (next > kline_cmd::kLastPeriod) next = kline_cmd::kFirstPeriod;
      OnCommand(next);
      return 1;
    }
    default: break;
  }
  if (m_raw.empty()) return 1;
  switch (key) {
    case VK_END:
      m_bCursorShown = true;
      MoveCursorTo(m_nEnd - m_nFirst - 1);
      break;
    case VK_HOME:
      m_bCursorShown = true;
      MoveCursorTo(0);
      break;
    case VK_LEFT: CtrlDown() ? PageLeft() : CursorLeft(); break;
    case VK_RIGHT: CtrlDown() ? PageRight() : CursorRight(); break;
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
    default: return 0;
  }
  return 1;
}

// ---- Commands ----

int CHisTechObj::OnCommand(UINT id) {
  // The figures' and the marks' commands change what lies over the chart;
  // the others say what they change through Recompute and the layout.
  Changed(EChartChange::kOverlay);
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
  if (id >= kFirstTool && id <= kDeleteTool) {
    m_toolCommands.OnCommand(id, ToolSets());
    Redraw();
    return 1;
  }
  switch (id) {
    case kStackedVolume:
    case kDisplayBit1:
      Changed(EChartChange::kSeries);
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
        Recompute(EChartChange::kSeries);
      }
      return 1;
    }
    case kNoAdjust:
      if (m_nExRightsMode != kExRightsNone) {
        m_nExRightsMode = kExRightsNone;
        if (!m_panes.empty()) m_panes[0]->SetExRightsHighlight(0);
        Recompute(EChartChange::kSeries);
      }
      return 1;
    case kZoomIn: ZoomIn(); return 1;
    case kZoomOut: ZoomOut(); return 1;
    case kSwitchIndicator:
      if (selected && m_nSelectedPane > 0 && m_panes.size() > 1) {
        char name[256];
        std::snprintf(name, sizeof name, "%s", selected->GetName().c_str());
        if (FormulaAccess().OnOpenFormulaParasSet(name) == 1) {
          selected->CreatePic(name);
          GiveKLineData();
          RecalcLayout();
          SavePanes();
        }
      }
      return 1;
    case kIndicatorNote:
      if (selected) FormulaAccess().OnOpenFormulaDesc(formulaName().c_str());
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
      if (selected && FormulaAccess().OnOpenSingleFormulaParasSet(formulaName().c_str())) {
        if (selected->GetName() != "MA") selected->CreatePic(selected->GetName());
        GiveKLineData();
        RecalcLayout();
      }
      return 1;
    case kEditFormula:
      if (selected) {
        SDefineReturn ret{};
        if (FormulaAccess().OnOpenDefineTechDlg(ret, formulaName().c_str()) == 1) {
          selected->CreatePic(selected->GetName());
          GiveKLineData();
          RecalcLayout();
        }
      }
      return 1;
    default: return 0;
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
  if (id >= kFirstTool && id <= kDeleteTool) return m_toolCommands.UpdateCommandUI(ui);
  return 0;
}

// ---- Mouse ----

namespace {

CDrawOwner::Cursor OwnerCursor(CLineToolSet::Cursor cursor) {
  switch (cursor) {
    case CLineToolSet::Cursor::kSizeNS: return CDrawOwner::Cursor::kSizeNS;
    case CLineToolSet::Cursor::kSizeWE: return CDrawOwner::Cursor::kSizeWE;
    case CLineToolSet::Cursor::kSizeAll: return CDrawOwner::Cursor::kSizeAll;
    default: return CDrawOwner::Cursor::kArrow;
  }
}

}  // namespace

void CHisTechObj::SetOwner(CDrawOwner* owner) {
  m_pOwner = owner;
  for (auto& pane : m_panes) pane->Tools().SetOwner(owner);
}

std::vector<CLineToolSet*> CHisTechObj::ToolSets() {
  std::vector<CLineToolSet*> sets;
  for (auto& pane : m_panes) sets.push_back(&pane->Tools());
  return sets;
}

bool CHisTechObj::AnyToolBusy() const {
  for (const auto& pane : m_panes) {
    const int state = pane->Tools().GetState();
    if (state == CLineToolSet::kDrawing || state == CLineToolSet::kDragging) return true;
  }
  return false;
}

int CHisTechObj::DateOfBar(int bar) const {
  if (!m_pShown || m_raw.empty()) return 0;
  bar = std::clamp(bar, 0, static_cast<int>(m_raw.size()) - 1);
  return m_pShown[bar].nDate & 0x7FFFFFFF;
}

int CHisTechObj::BarOfDate(int date) const {
  int bar = 0;
  while (bar < static_cast<int>(m_raw.size()) - 1 && DateOfBar(bar) < date) ++bar;
  return bar;
}

BOOL CHisTechObj::HitTest(int x, int y) { return PtInRect(m_rect, POINT{x, y}); }

bool CHisTechObj::IsInfoTableShown() const {
  return m_bCursorShown && m_bMouseIn && m_nCursor >= 0 && m_nCursorDate >= 0 &&
         m_pShown != nullptr;
}

void CHisTechObj::PlaceInfoTable(int left, int top) {
  // Kept wholly inside the chart, so it can always be taken back.
  const int width = m_rcInfo.right - m_rcInfo.left, height = m_rcInfo.bottom - m_rcInfo.top;
  left = std::max<int>(m_rect.left, std::min<int>(left, m_rect.right - width));
  top = std::max<int>(m_rect.top, std::min<int>(top, m_rect.bottom - height));
  m_rcInfo = RECT{left, top, left + width, top + height};
}

int CHisTechObj::OnLButtonDown(int x, int y) {
  Changed(EChartChange::kCursor | EChartChange::kOverlay);
  if (m_x.empty()) return 0;
  m_bCursorShown = true;
  // The panes' titles and line picking now follow the cursor.
  RefreshCursorInfo();
  if (m_nIntervalState == 0 || m_nIntervalState == 2) {
    // The marks keep to their bars (by date) when the chart scrolls
    // between and after the two clicks.
    m_nIntervalStartDate = DateOfBar(m_nFirst + std::max(0, m_nCursor));
    m_nIntervalState = 1;
    return 1;
  }
  if (m_nIntervalState == 1) {
    int start = BarOfDate(m_nIntervalStartDate), end = m_nFirst + std::max(0, m_nCursor) + 1;
    if (end < start) std::swap(start, end);
    start = std::max(0, start);
    end = std::min<int>(end, static_cast<int>(m_raw.size()));
    m_nIntervalStartDate = DateOfBar(start);
    m_nIntervalEndDate = DateOfBar(end - 1);
    m_nIntervalState = 2;
    if (m_hooks.intervalStat && m_pShown) {
      const int mid = (m_rcDateAxis.left + m_rcDateAxis.right) / 2;
      const RECT rect{mid - 200, m_rcDateAxis.top - 20 - 7 * 18, mid + 200, m_rcDateAxis.top - 20};
      m_hooks.intervalStat(m_item, m_pShown + start, end - start, rect);
    }
    return 1;
  }
  if (!m_bInfoDrag && IsInfoTableShown() && PtInRect(m_rcInfo, POINT{x, y})) {
    m_bInfoDrag = true;
    m_ptGrab = POINT{x - m_rcInfo.left, y - m_rcInfo.top};
    // A release outside the window still ends the drag.
    if (m_pOwner) m_pOwner->CaptureMouse();
    return 1;
  }
  // Every pane's figures see the press: the pane under it draws, selects
  // or drags a figure, the others drop their selection.
  for (size_t i = 0; i < m_panes.size(); ++i)
    if (m_panes[i]->Tools().OnLButtonDown(x, y) == CLineToolSet::Click::kHandled)
      m_nSelectedPane = static_cast<int>(i);
  if (AnyToolBusy()) return 1;
  const POINT pt{x, y};
  if (PtInRect(m_rcKLine, pt)) {
    m_rcZoom = RECT{x, y, x, y};
    m_bZoomActive = true;
  }
  // A press on an indicator line picks it in any pane; every other pane
  // lets go of the line it had picked.
  m_nSelectedPane = -1;
  for (size_t i = 0; i < m_panes.size(); ++i)
    if (m_panes[i]->OnLButtonDown(x, y) && m_nSelectedPane < 0)
      m_nSelectedPane = static_cast<int>(i);
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
  Changed(EChartChange::kOverlay);
  const bool figure = AnyToolBusy();
  for (auto& pane : m_panes) pane->Tools().OnLButtonUp(x, y);
  if (figure) {
    // A drawn figure ends the drawing mode: the next press selects.
    if (!AnyToolBusy()) m_toolCommands.OnCommand(kline_cmd::kFirstTool, ToolSets());
    if (m_pOwner) m_pOwner->SetCursor(CDrawOwner::Cursor::kArrow);
    return 1;
  }
  for (auto& pane : m_panes) pane->OnLButtonUp(x, y);
  if (m_bInfoDrag) {
    m_bInfoDrag = false;
    PlaceInfoTable(x - m_ptGrab.x, y - m_ptGrab.y);
    if (m_pOwner) m_pOwner->ReleaseMouse();
    return 1;
  }
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
    Recompute(EChartChange::kRange);
    return 1;
  }
  return m_bCursorShown ? 1 : 0;
}

int CHisTechObj::OnMouseMove(int x, int y) {
  const POINT pt{x, y};
  const bool wasIn = m_bMouseIn;
  m_bMouseIn = PtInRect(m_rect, pt) != 0;
  if (!m_bMouseIn && m_bZoomActive) {
    m_bZoomActive = false;
    Changed(EChartChange::kOverlay);
  }
  if (x == m_rect.left && y == m_rect.top) {
    // The pointer parked by the keys: the crosshair stays where they put it.
    Changed(EChartChange::kCursor | EChartChange::kOverlay);
    return 0;
  }
  // The dragged table follows the pointer wherever it goes, over the
  // panes too, where the crosshair would otherwise take the move.
  if (m_bInfoDrag) {
    Changed(EChartChange::kOverlay);
    PlaceInfoTable(x - m_ptGrab.x, y - m_ptGrab.y);
    return 1;
  }
  for (auto& pane : m_panes) {
    CLineToolSet& tools = pane->Tools();
    if (!tools.OnMouse(x, y)) continue;
    Changed(EChartChange::kOverlay);
    if (m_pOwner) m_pOwner->SetCursor(OwnerCursor(tools.GetCursor()));
    return 1;
  }
  for (auto& pane : m_panes) pane->OnMouse(x, y);
  m_ptMouse = pt;
  if (m_pOwner) {
    // A pane's indicator name and parameters open their dialogs on a
    // double click: the hand says so.
    bool title = false;
    for (auto& pane : m_panes) title = title || pane->HitTestTitle(x, y) != 0;
    m_pOwner->SetCursor(title ? CDrawOwner::Cursor::kHand : CDrawOwner::Cursor::kArrow);
  }
  if (m_bZoomActive) {
    m_rcZoom.right = x;
    m_rcZoom.bottom = y;
    Changed(EChartChange::kOverlay);
  }
  const size_t limit = std::min<size_t>(3, m_panes.size());
  for (size_t i = 0; i < limit; ++i) {
    if (!m_panes[i]->HitTest(x, y)) continue;
    for (size_t k = 0; k < m_x.size(); ++k)
      if (x >= m_x[k] && x < m_x[k] + std::max(1.0f, m_fBarWidth)) {
        m_nCursorY = y;
        MoveCursorTo(static_cast<int>(k));
        NoteMove();
        return 1;
      }
    NoteMove();
    return 0;
  }
  NoteMove();
  // Leaving the chart takes the crosshair and the information table away.
  return wasIn && !m_bMouseIn && m_bCursorShown ? 1 : 0;
}

int CHisTechObj::OnLButtonDblClk(int x, int y) {
  Changed(EChartChange::kOverlay);
  if (m_bRequestPending || m_raw.empty()) return 0;
  for (size_t i = 0; i < m_panes.size(); ++i) {
    const int hit = m_panes[i]->HitTestTitle(x, y);
    if (hit == 0) continue;
    m_nSelectedPane = static_cast<int>(i);
    OnCommand(hit == 1 ? kline_cmd::kSwitchIndicator : kline_cmd::kIndicatorParams);
    return 1;
  }
  if (!m_panes.empty() && m_panes[0]->HitTest(x, y) == 2 &&
      m_titles.count(static_cast<uint32_t>(m_nCursorDate))) {
    if (m_hooks.infoList) m_hooks.infoList(m_titles, m_nCursorDate);
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
  // The chosen pane and its picked line show.
  Changed(EChartChange::kOverlay);
  // A press on a pane's title or on one of its lines offers the
  // indicator's own commands; elsewhere the pane under the mouse is
  // chosen and the chart's menu offers to switch its indicator.
  bool title = false;
  m_nSelectedPane = -1;
  for (size_t i = 0; i < m_panes.size(); ++i)
    if (m_panes[i]->HitTestTitle(x, y) || m_panes[i]->HitTestLine(x, y)) {
      m_nSelectedPane = static_cast<int>(i);
      title = true;
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
