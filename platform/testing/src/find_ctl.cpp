// Controls by id for tests.
#include "platform/testing/find_ctl.h"

#include <QTest>

namespace platform::testing {

QWidgetList ChildrenWithId(const CWnd& wnd, int id) {
  QWidgetList found;
  if (!wnd.GetWidget()) return found;
  const QString name = QString::number(id);
  for (QObject* child : wnd.GetWidget()->children())
    if (child->isWidgetType() && child->objectName() == name)
      found.push_back(static_cast<QWidget*>(child));
  return found;
}

void ClickCtl(const CWnd& wnd, int id) {
  if (auto* button = FindCtl<QAbstractButton>(wnd, id))
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

}  // namespace platform::testing
