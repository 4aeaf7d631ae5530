// The dialog tables' slider (slider_ctrl.h).
#include "zeb/shell/dialogs/slider_ctrl.h"

#include <QSignalBlocker>
#include <QSlider>

namespace {

QWidget* MakeSlider(QWidget* parent, const platform::DialogItem&) {
  auto* slider = new QSlider(Qt::Horizontal, parent);
  slider->setFocusPolicy(Qt::StrongFocus);
  // Code sets positions under a signal blocker, so this is the user's move.
  QObject::connect(slider, &QSlider::valueChanged, slider,
                   [slider](int) { platform::NotifyParent(slider, kSliderMoved); });
  return slider;
}

}  // namespace

void RegisterSliderKind() {
  static const bool registered = (platform::RegisterControlKind(kSlider, MakeSlider), true);
  (void)registered;
}

void SetSliderRange(CWnd* wnd, int id, int lowest, int highest) {
  if (auto* s = wnd ? wnd->GetDlgItemT<QSlider>(id) : nullptr) {
    const QSignalBlocker quiet(s);
    s->setRange(lowest, highest);
  }
}

void SetSliderPos(CWnd* wnd, int id, int position) {
  if (auto* s = wnd ? wnd->GetDlgItemT<QSlider>(id) : nullptr) {
    const QSignalBlocker quiet(s);
    s->setValue(position);
  }
}

int GetSliderPos(const CWnd* wnd, int id) {
  const auto* s = wnd ? wnd->GetDlgItemT<QSlider>(id) : nullptr;
  return s ? s->value() : 0;
}
