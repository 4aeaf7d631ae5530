// Shared by the tests of the formula library's dialogs: the library loaded
// as the program loads it, over a program folder of the test's own whose
// formula folder holds the two description files of the built-in examples
// and, after InitDefineTech, the store's examples. Message boxes are
// recorded.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "formula/face/FormulaFace.h"
#include "platform/msgbox.h"
#include "platform/paths.h"
#include "platform/testing/app.h"
#include "support/temp_folder.h"

namespace formula_dialogs_test {

class LibraryFolder : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { platform::testing::EnsureApplication(); }
  void SetUp() override {
    root = folder_.Path();
    std::filesystem::create_directories(root / "formula");
    const char* bin = std::getenv("ZEB_BIN_DIR");
    ASSERT_NE(bin, nullptr);
    for (const char* file : {"ParamsDesc.tch", "TechDesc.tch"})
      std::filesystem::copy_file(std::filesystem::path(bin) / "formula" / file,
                                 root / "formula" / file);
    platform::SetProgramDirOverride(root.string());
    CFormulaFace::InitDefineTech();  // the examples: TestZB, ZB2Param
  }
  void TearDown() override {
    CFormulaFace().ResetIt();
    platform::SetProgramDirOverride("");
  }

  std::filesystem::path Formulas() const { return root / "formula"; }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : boxes.Boxes()) texts.push_back(box.text);
    return texts;
  }

  test_support::TempFolder folder_{"formula_dialogs"};
  std::filesystem::path root;
  platform::ScopedRecordingBoxes boxes;
};

}  // namespace formula_dialogs_test
