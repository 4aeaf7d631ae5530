// A vertical scroll bar for a trading panel whose controls do not fit the
// area the main dialog gives it (a short pane cuts off the lowest rows):
// after the panel has laid its controls out for its size, the scroller
// measures how far down they reach and, when that is past the bottom,
// shows a bar at the right edge that moves every control up and down.
// Controls the panel stretches to its bottom always fit, so a panel that
// fits shows no bar and its controls stay exactly where it put them.
#pragma once
#include <QPointer>

class QScrollBar;
class QWidget;

class CPanelScroller {
 public:
  // Space kept below the lowest control when scrolled to the end.
  static constexpr int kMargin = 5;

  explicit CPanelScroller(QWidget* panel) : panel_(panel) {}

  // Call right after the panel placed its controls for a client size of
  // cx by cy (at the top, unscrolled): shows, resizes or hides the bar and
  // keeps the scrolled position where it can.
  void Fit(int cx, int cy);
  // How far the controls are scrolled up (0 without a bar).
  int Offset() const { return offset_; }
  bool Visible() const;

 private:
  void ScrollTo(int offset);
  void MoveControls(int dy);

  QWidget* panel_;
  QPointer<QScrollBar> bar_;
  int offset_ = 0;
};
