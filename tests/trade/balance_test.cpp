// The balance-server query against the simulator in each of its modes, the
// password digest, and binding the secure-socket library.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "balance_sim.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/paths.h"
#include "platform/socket.h"
#include "sharecode/text_utils.h"
#include "trade/core/balance_client.h"
#include "trade/core/sha1_digest.h"
#include "trade/core/sock_library.h"

namespace {

struct BalanceCase {
  EBalanceMode mode;
  int result;
  uint32_t length;  // written length when the query succeeds
};

TEST(BalanceQuery, ModesOfTheServer) {
  const std::vector<SBalancePair> pairs = {{"10.0.0.1", 7001, "10.0.1.1", 8001},
                                           {"10.0.0.2", 7002, "10.0.1.2", 8002}};
  const BalanceCase cases[] = {
      {EBalanceMode::Good, 0, 180},       {EBalanceMode::EmptyPayload, 0, 0},
      {EBalanceMode::BadChecksum, -1, 0}, {EBalanceMode::LengthBeyond, -1, 0},
      {EBalanceMode::Silent, -1, 0},
  };
  for (const BalanceCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    CBalanceSimServer sim(c.mode, pairs);
    const int port = sim.Start(0);
    ASSERT_GT(port, 0);
    unsigned char out[2048];
    std::memset(out, 0xEE, sizeof out);
    // Only the silent server needs the time-out; the others must not depend
    // on how quickly a loaded machine schedules the server.
    CBalanceClient client(c.mode == EBalanceMode::Silent ? 400 : 10000);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.Query("127.0.0.1", port, 0x1234, out), c.result);
    // Bounded by the time-out (with room for a loaded machine), not forever.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    // A client that gave up may be quicker than a starved server thread.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (sim.Requests().empty() && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(sim.Requests(), std::vector<std::string>{std::string("\x01\x34", 2)});
    if (c.result == 0) {
      uint32_t length;
      std::memcpy(&length, out, 4);
      EXPECT_EQ(length, c.length);
      EXPECT_EQ(std::string(reinterpret_cast<char*>(out) + 4, length),
                CBalanceSimServer::Payload(pairs).substr(0, length));
      EXPECT_EQ(out[4 + length], 0xEE);
    } else {
      EXPECT_EQ(out[0], 0xEE);  // the caller's buffer is untouched
      EXPECT_EQ(out[100], 0xEE);
    }
  }
  int closed = 0;
  platform::CloseSocket(platform::ListenLoopback(0, &closed));
  unsigned char out[8] = {};
  EXPECT_EQ(CBalanceClient().Query("127.0.0.1", closed, 1, out), -1);
}

TEST(BalanceFrame, HeaderLengthAndChecksum) {
  const unsigned char payload[] = {0x01, 0x34};
  auto frame = BuildBalanceFrame(payload, 2);
  ASSERT_EQ(frame->Size(), 14);
  const auto* b = reinterpret_cast<const unsigned char*>(frame->Data());
  EXPECT_EQ(std::memcmp(b, "\x01\x00\x00\x00\x00\x00\x00\x02", 8), 0);
  uint32_t len = 0;
  EXPECT_EQ(CheckBalanceFrame(b, 14, &len), 1);
  EXPECT_EQ(len, 2u);
  EXPECT_EQ(CheckBalanceFrame(b, 13, &len), 0);
  unsigned char huge[12] = {1, 0, 0, 0, 0, 0, 0x08, 0x00};  // 2048 bytes declared
  EXPECT_EQ(CheckBalanceFrame(huge, 12, &len), -1);
}

TEST(PasswordDigest, Sha1Vectors) {
  const std::pair<std::string, const char*> vectors[] = {
      {"", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
      {"abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
      {"The quick brown fox jumps over the lazy dog", "2fd4e1c67a2d28fced849ee1bb76e7391b93eb12"},
      {std::string(1000000, 'a'), "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
  };
  for (const auto& v : vectors) {
    unsigned char d[20];
    ASSERT_EQ(Sha1Digest(v.first.data(), static_cast<int>(v.first.size()), d), 0);
    EXPECT_EQ(BytesToHex(d, 20), v.second);
  }
  unsigned char d[20];
  EXPECT_EQ(Sha1Digest(nullptr, -1, d), -1);
}

TEST(SockLibrary, MissingLibraryLeavesEveryEntryPointZero) {
  static int argc = 1;
  static char name[] = "test_trade_balance";
  static char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  platform::ScopedRecordingBoxes boxes;
  platform::SetProgramDirOverride("/nonexistent/");
  CSockLibrary lib;
  EXPECT_EQ(lib.Load(), -1);
  platform::SetProgramDirOverride("");
  EXPECT_FALSE(lib.IsLoaded());
  EXPECT_EQ(lib.SockInit, nullptr);
  EXPECT_EQ(lib.SockDestroy, nullptr);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, GBK("载入Quellan.dll出错!"));

  ASSERT_EQ(lib.Load(), 0);  // the real one next to this program
  EXPECT_NE(lib.SockGetSockInfo, nullptr);
  char error[500] = "";
  EXPECT_EQ(lib.SockInit(1, "/nonexistent/ca.pem", "", "", "", error, 500), 0);
  EXPECT_NE(std::string(error).find("CA"), std::string::npos);
  const int plain = lib.SockInit(0, "", "", "", "", error, 500);
  EXPECT_NE(plain, 0);
  EXPECT_EQ(lib.SockDestroy(plain), 0);
  lib.Unload();
  EXPECT_EQ(lib.SockRecv, nullptr);
}

}  // namespace
