// CHeaderCtrl: the list control's header. Owner-drawn items paint through
// DrawItem on a DC over Qt's painter; a press on an item's resize grip is
// offered to the list's OnBeginTrack first, which may refuse it (Win32's
// HDN_BEGINTRACK).
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include "item_views.h"
#include "platform/controls.h"
#include "platform/gbk.h"
#include "wnd_internal.h"

using namespace platform::detail;

CHeaderCtrl::CHeaderCtrl(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
  setSectionsClickable(true);
  setHighlightSections(false);
  setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setStretchLastSection(false);
  setMinimumSectionSize(0);  // Win32 columns may be as narrow as nothing
  setSectionResizeMode(QHeaderView::Interactive);
}

int CHeaderCtrl::GetItemCount() const { return count(); }

BOOL CHeaderCtrl::GetItemRect(int index, RECT* rect) const {
  if (!rect || index < 0 || index >= count() || isSectionHidden(index)) return FALSE;
  const int x = sectionViewportPosition(index);
  *rect = RECT{x, 0, x + sectionSize(index), viewport()->height()};
  return TRUE;
}

BOOL CHeaderCtrl::GetItem(int index, HDITEM* item) const {
  if (!item || !model() || index < 0 || index >= count()) return FALSE;
  if (item->mask & HDI_WIDTH) item->cxy = sectionSize(index);
  if ((item->mask & HDI_TEXT) && item->pszText && item->cchTextMax > 0) {
    const std::string text = platform::QStringToGbk(
        model()->headerData(index, orientation(), Qt::DisplayRole).toString());
    platform::GbkCopyCut(item->pszText, (size_t)item->cchTextMax, text.c_str());
  }
  if (item->mask & HDI_FORMAT)
    item->fmt = model()->headerData(index, orientation(), kFormatRole).toInt();
  if (item->mask & HDI_LPARAM)
    item->lParam = (LPARAM)model()->headerData(index, orientation(), kHeaderParamRole).toLongLong();
  return TRUE;
}

BOOL CHeaderCtrl::SetItem(int index, const HDITEM* item) {
  if (!item || !model() || index < 0 || index >= count()) return FALSE;
  QAbstractItemModel* m = model();
  if (item->mask & HDI_WIDTH) resizeSection(index, std::max(0, item->cxy));
  if ((item->mask & HDI_TEXT) && item->pszText)
    m->setHeaderData(index, orientation(), platform::GbkToQString(item->pszText), Qt::DisplayRole);
  if (item->mask & HDI_FORMAT) {
    m->setHeaderData(index, orientation(), item->fmt, kFormatRole);
    const int justify = item->fmt & HDF_JUSTIFYMASK;
    const Qt::Alignment h = justify == HDF_RIGHT    ? Qt::AlignRight
                            : justify == HDF_CENTER ? Qt::AlignHCenter
                                                    : Qt::AlignLeft;
    m->setHeaderData(index, orientation(), QVariant::fromValue(h | Qt::AlignVCenter),
                     Qt::TextAlignmentRole);
  }
  if (item->mask & HDI_LPARAM)
    m->setHeaderData(index, orientation(), (qlonglong)item->lParam, kHeaderParamRole);
  viewport()->update();
  return TRUE;
}

void CHeaderCtrl::Invalidate() { viewport()->update(); }

CListCtrl* CHeaderCtrl::GetListCtrl() const { return dynamic_cast<CListCtrl*>(parentWidget()); }

void CHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

void CHeaderCtrl::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  const int fmt =
      model() ? model()->headerData(logicalIndex, orientation(), kFormatRole).toInt() : 0;
  if (!(fmt & HDF_OWNERDRAW)) {
    QHeaderView::paintSection(painter, rect, logicalIndex);
    return;
  }
  auto* self = const_cast<CHeaderCtrl*>(this);
  CDC dc;
  dc.AttachPainter(painter);
  DRAWITEMSTRUCT dis;
  dis.CtlType = ODT_HEADER;
  dis.itemID = (UINT)logicalIndex;
  dis.itemAction = ODA_DRAWENTIRE;
  if (pressed_ == logicalIndex) dis.itemState |= ODS_SELECTED;
  if (!isEnabled()) dis.itemState |= ODS_DISABLED;
  dis.hwndItem = CWnd::FromWidget(self)->GetSafeHwnd();
  dis.hDC = &dc;
  dis.rcItem = FromQRect(rect);
  dis.itemData =
      (ULONG_PTR)model()->headerData(logicalIndex, orientation(), kHeaderParamRole).toLongLong();
  self->DrawItem(&dis);
  dc.Detach();
}

// Where Qt's header starts resizing: within the grip margin of a section's
// edge, the edge of the last shown section to its left at a left edge.
int CHeaderCtrl::ResizeGripAt(int position) const {
  int visual = visualIndexAt(position);
  if (visual < 0) return -1;
  const int logical = logicalIndex(visual);
  const int start = sectionViewportPosition(logical);
  const int grip = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this);
  bool atStart = position < start + grip;
  bool atEnd = position > start + sectionSize(logical) - grip;
  if (isRightToLeft()) std::swap(atStart, atEnd);
  if (atStart) {
    while (visual > 0) {
      const int left = logicalIndex(--visual);
      if (!isSectionHidden(left)) return left;
    }
    return -1;
  }
  return atEnd ? logical : -1;
}

bool CHeaderCtrl::GripRefused(const QPoint& point) const {
  const int grip = ResizeGripAt(orientation() == Qt::Horizontal ? point.x() : point.y());
  if (grip < 0 || sectionResizeMode(grip) != QHeaderView::Interactive) return false;
  CListCtrl* list = GetListCtrl();
  return list && !list->OnBeginTrack(grip);
}

void CHeaderCtrl::mousePressEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    if (GripRefused(point)) {
      event->accept();  // refused: no resizing, no click
      return;
    }
    const int position = orientation() == Qt::Horizontal ? point.x() : point.y();
    if (sectionsClickable() && ResizeGripAt(position) < 0) {
      pressed_ = logicalIndexAt(point);
      viewport()->update();
    }
  }
  QHeaderView::mousePressEvent(event);
}

void CHeaderCtrl::mouseReleaseEvent(QMouseEvent* event) {
  QHeaderView::mouseReleaseEvent(event);
  if (pressed_ >= 0) {
    pressed_ = -1;
    viewport()->update();
  }
}

void CHeaderCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
  // A double click on a grip fits the column: a resize too.
  if (event->button() == Qt::LeftButton && GripRefused(event->position().toPoint())) {
    event->accept();
    return;
  }
  QHeaderView::mouseDoubleClickEvent(event);
}
