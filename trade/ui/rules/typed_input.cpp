#include "trade/ui/rules/typed_input.h"

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "trade/core/trade_session.h"

const char* IllegalInputText() { return GBK("输入内容含有非法字符，请重新输入！"); }

bool CheckTypedValues(std::initializer_list<const std::string*> values) {
  for (const std::string* v : values) {
    if (v && !IsSafeFieldValue(*v)) {
      ::AfxMessageBox(IllegalInputText(), MB_OK | MB_ICONWARNING);
      return false;
    }
  }
  return true;
}
