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
#include "sharecode/text_utils.h"
#include "trade/core/sha1_digest.h"
#include "trade/core/trade_messages.h"
#include "trade/quellan/trade_framer.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string DigestOf(const std::string& password) {
  unsigned char d[20];
  Sha1Digest(password.data(), static_cast<int>(password.size()), d);
  return BytesToHex(d, 20);
}

}  // namespace

struct CTradeSimServer::Link {
  int fd = -1;
  SSL* ssl = nullptr;
  std::mutex write;
  std::atomic<bool> open{true};
  ~Link() {
    if (ssl) SSL_free(ssl);
    if (fd >= 0) ::close(fd);
  }
};

CTradeSimServer::CTradeSimServer(STradeSimOptions options) : options_(std::move(options)) {
  digest_ = DigestOf(options_.password);
  holdings_["600002"] = Holding{500, 18.0};
}

CTradeSimServer::~CTradeSimServer() {
  Stop();
  if (ctx_) SSL_CTX_free(static_cast<SSL_CTX*>(ctx_));
}

void CTradeSimServer::Log(const std::string& line) {
  if (options_.log) std::fprintf(stderr, "sim_trade: %s\n", line.c_str());
}

int CTradeSimServer::Start(int port) {
  if (options_.tls) {
    SSL_CTX* ctx = SSL_CTX_new(TLS_server_method());
    if (!ctx) return -1;
    ctx_ = ctx;
    if (SSL_CTX_use_certificate_chain_file(ctx, options_.certFile.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(ctx, options_.keyFile.c_str(), SSL_FILETYPE_PEM) != 1 ||
        SSL_CTX_load_verify_locations(ctx, options_.caFile.c_str(), nullptr) != 1) {
      Log("cannot load the server certificate, key or CA");
      return -1;
    }
    SSL_CTX_set_verify(ctx,
                       options_.requireClientCert
                           ? SSL_VERIFY_PEER | SSL_VERIFY_FAIL_IF_NO_PEER_CERT
                           : SSL_VERIFY_NONE,
                       nullptr);
  }
  int chosen = 0;
  listener_ = platform::ListenLoopback(port, &chosen);
  if (listener_ == platform::kInvalidSocket) return -1;
  port_ = chosen;
  running_ = true;
  acceptThread_ = std::thread([this] { AcceptLoop(); });
  Log("listening on 127.0.0.1:" + std::to_string(port_) + (options_.tls ? " (TLS)" : " (plain)"));
  return port_;
}

void CTradeSimServer::Stop() {
  if (!running_.exchange(false)) return;
  if (acceptThread_.joinable()) acceptThread_.join();
  platform::CloseSocket(listener_);
  listener_ = -1;
  DropLinks();
  std::vector<std::thread> threads;
  {
    std::lock_guard<std::recursive_mutex> g(lock_);
    threads.swap(threads_);
  }
  for (std::thread& t : threads) t.join();
}

void CTradeSimServer::DropLinks() {
  std::lock_guard<std::recursive_mutex> g(lock_);
  for (auto& link : links_) {
    if (link->open.exchange(false)) ::shutdown(link->fd, SHUT_RDWR);
  }
  links_.clear();
}

std::vector<std::string> CTradeSimServer::Requests() const {
  std::lock_guard<std::recursive_mutex> g(lock_);
  return requests_;
}

void CTradeSimServer::AcceptLoop() {
  while (running_) {
    const int fd = platform::AcceptClient(listener_, 50);
    if (fd == platform::kInvalidSocket) continue;
    accepted_++;
    auto link = std::make_shared<Link>();
    link->fd = fd;
    std::lock_guard<std::recursive_mutex> g(lock_);
    links_.push_back(link);
    threads_.emplace_back([this, link] { Serve(link); });
  }
}

bool CTradeSimServer::Write(Link& link, const std::string& bytes) {
  std::lock_guard<std::mutex> g(link.write);
  if (!link.open) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    long n;
    if (link.ssl)
      n = SSL_write(link.ssl, bytes.data() + done, static_cast<int>(bytes.size() - done));
    else
      n = ::send(link.fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

void CTradeSimServer::Serve(std::shared_ptr<Link> link) {
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
      pollfd p{link->fd, POLLIN, 0};
      readable = ::poll(&p, 1, 20) > 0;
    }
    if (!readable) continue;
    char chunk[16384];
    const int n = link->ssl ? SSL_read(link->ssl, chunk, sizeof chunk)
                            : static_cast<int>(::recv(link->fd, chunk, sizeof chunk, 0));
    if (n <= 0) break;
    in.append(chunk, static_cast<size_t>(n));
    for (;;) {
      const long size = FindTradeMessageEnd(in.data(), in.size());
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
        number = static_cast<int>(requests_.size()) + 1;
      }
      std::string reply = Answer(request, number);
      if (options_.delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(options_.delayMs));
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

std::string CTradeSimServer::Answer(const std::string& request, int requestNumber) {
  TagMap map;
  std::string error;
  if (!VerifyTradeChecksum(request.data(), static_cast<int>(request.size())) ||
      ParseTradeMessage(request.data(), static_cast<int>(request.size()), map, nullptr, nullptr,
                        nullptr, nullptr, error) != 0) {
    Log("refused a block: bad checksum or fields");
    return "";
  }
  const std::string type = GetFieldText(map, 1035);
  {
    std::lock_guard<std::recursive_mutex> g(lock_);
    requests_.push_back(type);
  }
  Log("request " + type + " #" + std::to_string(requestNumber));
  if (requestNumber == options_.kickAtRequest)
    return Reply((std::to_string(TradeAtoi(type) + 1)).c_str(), map, "1", "", {});
  return Handle(map, requestNumber);
}
