// The indicator parameter dialogs' logic: rows from the compiled formula
// and its description, values written back into the parameter text, and
// the "MA" line count.
#include <cstring>
#include <string>

#include "editor_test_support.h"
#include "formula/editor/IndicatorParams.h"
#include "formula/editor/ParamText.h"
#include "formula/editor/ParamsDesc.h"
#include "platform/gbk.h"

namespace formula {
namespace {

class IndicatorParamsTest : public editor_test::StoreFolder {
 protected:
  SFormulaRecord* AddIndicator(const char* code, const std::string& params, const char* body) {
    SFormulaRecord record;
    std::strcpy(record.szCode, code);
    std::snprintf(record.szParams, sizeof record.szParams, "%s", params.c_str());
    record.strFormula = body;
    TheFormulaStore().Formulas(0).push_back(record);
    return &TheFormulaStore().Formulas(0).back();
  }
  void WriteDescriptions(const std::string& block) {
    WriteFile(kParamsDescFile, "domain<<ZBFormu>>\r\n{\r\n" + block + "};\r\n");
  }
};

TEST_F(IndicatorParamsTest, RowsFromTheFormulaAndItsDescription) {
  WriteDescriptions(std::string("\tZB2Param=\"") + GBK("短周期Param#1天") + "\"\r\n");
  const SParamLayout layout = LayoutParamRows("zb2param");
  EXPECT_EQ(layout.paramCount, 2);
  ASSERT_EQ(layout.rows.size(), 2u);
  EXPECT_EQ(layout.rows[0].value, "80");
  EXPECT_TRUE(layout.rows[0].described);
  EXPECT_EQ(layout.rows[0].prefix, GBK("短周期"));
  EXPECT_EQ(layout.rows[0].suffix, GBK("天"));
  EXPECT_EQ(layout.rows[0].spinMinimum, 1);
  EXPECT_EQ(layout.rows[0].spinMaximum, 100);
  EXPECT_FALSE(layout.rows[1].described);  // fewer lines than parameters
  EXPECT_EQ(layout.rows[1].name, "m");
  EXPECT_FALSE(layout.isMA);

  // No parameters, an unknown name and an empty name give no rows.
  for (const char* name : {"TestZB", "nothing", ""})
    EXPECT_EQ(LayoutParamRows(name).paramCount, 0) << name;

  // An invalid description is ignored; a long list shows seven rows.
  std::string nine;
  for (int i = 1; i <= 9; ++i)
    nine += "p" + std::to_string(i) + ":^p(1,100," + std::to_string(i) + ",1);";
  AddIndicator("NINE", nine, "T:P1;");
  WriteDescriptions("\tNINE=\"a Param#1\r\n\r\nb Param#2\"\r\n");
  const SParamLayout long_ = LayoutParamRows("NINE");
  EXPECT_EQ(long_.paramCount, 9);
  ASSERT_EQ(long_.rows.size(), 7u);
  EXPECT_FALSE(long_.rows[0].described);
  EXPECT_EQ(long_.rows[6].value, "7");
}

TEST_F(IndicatorParamsTest, ApplyParamsTable) {
  struct Case {
    const char* what;
    std::vector<std::string> values;
    bool requirePositive;
    int result;
    const char* params;  // result 1: the stored text; 0: the message shown
  } cases[] = {
      {"as typed",
       {"12", "05"},
       true,
       1,
       "n:^p(1.000,100.000,12,2.000);\r\nm:^p(1.000,100.000,5,2.000);\r\n"},
      {"a zero in the single dialog",
       {"0", "5"},
       true,
       0,
       "\xb2\xce\xca\xfd\xb1\xd8\xd0\xeb\xb4\xf3\xd3\xda\xc1\xe3"},  // 参数必须大于零
      {"not a number", {"12", "1x"}, false, 0, "M"},
      {"out of range", {"12", "101"}, false, 0, "100"},
      {"empty", {"12"}, false, 0, "M"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SFormulaRecord* record = TheFormulaStore().Find(0, "ZB2Param");
    const std::string before = record->szParams;
    boxes.Clear();
    EXPECT_EQ(ApplyParams("zb2param", c.values, c.requirePositive), c.result);
    if (c.result) {
      EXPECT_STREQ(record->szParams, c.params);
      EXPECT_TRUE(BoxTexts().empty());
      std::strcpy(record->szParams, before.c_str());
    } else {
      EXPECT_EQ(record->szParams, before);
      ASSERT_EQ(BoxTexts().size(), 1u);
      EXPECT_NE(BoxTexts()[0].find(c.params), std::string::npos)
          << platform::GbkToUtf8(BoxTexts()[0]);
    }
  }
  EXPECT_EQ(ApplyParams("TestZB", {"1"}, false), 0);  // no parameters: nothing to store
}

TEST_F(IndicatorParamsTest, ParametersPastTheSeventhAreKept) {
  std::string nine;
  for (int i = 1; i <= 9; ++i)
    nine += "p" + std::to_string(i) + ":^p(1,100," + std::to_string(i) + ",1);";
  SFormulaRecord* record = AddIndicator("NINE", nine, "T:P1+P8+P9;");
  ASSERT_EQ(ApplyParams("NINE", {"11", "12", "13", "14", "15", "16", "17"}, false), 1);
  ASSERT_EQ(TheCalcFace().SelectFormular(0, "NINE"), 1) << TheCalcFace().GetLastErr();
  ASSERT_EQ(TheCalcFace().ParamCount(), 9);
  EXPECT_FLOAT_EQ(TheCalcFace().ParamDefault(0), 11.0f);
  EXPECT_FLOAT_EQ(TheCalcFace().ParamDefault(6), 17.0f);
  EXPECT_FLOAT_EQ(TheCalcFace().ParamDefault(7), 8.0f);
  EXPECT_FLOAT_EQ(TheCalcFace().ParamDefault(8), 9.0f);
  EXPECT_NE(std::string(record->szParams).find("p9:^p(1.000,100.000,9.000,1.000);"),
            std::string::npos);
}

TEST_F(IndicatorParamsTest, TooLongTextIsRefusedNotCut) {
  std::string twelve;
  for (int i = 1; i <= 12; ++i)
    twelve +=
        "param" + std::to_string(i) + ":^p(1,100000000,5,1);";  // rewritten, 47 characters each
  SFormulaRecord* record = AddIndicator("WIDE", twelve, "T:PARAM1;");
  const std::string before = record->szParams;
  EXPECT_EQ(ApplyParams("WIDE", {"1", "2", "3", "4", "5", "6", "7"}, false), 0);
  EXPECT_EQ(record->szParams, before);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{ParamTextTooLongMessage()});
}

TEST_F(IndicatorParamsTest, MALineCount) {
  SFormulaRecord* ma = AddIndicator("MA", "m1:^p(1,250,5,1);m2:^p(1,250,10,1);",
                                    "MA1:MA(CLOSE,M1);MA2:MA(CLOSE,M2);");
  const SParamLayout layout = LayoutParamRows("ma");
  EXPECT_TRUE(layout.isMA);
  EXPECT_EQ(layout.lineCount, 2u);
  EXPECT_FALSE(IsMAIndicator("MA2"));

  ASSERT_EQ(ChangeMALineCount("ma", 4, {"", "", "", ""}), 1);
  EXPECT_STREQ(ma->szParams,
               "m1:^p(1.000,250.000,10,1.000);\r\nm2:^p(1.000,250.000,15,1.000);\r\n"
               "m3:^p(1.000,250.000,20,1.000);\r\nm4:^p(1.000,250.000,25,1.000);\r\n");
  EXPECT_EQ(
      ma->strFormula,
      "{\r\nMA1:MA(CLOSE,M1);\r\nMA2:MA(CLOSE,M2);\r\nMA3:MA(CLOSE,M3);\r\nMA4:MA(CLOSE,M4);\r\n}");
  const SParamLayout four = LayoutParamRows("MA");
  EXPECT_EQ(four.lineCount, 4u);
  EXPECT_EQ(four.rows[3].value, "25");

  // Typed values are taken; "0" counts as empty.
  ASSERT_EQ(ChangeMALineCount("ma", 3, {"7", "0", "30"}), 1);
  EXPECT_NE(std::string(ma->szParams).find("m2:^p(1.000,250.000,12,"), std::string::npos);
  EXPECT_NE(std::string(ma->szParams).find("m3:^p(1.000,250.000,30,"), std::string::npos);

  boxes.Clear();
  EXPECT_EQ(ChangeMALineCount("ma", 8, {}), 0);
  EXPECT_FALSE(SingleTechSetOK("ma", 0, {"5"}));
  EXPECT_EQ(BoxTexts(),
            (std::vector<std::string>{GBK("K线条数在1和7之间"), GBK("K线条数在1和7之间")}));
  EXPECT_TRUE(SingleTechSetOK("ma", 3, {"7", "12", "30"}));
  EXPECT_TRUE(SingleTechSetOK("zb2param", 0, {"5", "6"}));  // the count matters for "MA" only
}

TEST_F(IndicatorParamsTest, IndicatorList) {
  AddIndicator("MA", "m1:^p(1,250,5,1);", "MA1:MA(CLOSE,M1);");
  const std::vector<SIndicatorRow> rows = IndicatorRows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].code, "ZB2Param");
  EXPECT_EQ(rows[1].chineseName, GBK("测试指标参数"));
  EXPECT_EQ(PresetIndicatorRow("ma"), 2);
  EXPECT_EQ(PresetIndicatorRow("none"), 0);
  EXPECT_EQ(PresetIndicatorRow(nullptr), 0);
}

}  // namespace
}  // namespace formula
