// The rules of the login dialog, apart from its widgets: the two login
// modes (1 quotes only, 2 quotes and trading), the verification code
// check, the balance-server query, the trade login before the quote link,
// the progress line, the 60-second time-out and the close one second after
// the link reports completion. The dialog forwards its messages here and
// carries out what the host interface asks for.
//
// Sound behaviour kept here:
// - With the balance server, an empty server list, a default server outside
//   the list or no selection fails at once with the balance failure text.
// - Without a trading library (LinkTradeServer not bound) a login in mode 2
//   runs as quotes only, so the program is still usable.
// - The time-out compares the host's clock with the time the login started,
//   so a timer tick that comes early only re-arms the timer; a finished
//   login stops it.
#pragma once
#include <cstdint>
#include <string>

#include "platform/types.h"
#include "zeb/core/login/login_settings.h"

// Control and timer ids the rules speak of.
constexpr int IDC_LOGIN_QUOTES_ONLY = 1183;
constexpr int IDC_LOGIN_QUOTES_TRADE = 1184;
constexpr int IDC_LOGIN_TRADE_ONLY = 1185;
constexpr UINT kLoginTimeoutTimer = 99;
constexpr UINT kLoginCloseTimer = 98;
constexpr UINT kLoginTimeoutMs = 60000;
constexpr UINT kLoginCloseMs = 1000;

constexpr int kLoginModeQuotes = 1;
constexpr int kLoginModeQuotesTrade = 2;

// What the rules need of the dialog, the application and the trading library.
class ILoginHost {
 public:
  virtual ~ILoginHost() = default;
  // ---- The dialog ----
  virtual HWND DialogWnd() = 0;
  virtual void ShowProgress() = 0;  // progress bar shown, range 0..100
  virtual void SetProgressBar(int pos) = 0;
  virtual void SetProgressLine(const std::string& gbk) = 0;
  virtual void EnableLoginButton(bool enable) = 0;
  virtual void SetModeButtonStates(int quotesOnly, int quotesTrade, int tradeOnly) = 0;
  virtual void NewVerificationCode() = 0;  // a new code, the picture redrawn
  virtual void FocusCodeField() = 0;
  virtual void ActivateDialog() = 0;
  virtual void HideDialog() = 0;
  virtual void EndDialog(int result) = 0;
  virtual void SetTimer(UINT id, UINT ms) = 0;
  virtual void KillTimer(UINT id) = 0;
  virtual int64_t NowMs() = 0;
  // ---- The application ----
  virtual void SetStoreLoginMode(int mode) = 0;
  virtual bool IsBalanceNeeded() = 0;
  // Sends WM_LOGIN_STAGE to the hidden start-up dialog; false without one.
  virtual bool SendStage(WPARAM wParam, LPARAM lParam) = 0;
  virtual void SetQuoteServer(const std::string& account, const std::string& password,
                              const std::string& host, int port) = 0;
  virtual void SetQuoteHosts(const std::string& account, const std::string& password,
                             const SLoginHosts& hosts) = 0;
  virtual void QuoteUnLink() = 0;
  virtual void TradeUnLink() = 0;
  // ---- The trading library (Part of its exports) ----
  virtual bool CanLinkTrade() = 0;
  // 0 on success.
  virtual int InitBalanceServer(const std::string& host, int port, int type, void* buffer,
                                int size) = 0;
  virtual void LinkTradeServer(const std::string& account, const std::string& password,
                               bool viaBalance, const SLoginHosts& hosts) = 0;
};

// What the user typed when clicking the login button.
struct SLoginInput {
  std::string account;
  std::string password;
  std::string typedCode;
  std::string pictureCode;
  int serverSelection = 0;  // combo box choice, -1: none
};

class CLoginFlow {
 public:
  explicit CLoginFlow(ILoginHost& host);

  // The dialog's start: the settings read (false: the box for an unreadable
  // "zeb.ini" has been shown) and the mode buttons set.
  bool Start(const SLoginSettings& settings);
  const SLoginSettings& Settings() const { return m_settings; }
  const SLoginHosts& Hosts() const { return m_hosts; }

  void OnModeButton(int id);
  int Mode() const { return m_mode; }

  // The login click; the settings have been saved by the dialog.
  void OnLogin(const SLoginInput& input);
  LRESULT OnTradeLoginResult(WPARAM result, LPARAM detail);
  LRESULT OnLinkProgress(int percent, const char* text);
  void OnLinkReady();
  void OnTimer(UINT id);
  // WM_CLOSE and the cancel button.
  void OnClose();

  // The progress line and bar, as the dialog shows them.
  void SetProgress(int pos, const std::string& text);
  int ProgressPos() const { return m_pos; }
  bool IsLinking() const { return m_linking; }
  bool IsDone() const { return m_done; }

  // The steps the handlers above take: a failed login returns to idle with
  // the links closed; a done one shows the frame and ends the dialog a
  // second later; the frame is asked for (made hidden) once.
  void OnLoginFailed();
  void OnLoginDone();
  void RequestMainFrame();

 private:
  void StartQuoteLink();
  void StartTimeout();
  void StopTimeout();
  bool QueryBalance(int serverIndex);

  ILoginHost& m_host;
  SLoginSettings m_settings;
  SLoginHosts m_hosts;
  int m_mode = kLoginModeQuotesTrade;
  int m_low = 0, m_high = 100, m_pos = 0;
  bool m_progressShown = false;
  bool m_linking = false;
  bool m_done = false;
  bool m_frameRequested = false;
  bool m_timeoutRunning = false;
  int64_t m_timeoutStart = 0;
  std::string m_account, m_password;
};
