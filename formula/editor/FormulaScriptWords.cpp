#include "formula/editor/FormulaScriptWords.h"

#include "formula/text/GbkText.h"
#include "formula/functions/builtin_functions.h"

namespace formula {

void ConfigureFormulaScript(CScriptScanner& scanner) {
  scanner.SetCaseSensitive(0);
  scanner.SetStringQuotes("\"");
  scanner.SetCommentChars('\'', '\0');
  scanner.SetCommentKeyword("//");
  std::string keywords = " ";
  std::string functions = " ";
  for (const SFunctionItem& row : BuiltinTable()) {
    if (row.szName[0] == '\0') break;
    std::string& list = row.nCategory == FUNC_QUOTE ? keywords : functions;
    list += row.szName;
    list += ' ';
  }
  FoldUpperAscii(keywords.data());
  FoldUpperAscii(functions.data());
  scanner.SetKeywords(keywords.c_str());
  scanner.SetFunctions(functions.c_str());
}

}  // namespace formula
