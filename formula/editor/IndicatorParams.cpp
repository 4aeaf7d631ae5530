#include "formula/editor/IndicatorParams.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "formula/text/GbkText.h"
#include "formula/editor/FieldText.h"
#include "formula/editor/ParamText.h"
#include "formula/editor/ParamsDesc.h"
#include "formula/face/CalcFace.h"
#include "formula/store/formula_store.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"

namespace formula {

namespace {

constexpr unsigned kMinMALines = 1;
constexpr unsigned kMaxMALines = 7;

void Refuse(const char* message) { AfxMessageBox(message, MB_OK); }

void RefuseLineCount() {
  char text[128];
  std::snprintf(text, sizeof text, GBK("K线条数在%d和%d之间"), int(kMinMALines), int(kMaxMALines));
  Refuse(text);
}

// The parameters of the indicator as the library's evaluator compiles it;
// empty for an empty name, an unknown indicator or a failed compile.
std::vector<SParamRecord> CompiledParams(const char* name) {
  if (!name || !*name) return {};
  CCalcFace& evaluator = TheCalcFace();
  if (!evaluator.Calc(FORMULA_INDICATOR, name, nullptr, 0)) return {};
  return evaluator.Params();
}

int Truncated(float v) {
  if (std::isnan(v)) return 0;
  if (v >= float(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (v <= float(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return int(v);
}

// Stores the parameter text (and the formula text when given) into the
// indicator's record; refuses a parameter text that does not fit.
int StoreTexts(const char* name, std::string params, const std::string* body) {
  FoldLowerAscii(params.data());
  if (!ParamTextFits(params)) {
    Refuse(ParamTextTooLongMessage());
    return 0;
  }
  SFormulaRecord* record = TheFormulaStore().Find(FORMULA_INDICATOR, name);
  if (!record) return 0;
  std::memset(record->szParams, 0, sizeof record->szParams);
  std::memcpy(record->szParams, params.data(), params.size());
  if (body) record->strFormula = *body;
  return 1;
}

}  // namespace

SParamLayout LayoutParamRows(const char* name) {
  SParamLayout layout;
  const std::vector<SParamRecord> params = CompiledParams(name);
  layout.paramCount = int(params.size());
  layout.isMA = IsMAIndicator(name);
  if (layout.isMA) layout.lineCount = unsigned(params.size());
  if (params.empty()) return layout;

  CParamsDescParse desc;
  desc.Load(ReadParamsDesc(TheFormulaStore().Directory(), FORMULA_INDICATOR, name).c_str());
  for (size_t i = 0; i < params.size() && i < size_t(kParamRows); ++i) {
    const SParamRecord& p = params[i];
    SParamRow row;
    row.value = std::to_string(Truncated(p.defaultValue));
    row.name = p.name;
    std::string line;
    row.described = desc.Line(int(i), line);
    if (row.described) {
      desc.LinePrefix(int(i), row.prefix);
      desc.LineSuffix(int(i), row.suffix);
    }
    row.spinMinimum = Truncated(p.minimum);
    row.spinMaximum = Truncated(p.maximum);
    layout.rows.push_back(std::move(row));
  }
  return layout;
}

bool IsMAIndicator(const char* name) { return name && EqualNoCase(name, "MA"); }

int ApplyParams(const char* name, const std::vector<std::string>& values, bool requirePositive) {
  const std::vector<SParamRecord> params = CompiledParams(name);
  if (params.empty()) return 0;
  std::string text;
  for (size_t i = 0; i < params.size(); ++i) {
    const SParamRecord& p = params[i];
    if (i >= size_t(kParamRows)) {
      // Not shown in the rows: keep the declaration as compiled.
      AppendParamDeclaration(text, p.name, p.minimum, p.maximum, p.defaultValue, p.step);
      continue;
    }
    const std::string typed = i < values.size() ? values[i] : std::string();
    if (requirePositive && std::atol(typed.c_str()) <= 0) {
      Refuse(GBK("参数必须大于零"));
      return 0;
    }
    std::string value, message;
    if (!CheckParamValue(typed, p.name, p.minimum, p.maximum, value, message)) {
      Refuse(message.c_str());
      return 0;
    }
    AppendParamDeclaration(text, p.name, p.minimum, p.maximum, value, p.step);
  }
  return StoreTexts(name, std::move(text), nullptr);
}

bool SingleTechSetOK(const char* name, unsigned lineCount, const std::vector<std::string>& values) {
  if ((lineCount < kMinMALines || lineCount > kMaxMALines) && IsMAIndicator(name)) {
    RefuseLineCount();
    return false;
  }
  return ApplyParams(name, values, true) == 1;
}

int ChangeMALineCount(const char* name, unsigned count, const std::vector<std::string>& values) {
  if (count < kMinMALines || count > kMaxMALines) {
    RefuseLineCount();
    return 0;
  }
  const std::vector<SParamRecord> params = CompiledParams(name);
  if (params.empty()) return 0;
  const SParamRecord& first = params[0];
  std::string text, body = "{\r\n", previous;
  for (unsigned i = 0; i < count; ++i) {
    char lineName[16];
    std::snprintf(lineName, sizeof lineName, "M%u", i + 1);
    const std::string typed = i < values.size() ? values[i] : std::string();
    std::string value;
    if (typed.empty() || typed == "0") {
      value = i == 0 ? "10" : std::to_string(std::atol(previous.c_str()) + 5);
    } else {
      std::string message;
      if (!CheckParamValue(typed, lineName, first.minimum, first.maximum, value, message)) {
        Refuse(message.c_str());
        return 0;
      }
    }
    AppendParamDeclaration(text, lineName, first.minimum, first.maximum, value, first.step);
    previous = value;
    char line[64];
    std::snprintf(line, sizeof line, "MA%u:MA(CLOSE,M%u);\r\n", i + 1, i + 1);
    body += line;
  }
  body += "}";
  return StoreTexts(name, std::move(text), &body);
}

std::vector<SIndicatorRow> IndicatorRows() {
  std::vector<SIndicatorRow> rows;
  for (const SFormulaRecord& r : TheFormulaStore().Formulas(FORMULA_INDICATOR))
    rows.push_back({FieldText(r.szCode), FieldText(r.szName)});
  return rows;
}

int PresetIndicatorRow(const char* presetName) {
  if (!presetName) return 0;
  const auto& list = TheFormulaStore().Formulas(FORMULA_INDICATOR);
  for (size_t i = 0; i < list.size(); ++i)
    if (SameCode(list[i].szCode, presetName)) return int(i);
  return 0;
}

}  // namespace formula
