#include "formula/editor/ParamGrid.h"

#include <cstdio>

#include "formula/text/GbkText.h"
#include "formula/editor/ParamText.h"
#include "platform/gbk.h"

namespace formula {

void SParamGrid::Clear() {
  for (auto& row : cells)
    for (std::string& cell : row) cell.clear();
  hiddenDeclarations.clear();
}

const char* EmptyParamValueMessage() { return GBK("参数的值不能为空!"); }

SCollectedParams CollectParams(const SParamGrid& grid) {
  SCollectedParams out;
  for (const auto& row : grid.cells) {
    if (row[GRID_NAME].empty()) break;
    out.text += row[GRID_NAME];
    out.text += ":^P(";
    for (int column = GRID_MINIMUM; column <= GRID_STEP; ++column) {
      if (row[size_t(column)].empty()) {
        ++out.emptyValueRows;
        break;
      }
      if (column > GRID_MINIMUM) out.text += ',';
      out.text += row[size_t(column)];
    }
    out.text += ");\r\n";
  }
  out.text += grid.hiddenDeclarations;
  return out;
}

SParamGrid FillParamGrid(const std::vector<SParamRecord>& params) {
  SParamGrid grid;
  for (size_t i = 0; i < params.size(); ++i) {
    const SParamRecord& p = params[i];
    if (i >= size_t(kGridRows)) {
      AppendParamDeclaration(grid.hiddenDeclarations, p.name, p.minimum, p.maximum, p.defaultValue,
                             p.step);
      continue;
    }
    auto& row = grid.cells[i];
    row[GRID_NAME] = p.name;
    const float values[4] = {p.minimum, p.maximum, p.defaultValue, p.step};
    for (int v = 0; v < 4; ++v) {
      char text[64];
      std::snprintf(text, sizeof text, "%.3f", double(values[v]));
      row[size_t(GRID_MINIMUM + v)] = text;
    }
    for (std::string& cell : row) FoldUpperAscii(cell.data());
  }
  return grid;
}

}  // namespace formula
