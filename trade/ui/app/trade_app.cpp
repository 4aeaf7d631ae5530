#include "trade/ui/app/trade_app.h"

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/paths.h"
#include "platform/window.h"
#include "sharecode/mythread.h"
#include "trade/core/comm_thread.h"
#include "trade/core/sha1_digest.h"
#include "trade/core/sock_library.h"
#include "trade/core/trade_session.h"
#include "trade/ui/rules/trade_ui_messages.h"

CTradeApp& TheTradeApp() {
  static CTradeApp app;
  return app;
}

CTradeApp::CTradeApp() = default;

CTradeApp::~CTradeApp() {
  if (IsStarted()) ExitInstance();
  // A dialog the host never destroyed belongs to windows that are gone by
  // the time the library is unloaded: it is not touched any more.
  (void)dialog_.release();
}

std::string CTradeApp::ProgramFolder() const {
  std::string dir = platform::GetProgramDir();
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

std::string CTradeApp::CustodyUrl(int page) const {
  return page >= 0 && page < kCustodyPageCount ? settings_.custodyUrls[page] : std::string();
}

bool CTradeApp::EnsureStarted() {
  if (started_ < 0) started_ = InitInstance() ? 1 : 0;
  return started_ == 1;
}

bool CTradeApp::StartAtLoad() {
  if (EnsureStarted()) return true;
  started_ = -1;
  return false;
}

bool CTradeApp::InitInstance() {
  CSockLibrary& sockets = GetSockLibrary();
  // Load() has told the user when the library is missing; SockInit must
  // not be called then.
  if (!sockets.IsLoaded() && sockets.Load() != 0) return false;
  const std::string folder = ProgramFolder();
  STradeSettings settings;
  if (!ReadTradeSettings(folder + "/zeb.ini", settings)) {
    // Running on empty settings would only fail later and less clearly.
    ::AfxMessageBox(GBK("读取通信配置文件出错!"), MB_OK);
    return false;
  }
  if (secureSocket_ == 0) {
    char error[500] = {};
    const std::string ca = folder + "/" + platform::ToNativePath(settings.caFilePath);
    const std::string cert = folder + "/" + platform::ToNativePath(settings.certFilePath);
    secureSocket_ =
        sockets.SockInit(settings.needSsl, ca.c_str(), cert.c_str(), settings.keyPath.c_str(),
                         settings.keyPassword.c_str(), error, sizeof error);
    if (secureSocket_ == 0) {
      WriteTraceLine(TRACE_HERE, 0, "the secure socket refused to start: %s\n", error);
      ::AfxMessageBox(GBK("初始化SSL失败！"), MB_OK);
      return false;
    }
  }
  settings_ = std::move(settings);
  return true;
}

void CTradeApp::ExitInstance() {
  CTradeSession::GetInstance()->SetMainWnd(nullptr);
  UnLink();
  secureSocket_ = 0;
  CTradeSession::ReleaseInstance();
  started_ = -1;
}

void CTradeApp::UnLink() {
  linkLock_.Lock(CRWLock::WRITER);
  if (connection_) {
    connection_->Stop();
    connection_->WaitForExit();
    connection_.reset();
  }
  linkLock_.Unlock(CRWLock::WRITER);
}

void CTradeApp::Link(const STradeLinkRequest& r) {
  UnLink();
  CTradeSession* session = CTradeSession::GetInstance();
  if (!EnsureStarted()) {
    // The login window would otherwise wait for its time-out.
    session->SetNotify(r.notifyWnd, r.notifyMsg);
    session->PostNotify(2, 0);
    return;
  }
  connection_ = std::make_unique<CCommThread>(session, &GetSockLibrary());
  session->SetUserId(r.userId);
  session->SetPasswordDigest(PasswordDigest(r.password));
  if (r.useServerList) session->SetServerList(r.servers);
  else session->SetHost(r.server.host, r.server.port);
  session->SetNotify(r.notifyWnd, r.notifyMsg);
  if (r.useServerList) {
    connection_->SetServerList(session->GetServerList());
    connection_->SetRoundRobin(r.roundRobin);
  }
  connection_->SetServer(r.server);
  connection_->Start(0);
}

bool CTradeApp::IsConnected() { return connection_ && connection_->IsConnected() == 1; }

HWND CTradeApp::InitDialog(HWND hostPane) {
  if (!IsConnected()) return nullptr;
  if (!dialog_) {
    std::unique_ptr<ITradeMainDialog> dialog = MakeTradeMainDialog(hostPane);
    if (!dialog) return nullptr;
    hostPane_ = hostPane;
    dialog_ = std::move(dialog);
    CTradeSession::GetInstance()->SetMainWnd(dialog_->GetSafeHwnd());
  }
  return dialog_->GetSafeHwnd();
}

int CTradeApp::DestroyDialog() {
  if (!dialog_) return 1;
  // No announcement may go to the window from now on.
  CTradeSession::GetInstance()->SetMainWnd(nullptr);
  dialog_->Hide();
  dialog_->Destroy();
  // The dialog's end ends the connection too.
  UnLink();
  dialog_.reset();
  hostPane_ = nullptr;
  return 1;
}

int CTradeApp::MoveDialog(const RECT& rect) {
  if (!IsConnected() || !dialog_) return 0;
  dialog_->MoveTo(rect);
  return 1;
}

int CTradeApp::PostKey(int key, int data) {
  if (!dialog_) return 0;
  return ::PostMessage(dialog_->GetSafeHwnd(), WM_TRADE_KEY, static_cast<WPARAM>(key),
                       static_cast<LPARAM>(data));
}
