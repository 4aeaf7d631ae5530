// A program folder for the trading library under test: a temporary folder
// with the secure-socket library beside it and a "zeb.ini" whose
// [TRADESERVER] settings point at a generated test PKI and whose custody
// addresses point at the custody page simulator.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <deque>
#include <fstream>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "test_pki.h"
#include "trade/ui/rules/custody_pages.h"

namespace tradeui_test {

// A fresh folder; all of them are removed when the test program ends.
inline std::string MakeTempDir(const char* name) {
  static std::deque<test_support::TempFolder> folders;
  return folders.emplace_back(name).Path();
}

inline void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

// A program folder with the secure-socket library beside it.
inline std::string ProgramFolder(const char* name) {
  const std::string dir = MakeTempDir(name);
  const char* bin = std::getenv("ZEB_BIN_DIR");
  const std::string lib = std::string(bin ? bin : ".") + "/libQuellan.so";
  EXPECT_EQ(symlink(lib.c_str(), (dir + "/libQuellan.so").c_str()), 0);
  return dir;
}

// "zeb.ini" for the library: TLS with the test PKI, custody pages at the
// custody simulator's port.
inline std::string Settings(const STestPki& pki, const std::string& caFile,
                            int custodyPort = 19320) {
  std::string ini = "[TRADESERVER]\r\nNEEDSSL=1\r\nCAFILEPATH=" + caFile +
                    "\r\nCERTFILEPATH=certs/client.pem\r\nEKEYPATH=" + pki.clientKey +
                    "\r\nEKEYPWD=" + pki.keyPassword + "\r\n[TRUSTBUSINESS]\r\n";
  for (int page = 0; page < kCustodyPageCount; ++page)
    ini += std::string(CustodyPageKey(page)) + "=http://127.0.0.1:" + std::to_string(custodyPort) +
           "/page" + std::to_string(page) + "\r\n";
  return ini;
}

}  // namespace tradeui_test
