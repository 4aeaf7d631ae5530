// The link library's exported facade. It keeps no data of its own: every
// call goes to the link's hidden window. All calls on the user-interface
// thread. Order of use: ChangeReceieveWnd, SetIPPortInfo or SetHostsInfo,
// SetOnLine, AskData for every request, UnLink at the end.
#pragma once
#include <string>

#include "platform/types.h"

struct SCodeInfo;
struct SHisKUnit;

class CClientDataSource {
 public:
  CClientDataSource();
  CClientDataSource(const CClientDataSource& other);
  CClientDataSource& operator=(const CClientDataSource& other);
  virtual ~CClientDataSource();  // UnLink

  void SetIPPortInfo(std::string host, int port, std::string account1, std::string account2);
  void SetHostsInfo(std::string account1, std::string account2, std::string host1, int port1,
                    std::string host2, int port2, std::string host3, int port3, std::string host4,
                    int port4, std::string host5, int port5);
  // Stores the progress window (NULL: none) and connects. Always 0.
  int SetOnLine(HWND progressWindow, DWORD unused);
  int Link(HWND progressWindow, DWORD unused);
  int IsOnline();
  // Queues a copy of the request body (at most 2040 bytes). 1 when queued,
  // 0 when refused.
  int AskData(void* body, DWORD length);
  // Every forwarded body goes to this window with this message.
  void ChangeReceieveWnd(HWND client, DWORD message);
  void SetOffLine();
  int UnLink();
  int GetDayHistoryInfo(SCodeInfo* code, SHisKUnit* units, int& count);
  void DeleteBufferData(int index);
};
