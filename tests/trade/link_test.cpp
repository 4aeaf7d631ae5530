// The communication thread against the simulated trade server over TLS,
// through the secure-socket library loaded by name from the program folder.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/socket.h"
#include "platform/window.h"
#include "support/temp_folder.h"
#include "test_pki.h"
#include "trade/core/comm_thread.h"
#include "trade/core/sha1_digest.h"
#include "trade/core/sock_library.h"
#include "trade/host/trade_reply_messages.h"
#include "trade/core/trade_session.h"
#include "trade/core/trade_sinks.h"
#include "trade_sim.h"
#include "sharecode/text_utils.h"

namespace {

HWND const kNotify = reinterpret_cast<HWND>(0x100);
HWND const kMain = reinterpret_cast<HWND>(0x200);

bool WaitFor(const std::function<bool()>& done, int ms = 20000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// A port where nobody listens: connecting is refused at once.
int ClosedPort() {
  int port = 0;
  platform::SocketFd fd = platform::ListenLoopback(0, &port);
  platform::CloseSocket(fd);
  return port;
}

class LinkTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "test_trade_link";
    static char* argv[] = {name, nullptr};
    app_ = new QCoreApplication(argc, argv);
    folder_ = new test_support::TempFolder("trade_pki");
    ASSERT_TRUE(GenerateTestPki(folder_->Path(), "secret", &pki_));
    // By name from the program folder, the way the trading library binds it.
    ASSERT_EQ(GetSockLibrary().Load(), 0);
    char error[500] = "";
    // The client key is encrypted: a wrong password refuses the start.
    EXPECT_EQ(GetSockLibrary().SockInit(1, pki_.caCert.c_str(), pki_.clientCert.c_str(),
                                        pki_.clientKey.c_str(), "wrong", error, 500),
              0);
    EXPECT_NE(std::string(error).find("client certificate"), std::string::npos) << error;
    ASSERT_NE(GetSockLibrary().SockInit(1, pki_.caCert.c_str(), pki_.clientCert.c_str(),
                                        pki_.clientKey.c_str(), "secret", error, 500),
              0)
        << error;
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
    delete app_;
  }

  LinkTest()
      : sinks_(STradeSinks{[this](HWND wnd, UINT msg, WPARAM w, LPARAM l) {
                             std::lock_guard<std::mutex> g(m_);
                             posts_.push_back({wnd, msg, w, l});
                             return TRUE;
                           },
                           [this](const std::string& text, UINT) {
                             std::lock_guard<std::mutex> g(m_);
                             boxes_.push_back(text);
                             int answer = IDOK;
                             if (!answers_.empty()) {
                               answer = answers_.front();
                               answers_.erase(answers_.begin());
                             }
                             return answer;
                           },
                           nullptr, nullptr}) {
    session_.SetNotify(kNotify, WM_TRADE_LOGIN_RESULT);
    session_.SetUserId("u01");
    unsigned char d[20];
    Sha1Digest("pass", 4, d);
    session_.SetPasswordDigest(BytesToHex(d, 20));
  }

  STradeSimOptions SimOptions() {
    STradeSimOptions o;
    o.caFile = pki_.caCert;
    o.certFile = pki_.serverCert;
    o.keyFile = pki_.serverKey;
    o.log = false;
    return o;
  }

  struct Post {
    HWND wnd;
    UINT msg;
    WPARAM w;
    LPARAM l;
  };
  std::vector<std::pair<WPARAM, LPARAM>> NotifyPosts() {
    std::lock_guard<std::mutex> g(m_);
    std::vector<std::pair<WPARAM, LPARAM>> out;
    for (const Post& p : posts_)
      if (p.wnd == kNotify) out.emplace_back(p.w, p.l);
    return out;
  }
  std::vector<std::string> Boxes() {
    std::lock_guard<std::mutex> g(m_);
    return boxes_;
  }
  // The replies announced to the main window so far.
  size_t Replies() {
    std::lock_guard<std::mutex> g(m_);
    size_t n = 0;
    for (const Post& p : posts_) n += p.wnd == kMain && p.msg == WM_TRADE_REPLY;
    return n;
  }
  void Answer(std::vector<int> answers) {
    std::lock_guard<std::mutex> g(m_);
    answers_ = std::move(answers);
  }

  static QCoreApplication* app_;
  static STestPki pki_;
  static test_support::TempFolder* folder_;
  std::mutex m_;
  std::vector<Post> posts_;
  std::vector<std::string> boxes_;
  std::vector<int> answers_;
  ScopedTradeSinks sinks_;
  CTradeSession session_;
};

QCoreApplication* LinkTest::app_ = nullptr;
STestPki LinkTest::pki_;
test_support::TempFolder* LinkTest::folder_ = nullptr;

using Notify = std::vector<std::pair<WPARAM, LPARAM>>;

TEST_F(LinkTest, ThirdOfFiveServersAnswersAndTheSessionWorks) {
  CTradeSimServer sim(SimOptions());
  const int port = sim.Start(0);
  ASSERT_GT(port, 0);
  CCommThread conn(&session_);
  conn.SetServerList({{"127.0.0.1", ClosedPort()},
                      {"127.0.0.1", ClosedPort()},
                      {"127.0.0.1", port},
                      {"127.0.0.1", ClosedPort()},
                      {"127.0.0.1", ClosedPort()}});
  conn.SetRoundRobin(true);
  ASSERT_EQ(conn.Start(0), 0);
  ASSERT_TRUE(WaitFor([&] { return session_.GetLoginResult() == 1; }));
  // The result is posted just after the store takes it.
  ASSERT_TRUE(WaitFor([&] { return NotifyPosts().size() == 2; }));
  EXPECT_EQ(conn.GetCurrentIndex(), 2);
  EXPECT_EQ(conn.IsConnected(), 1);
  EXPECT_EQ(NotifyPosts(), (Notify{{1, 0}, {1, 1}}));
  EXPECT_EQ(sim.Requests(), std::vector<std::string>{"1001"});
  EXPECT_EQ(sim.Accepted(), 1);

  // A request from this (the user-interface) thread while the worker polls.
  session_.SetMainWnd(kMain);
  COrder order;
  order.productId = "602001";
  order.orderType = "0B";
  order.price = "12.34";
  order.quantity = "300";
  session_.SendOrder(order);
  ASSERT_TRUE(WaitFor([&] { return session_.GetOrders().size() == 1; }));
  EXPECT_EQ(session_.GetOrders()[0].status, "2");
  session_.QueryHoldings();
  ASSERT_TRUE(WaitFor([&] { return session_.GetHoldings().size() == 2; }));
  EXPECT_EQ(Boxes().size(), 1u);  // the order's status box
  conn.Stop();
  conn.WaitForExit();
  EXPECT_EQ(conn.IsConnected(), 0);
}

TEST_F(LinkTest, NoServerAnswersFailsOnceAfterFiveAttempts) {
  CCommThread conn(&session_);
  std::vector<SServerAddr> servers;
  for (int i = 0; i < 5; ++i) servers.push_back({"127.0.0.1", ClosedPort()});
  conn.SetServerList(servers);
  conn.SetRoundRobin(true);
  ASSERT_EQ(conn.Start(0), 0);
  conn.WaitForExit();  // a failed connect ends the thread by itself
  EXPECT_EQ(Boxes(), std::vector<std::string>{GBK("连接失败")});
  EXPECT_EQ(NotifyPosts(), (Notify{{2, 0}}));
  EXPECT_EQ(conn.GetCurrentIndex(), 5);
  EXPECT_EQ(conn.IsConnected(), 0);

  // An empty list fails at once, too.
  CCommThread empty(&session_);
  empty.SetRoundRobin(true);
  ASSERT_EQ(empty.Start(0), 0);
  empty.WaitForExit();
  EXPECT_EQ(Boxes().size(), 2u);
}

TEST_F(LinkTest, DroppedLinkAsksToReconnectYesThenNo) {
  CTradeSimServer sim(SimOptions());
  const int port = sim.Start(0);
  CCommThread conn(&session_);
  conn.SetServer({"127.0.0.1", port});
  Answer({IDYES, IDNO});
  ASSERT_EQ(conn.Start(0), 0);
  ASSERT_TRUE(WaitFor([&] { return session_.GetLoginResult() == 1; }));
  sim.DropLinks();
  // Yes: a new connection and a new login.
  ASSERT_TRUE(WaitFor([&] { return sim.Requests().size() == 2; }));
  ASSERT_TRUE(WaitFor([&] { return session_.GetLoginResult() == 1; }));
  EXPECT_EQ(sim.Accepted(), 2);
  sim.DropLinks();
  // No: the loop ends by itself.
  conn.WaitForExit();
  const std::string question = GBK("和服务器断链，您是否重新连接?");
  EXPECT_EQ(Boxes(), (std::vector<std::string>{question, question}));
  EXPECT_EQ(conn.IsConnected(), 0);
  EXPECT_EQ(NotifyPosts(), (Notify{{1, 0}, {1, 1}, {1, 0}, {1, 1}}));
}

TEST_F(LinkTest, StoppingNeverWaitsForABoxOnlyTheUserInterfaceCouldShow) {
  // The real box path: a box from the worker waits for this (the
  // user-interface) thread, which is busy stopping the worker.
  std::atomic<bool> asked{false};
  ScopedTradeSinks platformBoxes(STradeSinks{[this](HWND wnd, UINT msg, WPARAM w, LPARAM l) {
                                               std::lock_guard<std::mutex> g(m_);
                                               posts_.push_back({wnd, msg, w, l});
                                               return TRUE;
                                             },
                                             [&asked](const std::string& text, UINT type) {
                                               asked = true;
                                               return ::AfxMessageBox(text.c_str(), type);
                                             },
                                             nullptr, nullptr});
  platform::ScopedRecordingBoxes shown;
  CTradeSimServer sim(SimOptions());
  const int port = sim.Start(0);
  CCommThread conn(&session_);
  conn.SetServer({"127.0.0.1", port});
  ASSERT_EQ(conn.Start(0), 0);
  ASSERT_TRUE(WaitFor([&] { return session_.GetLoginResult() == 1; }));
  sim.DropLinks();
  ASSERT_TRUE(WaitFor([&] { return asked.load(); }));  // the question is on its way
  conn.Stop();
  conn.WaitForExit();
  EXPECT_TRUE(shown.Boxes().empty());  // abandoned, answered No
  EXPECT_EQ(sim.Accepted(), 1);        // and nothing reconnected
}

TEST_F(LinkTest, SplitCoalescedHeartbeatsAndBadChecksums) {
  STradeSimOptions o = SimOptions();
  o.split = true;
  o.coalesce = true;
  o.heartbeatMs = 10;
  CTradeSimServer sim(o);
  CCommThread conn(&session_);
  conn.SetServer({"127.0.0.1", sim.Start(0)});
  ASSERT_EQ(conn.Start(0), 0);
  ASSERT_TRUE(WaitFor([&] { return session_.GetLoginResult() == 1; }));
  session_.SetMainWnd(kMain);
  session_.QueryFunds();
  ASSERT_TRUE(WaitFor([&] { return !session_.GetFunds().available.empty(); }));
  EXPECT_TRUE(Boxes().empty());
  conn.Stop();
  conn.WaitForExit();

  // Every reply with a wrong checksum; the link drops after the first one,
  // so once the reconnect question comes that reply has been taken in.
  STradeSimOptions bad = SimOptions();
  bad.badChecksum = true;
  bad.dropAfterRequests = 1;
  CTradeSimServer badSim(bad);
  CCommThread badConn(&session_);
  badConn.SetServer({"127.0.0.1", badSim.Start(0)});
  Answer({IDNO});
  ASSERT_EQ(badConn.Start(0), 0);
  ASSERT_TRUE(WaitFor([&] { return !Boxes().empty(); }));
  badConn.WaitForExit();
  EXPECT_EQ(badSim.Requests(), std::vector<std::string>{"1001"});
  EXPECT_EQ(Boxes(), std::vector<std::string>{GBK("和服务器断链，您是否重新连接?")});
  EXPECT_EQ(session_.GetLoginResult(), -1);  // the reply was dropped
}

TEST_F(LinkTest, ConcurrentSendsAndReceivesShareOneConnection) {
  CTradeSimServer sim(SimOptions());
  CCommThread conn(&session_);
  conn.SetServer({"127.0.0.1", sim.Start(0)});
  ASSERT_EQ(conn.Start(0), 0);
  ASSERT_TRUE(WaitFor([&] { return session_.GetLoginResult() == 1; }));
  session_.SetMainWnd(kMain);
  // Two senders beside the polling worker; every request must reach the
  // server whole (it drops anything with a broken checksum or framing).
  std::thread other([&] {
    for (int i = 0; i < 100; ++i) session_.QueryHoldings();
  });
  for (int i = 0; i < 100; ++i) session_.QueryFunds();
  other.join();
  ASSERT_TRUE(WaitFor([&] { return sim.Requests().size() == 201; }));
  ASSERT_TRUE(WaitFor([&] { return Replies() == 200; }));
  EXPECT_EQ(conn.IsConnected(), 1);
}

// Counts the thread's steps and takes one message of its own.
class CountedCommThread : public CCommThread {
 public:
  static constexpr int kOwnMessage = 77;
  using CCommThread::CCommThread;
  std::atomic<int> steps{0};
  std::atomic<int> ownMessages{0};

 protected:
  int Step() override {
    ++steps;
    return CCommThread::Step();
  }
  int OnMessage(const SThreadMsg& msg, int forced) override {
    if (msg.type == kOwnMessage) {
      ++ownMessages;
      return 0;
    }
    return CCommThread::OnMessage(msg, forced);
  }
};

TEST_F(LinkTest, AnIdleConnectionSleepsUntilARequestAReplyOrAStop) {
  // Each reply comes in one write with a heartbeat before it: the reply is
  // already read when the heartbeat is taken, and nothing more arrives to
  // wake the thread for it.
  STradeSimOptions o = SimOptions();
  o.coalesce = true;
  CTradeSimServer sim(o);
  CountedCommThread conn(&session_);
  conn.SetServer({"127.0.0.1", sim.Start(0)});
  ASSERT_EQ(conn.Start(0), 0);
  ASSERT_TRUE(WaitFor([&] { return session_.GetLoginResult() == 1; }));
  session_.SetMainWnd(kMain);

  // Idle: a thread that polled every 5 ms would step some 60 times.
  const int before = conn.steps.load();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_LT(conn.steps.load() - before, 10);

  for (size_t round = 0; round < 3; ++round) {
    // Requests from this thread while the worker sleeps: their replies wake it.
    session_.QueryHoldings();
    ASSERT_TRUE(WaitFor([&] { return Replies() == 2 * round + 1; }));
    session_.QueryFunds();
    ASSERT_TRUE(WaitFor([&] { return Replies() == 2 * round + 2; }));
    // A message queued for the thread wakes it too.
    SThreadMsg own;
    own.type = CountedCommThread::kOwnMessage;
    conn.PostMsg(0, own);
    ASSERT_TRUE(WaitFor([&] { return conn.ownMessages.load() == static_cast<int>(round) + 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_FALSE(session_.GetHoldings().empty());
  EXPECT_FALSE(session_.GetFunds().available.empty());
  EXPECT_EQ(conn.IsConnected(), 1);
  // And a stop ends the wait: this returns rather than waiting for data.
  conn.Stop();
  conn.WaitForExit();
  EXPECT_EQ(conn.IsConnected(), 0);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(LinkTest, WrongPasswordIsRefused) {
  CTradeSimServer sim(SimOptions());
  CCommThread conn(&session_);
  conn.SetServer({"127.0.0.1", sim.Start(0)});
  session_.SetPasswordDigest(std::string(40, '0'));
  ASSERT_EQ(conn.Start(0), 0);
  ASSERT_TRUE(WaitFor([&] { return session_.GetLoginResult() == -3; }));
  ASSERT_TRUE(WaitFor([&] { return NotifyPosts().size() == 3; }));
  EXPECT_EQ(NotifyPosts(), (Notify{{1, 0}, {2, 1}, {1, -3}}));
}

TEST_F(LinkTest, AServerThatNeverHandshakesCannotHoldTheConnect) {
  int port = 0;
  platform::SocketFd listener = platform::ListenLoopback(0, &port);  // never accepts
  ASSERT_NE(listener, platform::kInvalidSocket);
  const auto start = std::chrono::steady_clock::now();
  int socket = 0;
  EXPECT_EQ(GetSockLibrary().SockConnect(&socket, "127.0.0.1", static_cast<uint16_t>(port), 300),
            -1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  platform::CloseSocket(listener);
}

TEST_F(LinkTest, OnlyTheTrustedCertificateOfTheHostAskedForIsAccepted) {
  struct Case {
    const char* what;
    std::string cert, key;
    const char* host;
    int expected;
  };
  const Case cases[] = {
      {"another CA", pki_.otherServerCert, pki_.otherServerKey, "127.0.0.1", -1},
      {"right CA, another host (address)", pki_.otherHostCert, pki_.otherHostKey, "127.0.0.1", -1},
      {"right CA, another host (name)", pki_.otherHostCert, pki_.otherHostKey, "localhost", -1},
      {"genuine, by address", pki_.serverCert, pki_.serverKey, "127.0.0.1", 0},
      {"genuine, by name", pki_.serverCert, pki_.serverKey, "localhost", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    STradeSimOptions o = SimOptions();
    o.certFile = c.cert;
    o.keyFile = c.key;
    CTradeSimServer server(o);
    const int port = server.Start(0);
    ASSERT_GT(port, 0);
    int socket = 0;
    ASSERT_EQ(GetSockLibrary().SockConnect(&socket, c.host, static_cast<uint16_t>(port), 5000),
              c.expected);
    if (c.expected != 0) {
      EXPECT_EQ(socket, 0);
      continue;
    }
    char info[200] = "";
    EXPECT_EQ(GetSockLibrary().SockGetSockInfo(socket, info, sizeof info), 0);
    EXPECT_NE(std::string(info).find("TLS"), std::string::npos) << info;
    GetSockLibrary().SockClose(socket);
    EXPECT_NE(GetSockLibrary().SockGetConnStatus(socket), 0);
  }
}

}  // namespace
