// A window class taking the place of a control that a dialog's table made
// (MFC's SubclassDlgItem): the table gives the place, the class gives the
// behaviour. The control it replaces is deleted, so GetDlgItem finds the
// window class from then on.
#include <QWidget>

#include "wnd_internal.h"

using namespace platform::detail;

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  if (!parent || !parent->widget_ || !widget_ || !routes_ || created_) return FALSE;
  QWidget* placeholder = nullptr;
  const QString name = QString::number(id);
  for (QObject* c : parent->widget_->children()) {
    if (c->isWidgetType() && c != widget_ && c->objectName() == name) {
      placeholder = static_cast<QWidget*>(c);
      break;
    }
  }
  if (!placeholder) return FALSE;
  const RECT rect = FromQRect(placeholder->geometry());
  DWORD style = StoredStyle(placeholder) & ~(WS_VISIBLE | WS_DISABLED);
  if (!placeholder->isHidden()) style |= WS_VISIBLE;
  if (!placeholder->isEnabled()) style |= WS_DISABLED;
  const std::string text = platform::GetWidgetText(placeholder);
  CWnd* old = FromWidget(placeholder);
  CFont* font = old->GetFont();
  // Nameless from here on, so the window's OnCreate already finds itself by the id.
  placeholder->setObjectName(QString());
  if (font) SetFont(font);
  // The text is there before OnCreate, which may read it.
  if (!text.empty()) platform::SetWidgetText(widget_, text);
  if (!Create(parent, rect, id, style | WS_CHILD)) {
    placeholder->setObjectName(name);
    return FALSE;
  }
  MarkSubclassed(widget_);
  // Creating some classes (buttons) starts them empty: set it again.
  if (!text.empty()) platform::SetWidgetText(widget_, text);
  CopyCtlColor(placeholder, widget_);
  widget_->stackUnder(placeholder);
  QWidget::setTabOrder(placeholder, widget_);
  old->DestroyWindow();  // a window class made by the table gets its OnDestroy
  placeholder->hide();
  placeholder->setParent(nullptr);
  placeholder->deleteLater();
  return TRUE;
}
