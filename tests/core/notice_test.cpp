// The server notice: its "^~" fields, the update offer against the
// updater's record, and the 7-day quiet time the user can ask for, with
// "today" injected.
#include <gtest/gtest.h>

#include <ctime>

#include "platform/gbk.h"
#include "support/shell_temp_folders.h"
#include "zeb/core/frame/server_notice.h"

namespace {

std::time_t LocalTime(int y, int m, int d, int hour) {
  std::tm t{};
  t.tm_year = y - 1900, t.tm_mon = m - 1, t.tm_mday = d, t.tm_hour = hour, t.tm_isdst = -1;
  return std::mktime(&t);
}

TEST(NoticeTest, FieldsOfTheText) {
  struct Case {
    const char* text;
    const char* lastDeploy;
    int flag;
    const char* deploy;
    const char* title;
    const char* notice;
  } cases[] = {
      {"1^~T^~title^~body", "", 1, "T", "title", "body"},
      {"1^~2024-05-01^~t^~x", "2024-05-01", 0, "", "t", "x"},  // already installed
      {"1^~2024-05-01^~t^~x", "2024-06-01", 0, "", "t", "x"},
      {"1^~2024-07-01^~t^~x", "2024-06-01", 1, "2024-07-01", "t", "x"},
      {"^~hello", "", 0, "", "", "hello"},
      {"hello world", "", 0, "", "", "hello world"},
      {"1^~T^~  spaced", "", 1, "T", "", "spaced"},
      {"0^~^~x", "", 0, "", "", "x"},
      {"1^~T^~title^~", "", 1, "T", "title", ""},
      {"", "", 0, "", "", ""},
  };
  for (const Case& c : cases) {
    SServerNotice n = ParseNoticeText(c.text, c.lastDeploy);
    EXPECT_EQ(n.updateFlag, c.flag) << c.text;
    EXPECT_EQ(n.deployTime, c.deploy) << c.text;
    EXPECT_EQ(n.title, c.title) << c.text;
    EXPECT_EQ(n.text, c.notice) << c.text;
  }
  // Bytes after a NUL are not part of the text.
  EXPECT_EQ(ParseNoticeText(std::string("ab\0cd", 5), "").text, "ab");
}

TEST(NoticeTest, QuietForSevenWholeDays) {
  const std::time_t now = LocalTime(2024, 3, 20, 15);
  struct Case {
    int checked;
    int date;
    bool hidden;
  } cases[] = {{1, 20240320, true},  {1, 20240313, true},  {1, 20240312, false},
               {0, 20240320, false}, {1, 20240230, false},  // no such day
               {1, 0, false}};
  for (const Case& c : cases)
    EXPECT_EQ(IsNoticeSuppressed(c.checked, c.date, now), c.hidden) << c.date;
}

TEST(NoticeTest, ProgramFolderFilesDecide) {
  shell_test::TempFolders folders;
  const std::time_t now = LocalTime(2024, 1, 9, 10);
  const std::string text = "0^~2024-01-01^~t^~hello";
  folders.Write("sysset.ini",
                std::string("[") + GBK("通知消息") + "]\r\nCHECKED=1\r\nCHECKDATE=20240109\r\n");
  EXPECT_EQ(ReadServerNotice(text, folders.ProgramDir(), now).text, "");
  folders.Write("sysset.ini",
                std::string("[") + GBK("通知消息") + "]\r\nCHECKED=1\r\nCHECKDATE=20240101\r\n");
  EXPECT_EQ(ReadServerNotice(text, folders.ProgramDir(), now).text, "hello");
  // An update offer is shown whatever the user chose for notices.
  folders.Write("sysset.ini",
                std::string("[") + GBK("通知消息") + "]\r\nCHECKED=1\r\nCHECKDATE=20240109\r\n");
  SServerNotice offer = ReadServerNotice("1^~2024-01-05^~t^~new", folders.ProgramDir(), now);
  EXPECT_EQ(offer.updateFlag, 1);
  EXPECT_EQ(offer.text, "new");
  folders.Write("Novarel.ini", "[Operation]\r\nLastUpdateDeployTime=2024-01-05\r\n");
  offer = ReadServerNotice("1^~2024-01-05^~t^~new", folders.ProgramDir(), now);
  EXPECT_EQ(offer.updateFlag, 0);
  EXPECT_EQ(offer.text, "");  // no offer, and notices are quiet
}

}  // namespace
