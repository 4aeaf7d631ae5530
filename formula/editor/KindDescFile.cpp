#include "formula/editor/KindDescFile.h"

#include "formula/store/formula_kinds.h"
#include "formula/functions/formula_types.h"
#include "platform/paths.h"
#include "vospel/IniParser.h"

namespace formula {

std::string ReadKindValue(const std::string& path, int kind, const char* key) {
  if (kind < 0 || kind >= FORMULA_KIND_COUNT || !key) return std::string();
  CIniParser parser;
  parser.SetIniFile(path.c_str());
  parser.LocateRegion(nullptr, FormulaKindStem(kind));
  const char* value = parser.ValOf(key);
  return value ? value : "";
}

bool WriteKindValue(const std::string& path, int kind, const char* key, const std::string& value) {
  if (kind < 0 || kind >= FORMULA_KIND_COUNT || !key || !*key) return false;
  CIniParser parser;
  // A file that exists but does not read is never replaced by what little
  // this call knows of it.
  if (!parser.SetIniFile(path.c_str()) && platform::FileExists(path)) return false;
  parser.LocateRegion(nullptr, FormulaKindStem(kind));
  parser <<= key;
  parser[0];
  // The parser's own assignment (not the value's) turns a key made by the
  // lookup into one that is written.
  if (!(parser << value.c_str())) return false;
  return parser.DumpIniFile() == 1;
}

}  // namespace formula
