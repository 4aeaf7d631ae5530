// CLoginDlg: the modal login dialog that the start-up runs. It shows the
// account, password and verification-code fields, the mode buttons, the
// balance-server choice and the progress line, and carries out what the
// login rules (CLoginFlow) ask for: the stage messages to the hidden
// start-up dialog, the trade and quote links, the timers.
// Template 110; ends with IDOK once the quote link has completed, or with
// IDCANCEL when the user gives up.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "zeb/controls/hyperlink_static.h"
#include "zeb/controls/identify_code.h"
#include "zeb/controls/wdialog.h"
#include "zeb/core/login/login_flow.h"

class QProgressBar;

// Control ids of template 110.
constexpr int IDC_LOGIN_ACCOUNT = 1000;
constexpr int IDC_LOGIN_PASSWORD = 1008;
constexpr int IDC_LOGIN_CODE = 1009;
constexpr int IDC_LOGIN_SAVE_ACCOUNT = 1020;
constexpr int IDC_LOGIN_AUTO = 1027;
constexpr int IDC_LOGIN_REGISTER = 1028;
constexpr int IDC_LOGIN_CODE_PICTURE = 1032;
constexpr int IDC_LOGIN_SERVER = 1149;
constexpr int IDC_LOGIN_CANCEL = 1186;
constexpr int IDC_LOGIN_LABEL_ACCOUNT = 1187;
constexpr int IDC_LOGIN_LABEL_PASSWORD = 1188;
constexpr int IDC_LOGIN_LABEL_CODE = 1189;
constexpr int IDC_LOGIN_LABEL_SERVER = 1201;
constexpr int IDC_LOGIN_PROGRESS = 400;
constexpr int IDC_LOGIN_PROGRESS_TEXT = 401;

class CLoginDlg : public WDialog, private ILoginHost {
 public:
  CLoginDlg(HWND stageWnd, UINT stageMsg);
  ~CLoginDlg() override;

  // The random source of the verification code picture; replaceable (tests).
  static void SetCodeRandom(zebui::CodeRandom random);
  std::string GetVerificationCode() const { return m_code.GetCode(); }
  const CLoginFlow& Flow() const { return m_flow; }
  // The clock of the time-out; replaceable (tests).
  static void SetClock(std::function<int64_t()> clock);

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  void OnOK() override;
  void OnCancel() override;
  void OnClose() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  HBRUSH OnCtlColor(CDC* dc, CWnd* child, UINT kind) override;
  void OnTimer(UINT_PTR id) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The dialog's own steps, each handed to the login rules or the settings
  // file: the link's progress (percent, text), the trading library's login
  // result, the progress line, the end of a login either way, the request
  // for the main frame, and the balance server's reply.
  LRESULT OnLinkProgress(WPARAM percent, LPARAM text);
  LRESULT OnTradeLoginResult(WPARAM result, LPARAM detail);
  void SetProgress(int pos, const std::string& text) { m_flow.SetProgress(pos, text); }
  void OnLoginDone() { m_flow.OnLoginDone(); }
  void OnLoginFailed() { m_flow.OnLoginFailed(); }
  void RequestMainFrame() { m_flow.RequestMainFrame(); }
  static bool ParseBalanceReply(const void* buffer, int size, SLoginHosts* hosts) {
    return ::ParseBalanceReply(buffer, size, hosts);
  }

 private:
  // "zeb.ini" read at start (false: unreadable) and written at each login click.
  bool LoadLoginConfig(SLoginSettings* settings);
  void SaveLoginConfig();
  // ILoginHost
  HWND DialogWnd() override { return GetSafeHwnd(); }
  void ShowProgress() override;
  void SetProgressBar(int pos) override;
  void SetProgressLine(const std::string& gbk) override;
  void EnableLoginButton(bool enable) override;
  void SetModeButtonStates(int quotesOnly, int quotesTrade, int tradeOnly) override;
  void NewVerificationCode() override;
  void FocusCodeField() override;
  void ActivateDialog() override;
  void HideDialog() override;
  void EndDialog(int result) override { WDialog::EndDialog(result); }
  void SetTimer(UINT id, UINT ms) override { CWnd::SetTimer(id, ms); }
  void KillTimer(UINT id) override { CWnd::KillTimer(id); }
  int64_t NowMs() override;
  void SetStoreLoginMode(int mode) override;
  bool IsBalanceNeeded() override;
  bool SendStage(WPARAM wParam, LPARAM lParam) override;
  void SetQuoteServer(const std::string& account, const std::string& password,
                      const std::string& host, int port) override;
  void SetQuoteHosts(const std::string& account, const std::string& password,
                     const SLoginHosts& hosts) override;
  void QuoteUnLink() override;
  void TradeUnLink() override;
  bool CanLinkTrade() override;
  int InitBalanceServer(const std::string& host, int port, int type, void* buffer,
                        int size) override;
  void LinkTradeServer(const std::string& account, const std::string& password, bool viaBalance,
                       const SLoginHosts& hosts) override;

  void LayoutControls();
  void SetButtonImages();
  std::string ConfigPath() const;
  std::string SkinFolder() const;

  HWND m_hStageWnd;
  UINT m_nStageMsg;
  CLoginFlow m_flow{*this};
  std::string m_account, m_password, m_typedCode;
  CIdentifyCode m_code;
  CHyperlinkStatic m_register;
  int m_saveAccount = 0;
  int m_autoLogin = 0;
  QProgressBar* m_progress = nullptr;
};
