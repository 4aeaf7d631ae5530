// CImageList: equal-sized images cut from strips, with a mask colour that
// stays transparent, drawn through a CDC and shown by list and tree
// controls. Strips are our own images (a file or a ":/" resource path).
#pragma once
#include <QImage>
#include <vector>

#include "platform/gdi.h"

// Create flags (the colour depth is the strip's own; kept for GetFlags).
constexpr UINT ILC_MASK = 0x0001, ILC_COLOR = 0x0000, ILC_COLORDDB = 0x00FE, ILC_COLOR4 = 0x0004,
               ILC_COLOR8 = 0x0008, ILC_COLOR16 = 0x0010, ILC_COLOR24 = 0x0018,
               ILC_COLOR32 = 0x0020;
// Draw styles: a masked list always draws transparently; ILD_IMAGE draws
// the image without its mask.
constexpr UINT ILD_NORMAL = 0x0000, ILD_TRANSPARENT = 0x0001, ILD_IMAGE = 0x0020;
// No mask colour.
constexpr COLORREF CLR_NONE = 0xFFFFFFFF, CLR_DEFAULT = 0xFF000000;

class CImageList;
typedef CImageList* HIMAGELIST;

struct IMAGEINFO {
  HBITMAP hbmImage = nullptr;
  HBITMAP hbmMask = nullptr;
  RECT rcImage;  // the image's place in the list's own strip
};

class CImageList {
 public:
  CImageList() = default;
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;

  // An empty list of cx x cy images (initial and grow are capacity hints).
  BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
  // A list made from a strip file cut into images cx wide (as high as the
  // strip); pixels of the mask colour are transparent (CLR_NONE: none).
  BOOL Create(const char* path, int cx, int grow, COLORREF mask);
  // Appends the images of a strip (as many whole images as it is wide);
  // pixels of the mask colour become transparent. Returns the index of the
  // first image added, -1 on failure.
  int Add(const CBitmap* strip, COLORREF mask);
  // Removes one image (-1: all).
  BOOL Remove(int index);
  BOOL DeleteImageList();
  HIMAGELIST GetSafeHandle() { return cx_ > 0 ? this : nullptr; }

  int GetImageCount() const { return count_; }
  SIZE GetImageSize() const { return SIZE{cx_, cy_}; }
  BOOL GetImageInfo(int index, IMAGEINFO* info) const;
  UINT GetFlags() const { return flags_; }

  // Draws image index with its top-left at pt; FALSE for a bad index.
  BOOL Draw(CDC* dc, int index, POINT pt, UINT style) const;
  // The image as Qt draws it (transparent where the mask colour was); a
  // null image for a bad index.
  QImage GetImage(int index) const;

 private:
  int cx_ = 0, cy_ = 0;
  UINT flags_ = 0;
  int count_ = 0;
  QImage strip_;                 // ARGB32, images side by side, pixels as added
  std::vector<COLORREF> masks_;  // per image: its mask colour or CLR_NONE
};
