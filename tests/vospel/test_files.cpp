// SetIniFile / DumpIniFile: boxes, diagnostics and byte-exact round trips.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "enforced_permissions.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "support/temp_folder.h"
#include "trace.h"
#include "vospel/IniParser.h"

namespace {

std::vector<std::string> g_trace;
void Record(const char* line) { g_trace.push_back(line); }

class IniFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = folder_.Path();
    g_trace.clear();
    previous_ = vospel::SetTraceSink(Record);
  }
  void TearDown() override { vospel::SetTraceSink(previous_); }
  std::string Write(const std::string& name, const std::string& text) {
    std::string path = dir_ + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  test_support::TempFolder folder_{"vospel"};
  std::string dir_;
  vospel::TraceSink previous_ = nullptr;
  platform::ScopedRecordingBoxes boxes_;
};

const char kSample[] =
    "; formula descriptions\r\n"
    "version=3\r\n"
    "domain<<ZBFormu>>\r\n"
    "{\r\n"
    "\tMA=\"moving average\",{5,10,{20,60}},x;\r\n"
    "\t# kept as read\r\n"
    "\tdomain<<Inner>>\r\n"
    "\t{\r\n"
    "\t\tk=v\r\n"
    "\t};\r\n"
    "};\r\n"
    "\r\n"
    "[TJFormu]\r\n"
    "a=1\r\n"
    "b=\r\n"
    "\r\n"
    "[JYFormu]\r\n"
    "c='x y'\r\n";

TEST_F(IniFiles, RoundTripIsByteIdenticalAndIdempotent) {
  std::string path = Write("a.ini", kSample);
  CIniParser ini;
  ASSERT_EQ(ini.SetIniFile(path.c_str()), 1);
  ASSERT_EQ(ini.DumpIniFile(), 1);
  const std::string first = Read(path);
  const std::string expected =
      "; formula descriptions\r\nversion=3\r\n"
      "domain<<ZBFormu>>\r\n{\r\n\tMA=\"moving average\",{5,10,\r\n\t\t\t{20,60}},x;\r\n\t# kept as read\r\n"
      "\tdomain<<Inner>>\r\n\t{\r\n\t\tk=v\r\n\t};\r\n};\r\n"
      "\r\n[TJFormu]\r\na=1\r\nb=\r\n"
      "\r\n[JYFormu]\r\nc='x y'\r\n\r\n";
  EXPECT_EQ(first, expected);
  for (int cycle = 0; cycle < 2; ++cycle) {
    CIniParser again;
    ASSERT_EQ(again.SetIniFile(path.c_str()), 1);
    ASSERT_EQ(again.DumpIniFile(), 1);
    EXPECT_EQ(Read(path), first);
  }
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(IniFiles, MissingFileShowsTheReadBox) {
  CIniParser ini;
  std::string path = dir_ + "/none.ini";
  EXPECT_EQ(ini.SetIniFile(path.c_str()), 0);
  auto boxes = boxes_.Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, GBK("读取INI文件失败，找不到文件，请确认文件名是否正确!"));
  EXPECT_EQ(boxes[0].caption, GBK("INI错误"));
  EXPECT_EQ(boxes[0].owner, nullptr);
  EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(ini.DumpText(), "\r\n");  // the model is empty
}

TEST_F(IniFiles, SyntaxErrorShowsTheConfigBoxAndOneTrace) {
  std::string path = Write("bad.ini", "[a]\r\nk=1\r\nbad line here\r\nz=2\r\n");
  CIniParser ini;
  EXPECT_EQ(ini.SetIniFile(path.c_str()), 0);
  auto boxes = boxes_.Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, GBK("INI配置不对!"));
  EXPECT_EQ(boxes[0].caption, GBK("INI错误"));
  ASSERT_EQ(g_trace.size(), 1u);  // one report, not one per token
  const std::string& line = g_trace[0];
  EXPECT_EQ(line.rfind("CFG:  ", 0), 0u);
  EXPECT_EQ(line.substr(line.size() - 2), "\r\n");
  EXPECT_NE(
      line.find(GBK(
          "错误行=3(参考行:3),错误单词=line,错误信息=syntax error 参考上下文:[a]\r\nk=1\r\nbad ")),
      std::string::npos)
      << line;
  // What was read before the error stays.
  ini.LocateRegion("a", nullptr);
  EXPECT_STREQ(ini.ValOf("k"), "1");
}

TEST_F(IniFiles, DeepNestingIsRefusedWithTheStackReport) {
  std::string deep = "k=" + std::string(5000, '{') + "x" + std::string(5000, '}') + "\r\n";
  std::string path = Write("deep.ini", deep);
  CIniParser ini;
  EXPECT_EQ(ini.SetIniFile(path.c_str()), 0);
  ASSERT_EQ(g_trace.size(), 1u);
  EXPECT_NE(g_trace[0].find("parser stack overflow (1024)"), std::string::npos) << g_trace[0];
}

TEST_F(IniFiles, ReadOnlyFileIsReadAndWritesReplaceTheFile) {
  std::string path = Write("ro.ini", "k=1\r\n");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  CIniParser ini;
  EXPECT_EQ(ini.SetIniFile(path.c_str()), 1);
  EXPECT_STREQ(ini.ValOf("k"), "1");

  std::string writable = Write("w.ini", "k=1\r\n");
  CIniParser w;
  ASSERT_EQ(w.SetIniFile(writable.c_str()), 1);
  w <<= "k";
  w << "2";
  ASSERT_EQ(w.DumpIniFile(), 1);
  EXPECT_EQ(Read(writable), "k=2\r\n\r\n");
}

TEST_F(IniFiles, WritesThatWouldDamageTheFileAreRefused) {
  // A file that read only in part keeps the rest.
  const std::string bad = "[a]\r\nk=1\r\nbad line here\r\nz=2\r\n";
  std::string path = Write("bad.ini", bad);
  CIniParser partial;
  EXPECT_EQ(partial.SetIniFile(path.c_str()), 0);
  partial.LocateRegion("a", nullptr);
  partial <<= "k";
  partial << "2";
  EXPECT_EQ(partial.DumpIniFile(), 0);
  EXPECT_EQ(Read(path), bad);

  // An assigned text that no form of the syntax holds (both quotes and a
  // separator) leaves the file as it was; one that quotes can hold is
  // written quoted.
  std::string good = Write("good.ini", "k=1\r\n");
  CIniParser ini;
  ASSERT_EQ(ini.SetIniFile(good.c_str()), 1);
  ini <<= "k";
  ini << "a\"}'";
  EXPECT_EQ(ini.DumpIniFile(), 0);
  EXPECT_EQ(Read(good), "k=1\r\n");
  ini << "}";
  EXPECT_EQ(ini.DumpIniFile(), 1);
  EXPECT_EQ(Read(good), "k=\"}\"\r\n\r\n");
  ini << "2";
  EXPECT_EQ(ini.DumpIniFile(), 1);
  EXPECT_EQ(Read(good), "k=2\r\n\r\n");
}

// A file that exists but cannot be read (no permission, above the size cap)
// shows the read box and is never written: the model is not the file.
TEST_F(IniFiles, UnreadableFileIsNeverWritten) {
  const struct {
    const char* what;
    mode_t mode;
    std::string content;
  } cases[] = {
      {"no read permission", 0200, "k=1\r\nj=2\r\n"},
      {"above the size cap", 0644, "k=1\r\n;" + std::string(16 << 20, 'x') + "\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = Write("u.ini", c.content);
    ASSERT_EQ(chmod(path.c_str(), c.mode), 0);
    const size_t boxesBefore = boxes_.Boxes().size();
    {
      EnforcedPermissions enforced;
      CIniParser ini;
      EXPECT_EQ(ini.SetIniFile(path.c_str()), 0);
      ini <<= "k";
      ini << "2";
      EXPECT_EQ(ini.DumpIniFile(), 0);
    }
    EXPECT_EQ(boxes_.Boxes().size(), boxesBefore + 1);
    EXPECT_TRUE(Read(path) == c.content);
  }
}

// The reader sees the text up to a zero byte; the rest is still in the
// file, so writing the model back would drop it: such a read is partial.
TEST_F(IniFiles, ZeroByteMakesTheReadPartial) {
  const std::string text("[a]\r\nk=1\r\n\0z=2\r\n", 16);
  const std::string path = Write("nul.ini", text);
  CIniParser ini;
  EXPECT_EQ(ini.SetIniFile(path.c_str()), 1);
  ini.LocateRegion("a", nullptr);
  EXPECT_STREQ(ini.ValOf("k"), "1");
  ini << "2";
  EXPECT_EQ(ini.DumpIniFile(), 0);
  EXPECT_EQ(Read(path), text);
  ASSERT_EQ(g_trace.size(), 1u);
  EXPECT_NE(g_trace[0].find("zero byte at offset 10"), std::string::npos) << g_trace[0];
}

TEST_F(IniFiles, DumpWithoutFileFails) {
  CIniParser ini;
  EXPECT_EQ(ini.DumpIniFile(), 0);
  std::string path = Write("x.ini", "k=1\r\n");
  ASSERT_EQ(ini.SetIniFile(path.c_str()), 1);
  std::string gone = dir_ + "/sub/none.ini";
  CIniParser missing;
  EXPECT_EQ(missing.SetIniFile(gone.c_str()), 0);
  EXPECT_EQ(missing.DumpIniFile(), 0);  // its folder does not exist
}

TEST_F(IniFiles, TraceLineIsCutToItsBuffer) {
  vospel::Trace("%s", std::string(3000, 'x').c_str());
  ASSERT_EQ(g_trace.size(), 1u);
  EXPECT_EQ(g_trace[0].size(), 6u + 1015u + 2u);
}

}  // namespace
