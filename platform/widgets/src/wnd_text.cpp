// The one place where a widget's text, check state and placement are read
// and written for the layer: GBK outside, QString inside; multi-line text
// speaks CR LF outside; unchecking a radio button works even in an
// exclusive group (a group may be all unchecked, as Win32's); a combo box
// keeps its edit height and turns the rest into its drop-down height.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <algorithm>

#include "edit_input.h"
#include "platform/gbk.h"
#include "wnd_internal.h"

namespace platform {

std::string LfToCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

std::string CrLfToLf(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

std::string GetWidgetText(const QWidget* widget) {
  if (!widget) return {};
  if (auto* label = qobject_cast<const QLabel*>(widget)) return QStringToGbk(label->text());
  if (auto* button = qobject_cast<const QAbstractButton*>(widget))
    return QStringToGbk(button->text());
  if (auto* edit = qobject_cast<const QLineEdit*>(widget)) return QStringToGbk(edit->text());
  if (auto* edit = qobject_cast<const QPlainTextEdit*>(widget))
    return LfToCrLf(QStringToGbk(edit->toPlainText()));
  if (auto* edit = qobject_cast<const QTextEdit*>(widget))
    return LfToCrLf(QStringToGbk(edit->toPlainText()));
  if (auto* combo = qobject_cast<const QComboBox*>(widget))
    return QStringToGbk(combo->currentText());
  if (auto* group = qobject_cast<const QGroupBox*>(widget)) return QStringToGbk(group->title());
  if (auto* date = qobject_cast<const QDateTimeEdit*>(widget)) return QStringToGbk(date->text());
  return QStringToGbk(widget->windowTitle());
}

void SetWidgetText(QWidget* widget, std::string_view gbk) {
  if (!widget) return;
  if (widget->isWindow()) {
    widget->setWindowTitle(GbkToQString(gbk));
    return;
  }
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(GbkToQString(gbk));
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(GbkToQString(gbk));
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    detail::SetLineEditTextByCode(edit, GbkToQString(gbk));
  } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
    edit->setPlainText(GbkToQString(CrLfToLf(gbk)));
  } else if (auto* edit = qobject_cast<QTextEdit*>(widget)) {
    edit->setPlainText(GbkToQString(CrLfToLf(gbk)));
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    // A drop-down list has no text of its own to set (Win32 refuses it).
    if (combo->isEditable() && combo->lineEdit())
      detail::SetLineEditTextByCode(combo->lineEdit(), GbkToQString(gbk));
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    group->setTitle(GbkToQString(gbk));
  } else {
    widget->setWindowTitle(GbkToQString(gbk));
  }
}

namespace detail {

int DroppedHeight(const QComboBox* combo) {
  const QVariant height = combo ? combo->property(kDroppedHeightProperty) : QVariant();
  return height.isValid() ? height.toInt() : (combo ? combo->height() : 0);
}

void SetButtonCheck(QAbstractButton* button, UINT state) {
  if (!button) return;
  if (auto* box = qobject_cast<QCheckBox*>(button); box && state == BST_INDETERMINATE) {
    box->setTristate(true);
    box->setCheckState(Qt::PartiallyChecked);
    return;
  }
  const bool checked = state == BST_CHECKED;
  QButtonGroup* group = button->group();
  const bool exclusive = group && group->exclusive();
  const bool autoExclusive = button->autoExclusive();
  if (!checked) {
    if (exclusive) group->setExclusive(false);
    if (autoExclusive) button->setAutoExclusive(false);
  }
  button->setChecked(checked);
  if (exclusive) group->setExclusive(true);
  if (autoExclusive) button->setAutoExclusive(true);
}

bool ParseInteger(std::string_view text, bool isSigned, long long* value) {
  size_t i = 0, n = text.size();
  while (i < n && text[i] == ' ') ++i;
  while (n > i && text[n - 1] == ' ') --n;
  const bool negative = i < n && text[i] == '-' && isSigned;
  if (negative) ++i;
  if (i == n) return false;
  long long v = 0;
  for (; i < n; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + (text[i] - '0');
    if (v > 0xFFFFFFFFLL) return false;
  }
  if (negative) v = -v;
  if (isSigned ? (v < INT32_MIN || v > INT32_MAX) : v > (long long)UINT32_MAX) return false;
  *value = v;
  return true;
}

UINT GetButtonCheck(const QAbstractButton* button) {
  if (auto* box = qobject_cast<const QCheckBox*>(button);
      box && box->checkState() == Qt::PartiallyChecked)
    return BST_INDETERMINATE;
  return button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void SetControlGeometry(QWidget* widget, const RECT& rect) {
  auto* combo = qobject_cast<QComboBox*>(widget);
  if (!combo) {
    widget->setGeometry(ToQRect(rect));
    return;
  }
  // Win32 gives a combo box its dropped height; the edit keeps its own.
  combo->setProperty(kDroppedHeightProperty, RectHeight(rect));
  const int editHeight = combo->sizeHint().height();
  const int rest = RectHeight(rect) - editHeight;
  const int rowHeight = combo->fontMetrics().height() + 2;
  combo->setMaxVisibleItems(std::max(1, rest / rowHeight));
  combo->setGeometry(rect.left, rect.top, RectWidth(rect),
                     std::min(editHeight, std::max(1, RectHeight(rect))));
}

}  // namespace detail
}  // namespace platform
