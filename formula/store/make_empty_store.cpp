// make_empty_formula_store FOLDER: writes an empty but valid formula store
// (each kind's ".dat" file without a formula) into FOLDER, for the shipped
// program folder. The store fills a kind whose file is missing with its
// test examples; a user must see no such formula, so the program folder
// ships the files, empty. A kind whose file exists is left as it is: the
// user's formulas survive a rebuild.
#include <cstdio>
#include <filesystem>

#include "formula/store/formula_kinds.h"
#include "formula/store/formula_store.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_empty_formula_store FOLDER\n");
    return 2;
  }
  std::error_code made;
  std::filesystem::create_directories(argv[1], made);
  formula::CFormulaStore store;
  store.SetDirectoryOverride(argv[1]);
  for (int kind = 0; kind < FORMULA_KIND_COUNT; ++kind) {
    const std::filesystem::path dat = store.Directory() + formula::FormulaKindStem(kind) + ".dat";
    if (std::filesystem::exists(dat)) continue;
    store.Clear();
    store.SaveKind(kind);
    if (!std::filesystem::exists(dat)) {
      std::fprintf(stderr, "make_empty_formula_store: cannot write %s\n", dat.c_str());
      return 1;
    }
  }
  return 0;
}
