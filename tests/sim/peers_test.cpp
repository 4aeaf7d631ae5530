// The simulators of the outside peers, in-process: what they accept from a
// client and that one client does not hold up another.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "balance_sim.h"
#include "link/link_socket.h"
#include "link/quote_frame.h"
#include "link/quote_protocol.h"
#include "platform/socket.h"
#include "sim/quote-server/quote_server.h"
#include "trade/core/balance_client.h"

namespace {

using namespace quotelink;

// Bound of every wait: a loaded machine only makes a passing run slower.
constexpr int kWaitMs = 20000;

std::unique_ptr<sim::QuoteServer> StartQuoteSim() {
  sim::QuoteServerOptions options;
  options.port = 0;
  options.walkIntervalMs = 0;
  options.verbose = false;
  auto server = std::make_unique<sim::QuoteServer>(options);
  EXPECT_TRUE(server->Start());
  return server;
}

TEST(QuoteSim, TakesNoFrameLongerThanAnyRequest) {
  auto server = StartQuoteSim();
  int fd = platform::ConnectTcp("127.0.0.1", server->Port(), kWaitMs);
  ASSERT_GE(fd, 0);
  // The longest request the link sends is taken.
  std::string longest(CLinkSocket::kMaxRequestBody, '\0');
  WriteU16(&longest[0], 0x0300);
  std::string frame = EncodeFrame(longest.data(), longest.size());
  ASSERT_TRUE(platform::SendAll(fd, frame.data(), frame.size(), kWaitMs));
  ASSERT_TRUE(server->WaitReceived(0x0300, 1, kWaitMs));
  // A frame announcing more ends the connection at once: nothing is held
  // for its body.
  unsigned char head[kFrameHeaderSize];
  EncodeFrameHeader(CLinkSocket::kMaxRequestBody + 1, head);
  ASSERT_TRUE(platform::SendAll(fd, head, sizeof head, kWaitMs));
  char byte;
  EXPECT_EQ(platform::RecvSome(fd, &byte, 1, kWaitMs), 0);
  platform::CloseSocket(fd);
}

TEST(BalanceSim, SilentClientsDoNotHoldUpAQuery) {
  CBalanceSimServer sim(EBalanceMode::Good, {{"127.0.0.1", 1, "127.0.0.1", 2}});
  const int port = sim.Start(0);
  ASSERT_GT(port, 0);
  // Clients that connect first and say nothing.
  std::vector<int> silent;
  for (int i = 0; i < 10; ++i) {
    silent.push_back(platform::ConnectTcp("127.0.0.1", port, kWaitMs));
    ASSERT_GE(silent.back(), 0);
  }
  // Each of them may keep its connection for seconds; a real query behind
  // them is still answered long before its time-out.
  unsigned char out[kBalanceMaxReply];
  EXPECT_EQ(CBalanceClient(10000).Query("127.0.0.1", port, 1, out), 0);
  for (int fd : silent) platform::CloseSocket(fd);
}

}  // namespace
