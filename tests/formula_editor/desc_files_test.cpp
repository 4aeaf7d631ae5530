// "ParamsDesc.tch" and "TechDesc.tch": the description parser, the
// description dialog's text rules, writing a new key and reading it back,
// the note found only under its kind, and the files the build installs.
#include <cstdlib>
#include <cstring>
#include <string>

#include "editor_test_support.h"
#include "formula/editor/ParamsDesc.h"
#include "formula/editor/TechNote.h"
#include "platform/gbk.h"

namespace formula {
namespace {

class DescFiles : public editor_test::StoreFolder {};

TEST(ParamsDescParse, ParseTable) {
  struct Case {
    const char* text;
    int valid;
    int lines;
    const char* line0;
    const char* prefix0;
    const char* suffix0;
    const char* suffixLast;
  } cases[] = {
      {"\"  N days Param#1 long\r\nParam#2\"", 1, 2, "  N days Param#1 long", "  N days ", " long",
       ""},
      {"  \"a Param#1b\"  ", 1, 1, "a Param#1b", "a ", "b", "b"},
      {"x Param#1\r\ny Param#2\r\n", 1, 2, "x Param#1", "x ", "", ""},
      {"x Param#1\ny Param#2", 1, 2, "x Param#1", "x ", "", ""},
      {"endParam#", 1, 1, "endParam#", "end", "", ""},  // the marker's character is missing
      {"x Param#1\r\n\r\ny Param#2", 0, 0, nullptr, nullptr, nullptr,
       nullptr},  // an empty line between
      {"x Param#1\r\nno marker", 0, 0, nullptr, nullptr, nullptr, nullptr},
      {"nothing", 0, 0, nullptr, nullptr, nullptr, nullptr},
      {"", 0, 0, nullptr, nullptr, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(CParamsDescParse::IsValidDesc(c.text), c.valid);
    CParamsDescParse desc;
    EXPECT_EQ(desc.Load(c.text), c.valid);
    EXPECT_EQ(desc.LineCount(), c.lines);
    std::string line, prefix, suffix, last;
    EXPECT_EQ(desc.Line(0, line), c.valid == 1);
    EXPECT_FALSE(desc.Line(c.lines, line));
    EXPECT_FALSE(desc.Line(-1, line));
    if (!c.valid) continue;
    desc.Line(0, line);
    EXPECT_EQ(line, c.line0);
    ASSERT_TRUE(desc.LinePrefix(0, prefix));
    EXPECT_EQ(prefix, c.prefix0);
    ASSERT_TRUE(desc.LineSuffix(0, suffix));
    EXPECT_EQ(suffix, c.suffix0);
    ASSERT_TRUE(desc.LineSuffix(c.lines - 1, last));
    EXPECT_EQ(last, c.suffixLast);
  }
  EXPECT_EQ(CParamsDescParse::IsValidDesc(nullptr), 0);
}

TEST(ParamsDescParse, BufferFormsRefuseWhatDoesNotFit) {
  CParamsDescParse desc;
  char buffer[8] = "old";
  EXPECT_EQ(desc.GetLine(0, buffer, sizeof buffer), 0);  // nothing loaded
  ASSERT_EQ(desc.Load("ab Param#1 cd"), 1);
  EXPECT_EQ(desc.GetLine(0, buffer, sizeof buffer), 0);  // 13 characters do not fit 8
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(desc.GetLinePrefix(0, buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "ab ");
  EXPECT_EQ(desc.GetLineSuffix(0, buffer, 4), 1);
  EXPECT_STREQ(buffer, " cd");
  EXPECT_EQ(desc.GetLineSuffix(0, buffer, 3), 0);
  EXPECT_EQ(desc.GetLineSuffix(1, buffer, sizeof buffer), 0);
  EXPECT_EQ(desc.Load("invalid"), 0);
  EXPECT_EQ(desc.GetLinePrefix(0, buffer, sizeof buffer), 1);  // a refused load keeps the last one
}

TEST(ParamsDescParse, DialogTextRules) {
  struct Case {
    const char* typed;
    size_t size;
    const char* stored;
  } cases[] = {
      {"a Param#1", 1025, "\"a Param#1\""},
      {"  \"a Param#1\"  \r\n", 1025, "\"a Param#1\""},  // typed quotes are not doubled
      {"\"a Param#1", 1025, "\"a Param#1\""},
      {"a Param#1\"", 1025, "\"a Param#1\""},
      {"abcdef", 7, "abcdef"},  // no room for quotes
      {"abcde", 7, "abcde\""},  // room for the closing one only
      {"abcd", 7, "\"abcd\""},
      {"", 1, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(QuoteDescText(c.typed, c.size), c.stored) << c.typed;
  // A cut never splits a Chinese character.
  EXPECT_EQ(QuoteDescText(GBK("中文"), 4), std::string(GBK("中")) + "\"");

  EXPECT_STREQ(CheckParamsDescEntry("", 0, "a Param#1"), GBK("传入参数错误"));
  EXPECT_STREQ(CheckParamsDescEntry("MA", -1, "a Param#1"), GBK("传入参数错误"));
  EXPECT_STREQ(CheckParamsDescEntry("MA", 0, "a Param#1\r\n\r\nb Param#2"),
               GBK("不允许中间空行，每行规定1个参数，请检查!"));
  EXPECT_STREQ(CheckParamsDescEntry("MA", 0, ""), GBK("不允许中间空行，每行规定1个参数，请检查!"));
  EXPECT_EQ(CheckParamsDescEntry("MA", 0, "a Param#1\r\nb Param#2\r\n"), nullptr);
}

TEST_F(DescFiles, NewKeyWrittenAndReadBack) {
  const std::string original = std::string("; kept comment\r\n") +
                               "domain<<ZBFormu>>\r\n{\r\n\tOLD=\"x Param#1\"\r\n};\r\n" +
                               "domain<<JYFormu>>\r\n{\r\n\tSYS=\"s Param#1\"\r\n};\r\n";
  WriteFile(kParamsDescFile, original);
  const std::string value =
      QuoteDescText(std::string(GBK("周期Param#1天")) + "\r\n" + GBK("权重Param#2"), 1025);
  ASSERT_TRUE(WriteParamsDesc(Folder(), 0, "NEWMA", value));

  const std::string read = ReadParamsDesc(Folder(), 0, "newma");
  EXPECT_EQ(read, value);
  CParamsDescParse desc;
  ASSERT_EQ(desc.Load(read.c_str()), 1);
  std::string prefix, suffix;
  ASSERT_TRUE(desc.LinePrefix(0, prefix) && desc.LineSuffix(0, suffix));
  EXPECT_EQ(prefix, GBK("周期"));
  EXPECT_EQ(suffix, GBK("天"));
  // The rest of the file is still there.
  EXPECT_EQ(ReadParamsDesc(Folder(), 0, "OLD"), "\"x Param#1\"");
  EXPECT_EQ(ReadParamsDesc(Folder(), 2, "SYS"), "\"s Param#1\"");
  EXPECT_NE(ReadFile(kParamsDescFile).find("; kept comment"), std::string::npos);

  // Rewriting the key replaces its value.
  ASSERT_TRUE(WriteParamsDesc(Folder(), 0, "NEWMA", "\"y Param#1\""));
  EXPECT_EQ(ReadParamsDesc(Folder(), 0, "NEWMA"), "\"y Param#1\"");
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(DescFiles, UnreadableFileIsNeverReplaced) {
  const std::string broken = "domain<<ZBFormu>>\r\n{\r\n\tK=\r\n";  // the block never closes
  WriteFile(kParamsDescFile, broken);
  EXPECT_FALSE(WriteParamsDesc(Folder(), 0, "K", "\"a Param#1\""));
  EXPECT_EQ(ReadFile(kParamsDescFile), broken);
  EXPECT_EQ(BoxTexts().back(), GBK("INI配置不对!"));

  // A missing file: the library's box, an empty description, and a write creates it.
  std::filesystem::remove(dir / kParamsDescFile);
  boxes.Clear();
  EXPECT_EQ(ReadParamsDesc(Folder(), 0, "K"), "");
  EXPECT_EQ(BoxTexts(),
            std::vector<std::string>{GBK("读取INI文件失败，找不到文件，请确认文件名是否正确!")});
  EXPECT_TRUE(WriteParamsDesc(Folder(), 0, "K", "\"a Param#1\""));
  EXPECT_EQ(ReadParamsDesc(Folder(), 0, "K"), "\"a Param#1\"");
}

TEST_F(DescFiles, NoteIsFoundOnlyUnderItsKind) {
  WriteFile(kTechDescFile, std::string("domain<<ZBFormu>>\r\n{\r\n\tTESTZB=\"") + GBK("指标说明") +
                               "\r\nline 2\"\r\n};\r\ndomain<<JYFormu>>\r\n{\r\n\tSYS1=" +
                               GBK("系统说明") + "\r\n};\r\n");
  EXPECT_EQ(LookupTechNote(Folder(), 0, "TestZB"),
            std::string("\"") + GBK("指标说明") + "\r\nline 2\"");
  EXPECT_EQ(LookupTechNote(Folder(), 1, "TestZB"), "");
  EXPECT_EQ(LookupTechNote(Folder(), 2, "TestZB"), "");
  EXPECT_EQ(LookupTechNote(Folder(), 2, "SYS1"), GBK("系统说明"));
  EXPECT_EQ(LookupTechNote(Folder(), 0, "SYS1"), "");

  // The library's note entry point: the kind the formula is found in, and
  // only for a formula that has a note text of its own.
  STechNote note;
  EXPECT_FALSE(FindFormulaNote("TestZB", note));  // the example has no note text
  EXPECT_FALSE(FindFormulaNote("nothing", note));
  SFormulaRecord sys;
  sys.nKind = 2;
  std::strcpy(sys.szCode, "SYS1");
  sys.strNote = "x";
  TheFormulaStore().Formulas(2).push_back(sys);
  ASSERT_TRUE(FindFormulaNote("sys1", note));
  EXPECT_EQ(note.title, "sys1");
  EXPECT_EQ(note.note, GBK("系统说明"));
}

TEST_F(DescFiles, BuildInstallsDescriptionsOfTheExamples) {
  const char* bin = std::getenv("ZEB_BIN_DIR");
  ASSERT_NE(bin, nullptr);
  const std::string installed = std::string(bin) + "/formula/";
  CParamsDescParse desc;
  ASSERT_EQ(desc.Load(ReadParamsDesc(installed, 0, "ZB2Param").c_str()), 1);
  EXPECT_EQ(desc.LineCount(), 2);  // N and M
  for (const char* name : {"TestZB", "ZB2Param"})
    EXPECT_GT(LookupTechNote(installed, 0, name).size(), 10u) << name;
  EXPECT_TRUE(BoxTexts().empty());
}

}  // namespace
}  // namespace formula
