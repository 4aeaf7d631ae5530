// ST_SplitterWnd: the static two-pane splitter that fills the main frame
// (market pane on top, trade pane below). Beyond a plain splitter it hides
// one pane and shows it again with its sizes kept, holds several views per
// pane and switches which one is shown (the quote list and the chart view
// share the market pane), and tells its parent when the user has dragged
// the split bar (WM_SPLITTER_MOVED).
//
// Panes are the children with the pane ids 0xE900 + row * 16 + column; a
// view put aside has id 0 and is hidden. The splitter owns every view it
// created. User-interface thread only.
#pragma once
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/wnd.h"
#include "zeb/core/splitter/split_layout.h"

// Makes a new, not yet created view for a pane; null when it cannot.
using SplitterViewFactory = std::function<CWnd*()>;

class ST_SplitterWnd : public CWndImpl<QWidget> {
 public:
  explicit ST_SplitterWnd(int parameter = 0);
  ~ST_SplitterWnd() override;

  using CWnd::Create;
  // Two rows (or two columns side by side); the first view goes to pane 0
  // and the second to pane 1 when their factories are given.
  BOOL Create(CWnd* parent, const SplitterViewFactory& first, const SplitterViewFactory& second,
              bool sideBySide, UINT id);
  // A new view in the pane, shown at once; its index in the pane's list,
  // or -1 when it could not be created (the list is left as it was).
  int AddView(int pane, const SplitterViewFactory& factory);
  // Shows view v of the pane (-1: the one after the current, wrapping).
  void SwitchView(int pane, int view = -1);
  CWnd* GetView(int pane, int view) const;
  int GetViewCount(int pane) const;
  int GetCurrentView(int pane) const;
  // The window at a place, by its pane id; null when none.
  CWnd* GetPane(int row, int col) const;
  static UINT IdFromRowCol(int row, int col);

  // Hides the pane when none is hidden, shows it when it is the hidden
  // one, and does nothing while another one is hidden.
  void TogglePane(int index);
  bool IsHidden(int index) const { return m_layout.Hidden() == index; }
  void SaveSizes();
  void RestoreSizes();
  void SetRowInfo(int index, int ideal, int min);
  void GetRowInfo(int index, int* cur, int* min) const;
  void RecalcLayout();

  // The pane whose view has the user's attention; hiding its row moves it.
  void SetActivePane(int index) { m_activePane = index; }
  int GetActivePane() const { return m_activePane; }
  bool IsSideBySide() const { return m_sideBySide; }
  // What a place without a view shows (the owner's background colour).
  void SetEmptyPaneColor(COLORREF color) { m_emptyColor = color; }
  const std::string& GetName() const { return m_name; }
  int GetParameter() const { return m_parameter; }

  void OnSize(UINT type, int cx, int cy) override;
  void OnPaint() override;
  BOOL OnEraseBkgnd(CDC* dc) override;
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void OnLButtonUp(UINT flags, CPoint point) override;
  void OnDestroy() override;

 private:
  UINT PlaceId(int index) const;
  UINT HiddenId() const;
  int Length() const;
  int AlongAxis(CPoint point) const;
  RECT BarRect() const;

  CSplitLayout m_layout;
  std::array<SPaneSize, CSplitLayout::kPanes> m_saved{};
  bool m_sideBySide = false;
  std::string m_name = "SplitterWnd";
  int m_parameter;  // given by the creator; kept, read by nobody here
  std::array<std::vector<std::unique_ptr<CWnd>>, 2> m_views;
  std::array<int, 2> m_current{{-1, -1}};
  int m_activePane = 0;
  bool m_dragging = false;
  COLORREF m_emptyColor = RGB(0, 0, 0);
};
