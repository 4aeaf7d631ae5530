// The trading window's function tree, built from its "@"/"~" text, and the
// function table behind it.
#include <gtest/gtest.h>

#include "platform/gbk.h"
#include "trade/ui/rules/function_table.h"
#include "trade/ui/rules/gbk_find.h"

namespace {

TEST(FunctionTree, ThirtyFunctionsInIndexOrderUnderFiveGroups) {
  const std::vector<STreeEntry> tree = ParseFunctionTree(TradeFunctionTreeText());
  ASSERT_EQ(tree.size(), static_cast<size_t>(kTradeTreeItemCount));
  int functions = 0;
  std::vector<std::string> groups;
  for (const STreeEntry& e : tree) {
    if (e.isGroup) {
      groups.push_back(platform::GbkToUtf8(e.text));
      EXPECT_EQ(e.image, 6);
      continue;
    }
    // Every function item carries the index and name of the table.
    EXPECT_EQ(e.functionIndex, functions);
    EXPECT_EQ(e.text, TradeFunctionName(functions)) << functions;
    ++functions;
  }
  EXPECT_EQ(functions, kTradeFunctionCount);
  EXPECT_EQ(groups, (std::vector<std::string>{"查询", "银行业务", "资金流水", "托管业务", "设置"}));
  // Images: the four top-level functions by position, group items 5, and
  // the 26th group item (修改密码) 7.
  EXPECT_EQ(tree[0].image, 0);
  EXPECT_EQ(tree[3].image, 3);
  EXPECT_EQ(tree[4].parent, -1);
  EXPECT_EQ(tree[5].parent, 4);
  EXPECT_EQ(tree[5].image, 5);
  EXPECT_EQ(tree.back().image, 7);
  EXPECT_EQ(tree.back().functionIndex, 29);
}

TEST(FunctionTree, GroupsAndUnknownTextsMatchNoFunction) {
  const std::vector<STreeEntry> tree = ParseFunctionTree(TradeFunctionTreeText());
  struct Case {
    const char* text;
    int function;
  } cases[] = {{"查询", -1}, {"设置", -1},         {"托管业务", -1}, {"资金", 4},
               {"买入", 0},  {"托管申请查询", 18}, {"修改密码", 29}, {"买", -1}};
  for (const Case& c : cases)
    EXPECT_EQ(FindFunctionByName(tree, GBK(c.text)), c.function) << c.text;
}

TEST(FunctionTree, SeparatorsAreFoundOnCharacterBoundariesOnly) {
  // "丂" is 0x81 0x40 and "亊" 0x81 0x7E in GBK: their second bytes are
  // '@' and '~' and must not split the names.
  const std::string tree = std::string(GBK("丂")) + "@" + GBK("组") + "~" + GBK("亊") + "~@";
  const std::vector<STreeEntry> entries = ParseFunctionTree(tree);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].text, GBK("丂"));
  EXPECT_TRUE(entries[1].isGroup);
  EXPECT_EQ(entries[2].text, GBK("亊"));
  EXPECT_EQ(GbkFindChar(GBK("丂@"), '@'), 2u);
  EXPECT_EQ(GbkFindChar("a@b@", '@', 2), 3u);
}

TEST(FunctionTree, MalformedTextsGiveWhatIsWellFormed) {
  EXPECT_TRUE(ParseFunctionTree("").empty());
  EXPECT_TRUE(ParseFunctionTree("abc").empty());  // no '@': nothing
  const auto tree = ParseFunctionTree("f@g~a~b~@");
  ASSERT_EQ(tree.size(), 4u);
  EXPECT_EQ(tree[3].functionIndex, 2);
  EXPECT_EQ(tree[3].parent, 1);
  // An item without its closing '~' is not inserted.
  EXPECT_EQ(ParseFunctionTree("g~a~b@").size(), ParseFunctionTree("g~a~b~c@").size() - 1);
}

TEST(FunctionTable, CaptionsPanelsAndQuickButtons) {
  EXPECT_STREQ(TradeFunctionCaption(2), GBK("交易>>撤单"));
  EXPECT_STREQ(TradeFunctionCaption(29), GBK("修改密码>>修改密码"));
  EXPECT_STREQ(TradeFunctionCaption(30), "");
  EXPECT_EQ(GetTradeFunction(18)->panel, ETradePanel::kCustody);
  EXPECT_EQ(GetTradeFunction(18)->argument, 3);
  EXPECT_EQ(GetTradeFunction(14)->argument, 1);
  EXPECT_EQ(GetTradeFunction(1)->argument, 1);
  EXPECT_EQ(GetTradeFunction(-1), nullptr);
  const std::pair<int, int> buttons[] = {{7008, 0}, {7006, 1}, {1080, 2},
                                         {7009, 4}, {7010, 6}, {7000, -1}};
  for (auto [id, function] : buttons) EXPECT_EQ(QuickButtonFunction(id), function) << id;
}

}  // namespace
