// The geometry of a static two-pane splitter along one axis (rows, or
// columns side by side): each pane's ideal and minimum size, which one is
// hidden, and where the panes and the split bar lie for a given length.
// Kept apart from the window so the rules run without one.
//
// Layout: every shown pane but the last gets its ideal size (a pane whose
// ideal is below its minimum is collapsed to 0, a pane that would not fit
// gets what is left); the last shown pane takes the rest. One bar of
// kSplitBarSize lies between two shown panes.
#pragma once
#include <array>

constexpr int kSplitBarSize = 5;

struct SPaneSize {
  int ideal = 100;
  int min = 10;
  int cur = 0;
};

class CSplitLayout {
 public:
  static constexpr int kPanes = 2;

  void SetSize(int pane, int ideal, int min);
  const SPaneSize& Get(int pane) const { return m_panes[pane]; }
  // -1: both shown.
  int Hidden() const { return m_hidden; }
  void SetHidden(int pane) { m_hidden = pane; }
  int ShownCount() const { return m_hidden < 0 ? kPanes : kPanes - 1; }

  // Fills every pane's current size for the whole length; a hidden pane
  // gets 0.
  void Layout(int length);
  // Start offset of a pane after Layout (a hidden one: 0).
  int Offset(int pane) const;
  // Whether a point along the axis lies on the split bar.
  bool IsOnBar(int position) const;
  // The first pane's ideal size for a bar dragged to position (its top),
  // kept within the length so both panes stay on screen.
  void DragBarTo(int position, int length);

 private:
  std::array<SPaneSize, kPanes> m_panes{};
  int m_hidden = -1;
};
