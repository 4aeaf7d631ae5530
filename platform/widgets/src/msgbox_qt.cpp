// The program's message box: a real modal Qt box, installed as the default
// sink when the window layer loads, so every box of the program and of the
// libraries it loads (which link only the core part) is shown on screen.
#include <QApplication>
#include <QMessageBox>

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/qt_texts.h"

namespace platform {
namespace {

class QtMessageBoxSink : public MessageBoxSink {
 public:
  int Show(HWND owner, const std::string& text, const std::string& caption, UINT type) override {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
      // No widgets (a console tool): say it on standard error.
      return ConsoleMessageBoxSink().Show(owner, text, caption, type);
    }
    // The standard buttons speak the program's language (是/否, 确定/取消).
    InstallQtChineseTexts();
    QMessageBox box;
    // A box is answered, never minimised or maximised.
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint);
    box.setTextFormat(Qt::PlainText);  // server texts are never markup
    box.setWindowTitle(GbkToQString(caption));
    box.setText(GbkToQString(text));
    switch (type & 0xF0) {
      case MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
      case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
      case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
      case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
      default: break;
    }
    switch (type & 0xF) {
      case MB_OKCANCEL: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
      case MB_YESNO: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
      case MB_YESNOCANCEL:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
      default: box.setStandardButtons(QMessageBox::Ok); break;
    }
    switch (box.exec()) {
      case QMessageBox::Ok: return IDOK;
      case QMessageBox::Cancel: return IDCANCEL;
      case QMessageBox::Yes: return IDYES;
      case QMessageBox::No: return IDNO;
      default: return IDCANCEL;
    }
  }
};

// Never destroyed: a box asked for while the process exits still finds it.
[[maybe_unused]] const bool g_installed = (SetDefaultMessageBoxSink(new QtMessageBoxSink), true);

}  // namespace
}  // namespace platform
