// The settings dialog's parameters (sys_params.h).
#include "zeb/core/dialogs/sys_params.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/gbk.h"
#include "platform/profile.h"
#include "settings/file_report.h"
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
  const std::string path = programDir + "sysset.ini";
  // Both sections in one save: the file has both or neither.
  if (!platform::WriteProfileStrings({{BigOrderName(), "VALUE", texts.bigOrder.c_str()},
                                      {PageTurnName(), "VALUE", texts.pageTurn.c_str()}},
                                     path.c_str())) {
    settings::ReportNotSaved(path);
    return false;
  }
  // Cached only once on disk; a new threshold asks a shown big-order list
  // again, once.
  CCmdDispatcher* router = CCmdDispatcher::GetInstance();
  router->SetSysParam(BigOrderName(), ReadParamNumber(texts.bigOrder));
  router->SetSysParam(PageTurnName(), ReadParamNumber(texts.pageTurn));
  return true;
}
