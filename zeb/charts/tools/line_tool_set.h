// CLineToolSet: the drawn figures of one chart picture and the mouse
// state machine that draws, selects and drags them (armed to draw,
// drawing, idle, dragging). The picture forwards its mouse events here
// and paints the set after its own lines.
//
// While a figure is drawn or dragged the mouse is grabbed through the
// picture's owner and every point is clamped to the plot, so a release
// outside the chart still ends the gesture. Figures are kept per item:
// switching the item puts the current figures aside and brings back that
// item's own.
#pragma once
#include <map>
#include <utility>
#include <vector>

#include "platform/cmd_ui.h"
#include "zeb/charts/tools/draw_line_tool.h"
#include "zeb/store/store_records.h"
#include "zeb/tables/base/draw_owner.h"

class CLineToolSet {
 public:
  enum State { kStart = 0, kArmed = 1, kDrawing = 2, kIdle = 4, kDragging = 5 };
  enum class Cursor { kArrow, kSizeNS, kSizeWE, kSizeAll };
  // What a press did: outside the plot (the picture drops its selected
  // line), handled by a figure, or left to the picture's own line picking.
  enum class Click { kOutside, kHandled, kPassOn };

  explicit CLineToolSet(const CToolCanvas* canvas = nullptr) : m_pCanvas(canvas) {}

  void SetCanvas(const CToolCanvas* canvas);
  void SetOwner(CDrawOwner* owner) { m_pOwner = owner; }
  // tool: 0 selection only, 1 line .. 5 Gann lines.
  void SetDrawMode(int tool);
  Click OnLButtonDown(int x, int y);
  // True when a drag or a drawing took the move.
  bool OnMouse(int x, int y);
  int OnLButtonUp(int x, int y);
  int DeleteSelectedTool();
  void ClearTools();
  // The figures, in order; the selected one shows its handles.
  void Draw(CDC* dc);

  // Puts the current figures aside under the old item and takes the new
  // item's (none for an item never drawn on).
  void SwitchItem(SCodeInfo item);

  int GetState() const { return m_nState; }
  int GetSelectedTool() const { return m_nSelected; }
  int GetChosenTool() const { return m_nChosen; }
  Cursor GetCursor() const { return m_cursor; }
  const std::vector<CDrawLineTool>& Tools() const { return m_arTools; }
  std::vector<CDrawLineTool>& Tools() { return m_arTools; }

 private:
  POINT Clamp(int x, int y) const;
  void MoveHitPoint(CDrawLineTool& tool, POINT p);
  void Grab();
  void Release();

  const CToolCanvas* m_pCanvas;
  CDrawOwner* m_pOwner = nullptr;
  int m_nState = kStart;
  int m_nSelected = -1;
  POINT m_ptDrag{};
  int m_nHitPart = 0;
  int m_nChosen = 0;
  bool m_bGrabbed = false;
  Cursor m_cursor = Cursor::kArrow;
  std::vector<CDrawLineTool> m_arTools;
  SCodeInfo m_item;
  std::map<std::pair<uint16_t, int32_t>, std::vector<CDrawLineTool>> m_shelf;
};

// The chart object's drawing-tool commands 29953-29959 ("选择划线", "直线",
// "矩形", "平行线", "黄金分割", "甘氏线", "删除") over the tool sets of its
// panes, and their check states.
class CLineToolCommands {
 public:
  static constexpr UINT kSelect = 29953;
  static constexpr UINT kLastTool = 29958;
  static constexpr UINT kDelete = 29959;

  // 1 when the id is one of the seven commands.
  int OnCommand(UINT id, const std::vector<CLineToolSet*>& panes);
  // Enables the seven; checks "选择划线" while idle and the chosen tool
  // while drawing. 0 for other ids.
  int UpdateCommandUI(CCmdUI* ui) const;
  int GetTool() const { return m_nTool; }
  int GetDrawState() const { return m_nDrawState; }

 private:
  int m_nTool = 0;
  int m_nDrawState = CLineToolSet::kIdle;
};
