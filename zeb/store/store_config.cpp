// The store's settings in "zeb.ini": [UPDATE], [SYSTEM] and [QUOTE] read
// once at start-up, SHOWTOOLBAR written back at exit.
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "settings/config_file.h"
#include "zeb/store/public_store.h"

namespace {

constexpr int kDefaultUpdatePort = 80;
constexpr int kDefaultUpdateTimeout = 20000;

void ReportConfigError() { AfxMessageBox(GBK("读取通信配置文件出错!"), MB_OK); }

// Decimal text as atoi reads it, but a number beyond the int range gives 0
// instead of undefined behaviour.
int TextToInt(const std::string& text) {
  errno = 0;
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (errno == ERANGE || v > INT_MAX || v < INT_MIN) return 0;
  return static_cast<int>(v);
}

}  // namespace

std::string CPublic::ConfigPath() const { return m_strAppDir + "zeb.ini"; }

void CPublic::LoadConfig() {
  CConfigFile file(ConfigPath().c_str(), 0);
  if (!file.IsLoaded()) {
    ReportConfigError();
    return;
  }
  file.GetString("UPDATE", "UPDATESERVER", m_strUpdateServer);
  file.GetString("UPDATE", "UPDATETAG", m_strUpdateTag);
  // A port the socket layer cannot take keeps the web default.
  m_nUpdatePort = kDefaultUpdatePort;
  file.GetIntInRange("UPDATE", "UPDATEPORT", &m_nUpdatePort, 1, 65535);
  m_nUpdateTimeout = kDefaultUpdateTimeout;
  file.GetIntInRange("UPDATE", "UPDATETMOUT", &m_nUpdateTimeout, 1, INT_MAX);

  file.GetString("SYSTEM", "SYSTEMTITLE", m_strSystemTitle);
  int flag = 0;
  file.GetInt("SYSTEM", "NEEDBALANCE", &flag);
  m_bNeedBalance = flag == 1;
  flag = 0;
  file.GetInt("SYSTEM", "SHOWTOOLBAR", &flag);
  m_bShowToolbar = flag != 0;
  file.GetString("SYSTEM", "PRODUCTINFOURL", m_strProductInfoUrl);

  std::string interval;
  file.GetString("QUOTE", "QuoteUpdateIntervalTime", interval);
  m_nQuoteUpdateInterval = TextToInt(interval);
}

void CPublic::SaveConfig() {
  CConfigFile file(ConfigPath().c_str(), 0);
  if (!file.IsLoaded()) {
    ReportConfigError();
    return;
  }
  file.SetString("SYSTEM", "SHOWTOOLBAR", m_bShowToolbar ? "1" : "0", 0);
  file.Save(1);
}

void CPublic::GetUpdateServer(std::string& server, short* port, std::string& tag,
                              int* timeout) const {
  if (m_strUpdateServer.empty()) return;
  server = m_strUpdateServer;
  if (port != nullptr) *port = static_cast<short>(m_nUpdatePort);
  tag = m_strUpdateTag;
  if (timeout != nullptr) *timeout = m_nUpdateTimeout;
}
