// The simulators' listener frame (loopback_server.h).
#include "loopback_server.h"

#include <chrono>
#include <csignal>

#include "platform/socket.h"

namespace {
volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }
}  // namespace

CLoopbackServer::~CLoopbackServer() { Stop(); }

int CLoopbackServer::Start(int port) {
  int chosen = 0;
  listener_ = platform::ListenLoopback(port, &chosen);
  if (listener_ == platform::kInvalidSocket) return -1;
  running_ = true;
  thread_ = std::thread([this] { Loop(); });
  return chosen;
}

void CLoopbackServer::Stop() {
  if (!running_.exchange(false)) return;
  thread_.join();
  platform::CloseSocket(listener_);
}

void CLoopbackServer::Loop() {
  while (running_) {
    const int fd = platform::AcceptClient(listener_, 50);
    if (fd == platform::kInvalidSocket) continue;
    Serve(fd);
    platform::CloseSocket(fd);
  }
}

void WaitForStopSignal() {
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  while (!g_stop) std::this_thread::sleep_for(std::chrono::milliseconds(100));
}
