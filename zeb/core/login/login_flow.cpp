#include "zeb/core/login/login_flow.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "zeb/messages.h"

namespace {

constexpr int kLinkStarted = 101;        // the link's "started" report
constexpr int kLinkStartedShownAs = 25;  // shown as this percent
constexpr int kLinkFailed = -1;
constexpr int kTradeConnectedPos = 10;
constexpr int kTradeLoggedInPos = 20;
constexpr int kBalanceTries = 3;

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

CLoginFlow::CLoginFlow(ILoginHost& host) : m_host(host) {}

bool CLoginFlow::Start(const SLoginSettings& settings) {
  m_settings = settings;
  m_hosts = SLoginHosts();
  m_hosts.quoteHost[0] = settings.quoteHost;
  m_hosts.quotePort[0] = settings.quotePort;
  m_hosts.tradeHost[0] = settings.tradeHost;
  m_hosts.tradePort[0] = settings.tradePort;
  // Trading needs the trading library; without it the program logs in to
  // quotes only.
  if (!m_host.CanLinkTrade()) m_mode = kLoginModeQuotes;
  m_host.SetStoreLoginMode(m_mode);
  m_host.SetModeButtonStates(m_mode == kLoginModeQuotes, m_mode == kLoginModeQuotesTrade, 0);
  return true;
}

void CLoginFlow::OnModeButton(int id) {
  switch (id) {
    case IDC_LOGIN_QUOTES_ONLY:
      m_mode = kLoginModeQuotes;
      m_host.SetModeButtonStates(1, 0, 0);
      m_host.SetStoreLoginMode(m_mode);
      break;
    case IDC_LOGIN_QUOTES_TRADE:
      m_mode = kLoginModeQuotesTrade;
      m_host.SetModeButtonStates(0, 1, 0);
      m_host.SetStoreLoginMode(m_mode);
      break;
    case IDC_LOGIN_TRADE_ONLY:
      // Trading alone cannot be chosen: the button only falls back.
      m_host.SetModeButtonStates(m_mode == kLoginModeQuotes, m_mode == kLoginModeQuotesTrade, 0);
      break;
    default: break;
  }
}

void CLoginFlow::OnLogin(const SLoginInput& input) {
  if (input.typedCode != input.pictureCode) {
    MessageBox(m_host.DialogWnd(), GBK("校验码错误"), GBK("错误信息"), MB_OK | MB_ICONERROR);
    m_host.NewVerificationCode();
    m_host.FocusCodeField();
    return;
  }
  if (input.account.empty()) {
    AfxMessageBox(GBK("请输入用户名"), MB_OK);
    return;
  }
  if (input.password.empty()) {
    AfxMessageBox(GBK("请输入密码"), MB_OK);
    return;
  }
  const int mode =
      m_mode == kLoginModeQuotesTrade && !m_host.CanLinkTrade() ? kLoginModeQuotes : m_mode;
  m_host.EnableLoginButton(false);
  m_host.SetStoreLoginMode(mode);
  m_settings.defaultServer = input.serverSelection;

  m_host.ShowProgress();
  m_progressShown = true;
  m_pos = 1;
  m_done = false;
  m_frameRequested = false;
  m_linking = true;

  const bool viaBalance = m_host.IsBalanceNeeded();
  if (viaBalance && !QueryBalance(input.serverSelection)) {
    AfxMessageBox(GBK("连接策略服务器失败,请选择其他服务器"), MB_OK);
    OnLoginFailed();
    return;
  }
  m_account = Trim(input.account);
  m_password = input.password;
  if (mode == kLoginModeQuotesTrade) {
    m_host.LinkTradeServer(m_account, m_password, viaBalance, m_hosts);
  } else {
    RequestMainFrame();
    StartQuoteLink();
  }
  StartTimeout();
}

bool CLoginFlow::QueryBalance(int serverIndex) {
  if (serverIndex < 0 || serverIndex >= int(m_settings.servers.size())) return false;
  const SBalanceServer& server = m_settings.servers[size_t(serverIndex)];
  for (int attempt = 0; attempt < kBalanceTries; ++attempt) {
    std::vector<unsigned char> buffer(kBalanceReplyBuffer, 0);
    if (m_host.InitBalanceServer(server.host, server.port, server.type, buffer.data(),
                                 int(buffer.size())) != 0)
      continue;
    return ParseBalanceReply(buffer.data(), int(buffer.size()), &m_hosts);
  }
  return false;
}

void CLoginFlow::StartQuoteLink() {
  if (m_host.IsBalanceNeeded()) m_host.SetQuoteHosts(m_account, m_password, m_hosts);
  else m_host.SetQuoteServer(m_account, m_password, m_hosts.quoteHost[0], m_hosts.quotePort[0]);
}

void CLoginFlow::RequestMainFrame() {
  if (m_host.SendStage(0, 1)) m_host.ActivateDialog();
  m_frameRequested = true;
}

void CLoginFlow::StartTimeout() {
  m_timeoutStart = m_host.NowMs();
  m_timeoutRunning = true;
  m_host.SetTimer(kLoginTimeoutTimer, kLoginTimeoutMs);
}

void CLoginFlow::StopTimeout() {
  m_timeoutRunning = false;
  m_host.KillTimer(kLoginTimeoutTimer);
}

LRESULT CLoginFlow::OnTradeLoginResult(WPARAM result, LPARAM detail) {
  if (result != 1) {
    StopTimeout();
    OnLoginFailed();
    return 1;
  }
  if (detail == 0) {
    SetProgress(kTradeConnectedPos, GBK("交易连接成功"));
  } else if (detail == 1) {
    StopTimeout();
    SetProgress(kTradeLoggedInPos, GBK("交易登陆已完成"));
    if (!m_frameRequested) RequestMainFrame();
    StartQuoteLink();
    StartTimeout();
  }
  return 1;
}

LRESULT CLoginFlow::OnLinkProgress(int percent, const char* text) {
  const std::string line = text && *text ? text : "...";
  if (percent == kLinkStarted) SetProgress(kLinkStartedShownAs, line);
  else if (percent == kLinkFailed) OnLoginFailed();
  else SetProgress(percent, line);
  return 1;
}

void CLoginFlow::OnLinkReady() { StopTimeout(); }

void CLoginFlow::SetProgress(int pos, const std::string& text) {
  if (!m_progressShown) return;
  if (pos == 0) m_host.EnableLoginButton(true);
  m_pos = std::clamp(pos, m_low, m_high);
  const int percent = (m_pos - m_low) * 100 / (m_high - m_low);
  char head[16];
  std::snprintf(head, sizeof head, "[%d%%]", percent);
  m_host.SetProgressLine(head + text);
  if (m_pos < m_high) m_host.SetProgressBar(m_pos);
  else OnLoginDone();
}

void CLoginFlow::OnLoginDone() {
  if (m_done) return;
  m_done = true;
  m_linking = false;
  StopTimeout();
  m_host.SetProgressBar(m_high);
  m_host.SendStage(1, 2);
  m_host.HideDialog();
  m_host.SetTimer(kLoginCloseTimer, kLoginCloseMs);
}

void CLoginFlow::OnLoginFailed() {
  m_linking = false;
  m_host.TradeUnLink();
  m_host.QuoteUnLink();
  m_host.NewVerificationCode();
  SetProgress(0, GBK("登陆失败"));
  m_host.SendStage(2, 2);
}

void CLoginFlow::OnTimer(UINT id) {
  if (id == kLoginTimeoutTimer) {
    if (!m_timeoutRunning) {
      m_host.KillTimer(id);
      return;
    }
    const int64_t elapsed = m_host.NowMs() - m_timeoutStart;
    if (elapsed < int64_t(kLoginTimeoutMs)) {
      m_host.SetTimer(kLoginTimeoutTimer, UINT(int64_t(kLoginTimeoutMs) - elapsed));
      return;
    }
    StopTimeout();
    OnLoginFailed();
    AfxMessageBox(GBK("登陆超时!"), MB_OK);
  } else if (id == kLoginCloseTimer) {
    m_host.KillTimer(id);
    m_host.EndDialog(IDOK);
  }
}

void CLoginFlow::OnClose() {
  m_host.SendStage(2, 2);
  m_host.QuoteUnLink();
  m_host.TradeUnLink();
  m_host.EndDialog(IDCANCEL);
}
