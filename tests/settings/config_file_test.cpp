#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/gbk.h"
#include "support/temp_dir.h"
#include "settings/config_file.h"

namespace {

class ConfigFileTest : public ::testing::Test {
 protected:
  std::string Make(const std::string& content) {
    std::string path = dir_.File("zeb.ini");
    WriteBytes(path, content);
    return path;
  }
  std::string Get(CConfigFile& f, const char* section, const char* key) {
    std::string value = "<untouched>";
    f.GetString(section, key, value);
    return value;
  }
  TempDir dir_;
};

struct KeyLineCase {
  const char* line;
  const char* key;  // nullptr: the line is skipped
  const char* value;
};

TEST_F(ConfigFileTest, KeyLineRules) {
  const std::vector<KeyLineCase> cases = {
      {"key=value", "key", "value"},
      {"  \"key\"  =  \"value\"  \t", "key", "value"},
      {"\"a\\\"b\"=\"x\\\"y\" tail", "a\\\"b", "x\\\"y"},  // backslash-quote stays, runs on
      {"k=\"unclosed", nullptr, nullptr},
      {"a\\=b=c", "a\\=b", "c"},
      {"\"a=b\"=c", "a", "b\"=c"},
      {"a=", nullptr, nullptr},
      {"ab=", "ab", ""},
      {"k=  say \"hi\"  ", "k", "say \"hi\""},
      {"#k=v", nullptr, nullptr},
      {";k=v", nullptr, nullptr},
      {"k v", nullptr, nullptr},
      {"9=nine", "9", "nine"},
  };
  for (const auto& c : cases) {
    CConfigFile f(Make(std::string("[S]\n") + c.line + "\n").c_str(), 0);
    ASSERT_TRUE(f.IsLoaded());
    const auto& keys = f.GetSections().at(0).keys;
    if (!c.key) {
      EXPECT_TRUE(keys.empty()) << c.line;
      continue;
    }
    ASSERT_EQ(keys.size(), 1u) << c.line;
    EXPECT_EQ(keys.at(0).key, c.key) << c.line;
    EXPECT_EQ(keys.at(0).value, c.value) << c.line;
  }
}

TEST_F(ConfigFileTest, GbkKeysNeedQuotesAndSectionsKeepSpaces) {
  std::string gbkKey = GBK("用户");
  CConfigFile f(
      Make("[ A ] trailing\r\n" + gbkKey + "=bare\r\n\"" + gbkKey + "\"=quoted\r\n").c_str(), 0);
  EXPECT_EQ(f.FindSection(" A "), 0);
  EXPECT_EQ(f.FindSection("A"), -2);
  EXPECT_EQ(Get(f, " A ", gbkKey.c_str()), "quoted");
  EXPECT_EQ(f.GetSections().at(0).keys.size(), 1u);
}

TEST_F(ConfigFileTest, LookupAcrossDuplicateSectionsAndKeysBeforeFirstSection) {
  CConfigFile f(Make("early=1\n[S]\na=1\n[T]\nb=2\n[S]\na=9\nc=3\n[broken\nd=4\n").c_str(), 0);
  EXPECT_EQ(Get(f, "S", "early"), "<untouched>");
  EXPECT_EQ(Get(f, "S", "a"), "1");
  EXPECT_EQ(Get(f, "S", "c"), "3");
  EXPECT_EQ(Get(f, "S", "d"), "4");  // a section line without ']' is skipped
  EXPECT_EQ(f.FindSection("S"), 0);
  EXPECT_EQ(f.GetSections().size(), 3u);
  // SetString changes keys of the first section of the name only.
  EXPECT_EQ(f.SetString("S", "c", "x", -1), -1);
  EXPECT_EQ(Get(f, "S", "c"), "3");
}

TEST_F(ConfigFileTest, SetKeyValueByOccurrence) {
  CConfigFile f(Make("[S]\nk=a\nk=b\nk=c\nother=o\n").c_str(), 0);
  EXPECT_EQ(f.SetKeyValue(0, "k", "B", 1), 0);
  const auto& keys = f.GetSections().at(0).keys;
  EXPECT_EQ(keys.at(0).value, "a");
  EXPECT_EQ(keys.at(1).value, "B");
  EXPECT_EQ(keys.at(2).value, "c");
  EXPECT_EQ(f.SetKeyValue(0, "k", "x", 5), -1);
  EXPECT_EQ(f.SetKeyValue(0, "k", "x", -2), -1);
  EXPECT_EQ(f.SetKeyValue(1, "k", "x", -1), -1);
  EXPECT_EQ(f.SetKeyValue(-1, "k", "x", -1), -1);
  EXPECT_EQ(f.SetKeyValue(0, "missing", "x", -1), -1);
  EXPECT_EQ(f.SetKeyValue(0, "k", "all", -1), 0);
  EXPECT_EQ(keys.at(0).value, "all");
  EXPECT_EQ(keys.at(2).value, "all");
  EXPECT_EQ(keys.at(3).value, "o");
  EXPECT_EQ(keys.size(), 4u);
}

TEST_F(ConfigFileTest, SetStringAddsMissingSectionWhichSaveWrites) {
  std::string path = Make("[S]\nk=v\n");
  {
    CConfigFile f(path.c_str(), 0);
    EXPECT_EQ(f.SetString("NEW", "k", "v", -1), -1);
    EXPECT_EQ(f.FindSection("NEW"), 1);
    EXPECT_EQ(f.AddSection("NEW"), -1);
    EXPECT_EQ(f.Save(0), 0);
  }
  EXPECT_EQ(ReadBytes(path), "[S]\r\n\"k\"=\"v\"\r\n\r\n[NEW]\r\n\r\n");
}

TEST_F(ConfigFileTest, SaveWithHeaderDoesNotPileUpHeaders) {
  std::string path = Make("; comment\n[UPDATE]\nUPDATEPORT = 80\n");
  for (int round = 0; round < 2; ++round) {
    CConfigFile f(path.c_str(), 0);
    ASSERT_EQ(f.SetString("UPDATE", "UPDATEPORT", "81", -1), 0);
    ASSERT_EQ(f.Save(1), 0);
  }
  std::string text = ReadBytes(path);
  const std::string prefix = "# This ini was modified by system on ";
  ASSERT_EQ(text.compare(0, prefix.size(), prefix), 0);
  // "YYYY-MM-DD hh:mm:ss." then an empty line, then the sections.
  size_t afterStamp = prefix.size() + 19;
  EXPECT_EQ(text.substr(afterStamp), ".\r\n\r\n[UPDATE]\r\n\"UPDATEPORT\"=\"81\"\r\n\r\n");
  EXPECT_EQ(text.find(prefix, 1), std::string::npos);
}

TEST_F(ConfigFileTest, SaveOnCloseFlagWritesWithHeader) {
  std::string path = Make("[S]\nk=v\n");
  { CConfigFile f(path.c_str(), 1); }
  EXPECT_EQ(ReadBytes(path).rfind("# This ini was modified by system on ", 0), 0u);
}

TEST_F(ConfigFileTest, MissingFileIsNotLoadedAndSaveCreatesNothing) {
  std::string path = dir_.File("absent.ini");
  CConfigFile f(path.c_str(), 1);
  EXPECT_EQ(f.IsLoaded(), 0);
  std::string value = "keep";
  EXPECT_EQ(f.GetString("S", "k", value), -1);
  EXPECT_EQ(value, "keep");
  int number = 7;
  EXPECT_EQ(f.GetInt("S", "k", &number), -1);
  EXPECT_EQ(number, 7);
  EXPECT_EQ(f.FindSection("S"), -1);
  EXPECT_EQ(f.AddSection("S"), -1);
  EXPECT_EQ(f.SetString("S", "k", "v", -1), -1);
  EXPECT_EQ(f.Save(1), -1);
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(ConfigFileTest, FolderIsNotLoaded) {
  CConfigFile f(dir_.Path().c_str(), 0);
  EXPECT_EQ(f.IsLoaded(), 0);
}

// A settings file far beyond any real one is damage or an attack: refused
// unread (reading 200 MB took 47 s and 2 GB) and never written over.
TEST_F(ConfigFileTest, OversizedFileIsRefusedAndKept) {
  const std::string content = "[S]\r\nk=1\r\n" + std::string(16 << 20, '#');
  const std::string path = Make(content);
  {
    CConfigFile f(path.c_str(), 1);
    EXPECT_EQ(f.IsLoaded(), 0);
    EXPECT_EQ(f.SetString("S", "k", "2", -1), -1);
    EXPECT_EQ(f.Save(1), -1);
  }
  EXPECT_TRUE(ReadBytes(path) == content);
}

TEST_F(ConfigFileTest, IntegersWithRangeChecks) {
  CConfigFile f(Make("[N]\na= -42xyz\nb=abc\nc=2147483647\nd=-2147483648\n"
                     "e=2147483648\nf=99999999999999999999999\ng=+7\n")
                    .c_str(),
                0);
  struct Case {
    const char* key;
    int result;
    int value;
  };
  for (const Case& c : std::vector<Case>{{"a", 0, -42},
                                         {"b", 0, 0},
                                         {"c", 0, INT_MAX},
                                         {"d", 0, INT_MIN},
                                         {"e", -1, 555},
                                         {"f", -1, 555},
                                         {"g", 0, 7}}) {
    int value = 555;
    EXPECT_EQ(f.GetInt("N", c.key, &value), c.result) << c.key;
    EXPECT_EQ(value, c.value) << c.key;
  }
  int port = 555;
  EXPECT_EQ(f.GetIntInRange("N", "g", &port, 1, 65535), 0);
  EXPECT_EQ(port, 7);
  EXPECT_EQ(f.GetIntInRange("N", "a", &port, 1, 65535), -1);
  EXPECT_EQ(port, 7);
}

// A 3,000-byte line is one line: it is read whole and saved whole, so a
// save never turns its tail into a new key.
TEST_F(ConfigFileTest, LongLineIsReadAsOneLineAndSavedUnchanged) {
  std::string longValue(3000, 'v');
  longValue.replace(2047 - 4, 8, "x=tail=1");
  std::string path = Make("[S]\nk=" + longValue + "\nnext=2\n");
  {
    CConfigFile f(path.c_str(), 0);
    EXPECT_EQ(Get(f, "S", "k"), longValue);
    EXPECT_EQ(f.GetSections().at(0).keys.size(), 2u);
    EXPECT_EQ(f.Save(0), 0);
  }
  CConfigFile again(path.c_str(), 0);
  EXPECT_EQ(Get(again, "S", "k"), longValue);
  EXPECT_EQ(Get(again, "S", "next"), "2");
}

TEST_F(ConfigFileTest, NulBytesAreKeptAndDoNotCutTheFile) {
  const char raw[] = "[S]\nk=a\0b\nafter=1\n";
  std::string content(raw, sizeof raw - 1);
  std::string path = Make(content);
  CConfigFile f(path.c_str(), 0);
  EXPECT_EQ(Get(f, "S", "k"), std::string("a\0b", 3));
  EXPECT_EQ(Get(f, "S", "after"), "1");
  ASSERT_EQ(f.Save(0), 0);
  CConfigFile again(path.c_str(), 0);
  EXPECT_EQ(Get(again, "S", "k"), std::string("a\0b", 3));
}

// Values holding quotes or ending in a backslash read back unchanged after
// a save; values that no line can hold are refused.
TEST_F(ConfigFileTest, ValuesRoundTripThroughSave) {
  std::string path = Make("[S]\na=1\nb=2\nc=3\nd=4\ne=5\n");
  {
    CConfigFile f(path.c_str(), 0);
    EXPECT_EQ(f.SetKeyValue(0, "a", "say \"hi\"", -1), 0);
    EXPECT_EQ(f.SetKeyValue(0, "b", "C:\\dir\\", -1), 0);
    EXPECT_EQ(f.SetKeyValue(0, "c", "x\\\"y", -1), 0);
    EXPECT_EQ(f.SetKeyValue(0, "d", "line\r\n[EVIL]", -1), -1);
    EXPECT_EQ(f.SetKeyValue(0, "e", "\"starts with a quote", -1), -1);
    EXPECT_EQ(f.Save(0), 0);
  }
  CConfigFile again(path.c_str(), 0);
  EXPECT_EQ(Get(again, "S", "a"), "say \"hi\"");
  EXPECT_EQ(Get(again, "S", "b"), "C:\\dir\\");
  EXPECT_EQ(Get(again, "S", "c"), "x\\\"y");
  EXPECT_EQ(Get(again, "S", "d"), "4");
  EXPECT_EQ(Get(again, "S", "e"), "5");
  EXPECT_EQ(again.FindSection("EVIL"), -2);
}

// A file in a folder where nothing can be created (works as root too): the
// save fails, reports it, and the file and the memory state stay.
TEST_F(ConfigFileTest, FailedSaveLeavesTheFileAlone) {
  const char* path = "/proc/version";
  std::string before = ReadBytes(path);
  CConfigFile f(path, 0);
  ASSERT_EQ(f.IsLoaded(), 1);
  ASSERT_EQ(f.AddSection("S"), 0);
  EXPECT_EQ(f.Save(1), -1);
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_EQ(f.FindSection("S"), 0);
}

// The program folder's "zeb.ini" holds the client key's password: the build
// writes it for the owner alone, whatever the umask; other settings follow
// the umask.
TEST(ProgramFolder, SettingsWithThePasswordAreTheOwnersAlone) {
  const char* source = std::getenv("ZEB_SOURCE_DIR");
  ASSERT_NE(source, nullptr);
  TempDir out;
  const std::string src(source);
  const std::string command = "umask 022 && python3 " + src +
                              "/zeb/program/make_program_folder.py " + src + "/zeb/program " + src +
                              "/resources " + out.Path() + " " + out.Path() + " " +
                              out.File("stamp");
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  struct stat st;
  ASSERT_EQ(stat(out.File("zeb.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  ASSERT_EQ(stat(out.File("sysset.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0644u);
}

// A save of "zeb.ini" that finds no file (removed since it was read) makes
// it the owner's alone.
TEST_F(ConfigFileTest, ASaveThatCreatesTheFileMakesItPrivate) {
  const std::string path = Make("[TRADESERVER]\r\nEKEYPWD=test\r\n");
  CConfigFile f(path.c_str(), 0);
  ASSERT_EQ(f.IsLoaded(), 1);
  std::filesystem::remove(path);
  ASSERT_EQ(f.Save(0), 0);
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
}

}  // namespace
