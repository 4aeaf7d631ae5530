// The frame shared by the simple simulators: a listener on 127.0.0.1 whose
// connections are served one at a time on a thread of its own, and the
// wait of a simulator program for Ctrl-C or a termination signal.
#pragma once
#include <atomic>
#include <thread>

class CLoopbackServer {
 public:
  CLoopbackServer() = default;
  // A derived server calls Stop in its own destructor, before its members go.
  virtual ~CLoopbackServer();
  CLoopbackServer(const CLoopbackServer&) = delete;
  CLoopbackServer& operator=(const CLoopbackServer&) = delete;

  int Start(int port);  // 0 = any free port; the port or -1
  void Stop();          // waits for the connection being served

 protected:
  // Serves one accepted connection; the base closes it afterwards.
  virtual void Serve(int fd) = 0;
  bool IsRunning() const { return running_; }

 private:
  void Loop();

  int listener_ = -1;
  std::atomic<bool> running_{false};
  std::thread thread_;
};

// Blocks until SIGINT or SIGTERM arrives.
void WaitForStopSignal();
