// Shared fixtures of the keyboard-input tests: fresh folders (and so a
// fresh registry stand-in) per test, and an index whose outside sources
// are scripted.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/gbk.h"
#include "platform/paths.h"
#include "support/shell_temp_folders.h"
#include "zeb/core/input/input_key.h"
#include "zeb/store/store_records.h"

namespace input_test {

// One "normalcmd.dat" record laid out by offset.
inline std::string CmdRecord(int32_t kind, const std::string& code, const std::string& name,
                             uint16_t market) {
  std::string r(32, '\0');
  for (int b = 0; b < 4; ++b) r[(size_t)b] = (char)((uint32_t)kind >> (8 * b));
  r.replace(4, std::min<size_t>(code.size(), 7), code.substr(0, 7));
  r.replace(11, std::min<size_t>(name.size(), 17), name.substr(0, 17));
  r[28] = (char)(market & 0xFF);
  r[29] = (char)(market >> 8);
  return r;
}

inline SStockInfo Item(int32_t code, const char* gbkName, uint16_t market = 4114) {
  SStockInfo s;
  platform::GbkCopyCut(s.name, sizeof s.name, gbkName);
  s.code = code;
  s.market = market;
  return s;
}

// An index in a fresh program folder whose blocks and formulas come from
// the test.
class InputTest : public ::testing::Test {
 protected:
  shell_test::TempFolders program;
  std::vector<std::string> blocks;
  std::vector<SFormulaKey> formulas;
  CInputKey index;

  InputTest() {
    SKeyInputSources sources;
    sources.blockNames = [this] { return blocks; };
    sources.formulas = [this] { return formulas; };
    index.SetSources(sources);
  }

  // The results of a search in order, as "key|code|kind".
  std::vector<std::string> Search(const std::string& typed) {
    int n = index.Find(typed.c_str());
    index.SortResults(n);
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) {
      CKeyGhostStruct r = index.GetResult(i);
      out.push_back(std::string(r.DisplayKey()) + "|" + r.code + "|" + std::to_string(r.kind));
    }
    return out;
  }
};

}  // namespace input_test
