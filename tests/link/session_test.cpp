// The link end to end on loopback: the facade against the quote-server
// simulator, with a client window and a progress window that record what
// reaches them.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "link/client_data_source.h"
#include "link/link_messages.h"
#include "link/link_socket.h"
#include "link/quote_protocol.h"
#include "link/received_body.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/socket.h"
#include "platform/window.h"
#include "sim/quote-server/quote_server.h"

using namespace quotelink;

namespace {

constexpr UINT kQuotePacket = 0x402;
// Bound of every wait: generous, so a slow or busy machine only makes a
// passing run slower, while a hang still ends.
constexpr int kWaitMs = 20000;

class RecordingWindow : public platform::MsgTarget {
 public:
  struct Progress {
    int percent;
    std::string text;  // UTF-8
  };
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_LINK_PROGRESS)
      progress.push_back({(int)(intptr_t)wParam, platform::GbkToUtf8((const char*)lParam)});
    if (message == kQuotePacket) {
      packets.emplace_back((const char*)lParam, (size_t)wParam);
      if (onPacket) onPacket();
    }
    return 0;
  }
  std::vector<int> Percents() const {
    std::vector<int> out;
    for (auto& p : progress) out.push_back(p.percent);
    return out;
  }
  size_t CountType(uint16_t type) const {
    size_t n = 0;
    for (auto& p : packets) n += p.size() >= 2 && ReadU16(p.data()) == type;
    return n;
  }
  std::vector<Progress> progress;
  std::vector<std::string> packets;
  std::function<void()> onPacket;
};

std::string Request(uint16_t type, uint16_t tag, size_t size = kRequestHeaderSize) {
  ShortRequest head = BuildRequestHeader(type, 0, tag, 0);
  std::string body(size, '\0');
  std::memcpy(body.data(), head.data(), head.size());
  return body;
}

std::string Reply(uint16_t type, uint16_t tag, size_t size = 200) {
  std::string body(size, 'r');
  WriteU16(&body[0], type);
  WriteU16(&body[2], tag);
  return body;
}

// A loopback port that refuses connections. The socket stays bound, not
// listening, so no test running beside this one can take the port.
class DeadPort {
 public:
  DeadPort() {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof sa;
    if (fd_ >= 0 && bind(fd_, reinterpret_cast<sockaddr*>(&sa), len) == 0 &&
        getsockname(fd_, reinterpret_cast<sockaddr*>(&sa), &len) == 0)
      port_ = ntohs(sa.sin_port);
    EXPECT_GT(port_, 0);
  }
  ~DeadPort() {
    if (fd_ >= 0) close(fd_);
  }
  operator int() const { return port_; }

 private:
  int fd_ = -1;
  int port_ = 0;
};

class LinkSession : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "test_link_session";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
  }
  void SetUp() override {
    ResetFirstDataFlagForTests();
    SLinkTiming timing;
    timing.connectTimeoutMs = kWaitMs;
    timing.proxyReplyTimeoutMs = kWaitMs;
    timing.retryPauseMs = 50;
    timing.settleMs = 0;
    CLinkSocket::SetTiming(timing);
  }
  void TearDown() override {
    link.UnLink();
    CLinkSocket::DestroyLinkSocket();  // one a test made by itself
    CLinkSocket::SetTiming(SLinkTiming{});
  }
  std::unique_ptr<sim::QuoteServer> StartServer(sim::QuoteServerOptions options = {}) {
    options.port = 0;
    options.walkIntervalMs = 0;
    auto server = std::make_unique<sim::QuoteServer>(options);
    EXPECT_TRUE(server->Start());
    return server;
  }
  void Connect(int port) {
    link.ChangeReceieveWnd(client.GetSafeHwnd(), kQuotePacket);
    link.SetIPPortInfo("127.0.0.1", port, "acc1", "acc2");
    link.SetOnLine(progress.GetSafeHwnd(), 0);
  }
  bool LoggedIn() {
    return platform::PumpUntil(
        [&] { return !progress.progress.empty() && progress.progress.back().percent == 100; },
        kWaitMs);
  }

  DeadPort dead;  // outlives the link, which may still be trying it
  platform::ScopedRecordingBoxes boxes;
  RecordingWindow client;
  RecordingWindow progress;
  CClientDataSource link;
};

TEST_F(LinkSession, LoginProgressAndInitialDataArriveWhole) {
  auto server = StartServer();
  Connect(server->Port());
  ASSERT_TRUE(LoggedIn());
  EXPECT_EQ(progress.Percents(), (std::vector<int>{0, 10, 40, 30, 50, 100}));
  EXPECT_EQ(progress.progress[0].text, "开始初始化");
  EXPECT_EQ(progress.progress[1].text, "正在建立连接...");
  EXPECT_EQ(progress.progress[2].text, "开始接收数据");
  EXPECT_EQ(progress.progress[3].text, "开始请求初始化数据");
  EXPECT_EQ(progress.progress[4].text, "开始将初始化数据存盘...");
  EXPECT_EQ(progress.progress[5].text, "完成初始化过程");
  ASSERT_EQ(client.packets.size(), 1u);
  EXPECT_EQ(client.packets[0], server->InitDataReply(kInitDataTag));
  EXPECT_EQ(link.IsOnline(), 1);

  auto logins = server->Received();
  ASSERT_GE(logins.size(), 1u);
  EXPECT_EQ(logins[0].body,
            std::string((const char*)BuildLoginRequest("acc1", "acc2").data(), kLoginRequestSize));
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(LinkSession, RequestsAndTheForwardingRule) {
  auto server = StartServer();
  server->RegisterHandler(0x0200, [](sim::QuoteSession& s, const sim::ReceivedRequest& r) {
    s.Reply(Reply(0x0200, 101));
    s.Reply(Reply(0x0200, r.tag));
  });
  Connect(server->Port());
  ASSERT_TRUE(LoggedIn());
  client.packets.clear();

  std::string request = Request(0x0200, 100);
  EXPECT_EQ(link.AskData(request.data(), (DWORD)request.size()), 1);
  std::string longest = Request(0x0300, 5, CLinkSocket::kMaxRequestBody);
  EXPECT_EQ(link.AskData(longest.data(), (DWORD)longest.size()), 1);
  std::string tooLong = Request(0x0300, 6, CLinkSocket::kMaxRequestBody + 1);
  EXPECT_EQ(link.AskData(tooLong.data(), (DWORD)tooLong.size()), 0);

  ASSERT_TRUE(server->WaitReceived(0x0300, 1, kWaitMs));
  ASSERT_TRUE(platform::PumpUntil([&] { return client.packets.size() >= 1; }, kWaitMs));
  platform::PumpMessages(50);
  // Tag 101 is dropped; tag 100 comes through.
  ASSERT_EQ(client.packets.size(), 1u);
  EXPECT_EQ(client.packets[0], Reply(0x0200, 100));
  std::vector<sim::ReceivedRequest> got = server->Received();
  EXPECT_EQ(got.back().body, longest);  // whole, and the refused one never went out
}

TEST_F(LinkSession, RefusedLogin) {
  sim::QuoteServerOptions options;
  options.refuseText = GBK("用户名或密码错误");
  auto server = StartServer(options);
  Connect(server->Port());
  ASSERT_TRUE(platform::PumpUntil(
      [&] { return !progress.progress.empty() && progress.progress.back().percent == -1; },
      kWaitMs));
  EXPECT_EQ(progress.progress.back().text, "用户名或密码错误");
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, options.refuseText);
  platform::PumpMessages(100);
  EXPECT_TRUE(client.packets.empty());
  EXPECT_EQ(server->CountReceived(PKT_INIT_DATA), 0u);
}

TEST_F(LinkSession, HostsAreTriedInListOrder) {
  auto first = StartServer();
  auto second = StartServer();
  link.ChangeReceieveWnd(client.GetSafeHwnd(), kQuotePacket);
  link.SetHostsInfo("a", "b", "127.0.0.1", dead, "", 0, "127.0.0.1", first->Port(), "127.0.0.1",
                    second->Port(), "", 0);
  // The host list stays in use after a single host is set.
  link.SetIPPortInfo("127.0.0.1", dead, "a", "b");
  link.SetOnLine(progress.GetSafeHwnd(), 0);
  ASSERT_TRUE(LoggedIn());
  EXPECT_EQ(first->Accepted(), 1);
  EXPECT_EQ(second->Accepted(), 0);
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(LinkSession, FailedAttemptsAskAndRetry) {
  link.ChangeReceieveWnd(client.GetSafeHwnd(), kQuotePacket);
  link.SetIPPortInfo("127.0.0.1", dead, "a", "b");
  link.SetOnLine(nullptr, 0);
  ASSERT_TRUE(platform::PumpUntil([&] { return boxes.Boxes().size() >= 2; }, kWaitMs));
  EXPECT_EQ(boxes.Boxes()[0].text, GBK("网络连接中断，是否继续尝试连接？"));
  EXPECT_EQ(boxes.Boxes()[0].type, (UINT)(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(link.IsOnline(), 0);
  EXPECT_EQ(CLinkSocket::Current()->GetStatusText(), GBK("通信错误..."));
  EXPECT_TRUE(progress.progress.empty());
}

TEST_F(LinkSession, FaultyFramesFromTheServer) {
  struct Case {
    const char* name;
    bool split;
    const char* fault;
    bool staysOnline;
  } cases[] = {{"split writes", true, "", true},
               {"zero-length frame", false, "zero-length", true},
               {"broken marker", false, "bad-marker", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetFirstDataFlagForTests();
    progress.progress.clear();
    client.packets.clear();
    sim::QuoteServerOptions options;
    options.splitWrites = c.split;
    options.faultAfterInitData = c.fault;
    auto server = StartServer(options);
    server->RegisterHandler(0x0200, [](sim::QuoteSession& s, const sim::ReceivedRequest& r) {
      s.Reply(Reply(0x0200, r.tag));
    });
    Connect(server->Port());
    ASSERT_TRUE(LoggedIn());
    ASSERT_EQ(client.packets.size(), 1u);
    EXPECT_EQ(client.packets[0], server->InitDataReply(kInitDataTag));
    if (c.staysOnline) {
      std::string request = Request(0x0200, 9);
      link.AskData(request.data(), (DWORD)request.size());
      EXPECT_TRUE(platform::PumpUntil([&] { return client.packets.size() == 2; }, kWaitMs));
      EXPECT_EQ(link.IsOnline(), 1);
    } else {
      // The lost connection clears the on-line state and asks the user.
      EXPECT_TRUE(platform::PumpUntil([&] { return link.IsOnline() == 0; }, kWaitMs));
      EXPECT_FALSE(boxes.Boxes().empty());
    }
    link.UnLink();
    boxes.Clear();
  }
}

// Keep-alives every 60 ms; an answer may take 2 s, far more than a busy
// machine adds, so only a withheld answer times out.
void UseQuickKeepAlive() {
  SLinkTiming timing = CLinkSocket::GetTiming();
  timing.keepAlivePeriodMs = 60;
  timing.keepAliveAnswerSeconds = 2.0;
  CLinkSocket::SetTiming(timing);
}

TEST_F(LinkSession, WithheldKeepAliveLogsInAgain) {
  UseQuickKeepAlive();
  auto server = StartServer();
  Connect(server->Port());
  ASSERT_TRUE(LoggedIn());
  // Answered keep-alives keep the one login.
  ASSERT_TRUE(
      platform::PumpUntil([&] { return server->CountReceived(PKT_KEEPALIVE) >= 6; }, kWaitMs));
  EXPECT_EQ(server->CountReceived(PKT_LOGIN), 1u);
  EXPECT_EQ(server->Accepted(), 1);

  server->SetAnswerKeepAlive(false);
  ASSERT_TRUE(platform::PumpUntil([&] { return server->CountReceived(PKT_LOGIN) >= 2; }, kWaitMs));
  // Still the same connection: the link is on line and logs in on it again.
  EXPECT_EQ(server->Accepted(), 1);
  EXPECT_EQ(link.IsOnline(), 1);
}

TEST_F(LinkSession, LostConnectionAllowsTheTimeOutPathToReconnect) {
  UseQuickKeepAlive();
  auto server = StartServer();
  Connect(server->Port());
  ASSERT_TRUE(LoggedIn());
  server->DropAll();
  ASSERT_TRUE(platform::PumpUntil([&] { return link.IsOnline() == 0; }, kWaitMs));
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, GBK("网络连接中断，是否继续尝试连接？"));
  ASSERT_TRUE(platform::PumpUntil([&] { return server->Accepted() >= 2 && link.IsOnline() == 1; },
                                  kWaitMs));
  EXPECT_TRUE(server->WaitReceived(PKT_LOGIN, 2, kWaitMs));
}

// However many notices come while the initial-data request waits for its
// answer, the link asks once: a server that sends notices and never
// answers must not make the link pile up requests.
TEST_F(LinkSession, NoticesWhileInitialDataIsPendingAskOnce) {
  sim::QuoteServerOptions options;
  options.noticeText = "n";
  auto server = StartServer(options);
  server->RegisterHandler(PKT_INIT_DATA, [](sim::QuoteSession&, const sim::ReceivedRequest&) {});
  Connect(server->Port());
  // The notice at connection asks first; the accepted login must not ask again.
  ASSERT_TRUE(platform::PumpUntil(
      [&] {
        for (auto& p : progress.progress)
          if (p.percent == 40) return true;
        return false;
      },
      kWaitMs));
  const std::string notice = Reply(PKT_NOTICE, 0, 16);
  for (int i = 0; i < 500; ++i) server->SendToAll(notice);
  ASSERT_TRUE(platform::PumpUntil([&] { return client.CountType(PKT_NOTICE) == 501; }, kWaitMs));
  // Requests go out in order: once this one is there, every earlier one is.
  std::string marker = Request(0x0200, 7);
  link.AskData(marker.data(), (DWORD)marker.size());
  ASSERT_TRUE(server->WaitReceived(0x0200, 1, kWaitMs));
  EXPECT_EQ(server->CountReceived(PKT_INIT_DATA), 1u);
  EXPECT_EQ(server->CountReceived(PKT_LOGIN), 1u);
}

// Requests queued while nothing is sent are bounded; once a server takes
// them, the accepted ones arrive whole and in order, and the queue takes
// requests again.
TEST_F(LinkSession, SendQueueIsBounded) {
  CLinkSocket* socket = CLinkSocket::GetLinkSocket();  // not started yet: nothing goes out
  std::string body = Request(0x0300, 5, CLinkSocket::kMaxRequestBody);
  const int tries = (8 << 20) / (int)body.size();  // far past any sane bound
  int accepted = 0;
  for (; accepted < tries; ++accepted) {
    WriteU32(&body[8], (uint32_t)accepted);
    if (socket->Send(body.data(), (int)body.size()) != 1) break;
  }
  ASSERT_LT(accepted, tries);
  ASSERT_GT(accepted, 100);  // an ordinary burst of requests still fits

  auto server = StartServer();
  socket->SetHost("127.0.0.1", server->Port());
  socket->SetNotifyWindow(client.GetSafeHwnd());
  socket->Start();
  ASSERT_TRUE(platform::PumpUntil([&] { return server->CountReceived(0x0300) == (size_t)accepted; },
                                  kWaitMs));
  std::vector<sim::ReceivedRequest> got = server->Received();
  for (int i = 0; i < accepted; ++i) {
    ASSERT_EQ(got[(size_t)i].body.size(), body.size());
    EXPECT_EQ(ReadU32(&got[(size_t)i].body[8]), (uint32_t)i);
  }
  EXPECT_EQ(socket->Send(body.data(), (int)body.size()), 1);
  ASSERT_TRUE(platform::PumpUntil(
      [&] { return server->CountReceived(0x0300) == (size_t)accepted + 1; }, kWaitMs));
}

// After a lost connection the next one carries one login and one
// initial-data request, as the first did.
TEST_F(LinkSession, ReconnectionLogsInOnce) {
  UseQuickKeepAlive();
  auto server = StartServer();
  // Newer initial data on each connection, so the client shows when the
  // second connection's has come.
  sim::QuoteServer* raw = server.get();
  server->RegisterHandler(PKT_INIT_DATA,
                          [raw](sim::QuoteSession& s, const sim::ReceivedRequest& r) {
                            std::string body = raw->InitDataReply(r.tag);
                            WriteU32(&body[4], ReadU32(&body[4]) + (uint32_t)r.connection);
                            s.Reply(body);
                          });
  Connect(server->Port());
  ASSERT_TRUE(LoggedIn());
  server->DropAll();
  ASSERT_TRUE(platform::PumpUntil([&] { return client.CountType(PKT_INIT_DATA) == 2; }, kWaitMs));
  // Requests go out in order: once this one is there, every earlier one is.
  std::string marker = Request(0x0200, 9);
  link.AskData(marker.data(), (DWORD)marker.size());
  ASSERT_TRUE(platform::PumpUntil([&] { return server->CountReceived(0x0200) == 1; }, kWaitMs));
  std::vector<sim::ReceivedRequest> got = server->Received();
  for (int connection : {1, 2}) {
    SCOPED_TRACE(connection);
    size_t logins = 0, asks = 0;
    for (const auto& r : got) {
      logins += r.connection == connection && r.type == PKT_LOGIN;
      asks += r.connection == connection && r.type == PKT_INIT_DATA;
    }
    EXPECT_EQ(logins, 1u);
    EXPECT_EQ(asks, 1u);
  }
  EXPECT_EQ(server->Accepted(), 2);
}

TEST_F(LinkSession, DestroyWhileConnectingThroughASilentProxy) {
  // The proxy's answer would be waited for a minute; destroying must not.
  SLinkTiming timing = CLinkSocket::GetTiming();
  timing.proxyReplyTimeoutMs = 60000;
  CLinkSocket::SetTiming(timing);
  int port = 0;
  int silent = platform::ListenLoopback(0, &port);  // accepts, never answers
  CLinkSocket* socket = CLinkSocket::GetLinkSocket();
  SHostInfo record = MakeHostRecord("10.0.0.1", 7709);
  SetProxy(record, "S5", "127.0.0.1", port, "", "");
  socket->AddHostRecord(record);
  socket->SetListMode();
  socket->SetNotifyWindow(client.GetSafeHwnd());
  socket->Start();
  int peer = platform::AcceptClient(silent, kWaitMs);
  EXPECT_GE(peer, 0);
  auto start = std::chrono::steady_clock::now();
  CLinkSocket::DestroyLinkSocket();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(kWaitMs));
  EXPECT_EQ(CLinkSocket::Current(), nullptr);
  platform::CloseSocket(peer);
  platform::CloseSocket(silent);
}

// A server that floods the client with packets once asked.
std::unique_ptr<sim::QuoteServer> Flood(
    LinkSession* test,
    std::function<std::unique_ptr<sim::QuoteServer>(sim::QuoteServerOptions)> start) {
  auto server = start({});
  server->RegisterHandler(0x0200, [](sim::QuoteSession& s, const sim::ReceivedRequest& r) {
    for (int i = 0; i < 20000 && s.Reply(Reply(0x0200, r.tag)); ++i) {
    }
  });
  return server;
}

TEST_F(LinkSession, DestroyWhileReceiving) {
  auto server = Flood(this, [this](sim::QuoteServerOptions o) { return StartServer(o); });
  Connect(server->Port());
  ASSERT_TRUE(LoggedIn());
  std::string request = Request(0x0200, 1);
  link.AskData(request.data(), (DWORD)request.size());
  ASSERT_TRUE(platform::PumpUntil([&] { return client.packets.size() > 20; }, kWaitMs));
  // The receive thread is now waiting for this thread to take what it has
  // read.
  auto start = std::chrono::steady_clock::now();
  link.UnLink();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(kWaitMs));
  size_t seen = client.packets.size();
  platform::PumpMessages(50);
  EXPECT_EQ(client.packets.size(), seen);  // nothing after the end
}

TEST_F(LinkSession, UnLinkFromInsideAForwardedPacket) {
  auto server = Flood(this, [this](sim::QuoteServerOptions o) { return StartServer(o); });
  Connect(server->Port());
  ASSERT_TRUE(LoggedIn());
  bool ended = false;
  client.onPacket = [&] {
    if (client.packets.size() == 5) {
      link.UnLink();
      ended = true;
    }
  };
  std::string request = Request(0x0200, 1);
  link.AskData(request.data(), (DWORD)request.size());
  ASSERT_TRUE(platform::PumpUntil([&] { return ended; }, kWaitMs));
  platform::PumpMessages(50);
  EXPECT_EQ(client.packets.size(), 5u);
  EXPECT_EQ(link.IsOnline(), 0);
  client.onPacket = nullptr;
}

TEST_F(LinkSession, PacketsComeInOrderAndNoneWhileAHandlerRunsALoop) {
  // Three replies, then, once the client handles the third, the rest: few
  // enough to be read whole while the client is busy.
  constexpr uint32_t kFirst = 3, kReplies = 1000;
  std::mutex mutex;
  std::condition_variable cv;
  bool go = false, sent = false;
  auto server = StartServer();
  server->RegisterHandler(0x0200, [&](sim::QuoteSession& s, const sim::ReceivedRequest& r) {
    for (uint32_t i = 0; i < kReplies; ++i) {
      if (i == kFirst) {
        std::unique_lock<std::mutex> lock(mutex);
        cv.wait_for(lock, std::chrono::milliseconds(kWaitMs), [&] { return go; });
      }
      std::string body = Reply(0x0200, r.tag);
      WriteU32(&body[4], i);
      if (!s.Reply(body)) break;
    }
    std::lock_guard<std::mutex> lock(mutex);
    sent = true;
  });
  Connect(server->Port());
  ASSERT_TRUE(LoggedIn());
  client.packets.clear();
  bool looped = false;
  size_t duringLoop = 0;
  client.onPacket = [&] {
    if (client.packets.size() != kFirst) return;
    {
      std::lock_guard<std::mutex> lock(mutex);
      go = true;
    }
    cv.notify_all();
    // A loop of the handler's own, as a message box runs, while the rest
    // comes in.
    const size_t before = client.packets.size();
    looped = platform::PumpUntil(
        [&] {
          std::lock_guard<std::mutex> lock(mutex);
          return sent;
        },
        kWaitMs);
    platform::PumpMessages(50);
    duringLoop = client.packets.size() - before;
  };
  std::string request = Request(0x0200, 1);
  link.AskData(request.data(), (DWORD)request.size());
  ASSERT_TRUE(platform::PumpUntil([&] { return client.packets.size() >= kReplies; }, kWaitMs));
  client.onPacket = nullptr;
  EXPECT_TRUE(looped);
  EXPECT_EQ(duringLoop, 0u);  // nothing until the handler has returned
  std::vector<uint32_t> numbers, inOrder;
  for (uint32_t i = 0; i < kReplies; ++i) {
    numbers.push_back(ReadU32(client.packets[i].data() + 4));
    inOrder.push_back(i);
  }
  EXPECT_EQ(numbers, inOrder);
}

// A box whose answer the user gives by ending the link (a nested loop of a
// real box lets that happen).
class UnLinkingBox : public platform::MessageBoxSink {
 public:
  explicit UnLinkingBox(CClientDataSource& link) : link_(link) {
    previous_ = platform::SetMessageBoxSink(this);
  }
  ~UnLinkingBox() override { platform::SetMessageBoxSink(previous_); }
  int Show(HWND, const std::string&, const std::string&, UINT) override {
    ++shown;
    link_.UnLink();
    return IDNO;
  }
  int shown = 0;

 private:
  CClientDataSource& link_;
  platform::MessageBoxSink* previous_;
};

TEST_F(LinkSession, UnLinkFromInsideTheFailedConnectionBox) {
  UnLinkingBox box(link);
  link.ChangeReceieveWnd(client.GetSafeHwnd(), kQuotePacket);
  link.SetIPPortInfo("127.0.0.1", dead, "a", "b");
  link.SetOnLine(nullptr, 0);
  ASSERT_TRUE(platform::PumpUntil([&] { return box.shown > 0; }, kWaitMs));
  EXPECT_EQ(CLinkSocket::Current(), nullptr);
  platform::PumpMessages(200);
  EXPECT_EQ(box.shown, 1);  // the ended connection asks no more
  EXPECT_EQ(link.IsOnline(), 0);
}

}  // namespace
