#include "link/data_receive.h"

#include <cstdint>

#include "link/link_messages.h"
#include "link/link_socket.h"
#include "link/quote_protocol.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"

namespace {
CDataReceive* s_pInstance = nullptr;  // user-interface thread only

struct LockGuard {
  explicit LockGuard(platform::CriticalSection& cs) : cs_(cs) { cs_.Enter(); }
  ~LockGuard() { cs_.Leave(); }
  platform::CriticalSection& cs_;
};
}  // namespace

CDataReceive* CDataReceive::GetInstance() {
  if (!s_pInstance) s_pInstance = new CDataReceive();
  return s_pInstance;
}

CDataReceive* CDataReceive::Existing() { return s_pInstance; }

void CDataReceive::DestroyInstance() {
  CDataReceive* window = s_pInstance;
  if (!window) return;
  s_pInstance = nullptr;
  window->OnDestroy();
  if (window->m_nHandlerDepth > 0) window->m_bDeletePending = true;
  else delete window;
}

CDataReceive::~CDataReceive() {
  if (s_pInstance == this) s_pInstance = nullptr;
}

void CDataReceive::OnDestroy() {
  m_bDestroyed = true;
  SetOffLine();
  // A connection still trying to connect must not outlive its window.
  CLinkSocket::DestroyLinkSocket();
  m_PendingBuffers.RemoveAll();
  DetachHandle();
}

LRESULT CDataReceive::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  ++m_nHandlerDepth;
  LRESULT result = 0;
  switch (message) {
    case WM_COMMNOTIFY: OnCommNotify(wParam, lParam); break;
    case WM_LINK_DATA_BATCH: {
      // Each body to the body handler, in order; a window ended by one of
      // their receivers takes no more. The client window's handle is taken
      // once for the batch.
      platform::TargetRun run(m_hClientWnd);
      platform::TargetRun* const outer = m_pClientRun;
      m_pClientRun = &run;
      CLinkSocket::DeliverReceived(lParam, [this](const char* body, uint32_t length) {
        if (body) m_Bodies.Handle(body, length);
        return !m_bDestroyed;
      });
      m_pClientRun = outer;
      break;
    }
    case WM_TIMER:  // the saving timer only marks the time; nothing to do
    default: break;
  }
  if (--m_nHandlerDepth == 0 && m_bDeletePending) delete this;
  return result;
}

void CDataReceive::SetIPPortInfo(const std::string& host, int port, const std::string& account1,
                                 const std::string& account2) {
  m_strHost = host;
  m_nPort = port;
  m_strAccount1 = account1;
  m_strAccount2 = account2;
}

void CDataReceive::SetHostsInfo(const std::string& account1, const std::string& account2,
                                const std::string hosts[5], const int ports[5]) {
  m_strAccount1 = account1;
  m_strAccount2 = account2;
  for (int i = 0; i < 5; ++i) {
    m_strHosts[i] = hosts[i];
    m_nPorts[i] = ports[i];
  }
  m_bHostList = true;
}

int CDataReceive::SetOnLine(HWND progressWindow, DWORD) {
  m_hProgressWnd = progressWindow;
  m_bCreated = true;  // the handle exists from construction
  ConnectStep();
  return 0;
}

int CDataReceive::ConnectStep() {
  Progress(0, GBK("开始初始化"));
  if (m_nOnline) return 1;
  Progress(10, GBK("正在建立连接..."));
  CLinkSocket::DestroyLinkSocket();
  CLinkSocket* link = CLinkSocket::GetLinkSocket();
  if (m_bHostList) {
    link->SetListMode();
    link->SetHosts(m_strHosts[0], m_nPorts[0], m_strHosts[1], m_nPorts[1], m_strHosts[2],
                   m_nPorts[2], m_strHosts[3], m_nPorts[3], m_strHosts[4], m_nPorts[4]);
  } else {
    link->SetHost(m_strHost, m_nPort);
  }
  link->SetNotifyWindow(GetSafeHwnd());
  return link->Start() != -1 ? 1 : 0;
}

void CDataReceive::SetOffLine() {
  if (!m_nOnline) return;
  if (m_bSavingTimer) {
    KillTimer(GetSafeHwnd(), LINK_TIMER_SAVING);
    m_bSavingTimer = false;
  }
  m_hProgressWnd = nullptr;
  m_nOnline = 0;
  CLinkSocket::DestroyLinkSocket();
}

void CDataReceive::ChangeReceieveWnd(HWND client, DWORD message) {
  m_hClientWnd = client;
  m_nClientMsg = message;
}

int CDataReceive::AskData(const void* body, DWORD length) {
  // Send refuses what does not fit a frame; the length must not wrap.
  int n = length > (DWORD)INT32_MAX ? INT32_MAX : (int)length;
  return CLinkSocket::GetLinkSocket()->Send(body, n);
}

void CDataReceive::QueueLogin() {
  quotelink::LoginRequest login = quotelink::BuildLoginRequest(m_strAccount1, m_strAccount2);
  AskData(login.data(), (DWORD)login.size());
  m_Bodies.StartLogin();
}

void CDataReceive::OnCommNotify(WPARAM code, LPARAM source) {
  LockGuard guard(m_Lock);
  if (m_bDestroyed) return;
  switch (code) {
    case COMM_ERROR:
      m_nOnline = 0;
      // The question is asked, but the connection goes on by itself either
      // way; at shut-down nobody is asked.
      if (m_hClientWnd && !platform::IsShuttingDown())
        MessageBox(GetSafeHwnd(), GBK("网络连接中断，是否继续尝试连接？"), "ZEB",
                   MB_YESNO | MB_ICONQUESTION);
      break;
    case COMM_CONNECTED:
      // A notice from a connection already replaced is stale.
      if (source != (LPARAM)CLinkSocket::Current()) break;
      if (!m_nOnline) {
        QueueLogin();
        m_nOnline = 1;
      }
      break;
    case COMM_THREAD_END:
      if (!platform::IsShuttingDown()) AfxMessageBox(GBK("连接服务器失败!"), MB_OK);
      break;
    case COMM_TIMEOUT: {
      // On line, the connection stays and the login goes again on it.
      // Otherwise the connect step makes a new connection, and its
      // COMM_CONNECTED logs in: a login queued here as well would make two.
      const bool loginAgain = m_nOnline != 0;
      ConnectStep();
      if (loginAgain) QueueLogin();
      break;
    }
    default: break;
  }
}

void CDataReceive::Forward(const char* body, uint32_t length) {
  if (!m_hClientWnd || m_bDestroyed) return;
  // A body's handler may have named another client window meanwhile.
  if (m_pClientRun && m_pClientRun->Target() == m_hClientWnd)
    m_pClientRun->Send(m_nClientMsg, length, (LPARAM)body);
  else ::SendMessage(m_hClientWnd, m_nClientMsg, length, (LPARAM)body);
}

void CDataReceive::ForwardInitialData(const char* body, uint32_t length) {
  m_bSavingTimer = SetTimer(GetSafeHwnd(), LINK_TIMER_SAVING, 1000) != 0;
  Forward(body, length);
  if (m_bSavingTimer) {
    KillTimer(GetSafeHwnd(), LINK_TIMER_SAVING);
    m_bSavingTimer = false;
  }
}

void CDataReceive::Request(const void* body, uint32_t length) {
  if (!m_bDestroyed) AskData(body, length);
}

void CDataReceive::Progress(int percent, const char* text) {
  if (m_hProgressWnd && !m_bDestroyed)
    ::SendMessage(m_hProgressWnd, WM_LINK_PROGRESS, (WPARAM)(intptr_t)percent, (LPARAM)text);
}

void CDataReceive::EndLoginPhase() {
  m_hProgressWnd = nullptr;
  m_nLoginPhase = 0;
}

void CDataReceive::ShowRefusal(const std::string& text) {
  if (!platform::IsShuttingDown() && !m_bDestroyed)
    MessageBox(GetSafeHwnd(), text.c_str(), "ZEB", MB_OK);
}
