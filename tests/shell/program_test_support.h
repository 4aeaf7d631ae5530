// What the tests of the program's windows share: the application object
// first, a program folder with a "zeb.ini", recorded message boxes, and a
// trading library of recording functions instead of the real one.
#pragma once
#include <string>
#include <vector>

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/testing/app.h"
#include "support/shell_temp_folders.h"
#include "zeb/core/app/trade_library.h"

namespace shell_test {

struct ApplicationFirst {
  ApplicationFirst() {
    // As the program does, for the trading library's web pages.
    if (!QCoreApplication::instance()) QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    platform::testing::EnsureApplication();
  }
};

// The calls the program made into the trading library, in order.
inline std::vector<std::string>& TradeCalls() {
  static std::vector<std::string> calls;
  return calls;
}

inline STradeEntries RecordingTradeLibrary() {
  STradeEntries e;
  e.UnLink = [] { TradeCalls().push_back("UnLink"); };
  e.DestoryDialog = [] {
    TradeCalls().push_back("DestoryDialog");
    return 1;
  };
  return e;
}

constexpr const char* kTestZebIni =
    "[SYSTEM]\r\nSYSTEMTITLE=ZEB\r\nNEEDBALANCE=0\r\nSHOWTOOLBAR=1\r\n"
    "[USERINFO]\r\nUserID=\r\nSaveAccount=0\r\n"
    "[QUOTE]\r\nServerIP=127.0.0.1\r\nServerPort=1\r\n";

struct ProgramFixture {
  ApplicationFirst app;
  platform::ScopedRecordingBoxes boxes;
  TempFolders folders;
  ProgramFixture() {
    folders.Write("zeb.ini", kTestZebIni);
    TradeCalls().clear();
  }
  // The boxes shown, in UTF-8.
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& b : boxes.Boxes()) texts.push_back(platform::GbkToUtf8(b.text));
    return texts;
  }
};

}  // namespace shell_test
