// SubclassDlgItem: a window class takes the place of a control that a
// dialog's table (or other code) made, the way MFC windows subclass the
// statics of their dialog resource. Qt cannot change the class of a live
// widget, so the window is created where the control was, with its id,
// rectangle, style, text and font, and the control goes. Afterwards the id
// names exactly one child: the new window.
#include "wnd_internal.h"

using namespace platform::detail;

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  if (!parent || !parent->widget_ || created_ || !routes_ || !widget_) return FALSE;
  QWidget* control = parent->GetDlgItemWidget((int)id);
  if (!control || control == widget_) return FALSE;
  CWnd* controlWnd = FromWidget(control);
  const RECT rect = FromQRect(control->geometry());
  const DWORD style = (controlWnd->GetStyle() & ~WS_POPUP) | WS_CHILD;
  const std::string text = platform::GetWidgetText(control);
  CFont* font = controlWnd->GetFont();

  // The control leaves before the window arrives, so the id is never held
  // twice; the window takes its place in the stacking order.
  if (widget_->parentWidget() != parent->widget_) widget_->setParent(parent->widget_);
  widget_->stackUnder(control);
  control->setObjectName(QString());
  control->hide();
  if (CWnd* routed = LookupWnd(control); routed && routed->routes_) {
    routed->DestroyWindow();  // its owner deletes it, as after any DestroyWindow
  } else if (IsLayerOwned(control)) {
    control->setParent(nullptr);
    control->deleteLater();  // later: a signal of the control may be running
  }

  platform::SetWidgetText(widget_, text);
  if (font) SetFont(font, FALSE);
  return Create(parent, rect, id, style);
}
