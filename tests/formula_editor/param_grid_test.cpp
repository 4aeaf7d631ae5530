// The editor's parameter grid to the parameter text and back through the
// compiler, and the checks of typed parameter values.
#include <gtest/gtest.h>

#include <string>

#include "formula/compiler/QTPar.h"
#include "formula/editor/ParamGrid.h"
#include "formula/editor/ParamText.h"
#include "platform/gbk.h"

namespace formula {
namespace {

SParamGrid Grid(std::initializer_list<std::array<std::string, kGridColumns>> rows) {
  SParamGrid grid;
  size_t r = 0;
  for (const auto& row : rows) grid.cells[r++] = row;
  return grid;
}

// The parameters the compiler reads from a parameter text.
std::vector<SParamRecord> Compiled(const std::string& params, const char* body = "t:1;") {
  CQTPar parser;
  parser.Init();
  SFormulaRecord record;
  std::snprintf(record.szParams, sizeof record.szParams, "%s", params.c_str());
  record.strFormula = body;
  parser.LoadFormula(&record);
  EXPECT_TRUE(parser.CheckFormula()) << parser.GetLastError();
  return parser.Params();
}

TEST(ParamGrid, GridToText) {
  struct Case {
    const char* what;
    SParamGrid grid;
    const char* text;
    int emptyValueRows;
  } cases[] = {
      {"full rows", Grid({{"N", "1", "100", "5", "1"}, {"M", "2", "50", "10.5", "0.5"}}),
       "N:^P(1,100,5,1);\r\nM:^P(2,50,10.5,0.5);\r\n", 0},
      {"an empty name ends the list",
       Grid({{"N", "1", "100", "5", "1"}, {"", "1", "2", "3", "4"}, {"K", "1", "2", "3", "4"}}),
       "N:^P(1,100,5,1);\r\n", 0},
      {"an empty value ends its row",
       Grid({{"N", "1", "", "5", "1"}, {"M", "", "", "", ""}, {"K", "1", "2", "3", "4"}}),
       "N:^P(1);\r\nM:^P();\r\nK:^P(1,2,3,4);\r\n", 2},
      {"no rows", SParamGrid(), "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const SCollectedParams collected = CollectParams(c.grid);
    EXPECT_EQ(collected.text, c.text);
    EXPECT_EQ(collected.emptyValueRows, c.emptyValueRows);
  }
}

TEST(ParamGrid, TextToGridAndBackKeepsEveryParameter) {
  std::string text;
  for (int i = 1; i <= 9; ++i)
    text += "p" + std::to_string(i) + ":^p(1,100," + std::to_string(i * 10) + ",2);";
  const std::vector<SParamRecord> params = Compiled(text);
  ASSERT_EQ(params.size(), 9u);

  const SParamGrid grid = FillParamGrid(params);
  EXPECT_EQ(grid.cells[0][GRID_NAME], "P1");
  EXPECT_EQ(grid.cells[0][GRID_MINIMUM], "1.000");
  EXPECT_EQ(grid.cells[0][GRID_MAXIMUM], "100.000");
  EXPECT_EQ(grid.cells[6][GRID_DEFAULT], "70.000");
  EXPECT_EQ(grid.cells[6][GRID_STEP], "2.000");

  // Collecting the grid gives a text that declares all nine again.
  const std::vector<SParamRecord> again = Compiled(CollectParams(grid).text, "t:p9;");
  ASSERT_EQ(again.size(), 9u);
  EXPECT_STREQ(again[8].name, "p9");
  EXPECT_FLOAT_EQ(again[8].defaultValue, 90.0f);
  EXPECT_FLOAT_EQ(again[3].defaultValue, 40.0f);

  // A short list leaves the rows below empty.
  const SParamGrid small = FillParamGrid(Compiled("n:^p(1,5,3,1);"));
  EXPECT_EQ(small.cells[0][GRID_NAME], "N");
  EXPECT_TRUE(small.cells[1][GRID_NAME].empty());
  EXPECT_TRUE(small.hiddenDeclarations.empty());
}

TEST(ParamText, TypedValuesMustBeNumbersInRange) {
  struct Case {
    const char* typed;
    bool ok;
    const char* stored;  // ok: the text stored; else part of the message
  } cases[] = {
      {"12", true, "12"},
      {" 7.5 ", true, "7.5"},
      {"05", true, "5"},  // "05" would not read back as 5
      {"100", true, "100"},
      {"1", true, "1"},
      {"0", false, "1"},  // below the minimum
      {"101", false, "100"},
      {"", false, "\xca\xfd\xd7\xd6"},  // 数字
      {"1e2", false, "\xca\xfd\xd7\xd6"},
      {"-5", false, "\xca\xfd\xd7\xd6"},
      {"3.2.1", false, "\xca\xfd\xd7\xd6"},
      {"12abc", false, "\xca\xfd\xd7\xd6"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    std::string stored = "untouched", message;
    EXPECT_EQ(CheckParamValue(c.typed, "n", 1.0f, 100.0f, stored, message), c.ok);
    if (c.ok) {
      EXPECT_EQ(stored, c.stored);
    } else {
      EXPECT_EQ(stored, "untouched");
      EXPECT_NE(message.find(c.stored), std::string::npos) << platform::GbkToUtf8(message);
      EXPECT_NE(message.find('N'), std::string::npos);  // names the parameter
    }
  }
}

TEST(ParamText, FieldBound) {
  EXPECT_TRUE(ParamTextFits(std::string(kParamTextMax, 'a')));
  EXPECT_FALSE(ParamTextFits(std::string(kParamTextMax + 1, 'a')));
  std::string line;
  AppendParamDeclaration(line, "n", 1, 100, "12", 0.5f);
  EXPECT_EQ(line, "n:^P(1.000,100.000,12,0.500);\r\n");
}

}  // namespace
}  // namespace formula
