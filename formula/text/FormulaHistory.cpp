#include "formula/text/FormulaHistory.h"

namespace formula {
namespace {

std::vector<SHistoryUnit>& History() {
  static std::vector<SHistoryUnit> history;
  return history;
}

}  // namespace

void SetHistory(const SHistoryUnit* units, int count) {
  auto& h = History();
  if (count <= 0 || !units) {
    h.clear();
    return;
  }
  h.assign(units, units + count);
}

HistoryView CurrentHistory() {
  auto& h = History();
  return HistoryView{h.data(), int(h.size())};
}

}  // namespace formula
