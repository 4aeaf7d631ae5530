// The proxy handshakes byte for byte against a scripted proxy on loopback.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "link/host_record.h"
#include "link/proxy_handshake.h"
#include "link/socket_io.h"
#include "platform/socket.h"

using namespace quotelink;

namespace {

// Bound of every wait; only a broken handshake ever waits this long.
constexpr int kWaitMs = 20000;

// A proxy that reads what the script expects, records it and answers.
class ScriptedProxy {
 public:
  struct Step {
    size_t read;  // bytes to read; 0: read up to the empty line
    std::string reply;
  };
  explicit ScriptedProxy(std::vector<Step> script, std::string after = "")
      : script_(std::move(script)), after_(std::move(after)) {
    listener_ = platform::ListenLoopback(0, &port_);
    thread_ = std::thread([this] { Run(); });
  }
  ~ScriptedProxy() {
    thread_.join();
    platform::CloseSocket(listener_);
  }
  int Port() const { return port_; }
  std::string Received() {
    thread_.join();
    thread_ = std::thread([] {});
    return received_;
  }

 private:
  void Run() {
    int fd = platform::AcceptClient(listener_, kWaitMs);
    if (fd < 0) return;
    for (const Step& step : script_) {
      if (step.read) {
        std::string bytes(step.read, '\0');
        if (!platform::RecvExact(fd, bytes.data(), bytes.size(), kWaitMs)) break;
        received_ += bytes;
      } else {
        char c;
        while (received_.find("\r\n\r\n") == std::string::npos &&
               platform::RecvExact(fd, &c, 1, kWaitMs))
          received_ += c;
      }
      platform::SendAll(fd, step.reply.data(), step.reply.size(), kWaitMs);
    }
    if (!after_.empty()) platform::SendAll(fd, after_.data(), after_.size(), kWaitMs);
    shutdown(fd, SHUT_WR);
    // Wait for the client to hang up.
    char c;
    platform::RecvSome(fd, &c, 1, kWaitMs);
    platform::CloseSocket(fd);
  }

  std::vector<Step> script_;
  std::string after_;
  int listener_ = -1;
  int port_ = 0;
  std::thread thread_;
  std::string received_;
};

const std::string kTarget = "10.1.2.3";
const int kTargetPort = 7709;  // 0x1E1D

int Connect(const char* type, int proxyPort, const std::string& user = "",
            const std::string& password = "") {
  SHostInfo record = MakeHostRecord(kTarget, kTargetPort);
  SetProxy(record, type, "127.0.0.1", proxyPort, user, password);
  StopSignal stop;
  int error = 0;
  return ConnectHostRecord(record, ConnectTiming{kWaitMs, kWaitMs}, stop, &error);
}

// After a granted handshake the first byte read is the target's.
void ExpectCleanStream(int fd) {
  ASSERT_GE(fd, 0);
  char buf[5] = {};
  EXPECT_TRUE(platform::RecvExact(fd, buf, 5, kWaitMs));
  EXPECT_EQ(std::string(buf, 5), "FRAME");
  close(fd);
}

const std::string kSocks4Request("\x04\x01\x1E\x1D\x0A\x01\x02\x03\x00", 9);

TEST(Socks4, GrantedRefusedAndShort) {
  {
    ScriptedProxy proxy({{9, std::string("\x00\x5A\x1E\x1D\x0A\x01\x02\x03", 8)}}, "FRAME");
    ExpectCleanStream(Connect("S4", proxy.Port()));
    EXPECT_EQ(proxy.Received(), kSocks4Request);
  }
  {
    ScriptedProxy proxy({{9, std::string("\x00\x5B\x00\x00\x00\x00\x00\x00", 8)}});
    EXPECT_LT(Connect("S4", proxy.Port()), 0);
    EXPECT_EQ(proxy.Received(), kSocks4Request);
  }
  {
    // Three bytes of a granted reply are not a reply.
    ScriptedProxy proxy({{9, std::string("\x00\x5A\x1E", 3)}});
    EXPECT_LT(Connect("S4", proxy.Port()), 0);
  }
}

const std::string kGreeting("\x05\x02\x00\x02", 4);
const std::string kConnect("\x05\x01\x00\x01\x0A\x01\x02\x03\x1E\x1D", 10);
const std::string kGranted("\x05\x00\x00\x01\x7F\x00\x00\x01\x00\x50", 10);

TEST(Socks5, NoAuthentication) {
  ScriptedProxy proxy({{4, std::string("\x05\x00", 2)}, {10, kGranted}}, "FRAME");
  ExpectCleanStream(Connect("S5", proxy.Port()));
  EXPECT_EQ(proxy.Received(), kGreeting + kConnect);
}

TEST(Socks5, UserAndPassword) {
  const std::string auth = std::string("\x01\x03", 2) + "bob" + "\x06" + "secret";
  ScriptedProxy proxy(
      {{4, std::string("\x05\x02", 2)}, {auth.size(), std::string("\x01\x00", 2)}, {10, kGranted}},
      "FRAME");
  ExpectCleanStream(Connect("S5", proxy.Port(), "bob", "secret"));
  EXPECT_EQ(proxy.Received(), kGreeting + auth + kConnect);
}

TEST(Socks5, Refusals) {
  struct Case {
    const char* name;
    std::vector<ScriptedProxy::Step> script;
  } cases[] = {
      {"no acceptable method", {{4, std::string("\x05\xFF", 2)}}},
      {"wrong version", {{4, std::string("\x04\x00", 2)}}},
      {"password refused", {{4, std::string("\x05\x02", 2)}, {7, std::string("\x01\x01", 2)}}},
      {"connect refused",
       {{4, std::string("\x05\x00", 2)}, {10, std::string("\x05\x05\x00\x01\0\0\0\0\0\0", 10)}}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedProxy proxy(c.script);
    EXPECT_LT(Connect("S5", proxy.Port(), "ab", "cd"), 0);
  }
}

TEST(Socks5, AuthFieldsAreBounded) {
  char user[20], password[20];
  std::memset(user, 'u', sizeof user);  // no terminating zero
  std::memset(password, 0, sizeof password);
  std::memcpy(password, "pw", 2);
  std::string auth = BuildSocks5Auth(user, password, 20);
  EXPECT_EQ(auth, std::string("\x01\x14", 2) + std::string(20, 'u') + "\x02" + "pw");

  SHostInfo record = MakeHostRecord("h", 1);
  SetProxy(record, "S5", "127.0.0.1", 1, std::string(40, 'x'), std::string(40, 'y'));
  EXPECT_EQ(FieldText(record.proxy.user, 20), std::string(19, 'x'));
  EXPECT_EQ(FieldText(record.proxy.password, 20), std::string(19, 'y'));
}

TEST(HttpProxy, ConnectRequestAndReplies) {
  const std::string plain = "CONNECT 10.1.2.3:7709 HTTP/1.0\r\nUser-Agent: MyApp/0.1\r\n\r\n";
  const std::string withAuth =
      "CONNECT 10.1.2.3:7709 HTTP/1.0\r\nProxy-Authorization: Basic Ym9iOnB3\r\n"
      "User-Agent: MyApp/0.1\r\n\r\n";
  {
    ScriptedProxy proxy({{0, "HTTP/1.0 200 Connection established\r\nVia: x\r\n\r\n"}}, "FRAME");
    ExpectCleanStream(Connect("HTTP", proxy.Port(), "  bob ", " pw"));
    EXPECT_EQ(proxy.Received(), withAuth);
  }
  {
    ScriptedProxy proxy({{0, "HTTP/1.0 200 Connection established\r\n\r\n"}}, "FRAME");
    ExpectCleanStream(Connect("HTTP", proxy.Port(), "   "));
    EXPECT_EQ(proxy.Received(), plain);
  }
  {
    ScriptedProxy proxy({{0, "HTTP/1.0 407 Proxy Authentication Required\r\n\r\n"}});
    EXPECT_LT(Connect("HTTP", proxy.Port()), 0);
  }
  {
    // Headers that never end within 600 bytes.
    ScriptedProxy proxy({{0, "HTTP/1.0 200 Connection established\r\n" + std::string(700, 'h')}});
    EXPECT_LT(Connect("HTTP", proxy.Port()), 0);
  }
}

TEST(HostRecord, PortsAndKinds) {
  StopSignal stop;
  int error = 0;
  SHostInfo zeroPort = MakeHostRecord("127.0.0.1", 0);
  EXPECT_LT(ConnectHostRecord(zeroPort, ConnectTiming{}, stop, &error), 0);
  SHostInfo low16Zero = MakeHostRecord("127.0.0.1", 65536);
  EXPECT_LT(ConnectHostRecord(low16Zero, ConnectTiming{}, stop, &error), 0);
  SHostInfo badKind = MakeHostRecord("127.0.0.1", 80);
  badKind.kind = 7;
  EXPECT_LT(ConnectHostRecord(badKind, ConnectTiming{}, stop, &error), 0);
  SHostInfo noProxyPort = MakeHostRecord("127.0.0.1", 80);
  SetProxy(noProxyPort, "S4", "127.0.0.1", 0, "", "");
  EXPECT_LT(ConnectHostRecord(noProxyPort, ConnectTiming{}, stop, &error), 0);
  EXPECT_EQ(Base64Encode("a"), "YQ==");
  EXPECT_EQ(Base64Encode("ab"), "YWI=");
  EXPECT_EQ(Base64Encode("abc"), "YWJj");
}

}  // namespace
