#include "trade_sim.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "platform/gbk.h"
#include "platform/socket.h"
#include "sim/serve/traffic_log.h"
#include "trade/core/sha1_digest.h"
#include "trade/core/trade_messages.h"
#include "trade/quellan/trade_framer.h"

namespace {

using Clock = std::chrono::steady_clock;

// Requests are a few hundred bytes: a client cannot make the simulator
// hold more than this for one.
constexpr size_t kMaxRequest = 64 * 1024;

// Tags whose values the log line does not show.
bool IsSecretTag(int tag) { return tag == 91 || tag == 9107 || tag == 9415 || tag == 9416; }

// The request's own fields: those between the session (336) and the
// checksum (1010).
std::string BodyText(const STradeSimRequest& request) {
  std::string text;
  bool body = false;
  for (const auto& [tag, value] : request.fields) {
    if (tag == 1010) break;
    if (body) text += " " + std::to_string(tag) + "=" + (IsSecretTag(tag) ? "*" : value);
    if (tag == 336) body = true;
  }
  return text;
}

}  // namespace

// One client connection while it is served; the descriptor belongs to the
// connection server.
struct CTradeSimServer::Link {
  int fd = -1;
  SSL* ssl = nullptr;
  std::mutex write;
  std::atomic<bool> open{true};
  ~Link() {
    if (ssl) SSL_free(ssl);
  }
};

CTradeSimServer::CTradeSimServer(STradeSimOptions options)
    : options_(std::move(options)),
      digest_(PasswordDigest(options_.password)),
      account_(options_.today, options_.fundsPassword, options_.payChannel),
      connections_("sim_trade", [this](int fd, int) { Serve(fd); }) {}

std::string STradeSimRequest::Field(int tag) const {
  for (const auto& f : fields)
    if (f.first == tag) return f.second;
  return "";
}

CTradeSimServer::~CTradeSimServer() {
  Stop();
  if (ctx_) SSL_CTX_free(static_cast<SSL_CTX*>(ctx_));
}

void CTradeSimServer::Log(const std::string& line) {
  if (options_.log) sim::ProgramLog().Request("sim_trade: " + line);
}

int CTradeSimServer::Start(int port) {
  if (options_.tls) {
    SSL_CTX* ctx = SSL_CTX_new(TLS_server_method());
    if (!ctx) return -1;
    ctx_ = ctx;
    if (SSL_CTX_use_certificate_chain_file(ctx, options_.certFile.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(ctx, options_.keyFile.c_str(), SSL_FILETYPE_PEM) != 1 ||
        SSL_CTX_load_verify_locations(ctx, options_.caFile.c_str(), nullptr) != 1) {
      sim::ProgramLog().Error("sim_trade: cannot load the server certificate, key or CA");
      return -1;
    }
    SSL_CTX_set_verify(ctx,
                       options_.requireClientCert
                           ? SSL_VERIFY_PEER | SSL_VERIFY_FAIL_IF_NO_PEER_CERT
                           : SSL_VERIFY_NONE,
                       nullptr);
  }
  running_ = true;
  port_ = connections_.Start(port);
  if (port_ < 0) return -1;
  Log("listening on 127.0.0.1:" + std::to_string(port_) + (options_.tls ? " (TLS)" : " (plain)"));
  return port_;
}

void CTradeSimServer::Stop() {
  running_ = false;
  connections_.Stop();
}

void CTradeSimServer::DropLinks() { connections_.ShutdownAll(); }

std::vector<std::string> CTradeSimServer::Requests() const {
  std::lock_guard<std::recursive_mutex> g(lock_);
  std::vector<std::string> types;
  for (const STradeSimRequest& r : requests_) types.push_back(r.msgType);
  return types;
}

std::vector<STradeSimRequest> CTradeSimServer::RequestLog() const {
  std::lock_guard<std::recursive_mutex> g(lock_);
  return std::vector<STradeSimRequest>(requests_.begin(), requests_.end());
}

bool CTradeSimServer::Write(Link& link, const std::string& bytes) {
  std::lock_guard<std::mutex> g(link.write);
  if (!link.open) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    long n;
    if (link.ssl)
      n = SSL_write(link.ssl, bytes.data() + done, static_cast<int>(bytes.size() - done));
    else n = ::send(link.fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

void CTradeSimServer::Serve(int fd) {
  auto link = std::make_unique<Link>();
  link->fd = fd;
  timeval tv{5, 0};
  ::setsockopt(link->fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  ::setsockopt(link->fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
  if (ctx_) {
    link->ssl = SSL_new(static_cast<SSL_CTX*>(ctx_));
    SSL_set_fd(link->ssl, link->fd);
    if (SSL_accept(link->ssl) != 1) {
      Log("TLS handshake refused");
      link->open = false;
      return;
    }
  }
  std::string in;
  auto lastBeat = Clock::now();
  TagMap empty;
  while (link->open && running_) {
    if (options_.heartbeatMs > 0 &&
        Clock::now() - lastBeat >= std::chrono::milliseconds(options_.heartbeatMs)) {
      lastBeat = Clock::now();
      if (!Write(*link, Reply(MT_HEARTBEAT, empty, "0", "", {}))) break;
    }
    bool readable = link->ssl && SSL_pending(link->ssl) > 0;
    if (!readable) {
      // An idle client costs a wake-up per heartbeat at most; Stop and
      // DropLinks wake the wait by shutting the connection down.
      pollfd p{link->fd, POLLIN, 0};
      readable = ::poll(&p, 1, options_.heartbeatMs > 0 ? 20 : 1000) > 0;
    }
    if (!readable) continue;
    char chunk[16384];
    const int n = link->ssl ? SSL_read(link->ssl, chunk, sizeof chunk)
                            : static_cast<int>(::recv(link->fd, chunk, sizeof chunk, 0));
    if (n <= 0) break;
    in.append(chunk, static_cast<size_t>(n));
    for (;;) {
      const long size = FindTradeMessageEnd(in.data(), in.size(), kMaxRequest);
      if (size < 0) {
        Log("not a trade message; closing the link");
        link->open = false;
        break;
      }
      if (size == 0) break;
      const std::string request = in.substr(0, static_cast<size_t>(size));
      in.erase(0, static_cast<size_t>(size));
      int number;
      {
        std::lock_guard<std::recursive_mutex> g(lock_);
        number = requestCount_ + 1;
      }
      std::string reply = Answer(request, number);
      if (options_.delayMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(options_.delayMs));
      if (options_.coalesce) reply = Reply(MT_HEARTBEAT, empty, "0", "", {}) + reply;
      bool ok;
      if (options_.split && reply.size() > 1) {
        const size_t half = reply.size() / 2;
        ok = Write(*link, reply.substr(0, half));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ok = ok && Write(*link, reply.substr(half));
      } else {
        ok = reply.empty() || Write(*link, reply);
      }
      if (!ok) link->open = false;
      if (options_.dropAfterRequests > 0 && number >= options_.dropAfterRequests) {
        Log("dropping the link");
        link->open = false;
      }
      if (!link->open) break;
    }
  }
  link->open = false;
  if (link->ssl) SSL_shutdown(link->ssl);
  ::shutdown(link->fd, SHUT_RDWR);
}

std::string CTradeSimServer::Reply(const char* msgType, const TagMap& request,
                                   const std::string& code, const std::string& info,
                                   const TagFieldList& body) {
  (void)request;
  TagFieldList fields;
  AddStringField(fields, 9001, code);
  AddStringField(fields, 9002, info);
  fields.insert(fields.end(), body.begin(), body.end());
  std::string session;
  {
    std::lock_guard<std::recursive_mutex> g(lock_);
    session = session_;
  }
  auto m = BuildTradeMessage(0, msgType, 0, false, &fields, 2, session.c_str());
  std::string bytes(m->Data(), m->Size());
  if (options_.badChecksum) bytes[bytes.size() - 2] = bytes[bytes.size() - 2] == '9' ? '0' : '9';
  return bytes;
}

std::string CTradeSimServer::ReplyType(const std::string& requestType) {
  // Wide enough that no request type overflows it.
  return std::to_string(static_cast<long long>(TradeAtoi(requestType)) + 1);
}

std::string CTradeSimServer::Answer(const std::string& request, int requestNumber) {
  TagMap map;
  std::string error;
  if (!VerifyTradeChecksum(request.data(), static_cast<int>(request.size())) ||
      ParseTradeMessage(request.data(), static_cast<int>(request.size()), map, nullptr, nullptr,
                        nullptr, nullptr, error) != 0) {
    Log("refused a block: bad checksum or fields");
    return "";
  }
  STradeSimRequest logged;
  logged.msgType = GetFieldText(map, 1035);
  const char* cursor = request.data();
  const char* end = cursor + request.size();
  std::string tag, value;
  TagMap soFar;
  while (ParseTagField(&cursor, end, tag, value, GetRawDataDictionary(), soFar, error, '=',
                       GetSOH()) == 0) {
    logged.fields.emplace_back(TradeAtoi(tag), value);
    InsertTagValue(TradeAtoi(tag), value, soFar, nullptr, nullptr, nullptr);
  }
  const std::string type = logged.msgType;
  Log("request " + type + " #" + std::to_string(requestNumber) + BodyText(logged));
  {
    std::lock_guard<std::recursive_mutex> g(lock_);
    if (requests_.size() == kKeptRequests) requests_.pop_front();
    requests_.push_back(std::move(logged));
    ++requestCount_;
  }
  if (requestNumber == options_.kickAtRequest)
    return Reply(ReplyType(type).c_str(), map, "1", "", {});
  return Handle(map, requestNumber);
}
