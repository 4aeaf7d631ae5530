// Small POSIX socket helpers for the quote link and the balance query.
// Every call is bounded in time where the peer could stall.
#pragma once
#include <cstddef>
#include <string>

namespace platform {

using SocketFd = int;
constexpr SocketFd kInvalidSocket = -1;

// Resolves host (dotted address or name) and connects with a time-out.
// Returns the connected socket (blocking mode) or kInvalidSocket, with a
// reason in *error when given.
SocketFd ConnectTcp(const std::string& host, int port, int timeoutMs, std::string* error = nullptr);

// Sends everything; false on error or when timeoutMs passes without
// progress (negative: no time-out).
bool SendAll(SocketFd fd, const void* data, size_t length, int timeoutMs = -1);

// Receives exactly length bytes; false on error, close or time-out.
bool RecvExact(SocketFd fd, void* data, size_t length, int timeoutMs = -1);

// Receives what is there (at least one byte); returns the count, 0 on
// orderly close, -1 on error, -2 on time-out.
long RecvSome(SocketFd fd, void* data, size_t capacity, int timeoutMs = -1);

// Waits until the socket is readable: 1 readable, 0 time-out, -1 error.
int WaitReadable(SocketFd fd, int timeoutMs);

void ShutdownSocket(SocketFd fd);  // wakes a blocked reader on another thread
void CloseSocket(SocketFd fd);

// A listening socket on 127.0.0.1 (port 0 = any); returns the fd and the
// chosen port. Used by the simulators and tests.
SocketFd ListenLoopback(int port, int* chosenPort);
// Waits up to timeoutMs for a client. kInvalidSocket on time-out (*error
// 0) or failure (*error the errno value, EMFILE when out of descriptors).
SocketFd AcceptClient(SocketFd listener, int timeoutMs, int* error = nullptr);

// A peer that hangs up must cost a write error, never the process: writes
// that do not pass MSG_NOSIGNAL (a TLS library's, a pipe's) would end it
// with SIGPIPE. Every program calls this first in main; a handler the
// process already set is kept.
void IgnoreBrokenPipe();

}  // namespace platform
