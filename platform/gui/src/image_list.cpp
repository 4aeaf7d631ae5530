// CImageList: one strip holds the images side by side as they were added;
// each image remembers its mask colour, which drawing keys out through the
// same transparent copy as CDC::TransparentBlt.
#include "platform/image_list.h"

#include <QPainter>
#include <climits>

#include "gdi_internal.h"

BOOL CImageList::Create(int cx, int cy, UINT flags, int, int) {
  // Bounds keep the strip's arithmetic inside int.
  if (cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096) return FALSE;
  DeleteImageList();
  cx_ = cx;
  cy_ = cy;
  flags_ = flags;
  return TRUE;
}

BOOL CImageList::Create(const char* path, int cx, int grow, COLORREF mask) {
  CBitmap strip;
  if (!path || !strip.LoadFromFile(path)) return FALSE;
  if (!Create(cx, strip.GetSize().cy, ILC_COLOR24 | (mask == CLR_NONE ? 0 : ILC_MASK), 0, grow))
    return FALSE;
  if (Add(&strip, mask) < 0) {
    DeleteImageList();
    return FALSE;
  }
  return TRUE;
}

int CImageList::Add(const CBitmap* strip, COLORREF mask) {
  const QImage* image = strip ? strip->Image() : nullptr;
  if (cx_ <= 0 || !image || image->isNull()) return -1;
  const int added = image->width() / cx_;
  if (added <= 0 || count_ > INT_MAX / cx_ - added) return -1;
  QImage grown(cx_ * (count_ + added), cy_, QImage::Format_ARGB32);
  grown.fill(Qt::transparent);
  {
    QPainter p(&grown);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    if (count_) p.drawImage(0, 0, strip_);
    p.drawImage(QRect(cx_ * count_, 0, cx_ * added, cy_), *image,
                QRect(0, 0, cx_ * added, std::min(cy_, image->height())));
  }
  strip_ = std::move(grown);
  const int first = count_;
  count_ += added;
  masks_.resize(count_, (mask == CLR_NONE || mask == CLR_DEFAULT) ? CLR_NONE : (mask & 0xFFFFFF));
  return first;
}

BOOL CImageList::Remove(int index) {
  if (index == -1) {
    count_ = 0;
    strip_ = QImage();
    masks_.clear();
    return TRUE;
  }
  if (index < 0 || index >= count_) return FALSE;
  QImage shrunk(cx_ * (count_ - 1), cy_, QImage::Format_ARGB32);
  shrunk.fill(Qt::transparent);
  {
    QPainter p(&shrunk);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, strip_, 0, 0, cx_ * index, cy_);
    p.drawImage(cx_ * index, 0, strip_, cx_ * (index + 1), 0, cx_ * (count_ - index - 1), cy_);
  }
  strip_ = std::move(shrunk);
  masks_.erase(masks_.begin() + index);
  --count_;
  return TRUE;
}

BOOL CImageList::DeleteImageList() {
  const bool had = cx_ > 0;
  cx_ = cy_ = 0;
  flags_ = 0;
  Remove(-1);
  return had;
}

BOOL CImageList::GetImageInfo(int index, IMAGEINFO* info) const {
  if (!info || index < 0 || index >= count_) return FALSE;
  info->hbmImage = nullptr;
  info->hbmMask = nullptr;
  info->rcImage = RECT{cx_ * index, 0, cx_ * (index + 1), cy_};
  return TRUE;
}

BOOL CImageList::Draw(CDC* dc, int index, POINT pt, UINT style) const {
  if (!dc || index < 0 || index >= count_) return FALSE;
  CDC strip;
  strip.Attach(const_cast<QImage*>(&strip_));
  const COLORREF mask = masks_[index];
  if (mask == CLR_NONE || (style & ILD_IMAGE))
    return dc->BitBlt(pt.x, pt.y, cx_, cy_, &strip, cx_ * index, 0, SRCCOPY);
  return dc->TransparentBlt(pt.x, pt.y, cx_, cy_, &strip, cx_ * index, 0, cx_, cy_, mask);
}

QImage CImageList::GetImage(int index) const {
  if (index < 0 || index >= count_) return QImage();
  QImage image = strip_.copy(cx_ * index, 0, cx_, cy_);
  if (masks_[index] != CLR_NONE) platform::gdi_detail::KeyOutColor(&image, masks_[index]);
  return image;
}
