// The Formula library exports CFormulaFace and nothing else, and works
// through those exports alone.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "formula/face/FormulaFace.h"

namespace {

std::string LibraryPath() {
  const char* bin = std::getenv("ZEB_BIN_DIR");
  return std::string(bin ? bin : ".") + "/libFormula.so";
}

TEST(FormulaExports, OnlyTheMembersOfCFormulaFaceAreExported) {
  std::string command = "nm -DC --defined-only '" + LibraryPath() + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::set<std::string> members;
  char line[1024];
  int symbols = 0;
  while (std::fgets(line, sizeof line, pipe)) {
    std::string text(line);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    size_t name = text.find(' ', text.find(' ') + 1);
    ASSERT_NE(name, std::string::npos) << text;
    std::string symbol = text.substr(name + 1);
    ++symbols;
    if (symbol == "vtable for CFormulaFace" || symbol == "typeinfo for CFormulaFace" ||
        symbol == "typeinfo name for CFormulaFace")
      continue;
    ASSERT_EQ(symbol.rfind("CFormulaFace::", 0), 0u) << "unexpected export: " << symbol;
    std::string member = symbol.substr(14, symbol.find('(') - 14);
    members.insert(member);
  }
  pclose(pipe);
  ASSERT_GT(symbols, 0) << "nm found nothing in " << LibraryPath();
  const std::set<std::string> expected = {"CFormulaFace",
                                          "~CFormulaFace",
                                          "operator=",
                                          "RegisterDataIO",
                                          "Calc",
                                          "SelectFormular",
                                          "operator[]",
                                          "GetOutVarSize",
                                          "GetOutVarWord",
                                          "GetOutVarProperty",
                                          "GetRegParSize",
                                          "GetParaName",
                                          "GetRegParFloat",
                                          "SetRegParFloat",
                                          "PeriodsPar",
                                          "GetLastErr",
                                          "GetFormulaGridInfo",
                                          "ResetIt",
                                          "InitDefineTech",
                                          "ExitDefineTech",
                                          "SizeAtSet",
                                          "FormuCode",
                                          "FormuName",
                                          "FormuEnumName",
                                          "OnOpenFormulaDesc",
                                          "OnOpenFormulaParasSet",
                                          "OnOpenSingleFormulaParasSet",
                                          "OnOpenDefineTechDlg"};
  EXPECT_EQ(members, expected);
}

TEST(FormulaExports, TheLibraryAnswersThroughItsExports) {
  CFormulaFace face;
  EXPECT_EQ(CFormulaFace::SizeAtSet(5), 0);
  EXPECT_EQ(face.SelectFormular(0, "NOSUCH"), 0);
  EXPECT_EQ(face.GetOutVarSize(), 0);
  EXPECT_EQ(face[0], nullptr);
}

}  // namespace
