// Quellan over OpenSSL: TLS (or plain TCP with needSsl 0) client
// connections to the trade server, cut into whole trade messages.
#include "trade/quellan/quellan.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <arpa/inet.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>
#include <fcntl.h>
#include <errno.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "trade/quellan/trade_framer.h"

namespace {

using Clock = std::chrono::steady_clock;

// A send that makes no progress for this long fails the connection.
constexpr int kSendTimeoutMs = 10000;
constexpr size_t kReadChunk = 16384;

struct Connection {
  int fd = -1;
  SSL* ssl = nullptr;
  std::mutex io;  // every use of ssl / fd and of the receive buffer
  std::string inbuf;
  size_t inStart = 0;
  std::atomic<int> status{0};
  bool closed = false;
  std::string peer;

  ~Connection() {
    if (ssl) SSL_free(ssl);
    if (fd >= 0) ::close(fd);
  }
};

struct Library {
  std::mutex lock;
  SSL_CTX* ctx = nullptr;
  bool initialised = false;
  bool needSsl = false;
  int contextId = 0;
  int nextHandle = 1;
  std::map<int, std::shared_ptr<Connection>> connections;
};

Library& Lib() {
  static Library lib;
  return lib;
}

std::shared_ptr<Connection> Find(int handle) {
  Library& lib = Lib();
  std::lock_guard<std::mutex> guard(lib.lock);
  auto it = lib.connections.find(handle);
  return it == lib.connections.end() ? nullptr : it->second;
}

void PutError(char* errorText, int size, const std::string& what) {
  if (!errorText || size <= 0) return;
  std::string text = what;
  unsigned long e;
  while ((e = ERR_get_error()) != 0) {
    char buf[256];
    ERR_error_string_n(e, buf, sizeof buf);
    text += ": ";
    text += buf;
  }
  std::snprintf(errorText, static_cast<size_t>(size), "%s", text.c_str());
}

// Paths may come with the system's "\" separators.
std::string NativePath(const char* path) {
  std::string p = path ? path : "";
  std::replace(p.begin(), p.end(), '\\', '/');
  return p;
}

int PasswordCallback(char* buf, int size, int /*rwflag*/, void* userdata) {
  const char* pwd = static_cast<const char*>(userdata);
  if (!pwd || size <= 0) return 0;
  const int n = static_cast<int>(std::min<size_t>(std::strlen(pwd), static_cast<size_t>(size)));
  std::memcpy(buf, pwd, static_cast<size_t>(n));
  return n;
}

int RemainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

// Waits for the events on fd until the deadline; true when they came.
bool WaitFd(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    pollfd p{fd, events, 0};
    const int r = ::poll(&p, 1, RemainingMs(deadline));
    if (r > 0) return true;
    if (r == 0) return false;
    if (errno != EINTR) return false;
  }
}

int ConnectTcp(const char* host, unsigned short port, Clock::time_point deadline) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  const std::string service = std::to_string(port);
  if (::getaddrinfo(host, service.c_str(), &hints, &list) != 0) return -1;
  int fd = -1;
  for (addrinfo* a = list; a && fd < 0; a = a->ai_next) {
    fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
    if (fd < 0) continue;
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    int r = ::connect(fd, a->ai_addr, a->ai_addrlen);
    if (r != 0 && errno == EINPROGRESS && WaitFd(fd, POLLOUT, deadline)) {
      int err = 0;
      socklen_t errLen = sizeof err;
      r = (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &errLen) == 0 && err == 0) ? 0 : -1;
    }
    if (r != 0) {
      ::close(fd);
      fd = -1;
    }
  }
  ::freeaddrinfo(list);
  if (fd >= 0) {
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  }
  return fd;
}

// Moves whatever has arrived into the receive buffer without waiting; stops
// early once a whole message is there. False when the connection failed.
bool ReadAvailable(Connection& c) {
  char chunk[kReadChunk];
  for (;;) {
    long got;
    if (c.ssl) {
      ERR_clear_error();
      const int r = SSL_read(c.ssl, chunk, sizeof chunk);
      if (r <= 0) {
        const int e = SSL_get_error(c.ssl, r);
        if (e == SSL_ERROR_WANT_READ || e == SSL_ERROR_WANT_WRITE) return true;
        return false;
      }
      got = r;
    } else {
      got = ::recv(c.fd, chunk, sizeof chunk, MSG_DONTWAIT);
      if (got < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK) return true;
        if (errno == EINTR) continue;
        return false;
      }
      if (got == 0) return false;
    }
    if (c.inStart > 0 && c.inStart * 2 >= c.inbuf.size()) {
      c.inbuf.erase(0, c.inStart);
      c.inStart = 0;
    }
    c.inbuf.append(chunk, static_cast<size_t>(got));
    if (FindTradeMessageEnd(c.inbuf.data() + c.inStart, c.inbuf.size() - c.inStart) != 0)
      return true;
  }
}

// 1 a message was taken, 0 none yet, -1 the stream is not trade messages.
int TakeMessage(Connection& c, char** data, int* len) {
  const long n = FindTradeMessageEnd(c.inbuf.data() + c.inStart, c.inbuf.size() - c.inStart);
  if (n <= 0) return n < 0 ? -1 : 0;
  char* block = static_cast<char*>(std::malloc(static_cast<size_t>(n) + 1));
  if (!block) return -1;
  std::memcpy(block, c.inbuf.data() + c.inStart, static_cast<size_t>(n));
  block[n] = '\0';
  c.inStart += static_cast<size_t>(n);
  if (c.inStart == c.inbuf.size()) {
    c.inbuf.clear();
    c.inStart = 0;
  }
  *data = block;
  *len = static_cast<int>(n);
  return 1;
}

void Fail(Connection& c) { c.status.store(-1); }

// The certificate must name the host we asked for: a trusted certificate of
// some other server is not this server. A dotted (or IPv6) address is
// matched against the certificate's IP entries, a name against its DNS
// entries; the name also goes out as SNI.
bool ExpectPeer(SSL* ssl, const char* host) {
  X509_VERIFY_PARAM* param = SSL_get0_param(ssl);
  unsigned char addr[sizeof(in6_addr)];
  if (::inet_pton(AF_INET, host, addr) == 1 || ::inet_pton(AF_INET6, host, addr) == 1)
    return X509_VERIFY_PARAM_set1_ip_asc(param, host) == 1;
  X509_VERIFY_PARAM_set_hostflags(param, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
  return X509_VERIFY_PARAM_set1_host(param, host, 0) == 1 &&
         SSL_set_tlsext_host_name(ssl, host) == 1;
}

}  // namespace

extern "C" {

int SockInit(int needSsl, const char* caFile, const char* certFile, const char* keyFile,
             const char* keyPassword, char* errorText, int errorTextSize) {
  Library& lib = Lib();
  std::lock_guard<std::mutex> guard(lib.lock);
  // A peer that goes away must not end the process with SIGPIPE.
  struct sigaction current {};
  if (::sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
    ::signal(SIGPIPE, SIG_IGN);

  SSL_CTX* ctx = nullptr;
  if (needSsl) {
    ctx = SSL_CTX_new(TLS_client_method());
    if (!ctx) {
      PutError(errorText, errorTextSize, "cannot create the TLS context");
      return 0;
    }
    SSL_CTX_set_min_proto_version(ctx, TLS1_2_VERSION);
    SSL_CTX_set_mode(ctx, SSL_MODE_AUTO_RETRY);
    const std::string ca = NativePath(caFile), cert = NativePath(certFile),
                      key = NativePath(keyFile);
    if (SSL_CTX_load_verify_locations(ctx, ca.c_str(), nullptr) != 1) {
      PutError(errorText, errorTextSize, "cannot read the CA file " + ca);
      SSL_CTX_free(ctx);
      return 0;
    }
    SSL_CTX_set_verify(ctx, SSL_VERIFY_PEER, nullptr);
    if (!cert.empty() || !key.empty()) {
      // The key password is needed only while the key is read.
      std::string password = keyPassword ? keyPassword : "";
      SSL_CTX_set_default_passwd_cb(ctx, PasswordCallback);
      SSL_CTX_set_default_passwd_cb_userdata(ctx, password.data());
      const bool ok = SSL_CTX_use_certificate_chain_file(ctx, cert.c_str()) == 1 &&
                      SSL_CTX_use_PrivateKey_file(ctx, key.c_str(), SSL_FILETYPE_PEM) == 1 &&
                      SSL_CTX_check_private_key(ctx) == 1;
      SSL_CTX_set_default_passwd_cb_userdata(ctx, nullptr);
      SSL_CTX_set_default_passwd_cb(ctx, nullptr);
      OPENSSL_cleanse(password.data(), password.size());
      if (!ok) {
        PutError(errorText, errorTextSize,
                 "cannot use the client certificate " + cert + " with its key " + key);
        SSL_CTX_free(ctx);
        return 0;
      }
    }
  }
  if (lib.ctx) SSL_CTX_free(lib.ctx);  // connections keep their own reference
  lib.ctx = ctx;
  lib.needSsl = needSsl != 0;
  lib.initialised = true;
  return ++lib.contextId;
}

int SockConnect(int* socket, const char* host, unsigned short port, int timeoutMs) {
  if (!socket || !host) return -1;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 10000);
  SSL_CTX* ctx = nullptr;
  {
    Library& lib = Lib();
    std::lock_guard<std::mutex> guard(lib.lock);
    if (!lib.initialised) return -1;
    if (lib.needSsl) {
      ctx = lib.ctx;
      SSL_CTX_up_ref(ctx);
    }
  }
  auto conn = std::make_shared<Connection>();
  conn->peer = std::string(host) + ":" + std::to_string(port);
  conn->fd = ConnectTcp(host, port, deadline);
  bool ok = conn->fd >= 0;
  if (ok && ctx) {
    conn->ssl = SSL_new(ctx);
    ok = conn->ssl && SSL_set_fd(conn->ssl, conn->fd) == 1 && ExpectPeer(conn->ssl, host);
    while (ok) {
      ERR_clear_error();
      const int r = SSL_connect(conn->ssl);
      if (r == 1) break;
      const int e = SSL_get_error(conn->ssl, r);
      if (e == SSL_ERROR_WANT_READ) ok = WaitFd(conn->fd, POLLIN, deadline);
      else if (e == SSL_ERROR_WANT_WRITE) ok = WaitFd(conn->fd, POLLOUT, deadline);
      else ok = false;
    }
    ok = ok && SSL_get_verify_result(conn->ssl) == X509_V_OK;
  }
  if (ctx) SSL_CTX_free(ctx);
  if (!ok) return -1;

  Library& lib = Lib();
  std::lock_guard<std::mutex> guard(lib.lock);
  const int handle = lib.nextHandle++;
  if (lib.nextHandle <= 0) lib.nextHandle = 1;
  lib.connections[handle] = conn;
  *socket = handle;
  return 0;
}

int SockGetConnStatus(int socket) {
  auto c = Find(socket);
  return c && c->status.load() == 0 ? 0 : -1;
}

int SockGetSockInfo(int socket, char* info, int infoSize) {
  auto c = Find(socket);
  if (!c || !info || infoSize <= 0) return -1;
  std::lock_guard<std::mutex> guard(c->io);
  if (c->ssl)
    std::snprintf(info, static_cast<size_t>(infoSize), "%s %s %s", c->peer.c_str(),
                  SSL_get_version(c->ssl), SSL_get_cipher_name(c->ssl));
  else std::snprintf(info, static_cast<size_t>(infoSize), "%s plain", c->peer.c_str());
  return 0;
}

int SockSend(int socket, const char* data, int len) {
  auto c = Find(socket);
  if (!c || !data || len < 0) return -1;
  std::lock_guard<std::mutex> guard(c->io);
  if (c->closed || c->status.load() != 0) return -1;
  auto deadline = Clock::now() + std::chrono::milliseconds(kSendTimeoutMs);
  int sent = 0;
  while (sent < len) {
    if (c->ssl) {
      ERR_clear_error();
      const int r = SSL_write(c->ssl, data + sent, len - sent);
      if (r > 0) {
        sent += r;
        deadline = Clock::now() + std::chrono::milliseconds(kSendTimeoutMs);
        continue;
      }
      const int e = SSL_get_error(c->ssl, r);
      const short events = e == SSL_ERROR_WANT_READ ? POLLIN : POLLOUT;
      if ((e != SSL_ERROR_WANT_READ && e != SSL_ERROR_WANT_WRITE) ||
          !WaitFd(c->fd, events, deadline)) {
        Fail(*c);
        return -1;
      }
    } else {
      const long r =
          ::send(c->fd, data + sent, static_cast<size_t>(len - sent), MSG_NOSIGNAL | MSG_DONTWAIT);
      if (r > 0) {
        sent += static_cast<int>(r);
        deadline = Clock::now() + std::chrono::milliseconds(kSendTimeoutMs);
        continue;
      }
      if (r < 0 && errno == EINTR) continue;
      if (r < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && WaitFd(c->fd, POLLOUT, deadline))
        continue;
      Fail(*c);
      return -1;
    }
  }
  return 0;
}

int SockRecv(int socket, char** data, int* len, int waitMs) {
  auto c = Find(socket);
  if (!c || !data || !len) return -1;
  const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs > 0 ? waitMs : 0);
  for (;;) {
    int fd;
    {
      std::lock_guard<std::mutex> guard(c->io);
      if (c->closed) return -1;
      int taken = TakeMessage(*c, data, len);
      if (taken == 0 && c->status.load() == 0) {
        if (!ReadAvailable(*c)) Fail(*c);
        taken = TakeMessage(*c, data, len);
      }
      if (taken > 0) return 0;
      if (taken < 0) {  // not a trade message stream: nothing can resynchronise it
        Fail(*c);
        return -1;
      }
      if (c->status.load() != 0) return -1;
      fd = c->fd;
    }
    // Wait without the lock, so a sender on another thread is not held up.
    if (RemainingMs(deadline) <= 0 || !WaitFd(fd, POLLIN, deadline)) return -1;
  }
}

int SockWaitReadable(int socket, int wakeFd, int timeoutMs) {
  auto c = Find(socket);
  if (!c) return -1;
  int fd;
  {
    std::lock_guard<std::mutex> guard(c->io);
    if (c->closed || c->status.load() != 0) return 1;
    // What the last receive left behind: more whole messages read with the
    // one it gave, or bytes the TLS layer has taken off the socket already
    // (decrypted or not). Neither makes the socket readable again.
    if (FindTradeMessageEnd(c->inbuf.data() + c->inStart, c->inbuf.size() - c->inStart) != 0)
      return 1;
    if (c->ssl && SSL_has_pending(c->ssl) == 1) return 1;
    fd = c->fd;
  }
  pollfd p[2] = {{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
  const int r = ::poll(p, wakeFd >= 0 ? 2 : 1, timeoutMs < 0 ? -1 : timeoutMs);
  if (r < 0) return errno == EINTR ? 0 : 1;  // a failing descriptor: let the receive tell
  return r > 0 && p[0].revents != 0 ? 1 : 0;
}

int SockFreeMemory(char* data) {
  std::free(data);
  return 0;
}

int SockClose(int socket) {
  std::shared_ptr<Connection> c;
  {
    Library& lib = Lib();
    std::lock_guard<std::mutex> guard(lib.lock);
    auto it = lib.connections.find(socket);
    if (it == lib.connections.end()) return -1;
    c = it->second;
    lib.connections.erase(it);
  }
  std::lock_guard<std::mutex> guard(c->io);
  c->closed = true;
  Fail(*c);
  if (c->ssl) {
    SSL_shutdown(c->ssl);  // one try: the close-notify, never a wait
    SSL_free(c->ssl);
    c->ssl = nullptr;
  }
  if (c->fd >= 0) {
    ::shutdown(c->fd, SHUT_RDWR);
    ::close(c->fd);
    c->fd = -1;
  }
  return 0;
}

int SockDestroy(int context) {
  Library& lib = Lib();
  std::lock_guard<std::mutex> guard(lib.lock);
  if (!lib.initialised || context != lib.contextId) return -1;
  if (lib.ctx) SSL_CTX_free(lib.ctx);
  lib.ctx = nullptr;
  lib.initialised = false;
  return 0;
}

}  // extern "C"
