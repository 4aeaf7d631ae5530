// The script editor's settings in the formula editor: the word lists come
// from the built-in function table, so colouring follows the language.
#pragma once
#include "formula/editor/ScriptScanner.h"

namespace formula {

// Not case-sensitive, the double quote as string quote, the apostrophe as
// comment character, "//" as comment keyword, the quote-series built-ins
// (category 0) as keywords and every other built-in as a function, each
// list upper case with a blank before the first name and after every name.
void ConfigureFormulaScript(CScriptScanner& scanner);

}  // namespace formula
