#include "sim/quote-server/quote_server.h"

#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>

#include "link/link_socket.h"
#include "sim/quote-server/kline_replies.h"
#include "link/quote_frame.h"
#include "link/quote_protocol.h"
#include "link/socket_io.h"
#include "platform/socket.h"
#include "sim/market/demo_market.h"
#include "sim/quote-server/info_items.h"
#include "sim/quote-server/quote_replies.h"
#include "sim/serve/traffic_log.h"

namespace sim {

using namespace quotelink;

namespace {
// Requests are short: a small read-ahead per client is enough.
constexpr size_t kClientReadAhead = 4096;
// The notice's text follows its type, length and pointer slot.
constexpr size_t kNoticeTextOffset = 8;
}  // namespace

bool QuoteSession::WriteRaw(const std::string& bytes) {
  std::lock_guard<std::mutex> lock(writeMutex_);
  return !closed_ && platform::SendAll(fd_, bytes.data(), bytes.size(), 5000);
}

void QuoteSession::Close() {
  std::lock_guard<std::mutex> lock(writeMutex_);
  closed_ = true;
}

bool QuoteSession::Reply(const std::string& body) {
  const QuoteServerOptions& o = server_.options_;
  if (o.replyDelayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(o.replyDelayMs));
  std::string frame = EncodeFrame(body.data(), body.size());
  if (!o.splitWrites) return WriteRaw(frame);
  // Split inside the header so the reader must put the frame together.
  std::lock_guard<std::mutex> lock(writeMutex_);
  if (closed_) return false;
  size_t cut = frame.size() < 5 ? frame.size() : 5;
  if (!platform::SendAll(fd_, frame.data(), cut, 5000)) return false;
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  return platform::SendAll(fd_, frame.data() + cut, frame.size() - cut, 5000);
}

void QuoteSession::Drop() { shutdown(fd_, SHUT_RDWR); }

QuoteServer::QuoteServer(QuoteServerOptions options)
    : options_(std::move(options)),
      walk_(options_.seed),
      charts_(walk_),
      connections_("sim_quote", [this](int fd, int number) { Serve(fd, number); }) {
  answerKeepAlive_ = options_.answerKeepAlive;
  table_ = options_.marketTable.empty() ? BuildDemoMarketTable() : options_.marketTable;
  if (options_.dataVersion != 0 && table_.size() >= 8) WriteU32(&table_[4], options_.dataVersion);
  walk_.Load(table_);
  RegisterKLineReplies(*this, TradeDate());
}

uint32_t QuoteServer::TradeDate() const { return table_.size() >= 8 ? ReadU32(&table_[4]) : 0; }

QuoteServer::~QuoteServer() { Stop(); }

bool QuoteServer::Start() {
  port_ = connections_.Start(options_.port);
  if (port_ < 0) return false;
  if (options_.walkIntervalMs > 0) walkThread_ = std::thread([this] { WalkLoop(); });
  return true;
}

void QuoteServer::Stop() {
  if (stopping_.exchange(true)) return;
  { std::lock_guard<std::mutex> lock(stopMutex_); }
  stopCv_.notify_all();
  if (walkThread_.joinable()) walkThread_.join();
  connections_.Stop();
}

void QuoteServer::RegisterHandler(uint16_t type, RequestHandler handler) {
  std::lock_guard<std::mutex> lock(mutex_);
  handlers_[type] = std::move(handler);
}

std::vector<ReceivedRequest> QuoteServer::Received() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::vector<ReceivedRequest>(received_.begin(), received_.end());
}

size_t QuoteServer::CountReceived(uint16_t type) const {
  std::lock_guard<std::mutex> lock(mutex_);
  size_t n = 0;
  for (const auto& r : received_) n += r.type == type;
  return n;
}

bool QuoteServer::WaitReceived(uint16_t type, size_t count, int timeoutMs) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return received_cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
    size_t n = 0;
    for (const auto& r : received_) n += r.type == type;
    return n >= count;
  });
}

void QuoteServer::SendToAll(const std::string& body) {
  std::vector<std::shared_ptr<QuoteSession>> sessions;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    sessions = sessions_;
  }
  for (auto& s : sessions) s->Reply(body);
}

bool QuoteServer::SendTo(int connection, const std::string& body) {
  std::shared_ptr<QuoteSession> target;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& s : sessions_)
      if (s->number_ == connection) target = s;
  }
  return target && target->Reply(body);
}

void QuoteServer::PushQuoteLists() {
  for (const auto& [connection, body] : lists_.Pushes()) SendTo(connection, body);
}

void QuoteServer::PushChartFeeds() {
  for (const auto& [connection, body] : charts_.Pushes()) SendTo(connection, body);
}

void QuoteServer::DropAll() { connections_.ShutdownAll(); }

std::string QuoteServer::LoginReply(uint16_t tag) const {
  const std::string& text = options_.refuseText;
  // The text length counts the terminating zero.
  uint32_t length = text.empty() ? 0 : (uint32_t)text.size() + 1;
  std::string body(kLoginReplyTextOffset, '\0');
  WriteU16(&body[0], PKT_LOGIN);
  WriteU16(&body[2], tag);
  WriteU32(&body[4], length);
  if (length) {
    body += text;
    body.push_back('\0');
  }
  return body;
}

std::string QuoteServer::KeepAliveReply(uint16_t tag) {
  std::string body(4, '\0');
  WriteU16(&body[0], PKT_KEEPALIVE);
  WriteU16(&body[2], tag);
  return body;
}

std::string QuoteServer::Notice(const std::string& text) {
  const size_t length = text.size() < kMaxNoticeText ? text.size() : kMaxNoticeText;
  std::string body(kNoticeTextOffset, '\0');
  WriteU16(&body[0], PKT_NOTICE);
  WriteU16(&body[2], (uint16_t)length);
  body.append(text, 0, length);
  body.push_back('\0');
  return body;
}

std::string QuoteServer::InitDataReply(uint16_t tag) const {
  std::string body = table_;
  if (body.size() >= 4) WriteU16(&body[2], tag);
  return body;
}

void QuoteServer::Serve(int fd, int number) {
  auto session = std::make_shared<QuoteSession>(*this, fd, number);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    sessions_.push_back(session);
  }
  if (options_.verbose)
    ProgramLog().Request("sim_quote: client " + std::to_string(number) + " connected");
  ReadLoop(*session);
  if (options_.verbose)
    ProgramLog().Request("sim_quote: client " + std::to_string(number) + " gone");
  {
    std::lock_guard<std::mutex> lock(mutex_);
    std::erase(sessions_, session);
  }
  lists_.Forget(number);
  charts_.Forget(number);
  // A push to every client may still hold the session: it writes no more.
  session->Close();
}

void QuoteServer::WalkLoop() {
  std::unique_lock<std::mutex> lock(stopMutex_);
  long steps = 0;
  while (!stopping_) {
    stopCv_.wait_for(lock, std::chrono::milliseconds(options_.walkIntervalMs));
    if (stopping_) break;
    walk_.Step();
    const bool lists = options_.pushEveryWalks > 0 && ++steps % options_.pushEveryWalks == 0;
    // Pushes write to sockets: not while Stop waits for this lock.
    lock.unlock();
    if (lists) PushQuoteLists();
    PushChartFeeds();
    lock.lock();
  }
}

namespace {
// Reads requests with an optional pause before each read (a slow reader).
class SlowSource : public ByteSource {
 public:
  SlowSource(ByteSource& inner, int pauseMs) : inner_(inner), pauseMs_(pauseMs) {}
  long Read(void* buffer, size_t capacity) override {
    if (pauseMs_ > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs_));
    return inner_.Read(buffer, capacity);
  }

 private:
  ByteSource& inner_;
  int pauseMs_;
};

}  // namespace

void QuoteServer::ReadLoop(QuoteSession& session) {
  if (!options_.noticeText.empty()) session.Reply(Notice(options_.noticeText));
  SocketSource socketSource(session.Fd(), neverStop_);
  SlowSource source(socketSource, options_.slowReaderMs);
  // Requests are short: a small read-ahead, and no frame longer than the
  // link ever sends, so a client cannot make the simulator hold much.
  FrameReader reader(kClientReadAhead, CLinkSocket::kMaxRequestBody);
  for (;;) {
    FrameReader::Result result = reader.Next(source);
    if (result == FrameReader::Result::kEmpty) continue;
    if (result == FrameReader::Result::kTooLong)
      ProgramLog().Error("sim_quote: client " + std::to_string(session.number_) +
                         " sent a frame longer than " +
                         std::to_string(CLinkSocket::kMaxRequestBody) + " bytes; closed");
    if (result != FrameReader::Result::kBody) break;
    ReceivedRequest request;
    request.connection = session.number_;
    request.body.assign(reader.Body(), reader.BodyLength());
    if (request.body.size() >= 2) request.type = ReadU16(request.body.data());
    if (request.body.size() >= 6) request.tag = ReadU16(request.body.data() + 4);
    if (options_.verbose) {
      char line[96];
      std::snprintf(line, sizeof line, "sim_quote: request type 0x%04X tag %u, %zu bytes",
                    unsigned(request.type), unsigned(request.tag), request.body.size());
      ProgramLog().Request(line);
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (received_.size() == kKeptRequests) received_.pop_front();
      received_.push_back(request);
    }
    received_cv_.notify_all();
    Dispatch(session, request);
  }
}

void QuoteServer::Dispatch(QuoteSession& session, const ReceivedRequest& request) {
  RequestHandler handler;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = handlers_.find(request.type);
    if (it == handlers_.end()) it = handlers_.find(request.type & 0xFF00);
    if (it != handlers_.end()) handler = it->second;
  }
  if (handler) {
    handler(session, request);
    return;
  }
  switch (request.type) {
    case PKT_LOGIN: session.Reply(LoginReply(request.tag)); break;
    case PKT_INIT_DATA: {
      session.Reply(InitDataReply(request.tag));
      const std::string& fault = options_.faultAfterInitData;
      if (fault == "bad-marker") {
        session.WriteRaw(std::string("\x00\x00\x00\x04\x0A\x0B\x0A\x0A\x00\x00\x00\x00", 12));
      } else if (fault == "zero-length") {
        session.WriteRaw(std::string("\x00\x00\x00\x00\x0A\x0A\x0A\x0A", 8));
      } else if (fault == "drop") {
        session.Drop();
      }
      break;
    }
    case PKT_KEEPALIVE:
      if (answerKeepAlive_) session.Reply(KeepAliveReply(request.tag));
      break;
    case kQuoteListType: {
      const std::string reply = lists_.Answer(session.number_, request.body);
      if (!reply.empty()) session.Reply(reply);
      break;
    }
    case kTradeQuotesType:
    case kAlarmQuotesType: {
      const std::string reply = lists_.AnswerList(request.type, request.body);
      if (!reply.empty()) session.Reply(reply);
      break;
    }
    case kInfoTextType: {
      const std::string reply = AnswerInfoRequest(request.body, DayClock(TradeDate()));
      if (!reply.empty()) session.Reply(reply);
      break;
    }
    case kSingleQuoteType: {
      const std::string reply = lists_.AnswerSingle(request.body);
      if (!reply.empty()) session.Reply(reply);
      break;
    }
    default:
      if (ChartFeeds::Serves(request.type)) {
        for (const std::string& reply : charts_.Answer(session.number_, request.body))
          session.Reply(reply);
      }
      break;  // no answer for a type nobody registered
  }
}

}  // namespace sim
