// CToolBarXP: the flat tool bar of the main frame. It paints itself: a
// light face, hot, checked and pressed buttons as rectangles in shades of
// the system highlight colour, split drop-down buttons with their own
// arrow part, images from its own image lists, and controls hosted on
// separator places (hidden while the bar is docked at a side).
//
// A press on a drop-down button's arrow sends WM_COMMAND to the frame the
// bar is docked in with the low word of the negated command id
// ((-id) & 0xFFFF, lParam 0): a frame that takes it (answers non-zero)
// shows its own drop-down; otherwise the press acts as a click of the
// button.
//
// Module-wide, as for every bar of the program: the image size (16 x 16
// until LoadImages stores another) and the system class that picks the
// face colour of the key grey, fixed at 4 here (face RGB(219,218,210)).
// Colours come from the platform's fixed system colour table.
#pragma once
#include <QImage>
#include <map>
#include <string>

#include "zeb/controls/toolbar_base.h"

class CToolBarXP : public CToolBarBase {
 public:
  // floatingFrame: the variant the frame floats in full-screen mode. A
  // floating bar here has no system menu to remove; the flag is kept.
  explicit CToolBarXP(BOOL floatingFrame = FALSE);

  // The base load, then borders (1, 0, 6, 0) and split drop-down arrows.
  BOOL LoadToolBar(std::span<const zebui::ToolBarResource> module, UINT id) override;
  // Stores the image size for every bar and loads both lists; a strip that
  // does not load leaves its list empty.
  void LoadImages(const char* normalBitmap, const char* disabledBitmap, int width, int height);
  // A strip (resource path), recoloured, as a list of the stored image size.
  static BOOL LoadImageList(const char* bitmap, zebui::CToolImageList& list);
  // Every pixel of exactly the key grey becomes the face colour of the
  // system class.
  static void RecolorBitmap(QImage& image);
  static int GetOsClass() { return 4; }
  // 1: RGB(200,204,200); 5: RGB(239,236,222); any other: RGB(219,218,210).
  static COLORREF FaceColorOfOsClass(int osClass);
  static SIZE GetModuleImageSize();

  // Caption texts under the images (shown while captions are on and the
  // map holds any), by command id. GBK.
  void SetTextCaption(UINT id, const char* text);
  void ShowTextCaptions(BOOL show);
  BOOL IsFloatingFrame() const { return floatingFrame_; }

 protected:
  void PaintBar(CDC* dc, const RECT& clip) override;
  LRESULT OnDropDown(int index) override;

 private:
  BOOL floatingFrame_;
  bool textCaptions_ = false;
  std::map<UINT, std::string> captions_;
};
