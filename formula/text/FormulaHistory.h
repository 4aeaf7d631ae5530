// The K-line history of the current calculation: one library-wide vector,
// replaced by every calculation with bars, read by the quote built-ins of
// every parser (nested calls included).
#pragma once
#include <vector>

#include "formula/functions/formula_types.h"

namespace formula {

struct HistoryView {
  const SHistoryUnit* units = nullptr;
  int count = 0;
};

// Copies count units (none when count is not positive).
void SetHistory(const SHistoryUnit* units, int count);
HistoryView CurrentHistory();

}  // namespace formula
