#include "link/client_data_source.h"

#include "link/data_receive.h"

CClientDataSource::CClientDataSource() = default;
CClientDataSource::CClientDataSource(const CClientDataSource&) {}
CClientDataSource& CClientDataSource::operator=(const CClientDataSource&) { return *this; }
CClientDataSource::~CClientDataSource() { UnLink(); }

void CClientDataSource::SetIPPortInfo(std::string host, int port, std::string account1,
                                      std::string account2) {
  CDataReceive::GetInstance()->SetIPPortInfo(host, port, account1, account2);
}

void CClientDataSource::SetHostsInfo(std::string account1, std::string account2, std::string host1,
                                     int port1, std::string host2, int port2, std::string host3,
                                     int port3, std::string host4, int port4, std::string host5,
                                     int port5) {
  const std::string hosts[5] = {host1, host2, host3, host4, host5};
  const int ports[5] = {port1, port2, port3, port4, port5};
  CDataReceive::GetInstance()->SetHostsInfo(account1, account2, hosts, ports);
}

int CClientDataSource::SetOnLine(HWND progressWindow, DWORD unused) {
  return CDataReceive::GetInstance()->SetOnLine(progressWindow, unused);
}

int CClientDataSource::Link(HWND progressWindow, DWORD unused) {
  if (SetOnLine(progressWindow, unused) == 2) {
    UnLink();
    return 0;
  }
  return 1;
}

int CClientDataSource::IsOnline() {
  CDataReceive* window = CDataReceive::Existing();
  return window ? window->IsOnline() : 0;
}

int CClientDataSource::AskData(void* body, DWORD length) {
  return CDataReceive::GetInstance()->AskData(body, length);
}

void CClientDataSource::ChangeReceieveWnd(HWND client, DWORD message) {
  CDataReceive::GetInstance()->ChangeReceieveWnd(client, message);
}

void CClientDataSource::SetOffLine() {
  if (CDataReceive* window = CDataReceive::Existing()) window->SetOffLine();
}

int CClientDataSource::UnLink() {
  CDataReceive::DestroyInstance();
  return 1;
}

int CClientDataSource::GetDayHistoryInfo(SCodeInfo*, SHisKUnit*, int&) { return 1; }

void CClientDataSource::DeleteBufferData(int) {}
