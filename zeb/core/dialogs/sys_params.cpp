// The settings dialog's parameters (sys_params.h).
#include "zeb/core/dialogs/sys_params.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/gbk.h"
#include "platform/profile.h"
#include "zeb/core/router/cmd_dispatcher.h"

namespace {

const char* BigOrderName() { return GBK("主力大单"); }
const char* PageTurnName() { return GBK("自动翻页间隔"); }

}  // namespace

SSysParamTexts CurrentSysParamTexts() {
  CCmdDispatcher* router = CCmdDispatcher::GetInstance();
  return {std::to_string(router->GetSysParam(BigOrderName())),
          std::to_string(router->GetSysParam(PageTurnName()))};
}

int ReadParamNumber(const std::string& text) {
  errno = 0;
  const long long value = std::strtoll(text.c_str(), nullptr, 10);
  // A number beyond the int range is out of every range the page checks.
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

bool IsBigOrderAccepted(const std::string& text) {
  const int value = ReadParamNumber(text);
  return value >= kBigOrderLowest && value <= kBigOrderHighest;
}

bool SaveSysParams(const SSysParamTexts& texts, const std::string& programDir) {
  CCmdDispatcher* router = CCmdDispatcher::GetInstance();
  const std::string path = programDir + "sysset.ini";
  bool written = true;
  for (const auto& [name, text] :
       {std::pair{BigOrderName(), &texts.bigOrder}, std::pair{PageTurnName(), &texts.pageTurn}}) {
    router->SetSysParam(name, ReadParamNumber(*text));
    written = WritePrivateProfileString(name, "VALUE", text->c_str(), path.c_str()) && written;
  }
  return written;
}
