// The Trade library as the host loads it: by name from the program folder,
// its ten functions found by their exported names, nothing else visible.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/dynlib.h"
#include "trade/ui/app/trade_exports.h"

namespace {

TEST(TradeLibrary, LoadsByNameAndExportsExactlyItsTenFunctions) {
  const char* bin = std::getenv("ZEB_BIN_DIR");
  ASSERT_NE(bin, nullptr);
  std::string error;
  platform::LibHandle lib = platform::LoadLibraryPath(
      std::string(bin) + "/" + platform::LibraryFileName("Trade"), &error);
  ASSERT_NE(lib, nullptr) << error;
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
}

}  // namespace
