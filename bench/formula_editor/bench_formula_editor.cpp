// Speed of the formula editor's logic: colouring again after one keystroke
// in a 2,000-line formula (target: well under 2 ms), colouring the whole
// text once, and opening the editor over a store of 500 formulas.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "formula/editor/FormulaEditorCore.h"
#include "formula/editor/FormulaScriptWords.h"
#include "formula/editor/ScriptScanner.h"
#include "formula/store/formula_store.h"
#include "formula_bench_data.h"

namespace {

using namespace formula;
using formula_bench::LongFormula;

// One keystroke: the lines it touched, each scanned again, their rewrites.
void BM_RecolourAfterKeystroke(benchmark::State& state) {
  CScriptScanner scanner;
  ConfigureFormulaScript(scanner);
  std::string text = LongFormula();
  // The keystroke: "c" typed into the middle of line 1000.
  size_t lineStart = 0;
  for (int i = 0; i < 1000; ++i) lineStart = text.find('\n', lineStart) + 1;
  const size_t position = lineStart + 10;
  text.insert(position, "c");
  SScriptLineScan scan;
  size_t tokens = 0;
  for (auto _ : state) {
    const SLineRange range = LinesTouchedByEdit(text, position, 1);
    // The widget hands over the touched lines; here they are found from the edit.
    size_t start = text.rfind('\n', position - 1) + 1;
    for (int line = range.first; line <= range.last; ++line) {
      size_t end = text.find('\n', start);
      const std::string_view view(text.data() + start,
                                  (end == std::string::npos ? text.size() : end) - start);
      scanner.ScanLine(view, scan);
      tokens += scan.tokens.size();
      benchmark::DoNotOptimize(CScriptScanner::Rewritten(view, scan));
      start = end + 1;
    }
  }
  benchmark::DoNotOptimize(tokens);
}
BENCHMARK(BM_RecolourAfterKeystroke)->Unit(benchmark::kMicrosecond);

// The whole 2,000-line text, line by line (setting the text).
void BM_ColourWholeText(benchmark::State& state) {
  CScriptScanner scanner;
  ConfigureFormulaScript(scanner);
  const std::string text = LongFormula();
  SScriptLineScan scan;
  for (auto _ : state) {
    size_t start = 0, tokens = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      scanner.ScanLine(std::string_view(text.data() + start, end - start), scan);
      tokens += scan.tokens.size();
      start = end + 1;
    }
    benchmark::DoNotOptimize(tokens);
  }
}
BENCHMARK(BM_ColourWholeText)->Unit(benchmark::kMillisecond);

// Opening the editor: five kinds reloaded from their files (500 indicators),
// the tree and group list built.
void BM_OpenEditorWith500Formulas(benchmark::State& state) {
  static int argc = 1;
  static char name[] = "bench_formula_editor";
  static char* argv[] = {name, nullptr};
  if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("bench_formula_editor_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  CFormulaStore& store = TheFormulaStore();
  store.SetDirectoryOverride(dir.string());
  formula_bench::Store500Formulas(store);
  for (auto _ : state) {
    CFormulaEditorCore editor;
    editor.SetPresetName("F250");
    editor.Open();
    benchmark::DoNotOptimize(editor.Tree().kinds[0].children.size());
    state.PauseTiming();
    editor.Close();  // writes the files again; not part of opening
    state.ResumeTiming();
  }
  store.Clear();
  store.SetDirectoryOverride("");
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_OpenEditorWith500Formulas)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
