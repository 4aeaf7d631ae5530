// CDialog: a QDialog built from its control table, run modally through
// the modal hook or created as a modeless dialog or a panel.
//
// Every Qt way of ending a dialog goes the Win32 way: the close box and
// reject() are WM_CLOSE (IDCANCEL), accept() is IDOK, and only EndDialog
// ends the modal loop. Enter and Esc are handled by the top-level dialog
// in PreTranslateMessage (Enter clicks the focused push button or the
// default one, Esc is IDCANCEL); inside a panel they do nothing.
#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <utility>

#include "platform/desktop.h"
#include "platform/dialog.h"
#include "platform/gbk.h"
#include "platform/input.h"
#include "wnd_internal.h"

using namespace platform::detail;

namespace platform {
namespace {
ModalHook* g_modalHook = nullptr;
}  // namespace

ModalHook* SetModalHook(ModalHook* hook) { return std::exchange(g_modalHook, hook); }

}  // namespace platform

CDialog::CDialog(const platform::DialogTemplate& tpl, CWnd* parent) : tpl_(tpl), parent_(parent) {}

CDialog::~CDialog() = default;

void CDialog::MapDialogRect(RECT* rect) const {
  platform::MapDialogUnits(platform::DialogBaseUnits(tpl_.fontFace, tpl_.fontPoints), rect);
}

void CDialog::Build(CWnd* parent, bool child) {
  QWidget* parentWidget = parent ? parent->GetWidget() : nullptr;
  if (child) {
    setParent(parentWidget, Qt::Widget);
  } else {
    // A top-level dialog belongs to its owner's window (the main window by default).
    if (!parentWidget && AfxGetMainWnd() && AfxGetMainWnd() != this)
      parentWidget = AfxGetMainWnd()->GetWidget();
    Qt::WindowFlags flags = Qt::Dialog;
    if (!HasCaption(tpl_.style)) flags |= Qt::FramelessWindowHint;
    setParent(parentWidget ? parentWidget->window() : nullptr, flags);
  }
  SetStoredStyle(this, tpl_.style);
  if (!font_) {
    font_ = std::make_unique<CFont>();
    font_->CreatePointFont(tpl_.fontPoints * 10, tpl_.fontFace ? tpl_.fontFace : GBK("宋体"));
  }
  SetFont(font_.get());
  CRect size(0, 0, tpl_.cx, tpl_.cy);
  if (tpl_.dialogUnits) MapDialogRect(&size);
  resize(size.Width(), size.Height());
  if (!child && tpl_.caption) SetWindowText(tpl_.caption);
  AttachCreatedHandle();
  defId_ = IDOK;
  for (const platform::DialogItem& item : tpl_.items) {
    CRect rect(item.x, item.y, item.x + item.cx, item.y + item.cy);
    if (tpl_.dialogUnits) MapDialogRect(&rect);
    platform::CreateControl(this, item, rect);
    if (item.kind == std::string_view(platform::kButton) &&
        (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
      defId_ = (UINT)item.id;
  }
  SetDefID(defId_);
}

INT_PTR CDialog::DoModal() {
  if (IsCreated()) return -1;
  Build(parent_, false);
  modal_ = true;
  ended_ = false;
  ++modalCount_;
  CenterWindow();
  WindowProc(WM_INITDIALOG, 0, 0);
  int result = endResult_;
  if (!ended_) {
    if (platform::g_modalHook) {
      // Runs once the loop below is running, for this run only.
      const int run = modalCount_;
      QMetaObject::invokeMethod(
          this,
          [this, run] {
            if (inLoop_ && modalCount_ == run && platform::g_modalHook)
              platform::g_modalHook->OnModalLoop(this);
          },
          Qt::QueuedConnection);
    }
    inLoop_ = true;
    // Win32's modal loop runs until EndDialog whether the dialog is shown or
    // hidden meanwhile (a dialog may hide itself and end a second later);
    // QDialog::exec would leave at the first hide.
    setAttribute(Qt::WA_ShowModal, true);
    show();
    QEventLoop loop;
    loop_ = &loop;
    if (!ended_) loop.exec(QEventLoop::DialogExec);
    loop_ = nullptr;
    setAttribute(Qt::WA_ShowModal, false);
    result = ended_ ? endResult_ : IDCANCEL;
    inLoop_ = false;
  }
  modal_ = false;
  DestroyWindow();
  return result;
}

BOOL CDialog::Create(CWnd* parent) {
  if (IsCreated()) return FALSE;
  const bool child = (tpl_.style & WS_CHILD) != 0;
  Build(parent, child);
  if (!child) CenterWindow();
  WindowProc(WM_INITDIALOG, 0, 0);
  if (tpl_.style & WS_VISIBLE) ShowWindow(SW_SHOW);
  return TRUE;
}

BOOL CDialog::Create(CWnd* parent, const RECT& rect, UINT id, DWORD) {
  if (!Create(parent)) return FALSE;
  MoveWindow(&rect);
  SetDlgCtrlID((int)id);
  return TRUE;
}

void CDialog::EndDialog(int result) {
  endResult_ = result;
  ended_ = true;
  if (inLoop_) {
    QDialog::done(result);
    if (loop_) loop_->exit(result);
  } else if (!modal_) {
    ShowWindow(SW_HIDE);
  }
}

BOOL CDialog::DestroyWindow() {
  if (inLoop_) {
    // The loop ends first; DoModal destroys the dialog after it.
    EndDialog(IDCANCEL);
    return TRUE;
  }
  return CWnd::DestroyWindow();
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return OnInitDialog();
  return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  DoDataExchange(&dx);
  return !dx.Failed();
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM) {
  if (HIWORD(wParam) != BN_CLICKED) return FALSE;
  switch (LOWORD(wParam)) {
    case IDOK: OnOK(); return TRUE;
    case IDCANCEL: OnCancel(); return TRUE;
    default: return FALSE;
  }
}

void CDialog::OnClose() {
  QWidget* cancel = GetDlgItemWidget(IDCANCEL);
  if (cancel && !cancel->isEnabled()) return;
  SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

BOOL CDialog::OnEraseBkgnd(CDC* dc) {
  HBRUSH brush = dc ? (HBRUSH)SendMessage(WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                                          reinterpret_cast<LPARAM>(GetSafeHwnd()))
                    : nullptr;
  if (brush && !brush->IsHollow()) {
    CRect client;
    GetClientRect(&client);
    dc->FillRect(&client, brush);
  }
  return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
  if (!isWindow() || msg->message != WM_KEYDOWN) return FALSE;
  if (msg->wParam == VK_ESCAPE) {
    QWidget* cancel = GetDlgItemWidget(IDCANCEL);
    if (!cancel || cancel->isEnabled())
      SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    else MessageBeep(0);
    return TRUE;
  }
  if (msg->wParam != VK_RETURN) return FALSE;
  QWidget* focus = QApplication::focusWidget();
  // A multi-line edit that wants Enter types it.
  if ((qobject_cast<QPlainTextEdit*>(focus) || qobject_cast<QTextEdit*>(focus)) &&
      (StoredStyle(focus) & ES_WANTRETURN))
    return FALSE;
  // The focused push button, else the default one.
  UINT id = LOWORD(GetDefID());
  if (focus && focus->parentWidget() == this && qobject_cast<QPushButton*>(focus)) {
    bool ok = false;
    const int focusId = focus->objectName().toInt(&ok);
    if (ok) id = (UINT)focusId;
  }
  QWidget* button = GetDlgItemWidget((int)id);
  if (button && !button->isEnabled()) {
    MessageBeep(0);
    return TRUE;
  }
  CWnd* buttonWnd = button ? FromWidget(button) : nullptr;
  SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
              reinterpret_cast<LPARAM>(buttonWnd ? buttonWnd->GetSafeHwnd() : nullptr));
  return TRUE;
}

void CDialog::SetDefID(UINT id) {
  defId_ = id;
  for (QObject* c : children()) {
    if (auto* button = qobject_cast<QPushButton*>(c))
      button->setDefault(button->objectName() == QString::number(id));
  }
}

DWORD CDialog::GetDefID() const { return (DWORD)MAKELONG(defId_, DC_HASDEFID); }

void CDialog::GotoDlgCtrl(CWnd* control) {
  if (!control || !control->GetWidget()) return;
  control->SetFocus();
  if (auto* edit = qobject_cast<QLineEdit*>(control->GetWidget())) edit->selectAll();
}

void CDialog::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      event->accept();  // a top-level dialog took them already; a panel does nothing
      return;
    default: QDialog::keyPressEvent(event);
  }
}

void CDialog::accept() { SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }
void CDialog::reject() { SendMessage(WM_CLOSE); }
