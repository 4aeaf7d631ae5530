// Shared fixtures of the store tests: a temporary program folder and
// application-data folder, and a store loaded with a market table.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/gbk.h"
#include "platform/paths.h"
#include "support/shell_temp_folders.h"
#include "sim/market/demo_market.h"
#include "zeb/store/public_store.h"

namespace store_test {

using TempFolders = shell_test::TempFolders;

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A store in a fresh program folder.
class StoreTest : public ::testing::Test {
 protected:
  TempFolders folders;
  CPublic store;

  void LoadDemo() {
    std::string body = BuildDemoMarketTable();
    ASSERT_EQ(store.ParseMarketTable(body.data(), static_cast<int>(body.size())), 0);
  }
  int Load(const std::string& body) {
    return store.ParseMarketTable(body.data(), static_cast<int>(body.size()));
  }
};

inline sim::MarketTableItem Item(int32_t code, const std::string& name = "x",
                                 uint32_t preClose = 1000) {
  sim::MarketTableItem item;
  item.code = code;
  item.name = name;
  item.preClose = preClose;
  return item;
}

inline std::string Table(const std::vector<sim::MarketTableBlock>& blocks,
                         std::vector<sim::MarketTablePhase> phases = {{570, 690}, {780, 900}},
                         int32_t date = 20260105) {
  return sim::BuildMarketTable(date, 1, phases, blocks);
}

}  // namespace store_test
