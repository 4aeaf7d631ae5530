// The trading main dialog InitDialog makes: CMainDlg in the host pane,
// working with the library's session store, the pane's link and the
// custody addresses of "zeb.ini"; its end ends the connection.
//
// The dialog is a child widget of the host's pane: should the host delete
// the pane before DestoryDialog, Qt deletes the dialog with it, and the
// handle then only forgets it instead of deleting it a second time.
#include <QPointer>
#include <QWidget>

#include "trade/core/trade_session.h"
#include "trade/ui/app/main_dlg_factory.h"
#include "trade/ui/app/trade_app.h"
#include "trade/ui/rules/host_pane.h"
#include "trade/ui/windows/main_dlg.h"

namespace {

class CMainDlgHandle : public ITradeMainDialog {
 public:
  explicit CMainDlgHandle(HWND hostPane) : host_(hostPane) {}
  ~CMainDlgHandle() override {
    if (widget_) delete dialog_;
  }

  bool Make() {
    STradeWindowEnv env;
    env.session = CTradeSession::GetInstance();
    env.host = &host_;
    env.clock = &SystemTradeClock();
    env.custodyBase = [](int page) { return TheTradeApp().CustodyUrl(page); };
    env.unlink = [] { TheTradeApp().UnLink(); };
    dialog_ = new CMainDlg(env);
    widget_ = dialog_->GetWidget();
    return dialog_->CreateIn(host_.GetPane());
  }

  HWND GetSafeHwnd() const override { return widget_ ? dialog_->GetSafeHwnd() : nullptr; }
  void MoveTo(const RECT& rect) override {
    if (!widget_) return;
    dialog_->MoveWindow(&rect, TRUE);
    dialog_->ShowWindow(SW_SHOW);
  }
  void Hide() override {
    if (widget_) dialog_->ShowWindow(SW_HIDE);
  }
  void Destroy() override {
    if (widget_) dialog_->DestroyWindow();
  }

 private:
  CHostPaneLink host_;
  CMainDlg* dialog_ = nullptr;
  QPointer<QWidget> widget_;
};

}  // namespace

std::unique_ptr<ITradeMainDialog> CreateTradeMainDialog(HWND hostPane) {
  auto handle = std::make_unique<CMainDlgHandle>(hostPane);
  if (!handle->Make()) return nullptr;
  return handle;
}
