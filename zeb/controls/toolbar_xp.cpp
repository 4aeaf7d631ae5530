// CToolBarXP: loading, images, module values and the drop-down answer;
// the painting is in toolbar_xp_paint.cpp.
#include "zeb/controls/toolbar_xp.h"

#include <QMainWindow>

#include "zeb/controls/toolbar_resources.h"

namespace {

// Shared by every bar of the program, as the image size of its strips.
SIZE g_imageSize{16, 16};

}  // namespace

CToolBarXP::CToolBarXP(BOOL floatingFrame) : floatingFrame_(floatingFrame) {}

BOOL CToolBarXP::LoadToolBar(std::span<const zebui::ToolBarResource> module, UINT id) {
  if (!CToolBarBase::LoadToolBar(module, id)) return FALSE;
  SetBorders(1, 0, 6, 0);
  SetExtendedStyle(GetExtendedStyle() | TBSTYLE_EX_DRAWDDARROWS);
  return TRUE;
}

void CToolBarXP::LoadImages(const char* normalBitmap, const char* disabledBitmap, int width,
                            int height) {
  g_imageSize = SIZE{width, height};
  LoadImageList(normalBitmap, GetImageList());
  LoadImageList(disabledBitmap, GetDisabledImageList());
  Invalidate(FALSE);
}

BOOL CToolBarXP::LoadImageList(const char* bitmap, zebui::CToolImageList& list) {
  QImage strip = zebui::LoadToolBarImage(bitmap);
  if (strip.isNull()) {
    list.DeleteImageList();
    return FALSE;
  }
  RecolorBitmap(strip);
  return list.Create(strip, g_imageSize.cx, g_imageSize.cy);
}

void CToolBarXP::RecolorBitmap(QImage& image) {
  zebui::RecolorKeyPixels(image, zebui::kToolBarKeyGrey, FaceColorOfOsClass(GetOsClass()));
}

COLORREF CToolBarXP::FaceColorOfOsClass(int osClass) {
  if (osClass == 1) return RGB(200, 204, 200);
  if (osClass == 5) return RGB(239, 236, 222);
  return RGB(219, 218, 210);
}

SIZE CToolBarXP::GetModuleImageSize() { return g_imageSize; }

void CToolBarXP::SetTextCaption(UINT id, const char* text) {
  captions_[id] = text ? text : "";
  Invalidate(FALSE);
}

void CToolBarXP::ShowTextCaptions(BOOL show) {
  textCaptions_ = show != FALSE;
  Invalidate(FALSE);
}

LRESULT CToolBarXP::OnDropDown(int index) {
  // The frame the bar is docked in (its dock site); the owner otherwise.
  CWnd* site = nullptr;
  for (QWidget* w = parentWidget(); w && !site; w = w->parentWidget()) {
    if (qobject_cast<QMainWindow*>(w)) site = dynamic_cast<CWnd*>(w);
  }
  if (!site) site = GetOwner();
  const UINT id = GetItemID(index);
  const LRESULT answer = site ? site->SendMessage(WM_COMMAND, (WPARAM)((0u - id) & 0xFFFF), 0) : 0;
  return answer == 0 ? TBDDRET_TREATPRESSED : TBDDRET_DEFAULT;
}
