// The five formula kinds: file stems and display names (GBK), and the
// names of the language's value types used in messages.
#pragma once

namespace formula {

// kind 0-4; anything else gives "".
const char* FormulaKindStem(int kind);  // "ZBFormu", "TJFormu", "JYFormu", "KLFormu", "FCFormu"
const char* FormulaKindName(int kind);  // "指标公式", "条件选股公式", ...
// '0', '1', '2'; anything else gives "".
const char* ValueTypeName(char type);  // "浮点数", "字符串", "浮点数组"

}  // namespace formula
