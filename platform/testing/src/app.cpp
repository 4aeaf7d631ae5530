// The one application object of a widget test program.
#include "platform/testing/app.h"

#include <QTest>
#include <cstdlib>

namespace platform::testing {

QApplication* EnsureApplication() {
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return app;
  // ctest sets this; a program started by hand gets the same screen.
  setenv("QT_QPA_PLATFORM", "offscreen:configfile=" ZEB_OFFSCREEN_SCREEN, 0);
  static int argc = 1;
  static char arg0[] = "widget-test";
  static char* argv[] = {arg0, nullptr};
  return new QApplication(argc, argv);
}

bool ShowAndActivate(QWidget* window) {
  window->show();
  window->activateWindow();
  QApplication::setActiveWindow(window);
  return QTest::qWaitForWindowExposed(window) && QTest::qWaitForWindowActive(window);
}

}  // namespace platform::testing
