// What the list and tree controls share: the roles their items keep the
// layer's values in, and the icon of an image-list image.
#pragma once
#include <QIcon>
#include <QPixmap>
#include <QStyleOptionViewItem>
#include <QWidget>

#include "gdi_internal.h"
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

// Shows image index of the list as the item's decoration; nothing for no
// list or no such image.
inline void SetImageDecoration(QStyleOptionViewItem* option, const CImageList* list, int index) {
  const QIcon icon = ImageListIcon(list, index);
  if (icon.isNull()) return;
  option->icon = icon;
  option->features |= QStyleOptionViewItem::HasDecoration;
  option->decorationSize = QSize(list->GetImageSize().cx, list->GetImageSize().cy);
}

// A view's background (QPalette::Base) or text colour; setting one returns
// the colour before.
inline COLORREF PaletteColor(const QWidget* widget, QPalette::ColorRole role) {
  return gdi_detail::FromQColor(widget->palette().color(role));
}
inline COLORREF SetPaletteColor(QWidget* widget, QPalette::ColorRole role, COLORREF color) {
  const COLORREF previous = PaletteColor(widget, role);
  QPalette palette = widget->palette();
  palette.setColor(role, gdi_detail::ToQColor(color));
  widget->setPalette(palette);
  return previous;
}

// The hit-test flags of a point outside a view's client area (0 inside).
struct OutsideFlags {
  UINT above, below, toLeft, toRight;
  UINT Of(const QRect& client, POINT p) const {
    return (p.y < client.top() ? above : 0) | (p.y > client.bottom() ? below : 0) |
           (p.x < client.left() ? toLeft : 0) | (p.x > client.right() ? toRight : 0);
  }
};

// An index role that may be unset: -1 then.
inline int IndexRole(const QVariant& value) { return value.isValid() ? value.toInt() : -1; }

}  // namespace platform::detail
