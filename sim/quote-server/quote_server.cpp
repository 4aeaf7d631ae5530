#include "sim/quote-server/quote_server.h"

#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "link/quote_frame.h"
#include "link/quote_protocol.h"
#include "link/socket_io.h"
#include "platform/socket.h"
#include "sim/market/demo_market.h"

namespace sim {

using namespace quotelink;

QuoteSession::~QuoteSession() {
  if (fd_ >= 0) close(fd_);
}

bool QuoteSession::WriteRaw(const std::string& bytes) {
  std::lock_guard<std::mutex> lock(writeMutex_);
  return platform::SendAll(fd_, bytes.data(), bytes.size(), 5000);
}

bool QuoteSession::Reply(const std::string& body) {
  const QuoteServerOptions& o = server_.options_;
  if (o.replyDelayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(o.replyDelayMs));
  std::string frame = EncodeFrame(body.data(), body.size());
  if (!o.splitWrites) return WriteRaw(frame);
  // Split inside the header so the reader must put the frame together.
  std::lock_guard<std::mutex> lock(writeMutex_);
  size_t cut = frame.size() < 5 ? frame.size() : 5;
  if (!platform::SendAll(fd_, frame.data(), cut, 5000)) return false;
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  return platform::SendAll(fd_, frame.data() + cut, frame.size() - cut, 5000);
}

void QuoteSession::Drop() { shutdown(fd_, SHUT_RDWR); }

QuoteServer::QuoteServer(QuoteServerOptions options)
    : options_(std::move(options)), walk_(options_.seed) {
  answerKeepAlive_ = options_.answerKeepAlive;
  table_ = options_.marketTable.empty() ? BuildDemoMarketTable() : options_.marketTable;
  if (options_.dataVersion != 0 && table_.size() >= 8) WriteU32(&table_[4], options_.dataVersion);
  walk_.Load(table_);
}

QuoteServer::~QuoteServer() { Stop(); }

bool QuoteServer::Start() {
  listener_ = platform::ListenLoopback(options_.port, &port_);
  if (listener_ < 0) return false;
  acceptThread_ = std::thread([this] { AcceptLoop(); });
  if (options_.walkIntervalMs > 0) walkThread_ = std::thread([this] { WalkLoop(); });
  return true;
}

void QuoteServer::Stop() {
  if (stopping_.exchange(true)) return;
  {
    std::lock_guard<std::mutex> lock(stopMutex_);
  }
  stopCv_.notify_all();
  if (acceptThread_.joinable()) acceptThread_.join();
  if (walkThread_.joinable()) walkThread_.join();
  std::vector<std::shared_ptr<QuoteSession>> sessions;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    sessions = sessions_;
  }
  for (auto& s : sessions) s->Drop();
  for (auto& s : sessions)
    if (s->reader_.joinable()) s->reader_.join();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    sessions_.clear();
  }
  if (listener_ >= 0) platform::CloseSocket(listener_);
  listener_ = -1;
}

void QuoteServer::RegisterHandler(uint16_t type, RequestHandler handler) {
  std::lock_guard<std::mutex> lock(mutex_);
  handlers_[type] = std::move(handler);
}

std::vector<ReceivedRequest> QuoteServer::Received() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return received_;
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

void QuoteServer::DropAll() {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto& s : sessions_) s->Drop();
}

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

std::string QuoteServer::InitDataReply(uint16_t tag) const {
  std::string body = table_;
  if (body.size() >= 4) WriteU16(&body[2], tag);
  return body;
}

void QuoteServer::AcceptLoop() {
  while (!stopping_) {
    int fd = platform::AcceptClient(listener_, 50);
    if (fd < 0) continue;
    int number = ++accepted_;
    auto session = std::make_shared<QuoteSession>(*this, fd, number);
    std::vector<std::shared_ptr<QuoteSession>> finished;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      for (auto it = sessions_.begin(); it != sessions_.end();) {
        if ((*it)->done_) {
          finished.push_back(*it);
          it = sessions_.erase(it);
        } else {
          ++it;
        }
      }
      sessions_.push_back(session);
    }
    for (auto& s : finished)
      if (s->reader_.joinable()) s->reader_.join();
    if (options_.verbose) std::printf("sim_quote: client connected\n");
    session->reader_ = std::thread([this, session] { ReadLoop(session); });
  }
}

void QuoteServer::WalkLoop() {
  std::unique_lock<std::mutex> lock(stopMutex_);
  while (!stopping_) {
    stopCv_.wait_for(lock, std::chrono::milliseconds(options_.walkIntervalMs));
    if (!stopping_) walk_.Step();
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

// The server takes no part in the link's stop signal; its own Drop ends
// a reader with a shutdown.
const StopSignal& NeverStop() {
  static StopSignal never;
  return never;
}
}  // namespace

void QuoteServer::ReadLoop(std::shared_ptr<QuoteSession> session) {
  if (!options_.noticeText.empty()) {
    std::string notice(kRequestHeaderSize, '\0');
    WriteU16(&notice[0], PKT_NOTICE);
    notice += options_.noticeText;
    notice.push_back('\0');
    session->Reply(notice);
  }
  SocketSource socketSource(session->Fd(), NeverStop());
  SlowSource source(socketSource, options_.slowReaderMs);
  FrameReader reader;
  for (;;) {
    FrameReader::Result result = reader.Next(source);
    if (result == FrameReader::Result::kEmpty) continue;
    if (result != FrameReader::Result::kBody) break;
    ReceivedRequest request;
    request.connection = session->number_;
    request.body.assign(reader.Body(), reader.BodyLength());
    if (request.body.size() >= 2) request.type = ReadU16(request.body.data());
    if (request.body.size() >= 6) request.tag = ReadU16(request.body.data() + 4);
    if (options_.verbose)
      std::printf("sim_quote: request type 0x%04X tag %u, %zu bytes\n", request.type, request.tag,
                  request.body.size());
    {
      std::lock_guard<std::mutex> lock(mutex_);
      received_.push_back(request);
    }
    received_cv_.notify_all();
    Dispatch(*session, request);
  }
  if (options_.verbose) std::printf("sim_quote: client gone\n");
  session->done_ = true;
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
    case PKT_LOGIN:
      session.Reply(LoginReply(request.tag));
      break;
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
      if (answerKeepAlive_) session.Reply(request.body.substr(0, kRequestHeaderSize));
      break;
    default:
      break;  // no answer for a type nobody registered
  }
}

}  // namespace sim
