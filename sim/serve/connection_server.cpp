#include "sim/serve/connection_server.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <system_error>

#include "platform/socket.h"
#include "sim/serve/traffic_log.h"

namespace sim {
namespace {
// How often the accept thread looks at the stop flag, and how long it
// rests when resources are short for a reason no connection's end cures.
constexpr int kAcceptPollMs = 50;
constexpr int kShortageRestMs = 100;
constexpr auto kReportEvery = std::chrono::seconds(10);
}  // namespace

ConnectionServer::ConnectionServer(std::string name, ServeFn serve, int maxConnections)
    : name_(std::move(name)),
      serve_(std::move(serve)),
      maxConnections_(maxConnections > 0 ? maxConnections : 1) {}

ConnectionServer::~ConnectionServer() { Stop(); }

int ConnectionServer::Start(int port) {
  int chosen = 0;
  listener_ = platform::ListenLoopback(port, &chosen);
  if (listener_ == platform::kInvalidSocket) return -1;
  acceptThread_ = std::thread([this] { AcceptLoop(); });
  return chosen;
}

void ConnectionServer::Stop() {
  if (stopping_.exchange(true)) return;
  changed_.notify_all();
  if (acceptThread_.joinable()) acceptThread_.join();
  platform::CloseSocket(listener_);
  listener_ = -1;
  ShutdownAll();
  {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return open_.empty(); });
  }
  JoinFinished();
}

int ConnectionServer::Open() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return (int)open_.size();
}

void ConnectionServer::ShutdownAll() {
  // Under the lock: a descriptor is closed only under it, once its
  // connection has left the table, so no number reused elsewhere is hit.
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto& [number, connection] : open_) ::shutdown(connection.fd, SHUT_RDWR);
}

void ConnectionServer::AcceptLoop() {
  while (!stopping_) {
    JoinFinished();
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [&] { return stopping_ || (int)open_.size() < maxConnections_; });
    }
    if (stopping_) break;
    int error = 0;
    int fd = platform::AcceptClient(listener_, kAcceptPollMs, &error);
    if (fd >= 0) {
      Launch(fd);
    } else if (error == EMFILE || error == ENFILE || error == ENOBUFS || error == ENOMEM) {
      Pause("out of descriptors");
    }
  }
  JoinFinished();
}

void ConnectionServer::Launch(int fd) {
  const int number = ++accepted_;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    Connection& connection = open_[number];
    connection.fd = fd;
    try {
      // The thread cannot leave the table before this lock is released.
      connection.thread = std::thread([this, fd, number] { Run(fd, number); });
      return;
    } catch (const std::system_error&) {
      open_.erase(number);
      ::close(fd);
    }
  }
  Pause("no thread for a client");
}

void ConnectionServer::Run(int fd, int number) {
  serve_(fd, number);
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = open_.find(number);
  ::close(fd);
  finished_.push_back(std::move(it->second.thread));
  open_.erase(it);
  changed_.notify_all();
}

void ConnectionServer::Pause(const char* reason) {
  const auto now = std::chrono::steady_clock::now();
  if (lastReport_ == std::chrono::steady_clock::time_point{} || now - lastReport_ > kReportEvery) {
    ProgramLog().Error(name_ + ": " + reason + "; accepting waits for a client to leave");
    lastReport_ = now;
  }
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait_for(lock, std::chrono::milliseconds(kShortageRestMs));
}

void ConnectionServer::JoinFinished() {
  std::vector<std::thread> finished;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    finished.swap(finished_);
  }
  for (std::thread& thread : finished) thread.join();
}

}  // namespace sim
