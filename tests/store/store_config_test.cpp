// The store's settings in "zeb.ini": defaults, garbage numbers, and the
// toolbar flag written back at exit.
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "store_test_support.h"

using namespace store_test;

namespace {

class ConfigTest : public StoreTest {
 protected:
  platform::ScopedRecordingBoxes boxes;
  std::string IniPath() const { return folders.ProgramDir() + "zeb.ini"; }
};

}  // namespace

TEST_F(ConfigTest, ReadsEveryKey) {
  WriteBytes(IniPath(),
             "[UPDATE]\r\nUPDATESERVER=10.0.0.5\r\nUPDATETAG=/update/\r\nUPDATEPORT=8080\r\n"
             "UPDATETMOUT=5000\r\n[SYSTEM]\r\n\"SYSTEMTITLE\"=\"T\"\r\nNEEDBALANCE=1\r\n"
             "SHOWTOOLBAR=7\r\nPRODUCTINFOURL=http://x/p\r\n[QUOTE]\r\n"
             "QuoteUpdateIntervalTime=5000\r\n");
  store.LoadConfig();
  EXPECT_TRUE(boxes.Boxes().empty());
  std::string server = "keep", tag = "keep";
  short port = 1;
  int timeout = 1;
  store.GetUpdateServer(server, &port, tag, &timeout);
  EXPECT_EQ(server, "10.0.0.5");
  EXPECT_EQ(port, 8080);
  EXPECT_EQ(tag, "/update/");
  EXPECT_EQ(timeout, 5000);
  EXPECT_EQ(store.GetSystemTitle(), "T");
  EXPECT_TRUE(store.IsBalanceNeeded());
  EXPECT_TRUE(store.IsToolbarShown());
  EXPECT_EQ(store.GetProductInfoUrl(), "http://x/p");
  EXPECT_EQ(store.GetQuoteUpdateInterval(), 5000);
  EXPECT_EQ(store.GetQuoteRefreshPeriod(), 5000);
}

TEST_F(ConfigTest, MissingKeysAndGarbageNumbersGiveDefaults) {
  WriteBytes(IniPath(),
             "[UPDATE]\r\nUPDATESERVER=up.example\r\nUPDATETMOUT=abc\r\n"
             "UPDATEPORT=99999999999999999999\r\n[SYSTEM]\r\nNEEDBALANCE=2\r\n"
             "SHOWTOOLBAR=x1\r\n[QUOTE]\r\nQuoteUpdateIntervalTime=99999999999999999999\r\n");
  store.LoadConfig();
  std::string server, tag = "keep";
  short port = 0;
  int timeout = 0;
  store.GetUpdateServer(server, &port, tag, &timeout);
  EXPECT_EQ(server, "up.example");
  EXPECT_EQ(port, 80);
  EXPECT_EQ(timeout, 20000);
  EXPECT_EQ(tag, "");
  EXPECT_FALSE(store.IsBalanceNeeded());  // only 1 asks the balance server
  EXPECT_FALSE(store.IsToolbarShown());
  EXPECT_EQ(store.GetQuoteUpdateInterval(), 0);

  // Without the key the start value 3000 is replaced by 0 as well.
  CPublic other;
  WriteBytes(IniPath(), "[QUOTE]\r\nServerIP=1.2.3.4\r\n");
  other.LoadConfig();
  EXPECT_EQ(other.GetQuoteUpdateInterval(), 0);
  EXPECT_EQ(other.GetQuoteRefreshPeriod(), 3000);
  WriteBytes(IniPath(), "[QUOTE]\r\nQuoteUpdateIntervalTime=1000\r\n");
  other.LoadConfig();
  EXPECT_EQ(other.GetQuoteRefreshPeriod(), 3000);
  // No update server: the caller's values stay.
  std::string s = "mine";
  short p = 443;
  other.GetUpdateServer(s, &p, tag, &timeout);
  EXPECT_EQ(s, "mine");
  EXPECT_EQ(p, 443);
}

TEST_F(ConfigTest, MissingFileIsReportedAndNothingIsWritten) {
  store.LoadConfig();
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, GBK("读取通信配置文件出错!"));
  EXPECT_EQ(store.GetQuoteUpdateInterval(), 3000);
  store.SetToolbarShown(true);
  store.SaveConfig();
  EXPECT_EQ(boxes.Boxes().size(), 2u);
  EXPECT_FALSE(std::filesystem::exists(IniPath()));
}

TEST_F(ConfigTest, SaveWritesTheToolbarFlagOfAnExistingKeyOnly) {
  WriteBytes(IniPath(), "[SYSTEM]\r\nSHOWTOOLBAR=0\r\nSHOWTOOLBAR=0\r\nSYSTEMTITLE=t\r\n");
  store.LoadConfig();
  store.SetToolbarShown(true);
  store.SaveConfig();
  const std::string text = ReadBytes(IniPath());
  EXPECT_EQ(text.rfind("# This ini was modified by system on ", 0), 0u) << text;
  EXPECT_NE(text.find("\"SHOWTOOLBAR\"=\"1\""), std::string::npos) << text;
  EXPECT_NE(text.find("\"SHOWTOOLBAR\"=\"0\""), std::string::npos) << text;  // second one untouched

  WriteBytes(IniPath(), "[SYSTEM]\r\nSYSTEMTITLE=t\r\n");
  store.SaveConfig();
  EXPECT_EQ(ReadBytes(IniPath()).find("SHOWTOOLBAR"), std::string::npos);
}

TEST(StoreSingleton, ReleaseWritesTheSettingsBack) {
  TempFolders folders;
  platform::ScopedRecordingBoxes boxes;
  WriteBytes(folders.ProgramDir() + "zeb.ini", "[SYSTEM]\r\nSHOWTOOLBAR=0\r\n");
  CPublic* first = CPublic::GetInstance();
  EXPECT_EQ(first, CPublic::GetInstance());
  EXPECT_EQ(first->GetAppDir(), folders.ProgramDir());
  first->SetToolbarShown(true);
  CPublic::ReleaseInstance();
  CPublic::ReleaseInstance();  // a second release does nothing
  EXPECT_NE(ReadBytes(folders.ProgramDir() + "zeb.ini").find("\"SHOWTOOLBAR\"=\"1\""),
            std::string::npos);
  EXPECT_TRUE(boxes.Boxes().empty());
}
