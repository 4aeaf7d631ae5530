#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <regex>

#include "sharecode/text_utils.h"
#include "sharecode/time_text.h"

namespace {

TEST(Text, Trim) {
  struct Case {
    const char* in;
    const char* set;
    const char* left;
    const char* right;
    const char* both;
  };
  const Case cases[] = {
      {"  ab  ", " ", "ab  ", "  ab", "ab"},
      {"    ", " ", "", "", ""},
      {"", " ", "", "", ""},
      {"\t\r\nx y\r\n", " \t\r\n", "x y\r\n", "\t\r\nx y", "x y"},
      {"xx", "", "xx", "xx", "xx"},
  };
  for (const Case& c : cases) {
    char buf[3][32];
    for (auto& b : buf) std::strcpy(b, c.in);
    EXPECT_STREQ(TrimLeft(buf[0], c.set), c.left);
    EXPECT_STREQ(TrimRight(buf[1], c.set), c.right);
    EXPECT_STREQ(Trim(buf[2], c.set), c.both);
  }
  EXPECT_EQ(Trim(nullptr, " "), nullptr);
}

TEST(Text, PadText) {
  struct Case {
    const char* text;
    int width, mode;
    char fill;
    const char* expected;
  };
  const Case cases[] = {
      {"abc", 5, 1, ' ', "abc  "},   {"abc", 5, 2, ' ', "  abc"}, {"abcdef", 4, 1, ' ', "abcd"},
      {"abcdef", 4, 2, ' ', "abcd"}, {"", 3, 1, '*', "***"},      {nullptr, 2, 2, '0', "00"},
      {"7", 3, 0, '0', "007"},       {"abc", 3, 2, ' ', "abc"},   {"abc", -1, 1, ' ', ""},
  };
  for (const Case& c : cases) EXPECT_EQ(PadText(c.text, c.width, c.mode, c.fill), c.expected);
}

TEST(Text, Searching) {
  const char* text = "abcabc";
  EXPECT_EQ(FindLastSubstring(text, "bc"), text + 4);
  EXPECT_EQ(FindLastSubstring(text, "abcabc"), text);
  EXPECT_EQ(FindLastSubstring(text, "cb"), nullptr);
  EXPECT_EQ(FindLastSubstring(text, nullptr), nullptr);
  const char* aaa = "aaa";
  EXPECT_EQ(FindLastSubstring(aaa, "aa"), aaa + 1);  // overlapping occurrences count
  EXPECT_EQ(FindLastOf(text, "ab"), text + 4);
  EXPECT_EQ(FindLastOf(text, "xyz"), nullptr);
}

TEST(Text, SplitPath) {
  struct Case {
    const char* path;
    const char* dir;
    const char* file;
  };
  const Case cases[] = {
      {"D:\\data\\file.txt", "D:\\data", "file.txt"},
      {"\\file.txt", "", "file.txt"},
      {"file.txt", "", "file.txt"},
      {"/usr/lib/x.so", "/usr/lib", "x.so"},
      {"a/b\\c", "a/b", "c"},
      {"dir/", "dir", ""},
  };
  for (const Case& c : cases) {
    std::string dir = "junk", file = "junk";
    SplitPath(c.path, dir, file);
    EXPECT_EQ(dir, c.dir) << c.path;
    EXPECT_EQ(file, c.file) << c.path;
  }
}

TEST(Text, BytesToHex) {
  const unsigned char bytes[] = {0x0A, 0xFF, 0x00, 0x7F};
  EXPECT_EQ(BytesToHex(bytes, 2), "0aff");
  EXPECT_EQ(BytesToHex(bytes, 4), "0aff007f");
  EXPECT_EQ(BytesToHex(bytes, 0), "");
  EXPECT_EQ(BytesToHex(bytes, -3), "");
  char out[9] = "xxxxxxxx";
  BytesToHex(out, bytes, 0);
  EXPECT_STREQ(out, "");
}

TEST(Text, ModulePath) {
  std::string path = GetModulePath("fallback");
  EXPECT_NE(path, "fallback");
  EXPECT_NE(path.find("test_sharecode"), std::string::npos);
}

class TimeText : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tz = std::getenv("TZ");
    oldTz_ = tz ? tz : "";
    hadTz_ = tz != nullptr;
    setenv("TZ", "UTC", 1);
    tzset();
  }
  void TearDown() override {
    if (hadTz_) setenv("TZ", oldTz_.c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }
  std::string oldTz_;
  bool hadTz_ = false;
};

TEST_F(TimeText, FormatsByType) {
  // 2024-02-29 13:05:09.007 UTC, a Thursday.
  const STimeStamp stamp{1709211909, 7};
  struct Case {
    int type;
    const char* expected;
  };
  const Case cases[] = {
      {0, "20240229 130509.007"},     {1, "2024-02-29 13:05:09"},
      {2, "2024-02-29 13:05:09.007"}, {3, "20240229 130509"},
      {4, "20240229130509"},          {5, "20240229"},
      {9, "2024-02-29 13:05:09.007"}, {-1, "2024-02-29 13:05:09.007"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatLocalTime(c.type, stamp), c.expected) << c.type;
  EXPECT_EQ(TimeStampText(stamp), "2024-02-29 13:05:09.007");

  int year = 0, month = 0, day = 0, weekday = 0;
  ASSERT_TRUE(
      SplitUtcTime(stamp.seconds, &year, &month, &day, nullptr, nullptr, nullptr, &weekday));
  EXPECT_EQ(year * 10000 + month * 100 + day, 20240229);
  EXPECT_EQ(weekday, 4);
  ASSERT_TRUE(
      SplitLocalTime(1709424000, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &weekday));
  EXPECT_EQ(weekday, 7);  // 2024-03-03 is a Sunday
}

TEST_F(TimeText, CurrentTimeTexts) {
  EXPECT_TRUE(std::regex_match(GetLocalTimeString(0), std::regex(R"(\d{8} \d{6}\.\d{3})")));
  EXPECT_TRUE(std::regex_match(GetLocalTimeString(9),
                               std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3})")));
  EXPECT_TRUE(std::regex_match(GetUtcTimeStamp(), std::regex(R"(\d{8}-\d\d:\d\d:\d\d\.\d{3})")));
  STimeStamp stamp;
  int ms = -1;
  GetTimeStamp(&stamp, &ms);
  EXPECT_EQ(ms, stamp.milliseconds);
  EXPECT_GE(ms, 0);
  EXPECT_LT(ms, 1000);
  EXPECT_GT(stamp.seconds, 1700000000);
}

}  // namespace
