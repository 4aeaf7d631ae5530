#include "formula/store/formula_kinds.h"

namespace formula {

namespace {
const char* const kStems[] = {"ZBFormu", "TJFormu", "JYFormu", "KLFormu", "FCFormu"};
const char* const kNames[] = {
    "\xd6\xb8\xb1\xea\xb9\xab\xca\xbd",                          // 指标公式
    "\xcc\xf5\xbc\xfe\xd1\xa1\xb9\xc9\xb9\xab\xca\xbd",          // 条件选股公式
    "\xbd\xbb\xd2\xd7\xcf\xb5\xcd\xb3\xb9\xab\xca\xbd",          // 交易系统公式
    "\xce\xe5\xb2\xcaK\xcf\xdf\xb9\xab\xca\xbd",                 // 五彩K线公式
    "\xd7\xd4\xb6\xa8\xd2\xe5\xba\xaf\xca\xfd\xb9\xab\xca\xbd",  // 自定义函数公式
};
}  // namespace

const char* FormulaKindStem(int kind) { return kind >= 0 && kind < 5 ? kStems[kind] : ""; }
const char* FormulaKindName(int kind) { return kind >= 0 && kind < 5 ? kNames[kind] : ""; }

const char* ValueTypeName(char type) {
  switch (type) {
    case '0': return "\xb8\xa1\xb5\xe3\xca\xfd";          // 浮点数
    case '1': return "\xd7\xd6\xb7\xfb\xb4\xae";          // 字符串
    case '2': return "\xb8\xa1\xb5\xe3\xca\xfd\xd7\xe9";  // 浮点数组
    default: return "";
  }
}

}  // namespace formula
