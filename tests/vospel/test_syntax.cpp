// Input text -> the normalised text DumpIniFile writes.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "trace.h"
#include "vospel/IniParser.h"

namespace {

struct DumpCase {
  const char* name;
  std::string input;
  std::string dumped;
};

void PrintTo(const DumpCase& c, std::ostream* os) { *os << c.name; }

class Dump : public ::testing::TestWithParam<DumpCase> {};

void Silent(const char*) {}

TEST_P(Dump, WritesTheNormalisedLayout) {
  const DumpCase& c = GetParam();
  CIniParser ini;
  ASSERT_EQ(ini.ParseText(c.input.data(), c.input.size()), 1);
  EXPECT_EQ(ini.DumpText(), c.dumped);
  // Reading the written text gives it back unchanged.
  CIniParser again;
  std::string first = ini.DumpText();
  ASSERT_EQ(again.ParseText(first.data(), first.size()), 1);
  EXPECT_EQ(again.DumpText(), first);
}

const DumpCase kDumpCases[] = {
    {"SectionKey", "[a]\r\nk=1\r\n", "\r\n[a]\r\nk=1\r\n\r\n"},
    {"BlankLinesDropped", "\r\n\r\n[a]\r\n\r\nk=1\r\n\r\n", "\r\n[a]\r\nk=1\r\n\r\n"},
    {"NestedListBreaksLine", "k={x,{y,z}}", "k={x,\r\n\t\t{y,z}};\r\n\r\n"},
    {"DeeperListsStayInline", "k={{a,{b,c}}}\n", "k={\r\n\t\t{a,{b,c}}};\r\n\r\n"},
    {"TopLevelBlock", "domain<<X>>{k=1}", "domain<<X>>\r\n{\r\n\tk=1\r\n};\r\n\r\n"},
    {"DomainWordAnyCase", "DOMAIN<<X>>{k=1};", "domain<<X>>\r\n{\r\n\tk=1\r\n};\r\n\r\n"},
    {"NestedBlocksIndent", "domain<<A>>{domain<<B>>{k={x,{y}}};};",
     "domain<<A>>\r\n{\r\n\tdomain<<B>>\r\n\t{\r\n\t\tk={x,\r\n\t\t\t\t{y}};\r\n\t};\r\n};\r\n\r\n"},
    {"KeyWithoutValues", "K=\r\n", "K=\r\n\r\n"},
    {"CommentAtLineStartKept", "; note\r\n  # two\r\n// three\nk=v ;x=1\r\n",
     "; note\r\n  # two\r\n// three\nk=v\r\nx=1\r\n\r\n"},
    {"TrailingCommaBeforeLineEnd", "k=a,\r\nb=1\r\n", "k=a\r\nb=1\r\n\r\n"},
    {"ListOnNextLine", "k=\r\n{a,b}\r\n", "k={a,b};\r\n\r\n"},
    {"ListTrailingComma", "k={a,b,}\r\n", "k={a,b};\r\n\r\n"},
    {"BareNameLineIsRaw", "abc\r\nk=1\r\n", "abc\r\nk=1\r\n\r\n"},
    {"BracketGroupInName", "[s]x=1\r\nt[2]=3\r\n", "[s]x=1\r\nt[2]=3\r\n\r\n"},
    {"BracketGroupLineIsRaw", "[s]x\r\n", "[s]x\r\n\r\n"},
    {"QuotedTexts", "k=\"a b\",'c,d',\"plain\"\r\n", "k=\"a b\",'c,d',\"plain\"\r\n\r\n"},
    {"QuotedTextSpansLines", "k=\"a\r\nb\"\r\n", "k=\"a\r\nb\"\r\n\r\n"},
    {"LoneAngleBracketDropped", "k=1\r\n<\r\nj=2\r\n", "k=1\r\nj=2\r\n\r\n"},
    {"EntriesBeforeBlocks",
     "[s]\r\nk=1\r\ndomain<<A>>{a=1};\r\n; c\r\ndomain<<B>>{b=2};\r\nz=3\r\n",
     "\r\n[s]\r\nk=1\r\n; c\r\nz=3\r\ndomain<<A>>\r\n{\r\n\ta=1\r\n};\r\ndomain<<B>>\r\n{\r\n\tb=2\r\n};\r\n\r\n"},
    {"HeaderInsideBlockIgnored", "[s]\r\ndomain<<A>>{[t]\r\nk=1};\r\nz=2\r\n",
     "\r\n[s]\r\nz=2\r\ndomain<<A>>\r\n{\r\n\tk=1\r\n};\r\n\r\n"},
    {"CommentAtEndWithoutLineEnd", "k=1\r\n; end", "k=1\r\n; end\r\n\r\n"},
    {"GbkBytesAreNameCharacters", "\xC3\xFB\xB3\xC6=\xD6\xB5\r\n",
     "\xC3\xFB\xB3\xC6=\xD6\xB5\r\n\r\n"},
    {"LoneCrLineEnds", "[a]\rk=1\rj=2\r", "\r\n[a]\r\nk=1\r\nj=2\r\n\r\n"},
    {"EmptyFile", "", "\r\n"},
    // A comment line ending in a lone CR is written exactly as read; a raw
    // line written after it starts a line of its own.
    {"CommentEndingInLoneCrKept", "# c\rk=1\r", "# c\rk=1\r\n\r\n"},
    {"RawLineAfterLoneCrComment", "# c\rdomain<<A>>{k=1}\r\n# d\r\n",
     "# c\r\r\n# d\r\ndomain<<A>>\r\n{\r\n\tk=1\r\n};\r\n\r\n"},
    // A name that begins with a quote it never closes would run on to the
    // next such quote of the written file and swallow what lies between:
    // it is written closed, which reads back to itself.
    {"LoneQuoteValueIsClosed", "domain<<A>>{k=\"\"}k=\"",
     "k=\"\"\r\ndomain<<A>>\r\n{\r\n\tk=\"\"\r\n};\r\n\r\n"},
    {"LoneQuoteSectionName", "[\"s]\r\nk=1\r\n", "\r\n[\"s\"]\r\nk=1\r\n\r\n"},
    {"LoneQuoteKeyAndListValue", "\"k={'b,c}\r\n", "\"k\"={'b',c};\r\n\r\n"},
    {"LoneQuoteBareNameLine", "\"abc\r\nk=1;//x=2\r\n", "\"abc\"\r\nk=1\r\n\"//x\"=2\r\n\r\n"},
    {"LoneQuoteBlockName", "domain<<'A>>{j=1}\r\n", "domain<<'A'>>\r\n{\r\n\tj=1\r\n};\r\n\r\n"},
    // A key that would begin a written line with a comment mark, or that
    // reads as the block word, keeps its place as a key.
    {"KeysThatWouldReadAsCommentsOrBlocks", "domain<<A>>{#a=1;//b=2}\r\n",
     "domain<<A>>\r\n{\r\n\t\"#a\"=1\r\n\t\"//b\"=2\r\n};\r\n\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Syntax, Dump, ::testing::ValuesIn(kDumpCases),
                         [](const ::testing::TestParamInfo<DumpCase>& info) {
                           return std::string(info.param.name);
                         });

class Refused : public ::testing::TestWithParam<const char*> {};

TEST_P(Refused, IsASyntaxError) {
  vospel::TraceSink previous = vospel::SetTraceSink(Silent);
  CIniParser ini;
  std::string text = GetParam();
  EXPECT_EQ(ini.ParseText(text.data(), text.size()), 0) << text;
  vospel::SetTraceSink(previous);
}

INSTANTIATE_TEST_SUITE_P(
    Syntax, Refused,
    ::testing::Values("k=",               // key line as the very last text
                      "abc \r\n",         // a name followed by a blank is no raw line
                      "k=v ;note\r\n",    // ";" ends the key line: "note" needs "="
                      "[a\r\n",           // unclosed header
                      "domain<<X>>{k=1",  // unclosed block
                      "k={a,b\r\n",       // unclosed list
                      "}"));

}  // namespace
