#include <QString>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "platform/gbk.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/types.h"

namespace {

std::string TempDir() {
  char tmpl[] = "/tmp/zeb-platform-XXXXXX";
  return std::string(mkdtemp(tmpl)) + "/";
}

TEST(Gbk, RoundTripsChineseText) {
  const std::string utf8 = "确定退出系统吗？abc";
  std::string gbk = platform::Utf8ToGbk(utf8);
  EXPECT_EQ(gbk.substr(0, 4), "\xC8\xB7\xB6\xA8");  // 确定
  EXPECT_EQ(gbk.size(), 8u * 2 + 3);
  EXPECT_EQ(platform::GbkToUtf8(gbk), utf8);
  EXPECT_STREQ(GBK("确定"), "\xC8\xB7\xB6\xA8");
  EXPECT_EQ(GBK("确定"), GBK("确定"));  // one stable copy
  EXPECT_EQ(platform::GbkToQString(gbk).toStdString(), utf8);
}

TEST(Gbk, CutsOnCharacterBoundaries) {
  const char* text = "\xC8\xB7\xB6\xA8" "a";  // 确定a
  struct Case {
    size_t max, want;
  } cases[] = {{0, 0}, {1, 0}, {2, 2}, {3, 2}, {4, 4}, {5, 5}, {99, 5}};
  for (const Case& c : cases) EXPECT_EQ(platform::GbkCutLength(text, c.max), c.want) << c.max;
  // A lead byte at the very end is never kept alone.
  EXPECT_EQ(platform::GbkCutLength("ab\xC8", 10), 2u);
  char out[4];
  platform::GbkCopyCut(out, sizeof out, text);
  EXPECT_STREQ(out, "\xC8\xB7");
  // Bad bytes become '?', never vanish silently.
  EXPECT_EQ(platform::GbkToUtf8("a\xFF" "b"), "a?b");
}

TEST(Rect, EdgesAreExclusive) {
  RECT r{0, 0, 10, 10};
  EXPECT_TRUE(PtInRect(r, POINT{9, 9}));
  EXPECT_FALSE(PtInRect(r, POINT{10, 9}));
  RECT a{0, 0, 10, 10}, b{10, 0, 20, 10}, out{1, 1, 1, 1};
  EXPECT_FALSE(IntersectRect(out, a, b));  // touching rectangles do not overlap
  EXPECT_TRUE(IsRectEmpty(out));
  EXPECT_TRUE(IntersectRect(out, a, RECT{5, 5, 15, 15}));
  EXPECT_TRUE(EqualRect(out, RECT{5, 5, 10, 10}));
  EXPECT_EQ(RectWidth(out), 5);
  EXPECT_EQ(RGB(1, 2, 3), 0x030201u);
}

TEST(Profile, ReadsWritesAndKeepsOtherLines) {
  std::string path = TempDir() + "sysset.ini";
  ASSERT_TRUE(platform::WriteFileAtomic(path, "; note\r\n[A]\r\nx = 1\r\n\r\n[B]\r\ny=\"two\"\r\n"));
  char buf[16];
  EXPECT_EQ(GetPrivateProfileString("a", "X", "d", buf, sizeof buf, path.c_str()), 1u);
  EXPECT_STREQ(buf, "1");
  GetPrivateProfileString("B", "y", "d", buf, sizeof buf, path.c_str());
  EXPECT_STREQ(buf, "two");
  GetPrivateProfileString("B", "none", "dflt", buf, sizeof buf, path.c_str());
  EXPECT_STREQ(buf, "dflt");
  EXPECT_EQ(GetPrivateProfileInt("A", "x", 7, path.c_str()), 1u);
  EXPECT_EQ(GetPrivateProfileInt("A", "nope", 7, path.c_str()), 7u);

  const char* section = GBK("主力大单");
  EXPECT_TRUE(WritePrivateProfileString(section, "VALUE", "500", path.c_str()));
  EXPECT_TRUE(WritePrivateProfileString("A", "z", "3", path.c_str()));
  EXPECT_TRUE(WritePrivateProfileString("A", "x", "9", path.c_str()));
  std::string data;
  ASSERT_TRUE(platform::ReadFile(path, data));
  EXPECT_EQ(data, std::string("; note\r\n[A]\r\nx=9\r\nz=3\r\n\r\n[B]\r\ny=\"two\"\r\n[") + section +
                      "]\r\nVALUE=500\r\n");
  // A value longer than the buffer is cut, never overrun.
  char small[3];
  EXPECT_EQ(GetPrivateProfileString(section, "VALUE", "", small, sizeof small, path.c_str()), 2u);
  EXPECT_STREQ(small, "50");
}

TEST(Registry, KeepsDwordAndStringValues) {
  platform::SetConfigDirOverride(TempDir());
  const std::string key = "Software\\Oskavel\\KeyInput";
  DWORD v = 0;
  EXPECT_FALSE(platform::RegGetDword(key, "w", &v));
  EXPECT_TRUE(platform::RegSetDword(key, "w", 0xFFFFFFFF));
  EXPECT_TRUE(platform::RegGetDword(key, "w", &v));
  EXPECT_EQ(v, 0xFFFFFFFFu);
  std::string s;
  EXPECT_FALSE(platform::RegGetString(key, "w", &s));  // a DWORD is not a string
  EXPECT_TRUE(platform::RegSetString(key, "s", "a=b"));
  EXPECT_TRUE(platform::RegGetString(key, "s", &s));
  EXPECT_EQ(s, "a=b");
  EXPECT_TRUE(platform::RegDeleteValue(key, "s"));
  EXPECT_FALSE(platform::RegGetString(key, "s", &s));
  platform::SetConfigDirOverride("");
}

TEST(Files, AtomicWriteReplacesWholeFile) {
  std::string path = TempDir() + "f.txt";
  ASSERT_TRUE(platform::WriteFileAtomic(path, "old content"));
  ASSERT_TRUE(platform::WriteFileAtomic(path, "new"));
  std::string data;
  ASSERT_TRUE(platform::ReadFile(path, data));
  EXPECT_EQ(data, "new");
  EXPECT_FALSE(platform::WriteFileAtomic("/nonexistent-dir/x", "y"));
  EXPECT_EQ(platform::ToNativePath("INDEX\\ALARM.DEX"), "INDEX/ALARM.DEX");
}

}  // namespace
