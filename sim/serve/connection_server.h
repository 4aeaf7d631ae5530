// How the simulators of the outside peers take their clients: a listener
// on loopback and a thread per connection, within fixed bounds, because
// they run under every end-to-end test and the run command and must
// survive a crowd of clients. Guarantees:
// - at most maxConnections clients are served at once; later ones wait in
//   the listen queue until one ends;
// - a connection's descriptor and thread are given back as soon as it ends;
// - out of descriptors or threads, accepting pauses until a connection ends
//   (a line on standard error, at most one every ten seconds) instead of
//   spinning;
// - Stop ends every open connection and waits for every thread.
#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sim {

class ConnectionServer {
 public:
  // Serves one client on a thread of its own; number counts the
  // connections from 1 in the order they were accepted. The descriptor
  // stays the server's: Stop and ShutdownAll shut it down while the
  // function runs, and it is closed once the function returns, so nothing
  // may use it after that.
  using ServeFn = std::function<void(int fd, int number)>;

  static constexpr int kDefaultMaxConnections = 256;

  // name starts the lines written to standard error.
  ConnectionServer(std::string name, ServeFn serve, int maxConnections = kDefaultMaxConnections);
  ~ConnectionServer();
  ConnectionServer(const ConnectionServer&) = delete;
  ConnectionServer& operator=(const ConnectionServer&) = delete;

  // Listens on 127.0.0.1:port (0: any free port); the port, or -1.
  int Start(int port);
  void Stop();

  int Accepted() const { return accepted_.load(); }
  // Connections being served now.
  int Open() const;
  // Shuts every open connection down (a dropped link); the serving
  // functions see the end of their connection.
  void ShutdownAll();

 private:
  void AcceptLoop();
  void Launch(int fd);
  void Run(int fd, int number);
  // Accepting cannot go on for want of resources: report once, then wait
  // for a connection to end (or a short while, when the shortage lies
  // elsewhere).
  void Pause(const char* reason);
  void JoinFinished();

  const std::string name_;
  const ServeFn serve_;
  const int maxConnections_;
  int listener_ = -1;
  std::atomic<bool> stopping_{false};
  std::atomic<int> accepted_{0};
  std::chrono::steady_clock::time_point lastReport_{};  // accept thread only
  std::thread acceptThread_;

  mutable std::mutex mutex_;
  std::condition_variable changed_;  // a connection ended, or Stop began
  struct Connection {
    int fd = -1;
    std::thread thread;
  };
  std::map<int, Connection> open_;     // by number
  std::vector<std::thread> finished_;  // ended, still to be joined
};

}  // namespace sim
