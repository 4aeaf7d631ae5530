// CTreeCtrl: a tree control over a one-column QTreeWidget. An HTREEITEM is
// the QTreeWidgetItem itself; images come from the image list through the
// delegate, which also calls OnPaintItem after each item is painted. The
// selection is Win32's one selected item: a change notifies once, with the
// cause of the message being handled (mouse, keys, or code).
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

#include "item_views.h"
#include "platform/controls.h"
#include "platform/gbk.h"
#include "wnd_internal.h"

using namespace platform::detail;

// Images from the list, the text box, and OnPaintItem after the item.
class CTreeCtrl::Delegate : public QStyledItemDelegate {
 public:
  explicit Delegate(CTreeCtrl* tree) : QStyledItemDelegate(tree), tree_(tree) {}

  // The box of the item's text: where the style puts the text, as wide as
  // the text plus a margin of 2 each side.
  QRect TextRect(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const QStyle* style = tree_->style();
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, tree_);
    const int width = opt.fontMetrics.horizontalAdvance(opt.text) + 4;
    return QRect(text.left(), opt.rect.top(), width, opt.rect.height());
  }
  QRect IconRect(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    if (!(opt.features & QStyleOptionViewItem::HasDecoration)) return QRect();
    return tree_->style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &opt, tree_);
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    HTREEITEM item = tree_->itemFromIndex(index);
    if (!item) return;
    const RECT textRect = FromQRect(TextRect(option, index));
    CDC dc;
    dc.AttachPainter(painter);
    tree_->OnPaintItem(&dc, item, textRect,
                       tree_->GetItemState(item, TVIS_SELECTED | TVIS_EXPANDED | TVIS_BOLD));
    dc.Detach();
  }

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    const bool selected = option->state & QStyle::State_Selected;
    SetImageDecoration(option, tree_->images_,
                       IndexRole(index.data(selected ? kSelectedImageRole : kImageRole)));
  }

 private:
  CTreeCtrl* tree_;
};

CTreeCtrl::CTreeCtrl() : delegate_(new Delegate(this)) {
  setColumnCount(1);
  setHeaderHidden(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setUniformRowHeights(true);
  setIndentation(19);  // Win32's default indent
  setItemDelegate(delegate_);
  connect(this, &QTreeWidget::itemSelectionChanged, this, [this] { SelectionChanged(); });
}

CTreeCtrl::~CTreeCtrl() {
  ++quiet_;
  disconnect(this, &QTreeWidget::itemSelectionChanged, this, nullptr);
}

int CTreeCtrl::OnCreate(LPCREATESTRUCT cs) {
  const DWORD style = cs ? cs->style : 0;
  setRootIsDecorated((style & TVS_LINESATROOT) && (style & TVS_HASBUTTONS));
  setItemsExpandable(true);
  return CWndImpl<QTreeWidget>::OnCreate(cs);
}

bool CTreeCtrl::Owns(HTREEITEM item) const {
  return item && item != TVI_ROOT && item != TVI_FIRST && item != TVI_LAST && item != TVI_SORT &&
         item->treeWidget() == this;
}

template <class Fn>
void CTreeCtrl::Quietly(Fn&& fn) {
  ++quiet_;
  fn();
  --quiet_;
  selected_ = GetSelectedItem();
}

// ---- Items ----------------------------------------------------------------------

HTREEITEM CTreeCtrl::InsertItem(const char* text, HTREEITEM parent, HTREEITEM after) {
  return InsertItem(text, -1, -1, parent, after);
}

HTREEITEM CTreeCtrl::InsertItem(const char* text, int image, int selectedImage, HTREEITEM parent,
                                HTREEITEM after) {
  QTreeWidgetItem* owner = (!parent || parent == TVI_ROOT) ? invisibleRootItem() : parent;
  if (owner != invisibleRootItem() && !Owns(owner)) return nullptr;
  const QString label = platform::GbkToQString(text ? text : "");
  int index = owner->childCount();
  if (after == TVI_FIRST) {
    index = 0;
  } else if (after == TVI_SORT) {
    const std::string gbk = text ? text : "";
    index = 0;
    while (index < owner->childCount() &&
           platform::GbkCompareNoCase(platform::QStringToGbk(owner->child(index)->text(0)), gbk) <=
               0)
      ++index;
  } else if (after && after != TVI_LAST) {
    if (!Owns(after) || after->parent() != (owner == invisibleRootItem() ? nullptr : owner))
      return nullptr;
    index = owner->indexOfChild(after) + 1;
  }
  auto* item = new QTreeWidgetItem();
  item->setText(0, label);
  item->setData(0, kImageRole, image);
  item->setData(0, kSelectedImageRole, selectedImage);
  Quietly([&] { owner->insertChild(index, item); });
  return item;
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM item) {
  if (item == TVI_ROOT) return DeleteAllItems();
  if (!Owns(item)) return FALSE;
  Quietly([&] { delete item; });  // its children go with it
  return TRUE;
}

BOOL CTreeCtrl::DeleteAllItems() {
  Quietly([&] { clear(); });
  return TRUE;
}

UINT CTreeCtrl::GetCount() const {
  UINT count = 0;
  for (QTreeWidgetItemIterator it(const_cast<CTreeCtrl*>(this)); *it; ++it) ++count;
  return count;
}

std::string CTreeCtrl::GetItemText(HTREEITEM item) const {
  return Owns(item) ? platform::QStringToGbk(item->text(0)) : std::string();
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, const char* text) {
  if (!Owns(item)) return FALSE;
  item->setText(0, platform::GbkToQString(text ? text : ""));
  return TRUE;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data) {
  if (!Owns(item)) return FALSE;
  item->setData(0, kDataRole, QVariant::fromValue<qulonglong>(data));
  return TRUE;
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const {
  return Owns(item) ? (DWORD_PTR)item->data(0, kDataRole).toULongLong() : 0;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM item, int image, int selectedImage) {
  if (!Owns(item)) return FALSE;
  item->setData(0, kImageRole, image);
  item->setData(0, kSelectedImageRole, selectedImage);
  return TRUE;
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM item, int& image, int& selectedImage) const {
  if (!Owns(item)) return FALSE;
  image = IndexRole(item->data(0, kImageRole));
  selectedImage = IndexRole(item->data(0, kSelectedImageRole));
  return TRUE;
}

BOOL CTreeCtrl::SetItemState(HTREEITEM item, UINT state, UINT mask) {
  if (!Owns(item)) return FALSE;
  if (mask & TVIS_BOLD) {
    QFont font = item->font(0);
    font.setBold(state & TVIS_BOLD);
    item->setFont(0, font);
  }
  if (mask & TVIS_EXPANDED) item->setExpanded(state & TVIS_EXPANDED);
  if (mask & TVIS_SELECTED) {
    if (state & TVIS_SELECTED) SelectItem(item);
    else if (GetSelectedItem() == item) SelectItem(nullptr);
  }
  return TRUE;
}

UINT CTreeCtrl::GetItemState(HTREEITEM item, UINT mask) const {
  if (!Owns(item)) return 0;
  UINT state = 0;
  if (item->isSelected()) state |= TVIS_SELECTED;
  if (item->isExpanded()) state |= TVIS_EXPANDED;
  if (item->font(0).bold()) state |= TVIS_BOLD;
  return state & mask;
}

CImageList* CTreeCtrl::SetImageList(CImageList* list, int which) {
  if (which != TVSIL_NORMAL) return nullptr;
  CImageList* previous = images_;
  images_ = list;
  if (list) setIconSize(QSize(list->GetImageSize().cx, list->GetImageSize().cy));
  scheduleDelayedItemsLayout();  // row heights follow the images
  return previous;
}

CImageList* CTreeCtrl::GetImageList(int which) const {
  return which == TVSIL_NORMAL ? images_ : nullptr;
}

BOOL CTreeCtrl::Expand(HTREEITEM item, UINT code) {
  if (!Owns(item)) return FALSE;
  switch (code & 0xF) {
    case TVE_EXPAND: item->setExpanded(true); break;
    case TVE_COLLAPSE: item->setExpanded(false); break;
    case TVE_TOGGLE: item->setExpanded(!item->isExpanded()); break;
    default: return FALSE;
  }
  return TRUE;
}

// ---- Selection ----------------------------------------------------------------------

BOOL CTreeCtrl::SelectItem(HTREEITEM item) {
  if (item && !Owns(item)) return FALSE;
  if (!item) {
    clearSelection();
    setCurrentItem(nullptr);
    return TRUE;
  }
  setCurrentItem(item);  // selects it; the change notifies with the cause in hand
  return TRUE;
}

BOOL CTreeCtrl::Select(HTREEITEM item, UINT code) {
  if (code == TVGN_CARET) return SelectItem(item);
  if (code == TVGN_FIRSTVISIBLE && Owns(item)) {
    scrollToItem(item, QAbstractItemView::PositionAtTop);
    return TRUE;
  }
  return code == TVGN_DROPHILITE;  // no drop highlight here
}

HTREEITEM CTreeCtrl::GetSelectedItem() const {
  const QList<QTreeWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? nullptr : selected.front();
}

BOOL CTreeCtrl::EnsureVisible(HTREEITEM item) {
  if (!Owns(item)) return FALSE;
  for (QTreeWidgetItem* p = item->parent(); p; p = p->parent()) p->setExpanded(true);
  scrollToItem(item);
  return TRUE;
}

void CTreeCtrl::SelectionChanged() {
  if (quiet_) return;
  HTREEITEM now = GetSelectedItem();
  if (now == selected_) return;
  HTREEITEM old = selected_;
  selected_ = now;
  action_ = cause_;
  OnSelChanged(old, now, cause_);
  action_ = TVC_UNKNOWN;
}

// ---- Navigation ---------------------------------------------------------------------

HTREEITEM CTreeCtrl::GetRootItem() const { return topLevelItemCount() ? topLevelItem(0) : nullptr; }

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM item) const {
  if (!item || item == TVI_ROOT) return GetRootItem();
  return Owns(item) && item->childCount() ? item->child(0) : nullptr;
}

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM item) const {
  if (!Owns(item)) return nullptr;
  QTreeWidgetItem* owner = item->parent() ? item->parent() : invisibleRootItem();
  return owner->child(owner->indexOfChild(item) + 1);
}

HTREEITEM CTreeCtrl::GetPrevSiblingItem(HTREEITEM item) const {
  if (!Owns(item)) return nullptr;
  QTreeWidgetItem* owner = item->parent() ? item->parent() : invisibleRootItem();
  const int index = owner->indexOfChild(item);
  return index > 0 ? owner->child(index - 1) : nullptr;
}

HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM item) const {
  return Owns(item) ? item->parent() : nullptr;
}

HTREEITEM CTreeCtrl::GetFirstVisibleItem() const {
  // The first item of the rows shown, scrolled or not.
  if (QTreeWidgetItem* top = itemAt(QPoint(1, 1))) return top;
  return GetRootItem();
}

HTREEITEM CTreeCtrl::GetNextVisibleItem(HTREEITEM item) const {
  if (!Owns(item)) return nullptr;
  for (QTreeWidgetItem* p = item->parent(); p; p = p->parent())
    if (!p->isExpanded()) return nullptr;
  return itemBelow(item);
}

HTREEITEM CTreeCtrl::GetPrevVisibleItem(HTREEITEM item) const {
  if (!Owns(item)) return nullptr;
  for (QTreeWidgetItem* p = item->parent(); p; p = p->parent())
    if (!p->isExpanded()) return nullptr;
  return itemAbove(item);
}

HTREEITEM CTreeCtrl::GetLastVisibleItem() const {
  HTREEITEM last = topLevelItemCount() ? topLevelItem(topLevelItemCount() - 1) : nullptr;
  while (last && last->isExpanded() && last->childCount())
    last = last->child(last->childCount() - 1);
  return last;
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM item, UINT code) const {
  switch (code) {
    case TVGN_ROOT: return GetRootItem();
    case TVGN_NEXT: return GetNextSiblingItem(item);
    case TVGN_PREVIOUS: return GetPrevSiblingItem(item);
    case TVGN_PARENT: return GetParentItem(item);
    case TVGN_CHILD: return GetChildItem(item);
    case TVGN_FIRSTVISIBLE: return GetFirstVisibleItem();
    case TVGN_NEXTVISIBLE: return GetNextVisibleItem(item);
    case TVGN_PREVIOUSVISIBLE: return GetPrevVisibleItem(item);
    case TVGN_CARET: return GetSelectedItem();
    case TVGN_LASTVISIBLE: return GetLastVisibleItem();
    default: return nullptr;
  }
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM item) const {
  return Owns(item) && item->childCount() > 0;
}

UINT CTreeCtrl::GetVisibleCount() const {
  HTREEITEM first = GetRootItem();
  const int row = first ? visualItemRect(first).height() : 0;
  return row > 0 ? (UINT)(viewport()->height() / row) : 0;
}

// ---- Geometry -----------------------------------------------------------------------

namespace {

bool Shown(const QTreeWidgetItem* item) {
  for (const QTreeWidgetItem* p = item->parent(); p; p = p->parent())
    if (!p->isExpanded()) return false;
  return !item->isHidden();
}

}  // namespace

BOOL CTreeCtrl::GetItemRect(HTREEITEM item, RECT* rect, BOOL textOnly) const {
  if (!rect || !Owns(item) || !Shown(item)) return FALSE;
  const QRect cell = visualItemRect(item);
  if (!textOnly) {
    *rect = RECT{0, cell.top(), viewport()->width(), cell.bottom() + 1};
    return TRUE;
  }
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.rect = cell;
  *rect = FromQRect(delegate_->TextRect(option, indexFromItem(item)));
  return TRUE;
}

HTREEITEM CTreeCtrl::HitTest(CPoint point, UINT* flags) const {
  UINT where =
      OutsideFlags{TVHT_ABOVE, TVHT_BELOW, TVHT_TOLEFT, TVHT_TORIGHT}.Of(viewport()->rect(), point);
  HTREEITEM item = where ? nullptr : itemAt(QPoint(point.x, point.y));
  if (!where) {
    if (!item) {
      where = TVHT_NOWHERE;
    } else {
      const QRect cell = visualItemRect(item);
      QStyleOptionViewItem option;
      initViewItemOption(&option);
      option.rect = cell;
      const QModelIndex index = indexFromItem(item);
      const QRect text = delegate_->TextRect(option, index);
      const QRect icon = delegate_->IconRect(option, index);
      const QPoint p(point.x, point.y);
      if (text.contains(p)) where = TVHT_ONITEMLABEL;
      else if (icon.contains(p)) where = TVHT_ONITEMICON;
      else if (p.x() >= text.right()) where = TVHT_ONITEMRIGHT;
      else if (p.x() >= cell.left() - indentation() && item->childCount())
        where = TVHT_ONITEMBUTTON;
      else where = TVHT_ONITEMINDENT;
    }
  }
  if (flags) *flags = where;
  return item;
}

COLORREF CTreeCtrl::SetBkColor(COLORREF color) {
  return SetPaletteColor(this, QPalette::Base, color);
}
COLORREF CTreeCtrl::GetBkColor() const { return PaletteColor(this, QPalette::Base); }
COLORREF CTreeCtrl::SetTextColor(COLORREF color) {
  return SetPaletteColor(this, QPalette::Text, color);
}
COLORREF CTreeCtrl::GetTextColor() const { return PaletteColor(this, QPalette::Text); }

// ---- Hooks and input ----------------------------------------------------------------

void CTreeCtrl::OnSelChanged(HTREEITEM, HTREEITEM, UINT) {
  platform::NotifyParent(this, TVN_SELCHANGED);
}
void CTreeCtrl::OnClick(CPoint) { platform::NotifyParent(this, NM_CLICK); }
void CTreeCtrl::OnRClick(CPoint) { platform::NotifyParent(this, NM_RCLICK); }
void CTreeCtrl::OnPaintItem(CDC*, HTREEITEM, const RECT&, UINT) {}

void CTreeCtrl::OnLButtonDown(UINT, CPoint point) {
  Default();
  OnClick(point);
}

// A right press never selects (Qt's would), as in Win32.
void CTreeCtrl::OnRButtonDown(UINT, CPoint) {}

void CTreeCtrl::OnRButtonUp(UINT, CPoint point) {
  Default();
  OnRClick(point);
}

LRESULT CTreeCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const UINT before = cause_;
  if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) cause_ = TVC_BYMOUSE;
  else if (message == WM_KEYDOWN || message == WM_CHAR) cause_ = TVC_BYKEYBOARD;
  const LRESULT result = CWndImpl<QTreeWidget>::WindowProc(message, wParam, lParam);
  cause_ = before;
  return result;
}
