#include "link/received_body.h"

#include <atomic>

#include "link/link_trace.h"
#include "link/quote_protocol.h"
#include "platform/gbk.h"

namespace quotelink {
namespace {

// Set until the process has seen its first data packet.
std::atomic<bool> g_awaitingFirstData{true};

}  // namespace

void ResetFirstDataFlagForTests() { g_awaitingFirstData.store(true); }

bool ShouldForward(const char* body, uint32_t length) {
  if (length < 4) return false;
  uint16_t type = ReadU16(body);
  if (type == PKT_INIT_DATA || type == PKT_NOTICE) return true;
  return ReadU16(body + 2) <= kMaxForwardedTag;
}

std::string LoginReplyText(const char* body, uint32_t length) {
  if (length < 8 || length <= kLoginReplyTextOffset) return std::string();
  uint32_t declared = ReadU32(body + 4);
  uint32_t within = length - (uint32_t)kLoginReplyTextOffset;
  uint32_t take = declared < within ? declared : within;
  const char* text = body + kLoginReplyTextOffset;
  uint32_t n = 0;
  while (n < take && text[n] != 0) ++n;
  return std::string(text, n);
}

void ReceivedBodyHandler::RequestInitialData() {
  if (initialDataPending_) return;
  initialDataPending_ = true;
  actions_.Progress(30, GBK("开始请求初始化数据"));
  ShortRequest request = BuildInitDataRequest();
  actions_.Request(request.data(), (uint32_t)request.size());
}

void ReceivedBodyHandler::TraceDropped(const char* why, uint32_t length) {
  if (!dropped_.Take()) return;
  LINK_TRACE("dropped a body of %u byte(s): %s (%llu dropped so far)", length, why,
             (unsigned long long)dropped_.Count());
}

void ReceivedBodyHandler::Handle(const char* body, uint32_t length) {
  if (length < 2) {
    TraceDropped("no packet type", length);
    return;
  }
  uint16_t type = ReadU16(body);
  // Read before it is taken: once cleared, a body costs no locked write.
  if (type != PKT_PRE_DATA && type != PKT_NOTICE &&
      g_awaitingFirstData.load(std::memory_order_relaxed) && g_awaitingFirstData.exchange(false))
    actions_.Progress(40, GBK("开始接收数据"));
  switch (type) {
    case PKT_NOTICE:
      actions_.Forward(body, length);
      RequestInitialData();
      break;
    case PKT_INIT_DATA: HandleInitialData(body, length); break;
    case PKT_LOGIN: HandleLoginReply(body, length); break;
    default:
      if (ShouldForward(body, length)) actions_.Forward(body, length);
      break;
  }
}

void ReceivedBodyHandler::HandleLoginReply(const char* body, uint32_t length) {
  if (length < 8) {
    TraceDropped("a login reply too short to read", length);
    return;
  }
  if (ReadU32(body + 4) == 0) {
    RequestInitialData();
    return;
  }
  // The login is refused; the connection stays and nothing more is asked.
  std::string text = LoginReplyText(body, length);
  actions_.ShowRefusal(text);
  actions_.Progress(-1, text.c_str());
}

void ReceivedBodyHandler::HandleInitialData(const char* body, uint32_t length) {
  initialDataPending_ = false;  // answered, even when the answer is unusable
  // The pointer slots are left alone: a 4-byte slot cannot hold an address
  // here, and readers find the parts from the counts.
  if (length < kInitDataHeadSize) {
    TraceDropped("initial data shorter than its head", length);
  } else {
    uint32_t version = ReadU32(body + 4);
    if (version > keptVersion_) {
      keptVersion_ = version;
      actions_.Progress(50, GBK("开始将初始化数据存盘..."));
      actions_.ForwardInitialData(body, length);
    }
  }
  actions_.Progress(100, GBK("完成初始化过程"));
  actions_.EndLoginPhase();
}

}  // namespace quotelink
