// The image list of a tool bar: one strip of equal cells (our own images,
// usually a resource ":/toolbar/..."), drawn through a DC mixed by each
// pixel's alpha, or as a one-colour silhouette for a disabled button that
// has no image of its own.
//
// Also the key-colour rule of the strips: pixels of exactly the key grey
// RGB(192,192,192) take the bar's face colour. The walk goes row by row
// along each row's stride, so padded 24-bit rows are read correctly.
#pragma once
#include <QImage>
#include <memory>

#include "platform/gdi.h"

namespace zebui {

constexpr COLORREF kToolBarKeyGrey = RGB(192, 192, 192);

// Every opaque pixel of exactly `from` becomes `to` (alpha kept).
void RecolorKeyPixels(QImage& image, COLORREF from, COLORREF to);

class CToolImageList {
 public:
  CToolImageList();
  ~CToolImageList();
  CToolImageList(const CToolImageList&) = delete;
  CToolImageList& operator=(const CToolImageList&) = delete;

  // Cells of cx x cy from the left of the strip; FALSE for a null strip or
  // a cell size that is not positive (the list is then empty).
  BOOL Create(const QImage& strip, int cx, int cy);
  void DeleteImageList();
  bool IsEmpty() const { return count_ == 0; }
  int GetImageCount() const { return count_; }
  SIZE GetImageSize() const { return SIZE{cx_, cy_}; }
  const QImage* GetStrip() const;

  // Draws cell index with its top-left at (x, y); nothing for an index
  // outside the list.
  void Draw(CDC* dc, int index, int x, int y) const;
  // The cell's shape (its pixels that are not transparent) in one colour.
  void DrawMono(CDC* dc, int index, int x, int y, COLORREF color) const;

 private:
  CBitmap strip_;
  std::unique_ptr<CDC> stripDC_;
  int cx_ = 0, cy_ = 0, count_ = 0;
};

}  // namespace zebui
