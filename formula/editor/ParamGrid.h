// The editor's parameter grid: seven rows of name, minimum, maximum,
// default and test step, turned into the formula's parameter text and
// filled back from the compiler's parameter list.
//
// Guarantees: a formula with more than seven parameters keeps the
// declarations of the eighth and later ones through a fill and a collect
// (the grid cannot show them, and collecting must not delete them).
#pragma once
#include <array>
#include <string>
#include <vector>

#include "formula/compiler/QTParTypes.h"

namespace formula {

inline constexpr int kGridRows = 7;
inline constexpr int kGridColumns = 5;
enum EGridColumn : int { GRID_NAME = 0, GRID_MINIMUM, GRID_MAXIMUM, GRID_DEFAULT, GRID_STEP };

struct SParamGrid {
  // cells[row][column], GBK as the edits hold them.
  std::array<std::array<std::string, kGridColumns>, kGridRows> cells;
  // Declaration lines of the parameters past the seventh.
  std::string hiddenDeclarations;

  void Clear();
};

struct SCollectedParams {
  std::string text;        // the parameter text
  int emptyValueRows = 0;  // rows with an empty value: one "参数的值不能为空!" each
};

// Rows from the first until the first with an empty name: name ":^P(" and
// the non-empty values joined by "," until the first empty one, then
// ");\r\n". Then the hidden declarations.
SCollectedParams CollectParams(const SParamGrid& grid);

// The grid for a parameter list: names upper case, numbers "%.3f"; the
// eighth and later parameters become hidden declarations.
SParamGrid FillParamGrid(const std::vector<SParamRecord>& params);

// The refusal for a grid row with an empty value (GBK).
const char* EmptyParamValueMessage();

}  // namespace formula
