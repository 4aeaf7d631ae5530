// CComboBox and CListBox: GBK strings, item data, finding and selecting on
// the plain QComboBox and QListWidget of a dialog table. Both share one
// search (prefix or whole text, ASCII case aside, wrapping round) and one
// sorted insertion; selections set here never notify (the table's controls
// report only the user's changes).
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

// CB_FINDSTRING / LB_FINDSTRING: from the item after startAfter (-1 or out
// of range: from the first) to the end, then round from the first.
template <class TextAt>
int FindItem(int count, int startAfter, const char* text, bool exact, TextAt textAt) {
  if (count <= 0 || !text) return -1;
  const std::string_view wanted(text);
  const int first = (startAfter < 0 || startAfter >= count) ? 0 : startAfter + 1;
  for (int n = 0; n < count; ++n) {
    const int i = (first + n) % count;
    const std::string item = textAt(i);
    if (exact ? platform::GbkCompareNoCase(item, wanted) == 0 : platform::GbkStartsWithNoCase(item, wanted))
      return i;
  }
  return -1;
}

// Where a sorted list takes text: after the items that do not sort after it.
template <class TextAt>
int SortedPosition(int count, const char* text, TextAt textAt) {
  int low = 0, high = count;
  while (low < high) {
    const int mid = (low + high) / 2;
    if (platform::GbkCompareNoCase(textAt(mid), text) <= 0) low = mid + 1;
    else high = mid;
  }
  return low;
}

int CopyText(const std::string& text, char* buffer, int size) {
  if (!buffer || size <= 0) return (int)text.size();
  platform::GbkCopyCut(buffer, (size_t)size, text.c_str());
  return (int)std::strlen(buffer);
}

QVariant DataValue(DWORD_PTR data) { return QVariant::fromValue<qulonglong>(data); }

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

int CComboBox::AddString(const char* text) {
  QComboBox* c = GetComboBox();
  if (!c || !text) return CB_ERR;
  int index = c->count();
  if (StoredStyle(c) & CBS_SORT)
    index = SortedPosition(c->count(), text, [c](int i) { return platform::QStringToGbk(c->itemText(i)); });
  c->insertItem(index, platform::GbkToQString(text));
  return index;
}

int CComboBox::InsertString(int index, const char* text) {
  QComboBox* c = GetComboBox();
  if (!c || !text || index > c->count()) return CB_ERR;
  if (index < 0) index = c->count();
  c->insertItem(index, platform::GbkToQString(text));
  return index;
}

int CComboBox::DeleteString(int index) {
  QComboBox* c = GetComboBox();
  if (!c || index < 0 || index >= c->count()) return CB_ERR;
  c->removeItem(index);
  return c->count();
}

void CComboBox::ResetContent() {
  if (QComboBox* c = GetComboBox()) c->clear();
}

int CComboBox::FindString(int startAfter, const char* prefix) const {
  QComboBox* c = GetComboBox();
  if (!c) return CB_ERR;
  return FindItem(c->count(), startAfter, prefix, false, [c](int i) { return platform::QStringToGbk(c->itemText(i)); });
}

int CComboBox::FindStringExact(int startAfter, const char* text) const {
  QComboBox* c = GetComboBox();
  if (!c) return CB_ERR;
  return FindItem(c->count(), startAfter, text, true, [c](int i) { return platform::QStringToGbk(c->itemText(i)); });
}

int CComboBox::SelectString(int startAfter, const char* prefix) {
  const int found = FindString(startAfter, prefix);
  if (found >= 0) SetCurSel(found);
  return found;
}

int CComboBox::GetLBText(int index, char* buffer, int size) const {
  std::string text;
  if (GetLBText(index, text) == CB_ERR) return CB_ERR;
  return CopyText(text, buffer, size);
}

int CComboBox::GetLBText(int index, std::string& text) const {
  QComboBox* c = GetComboBox();
  if (!c || index < 0 || index >= c->count()) return CB_ERR;
  text = platform::QStringToGbk(c->itemText(index));
  return (int)text.size();
}

int CComboBox::GetLBTextLen(int index) const {
  std::string text;
  return GetLBText(index, text);
}

DWORD_PTR CComboBox::GetItemData(int index) const {
  QComboBox* c = GetComboBox();
  if (!c || index < 0 || index >= c->count()) return (DWORD_PTR)CB_ERR;
  return (DWORD_PTR)c->itemData(index, Qt::UserRole).toULongLong();
}

int CComboBox::SetItemData(int index, DWORD_PTR data) {
  QComboBox* c = GetComboBox();
  if (!c || index < 0 || index >= c->count()) return CB_ERR;
  c->setItemData(index, DataValue(data), Qt::UserRole);
  return 0;
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

std::string ItemText(const QListWidget* l, int i) { return platform::QStringToGbk(l->item(i)->text()); }

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

int CListBox::AddString(const char* text) {
  QListWidget* l = GetListWidget();
  if (!l || !text) return LB_ERR;
  int index = l->count();
  if (StoredStyle(l) & LBS_SORT) index = SortedPosition(l->count(), text, [l](int i) { return ItemText(l, i); });
  l->insertItem(index, platform::GbkToQString(text));
  return index;
}

int CListBox::InsertString(int index, const char* text) {
  QListWidget* l = GetListWidget();
  if (!l || !text || index > l->count()) return LB_ERR;
  if (index < 0) index = l->count();
  l->insertItem(index, platform::GbkToQString(text));
  return index;
}

int CListBox::DeleteString(int index) {
  QListWidget* l = GetListWidget();
  if (!l || index < 0 || index >= l->count()) return LB_ERR;
  delete l->takeItem(index);
  return l->count();
}

void CListBox::ResetContent() {
  if (QListWidget* l = GetListWidget()) l->clear();
}

int CListBox::FindString(int startAfter, const char* prefix) const {
  QListWidget* l = GetListWidget();
  if (!l) return LB_ERR;
  return FindItem(l->count(), startAfter, prefix, false, [l](int i) { return ItemText(l, i); });
}

int CListBox::FindStringExact(int startAfter, const char* text) const {
  QListWidget* l = GetListWidget();
  if (!l) return LB_ERR;
  return FindItem(l->count(), startAfter, text, true, [l](int i) { return ItemText(l, i); });
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
  std::string text;
  if (GetText(index, text) == LB_ERR) return LB_ERR;
  return CopyText(text, buffer, size);
}

int CListBox::GetText(int index, std::string& text) const {
  QListWidget* l = GetListWidget();
  if (!l || index < 0 || index >= l->count()) return LB_ERR;
  text = ItemText(l, index);
  return (int)text.size();
}

int CListBox::GetTextLen(int index) const {
  std::string text;
  return GetText(index, text);
}

DWORD_PTR CListBox::GetItemData(int index) const {
  QListWidget* l = GetListWidget();
  if (!l || index < 0 || index >= l->count()) return (DWORD_PTR)LB_ERR;
  return (DWORD_PTR)l->item(index)->data(Qt::UserRole).toULongLong();
}

int CListBox::SetItemData(int index, DWORD_PTR data) {
  QListWidget* l = GetListWidget();
  if (!l || index < 0 || index >= l->count()) return LB_ERR;
  l->item(index)->setData(Qt::UserRole, DataValue(data));
  return 0;
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
