// The application object of a widget test, on the offscreen screen that
// ctest configures (1920 x 1080 at 96 dpi, large enough for the main
// frame's minimum size). A test program run by hand gets the same screen.
#pragma once
#include <QApplication>

namespace platform::testing {

// Makes the application object once (offscreen unless QT_QPA_PLATFORM says
// otherwise) and returns it.
QApplication* EnsureApplication();

// Shows a top-level widget and waits until it is exposed and active, so
// focus and keys reach it.
bool ShowAndActivate(QWidget* window);

}  // namespace platform::testing
