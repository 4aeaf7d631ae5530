// How the controls meet the window layer: a plain control of a table is
// reached as its accessor class (CComboBox, CListBox, CEdit), and the
// window classes get their table kinds (list control, tree, spin button,
// owner-drawn button) through RegisterControlKind.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include "platform/controls.h"
#include "wnd_internal.h"

using namespace platform::detail;

namespace platform::detail {

CWnd* AttachWindow(QWidget* widget) {
  if (qobject_cast<QComboBox*>(widget)) return new AttachedWindow<CComboBox>(widget);
  if (qobject_cast<QListWidget*>(widget)) return new AttachedWindow<CListBox>(widget);
  if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget))
    return new AttachedWindow<CEdit>(widget);
  return new AttachedWindow<CWnd>(widget);
}

}  // namespace platform::detail

namespace {

// A window class for a table: parented here, created (OnCreate with its
// place) by CreateControl.
template <class T>
QWidget* MakeWindowClass(QWidget* parent, const platform::DialogItem& item) {
  auto* control = new T();
  control->setParent(parent);
  if (item.text) platform::SetWidgetText(control, item.text);
  return control;
}

platform::ControlFactory g_plainButton = nullptr;

QWidget* MakeButton(QWidget* parent, const platform::DialogItem& item) {
  if ((item.style & BS_TYPEMASK) == BS_OWNERDRAW) return MakeWindowClass<CButton>(parent, item);
  return g_plainButton ? g_plainButton(parent, item) : nullptr;
}

[[maybe_unused]] const bool g_kindsRegistered = [] {
  platform::RegisterControlKind(platform::kListCtrl, MakeWindowClass<CListCtrl>);
  platform::RegisterControlKind(platform::kTreeCtrl, MakeWindowClass<CTreeCtrl>);
  platform::RegisterControlKind(platform::kSpin, MakeWindowClass<CSpinButtonCtrl>);
  g_plainButton = platform::RegisterControlKind(platform::kButton, MakeButton);
  return true;
}();

}  // namespace

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  if (!dx || !dx->m_pDlgWnd || control.IsCreated()) return;
  control.SubclassDlgItem((UINT)id, dx->m_pDlgWnd);
}
