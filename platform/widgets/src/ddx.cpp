// Dialog data exchange. A value that does not validate shows our own
// message through the message-box sink, puts the focus back on its
// control and stops the exchange (later calls do nothing), so UpdateData
// returns FALSE without an exception crossing the window's code.
#include <QAbstractButton>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/dialog.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "wnd_internal.h"

using namespace platform::detail;

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

QWidget* CDataExchange::PrepareCtrl(int id) {
  if (failed_ || !m_pDlgWnd) return nullptr;
  m_idLastControl = id;
  return m_pDlgWnd->GetDlgItemWidget(id);
}

void CDataExchange::Fail(const char* message) {
  if (failed_) return;
  failed_ = true;
  if (message) AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
  if (QWidget* control = m_pDlgWnd ? m_pDlgWnd->GetDlgItemWidget(m_idLastControl) : nullptr) {
    control->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->selectAll();
  }
}

namespace {

// Reads or writes a control's text; the exchange's direction decides.
template <class Read, class Write>
void ExchangeText(CDataExchange* dx, int id, Read read, Write write) {
  QWidget* control = dx->PrepareCtrl(id);
  if (!control) return;
  if (dx->m_bSaveAndValidate) read(platform::GetWidgetText(control));
  else platform::SetWidgetText(control, write());
}

template <class T>
void ExchangeInteger(CDataExchange* dx, int id, T& value, bool isSigned, const char* message) {
  ExchangeText(
      dx, id,
      [&](const std::string& text) {
        long long v = 0;
        if (platform::detail::ParseInteger(text, isSigned, &v)) value = (T)v;
        else dx->Fail(message);
      },
      [&] { return std::to_string(value); });
}

}  // namespace

void DDX_Text(CDataExchange* dx, int id, std::string& value, int maxBytes) {
  auto cut = [maxBytes](const std::string& s) {
    return maxBytes < 0 ? s : s.substr(0, platform::GbkCutLength(s.c_str(), (size_t)maxBytes));
  };
  ExchangeText(
      dx, id, [&](const std::string& text) { value = cut(text); }, [&] { return cut(value); });
}

void DDX_Text(CDataExchange* dx, int id, char* buffer, int size) {
  if (!buffer || size <= 0) return;
  ExchangeText(
      dx, id,
      [&](const std::string& text) { platform::GbkCopyCut(buffer, (size_t)size, text.c_str()); },
      [&] { return std::string(buffer, platform::GbkCutLength(buffer, (size_t)size - 1)); });
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
  ExchangeInteger(dx, id, value, true, GBK("请输入一个整数。"));
}

void DDX_Text(CDataExchange* dx, int id, UINT& value) {
  ExchangeInteger(dx, id, value, false, GBK("请输入一个非负整数。"));
}

void DDX_Text(CDataExchange* dx, int id, double& value) {
  ExchangeText(
      dx, id,
      [&](const std::string& text) {
        const size_t first = text.find_first_not_of(' ');
        const size_t last = text.find_last_not_of(' ');
        const std::string trimmed =
            first == std::string::npos ? "" : text.substr(first, last - first + 1);
        char* end = nullptr;
        errno = 0;
        const double v = trimmed.empty() ? 0 : std::strtod(trimmed.c_str(), &end);
        if (trimmed.empty() || *end || errno == ERANGE || !std::isfinite(v))
          dx->Fail(GBK("请输入一个数字。"));
        else value = v;
      },
      [&] {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.15g", value);
        return std::string(buf);
      });
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
  auto* button = qobject_cast<QAbstractButton*>(dx->PrepareCtrl(id));
  if (!button) return;
  if (dx->m_bSaveAndValidate) value = (int)GetButtonCheck(button);
  else SetButtonCheck(button, (UINT)value);
}

void DDX_Radio(CDataExchange* dx, int firstId, int& value) {
  auto* first = qobject_cast<QRadioButton*>(dx->PrepareCtrl(firstId));
  if (!first) return;
  // The group: the first button and the radio buttons after it, up to the
  // next one that starts a group.
  std::vector<QRadioButton*> group;
  const QObjectList& siblings = first->parentWidget()->children();
  for (int i = (int)siblings.indexOf(first); i < (int)siblings.size(); ++i) {
    if (!siblings[i]->isWidgetType()) continue;
    auto* radio = qobject_cast<QRadioButton*>(siblings[i]);
    if (!radio || (radio != first && (StoredStyle(radio) & WS_GROUP))) break;
    group.push_back(radio);
  }
  if (dx->m_bSaveAndValidate) {
    value = -1;
    for (size_t i = 0; i < group.size(); ++i)
      if (group[i]->isChecked()) value = (int)i;
  } else {
    for (size_t i = 0; i < group.size(); ++i)
      SetButtonCheck(group[i], (int)i == value ? BST_CHECKED : BST_UNCHECKED);
  }
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index) {
  auto* combo = qobject_cast<QComboBox*>(dx->PrepareCtrl(id));
  if (!combo) return;
  if (dx->m_bSaveAndValidate) index = combo->currentIndex();
  else combo->setCurrentIndex(index);
}

void DDX_LBIndex(CDataExchange* dx, int id, int& index) {
  auto* list = qobject_cast<QListWidget*>(dx->PrepareCtrl(id));
  if (!list) return;
  if (dx->m_bSaveAndValidate) index = list->currentRow();
  else list->setCurrentRow(index);
}

void DDX_DateTime(CDataExchange* dx, int id, int64_t& seconds) {
  auto* edit = qobject_cast<QDateTimeEdit*>(dx->PrepareCtrl(id));
  if (!edit) return;
  if (dx->m_bSaveAndValidate) seconds = edit->dateTime().toSecsSinceEpoch();
  else edit->setDateTime(QDateTime::fromSecsSinceEpoch(seconds));
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue) {
  if (!dx->m_bSaveAndValidate || dx->Failed() || (value >= minValue && value <= maxValue)) return;
  char message[128];
  std::snprintf(message, sizeof message, GBK("请输入一个介于 %d 和 %d 之间的整数。"), minValue,
                maxValue);
  dx->Fail(message);
}
