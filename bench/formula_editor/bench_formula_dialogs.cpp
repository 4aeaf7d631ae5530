// Speed of the formula editor's window: colouring again after one
// keystroke in a 2,000-line formula in the real script box (target: under
// 2 ms), and opening the editor window over 500 stored formulas (target:
// under 150 ms offscreen).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTextBlock>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "formula/dialogs/FormularDlg.h"
#include "formula/dialogs/ScriptEdit.h"
#include "formula/editor/FormulaScriptWords.h"
#include "formula/face/CalcFace.h"
#include "formula/store/formula_store.h"
#include "formula_bench_data.h"
#include "platform/gbk.h"
#include "platform/window.h"
#include "platform/wnd.h"

namespace {

using namespace formula;

QApplication* Application() {
  static int argc = 1;
  static char name[] = "bench_formula_dialogs";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return app;
}

// Runs what is posted and deletes what was scheduled for deletion: outside
// a running event loop processEvents() leaves deleteLater() widgets alive,
// so every closed window would stay and each later open would pay for them.
void SettleEvents() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A key pressed and released as the user does (through the application,
// so its event filters see it).
void Keystroke(QWidget* widget, int key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &release);
}

// One keystroke typed into line 1000 of a shown script box: the document
// changes, the touched line is coloured and checked for rewrites, the box
// hears of it. Keystrokes alternate between typing "c" and Backspace.
void BM_RecolourAfterKeystrokeInTheScriptBox(benchmark::State& state) {
  Application();
  CTWScriptEdit edit;
  edit.resize(700, 500);
  edit.InitFormat();
  ConfigureFormulaScript(edit.Scanner());
  edit.setPlainText(platform::GbkToQString(platform::CrLfToLf(formula_bench::LongFormula())));
  edit.show();
  QCoreApplication::processEvents();
  QTextCursor cursor(edit.document()->findBlockByNumber(1000));
  cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 10);
  edit.setTextCursor(cursor);
  bool typed = false;
  for (auto _ : state) {
    if (typed) Keystroke(&edit, Qt::Key_Backspace, QString());
    else Keystroke(&edit, Qt::Key_C, "c");
    typed = !typed;
  }
  benchmark::DoNotOptimize(edit.document()->characterCount());
}
BENCHMARK(BM_RecolourAfterKeystrokeInTheScriptBox)->Unit(benchmark::kMicrosecond);

// The editor window made, loaded (five kinds read from their files, 500
// indicators), its tree items built, the preset formula shown, and the
// window shown and painted once. Closing (which writes the files) is not
// timed.
void BM_OpenEditorWindowWith500Formulas(benchmark::State& state) {
  Application();
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("bench_formula_dialogs_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  CFormulaStore& store = TheFormulaStore();
  store.SetDirectoryOverride(dir.string());
  formula_bench::Store500Formulas(store);
  for (auto _ : state) {
    CFormularDlg editor;
    editor.SetPresetName("F250");
    editor.Create(nullptr);
    editor.ShowWindow(SW_SHOW);
    QCoreApplication::processEvents();
    state.PauseTiming();
    editor.DestroyWindow();
    SettleEvents();
    state.ResumeTiming();
  }
  TheCalcFace().ForgetSelection();
  store.Clear();
  store.SetDirectoryOverride("");
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_OpenEditorWindowWith500Formulas)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
