// Pictures of the shell's own windows (shell_pictures.h).
#include "tools/screenshot/shell_pictures.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <cstdio>

#include "formula/face/FormulaFace.h"
#include "platform/testing/app.h"
#include "platform/testing/modal_script.h"
#include "platform/window.h"
#include "zeb/shell/frame/main_frame.h"
#include "zeb/shell/input/input_dlg.h"

namespace {

// A standard indicator of the program folder's store, with its parameters.
constexpr const char* kExampleIndicator = "MACD";

template <class T>
T* Child(QWidget* parent, int id) {
  return parent ? parent->findChild<T*>(QString::number(id)) : nullptr;
}

}  // namespace

void PictureInputBox(CMainFrame& frame, const KeepPicture& keep, int timeoutMs,
                     SShellPictures* seen) {
  platform::testing::ScopedModalScript script{[&](CDialog& dialog) {
    auto* box = dynamic_cast<CInput*>(&dialog);
    auto* edit = Child<QLineEdit>(dialog.GetWidget(), IDC_INPUT_EDIT);
    if (!box || !edit) return;
    platform::testing::ShowAndActivate(dialog.GetWidget());
    // The first initial opened the box and is typed into it; then the rest.
    platform::PumpUntil([&] { return !edit->text().isEmpty(); }, timeoutMs);
    QTest::keyClicks(edit, QString::fromLatin1(kPictureInitials + 1));
    platform::PumpUntil([&] { return edit->text() == QLatin1String(kPictureInitials); }, timeoutMs);
    seen->inputLines = box->Results().Lines();
    keep("06-input-box.png", nullptr);
    QTest::keyClick(edit, Qt::Key_Return);  // opens the first result
  }};
  frame.SendMessage(WM_CHAR, UINT(kPictureInitials[0]), 0);
}

void PictureMenus(CMainFrame& frame, const KeepPicture& keep) {
  auto* bar = frame.GetWidget()->findChild<QMenuBar*>();
  if (!bar) return;
  int number = 0;
  for (QAction* action : bar->actions()) {
    QMenu* menu = action->menu();
    if (!menu) continue;
    menu->popup(bar->mapToGlobal(bar->actionGeometry(action).bottomLeft()));
    platform::PumpMessages(50);
    char file[32];
    std::snprintf(file, sizeof file, "11-menu-%02d.png", ++number);
    keep(file, nullptr);
    menu->hide();
  }
}

void PictureFormulaDialogs(const KeepPicture& keep, SShellPictures* seen) {
  auto picture = [&](const char* name) {
    return [&keep, seen, name](CDialog& dialog) {
      platform::PumpMessages(20);  // pending layout and paints
      keep(name, nullptr);
      ++seen->formulaDialogs;
      dialog.EndDialog(IDCANCEL);
    };
  };
  platform::testing::ScopedModalScript script{picture("07-formula-editor.png"),
                                              picture("08-indicator-parameters.png"),
                                              picture("09-indicator-settings.png")};
  SDefineReturn ret{};
  CFormulaFace::OnOpenDefineTechDlg(ret, kExampleIndicator);
  CFormulaFace::OnOpenSingleFormulaParasSet(kExampleIndicator);
  char name[sizeof(SFormulaRecord::szCode)] = {};
  std::snprintf(name, sizeof name, "%s", kExampleIndicator);
  CFormulaFace::OnOpenFormulaParasSet(name);
}
