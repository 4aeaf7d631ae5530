#include "zeb/shell/login/login_dlg.h"

#include <QFontMetrics>
#include <QProgressBar>
#include <chrono>

#include "link/link_messages.h"
#include "zeb/controls/translucent_btn.h"
#include "zeb/controls/transparent_stat.h"
#include "platform/controls.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "zeb/shell/app/zeb_app.h"
#include "zeb/messages.h"
#include "zeb/store/public_store.h"

namespace {

constexpr int kCodeDigits = 4;
constexpr int kModeButtonDrop = 8;  // mode buttons sit lower without a server choice
constexpr int kLoginButtonX = 210, kLoginButtonY = 340;
constexpr int kComboDropHeight = 200;
const ARGB kWhite = MakeARGB(255, 255, 255, 255);
constexpr int kButtonTextSize = 14;
constexpr int kButtonTextBold = 1;

zebui::CodeRandom& CodeRandomSource() {
  static zebui::CodeRandom random;  // empty: the control's own generator
  return random;
}

std::function<int64_t()>& Clock() {
  static std::function<int64_t()> clock = [] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  };
  return clock;
}

// Template 110, in pixels on the skin. The login and cancel buttons stand
// where the login rules put them, side by side from (210, 340); the skin is
// as wide as centres them under the form (their images leave a margin
// either side, so the two do not touch).
constexpr int kSkinWidth = 560, kSkinHeight = 420;
constexpr int kLoginButtonWidth = 70, kLoginButtonHeight = 30;
const platform::DialogTemplate& LoginTemplate() {
  using platform::DialogItem;
  static const DialogItem items[] = {
      {kTranslucentBtn, IDC_LOGIN_QUOTES_ONLY, GBK("行情"), 100, 96, 110, 30},
      {kTranslucentBtn, IDC_LOGIN_QUOTES_TRADE, GBK("行情+交易"), 225, 96, 110, 30},
      {kTranslucentBtn, IDC_LOGIN_TRADE_ONLY, GBK("交易"), 350, 96, 110, 30},
      {kTransparentStat, IDC_LOGIN_LABEL_ACCOUNT, GBK("用户帐号："), 120, 150, 80, 20},
      {platform::kEdit, IDC_LOGIN_ACCOUNT, "", 205, 148, 180, 22, WS_TABSTOP},
      {platform::kStatic, IDC_LOGIN_REGISTER, GBK("申 请 帐 户"), 395, 150, 80, 20},
      {kTransparentStat, IDC_LOGIN_LABEL_PASSWORD, GBK("用户密码："), 120, 182, 80, 20},
      {platform::kEdit, IDC_LOGIN_PASSWORD, "", 205, 180, 180, 22, ES_PASSWORD | WS_TABSTOP},
      {kTransparentStat, IDC_LOGIN_LABEL_CODE, GBK("验 证 码："), 120, 214, 80, 20},
      {platform::kEdit, IDC_LOGIN_CODE, "", 205, 212, 80, 22, WS_TABSTOP},
      {platform::kStatic, IDC_LOGIN_CODE_PICTURE, "", 295, 210, 90, 26},
      {kTransparentStat, IDC_LOGIN_LABEL_SERVER, GBK("服 务 器："), 120, 246, 80, 20},
      {platform::kComboBox, IDC_LOGIN_SERVER, "", 205, 244, 180, 22 + kComboDropHeight,
       CBS_DROPDOWNLIST | WS_TABSTOP},
      {platform::kCheckBox, IDC_LOGIN_SAVE_ACCOUNT, GBK("保存帐户"), 205, 278, 90, 20,
       BS_AUTOCHECKBOX},
      {platform::kCheckBox, IDC_LOGIN_AUTO, GBK("自动登录"), 300, 278, 90, 20,
       BS_AUTOCHECKBOX | WS_DISABLED},
      {kTranslucentBtn, IDOK, GBK("登 录"), kLoginButtonX, kLoginButtonY, kLoginButtonWidth,
       kLoginButtonHeight},
      {kTranslucentBtn, IDC_LOGIN_CANCEL, GBK("取 消"), kLoginButtonX + kLoginButtonWidth,
       kLoginButtonY, kLoginButtonWidth, kLoginButtonHeight},
      {platform::kStatic, IDC_LOGIN_PROGRESS_TEXT, "", 20, 378, kSkinWidth - 40, 18},
  };
  static const platform::DialogTemplate tpl{kSkinWidth, kSkinHeight, WS_POPUP, GBK("登录"),
                                            nullptr,    9,           false,    items};
  return tpl;
}

}  // namespace

CLoginDlg::CLoginDlg(HWND stageWnd, UINT stageMsg)
    : WDialog(LoginTemplate(), "CLoginDlg"),
      m_hStageWnd(stageWnd),
      m_nStageMsg(stageMsg),
      m_code(CodeRandomSource()) {}

CLoginDlg::~CLoginDlg() = default;

void CLoginDlg::SetCodeRandom(zebui::CodeRandom random) { CodeRandomSource() = std::move(random); }

void CLoginDlg::SetClock(std::function<int64_t()> clock) { Clock() = std::move(clock); }

std::string CLoginDlg::ConfigPath() const {
  return CPublic::GetInstance()->GetAppDir() + "zeb.ini";
}

std::string CLoginDlg::SkinFolder() const {
  return CPublic::GetInstance()->GetAppDir() + "UIInterface/Login/";
}

BOOL CLoginDlg::OnInitDialog() {
  SetDialogMode(WDLG_MODE_OWN, 0);
  SLoginSettings settings;
  if (!LoadLoginConfig(&settings)) AfxMessageBox(GBK("读取通信配置文件出错!"), MB_OK);
  SetBkImage(SkinFolder() + "ImgBk.png", 0, 0);
  WDialog::OnInitDialog();

  m_register.SubclassDlgItem(IDC_LOGIN_REGISTER, this);
  m_register.SetURL(settings.registPage.c_str());
  m_code.SubclassDlgItem(IDC_LOGIN_CODE_PICTURE, this);
  m_progress = new QProgressBar(this);
  m_progress->setObjectName(QString::number(IDC_LOGIN_PROGRESS));
  m_progress->setGeometry(20, 400, kSkinWidth - 40, 8);
  m_progress->setTextVisible(false);
  m_progress->hide();

  SetButtonImages();
  m_flow.Start(settings);
  if (CWnd* autoLogin = GetDlgItem(IDC_LOGIN_AUTO)) autoLogin->ShowWindow(SW_HIDE);
  if (auto* combo = GetDlgItemT<CComboBox>(IDC_LOGIN_SERVER)) {
    for (const SBalanceServer& server : settings.servers) combo->AddString(server.name.c_str());
    if (!settings.servers.empty() && settings.defaultServer >= 0 &&
        settings.defaultServer < int(settings.servers.size()))
      combo->SetCurSel(settings.defaultServer);
  }
  if (!IsBalanceNeeded()) {
    for (int id : {IDC_LOGIN_SERVER, IDC_LOGIN_LABEL_SERVER})
      if (CWnd* w = GetDlgItem(id)) w->ShowWindow(SW_HIDE);
    for (int id : {IDC_LOGIN_QUOTES_ONLY, IDC_LOGIN_QUOTES_TRADE, IDC_LOGIN_TRADE_ONLY}) {
      if (QWidget* w = GetDlgItemWidget(id)) w->move(w->x(), w->y() + kModeButtonDrop);
    }
  }
  LayoutControls();
  const std::string title = CPublic::GetInstance()->GetSystemTitle();
  SetTitle(title.empty() ? GBK("登录") : title.c_str());
  // Typing goes where the user types first: the password when the account
  // is filled in already, else the account.
  if (CWnd* first = GetDlgItem(m_account.empty() ? IDC_LOGIN_ACCOUNT : IDC_LOGIN_PASSWORD)) {
    GotoDlgCtrl(first);
    return FALSE;
  }
  return TRUE;
}

bool CLoginDlg::LoadLoginConfig(SLoginSettings* settings) {
  const bool read = LoadLoginSettings(ConfigPath(), settings);
  m_account = settings->userId;
  m_saveAccount = settings->saveAccount != 0;
  return read;
}

void CLoginDlg::SaveLoginConfig() {
  SaveLoginSettings(ConfigPath(), m_saveAccount, m_account, m_flow.Settings().defaultServer);
}

void CLoginDlg::SetButtonImages() {
  const std::string skin = SkinFolder();
  struct Image {
    int id, kind;
    const char* file;
    int frames;
  } images[] = {{IDOK, 0, "ImgOkBtn.png", 4},
                {IDC_LOGIN_CANCEL, 0, "ImgCancleBtn.png", 4},
                {IDC_LOGIN_QUOTES_ONLY, 1, "QuoteLog.png", 2},
                {IDC_LOGIN_QUOTES_TRADE, 0, "QuoteTradeLog.png", 2},
                {IDC_LOGIN_TRADE_ONLY, 0, "TradeLog.png", 2}};
  for (const Image& i : images) {
    auto* button = GetDlgItemT<CTranslucentBtn>(i.id);
    if (!button) continue;
    button->SetImage(i.kind, skin + i.file, i.frames, zebui::kFramesStacked);
    button->SetTextStyle(kWhite, kButtonTextSize, kButtonTextBold);
    if (i.frames == 2) button->SetNoHover(true);
    // The caption is drawn from its offset: centred in one frame.
    const QFontMetrics metrics(zebui::SkinFont(GBK("宋体"), kButtonTextSize, kButtonTextBold));
    const QString text = platform::GbkToQString(button->GetWindowTextString());
    button->SetTextOffset((button->GetFrameWidth() - metrics.horizontalAdvance(text)) / 2,
                          (button->GetFrameHeight() - metrics.height()) / 2);
  }
}

void CLoginDlg::LayoutControls() {
  auto* ok = GetDlgItemT<CTranslucentBtn>(IDOK);
  auto* cancel = GetDlgItemT<CTranslucentBtn>(IDC_LOGIN_CANCEL);
  if (ok && cancel) {
    ok->MoveWindow(kLoginButtonX, kLoginButtonY, ok->GetFrameWidth(), ok->GetFrameHeight());
    cancel->MoveWindow(kLoginButtonX + ok->GetFrameWidth(), kLoginButtonY, cancel->GetFrameWidth(),
                       cancel->GetFrameHeight());
  }
  for (int id : {IDC_LOGIN_LABEL_ACCOUNT, IDC_LOGIN_LABEL_PASSWORD, IDC_LOGIN_LABEL_CODE,
                 IDC_LOGIN_LABEL_SERVER})
    if (auto* label = GetDlgItemT<CTransparentStat>(id)) label->SetStyle(kWhite, 14, 0, 0, "", 0);
}

HBRUSH CLoginDlg::OnCtlColor(CDC* dc, CWnd* child, UINT kind) {
  // Check boxes and the progress line stand on the dark skin.
  const int id = child ? child->GetDlgCtrlID() : 0;
  if (id == IDC_LOGIN_SAVE_ACCOUNT || id == IDC_LOGIN_AUTO || id == IDC_LOGIN_PROGRESS_TEXT) {
    dc->SetTextColor(RGB(255, 255, 255));
    dc->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  }
  return WDialog::OnCtlColor(dc, child, kind);
}

void CLoginDlg::DoDataExchange(CDataExchange* dx) {
  DDX_Text(dx, IDC_LOGIN_ACCOUNT, m_account);
  DDX_Text(dx, IDC_LOGIN_PASSWORD, m_password);
  DDX_Text(dx, IDC_LOGIN_CODE, m_typedCode, kCodeDigits);
  DDX_Check(dx, IDC_LOGIN_SAVE_ACCOUNT, m_saveAccount);
  DDX_Check(dx, IDC_LOGIN_AUTO, m_autoLogin);
}

void CLoginDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  SaveLoginConfig();
  SLoginInput input;
  input.account = m_account;
  input.password = m_password;
  input.typedCode = m_typedCode;
  input.pictureCode = m_code.GetCode();
  const auto* combo = GetDlgItemT<CComboBox>(IDC_LOGIN_SERVER);
  input.serverSelection = combo ? combo->GetCurSel() : -1;
  m_flow.OnLogin(input);
}

void CLoginDlg::OnCancel() { OnClose(); }

void CLoginDlg::OnClose() { m_flow.OnClose(); }

BOOL CLoginDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED) {
    switch (LOWORD(wParam)) {
      case IDC_LOGIN_QUOTES_ONLY:
      case IDC_LOGIN_QUOTES_TRADE:
      case IDC_LOGIN_TRADE_ONLY: m_flow.OnModeButton(LOWORD(wParam)); return TRUE;
      case IDC_LOGIN_CANCEL: OnClose(); return TRUE;
      default: break;
    }
  }
  return WDialog::OnCommand(wParam, lParam);
}

void CLoginDlg::OnTimer(UINT_PTR id) { m_flow.OnTimer(UINT(id)); }

LRESULT CLoginDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LINK_PROGRESS: return OnLinkProgress(wParam, lParam);
    case WM_TRADE_LOGIN_RESULT: return OnTradeLoginResult(wParam, lParam);
    case WM_LINK_READY: m_flow.OnLinkReady(); return 0;
    default: return WDialog::WindowProc(message, wParam, lParam);
  }
}

LRESULT CLoginDlg::OnLinkProgress(WPARAM percent, LPARAM text) {
  return m_flow.OnLinkProgress(int(intptr_t(percent)), reinterpret_cast<const char*>(text));
}

LRESULT CLoginDlg::OnTradeLoginResult(WPARAM result, LPARAM detail) {
  return m_flow.OnTradeLoginResult(result, detail);
}

// ---- What the login rules ask of the dialog ----

void CLoginDlg::ShowProgress() {
  m_progress->setRange(0, 100);
  m_progress->setValue(1);
  m_progress->show();
  ShowWindow(SW_SHOW);
}

void CLoginDlg::SetProgressBar(int pos) { m_progress->setValue(pos); }

void CLoginDlg::SetProgressLine(const std::string& gbk) {
  SetDlgItemText(IDC_LOGIN_PROGRESS_TEXT, gbk.c_str());
  if (CWnd* line = GetDlgItem(IDC_LOGIN_PROGRESS_TEXT)) line->RedrawWindow();
}

void CLoginDlg::EnableLoginButton(bool enable) {
  if (CWnd* ok = GetDlgItem(IDOK)) ok->EnableWindow(enable);
}

void CLoginDlg::SetModeButtonStates(int quotesOnly, int quotesTrade, int tradeOnly) {
  const int states[] = {quotesOnly, quotesTrade, tradeOnly};
  const int ids[] = {IDC_LOGIN_QUOTES_ONLY, IDC_LOGIN_QUOTES_TRADE, IDC_LOGIN_TRADE_ONLY};
  for (int i = 0; i < 3; ++i)
    if (auto* button = GetDlgItemT<CTranslucentBtn>(ids[i])) button->SetState(states[i]);
}

void CLoginDlg::NewVerificationCode() {
  m_code.MakeCode();
  m_code.RedrawWindow();
}

void CLoginDlg::FocusCodeField() {
  if (CWnd* code = GetDlgItem(IDC_LOGIN_CODE)) GotoDlgCtrl(code);
}

void CLoginDlg::ActivateDialog() {
  activateWindow();
  SetFocus();
}

void CLoginDlg::HideDialog() { ShowWindow(SW_HIDE); }

int64_t CLoginDlg::NowMs() { return Clock()(); }

void CLoginDlg::SetStoreLoginMode(int mode) { CPublic::GetInstance()->SetLoginMode(mode); }

bool CLoginDlg::IsBalanceNeeded() { return CPublic::GetInstance()->IsBalanceNeeded(); }

bool CLoginDlg::SendStage(WPARAM wParam, LPARAM lParam) {
  if (m_nStageMsg == 0 || !IsWindow(m_hStageWnd)) return false;
  ::SendMessage(m_hStageWnd, m_nStageMsg, wParam, lParam);
  return true;
}

void CLoginDlg::SetQuoteServer(const std::string& account, const std::string& password,
                               const std::string& host, int port) {
  if (CZEBApp* app = CZEBApp::Current())
    app->SetQuoteServer(GetSafeHwnd(), WM_LINK_READY, account, password, host, port);
}

void CLoginDlg::SetQuoteHosts(const std::string& account, const std::string& password,
                              const SLoginHosts& hosts) {
  if (CZEBApp* app = CZEBApp::Current())
    app->SetQuoteHosts(GetSafeHwnd(), WM_LINK_READY, account, password, hosts.quoteHost,
                       hosts.quotePort);
}

void CLoginDlg::QuoteUnLink() {
  if (CZEBApp* app = CZEBApp::Current()) app->QuoteUnLink();
}

void CLoginDlg::TradeUnLink() {
  if (CZEBApp* app = CZEBApp::Current()) app->TradeUnLink();
}

bool CLoginDlg::CanLinkTrade() {
  CZEBApp* app = CZEBApp::Current();
  return app && app->Trade().Entries().LinkTradeServer;
}

int CLoginDlg::InitBalanceServer(const std::string& host, int port, int type, void* buffer,
                                 int size) {
  CZEBApp* app = CZEBApp::Current();
  if (!app || !app->Trade().Entries().InitBalanceServer) return -1;
  return app->Trade().Entries().InitBalanceServer(host.c_str(), port, type, buffer, size);
}

void CLoginDlg::LinkTradeServer(const std::string& account, const std::string& password,
                                bool viaBalance, const SLoginHosts& h) {
  CZEBApp* app = CZEBApp::Current();
  if (!app || !app->Trade().Entries().LinkTradeServer) return;
  app->Trade().Entries().LinkTradeServer(
      GetSafeHwnd(), WM_TRADE_LOGIN_RESULT, account.c_str(), password.c_str(), viaBalance ? 1 : 0,
      h.tradeHost[0].c_str(), h.tradePort[0], h.tradeHost[1].c_str(), h.tradePort[1],
      h.tradeHost[2].c_str(), h.tradePort[2], h.tradeHost[3].c_str(), h.tradePort[3],
      h.tradeHost[4].c_str(), h.tradePort[4]);
}
