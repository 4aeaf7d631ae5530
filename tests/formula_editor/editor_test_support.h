// Shared by the formula editor tests: a Qt core application for the
// message channel, a fresh formula folder per test holding the library's
// store, and recorded message boxes.
#pragma once
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "formula/face/CalcFace.h"
#include "formula/store/formula_store.h"
#include "platform/msgbox.h"

namespace editor_test {

class StoreFolder : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "test_formula_editor";
    static char* argv[] = {name, nullptr};
    // Kept to the end of the process: Qt objects do not survive exit handlers.
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
  }
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("formula_editor_" + std::to_string(getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    formula::TheFormulaStore().Clear();
    formula::TheFormulaStore().SetDirectoryOverride(dir.string() + "/");
    formula::TheFormulaStore().LoadAll();  // the two examples and the default groups
  }
  void TearDown() override {
    TheCalcFace().ForgetSelection();
    formula::TheFormulaStore().Clear();
    formula::TheFormulaStore().SetDirectoryOverride("");
    std::filesystem::remove_all(dir);
  }

  std::string Folder() const { return dir.string() + "/"; }
  void WriteFile(const char* name, const std::string& bytes) const {
    std::ofstream(dir / name, std::ios::binary) << bytes;
  }
  std::string ReadFile(const char* name) const {
    std::ifstream in(dir / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Texts of the boxes shown so far, in order.
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : boxes.Boxes()) texts.push_back(box.text);
    return texts;
  }

  std::filesystem::path dir;
  platform::ScopedRecordingBoxes boxes;
};

}  // namespace editor_test
