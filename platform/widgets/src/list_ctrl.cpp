// CListCtrl: a report-view list control over QTableView and a model of its
// own (list_model.h), which keeps the GBK texts, item data and images, so
// that only the rows on the screen are ever converted for it. Rows select
// whole; the selection mark is kept apart from Qt's current index, as Win32
// keeps it; the hooks run from Qt's signals and the mouse handlers, and
// inserting, deleting and sorting run quietly.
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cstring>
#include <numeric>
#include <set>

#include "item_views.h"
#include "list_model.h"
#include "platform/controls.h"
#include "platform/gbk.h"
#include "wnd_internal.h"

using namespace platform::detail;

namespace {

// The order a comparison puts n items in, by a bottom-up merge sort: stable,
// and every index is read in bounds whatever the comparison answers (a
// comparison that is not a consistent order merely gives some order).
template <class Compare>
std::vector<int> StableOrder(int n, Compare compare) {
  std::vector<int> a((size_t)n), b((size_t)n);
  std::iota(a.begin(), a.end(), 0);
  for (int width = 1; width < n; width *= 2) {
    for (int low = 0; low < n; low += 2 * width) {
      const int mid = std::min(low + width, n), high = std::min(low + 2 * width, n);
      int i = low, j = mid, k = low;
      while (i < mid && j < high)
        b[(size_t)k++] = compare(a[(size_t)j], a[(size_t)i]) < 0 ? a[(size_t)j++] : a[(size_t)i++];
      while (i < mid) b[(size_t)k++] = a[(size_t)i++];
      while (j < high) b[(size_t)k++] = a[(size_t)j++];
    }
    std::swap(a, b);
  }
  return a;
}

}  // namespace

// Paints column 0's image and the row colours OnItemColors gives.
class CListCtrl::Delegate : public QStyledItemDelegate {
 public:
  explicit Delegate(CListCtrl* list) : QStyledItemDelegate(list), list_(list) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem colored(option);
    if (!(option.state & QStyle::State_Selected)) {
      COLORREF text = list_->GetTextColor(), back = list_->GetBkColor();
      if (list_->OnItemColors(index.row(), &text, &back)) {
        painter->fillRect(option.rect, platform::gdi_detail::ToQColor(back));
        colored.palette.setColor(QPalette::Text, platform::gdi_detail::ToQColor(text));
      }
    }
    QStyledItemDelegate::paint(painter, colored, index);
  }

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.column() == 0)
      SetImageDecoration(option, list_->smallImages_, IndexRole(index.data(kImageRole)));
  }

 private:
  CListCtrl* list_;
};

CListCtrl::CListCtrl() : model_(new ListModel(this)) {
  setModel(model_);
  setHorizontalHeader(new CHeaderCtrl(this));
  connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int column) { OnColumnClick(column); });
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(1);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTabKeyNavigation(false);  // Tab leaves the list, as in a dialog
  setShowGrid(false);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setItemDelegate(new Delegate(this));
  ConnectSelection();
  UpdateRowHeight();
}

CListCtrl::~CListCtrl() {
  ++quiet_;
  disconnect(selectionModel(), nullptr, this, nullptr);
  disconnect(horizontalHeader(), nullptr, this, nullptr);
}

void CListCtrl::ConnectSelection() {
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection& s, const QItemSelection& d) { SelectionChanged(s, d); });
  connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (userInput_ && !quiet_) mark_ = current.row();
          });
}

int CListCtrl::OnCreate(LPCREATESTRUCT cs) {
  ApplyStyle(cs ? cs->style : 0);
  return CWndImpl<QTableView>::OnCreate(cs);
}

void CListCtrl::ApplyStyle(DWORD style) {
  setSelectionMode((style & LVS_SINGLESEL) ? QAbstractItemView::SingleSelection
                                           : QAbstractItemView::ExtendedSelection);
  horizontalHeader()->setVisible(!(style & LVS_NOCOLUMNHEADER));
  horizontalHeader()->setSectionsClickable(!(style & LVS_NOSORTHEADER));
  UpdateRowHeight();
}

void CListCtrl::UpdateRowHeight() {
  int height = fontMetrics().height() + 4;
  if (smallImages_) height = std::max(height, (int)smallImages_->GetImageSize().cy + 1);
  verticalHeader()->setDefaultSectionSize(height);
}

// ---- Columns ----------------------------------------------------------------------

int CListCtrl::InsertColumn(int column, const char* heading, int format, int width, int) {
  if (column < 0) return -1;
  column = std::min(column, model_->Columns());
  const QString title = platform::GbkToQString(heading ? heading : "");
  model_->InsertColumn(column, title, format);
  if (width < 0) width = fontMetrics().horizontalAdvance(title) + 12;
  horizontalHeader()->resizeSection(column, width);
  return column;
}

BOOL CListCtrl::DeleteColumn(int column) {
  if (column < 0 || column >= model_->Columns()) return FALSE;
  ++quiet_;
  model_->RemoveColumn(column);
  --quiet_;
  return TRUE;
}

int CListCtrl::GetColumnCount() const { return model_->Columns(); }

int CListCtrl::GetColumnWidth(int column) const {
  return column >= 0 && column < model_->Columns() ? horizontalHeader()->sectionSize(column) : 0;
}

BOOL CListCtrl::SetColumnWidth(int column, int width) {
  if (column < 0 || column >= model_->Columns()) return FALSE;
  if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER) {
    int fit = 0;
    for (int row = 0; row < model_->Rows(); ++row)
      fit = std::max(fit, sizeHintForIndex(model()->index(row, column)).width());
    if (width == LVSCW_AUTOSIZE_USEHEADER)
      fit = std::max(fit, horizontalHeader()->sectionSizeHint(column));
    width = fit;
  }
  if (width < 0) return FALSE;
  horizontalHeader()->resizeSection(column, width);
  return TRUE;
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const {
  return static_cast<CHeaderCtrl*>(horizontalHeader());
}

void CListCtrl::ReplaceHeader(CHeaderCtrl* header) {
  if (!header || header == horizontalHeader()) return;
  QHeaderView* old = horizontalHeader();
  std::vector<int> widths;
  for (int c = 0; c < model_->Columns(); ++c) widths.push_back(old->sectionSize(c));
  const bool shown = !old->isHidden(), clickable = old->sectionsClickable();
  setHorizontalHeader(header);  // the old header, the list's child, is deleted
  connect(header, &QHeaderView::sectionClicked, this,
          [this](int column) { OnColumnClick(column); });
  header->setSectionsClickable(clickable);
  header->setVisible(shown);
  for (int c = 0; c < (int)widths.size(); ++c) header->resizeSection(c, widths[(size_t)c]);
}

void CListCtrl::SetColumnFixed(int column, BOOL fixed) {
  if (column >= 0 && column < model_->Columns()) model_->SetFixed(column, fixed);
}

BOOL CListCtrl::IsColumnFixed(int column) const {
  return column >= 0 && column < model_->Columns() && model_->Fixed(column);
}

// ---- Items ------------------------------------------------------------------------

bool CListCtrl::IsItem(int item) const { return item >= 0 && item < model_->Rows(); }

int CListCtrl::InsertItem(int item, const char* text, int image) {
  if (item < 0 || model_->Columns() == 0) return -1;
  item = std::min(item, model_->Rows());
  ListRow row;
  row.texts.emplace_back(text ? text : "");
  row.image = image;
  ++quiet_;
  model_->InsertRow(item, std::move(row));
  --quiet_;
  if (mark_ >= item) ++mark_;
  return item;
}

void CListCtrl::SetItemTexts(std::vector<std::vector<std::string>> rows) {
  std::vector<ListRow> content(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) content[i].texts = std::move(rows[i]);
  ++quiet_;
  model_->ResetRows(std::move(content));
  --quiet_;
  mark_ = -1;
}

BOOL CListCtrl::SetItemText(int item, int subItem, const char* text) {
  if (!IsItem(item) || subItem < 0 || subItem >= model_->Columns()) return FALSE;
  model_->SetText(item, subItem, text ? text : "");
  return TRUE;
}

std::string CListCtrl::GetItemText(int item, int subItem) const {
  if (!IsItem(item) || subItem < 0 || subItem >= model_->Columns()) return std::string();
  return model_->Text(item, subItem);
}

int CListCtrl::GetItemText(int item, int subItem, char* buffer, int size) const {
  if (!buffer || size <= 0) return 0;
  platform::GbkCopyCut(buffer, (size_t)size, GetItemText(item, subItem).c_str());
  return (int)std::strlen(buffer);
}

BOOL CListCtrl::SetItemImage(int item, int image) {
  if (!IsItem(item)) return FALSE;
  model_->SetImage(item, image);
  return TRUE;
}

int CListCtrl::GetItemImage(int item) const { return IsItem(item) ? model_->Row(item).image : -1; }

BOOL CListCtrl::DeleteItem(int item) {
  if (!IsItem(item)) return FALSE;
  ++quiet_;
  model_->RemoveRow(item);
  --quiet_;
  if (mark_ == item) mark_ = -1;
  else if (mark_ > item) --mark_;
  return TRUE;
}

BOOL CListCtrl::DeleteAllItems() {
  SetItemTexts({});
  return TRUE;
}

int CListCtrl::GetItemCount() const { return model_->Rows(); }

BOOL CListCtrl::SetItemData(int item, DWORD_PTR data) {
  if (!IsItem(item)) return FALSE;
  model_->SetData(item, data);
  return TRUE;
}

DWORD_PTR CListCtrl::GetItemData(int item) const {
  return IsItem(item) ? model_->Row(item).data : 0;
}

// ---- State ------------------------------------------------------------------------

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask) {
  if (item < -1 || item >= model_->Rows() || model_->Columns() == 0) return FALSE;
  if (mask & LVIS_SELECTED) {
    const bool select = state & LVIS_SELECTED;
    if (item < 0) {
      if (select && selectionMode() != QAbstractItemView::SingleSelection) selectAll();
      else if (!select) clearSelection();
    } else {
      QItemSelectionModel::SelectionFlags how = QItemSelectionModel::Rows;
      if (!select) how |= QItemSelectionModel::Deselect;
      else if (selectionMode() == QAbstractItemView::SingleSelection)
        how |= QItemSelectionModel::ClearAndSelect;
      else how |= QItemSelectionModel::Select;
      selectionModel()->select(model()->index(item, 0), how);
    }
  }
  if ((mask & LVIS_FOCUSED) && item >= 0) {
    if (state & LVIS_FOCUSED)
      selectionModel()->setCurrentIndex(model()->index(item, 0), QItemSelectionModel::NoUpdate);
    else if (currentIndex().row() == item)
      selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
  }
  return TRUE;
}

UINT CListCtrl::GetItemState(int item, UINT mask) const {
  if (item < 0 || item >= model_->Rows()) return 0;
  UINT state = 0;
  if (selectionModel()->isRowSelected(item, QModelIndex())) state |= LVIS_SELECTED;
  if (currentIndex().isValid() && currentIndex().row() == item) state |= LVIS_FOCUSED;
  return state & mask;
}

int CListCtrl::GetNextItem(int item, int flags) const {
  for (int row = std::max(item + 1, 0); row < model_->Rows(); ++row) {
    if ((flags & LVNI_SELECTED) && !GetItemState(row, LVIS_SELECTED)) continue;
    if ((flags & LVNI_FOCUSED) && !GetItemState(row, LVIS_FOCUSED)) continue;
    return row;
  }
  return -1;
}

UINT CListCtrl::GetSelectedCount() const { return (UINT)selectionModel()->selectedRows().size(); }

POSITION CListCtrl::GetFirstSelectedItemPosition() const {
  const int first = GetNextItem(-1, LVNI_SELECTED);
  return first < 0 ? nullptr : reinterpret_cast<POSITION>((intptr_t)first + 1);
}

int CListCtrl::GetNextSelectedItem(POSITION& position) const {
  const int item = (int)(reinterpret_cast<intptr_t>(position) - 1);
  const int next = GetNextItem(item, LVNI_SELECTED);
  position = next < 0 ? nullptr : reinterpret_cast<POSITION>((intptr_t)next + 1);
  return item;
}

int CListCtrl::SetSelectionMark(int item) {
  const int previous = mark_;
  mark_ = item >= 0 && item < model_->Rows() ? item : -1;
  return previous;
}

// ---- View -------------------------------------------------------------------------

BOOL CListCtrl::EnsureVisible(int item, BOOL) {
  if (item < 0 || item >= model_->Rows()) return FALSE;
  scrollTo(model()->index(item, 0));
  return TRUE;
}

int CListCtrl::GetTopIndex() const { return std::max(0, rowAt(0)); }

int CListCtrl::GetCountPerPage() const {
  return std::max(1, viewport()->height() / std::max(1, verticalHeader()->defaultSectionSize()));
}

BOOL CListCtrl::GetSubItemRect(int item, int subItem, int code, RECT* rect) const {
  if (!rect || item < 0 || item >= model_->Rows() || subItem < 0 || subItem >= model_->Columns())
    return FALSE;
  QRect r = visualRect(model()->index(item, subItem));
  const int icon = smallImages_ ? (int)smallImages_->GetImageSize().cx : 0;
  if (subItem == 0 && code == LVIR_BOUNDS) {
    // As Win32: sub-item 0's bounds are the whole row.
    r = r.united(visualRect(model()->index(item, model_->Columns() - 1)));
  } else if (subItem == 0 && code == LVIR_ICON) {
    r.setWidth(icon);
  } else if (subItem == 0 && code == LVIR_LABEL) {
    r.setLeft(r.left() + icon);
  }
  *rect = FromQRect(r);
  return TRUE;
}

BOOL CListCtrl::GetItemRect(int item, RECT* rect, UINT code) const {
  return GetSubItemRect(item, 0, (int)code, rect);
}

int CListCtrl::SubItemHitTest(CPoint point, int* subItem) const {
  const QModelIndex index = indexAt(QPoint(point.x, point.y));
  if (subItem) *subItem = index.isValid() ? index.column() : -1;
  return index.isValid() && viewport()->rect().contains(point.x, point.y) ? index.row() : -1;
}

int CListCtrl::HitTest(CPoint point, UINT* flags) const {
  UINT where =
      OutsideFlags{LVHT_ABOVE, LVHT_BELOW, LVHT_TOLEFT, LVHT_TORIGHT}.Of(viewport()->rect(), point);
  int sub = -1;
  const int item = where ? -1 : SubItemHitTest(point, &sub);
  if (!where) {
    RECT icon;
    if (item < 0) where = LVHT_NOWHERE;
    else if (sub == 0 && smallImages_ && GetSubItemRect(item, 0, LVIR_ICON, &icon) &&
             PtInRect(icon, point))
      where = LVHT_ONITEMICON;
    else where = LVHT_ONITEMLABEL;
  }
  if (flags) *flags = where;
  return item;
}

DWORD CListCtrl::SetExtendedStyle(DWORD exStyle) {
  const DWORD previous = exStyle_;
  exStyle_ = exStyle;
  setShowGrid(exStyle & LVS_EX_GRIDLINES);
  return previous;
}

CImageList* CListCtrl::SetImageList(CImageList* list, int which) {
  if (which != LVSIL_SMALL) return nullptr;
  CImageList* previous = smallImages_;
  smallImages_ = list;
  if (list) setIconSize(QSize(list->GetImageSize().cx, list->GetImageSize().cy));
  UpdateRowHeight();
  viewport()->update();
  return previous;
}

CImageList* CListCtrl::GetImageList(int which) const {
  return which == LVSIL_SMALL ? smallImages_ : nullptr;
}

BOOL CListCtrl::SetBkColor(COLORREF color) {
  SetPaletteColor(this, QPalette::Base, color);
  return TRUE;
}

COLORREF CListCtrl::GetBkColor() const { return PaletteColor(this, QPalette::Base); }

BOOL CListCtrl::SetTextColor(COLORREF color) {
  SetPaletteColor(this, QPalette::Text, color);
  return TRUE;
}

COLORREF CListCtrl::GetTextColor() const { return PaletteColor(this, QPalette::Text); }

void CListCtrl::SetNote(const std::string& text) {
  if (!note_) {
    if (text.empty()) return;
    // In the scroll bar's strip, which Qt keeps under the rows: no row is
    // ever behind it.
    note_ = new QLabel(this);
    note_->setAutoFillBackground(true);
    note_->setContentsMargins(4, 0, 4, 0);
    note_->setBackgroundRole(QPalette::ToolTipBase);
    note_->setForegroundRole(QPalette::ToolTipText);
    addScrollBarWidget(note_, Qt::AlignLeft);
  }
  note_->setText(platform::GbkToQString(text));
  note_->setVisible(!text.empty());
  setHorizontalScrollBarPolicy(text.empty() ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn);
}

std::string CListCtrl::GetNote() const {
  return note_ && !note_->isHidden() ? platform::QStringToGbk(note_->text()) : std::string();
}

// ---- Sorting ----------------------------------------------------------------------

BOOL CListCtrl::SortItems(PFNLVCOMPARE compare, DWORD_PTR param) {
  if (!compare) return FALSE;
  const int rows = model_->Rows();
  std::vector<LPARAM> data((size_t)rows);
  for (int r = 0; r < rows; ++r) data[(size_t)r] = (LPARAM)model_->Row(r).data;
  ReorderItems(StableOrder(rows, [&](int a, int b) {
    return compare(data[(size_t)a], data[(size_t)b], (LPARAM)param);
  }));
  return TRUE;
}

void CListCtrl::ReorderItems(const std::vector<int>& order) {
  const int rows = model_->Rows(), columns = model_->Columns();
  std::vector<bool> selected((size_t)rows);
  for (int r = 0; r < rows; ++r) selected[(size_t)r] = GetItemState(r, LVIS_SELECTED) != 0;
  std::vector<int> newRow((size_t)rows);
  for (int i = 0; i < rows; ++i) newRow[(size_t)order[(size_t)i]] = i;
  const int current = currentIndex().row();
  ++quiet_;
  model_->Reorder(order);
  // The selection, the focus and the mark travel with their items.
  QItemSelection selection;
  for (int i = 0; i < rows; ++i)
    if (selected[(size_t)order[(size_t)i]])
      selection.select(model()->index(i, 0), model()->index(i, columns - 1));
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  if (current >= 0 && current < rows)
    selectionModel()->setCurrentIndex(model()->index(newRow[(size_t)current], 0),
                                      QItemSelectionModel::NoUpdate);
  if (mark_ >= 0 && mark_ < rows) mark_ = newRow[(size_t)mark_];
  --quiet_;
  viewport()->update();
}

// ---- Hooks and input --------------------------------------------------------------

void CListCtrl::SelectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
  if (quiet_) return;
  std::set<int> off, on;
  for (const QItemSelectionRange& range : deselected)
    for (int r = range.top(); r <= range.bottom(); ++r) off.insert(r);
  for (const QItemSelectionRange& range : selected)
    for (int r = range.top(); r <= range.bottom(); ++r) on.insert(r);
  // A row may lose some cells and keep others: only whole changes count.
  bool changed = false;
  for (int r : off) {
    if (on.count(r) || GetItemState(r, LVIS_SELECTED)) continue;
    OnItemChanged(r, LVIS_SELECTED, 0);
    changed = true;
  }
  for (int r : on) {
    OnItemChanged(r, 0, LVIS_SELECTED);
    changed = true;
  }
  if (changed) platform::NotifyParent(this, LVN_ITEMCHANGED);
}

void CListCtrl::OnItemChanged(int, UINT, UINT) {}
void CListCtrl::OnClick(int, int) { platform::NotifyParent(this, NM_CLICK); }
void CListCtrl::OnDblClk(int, int) { platform::NotifyParent(this, NM_DBLCLK); }
void CListCtrl::OnColumnClick(int) { platform::NotifyParent(this, LVN_COLUMNCLICK); }
BOOL CListCtrl::OnBeginTrack(int column) { return !IsColumnFixed(column); }
BOOL CListCtrl::OnItemColors(int, COLORREF*, COLORREF*) { return FALSE; }

void CListCtrl::OnLButtonDown(UINT, CPoint point) {
  Default();
  int sub = -1;
  const int item = SubItemHitTest(point, &sub);
  OnClick(item, sub);
}

void CListCtrl::OnLButtonDblClk(UINT, CPoint point) {
  Default();
  int sub = -1;
  const int item = SubItemHitTest(point, &sub);
  OnDblClk(item, sub);
}

LRESULT CListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // The mark follows the current item only when the user moves it.
  const bool input =
      (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) || message == WM_KEYDOWN;
  if (input) ++userInput_;
  const LRESULT result = CWndImpl<QTableView>::WindowProc(message, wParam, lParam);
  if (input) --userInput_;
  return result;
}
