// The images of the formula dialogs, our own strips compiled into the
// library (resources/formula/): the tree images of the editor and the
// function picker, and the indicator list's icons.
#pragma once
#include <memory>

#include "platform/image_list.h"

namespace formula {

// 16-pixel images on the mask colour green: 2 category, 4 kind, 5 group,
// 6 formula, 28 built-in function.
std::unique_ptr<CImageList> MakeFormulaTreeImages();
inline constexpr int kCategoryImage = 2;
inline constexpr int kFunctionImage = 28;

// The indicator list's icons: an indicator (every row) and one being edited.
std::unique_ptr<CImageList> MakeIndicatorImages();
inline constexpr int kIndicatorIcon = 0;

}  // namespace formula
