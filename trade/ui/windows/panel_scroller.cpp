#include "trade/ui/windows/panel_scroller.h"

#include <QScrollBar>
#include <QStyle>
#include <QWidget>
#include <algorithm>

bool CPanelScroller::Visible() const { return bar_ && !bar_->isHidden(); }

void CPanelScroller::MoveControls(int dy) {
  if (dy == 0) return;
  for (QObject* child : panel_->children()) {
    auto* w = qobject_cast<QWidget*>(child);
    if (w && w != bar_ && !w->isWindow()) w->move(w->x(), w->y() + dy);
  }
}

void CPanelScroller::ScrollTo(int offset) {
  MoveControls(offset_ - offset);
  offset_ = offset;
}

void CPanelScroller::Fit(int cx, int cy) {
  // The panel just placed its controls unscrolled.
  const int kept = offset_;
  offset_ = 0;
  int bottom = 0;
  for (QObject* child : panel_->children()) {
    auto* w = qobject_cast<QWidget*>(child);
    if (w && w != bar_ && !w->isWindow() && !w->isHidden())
      bottom = std::max(bottom, w->geometry().bottom() + 1);
  }
  const int needed = bottom + kMargin;
  if (needed <= cy || cy <= 0) {
    if (bar_) bar_->hide();
    return;
  }
  if (!bar_) {
    bar_ = new QScrollBar(Qt::Vertical, panel_);
    QObject::connect(bar_, &QScrollBar::valueChanged, panel_, [this](int v) { ScrollTo(v); });
  }
  const int width = panel_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  bar_->setGeometry(cx - width, 0, width, cy);
  const int range = needed - cy;
  const QSignalBlocker quiet(bar_);
  bar_->setRange(0, range);
  bar_->setPageStep(cy);
  bar_->setSingleStep(20);
  bar_->setValue(std::min(kept, range));
  bar_->show();
  bar_->raise();
  ScrollTo(bar_->value());
}
