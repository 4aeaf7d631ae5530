// The trading library's settings in the program folder's "zeb.ini":
// [TRADESERVER] for the secure socket and [TRUSTBUSINESS] for the custody
// page addresses.
#pragma once
#include <array>
#include <string>

#include "trade/ui/rules/custody_pages.h"

struct STradeSettings {
  int needSsl = 0;           // NEEDSSL (atoi; 0 when missing)
  std::string caFilePath;    // CAFILEPATH, relative to the program folder
  std::string certFilePath;  // CERTFILEPATH, relative to the program folder
  std::string keyPath;       // EKEYPATH, as written
  std::string keyPassword;   // EKEYPWD
  std::array<std::string, kCustodyPageCount> custodyUrls;  // in page order
};

// Reads the settings; false (settings untouched) when the file cannot be
// read. Missing keys read as "".
bool ReadTradeSettings(const std::string& iniPath, STradeSettings& out);
