// Reading the standard indicator list into formula records.
#include "zeb/charts/indicators/standard_indicators.h"

#include <cstring>
#include <sstream>

#include "formula/store/store_files.h"
#include "platform/gbk.h"

namespace {

bool CopyField(char* field, size_t size, const std::string& gbk) {
  if (gbk.size() >= size) return false;
  std::memcpy(field, gbk.data(), gbk.size());
  field[gbk.size()] = '\0';
  return true;
}

}  // namespace

bool ParseIndicatorList(const std::string& utf8, std::deque<SFormulaRecord>* out,
                        std::string* error) {
  out->clear();
  std::istringstream in(utf8);
  std::string line;
  int number = 0;
  auto fail = [&](const std::string& why) {
    *error = "line " + std::to_string(number) + ": " + why;
    out->clear();
    return false;
  };
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[') {
      const size_t close = line.find(']');
      if (close == std::string::npos || close == 1) return fail("bad code line");
      SFormulaRecord r;
      r.nKind = FORMULA_INDICATOR;
      if (!CopyField(r.szCode, sizeof r.szCode, line.substr(1, close - 1)))
        return fail("code too long");
      out->push_back(std::move(r));
      continue;
    }
    if (out->empty()) return fail("text before the first code");
    SFormulaRecord& r = out->back();
    const size_t eq = line.find('=');
    if (eq == std::string::npos) return fail("no '='");
    const std::string key = line.substr(0, eq);
    const std::string value = platform::Utf8ToGbk(line.substr(eq + 1));
    bool fits = true;
    if (key == "name") {
      fits = CopyField(r.szName, sizeof r.szName, value);
    } else if (key == "grid") {
      fits = CopyField(r.szGridLines, sizeof r.szGridLines, value);
    } else if (key == "params") {
      fits = CopyField(r.szParams, sizeof r.szParams, value);
    } else if (key == "body") {
      if (!r.strFormula.empty()) r.strFormula += "\r\n";
      r.strFormula += value;
    } else {
      return fail("unknown key " + key);
    }
    if (!fits) return fail(key + " too long");
  }
  return true;
}

bool BuildIndicatorStore(const std::string& utf8, std::string* dat, std::string* error) {
  std::deque<SFormulaRecord> records;
  if (!ParseIndicatorList(utf8, &records, error)) return false;
  *dat = formula::BuildDatFile(records);
  return true;
}
