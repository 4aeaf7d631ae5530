// The logic of the indicator parameter dialogs (the single-indicator one
// with its "MA" line count, and the list of all indicators): the rows an
// indicator's parameters give, and writing changed defaults back into the
// indicator's parameter text. The dialogs place the rows and show them.
//
// Guarantees: a value is stored only when it is a number within its
// parameter's range; parameters past the seventh keep their declarations
// when the text is rewritten; a text longer than the record's field is
// refused, never cut. Refusals show an application message box and store
// nothing.
#pragma once
#include <string>
#include <vector>

namespace formula {

inline constexpr int kParamRows = 7;

struct SParamRow {
  std::string value;       // the default as an integer ("%d" of the truncated value)
  std::string name;        // the parameter's name: the label without a description line
  bool described = false;  // the description has this row's line
  std::string prefix;      // described: text before the box (empty: none)
  std::string suffix;      // described: text after the box (empty: none)
  int spinMinimum = 0;     // the parameter's range, truncated
  int spinMaximum = 0;
};

struct SParamLayout {
  int paramCount = 0;           // 0: the "no parameters" label shows
  std::vector<SParamRow> rows;  // the first seven parameters
  bool isMA = false;            // the indicator is "MA": the line-count field shows
  unsigned lineCount = 0;       // isMA: the parameter count
};

// Compiles the indicator formula (kind 0) of that name in the library's
// evaluator and reads its description from "ParamsDesc.tch" (block
// "ZBFormu"); an empty name or a failed compile gives no rows.
SParamLayout LayoutParamRows(const char* name);

bool IsMAIndicator(const char* name);

// Writes values[i] (the value boxes as typed) as the defaults of the
// indicator's first seven parameters into its parameter text; 1 stored,
// 0 refused or the indicator does not compile or has no parameters.
// requirePositive: the single-indicator dialog's rule, a value whose
// integer reading is not above 0 is refused with "参数必须大于零".
int ApplyParams(const char* name, const std::vector<std::string>& values, bool requirePositive);

// The single-indicator dialog's OK: true when it may end (the values were
// stored); an "MA" line count outside 1 to 7 shows "K线条数在1和7之间".
bool SingleTechSetOK(const char* name, unsigned lineCount, const std::vector<std::string>& values);

// The "MA" line count changed to count: the indicator gets count lines
// "MA<i>:MA(CLOSE,M<i>)" and count parameters M1..M<count> over the first
// parameter's range and step, each taking values[i], or when that is empty
// or "0", 10 for the first and the previous value + 5 for the others; both
// texts are stored at once. 1 stored (lay the rows out again), 0 otherwise.
int ChangeMALineCount(const char* name, unsigned count, const std::vector<std::string>& values);

// The indicator list of the all-indicators dialog: one row per indicator
// formula in store order, and the row to edit first for a preset name
// (its row, else 0).
struct SIndicatorRow {
  std::string code;
  std::string chineseName;
};
std::vector<SIndicatorRow> IndicatorRows();
int PresetIndicatorRow(const char* presetName);

}  // namespace formula
