// The simulator programs under load, as the run command starts them: each
// runs with a small descriptor limit, is driven past it by a crowd of
// clients and then by a burst of 2,000 connections, and must wait at the
// limit without burning CPU, give every finished connection back, serve a
// real client afterwards and stop cleanly. A client that completes a TLS
// handshake and hangs up at once must not end the trade simulator.
#include <gtest/gtest.h>
#include <openssl/ssl.h>

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <arpa/inet.h>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "link/quote_frame.h"
#include "link/quote_protocol.h"
#include "platform/socket.h"
#include "support/temp_folder.h"
#include "trade/core/balance_client.h"
#include "trade/core/trade_codec.h"
#include "trade/core/trade_messages.h"
#include "trade/quellan/trade_framer.h"

namespace {

using Clock = std::chrono::steady_clock;

// Bound of every wait: a loaded machine only makes a passing run slower.
constexpr int kWaitMs = 20000;
// Small enough that a few hundred clients exhaust it at once.
constexpr int kDescriptorLimit = 64;

bool WaitFor(const std::function<bool()>& done, int ms = kWaitMs) {
  const auto end = Clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (Clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// One simulator program in a child process with its own descriptor limit.
class SimProcess {
 public:
  SimProcess(const std::string& program, std::vector<std::string> args, int descriptorLimit) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) return;
    std::vector<std::string> all{program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    const rlimit limit{(rlim_t)descriptorLimit, (rlim_t)descriptorLimit};
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], STDOUT_FILENO);
      setrlimit(RLIMIT_NOFILE, &limit);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(out[1]);
    output_ = out[0];
    port_ = ReadPort();
    // The program goes on writing; keep its pipe from filling.
    drain_ = std::thread([fd = output_] {
      char sink[4096];
      while (read(fd, sink, sizeof sink) > 0) {
      }
    });
  }
  ~SimProcess() {
    if (pid_ > 0 && !stopped_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (drain_.joinable()) drain_.join();
    if (output_ >= 0) close(output_);
  }

  int Port() const { return port_; }
  pid_t Pid() const { return pid_; }

  // Ends it with SIGTERM; true when it exits 0 within the bound.
  bool Stop() {
    if (pid_ <= 0) return false;
    kill(pid_, SIGTERM);
    int status = 0;
    bool exited = WaitFor([&] { return waitpid(pid_, &status, WNOHANG) == pid_; });
    if (!exited) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
    }
    stopped_ = true;
    status_ = status;
    return exited && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  // How it ended, once stopped: "exit N" or "signal N".
  std::string Ended() const {
    return WIFSIGNALED(status_) ? "signal " + std::to_string(WTERMSIG(status_))
                                : "exit " + std::to_string(WEXITSTATUS(status_));
  }

  int OpenDescriptors() const {
    DIR* dir = opendir(("/proc/" + std::to_string(pid_) + "/fd").c_str());
    if (!dir) return -1;
    int n = 0;
    while (dirent* e = readdir(dir)) n += e->d_name[0] != '.';
    closedir(dir);
    return n;
  }

  // User and system CPU time so far, in clock ticks.
  long CpuTicks() const {
    std::ifstream in("/proc/" + std::to_string(pid_) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t close = stat.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    long utime = 0, stime = 0;
    // After the name: state is field 3; utime and stime are fields 14 and 15.
    for (int i = 3; i <= 15 && fields >> field; ++i) {
      if (i == 14) utime = std::atol(field.c_str());
      if (i == 15) stime = std::atol(field.c_str());
    }
    return utime + stime;
  }

 private:
  // The first number after "PORT " or "127.0.0.1:" in what it prints.
  int ReadPort() {
    std::string text;
    const auto end = Clock::now() + std::chrono::milliseconds(kWaitMs);
    while (Clock::now() < end) {
      for (const char* mark : {"PORT ", "127.0.0.1:"}) {
        size_t at = text.find(mark);
        if (at != std::string::npos && text.find('\n', at) != std::string::npos)
          return std::atoi(text.c_str() + at + std::strlen(mark));
      }
      pollfd p{output_, POLLIN, 0};
      if (poll(&p, 1, 100) <= 0) continue;
      char buffer[256];
      ssize_t n = read(output_, buffer, sizeof buffer);
      if (n <= 0) break;
      text.append(buffer, (size_t)n);
    }
    return -1;
  }

  pid_t pid_ = -1;
  int output_ = -1;
  int port_ = -1;
  bool stopped_ = false;
  int status_ = 0;
  std::thread drain_;
};

// Connections that are started and left to the listen queue: the client
// side does not wait for the server to accept them.
std::vector<int> OpenClients(int port, int count) {
  std::vector<int> fds;
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  sa.sin_port = htons((uint16_t)port);
  for (int i = 0; i < count; ++i) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) break;
    connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    fds.push_back(fd);
  }
  return fds;
}

void CloseAll(std::vector<int>& fds) {
  for (int fd : fds) close(fd);
  fds.clear();
}

// A real client of each simulator gets its answer.
bool QuoteLoginAnswered(int port) {
  int fd = platform::ConnectTcp("127.0.0.1", port, kWaitMs);
  if (fd < 0) return false;
  quotelink::LoginRequest login = quotelink::BuildLoginRequest("a", "b");
  std::string frame = quotelink::EncodeFrame(login.data(), login.size());
  unsigned char head[quotelink::kFrameHeaderSize + 2];
  bool ok = platform::SendAll(fd, frame.data(), frame.size(), kWaitMs) &&
            platform::RecvExact(fd, head, sizeof head, kWaitMs) &&
            quotelink::ReadU16(head + quotelink::kFrameHeaderSize) == quotelink::PKT_LOGIN;
  platform::CloseSocket(fd);
  return ok;
}

bool TradeRequestAnswered(int port) {
  int fd = platform::ConnectTcp("127.0.0.1", port, kWaitMs);
  if (fd < 0) return false;
  TagFieldList fields;
  AddStringField(fields, 1, "u01");
  auto request = BuildTradeMessage(0, MT_LOGIN, 1, false, &fields, 2, "");
  bool ok = platform::SendAll(fd, request->Data(), (size_t)request->Size(), kWaitMs);
  std::string in;
  while (ok && FindTradeMessageEnd(in.data(), in.size()) == 0) {
    char chunk[4096];
    long n = platform::RecvSome(fd, chunk, sizeof chunk, kWaitMs);
    if (n <= 0) ok = false;
    else in.append(chunk, (size_t)n);
  }
  platform::CloseSocket(fd);
  return ok && FindTradeMessageEnd(in.data(), in.size()) > 0;
}

bool BalanceQueryAnswered(int port) {
  unsigned char out[kBalanceMaxReply];
  return CBalanceClient(kWaitMs).Query("127.0.0.1", port, 1, out) == 0;
}

// Whether the process ignores SIGPIPE (its SigIgn mask in /proc).
bool IgnoresBrokenPipe(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("SigIgn:", 0) != 0) continue;
    const unsigned long long mask = std::strtoull(line.c_str() + 7, nullptr, 16);
    return (mask >> (SIGPIPE - 1)) & 1;
  }
  return false;
}

// A client with a valid certificate that completes the TLS handshake and
// closes without reading: the server's next writes (the session tickets of
// TLS 1.3) meet a closed connection. True when the handshake completed.
bool HandshakeAndHangUp(int port, const std::string& certDir) {
  SSL_CTX* ctx = SSL_CTX_new(TLS_client_method());
  if (!ctx) return false;
  SSL_CTX_set_default_passwd_cb_userdata(ctx, const_cast<char*>("test"));
  bool ok =
      SSL_CTX_use_certificate_file(ctx, (certDir + "/client.pem").c_str(), SSL_FILETYPE_PEM) == 1 &&
      SSL_CTX_use_PrivateKey_file(ctx, (certDir + "/client.key").c_str(), SSL_FILETYPE_PEM) == 1;
  int fd = ok ? platform::ConnectTcp("127.0.0.1", port, kWaitMs) : -1;
  SSL* ssl = fd >= 0 ? SSL_new(ctx) : nullptr;
  ok = ssl && SSL_set_fd(ssl, fd) == 1 && SSL_connect(ssl) == 1;
  if (ssl) SSL_free(ssl);  // no close_notify: the peer sees the connection end
  if (fd >= 0) close(fd);
  SSL_CTX_free(ctx);
  return ok;
}

struct SimCase {
  const char* program;
  std::vector<std::string> args;
  std::function<bool(int port)> served;
};

TEST(SimulatorsUnderLoad, CrowdAndBurstPastTheDescriptorLimit) {
  const char* bin = std::getenv("ZEB_BIN_DIR");
  ASSERT_NE(bin, nullptr);
  const SimCase cases[] = {
      {"sim_quote", {"--port", "0", "--quiet", "--walk-ms", "0"}, QuoteLoginAnswered},
      {"sim_trade", {"--port", "0", "--plain"}, TradeRequestAnswered},
      {"sim_balance", {"--port", "0"}, BalanceQueryAnswered},
  };
  for (const SimCase& c : cases) {
    SCOPED_TRACE(c.program);
    SimProcess sim(std::string(bin) + "/" + c.program, c.args, kDescriptorLimit);
    ASSERT_GT(sim.Port(), 0);
    EXPECT_TRUE(IgnoresBrokenPipe(sim.Pid()));
    const int idle = sim.OpenDescriptors();
    ASSERT_TRUE(c.served(sim.Port()));

    // A crowd of clients that say nothing: the simulator serves what its
    // descriptors allow, and the rest wait in the listen queue.
    std::vector<int> crowd = OpenClients(sim.Port(), 200);
    ASSERT_TRUE(WaitFor([&] { return sim.OpenDescriptors() >= kDescriptorLimit; }));
    // Waiting there costs next to nothing. CPU time is measured over a
    // stretch of wall time: a simulator that retries without pause uses
    // most of it even on a busy machine, a waiting one almost none.
    const long before = sim.CpuTicks();
    const auto stretch = std::chrono::milliseconds(500);
    std::this_thread::sleep_for(stretch);
    const long used = sim.CpuTicks() - before;
    EXPECT_LT(used, sysconf(_SC_CLK_TCK) * stretch.count() / 1000 / 4);
    CloseAll(crowd);

    // A burst of 2,000 connections, in waves.
    for (int wave = 0; wave < 10; ++wave) {
      std::vector<int> clients = OpenClients(sim.Port(), 200);
      CloseAll(clients);
    }
    // Every finished connection gives its descriptor back, and a real
    // client is served.
    EXPECT_TRUE(WaitFor([&] { return sim.OpenDescriptors() <= idle; }))
        << sim.OpenDescriptors() << " descriptors open, " << idle << " when idle";
    EXPECT_TRUE(c.served(sim.Port()));
    EXPECT_TRUE(sim.Stop());
  }
}

// The trade simulator over TLS: clients that hang up right after the
// handshake leave it running and serving.
TEST(SimulatorsUnderLoad, ClientsThatCloseRightAfterTheTlsHandshake) {
  const char* bin = std::getenv("ZEB_BIN_DIR");
  ASSERT_NE(bin, nullptr);
  const test_support::TempFolder folder("zeb_sim_load");
  const char* dir = folder.Path().c_str();
  {
    SimProcess sim(std::string(bin) + "/sim_trade", {"--port", "0", "--cert-dir", dir},
                   kDescriptorLimit);
    ASSERT_GT(sim.Port(), 0);
    for (int i = 0; i < 20; ++i) EXPECT_TRUE(HandshakeAndHangUp(sim.Port(), dir)) << i;
    // The last hang-up's writes have had their time to fail.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(HandshakeAndHangUp(sim.Port(), dir));
    EXPECT_TRUE(sim.Stop()) << sim.Ended();
  }
}

}  // namespace
