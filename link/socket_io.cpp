#include "link/socket_io.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "link/proxy_handshake.h"

namespace quotelink {

StopSignal::StopSignal() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

StopSignal::~StopSignal() {
  if (fd_ >= 0) close(fd_);
}

void StopSignal::Set() {
  set_.store(true, std::memory_order_release);
  uint64_t one = 1;
  if (write(fd_, &one, sizeof one) < 0) {
    // The counter cannot overflow from one write; nothing else can fail.
  }
}

bool StopSignal::WaitFor(int ms) const {
  if (IsSet()) return true;
  pollfd p{fd_, POLLIN, 0};
  while (poll(&p, 1, ms) < 0 && errno == EINTR) {
  }
  return IsSet();
}

SocketHandle::~SocketHandle() {
  if (fd_ >= 0) close(fd_);
}

void SocketHandle::Shutdown() {
  if (fd_ >= 0) shutdown(fd_, SHUT_RDWR);
}

int WaitSocket(int fd, bool forWrite, int timeoutMs, const StopSignal& stop) {
  pollfd p[2] = {{fd, (short)(forWrite ? POLLOUT : POLLIN), 0}, {stop.Fd(), POLLIN, 0}};
  for (;;) {
    if (stop.IsSet()) return -1;
    int rc = poll(p, 2, timeoutMs);
    if (rc < 0 && errno == EINTR) continue;
    if (rc < 0 || stop.IsSet()) return -1;
    if (rc == 0) return 0;
    // Errors and hang-ups count as ready: the next call reports them.
    return 1;
  }
}

bool SendAllBytes(int fd, const void* data, size_t length, const StopSignal& stop, int* error) {
  const char* p = static_cast<const char*>(data);
  while (length > 0) {
    ssize_t n = send(fd, p, length, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) {
      p += n;
      length -= (size_t)n;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (WaitSocket(fd, true, -1, stop) != 1) {
        if (error) *error = EINTR;
        return false;
      }
      continue;
    }
    if (n < 0 && errno == ENOBUFS) {
      if (stop.WaitFor(1000)) return false;
      continue;
    }
    if (error) *error = n < 0 ? errno : EPIPE;
    return false;
  }
  return true;
}

bool RecvAllBytes(int fd, void* data, size_t length, int timeoutMs, const StopSignal& stop) {
  char* p = static_cast<char*>(data);
  while (length > 0) {
    if (WaitSocket(fd, false, timeoutMs, stop) != 1) return false;
    ssize_t n = recv(fd, p, length, MSG_DONTWAIT);
    if (n > 0) {
      p += n;
      length -= (size_t)n;
    } else if (n == 0) {
      return false;
    } else if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
      return false;
    }
  }
  return true;
}

long SocketSource::Read(void* buffer, size_t capacity) {
  for (;;) {
    ssize_t n = recv(fd_, buffer, capacity, MSG_DONTWAIT);
    if (n > 0) return (long)n;
    if (n == 0) return 0;
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return -1;
    if (WaitSocket(fd_, false, -1, stop_) != 1) return -1;
  }
}

namespace {

void SetNonBlocking(int fd, bool on) {
  int flags = fcntl(fd, F_GETFL, 0);
  fcntl(fd, F_SETFL, on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK));
}

bool ParseIpv4(const std::string& text, uint32_t* ip) {
  in_addr addr{};
  if (inet_pton(AF_INET, text.c_str(), &addr) != 1) return false;
  *ip = ntohl(addr.s_addr);
  return true;
}

bool SendText(int fd, const std::string& bytes, const StopSignal& stop, int* error) {
  return SendAllBytes(fd, bytes.data(), bytes.size(), stop, error);
}

// Each handshake leaves the socket connected to the target, or shuts it
// down and fails.
bool Socks4(int fd, uint32_t ip, uint16_t port, const ConnectTiming& t, const StopSignal& stop,
            int* error) {
  if (!SendText(fd, BuildSocks4Request(ip, port), stop, error)) return false;
  unsigned char reply[kSocks4ReplySize];
  if (!RecvAllBytes(fd, reply, sizeof reply, t.proxyReplyTimeoutMs, stop)) return false;
  return Socks4Granted(reply);
}

bool Socks5(int fd, uint32_t ip, uint16_t port, const SProxyInfo& proxy, const ConnectTiming& t,
            const StopSignal& stop, int* error) {
  if (!SendText(fd, BuildSocks5Greeting(), stop, error)) return false;
  unsigned char method[2];
  if (!RecvAllBytes(fd, method, 2, t.proxyReplyTimeoutMs, stop)) return false;
  int chosen = Socks5Method(method);
  if (chosen < 0) return false;
  if (chosen == 2) {
    if (!SendText(fd, BuildSocks5Auth(proxy.user, proxy.password, sizeof proxy.user), stop, error))
      return false;
    unsigned char status[2];
    if (!RecvAllBytes(fd, status, 2, t.proxyReplyTimeoutMs, stop)) return false;
    if (!Socks5AuthAccepted(status)) return false;
  }
  if (!SendText(fd, BuildSocks5Connect(ip, port), stop, error)) return false;
  unsigned char reply[kSocks5ReplyHeadSize];
  if (!RecvAllBytes(fd, reply, sizeof reply, t.proxyReplyTimeoutMs, stop)) return false;
  if (!Socks5Granted(reply)) return false;
  // A longer bound address must not be left in front of the first frame.
  unsigned char rest[300];
  size_t extra = Socks5ReplyExtra(reply);
  return extra == 0 || RecvAllBytes(fd, rest, extra, t.proxyReplyTimeoutMs, stop);
}

bool HttpConnect(int fd, const std::string& ip, int port, const SProxyInfo& proxy,
                 const ConnectTiming& t, const StopSignal& stop, int* error) {
  std::string request = BuildHttpConnect(ip, port, FieldText(proxy.user, sizeof proxy.user),
                                         FieldText(proxy.password, sizeof proxy.password));
  if (!SendText(fd, request, stop, error)) return false;
  HttpConnectReply reply;
  for (;;) {
    if (WaitSocket(fd, false, t.proxyReplyTimeoutMs, stop) != 1) return false;
    // One byte at a time: what follows the empty line is the server's.
    ssize_t n = recv(fd, reply.WritePtr(), 1, MSG_DONTWAIT);
    if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
    if (n <= 0) return false;
    switch (reply.Added((size_t)n)) {
      case HttpConnectReply::State::kGranted: return true;
      case HttpConnectReply::State::kMore: break;
      default: return false;
    }
  }
}

}  // namespace

int ConnectWithTimeout(const std::string& ip, int port, int timeoutMs, const StopSignal& stop,
                       int* error) {
  uint32_t address;
  if (!ParseIpv4(ip, &address)) {
    *error = EINVAL;
    return -1;
  }
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    *error = errno;
    return -1;
  }
  SetNonBlocking(fd, true);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons((uint16_t)port);
  sa.sin_addr.s_addr = htonl(address);
  int rc = connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
  if (rc != 0 && errno != EINPROGRESS && errno != EINTR) {
    *error = errno;
    close(fd);
    return -1;
  }
  if (rc != 0) {
    int ready = WaitSocket(fd, true, timeoutMs, stop);
    int soError = 0;
    socklen_t len = sizeof soError;
    if (ready != 1 || getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &len) != 0 || soError != 0) {
      *error = ready == 0 ? ETIMEDOUT : ready < 0 ? EINTR : (soError ? soError : errno);
      close(fd);
      return -1;
    }
  }
  SetNonBlocking(fd, false);
  int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  return fd;
}

int ConnectHostRecord(const SHostInfo& record, const ConnectTiming& timing, const StopSignal& stop,
                      int* error) {
  *error = 0;
  if (record.port <= 0) {
    *error = EINVAL;
    return -1;
  }
  std::string address;
  std::string host = FieldText(record.host, sizeof record.host);
  if (record.kind == kHostName) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) {
      *error = EHOSTUNREACH;
      return -1;
    }
    const unsigned char* b = reinterpret_cast<const unsigned char*>(
        &reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr);
    char text[16];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", b[0], b[1], b[2], b[3]);
    freeaddrinfo(found);
    address = text;
  } else if (record.kind == kHostAddress) {
    address = host;
  } else {
    *error = EINVAL;
    return -1;
  }
  uint16_t port = (uint16_t)record.port;

  const SProxyInfo& proxy = record.proxy;
  std::string proxyHost = FieldText(proxy.host, sizeof proxy.host);
  std::string proxyType = FieldText(proxy.type, sizeof proxy.type);
  bool viaProxy =
      !proxyHost.empty() && (proxyType == "S4" || proxyType == "S5" || proxyType == "HTTP");
  if (!proxyHost.empty() && proxy.port <= 0) {
    *error = EINVAL;
    return -1;
  }
  if (!viaProxy) {
    if (port == 0) {
      *error = EINVAL;
      return -1;
    }
    return ConnectWithTimeout(address, port, timing.connectTimeoutMs, stop, error);
  }

  uint32_t targetIp;
  if (!ParseIpv4(address, &targetIp)) {
    *error = EINVAL;
    return -1;
  }
  int fd = ConnectWithTimeout(proxyHost, proxy.port, timing.connectTimeoutMs, stop, error);
  if (fd < 0) return -1;
  bool ok;
  if (proxyType == "S4") ok = Socks4(fd, targetIp, port, timing, stop, error);
  else if (proxyType == "S5") ok = Socks5(fd, targetIp, port, proxy, timing, stop, error);
  else ok = HttpConnect(fd, address, record.port, proxy, timing, stop, error);
  if (!ok) {
    shutdown(fd, SHUT_RDWR);
    close(fd);
    if (*error == 0) *error = ECONNREFUSED;
    return -1;
  }
  return fd;
}

}  // namespace quotelink
