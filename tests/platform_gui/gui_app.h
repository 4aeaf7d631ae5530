// The application object the device-context tests draw text with (fonts
// need a QGuiApplication); made once per test program.
#pragma once
#include <QGuiApplication>

namespace gdi_test {

inline void EnsureGuiApp() {
  static int argc = 1;
  static char arg0[] = "test_gdi";
  static char* argv[] = {arg0, nullptr};
  if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);
}

}  // namespace gdi_test
