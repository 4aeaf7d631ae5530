// The drawing-tool state machine of a chart picture and the chart's tool
// commands.
#include "zeb/charts/tools/line_tool_set.h"

#include <algorithm>
#include <cstdlib>

void CLineToolSet::SetCanvas(const CToolCanvas* canvas) {
  m_pCanvas = canvas;
  for (CDrawLineTool& t : m_arTools) t.SetOwner(canvas);
}

void CLineToolSet::SetDrawMode(int tool) {
  m_nChosen = tool;
  m_nState = tool != 0 ? kArmed : kIdle;
}

POINT CLineToolSet::Clamp(int x, int y) const {
  if (!m_bGrabbed || !m_pCanvas) return POINT{x, y};
  const RECT r = m_pCanvas->GetPlotRect();
  return POINT{
      std::clamp(x, static_cast<int>(r.left), static_cast<int>(std::max(r.left, r.right - 1))),
      std::clamp(y, static_cast<int>(r.top), static_cast<int>(std::max(r.top, r.bottom - 1)))};
}

void CLineToolSet::Grab() {
  m_bGrabbed = true;
  if (m_pOwner) m_pOwner->CaptureMouse();
}

void CLineToolSet::Release() {
  if (m_bGrabbed && m_pOwner) m_pOwner->ReleaseMouse();
  m_bGrabbed = false;
}

CLineToolSet::Click CLineToolSet::OnLButtonDown(int x, int y) {
  const RECT plot = m_pCanvas ? m_pCanvas->GetPlotRect() : RECT{};
  if (!PtInRect(plot, POINT{x, y})) {
    m_nSelected = -1;
    for (CDrawLineTool& t : m_arTools) t.HitTest(x, y);
    m_nState = kIdle;
    return Click::kOutside;
  }
  if (m_nState == kIdle) {
    bool hit = false;
    for (size_t i = 0; i < m_arTools.size(); ++i) {
      const int part = m_arTools[i].HitTest(x, y);
      if (part == 0) continue;
      m_nHitPart = part;
      m_nSelected = static_cast<int>(i);  // the last figure hit wins
      hit = true;
    }
    if (hit) {
      Grab();
      m_nState = kDragging;
      m_ptDrag = POINT{x, y};
      return Click::kHandled;
    }
    m_nSelected = -1;
    return Click::kPassOn;
  }
  if (m_nState == kArmed) {
    Grab();
    for (CDrawLineTool& t : m_arTools) t.SetSelected(0);
    CDrawLineTool tool;
    tool.SetKind(m_nChosen - 1);
    tool.SetOwner(m_pCanvas);
    tool.SetColor(CDrawLineTool::kDefaultColor);
    tool.StartAt(x, y);
    m_arTools.push_back(tool);
    m_nState = kDrawing;
    return Click::kHandled;
  }
  return Click::kPassOn;
}

bool CLineToolSet::OnMouse(int x, int y) {
  const POINT p = Clamp(x, y);
  if (m_nState == kDragging && m_nSelected >= 0 &&
      m_nSelected < static_cast<int>(m_arTools.size())) {
    CDrawLineTool& tool = m_arTools[m_nSelected];
    const int dx = p.x - m_ptDrag.x, dy = p.y - m_ptDrag.y;
    if (m_nHitPart == CDrawLineTool::kBody) {
      // A move along either axis drags the figure; only no move at all is ignored.
      if (dx == 0 && dy == 0) return false;
      tool.SetOffset(dx, dy);
      m_ptDrag = p;
      m_cursor = Cursor::kSizeAll;
      return true;
    }
    MoveHitPoint(tool, p);
    m_cursor = std::abs(dy) >= std::abs(dx) ? Cursor::kSizeNS : Cursor::kSizeWE;
    m_ptDrag = p;
    return true;
  }
  if (m_nState == kDrawing && !m_arTools.empty()) {
    m_arTools.back().SetEnd(p.x, p.y);
    return true;
  }
  return false;
}

// An end or the third point of the dragged figure follows the mouse.
void CLineToolSet::MoveHitPoint(CDrawLineTool& tool, POINT p) {
  switch (m_nHitPart) {
    case CDrawLineTool::kFirstEnd:
      tool.StartAt(p.x, p.y);
      tool.SetSelected(m_nHitPart);
      break;
    case CDrawLineTool::kSecondEnd: tool.SetEnd(p.x, p.y); break;
    case CDrawLineTool::kThirdPoint: tool.SetThird(p.x, p.y); break;
    default: break;
  }
}

int CLineToolSet::OnLButtonUp(int x, int y) {
  const POINT p = Clamp(x, y);
  const RECT plot = m_pCanvas ? m_pCanvas->GetPlotRect() : RECT{};
  if (!PtInRect(plot, p)) return 0;
  if (m_nState == kDragging && m_nSelected >= 0 &&
      m_nSelected < static_cast<int>(m_arTools.size())) {
    CDrawLineTool& tool = m_arTools[m_nSelected];
    if (m_nHitPart == CDrawLineTool::kBody) {
      tool.MoveBy(p.x - m_ptDrag.x, p.y - m_ptDrag.y);
      m_ptDrag = p;
    } else {
      MoveHitPoint(tool, p);
    }
    m_cursor = Cursor::kArrow;
    m_nState = kIdle;
    Release();
    return 1;
  }
  if (m_nState == kDrawing && !m_arTools.empty()) {
    m_nSelected = static_cast<int>(m_arTools.size()) - 1;
    Release();
    m_arTools.back().SetEnd(p.x, p.y);
    m_nState = kIdle;
    return 1;
  }
  return 0;
}

int CLineToolSet::DeleteSelectedTool() {
  if (m_nSelected < 0 || m_nSelected >= static_cast<int>(m_arTools.size())) return 0;
  m_arTools.erase(m_arTools.begin() + m_nSelected);
  m_nSelected = -1;
  return 1;
}

void CLineToolSet::ClearTools() {
  m_arTools.clear();
  m_nSelected = -1;
}

void CLineToolSet::Draw(CDC* dc) {
  for (CDrawLineTool& t : m_arTools) t.Draw(dc);
}

namespace {

// The key of an item's figures; the packed fields are copied, never bound.
std::pair<uint16_t, int32_t> ShelfKey(SCodeInfo item) {
  const uint16_t market = item.market;
  const int32_t code = item.code;
  return {market, code};
}

}  // namespace

void CLineToolSet::SwitchItem(SCodeInfo item) {
  if (item == m_item) return;
  Release();
  for (CDrawLineTool& t : m_arTools) t.SetSelected(0);
  m_shelf[ShelfKey(m_item)] = std::move(m_arTools);
  m_arTools.clear();
  m_item = item;
  const auto it = m_shelf.find(ShelfKey(item));
  if (it != m_shelf.end()) {
    m_arTools = std::move(it->second);
    m_shelf.erase(it);
  }
  for (CDrawLineTool& t : m_arTools) t.SetOwner(m_pCanvas);
  m_nSelected = -1;
  m_nState = m_nChosen != 0 ? kArmed : kIdle;
}

int CLineToolCommands::OnCommand(UINT id, const std::vector<CLineToolSet*>& panes) {
  if (id < kSelect || id > kDelete) return 0;
  if (id == kDelete) {
    for (CLineToolSet* pane : panes) {
      if (pane && pane->DeleteSelectedTool()) break;
    }
    m_nTool = -1;
    return 1;
  }
  m_nTool = static_cast<int>(id - kSelect);
  m_nDrawState = id == kSelect ? CLineToolSet::kIdle : CLineToolSet::kArmed;
  for (CLineToolSet* pane : panes) {
    if (pane) pane->SetDrawMode(m_nTool);
  }
  return 1;
}

int CLineToolCommands::UpdateCommandUI(CCmdUI* ui) const {
  if (!ui || ui->m_nID < kSelect || ui->m_nID > kDelete) return 0;
  ui->Enable(TRUE);
  const int tool = static_cast<int>(ui->m_nID - kSelect);
  if (ui->m_nID == kSelect) {
    ui->SetCheck(m_nDrawState == CLineToolSet::kIdle ? 1 : 0);
  } else if (ui->m_nID != kDelete) {
    ui->SetCheck(m_nDrawState == CLineToolSet::kArmed && tool == m_nTool ? 1 : 0);
  }
  return 1;
}
