// The Trade library as the host loads it: by name from the program folder,
// its start run at load (a secure socket that cannot be set up refuses the
// load), its ten functions found by their exported names, nothing else
// visible.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "platform/dynlib.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/paths.h"
#include "support/temp_folder.h"
#include "trade/host/trade_exports.h"

namespace {

TEST(TradeLibrary, LoadsByNameAndExportsExactlyItsTenFunctions) {
  const char* bin = std::getenv("ZEB_BIN_DIR");
  ASSERT_NE(bin, nullptr);
  // A program folder with the secure-socket library and the settings.
  const test_support::TempFolder folder("trade_library");
  const std::string dir = folder.Path();
  ASSERT_EQ(
      symlink((std::string(bin) + "/libQuellan.so").c_str(), (dir + "/libQuellan.so").c_str()), 0);
  platform::SetProgramDirOverride(dir + "/");
  auto settings = [&](const char* needSsl) {
    std::ofstream(dir + "/zeb.ini", std::ios::binary)
        << "[TRADESERVER]\r\nNEEDSSL=" << needSsl << "\r\nCAFILEPATH=certs/missing.pem\r\n";
  };
  const std::string path = std::string(bin) + "/" + platform::LibraryFileName("Trade");
  platform::ScopedRecordingBoxes boxes;
  std::string error;

  // TLS that cannot be set up (no CA file): the load is refused after the box.
  settings("1");
  EXPECT_EQ(platform::LoadLibraryPath(path, &error), nullptr);
  EXPECT_FALSE(error.empty());
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, GBK("初始化SSL失败！"));

  // Without TLS it starts, at load and without a word.
  settings("0");
  platform::LibHandle lib = platform::LoadLibraryPath(path, &error);
  ASSERT_NE(lib, nullptr) << error;
  EXPECT_EQ(boxes.Boxes().size(), 1u);
  for (const char* name :
       {"InitDialog", "DestoryDialog", "MoveDlg", "Link2Server", "LinkTradeServer",
        "InitBalanceServer", "UnLink", "KeyMessage", "QuickOrder", "GetUserInfo"})
    EXPECT_NE(platform::GetProcAddress(lib, name), nullptr) << name;
  // Its own copies of the trade core stay inside it.
  EXPECT_EQ(platform::GetProcAddress(lib, "_ZN13CTradeSession11GetInstanceEv"), nullptr);
  EXPECT_EQ(platform::GetProcAddress(lib, "DestroyDialog"), nullptr);

  // Calls that need neither settings nor a connection.
  auto quickOrder = reinterpret_cast<PFN_QuickOrder>(platform::GetProcAddress(lib, "QuickOrder"));
  auto initDialog = reinterpret_cast<PFN_InitDialog>(platform::GetProcAddress(lib, "InitDialog"));
  auto moveDlg = reinterpret_cast<PFN_MoveDlg>(platform::GetProcAddress(lib, "MoveDlg"));
  auto getUserInfo =
      reinterpret_cast<PFN_GetUserInfo>(platform::GetProcAddress(lib, "GetUserInfo"));
  auto unLink = reinterpret_cast<PFN_UnLink>(platform::GetProcAddress(lib, "UnLink"));
  EXPECT_EQ(quickOrder(0, 0, 0, 0, 0), 1);
  EXPECT_EQ(initDialog(nullptr), nullptr);
  EXPECT_EQ(moveDlg(RECT{0, 0, 100, 100}), 0);
  EXPECT_EQ(getUserInfo(nullptr), 0);
  std::string info[2] = {"x", "y"};
  EXPECT_EQ(getUserInfo(info), 1);
  EXPECT_EQ(info[1], "");  // no login yet
  unLink();
  platform::FreeLibrary(lib);
  platform::SetProgramDirOverride("");
}

}  // namespace
