#include "zeb/core/frame/quote_traffic.h"

#include <algorithm>
#include <cstring>

#include "link/quote_protocol.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/window.h"
#include "sharecode/mythread.h"
#include "zeb/messages.h"
#include "zeb/core/router/cmd_dispatcher.h"
#include "zeb/store/public_store.h"
#include "zeb/core/update/updater_launch.h"

namespace {

using quotelink::ReadU16;

constexpr int kNoticeTextAt = 8;
constexpr int kPushCountAt = 9;
constexpr int kPushHeadSize = 11;
constexpr int kLoginModeQuotesOnly = 1;

bool IsPushTick(uint16_t type) {
  return type == 0x0B00 || type == 0x2B00 || type == 0x3B00 || type == 0x4B00;
}

}  // namespace

CQuoteTraffic::CQuoteTraffic(IQuoteTrafficHost& host, CPublic& store)
    : m_host(host), m_store(store) {}

void CQuoteTraffic::RouteToProgramRouter(const void* body, int length) {
  CCmdDispatcher::GetInstance()->RoutePacket(body, length);
}

void CQuoteTraffic::Drop(uint16_t type, int length, const char* why) {
  WriteTraceLine(TRACE_HERE, 0, "packet 0x%04x of %d bytes dropped: %s\n", type, length, why);
}

LRESULT CQuoteTraffic::OnQuotePacket(const void* body, int length) {
  if (!body || length < 2) {
    Drop(0, length, "no packet type");
    return 0;
  }
  const uint8_t* p = static_cast<const uint8_t*>(body);
  const uint16_t type = ReadU16(p);
  if (type == PKT_SINGLE_QUOTE) {
    if (m_store.GetLoginMode() == kLoginModeQuotesOnly) return -1;
    if (length < int(kQuoteListHeadSize)) {
      Drop(type, length, "shorter than its head");
      return -1;
    }
    if (HWND trade = m_host.TradeWindow()) {
      STradeQuotePacket packet{body, length};
      ::SendMessage(trade, WM_TRADE_QUOTE, 3, reinterpret_cast<LPARAM>(&packet));
    }
    return 1;
  }
  if (type == PKT_NOTICE) return OnNotice(p, length);
  if (type == PKT_INIT_DATA) {
    // The router loads the table into the store; the index is built from it.
    route(body, length);
    m_host.RebuildKeyboardIndex();
    return 1;
  }
  if (type == PKT_TRADE_QUOTES) return OnTradePrices(body, length);
  if (type == PKT_ALARM_QUOTES) return OnAlarmQuotes(body, length);
  if (IsPushTick(type)) {
    if (length < kPushHeadSize) {
      Drop(type, length, "shorter than its head");
      return 1;
    }
    if (ReadU16(p + kPushCountAt) == 0) return 1;  // nothing pushed
  }
  route(body, length);
  return 1;
}

LRESULT CQuoteTraffic::OnNotice(const uint8_t* body, int length) {
  if (length < kNoticeTextAt) {
    Drop(PKT_NOTICE, length, "shorter than its head");
    return 1;
  }
  const int textLength = static_cast<int16_t>(ReadU16(body + 2));
  if (textLength > length - kNoticeTextAt) {
    Drop(PKT_NOTICE, length, "text longer than the body");
    return 1;
  }
  m_notice = SServerNotice();
  if (textLength <= 0) return 1;
  const std::string text(reinterpret_cast<const char*>(body + kNoticeTextAt), size_t(textLength));
  m_notice = ReadServerNotice(text, programDir ? programDir() : m_store.GetAppDir(), now());
  return 1;
}

LRESULT CQuoteTraffic::OnTradePrices(const void* body, int length) {
  if (m_store.GetLoginMode() == kLoginModeQuotesOnly) return -1;
  if (!ReadQuoteList(body, size_t(length), &m_packet)) {
    Drop(PKT_TRADE_QUOTES, length, "count past the body");
    return 0;
  }
  if (m_packet.count == 0) return 0;
  TradePriceMap prices;
  const double unit = CPublic::GetPriceUnit();
  for (const SQuoteUnit& q : m_packet.records) {
    const int32_t code = q.code.code;  // a packed field: read by value
    prices[code] = double(q.last) / unit;
  }
  if (HWND trade = m_host.TradeWindow())
    ::SendMessage(trade, WM_TRADE_PRICES, reinterpret_cast<WPARAM>(&prices), 0);
  return 1;
}

LRESULT CQuoteTraffic::OnAlarmQuotes(const void* body, int length) {
  if (!ReadQuoteList(body, size_t(length), &m_packet)) {
    Drop(PKT_ALARM_QUOTES, length, "count past the body");
    return 0;
  }
  if (m_packet.count == 0) return 0;
  m_alarmQuotes = m_packet.records;
  return 1;
}

LRESULT CQuoteTraffic::OnQuoteRequest(WPARAM kind, const void* data) {
  switch (kind) {
    case kRequestItem: {
      const auto* code = static_cast<const SCodeInfo*>(data);
      if (!code) return 0;
      SCodeInfo key;
      std::memcpy(static_cast<void*>(&key), code, sizeof key);
      if (key.market == 0 && key.code == 0) return 0;
      m_host.SelectCode(key);
      if (m_store.GetLoginMode() != kLoginModeQuotesOnly)
        if (HWND trade = m_host.TradeWindow())
          ::SendMessage(trade, WM_TRADE_QUOTE, 2, LPARAM(key.code));
      return 1;
    }
    case kRequestQuoteData: {
      if (!data) return 0;
      int32_t length = 0;
      std::memcpy(&length, data, sizeof length);
      if (length < 0) return 0;
      m_host.AskData(static_cast<const uint8_t*>(data) + 4, length);
      return 1;
    }
    case kRequestCommand:
      if (data) m_host.RunTypedCommand(static_cast<const char*>(data));
      return 1;
    case kRequestBlock:
      if (data) m_host.OpenBlock(static_cast<const char*>(data));
      return 1;
    case kRequestFormula:
      if (data) m_host.ShowIndicator(static_cast<const char*>(data));
      return 1;
    default: return 1;
  }
}

int CQuoteTraffic::SendAlarmRequest() {
  const std::vector<SPreAlrmUnit>& alarms = m_store.GetAlarmList();
  const int count = std::min(int(alarms.size()), kMaxCodesPerRequest);
  if (count <= 0) return 0;
  std::vector<SCodeInfo> codes(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    codes[size_t(i)] = SCodeInfo{alarms[size_t(i)].market, alarms[size_t(i)].code};
  const std::vector<uint8_t> request = BuildCodeRequest(
      PKT_ALARM_QUOTES, kAllMarketsAlt, uint16_t(CPublic::GetRequestTag()), codes.data(), count);
  m_store.SendRequest(request.data(), int(request.size()), kRequestQuoteData);
  return count;
}

int CQuoteTraffic::LaunchUpdater(int flag) {
  if (flag == 1) {
    if (!m_notice.text.empty()) {
      const int answer = showNotice ? showNotice(m_notice.updateFlag, m_notice.text) : IDCANCEL;
      if (answer != IDOK) return 0;
    }
    if (m_notice.updateFlag == 0) return 0;
  }
  const bool started = startUpdater ? startUpdater(flag) : ::LaunchUpdater(flag);
  if (!started) {
    AfxMessageBox(GBK("启动自动更新程序失败！"), MB_OK);
    return 0;
  }
  return 1;
}
