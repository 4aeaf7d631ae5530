// The link's hidden window on the user-interface thread: it keeps the link
// settings, starts and stops the connection, drives the login and the
// initial data, reports progress and forwards packets to the client window.
// One object per process, made on first use.
#pragma once
#include <string>

#include "link/received_body.h"
#include "link/share_array.h"
#include "platform/sync.h"
#include "platform/window.h"

class CDataReceive : public platform::MsgTarget, private quotelink::BodyActions {
 public:
  static CDataReceive* GetInstance();
  static CDataReceive* Existing();
  // Ends the object (going off line). Inside one of its own handlers the
  // memory goes once the handler returns.
  static void DestroyInstance();

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  void SetIPPortInfo(const std::string& host, int port, const std::string& account1,
                     const std::string& account2);
  void SetHostsInfo(const std::string& account1, const std::string& account2,
                    const std::string hosts[5], const int ports[5]);
  int SetOnLine(HWND progressWindow, DWORD unused);
  void SetOffLine();
  int IsOnline() const { return m_nOnline; }
  void ChangeReceieveWnd(HWND client, DWORD message);
  int AskData(const void* body, DWORD length);

 private:
  CDataReceive() = default;
  ~CDataReceive() override;

  int ConnectStep();
  void QueueLogin();
  void OnCommNotify(WPARAM code, LPARAM source);
  void OnDestroy();

  // What a received body asks for.
  void Forward(const char* body, uint32_t length) override;
  void ForwardInitialData(const char* body, uint32_t length) override;
  void Request(const void* body, uint32_t length) override;
  void Progress(int percent, const char* text) override;
  void EndLoginPhase() override;
  void ShowRefusal(const std::string& text) override;

  CShareArray<DWORD, DWORD> m_PendingBuffers;
  platform::CriticalSection m_Lock;
  int m_nOnline = 0;
  quotelink::ReceivedBodyHandler m_Bodies{*this};  // keeps the data version
  HWND m_hClientWnd = nullptr;
  platform::TargetRun* m_pClientRun = nullptr;  // while a batch is delivered
  UINT m_nClientMsg = 0;
  int m_nLoginPhase = 0;
  HWND m_hProgressWnd = nullptr;
  std::string m_strAccount1;
  std::string m_strAccount2;
  std::string m_strHost;
  int m_nPort = 0;
  std::string m_strHosts[5];
  int m_nPorts[5] = {};
  bool m_bHostList = false;

  bool m_bCreated = false;
  bool m_bSavingTimer = false;
  int m_nHandlerDepth = 0;
  bool m_bDeletePending = false;
  bool m_bDestroyed = false;
};
