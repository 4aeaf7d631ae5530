// The simulators of the outside peers, in-process: the bytes they send,
// what they accept from a client, that one client does not hold up
// another, and that the balance simulator points at the others.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "balance_sim.h"
#include "link/link_socket.h"
#include "link/quote_frame.h"
#include "link/quote_protocol.h"
#include "platform/socket.h"
#include "sim/ports.h"
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

// The next frame's body from the simulator.
std::string ReadBody(int fd) {
  unsigned char head[kFrameHeaderSize];
  if (!platform::RecvExact(fd, head, sizeof head, kWaitMs)) return "";
  uint32_t length =
      (uint32_t)head[0] << 24 | (uint32_t)head[1] << 16 | (uint32_t)head[2] << 8 | head[3];
  std::string body(length, '\0');
  if (!platform::RecvExact(fd, body.data(), body.size(), kWaitMs)) return "";
  return body;
}

TEST(QuoteSim, KeepAliveReplyCarriesTheRequestTag) {
  auto server = StartQuoteSim();
  int fd = platform::ConnectTcp("127.0.0.1", server->Port(), kWaitMs);
  ASSERT_GE(fd, 0);
  // A market in the request, so that it cannot pass for the tag.
  ShortRequest request = BuildRequestHeader(PKT_KEEPALIVE, 7, kKeepAliveTag, 0);
  std::string frame = EncodeFrame(request.data(), request.size());
  ASSERT_TRUE(platform::SendAll(fd, frame.data(), frame.size(), kWaitMs));
  std::string reply = ReadBody(fd);
  ASSERT_GE(reply.size(), 4u);
  EXPECT_EQ(reply.substr(0, 4), std::string("\x00\x44\x03\x00", 4));
  platform::CloseSocket(fd);
}

// The notice as the program's dispatcher reads it: type, text length at
// offset 2, a pointer slot, the text at offset 8.
TEST(QuoteSim, NoticeLayout) {
  sim::QuoteServerOptions options;
  options.port = 0;
  options.walkIntervalMs = 0;
  options.verbose = false;
  options.noticeText = "1^~T^~title^~body";
  sim::QuoteServer server(options);
  ASSERT_TRUE(server.Start());
  int fd = platform::ConnectTcp("127.0.0.1", server.Port(), kWaitMs);
  ASSERT_GE(fd, 0);
  const std::string expected = std::string("\x00\x0C\x11\x00\x00\x00\x00\x00", 8) +
                               "1^~T^~title^~body" + std::string(1, '\0');
  EXPECT_EQ(ReadBody(fd), expected);
  platform::CloseSocket(fd);
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

// Its default reply names the quote and trade simulators where the run
// command starts them, in every pair.
TEST(BalanceSim, DefaultReplyPointsAtTheSimulators) {
  CBalanceSimServer sim(EBalanceMode::Good);
  const int port = sim.Start(0);
  ASSERT_GT(port, 0);
  unsigned char out[kBalanceMaxReply];
  ASSERT_EQ(CBalanceClient(kWaitMs).Query("127.0.0.1", port, 1, out), 0);
  uint32_t length;
  std::memcpy(&length, out, 4);
  ASSERT_EQ(length, 5u * 36);
  for (int k = 0; k < 5; ++k) {
    SCOPED_TRACE(k);
    const unsigned char* pair = out + 4 + 36 * k;
    EXPECT_STREQ(reinterpret_cast<const char*>(pair), "127.0.0.1");
    EXPECT_EQ(pair[16] | pair[17] << 8, sim::kTradeSimPort);
    EXPECT_STREQ(reinterpret_cast<const char*>(pair + 18), "127.0.0.1");
    EXPECT_EQ(pair[34] | pair[35] << 8, sim::QuoteServerOptions{}.port);
  }
}

}  // namespace
