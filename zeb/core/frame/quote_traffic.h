// The main frame's quote traffic, apart from its window: every packet the
// link receives comes in here (WM_QUOTE_PACKET) and is dispatched by its
// type; every request of the program leaves through here
// (WM_QUOTE_REQUEST); the server notice is kept and offered with the
// update; the alarm quotes are polled.
//
// Sound behaviour kept here: each handler checks the body's length before
// it reads a count and never writes into the body (it is the link's
// buffer, lent for the call); a short body is dropped with a trace line.
// The alarm request is capped to what the link sends in one frame.
#pragma once
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "platform/types.h"
#include "zeb/core/frame/server_notice.h"
#include "zeb/store/code_request.h"
#include "zeb/store/store_records.h"
#include "zeb/tables/packets/quote_packets.h"

class CPublic;

constexpr uint16_t PKT_SINGLE_QUOTE = 0x0800;
constexpr uint16_t PKT_NOTICE = 0x0C00;
constexpr UINT kAlarmTimer = 1000;
constexpr UINT kAlarmPeriodMs = 10000;

// What the traffic hands on to the rest of the program besides the
// packets, which go to the command router (it loads the market table into
// the store and passes every other packet to the active view).
class IQuoteTrafficHost {
 public:
  virtual ~IQuoteTrafficHost() = default;
  virtual void RebuildKeyboardIndex() = 0;
  // The trading window; null while there is none.
  virtual HWND TradeWindow() = 0;
  // The quote link; false when there is none or it refused the request.
  virtual bool AskData(const void* body, int length) = 0;
  virtual void SelectCode(SCodeInfo code) = 0;
  virtual void RunTypedCommand(const char* text) = 0;
  virtual void OpenBlock(const char* name) = 0;
  virtual void ShowIndicator(const char* formulaName) = 0;
};

class CQuoteTraffic {
 public:
  CQuoteTraffic(IQuoteTrafficHost& host, CPublic& store);

  // WM_QUOTE_PACKET (wParam the length, lParam the body).
  LRESULT OnQuotePacket(const void* body, int length);
  // WM_QUOTE_REQUEST (wParam the kind, lParam the data).
  LRESULT OnQuoteRequest(WPARAM kind, const void* data);
  // Builds and sends the alarm-list request; the number of items asked for.
  int SendAlarmRequest();
  // Offers the notice and the update (flag 1) or starts the updater at once
  // (flag 0); 1 when the updater was started.
  int LaunchUpdater(int flag);

  const SServerNotice& Notice() const { return m_notice; }
  const std::vector<SQuoteUnit>& AlarmQuotes() const { return m_alarmQuotes; }

  // Seams: the clock and program folder the notice is read with, the
  // notice dialog and the updater start.
  std::function<std::time_t()> now = [] { return std::time(nullptr); };
  std::function<std::string()> programDir;
  std::function<int(int mode, const std::string& text)> showNotice;
  std::function<bool(int flag)> startUpdater;
  // Where packets go: the program's command router, looked up on each
  // packet (it is released when the frame closes); tests record instead.
  std::function<void(const void* body, int length)> route = RouteToProgramRouter;

  static void RouteToProgramRouter(const void* body, int length);

 private:
  LRESULT OnNotice(const uint8_t* body, int length);
  LRESULT OnTradePrices(const void* body, int length);
  LRESULT OnAlarmQuotes(const void* body, int length);
  void Drop(uint16_t type, int length, const char* why);

  IQuoteTrafficHost& m_host;
  CPublic& m_store;
  SServerNotice m_notice;
  std::vector<SQuoteUnit> m_alarmQuotes;
  SQuotePacket m_packet;  // reused by every quote-list read
};
