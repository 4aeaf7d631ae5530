#include "trade/host/trade_exports.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/dynlib.h"
#include "trade/core/trade_session.h"
#include "trade/ui/app/trade_app.h"

namespace {
std::string Text(const char* text) { return text ? text : ""; }
}  // namespace

int DllMain(void*, unsigned long reason, void*) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  return TheTradeApp().StartAtLoad() ? TRUE : FALSE;
}

HWND InitDialog(HWND hostPane) { return TheTradeApp().InitDialog(hostPane); }

int DestoryDialog() { return TheTradeApp().DestroyDialog(); }

int MoveDlg(RECT rect) { return TheTradeApp().MoveDialog(rect); }

int Link2Server(HWND notifyWnd, UINT notifyMsg, const char* userId, const char* password,
                const char* host, int port) {
  STradeLinkRequest r;
  r.notifyWnd = notifyWnd;
  r.notifyMsg = notifyMsg;
  r.userId = Text(userId);
  r.password = Text(password);
  r.server = {Text(host), port};
  TheTradeApp().Link(r);
  return 1;
}

int LinkTradeServer(HWND notifyWnd, UINT notifyMsg, const char* userId, const char* password,
                    BOOL roundRobin, const char* host1, int port1, const char* host2, int port2,
                    const char* host3, int port3, const char* host4, int port4, const char* host5,
                    int port5) {
  STradeLinkRequest r;
  r.notifyWnd = notifyWnd;
  r.notifyMsg = notifyMsg;
  r.userId = Text(userId);
  r.password = Text(password);
  // The low byte of the flag, as the host passes a BOOL.
  r.roundRobin = static_cast<uint8_t>(roundRobin) != 0;
  r.servers = {{Text(host1), port1},
               {Text(host2), port2},
               {Text(host3), port3},
               {Text(host4), port4},
               {Text(host5), port5}};
  r.server = r.servers[0];
  r.useServerList = true;
  TheTradeApp().Link(r);
  return 1;
}

int InitBalanceServer(const char* host, int port, int value, void* buffer, int size) {
  if (!host || !buffer || !TheTradeApp().EnsureStarted()) return -1;
  // The reply lands in a buffer of the largest size first: the caller's
  // buffer is written only when the whole reply fits in it.
  std::vector<unsigned char> reply(kBalanceMaxReply + 4);
  if (TheTradeApp().Balance().Query(host, port, value, reply.data()) != 0) return -1;
  uint32_t length = 0;
  std::memcpy(&length, reply.data(), sizeof length);
  if (size < 0 || static_cast<uint64_t>(length) + 4 > static_cast<uint64_t>(size)) return -1;
  std::memcpy(buffer, reply.data(), length + 4);
  return 0;
}

void UnLink() { TheTradeApp().UnLink(); }

int KeyMessage(int key, int data) { return TheTradeApp().PostKey(key, data); }

int QuickOrder(int, int, int, int, int) { return 1; }

BYTE GetUserInfo(std::string* out) {
  if (!out) return 0;
  CTradeSession::GetInstance()->GetUserInfo(out);
  return 1;
}
