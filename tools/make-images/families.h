// The image families make_images draws, one per folder of resources/ and
// one source file each (<family>_images.cpp). Every function returns its
// pictures with their paths below the resources folder; main() writes
// them or checks them against the committed files.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

namespace images {

struct NamedImage {
  QString path;  // below the resources folder, e.g. "skin/dialog.png"
  QImage image;
};
using ImageList = std::vector<NamedImage>;

ImageList IconImages();     // icons/: the window icon
ImageList SkinImages();     // skin/: the skinned controls' dialog, buttons and strips
ImageList ToolbarImages();  // toolbar/: the tool bars' 16 x 16 icon strips
ImageList LoginImages();    // login/: the login dialog's skin and button strips
ImageList SchemeImages();   // scheme/: the colour scheme's scroll-thumb tile
ImageList FormulaImages();  // formula/: the formula dialogs' tree and list icons
ImageList TradeImages();    // trade/: the trading window's function tree icons
ImageList InputImages();    // input/: the keyboard-input box's caption and close button

}  // namespace images
