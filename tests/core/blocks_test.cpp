// Block lists from the block folder: ids by position in "BLOCK.DEF",
// user blocks in section order, code files read whole records only, and
// the refusals (names that are not file names, ids past their ranges).
#include <gtest/gtest.h>

#include <string>

#include "platform/gbk.h"
#include "platform/menu.h"
#include "sharecode/mythread.h"
#include "support/shell_temp_folders.h"
#include "zeb/core/blocks/block_manager.h"
#include "zeb/shell/blocks/block_menu.h"

namespace {

std::string Codes(std::initializer_list<std::pair<uint16_t, int32_t>> codes) {
  std::string bytes;
  for (auto [market, code] : codes) {
    bytes.append(reinterpret_cast<const char*>(&market), 2);
    bytes.append(reinterpret_cast<const char*>(&code), 4);
  }
  return bytes;
}

// A "BLOCK.DEF" group of count blocks "b1", "b2" ... under keys "001" ...
std::string GroupOf(const std::string& group, int count) {
  std::string def = "[" + group + "]\r\n";
  for (int k = 1; k <= count; ++k) {
    char line[32];
    std::snprintf(line, sizeof line, "%03d=b%d\r\n", k, k);
    def += line;
  }
  return def;
}

struct BlocksTest : ::testing::Test {
  shell_test::TempFolders folders;
  CBlockManager blocks;
  std::vector<std::string> traces;
  BlocksTest() {
    CMyThread::SetTraceSink([this](const std::string& line) { traces.push_back(line); });
  }
  ~BlocksTest() override { CMyThread::SetTraceSink(nullptr); }
};

TEST_F(BlocksTest, MissingFilesGiveNoBlocksAndNoFailure) {
  EXPECT_TRUE(blocks.Init(folders.ProgramDir()));
  EXPECT_TRUE(blocks.GetGroups().empty());
  EXPECT_TRUE(blocks.GetUserBlocks().empty());
  EXPECT_EQ(blocks.GetFreeUserIds().size(), 31u);
  EXPECT_EQ(blocks.GetBlockName(224), GBK("自选"));
  EXPECT_EQ(blocks.GetBlockName(16), "");
}

TEST_F(BlocksTest, EmptyFilesGiveEmptyListsAndAnEmptyFavouritesFileFails) {
  folders.Write("BLOCK/BLOCK.DEF", "");
  folders.Write("BLOCK/USERBLOCK.DEF", "");
  folders.Write(std::string("BLOCK/") + GBK("自选") + ".BLK", "");
  EXPECT_FALSE(blocks.Init(folders.ProgramDir()));  // a code file without one record
  EXPECT_TRUE(blocks.GetGroups().empty());
  EXPECT_TRUE(blocks.GetUserBlocks().empty());
  EXPECT_TRUE(blocks.GetFavouriteCodes().empty());
}

TEST_F(BlocksTest, IdsFollowKeyPositionsAcrossGroups) {
  // Group A has a key count of 3 with "002" missing; group B starts after it.
  folders.Write("BLOCK/BLOCK.DEF", std::string("[") + GBK("地区") + "]\r\n001=" + GBK("北京") +
                                       "\r\nx=y\r\n003=" + GBK("上海") + "\r\n\r\n[" + GBK("行业") +
                                       "]\r\n001=" + GBK("邮票") + "\r\n");
  folders.Write(std::string("BLOCK/") + GBK("北京") + ".BLK",
                Codes({{4100, 600001}, {4116, 2}}) + "x");
  EXPECT_TRUE(blocks.Init(folders.ProgramDir()));
  EXPECT_EQ(blocks.GetBlockName(16), GBK("北京"));
  EXPECT_EQ(blocks.GetBlockName(18), GBK("上海"));
  EXPECT_EQ(blocks.GetBlockName(19), GBK("邮票"));
  EXPECT_EQ(blocks.GetKindOfName(GBK("邮票")), kBlockKindSystem);
  const auto& beijing = blocks.GetGroups().at(GBK("地区")).at(GBK("北京"));
  ASSERT_EQ(beijing.codes.size(), 2u);  // 13 bytes: two whole records
  EXPECT_EQ(+beijing.codes[1].market, 4116);
  EXPECT_EQ(+beijing.codes[1].code, 2);
}

TEST_F(BlocksTest, UserBlocksAndFavourites) {
  folders.Write("BLOCK/USERBLOCK.DEF", "[mine]\r\n[coins]\r\n");
  folders.Write(std::string("BLOCK/") + GBK("自选") + ".BLK", Codes({{4100, 1}}));
  folders.Write("BLOCK/coins.BLK", "abc");  // shorter than one record: empty
  EXPECT_TRUE(blocks.Init(folders.ProgramDir()));
  EXPECT_EQ(blocks.GetBlockName(225), "mine");
  EXPECT_EQ(blocks.GetBlockName(226), "coins");
  EXPECT_EQ(blocks.GetKind(0x62E0 & 0xFF), kBlockKindFavourites);
  EXPECT_EQ(blocks.GetKindOfName("coins"), kBlockKindUser);
  EXPECT_EQ(blocks.GetKindOfName(GBK("自选")), kBlockKindFavourites);
  EXPECT_EQ(blocks.GetKindOfName("nothing"), 0);
  EXPECT_TRUE(blocks.GetUserBlocks().at("coins").codes.empty());
  EXPECT_EQ(blocks.GetFavouriteCodes().size(), 1u);
  EXPECT_EQ(blocks.GetFreeUserIds().front(), 227);
  EXPECT_EQ(blocks.GetUserBlockNames(), (std::vector<std::string>{"coins", "mine"}));
}

TEST_F(BlocksTest, BadNamesAndIdsPastTheirRangesAreRefusedWithATrace) {
  std::string def = "[g]\r\n001=../../etc/passwd\r\n002=a/b\r\n003=ok\r\n";
  folders.Write("BLOCK/BLOCK.DEF", def);
  std::string users;
  for (int i = 0; i < 33; ++i) users += "[u" + std::to_string(i) + "]\r\n";
  folders.Write("BLOCK/USERBLOCK.DEF", users);
  blocks.Init(folders.ProgramDir());
  EXPECT_EQ(blocks.GetGroups().at("g").size(), 1u);
  EXPECT_EQ(blocks.GetBlockName(18), "ok");
  EXPECT_EQ(blocks.GetUserBlocks().size(), 31u);
  EXPECT_EQ(blocks.GetBlockName(255), "u30");
  EXPECT_TRUE(blocks.GetFreeUserIds().empty());
  EXPECT_EQ(traces.size(), 4u);  // two names, two user blocks past 255

  // A group long enough to run past id 223.
  folders.Write("BLOCK/BLOCK.DEF", GroupOf("big", 210));
  blocks.LoadBlockDef();
  EXPECT_EQ(blocks.GetGroups().at("big").size(), 208u);
  EXPECT_EQ(blocks.GetBlockName(223), "b208");
}

TEST_F(BlocksTest, BlockMenuBreaksIntoColumnsEvery18Items) {
  folders.Write("BLOCK/BLOCK.DEF", GroupOf("g", 40));
  blocks.Init(folders.ProgramDir());
  CMenu menu;
  menu.CreatePopupMenu();
  EXPECT_TRUE(FillBlockMenu(blocks, &menu, "g", 0x6200));
  ASSERT_EQ(menu.GetMenuItemCount(), 40);
  for (int i = 0; i < 40; ++i) {
    const bool breaks = (menu.GetMenuState(UINT(i), MF_BYPOSITION) & MF_MENUBARBREAK) != 0;
    EXPECT_EQ(breaks, i == 18 || i == 36) << i;
  }
  EXPECT_EQ(menu.GetMenuItemID(0), 0x6200u + 16);
  CMenu none;
  none.CreatePopupMenu();
  EXPECT_FALSE(FillBlockMenu(blocks, &none, "missing", 0x6200));
  EXPECT_FALSE(FillBlockMenu(blocks, &none, GBK("自定"), 0x6200));
}

}  // namespace
