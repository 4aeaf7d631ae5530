#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/gbk.h"
#include "support/temp_dir.h"
#include "settings/ini_file.h"

namespace {

class IniFileTest : public ::testing::Test {
 protected:
  std::string Make(const std::string& content) {
    WriteBytes(path_, content);
    return path_;
  }
  std::string Get(const CIniFile& f, const std::string& section, const std::string& key) {
    std::string value = "<none>";
    f.GetString(section, key, value);
    return value;
  }
  TempDir dir_;
  std::string path_ = dir_.File("scheme.CLR");
};

TEST_F(IniFileTest, SubstringMatchingOfSectionsAndKeys) {
  std::string back = GBK("背景色"), infoBack = GBK("资讯背景色");
  CIniFile f;
  ASSERT_EQ(f.Open(Make("[" + infoBack + "]\r\nWIDTH=7\r\nID=43\r\n[" + back +
                        "]\r\n// ID=0\r\nID=19\r\n"),
                   0),
            1);
  // The first header holding the name wins, and ID is found inside WIDTH.
  EXPECT_EQ(Get(f, back, "ID"), "7");
  EXPECT_EQ(Get(f, back, "NOPE"), "<none>");
  EXPECT_EQ(f.FindKeyLine(back, "NOPE"), -2);
  EXPECT_EQ(f.FindKeyLine("missing", "ID"), -1);
}

TEST_F(IniFileTest, CommentLinesNeitherMatchNorEndASection) {
  CIniFile f;
  f.Open(Make("[A]\n// K=0 [B]\nK=1\n"), 0);
  EXPECT_EQ(Get(f, "A", "K"), "1");
}

TEST_F(IniFileTest, KeyLineWhoseValueHoldsTheHeaderIsTakenAsHeader) {
  CIniFile f;
  f.Open(Make("[A]\nlink=[B]\nK=fromA\n[B]\nK=fromB\n"), 0);
  EXPECT_EQ(Get(f, "B", "K"), "fromA");
}

TEST_F(IniFileTest, GetStringKeepsSpacesGetIntSkipsThem) {
  CIniFile f;
  f.Open(Make("[S]\nA= x \nB=   12\nPLAIN\nBIG=99999999999\n"), 0);
  EXPECT_EQ(Get(f, "S", "A"), " x ");
  int n = -1;
  EXPECT_EQ(f.GetInt("S", "B", &n), 1);
  EXPECT_EQ(n, 12);
  EXPECT_EQ(Get(f, "S", "PLAIN"), "PLAIN");
  n = 5;
  EXPECT_EQ(f.GetInt("S", "BIG", &n), 0);
  EXPECT_EQ(n, 5);
}

struct WriteCase {
  const char* name;
  const char* before;
  const char* section;
  const char* key;
  int existingOnly;
  int result;
  const char* after;  // lines joined by "|"
};

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) out += (i ? "|" : "") + lines[i];
  return out;
}

TEST_F(IniFileTest, WriteValueCases) {
  const std::vector<WriteCase> cases = {
      {"replace", "[S]\nK=1\n[T]\n", "S", "K", 0, 1, "[S]|K=v|[T]"},
      {"insert before next header after empty lines", "[S]\nA=1\n\n[T]\n", "S", "K", 0, 1,
       "[S]|A=1||K=v|[T]"},
      {"existing-only, followed by section", "[S]\nA=1\n[T]\n", "S", "K", 1, 0, "[S]|A=1|[T]"},
      {"existing-only, last section", "[S]\nA=1\n", "S", "K", 1, 1, "[S]|A=1"},
      {"existing-only, missing section", "[S]\nA=1\n", "X", "K", 1, 1, "[S]|A=1"},
      {"append to last section", "[S]\nA=1\n", "S", "K", 0, 1, "[S]|A=1|K=v"},
      {"append missing section", "[S]\nA=1\n", "X", "K", 0, 1, "[S]|A=1|[X]|K=v"},
      {"empty file ignores existing-only", "", "S", "K", 1, 1, "[S]|K=v"},
      {"header is the last line", "[A]\n[S]\n", "S", "K", 0, 1, "[A]|[S]|K=v"},
      {"section ends in a comment", "[S]\nA=1\n// note\n", "S", "K", 0, 1, "[S]|A=1|// note|K=v"},
  };
  for (const auto& c : cases) {
    CIniFile f;
    ASSERT_EQ(f.Open(Make(c.before), 0), 1) << c.name;
    EXPECT_EQ(f.SetString(c.section, c.key, "v", c.existingOnly), c.result) << c.name;
    EXPECT_EQ(Joined(f.GetLines()), c.after) << c.name;
    // Whatever was written can be read back.
    if (std::string(c.after).find("K=v") != std::string::npos) {
      EXPECT_EQ(Get(f, c.section, c.key), "v") << c.name;
    }
  }
}

TEST_F(IniFileTest, LineBreaksAreRefused) {
  Make("[S]\nK=1\n");
  {
    CIniFile f;
    f.Open(path_, 0);
    EXPECT_EQ(f.SetString("S", "K", "2\r\n[T]", 0), 0);
    EXPECT_EQ(f.SetString("S\n[T]", "K", "2", 0), 0);
    EXPECT_EQ(f.SetString("S", "K\nX", "2", 0), 0);
  }
  EXPECT_EQ(ReadBytes(path_), "[S]\nK=1\n");
}

TEST_F(IniFileTest, KeyCountAndSectionNames) {
  CIniFile f;
  f.Open(Make("[0]\n  [S]  \na\n// c\nnoequals\n\nlater=1\n[T]\n[\n"), 0);
  EXPECT_EQ(f.GetKeyCount("S"), 3);
  EXPECT_EQ(f.GetKeyCount("T"), 0);  // the next line holds "["
  EXPECT_EQ(f.GetKeyCount("none"), 0);
  std::vector<std::string> names{"stale"};
  EXPECT_EQ(f.GetSectionNames(names), 1);
  EXPECT_EQ(names, (std::vector<std::string>{"0", "S", "T", ""}));
}

TEST_F(IniFileTest, WritesBackOnlyChangesWithCrLf) {
  Make("[S]\nK=1\n");
  {
    CIniFile f;
    f.Open(path_, 0);
    f.SetString("S", "K", "1", 0);  // same line: no change
  }
  EXPECT_EQ(ReadBytes(path_), "[S]\nK=1\n");
  {
    CIniFile f;
    f.Open(path_, 0);
    int two = 2;
    EXPECT_EQ(f.SetInt("S", "K", &two, 0), 1);
  }
  EXPECT_EQ(ReadBytes(path_), "[S]\r\nK=2\r\n");
}

TEST_F(IniFileTest, MissingFileWithAndWithoutCreate) {
  std::string path = dir_.File("USERBLOCK.DEF");
  {
    CIniFile f;
    EXPECT_EQ(f.Open(path, 0), 0);
    EXPECT_EQ(f.SetString("S", "K", "v", 0), 0);
    std::vector<std::string> names;
    EXPECT_EQ(f.GetSectionNames(names), 0);
  }
  EXPECT_FALSE(std::filesystem::exists(path));
  {
    CIniFile f;
    EXPECT_EQ(f.Open(path, 1), 1);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(f.SetString("S", "K", "v", 0), 1);
  }
  EXPECT_EQ(ReadBytes(path), "[S]\r\nK=v\r\n");
}

// Something that exists but cannot be read (here a link to a folder; for
// other users also a file without read permission) is never replaced by
// an empty file.
TEST_F(IniFileTest, CreateLeavesAnUnreadableEntryAlone) {
  std::filesystem::create_directory(dir_.File("folder"));
  std::string link = dir_.File("USERBLOCK.DEF");
  std::filesystem::create_directory_symlink(dir_.File("folder"), link);
  {
    CIniFile f;
    EXPECT_EQ(f.Open(link, 1), 0);
    EXPECT_EQ(f.SetString("S", "K", "v", 0), 0);
  }
  EXPECT_TRUE(std::filesystem::is_symlink(link));
}

// The scheme files, block lists and indicator panes: a file above the size
// cap is refused unread and never written over.
TEST_F(IniFileTest, OversizedFileIsRefusedAndKept) {
  const std::string content = "[S]\r\nK=1\r\n" + std::string(16 << 20, ';');
  Make(content);
  {
    CIniFile f;
    EXPECT_EQ(f.Open(path_, 1), 0);
    EXPECT_EQ(f.SetString("S", "K", "2", 0), 0);
  }
  EXPECT_TRUE(ReadBytes(path_) == content);
}

TEST_F(IniFileTest, LongLinesAndNulBytesSurviveAnEdit) {
  std::string longLine = "LONG=" + std::string(3000, 'x');
  std::string nulLine("N=a\0b", 5);
  Make("[S]\n" + longLine + "\n" + nulLine + "\nK=1\n");
  {
    CIniFile f;
    f.Open(path_, 0);
    EXPECT_EQ(Get(f, "S", "LONG"), std::string(3000, 'x'));
    EXPECT_EQ(Get(f, "S", "N="), std::string("a\0b", 3));
    f.SetString("S", "K", "2", 0);
  }
  EXPECT_EQ(ReadBytes(path_), "[S]\r\n" + longLine + "\r\n" + nulLine + "\r\nK=2\r\n");
}

TEST_F(IniFileTest, FailedWriteBackLeavesTheFile) {
  CIniFile f;
  ASSERT_EQ(f.Open("/proc/version", 0), 1);
  std::string before = ReadBytes("/proc/version");
  f.SetString("S", "K", "v", 0);
  EXPECT_FALSE(f.Flush());
  EXPECT_EQ(ReadBytes("/proc/version"), before);
}

}  // namespace
