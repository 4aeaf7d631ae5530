// CComboBox and CListBox: GBK strings, item data, finding and selecting on
// the plain QComboBox and QListWidget of a dialog table. The string-list
// operations are written once over a small view of either widget: one
// search (prefix or whole text, ASCII case aside, wrapping round), one
// sorted insertion. Selections set here never notify (the table's
// controls report only the user's changes).
#include <QComboBox>
#include <QListWidget>
#include <algorithm>
#include <cstring>

#include "edit_input.h"
#include "platform/controls.h"
#include "platform/gbk.h"
#include "wnd_internal.h"

using namespace platform::detail;

namespace {

constexpr int kErr = -1;  // CB_ERR and LB_ERR alike
static_assert(CB_ERR == kErr && LB_ERR == kErr);

QVariant DataValue(DWORD_PTR data) { return QVariant::fromValue<qulonglong>(data); }

// The items of a combo box or a list box.
struct ComboItems {
  QComboBox* w;
  int Count() const { return w->count(); }
  std::string Text(int i) const { return platform::QStringToGbk(w->itemText(i)); }
  void Insert(int i, const char* text) const { w->insertItem(i, platform::GbkToQString(text)); }
  void Remove(int i) const { w->removeItem(i); }
  QVariant Data(int i) const { return w->itemData(i, Qt::UserRole); }
  void SetData(int i, DWORD_PTR data) const { w->setItemData(i, DataValue(data), Qt::UserRole); }
  bool Sorted() const { return StoredStyle(w) & CBS_SORT; }
};

struct ListItems {
  QListWidget* w;
  int Count() const { return w->count(); }
  std::string Text(int i) const { return platform::QStringToGbk(w->item(i)->text()); }
  void Insert(int i, const char* text) const { w->insertItem(i, platform::GbkToQString(text)); }
  void Remove(int i) const { delete w->takeItem(i); }
  QVariant Data(int i) const { return w->item(i)->data(Qt::UserRole); }
  void SetData(int i, DWORD_PTR data) const { w->item(i)->setData(Qt::UserRole, DataValue(data)); }
  bool Sorted() const { return StoredStyle(w) & LBS_SORT; }
};

template <class Items>
bool Valid(const Items& items, int i) {
  return items.w && i >= 0 && i < items.Count();
}

// CB_FINDSTRING / LB_FINDSTRING: from the item after startAfter (-1 or out
// of range: from the first) to the end, then round from the first.
template <class Items>
int Find(const Items& items, int startAfter, const char* text, bool exact) {
  const int count = items.w ? items.Count() : 0;
  if (count <= 0 || !text) return kErr;
  const std::string_view wanted(text);
  const int first = (startAfter < 0 || startAfter >= count) ? 0 : startAfter + 1;
  for (int n = 0; n < count; ++n) {
    const int i = (first + n) % count;
    const std::string item = items.Text(i);
    if (exact ? platform::GbkCompareNoCase(item, wanted) == 0
              : platform::GbkStartsWithNoCase(item, wanted))
      return i;
  }
  return kErr;
}

// Appends, or in a sorted list inserts after the items that do not sort
// after the text.
template <class Items>
int Add(const Items& items, const char* text) {
  if (!items.w || !text) return kErr;
  int low = 0, high = items.Count();
  if (!items.Sorted()) low = high;
  while (low < high) {
    const int mid = (low + high) / 2;
    if (platform::GbkCompareNoCase(items.Text(mid), text) <= 0) low = mid + 1;
    else high = mid;
  }
  items.Insert(low, text);
  return low;
}

template <class Items>
int Insert(const Items& items, int index, const char* text) {
  if (!items.w || !text || index > items.Count()) return kErr;
  if (index < 0) index = items.Count();
  items.Insert(index, text);
  return index;
}

template <class Items>
int Delete(const Items& items, int index) {
  if (!Valid(items, index)) return kErr;
  items.Remove(index);
  return items.Count();
}

template <class Items>
int GetText(const Items& items, int index, std::string& text) {
  if (!Valid(items, index)) return kErr;
  text = items.Text(index);
  return (int)text.size();
}

template <class Items>
int GetText(const Items& items, int index, char* buffer, int size) {
  std::string text;
  if (GetText(items, index, text) == kErr) return kErr;
  if (!buffer || size <= 0) return (int)text.size();
  platform::GbkCopyCut(buffer, (size_t)size, text.c_str());
  return (int)std::strlen(buffer);
}

template <class Items>
DWORD_PTR GetData(const Items& items, int index) {
  return Valid(items, index) ? (DWORD_PTR)items.Data(index).toULongLong() : (DWORD_PTR)kErr;
}

template <class Items>
int SetData(const Items& items, int index, DWORD_PTR data) {
  if (!Valid(items, index)) return kErr;
  items.SetData(index, data);
  return 0;
}

}  // namespace

// ---- CComboBox ----------------------------------------------------------------

QComboBox* CComboBox::GetComboBox() const { return qobject_cast<QComboBox*>(GetWidget()); }

int CComboBox::GetCount() const { return GetComboBox() ? GetComboBox()->count() : 0; }

int CComboBox::GetCurSel() const {
  QComboBox* c = GetComboBox();
  return c && c->currentIndex() >= 0 ? c->currentIndex() : CB_ERR;
}

int CComboBox::SetCurSel(int index) {
  QComboBox* c = GetComboBox();
  if (!c) return CB_ERR;
  const bool valid = index >= 0 && index < c->count();
  c->setCurrentIndex(valid ? index : -1);  // activated (the user's signal) is not emitted
  return valid ? index : CB_ERR;
}

int CComboBox::AddString(const char* text) { return Add(ComboItems{GetComboBox()}, text); }
int CComboBox::InsertString(int index, const char* text) {
  return Insert(ComboItems{GetComboBox()}, index, text);
}
int CComboBox::DeleteString(int index) { return Delete(ComboItems{GetComboBox()}, index); }

void CComboBox::ResetContent() {
  if (QComboBox* c = GetComboBox()) c->clear();
}

int CComboBox::FindString(int startAfter, const char* prefix) const {
  return Find(ComboItems{GetComboBox()}, startAfter, prefix, false);
}
int CComboBox::FindStringExact(int startAfter, const char* text) const {
  return Find(ComboItems{GetComboBox()}, startAfter, text, true);
}

int CComboBox::SelectString(int startAfter, const char* prefix) {
  const int found = FindString(startAfter, prefix);
  if (found >= 0) SetCurSel(found);
  return found;
}

int CComboBox::GetLBText(int index, char* buffer, int size) const {
  return GetText(ComboItems{GetComboBox()}, index, buffer, size);
}
int CComboBox::GetLBText(int index, std::string& text) const {
  return GetText(ComboItems{GetComboBox()}, index, text);
}

int CComboBox::GetLBTextLen(int index) const {
  std::string text;
  return GetLBText(index, text);
}

DWORD_PTR CComboBox::GetItemData(int index) const {
  return GetData(ComboItems{GetComboBox()}, index);
}
int CComboBox::SetItemData(int index, DWORD_PTR data) {
  return SetData(ComboItems{GetComboBox()}, index, data);
}

BOOL CComboBox::LimitText(int maxBytes) {
  QComboBox* c = GetComboBox();
  if (!c || !c->isEditable() || !c->lineEdit()) return FALSE;
  ApplyLineEditInput(c->lineEdit(), 0, maxBytes);
  return TRUE;
}

void CComboBox::GetDroppedControlRect(RECT* rect) const {
  QComboBox* c = GetComboBox();
  if (!rect || !c) return;
  GetWindowRect(rect);
  rect->bottom = rect->top + DroppedHeight(c);
}

BOOL CComboBox::GetDroppedState() const {
  QComboBox* c = GetComboBox();
  return c && c->view() && c->view()->isVisible();
}

void CComboBox::ShowDropDown(BOOL show) {
  QComboBox* c = GetComboBox();
  if (!c) return;
  if (show) c->showPopup();
  else c->hidePopup();
}

// ---- CListBox -------------------------------------------------------------------

namespace {

bool MultipleSelection(const QListWidget* l) {
  return l->selectionMode() == QAbstractItemView::MultiSelection ||
         l->selectionMode() == QAbstractItemView::ExtendedSelection;
}

}  // namespace

QListWidget* CListBox::GetListWidget() const { return qobject_cast<QListWidget*>(GetWidget()); }

int CListBox::GetCount() const { return GetListWidget() ? GetListWidget()->count() : 0; }

int CListBox::GetCurSel() const {
  QListWidget* l = GetListWidget();
  if (!l) return LB_ERR;
  if (MultipleSelection(l)) return l->currentRow() >= 0 ? l->currentRow() : LB_ERR;
  const QList<QListWidgetItem*> selected = l->selectedItems();
  return selected.isEmpty() ? LB_ERR : l->row(selected.front());
}

int CListBox::SetCurSel(int index) {
  QListWidget* l = GetListWidget();
  if (!l || MultipleSelection(l)) return LB_ERR;
  if (index < 0 || index >= l->count()) {
    l->clearSelection();
    l->setCurrentRow(-1);
    return LB_ERR;  // also for -1, as Win32
  }
  l->setCurrentRow(index);
  return index;
}

int CListBox::GetSel(int index) const {
  QListWidget* l = GetListWidget();
  if (!l || index < 0 || index >= l->count()) return LB_ERR;
  return l->item(index)->isSelected() ? 1 : 0;
}

int CListBox::SetSel(int index, BOOL select) {
  QListWidget* l = GetListWidget();
  if (!l || !MultipleSelection(l) || index < -1 || index >= l->count()) return LB_ERR;
  for (int i = index < 0 ? 0 : index; i < (index < 0 ? l->count() : index + 1); ++i)
    l->item(i)->setSelected(select);
  return 0;
}

int CListBox::GetSelCount() const {
  QListWidget* l = GetListWidget();
  if (!l || !MultipleSelection(l)) return LB_ERR;
  return (int)l->selectedItems().size();
}

int CListBox::GetSelItems(int max, int* indexes) const {
  QListWidget* l = GetListWidget();
  if (!l || !MultipleSelection(l) || max < 0 || (max > 0 && !indexes)) return LB_ERR;
  int n = 0;
  for (int i = 0; i < l->count() && n < max; ++i)
    if (l->item(i)->isSelected()) indexes[n++] = i;
  return n;
}

int CListBox::AddString(const char* text) { return Add(ListItems{GetListWidget()}, text); }
int CListBox::InsertString(int index, const char* text) {
  return Insert(ListItems{GetListWidget()}, index, text);
}
int CListBox::DeleteString(int index) { return Delete(ListItems{GetListWidget()}, index); }

void CListBox::ResetContent() {
  if (QListWidget* l = GetListWidget()) l->clear();
}

int CListBox::FindString(int startAfter, const char* prefix) const {
  return Find(ListItems{GetListWidget()}, startAfter, prefix, false);
}
int CListBox::FindStringExact(int startAfter, const char* text) const {
  return Find(ListItems{GetListWidget()}, startAfter, text, true);
}

int CListBox::SelectString(int startAfter, const char* prefix) {
  QListWidget* l = GetListWidget();
  const int found = FindString(startAfter, prefix);
  if (!l || found < 0) return LB_ERR;
  if (MultipleSelection(l)) l->item(found)->setSelected(true);
  else SetCurSel(found);
  return found;
}

int CListBox::GetText(int index, char* buffer, int size) const {
  return ::GetText(ListItems{GetListWidget()}, index, buffer, size);
}
int CListBox::GetText(int index, std::string& text) const {
  return ::GetText(ListItems{GetListWidget()}, index, text);
}

int CListBox::GetTextLen(int index) const {
  std::string text;
  return GetText(index, text);
}

DWORD_PTR CListBox::GetItemData(int index) const {
  return GetData(ListItems{GetListWidget()}, index);
}
int CListBox::SetItemData(int index, DWORD_PTR data) {
  return SetData(ListItems{GetListWidget()}, index, data);
}

int CListBox::GetTopIndex() const {
  QListWidget* l = GetListWidget();
  if (!l || l->count() == 0) return 0;
  QListWidgetItem* top = l->itemAt(QPoint(1, 1));
  return top ? l->row(top) : 0;
}

int CListBox::SetTopIndex(int index) {
  QListWidget* l = GetListWidget();
  if (!l || index < 0 || index >= l->count()) return LB_ERR;
  l->scrollToItem(l->item(index), QAbstractItemView::PositionAtTop);
  return 0;
}

int CListBox::GetItemRect(int index, RECT* rect) const {
  QListWidget* l = GetListWidget();
  if (!l || !rect || index < 0 || index >= l->count()) return LB_ERR;
  *rect = FromQRect(l->visualItemRect(l->item(index)));
  return 0;
}

UINT CListBox::ItemFromPoint(CPoint point, BOOL& outside) const {
  QListWidget* l = GetListWidget();
  outside = TRUE;
  if (!l || l->count() == 0) return 0;
  if (QListWidgetItem* item = l->itemAt(QPoint(point.x, point.y))) {
    outside = FALSE;
    return (UINT)l->row(item);
  }
  // The nearest item: above the first, the first; else the last.
  const QRect first = l->visualItemRect(l->item(0));
  return point.y < first.top() ? 0u : (UINT)(l->count() - 1);
}
