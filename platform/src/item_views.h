// What the list and tree controls share: the roles their items keep the
// layer's values in, and the icon of an image-list image.
#pragma once
#include <QIcon>
#include <QPixmap>

#include "platform/image_list.h"

namespace platform::detail {

// Item roles: item data, image, selected image; a list column's format
// (LVCFMT_/HDF_ bits), its fixed mark and its header lParam.
constexpr int kDataRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kSelectedImageRole = Qt::UserRole + 2;
constexpr int kFormatRole = Qt::UserRole + 3;
constexpr int kFixedRole = Qt::UserRole + 4;
constexpr int kHeaderParamRole = Qt::UserRole + 5;

// The image as an icon that looks the same selected (Win32 draws an
// image-list image unchanged on a selected item); null for none.
inline QIcon ImageListIcon(const CImageList* list, int index) {
  const QImage image = list ? list->GetImage(index) : QImage();
  if (image.isNull()) return QIcon();
  const QPixmap pixmap = QPixmap::fromImage(image);
  QIcon icon;
  icon.addPixmap(pixmap, QIcon::Normal);
  icon.addPixmap(pixmap, QIcon::Selected);
  return icon;
}

// An index role that may be unset: -1 then.
inline int IndexRole(const QVariant& value) { return value.isValid() ? value.toInt() : -1; }

}  // namespace platform::detail
