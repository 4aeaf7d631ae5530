// The library's start and end. The library-wide working objects (the
// evaluator, the formula store, the history) are made on first use and go
// at unload in reverse order; nothing is loaded or saved here: the main
// frame loads the store with InitDefineTech and saves it with
// ExitDefineTech, so loading and unloading the library alone writes no file.
#include "formula/face/CalcFace.h"

namespace {

// The library's application object: it does no work at start or end.
class CFormulaApp {
 public:
  CFormulaApp() = default;
};

[[maybe_unused]] CFormulaApp theApp;

}  // namespace
