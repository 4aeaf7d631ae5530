// The Qt application object that sends, posts and network requests need;
// made once per test program and kept to its end.
#pragma once
#include <QCoreApplication>

namespace shell_test {

inline void EnsureQtApp() {
  static int argc = 1;
  static char name[] = "test_shell";
  static char* argv[] = {name, nullptr};
  if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

}  // namespace shell_test
