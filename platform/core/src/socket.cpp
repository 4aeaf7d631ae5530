#include "platform/socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

int Remaining(Clock::time_point deadline) {
  auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left < 0 ? 0 : (int)left;
}

// Waits for events; 1 ready, 0 time-out, -1 error. Negative timeout waits forever.
int WaitFor(SocketFd fd, short events, int timeoutMs) {
  if (fd < 0) return -1;  // poll would skip it and wait out the time, or forever
  pollfd p{fd, events, 0};
  for (;;) {
    int rc = poll(&p, 1, timeoutMs);
    if (rc < 0 && errno == EINTR) continue;
    if (rc < 0) return -1;
    if (rc == 0) return 0;
    return 1;
  }
}

void SetBlocking(SocketFd fd, bool blocking) {
  int flags = fcntl(fd, F_GETFL, 0);
  fcntl(fd, F_SETFL, blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK));
}

}  // namespace

SocketFd ConnectTcp(const std::string& host, int port, int timeoutMs, std::string* error) {
  if (port < 1 || port > 65535) {  // the resolver would wrap it round to another port
    if (error) *error = "bad port " + std::to_string(port);
    return kInvalidSocket;
  }
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* res = nullptr;
  std::string service = std::to_string(port);
  int gai = getaddrinfo(host.c_str(), service.c_str(), &hints, &res);
  if (gai != 0 || !res) {
    if (error) *error = std::string("cannot resolve ") + host + ": " + gai_strerror(gai);
    return kInvalidSocket;
  }
  SocketFd fd = socket(res->ai_family, res->ai_socktype | SOCK_CLOEXEC, res->ai_protocol);
  if (fd < 0) {
    freeaddrinfo(res);
    if (error) *error = std::strerror(errno);
    return kInvalidSocket;
  }
  SetBlocking(fd, false);
  int rc = connect(fd, res->ai_addr, res->ai_addrlen);
  freeaddrinfo(res);
  if (rc != 0 && errno != EINPROGRESS) {
    if (error) *error = std::strerror(errno);
    close(fd);
    return kInvalidSocket;
  }
  if (rc != 0) {
    int w = WaitFor(fd, POLLOUT, timeoutMs);
    int soError = 0;
    socklen_t len = sizeof soError;
    if (w <= 0 || getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &len) != 0 || soError != 0) {
      if (error) *error = w == 0 ? "connect timed out" : std::strerror(soError ? soError : errno);
      close(fd);
      return kInvalidSocket;
    }
  }
  SetBlocking(fd, true);
  int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  return fd;
}

bool SendAll(SocketFd fd, const void* data, size_t length, int timeoutMs) {
  const char* p = static_cast<const char*>(data);
  while (length > 0) {
    if (timeoutMs >= 0 && WaitFor(fd, POLLOUT, timeoutMs) <= 0) return false;
    // Writable means room for some bytes, not all: on a blocking socket a
    // plain send would then block until the peer takes everything, past
    // the time-out. With a time-out, send only what fits now.
    ssize_t n = send(fd, p, length, MSG_NOSIGNAL | (timeoutMs >= 0 ? MSG_DONTWAIT : 0));
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        if (timeoutMs < 0 && WaitFor(fd, POLLOUT, -1) < 0) return false;  // a non-blocking socket
        continue;
      }
      return false;
    }
    p += n;
    length -= (size_t)n;
  }
  return true;
}

bool RecvExact(SocketFd fd, void* data, size_t length, int timeoutMs) {
  char* p = static_cast<char*>(data);
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  while (length > 0) {
    if (timeoutMs >= 0 && WaitFor(fd, POLLIN, Remaining(deadline)) <= 0) return false;
    ssize_t n = recv(fd, p, length, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    length -= (size_t)n;
  }
  return true;
}

long RecvSome(SocketFd fd, void* data, size_t capacity, int timeoutMs) {
  if (timeoutMs >= 0) {
    int w = WaitFor(fd, POLLIN, timeoutMs);
    if (w == 0) return -2;
    if (w < 0) return -1;
  }
  for (;;) {
    ssize_t n = recv(fd, data, capacity, 0);
    if (n < 0 && errno == EINTR) continue;
    return n < 0 ? -1 : (long)n;
  }
}

int WaitReadable(SocketFd fd, int timeoutMs) { return WaitFor(fd, POLLIN, timeoutMs); }

void ShutdownSocket(SocketFd fd) {
  if (fd >= 0) shutdown(fd, SHUT_RDWR);
}

void CloseSocket(SocketFd fd) {
  if (fd >= 0) close(fd);
}

SocketFd ListenLoopback(int port, int* chosenPort) {
  SocketFd fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return kInvalidSocket;
  int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons((uint16_t)port);
  if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(fd, 64) != 0) {
    close(fd);
    return kInvalidSocket;
  }
  socklen_t len = sizeof addr;
  getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  if (chosenPort) *chosenPort = ntohs(addr.sin_port);
  return fd;
}

SocketFd AcceptClient(SocketFd listener, int timeoutMs, int* error) {
  if (error) *error = 0;
  int ready = WaitFor(listener, POLLIN, timeoutMs);
  if (ready <= 0) {
    if (error && ready < 0) *error = listener < 0 ? EBADF : errno;
    return kInvalidSocket;
  }
  SocketFd fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
  if (fd < 0 && error) *error = errno;
  if (fd >= 0) {
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  }
  return fd;
}

void IgnoreBrokenPipe() {
  struct sigaction current {};
  if (sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
    signal(SIGPIPE, SIG_IGN);
}

}  // namespace platform
