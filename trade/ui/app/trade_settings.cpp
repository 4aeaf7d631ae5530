#include "trade/ui/app/trade_settings.h"

#include "trade/core/trade_codec.h"
#include "settings/config_file.h"

bool ReadTradeSettings(const std::string& iniPath, STradeSettings& out) {
  CConfigFile file(iniPath.c_str(), 0);
  if (!file.IsLoaded()) return false;
  STradeSettings s;
  std::string needSsl;
  file.GetString("TRADESERVER", "NEEDSSL", needSsl);
  s.needSsl = TradeAtoi(needSsl);
  file.GetString("TRADESERVER", "CAFILEPATH", s.caFilePath);
  file.GetString("TRADESERVER", "CERTFILEPATH", s.certFilePath);
  file.GetString("TRADESERVER", "EKEYPATH", s.keyPath);
  file.GetString("TRADESERVER", "EKEYPWD", s.keyPassword);
  for (int page = 0; page < kCustodyPageCount; ++page)
    file.GetString("TRUSTBUSINESS", CustodyPageKey(page), s.custodyUrls[page]);
  out = std::move(s);
  return true;
}
