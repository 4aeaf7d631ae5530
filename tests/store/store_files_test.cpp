// Favourites and alarm files: whole records only, nothing damaged on save.
#include <filesystem>

#include "store_test_support.h"

using namespace store_test;

namespace {

std::string Records(const std::vector<SCodeInfo>& codes) {
  return std::string(reinterpret_cast<const char*>(codes.data()), codes.size() * sizeof(SCodeInfo));
}

}  // namespace

TEST_F(StoreTest, FavouritesRoundTripThroughTheUserFolder) {
  const std::string path = CPublic::GetSelectedStocksPath();
  EXPECT_EQ(path, folders.AppDataDir() + "ZEB/SelectedStock.DEX");
  store.GetSelectedStocks() = {{4100, 600001}, {4114, 602003}};
  ASSERT_EQ(store.SaveSelectedStocks(path.c_str()), 1);  // creates the ZEB folder
  EXPECT_EQ(ReadBytes(path), std::string("\x04\x10\xC1\x27\x09\x00\x12\x10\x93\x2F\x09\x00", 12));

  CPublic other;
  ASSERT_TRUE(other.LoadSelectedStocks(path.c_str()));
  EXPECT_EQ(other.GetSelectedStocks(), store.GetSelectedStocks());
  // Loading appends.
  ASSERT_TRUE(other.LoadSelectedStocks(path.c_str()));
  EXPECT_EQ(other.GetSelectedStocks().size(), 4u);
}

TEST_F(StoreTest, FavouritesFileOfOddLengthGivesTheWholeRecords) {
  const std::string path = folders.AppDataDir() + "odd.DEX";
  WriteBytes(path, Records({{4100, 600001}, {4101, 601001}}) + "\x01\x02\x03");
  ASSERT_TRUE(store.LoadSelectedStocks(path.c_str()));
  EXPECT_EQ(store.GetSelectedStocks(), (std::vector<SCodeInfo>{{4100, 600001}, {4101, 601001}}));

  WriteBytes(path, "\x01\x02\x03\x04\x05");
  CPublic other;
  EXPECT_FALSE(other.LoadSelectedStocks(path.c_str()));
  EXPECT_FALSE(other.LoadSelectedStocks((folders.AppDataDir() + "missing.DEX").c_str()));
  EXPECT_FALSE(other.LoadSelectedStocks(nullptr));
  EXPECT_TRUE(other.GetSelectedStocks().empty());
}

TEST_F(StoreTest, SavingAnEmptyListTruncatesAndFailuresLeaveTheFile) {
  const std::string path = folders.AppDataDir() + "ZEB/SelectedStock.DEX";
  WriteBytes(path, Records({{4100, 600001}}));
  EXPECT_EQ(store.SaveSelectedStocks(path.c_str()), 0);
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(std::filesystem::file_size(path), 0u);

  // A folder that cannot be made: result 0, nothing written.
  WriteBytes(folders.AppDataDir() + "blocker", "file");
  store.GetSelectedStocks() = {{4100, 600001}};
  EXPECT_EQ(store.SaveSelectedStocks((folders.AppDataDir() + "blocker/sub/x.DEX").c_str()), 0);
  EXPECT_EQ(ReadBytes(folders.AppDataDir() + "blocker"), "file");
  EXPECT_EQ(store.SaveSelectedStocks(nullptr), 0);
}

TEST(StoreAlarms, ConstructorLoadsTheAlarmFileOfTheProgramFolder) {
  TempFolders folders;
  {
    CPublic store;
    EXPECT_FALSE(store.IsAlarmListLoaded());
    EXPECT_TRUE(store.GetAlarmList().empty());
  }
  // Hundreds of records and a trailing partial one.
  std::string bytes;
  for (int i = 0; i < 500; ++i) {
    SPreAlrmUnit unit;
    unit.market = 4100;
    unit.code = 600000 + i;
    unit.reserved[19] = static_cast<uint8_t>(i);
    bytes.append(reinterpret_cast<const char*>(&unit), sizeof unit);
  }
  WriteBytes(folders.ProgramDir() + "INDEX/ALARM.DEX", bytes + std::string(25, 'z'));
  CPublic store;
  EXPECT_TRUE(store.IsAlarmListLoaded());
  ASSERT_EQ(store.GetAlarmList().size(), 500u);
  EXPECT_EQ(+store.GetAlarmList()[499].code, 600499);
  EXPECT_EQ(+store.GetAlarmList()[499].reserved[19], 499 % 256);
  EXPECT_EQ(ReadBytes(folders.ProgramDir() + "INDEX/ALARM.DEX").size(), 500u * 26 + 25);
}
