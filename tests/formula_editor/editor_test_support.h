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
#include "support/temp_folder.h"

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
    dir = folder_.Path();
    formula::TheFormulaStore().Clear();
    formula::TheFormulaStore().SetDirectoryOverride(dir.string() + "/");
    formula::TheFormulaStore().LoadAll();  // the two examples and the default groups
  }
  void TearDown() override {
    TheCalcFace().ForgetSelection();
    formula::TheFormulaStore().Clear();
    formula::TheFormulaStore().SetDirectoryOverride("");
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

  test_support::TempFolder folder_{"formula_editor"};
  std::filesystem::path dir;
  platform::ScopedRecordingBoxes boxes;
};

}  // namespace editor_test
