#include "formula/dialogs/FormulaImages.h"

namespace formula {

namespace {

constexpr COLORREF kMaskGreen = 0x00FF00;

std::unique_ptr<CImageList> Strip(const char* path) {
  auto images = std::make_unique<CImageList>();
  images->Create(path, 16, 0, kMaskGreen);
  return images;
}

}  // namespace

std::unique_ptr<CImageList> MakeFormulaTreeImages() { return Strip(":/formula/tree16.png"); }

std::unique_ptr<CImageList> MakeIndicatorImages() { return Strip(":/formula/indicator16.png"); }

}  // namespace formula
