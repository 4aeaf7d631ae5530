// The script editor's token rules with the formula editor's settings, and
// the lines an edit makes to be coloured again.
#include <gtest/gtest.h>

#include <string>

#include "formula/editor/FormulaScriptWords.h"
#include "formula/editor/ScriptScanner.h"
#include "platform/gbk.h"

namespace formula {
namespace {

const char* KindName(EScriptToken kind) {
  switch (kind) {
    case EScriptToken::Comment: return "comment";
    case EScriptToken::Number: return "number";
    case EScriptToken::String: return "string";
    case EScriptToken::Keyword: return "keyword";
    case EScriptToken::Function: return "function";
    case EScriptToken::Word: return "word";
  }
  return "?";
}

std::string Render(std::string_view line, const SScriptLineScan& scan) {
  std::string out;
  for (const SScriptToken& t : scan.tokens) {
    if (!out.empty()) out += ' ';
    out += KindName(t.kind);
    out += '(';
    out.append(line.substr(t.start, t.end - t.start));
    out += ')';
  }
  return out;
}

CScriptScanner EditorScanner() {
  CScriptScanner scanner;
  ConfigureFormulaScript(scanner);
  return scanner;
}

struct ScanCase {
  const char* line;       // GBK
  const char* tokens;     // kind(text) ...
  const char* rewritten;  // the line after the spelling rewrites
};

TEST(ScriptScanner, EditorTokenRules) {
  const CScriptScanner scanner = EditorScanner();
  const ScanCase cases[] = {
      {"A:1; 'the rest \"is\" 12", "word(A) number(1) comment('the rest \"is\" 12)",
       "A:1; 'the rest \"is\" 12"},
      {"/*MA*/ x", "function(MA) word(x)", "/*MA*/ x"},    // "/*" opens no comment here
      {"S:\"abc;", "word(S) string(\"abc;)", "S:\"abc;"},  // unclosed: up to the line end
      {"\"it's\"'c", "string(\"it's\") comment('c)", "\"it's\"'c"},
      {"1.5e3+2.+7e+2-1.5e", "number(1.5e3) number(2.) number(7e+2) number(1.5) word(e)",
       "1.5e3+2.+7e+2-1.5e"},
      {"close>open", "keyword(close) keyword(open)", "CLOSE>OPEN"},
      {"Ma(c,5)+hhv(Vol,N)", "function(Ma) word(c) number(5) function(hhv) keyword(Vol) word(N)",
       "MA(c,5)+HHV(VOL,N)"},
      {"amount", "keyword(amount)", "AMOUNT"},
      {"my_var2:=x_1*enterlong", "word(my_var2) word(x_1) word(enterlong)",
       "my_var2:=x_1*enterlong"},
      {"a\tb", "word(a) word(b)", "a\tb"},
      {"", "", ""},
  };
  for (const ScanCase& c : cases) {
    SCOPED_TRACE(c.line);
    const SScriptLineScan scan = scanner.ScanLine(c.line);
    EXPECT_EQ(Render(c.line, scan), c.tokens);
    EXPECT_EQ(CScriptScanner::Rewritten(c.line, scan), c.rewritten);
  }
}

TEST(ScriptScanner, ChineseTextIsNeverAWordNorRewritten) {
  const CScriptScanner scanner = EditorScanner();
  // 0xB2 0x63 is one character whose trail byte is the letter "c": read
  // byte by byte the line would hold the keyword "close" and its rewrite
  // would damage the character.
  const std::string trailC = std::string("\xB2\x63") + "lose";
  struct Case {
    std::string line;
    const char* tokens;
  } cases[] = {
      {trailC, "word(lose)"},
      {std::string(GBK("收盘价")) + "close" + GBK("中文"), "keyword(close)"},
      {std::string(GBK("\"中文\"")) + "'" + GBK("注释close"), nullptr},
      {std::string(GBK("均线")) + "5", "number(5)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(platform::GbkToUtf8(c.line));
    const SScriptLineScan scan = scanner.ScanLine(c.line);
    if (c.tokens) {
      EXPECT_EQ(Render(c.line, scan), c.tokens);
    }
    const std::string rewritten = CScriptScanner::Rewritten(c.line, scan);
    // Only the ASCII word "close" may change; every GBK byte stays.
    for (size_t i = 0; i < c.line.size(); ++i) {
      if (static_cast<unsigned char>(c.line[i]) < 0x80) continue;
      EXPECT_EQ(rewritten[i], c.line[i]) << i;
      if (i + 1 < c.line.size()) {
        EXPECT_EQ(rewritten[i + 1], c.line[i + 1]) << i + 1;
      }
      ++i;
    }
  }
  const std::string mixed = std::string(GBK("\"中文\"")) + "'" + GBK("注释close");
  const SScriptLineScan scan = scanner.ScanLine(mixed);
  ASSERT_EQ(scan.tokens.size(), 2u);
  EXPECT_EQ(scan.tokens[1].kind, EScriptToken::Comment);
  EXPECT_TRUE(scan.rewrites.empty());  // inside a comment nothing is rewritten
}

TEST(ScriptScanner, WidgetTextInUtf16GivesTheSameTokensByCharacter) {
  const CScriptScanner scanner = EditorScanner();
  const std::u16string line = u"中close+MA(x,1.5) '注释";
  SScriptLineScan scan;
  scanner.ScanLine(line, scan);
  ASSERT_EQ(scan.tokens.size(), 5u);
  EXPECT_EQ(scan.tokens[0].start, 1u);  // one unit per Chinese character
  EXPECT_EQ(scan.tokens[0].kind, EScriptToken::Keyword);
  EXPECT_EQ(scan.tokens[1].kind, EScriptToken::Function);
  EXPECT_EQ(scan.tokens[3].kind, EScriptToken::Number);
  EXPECT_EQ(scan.tokens[4].kind, EScriptToken::Comment);
  EXPECT_EQ(scan.tokens[4].end, line.size());
  ASSERT_EQ(scan.rewrites.size(), 1u);
  EXPECT_EQ(scan.rewrites[0].start, 1u);
  EXPECT_EQ(scan.rewrites[0].spelling, "CLOSE");
}

TEST(ScriptScanner, SettingsDecideClassesAndSpelling) {
  CScriptScanner scanner;
  scanner.SetKeywords(" Begin END ");
  scanner.SetFunctions(" Sum ");
  scanner.SetCommentChars('/', '/');
  scanner.SetCommentKeyword("rem");
  scanner.SetKeywords(" REM ");
  scanner.SetStringQuotes("\"`");
  EXPECT_EQ(Render("begin sum `q` // x", scanner.ScanLine("begin sum `q` // x")),
            "keyword(begin) function(sum) string(`q`) comment(// x)");
  EXPECT_EQ(CScriptScanner::Rewritten("begin sum", scanner.ScanLine("begin sum")), "Begin Sum");
  EXPECT_EQ(Render("a / b rem note", scanner.ScanLine("a / b rem note")),
            "word(a) word(b) comment(rem note)");

  scanner.SetAutoCase(0);
  EXPECT_TRUE(scanner.ScanLine("begin").rewrites.empty());
  scanner.SetAutoCase(1);
  scanner.SetCaseSensitive(1);
  EXPECT_EQ(Render("begin Begin", scanner.ScanLine("begin Begin")), "word(begin) keyword(Begin)");
  EXPECT_TRUE(scanner.ScanLine("Begin").rewrites.empty());
}

TEST(ScriptScanner, DefaultStylesFollowTheClasses) {
  const CScriptScanner scanner = EditorScanner();
  EXPECT_EQ(scanner.Style(EScriptToken::Keyword).colour, 0x0080FFu);
  EXPECT_FALSE(scanner.Style(EScriptToken::Keyword).bold);
  EXPECT_EQ(scanner.Style(EScriptToken::Function).colour, 0xFF00FFu);
  EXPECT_TRUE(scanner.Style(EScriptToken::Function).bold);
  EXPECT_EQ(scanner.Style(EScriptToken::Word).colour, 0x000000u);
  // The lists hold the table's names, upper case, blank-framed.
  EXPECT_NE(scanner.Keywords().find(" CLOSE "), std::string::npos);
  EXPECT_NE(scanner.Keywords().find(" AMOUNT "), std::string::npos);
  EXPECT_EQ(scanner.Keywords().find(" MA "), std::string::npos);
  EXPECT_NE(scanner.Functions().find(" MA "), std::string::npos);
  EXPECT_EQ(scanner.Functions().front(), ' ');
}

TEST(ScriptScanner, AnEditTouchesOnlyTheLinesItsTextSpans) {
  const std::string text = "a:1;\r\nb:2;\r\nc:3;\nd:4;\re:5;";
  struct Case {
    size_t position, added;
    int first, last;
  } cases[] = {
      {0, 1, 0, 0},    // a keystroke on the first line
      {8, 1, 1, 1},    // on the second
      {6, 0, 1, 1},    // a removal joining at the start of the second line
      {3, 6, 0, 1},    // a paste spanning a "\r\n"
      {4, 2, 0, 1},    // exactly a "\r\n" inserted
      {5, 0, 0, 0},    // between "\r" and "\n": still the first line
      {12, 10, 2, 4},  // "\n" and a lone "\r" both end lines
      {999, 5, 4, 4},  // past the end: the last line
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    const SLineRange range = LinesTouchedByEdit(text, c.position, c.added);
    EXPECT_EQ(range.first, c.first);
    EXPECT_EQ(range.last, c.last);
  }
}

}  // namespace
}  // namespace formula
