// The keyboard index: what it takes in, what a typed text finds and in
// which order, and the weights kept in the registry stand-in.
#include <cstdlib>

#include "formula/face/FormulaFaceAccess.h"
#include "input_test_support.h"
#include "platform/registry.h"
#include "support/shell_temp_folders.h"
#include "support/shell_test_app.h"
#include "zeb/core/input/key_weights.h"
#include "zeb/core/input/normal_cmd_file.h"

using namespace input_test;

namespace {

void AddItems(CInputKey& index, std::vector<SStockInfo> items, uint16_t market = 4114) {
  index.AddItems(market, items.data(), (int)items.size());
}

TEST_F(InputTest, InitialsMatchAnywhereInTheCombination) {
  AddItems(index, {Item(602001, GBK("中国邮汇股")), Item(602002, std::string("\xD7\xFA"
                                                                             "ABCD")
                                                                     .c_str())});
  EXPECT_EQ(Search("GYH"), (std::vector<std::string>{"ZGYHG|602001|0"}));
  EXPECT_EQ(Search("zgy"),
            (std::vector<std::string>{"ZGYHG|602001|0"}));  // typed case does not matter
  // A leading character without readings: never found by initials.
  EXPECT_TRUE(Search("ABCD").empty());
  EXPECT_TRUE(Search("").empty());
  EXPECT_TRUE(Search("ZGYHGX").empty());
}

TEST_F(InputTest, BothReadingsOfACharacterMatch) {
  AddItems(index, {Item(605001, GBK("藏品"))});
  EXPECT_EQ(Search("CP"), (std::vector<std::string>{"CP|605001|0"}));
  EXPECT_EQ(Search("ZP"), (std::vector<std::string>{"ZP|605001|0"}));
  // Each matching combination is a result of its own.
  EXPECT_EQ(Search("P"), (std::vector<std::string>{"CP|605001|0", "ZP|605001|0"}));
}

TEST_F(InputTest, ResultOrder) {
  AddItems(index, {Item(600100, "x"), Item(160012, "y"), Item(600011, "z"), Item(700000, "w"),
                   Item(2, GBK("6号藏品箱"))});
  // Every code holding the digits, by code text.
  EXPECT_EQ(Search("6001"), (std::vector<std::string>{"160012|160012|0", "600100|600100|0"}));
  // Equal weights: the five-letter initials before the six-character codes,
  // keys of equal length in text order.
  EXPECT_EQ(Search("6"),
            (std::vector<std::string>{"6HCPX|000002|0", "6HZPX|000002|0", "160012|160012|0",
                                      "600011|600011|0", "600100|600100|0"}));
  // A weight beats a shorter key.
  platform::RegSetDword(kKeyWeightRegistryKey, "600100", 3);
  index.Load();
  EXPECT_EQ(Search("6").front(), "600100|600100|0");
}

TEST_F(InputTest, AddEntryReplacesAndRefuses) {
  EXPECT_TRUE(index.AddEntry("abc", "first", kKeyCommand, 0));
  EXPECT_TRUE(index.AddEntry("ABC", "second", kKeyCommand, 0));  // same code and market
  EXPECT_TRUE(index.AddEntry("ABC", "other market", kKeyItem, 4114));
  ASSERT_EQ(index.GetEntryCount(), 2);
  EXPECT_STREQ(index.GetEntry(0).name, "second");

  struct Refused {
    const char* code;
    std::string name;
    int kind;
  } refused[] = {
      {"", "no code", kKeyCommand},
      {"1234567", "code too long to open the right thing", kKeyItem},
      {"X", "unknown kind", 1},
      {"X", "unknown kind", 258},
      {"", "", kKeyBlock},
      {"", std::string(20, 'B'), kKeyBlock},  // a block is opened by its whole name
  };
  for (const Refused& r : refused)
    EXPECT_FALSE(index.AddEntry(r.code, r.name.c_str(), r.kind, 0)) << r.name;
  EXPECT_EQ(index.GetEntryCount(), 2);

  // Names are cut to 19 bytes on a character boundary.
  ASSERT_TRUE(index.AddEntry("N", (std::string(18, 'A') + GBK("中")).c_str(), kKeyCommand, 0));
  EXPECT_STREQ(index.GetEntry(2).name, std::string(18, 'A').c_str());
}

TEST_F(InputTest, LoadTakesCommandsBlocksAndFormulas) {
  std::string file = CmdRecord(2, "1", GBK("分类行情一"), 0) +
                     CmdRecord(2, "06", GBK("自选藏品"), 0) +
                     CmdRecord(2, "TOOLONG", "code without NUL", 0) +  // 7 bytes: refused
                     CmdRecord(2, "7", std::string(17, 'N'), 0);       // name without NUL: bounded
  program.Write("normalcmd.dat", file + "partial");
  blocks = {GBK("钱币精品"), std::string(25, 'L')};
  formulas = {{"macd", GBK("平滑异同")}, {"LONGCODE", "cut code opens nothing"}};
  index.Load();

  EXPECT_EQ(Search("1"), (std::vector<std::string>{"1|1|2"}));
  EXPECT_EQ(Search("ZX"), (std::vector<std::string>{"ZXCP|06|2", "ZXZP|06|2"}));
  EXPECT_EQ(Search("QBJP"), (std::vector<std::string>{"QBJP||3"}));
  EXPECT_EQ(Search("MACD"), (std::vector<std::string>{"MACD|MACD|4"}));
  EXPECT_TRUE(Search("TOOLON").empty());
  EXPECT_TRUE(Search("LONGCO").empty());
  EXPECT_EQ(index.GetEntryCount(), 5);
  ASSERT_EQ(index.Find("7"), 1);
  EXPECT_EQ(std::string(index.GetResult(0).name), std::string(17, 'N'));
}

TEST_F(InputTest, NormalCmdFileStopsAt180Records) {
  std::string file;
  for (int i = 0; i < 200; ++i) file += CmdRecord(2, std::to_string(1000 + i), "n", 0);
  std::vector<SNormalCmd> cmds = ParseNormalCmdFile(file);
  ASSERT_EQ(cmds.size(), 180u);
  EXPECT_EQ(cmds.back().code, "1179");
  EXPECT_TRUE(ParseNormalCmdFile(file.substr(0, 31)).empty());
}

// The file the build ships: every record loads, and the one-digit codes
// that open the market lists are there.
TEST_F(InputTest, ShippedNormalCmdFileLoads) {
  const char* bin = std::getenv("ZEB_BIN_DIR");
  ASSERT_NE(bin, nullptr);
  std::string bytes;
  ASSERT_TRUE(platform::ReadFile(std::string(bin) + "/normalcmd.dat", bytes));
  ASSERT_EQ(bytes.size() % kNormalCmdRecordSize, 0u);
  std::vector<SNormalCmd> cmds = ParseNormalCmdFile(bytes);
  ASSERT_FALSE(cmds.empty());
  for (const SNormalCmd& c : cmds)
    EXPECT_TRUE(index.AddEntry(c.code.c_str(), c.name.c_str(), c.kind, c.market)) << c.code;
  EXPECT_EQ(index.GetEntryCount(), (int)cmds.size());  // no code given twice
  for (const char* code : {"1", "5", "9", "01", "06"})
    EXPECT_EQ(Search(code).front(), std::string(code) + "|" + code + "|2");
}

TEST_F(InputTest, WeightsReadBackAsStored) {
  const std::string key = kKeyWeightRegistryKey;
  platform::RegSetDword(key, "600001", 5);
  platform::RegSetDword(key, "01", 100);
  platform::RegSetDword(key, "600002", 0x105);  // only the low byte counts: 5
  for (DWORD bad : {0u, 0xFFu, 101u}) platform::RegSetDword(key, "B" + std::to_string(bad), bad);
  platform::RegSetDword(key, std::string(21, '7'), 9);  // name too long
  platform::RegSetString(key, "600003", "9");           // not a DWORD
  EXPECT_EQ(ReadKeyWeights(),
            (std::map<std::string, int32_t>{{"01", 100}, {"600001", 5}, {"600002", 5}}));

  // Items come after Load at every market table and still get their weights.
  index.AddEntry("01", "F1", kKeyCommand, 0);
  index.Load();
  AddItems(index, {Item(600001, "a"), Item(600002, "b"), Item(600004, "c")});
  EXPECT_EQ(index.GetEntry(0).weight, 100);
  EXPECT_EQ(index.GetEntry(1).weight, 5);
  EXPECT_EQ(index.GetEntry(3).weight, 0);

  // Saved and read again, nothing decays.
  ASSERT_TRUE(index.SaveWeights());
  EXPECT_EQ(ReadKeyWeights(),
            (std::map<std::string, int32_t>{{"01", 100}, {"600001", 5}, {"600002", 5}}));
  std::vector<platform::SRegValue> stored = platform::RegEnumValues(key);
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[0].name, "01");  // larger first
}

TEST_F(InputTest, AtMostThirtyWeights) {
  const std::string key = kKeyWeightRegistryKey;
  for (int i = 0; i < 40; ++i)
    platform::RegSetDword(key, std::to_string(100000 + i), (DWORD)(1 + i % 50));
  EXPECT_EQ(ReadKeyWeights().size(), kKeyMaxWeights);

  std::vector<std::pair<std::string, int32_t>> many;
  for (int i = 0; i < 40; ++i) many.emplace_back(std::to_string(200000 + i), 40 - i);
  many.emplace_back("200000", 7);  // a code written once only
  ASSERT_TRUE(WriteKeyWeights(many));
  std::vector<platform::SRegValue> stored = platform::RegEnumValues(key);
  ASSERT_EQ(stored.size(), kKeyMaxWeights);
  EXPECT_EQ(stored.front().name, "200000");
  EXPECT_EQ(stored.front().dword, 40u);
  EXPECT_EQ(stored.back().name, "200029");
}

// The process-wide index saves its weights when released.
TEST_F(InputTest, ReleaseSavesTheWeights) {
  platform::RegSetDword(kKeyWeightRegistryKey, "01", 8);
  CInputKey* shared = CInputKey::GetInstance();
  SKeyInputSources none;
  none.formulas = [] { return std::vector<SFormulaKey>{}; };
  shared->SetSources(none);
  shared->AddEntry("01", "F1", kKeyCommand, 0);
  shared->Load();
  platform::RegDeleteKey(kKeyWeightRegistryKey);
  CInputKey::ReleaseInstance();
  EXPECT_EQ(ReadKeyWeights(), (std::map<std::string, int32_t>{{"01", 8}}));
  EXPECT_NE(CInputKey::GetInstance(), nullptr);  // made again on use
  CInputKey::ReleaseInstance();
}

// Unset, the formulas come from the installed formula library's indicator
// store; without one installed there are none.
TEST(InputFormulas, IndicatorsOfTheFormulaLibrary) {
  shell_test::EnsureQtApp();
  // A program folder without store files: the store holds its examples
  // (the build's own folder ships an empty store).
  shell_test::TempFolders folders;
  CFormulaFace::InitDefineTech();
  EXPECT_TRUE(FormulaLibraryIndicators().empty());
  CFormulaFaceAccess library;
  CScopedFormulaAccess installed(&library);
  const int count = CFormulaFace::SizeAtSet(0);
  ASSERT_GT(count, 0);
  std::vector<SFormulaKey> formulas = FormulaLibraryIndicators();
  ASSERT_EQ((int)formulas.size(), count);
  for (int i = 0; i < count; ++i) {
    EXPECT_STREQ(formulas[(size_t)i].code.c_str(), CFormulaFace::FormuCode(i, 0));
    EXPECT_STREQ(formulas[(size_t)i].name.c_str(), CFormulaFace::FormuName(i, 0));
  }
}

}  // namespace
