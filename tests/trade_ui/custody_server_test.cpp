// The custody pages the trading window opens and the page simulator that
// serves them agree: every page's "zeb.ini" key names a served page, and
// an address built by the window (account and session encoded) is
// answered with that account and session shown.
#include <gtest/gtest.h>

#include "custody_sim.h"
#include "platform/gbk.h"
#include "platform/socket.h"
#include "trade/ui/rules/custody_pages.h"

namespace {

std::string PathOf(const std::string& url) {
  return url.substr(url.find('/', std::string("http://").size()));
}

TEST(CustodyServer, EveryPageKeyNamesAServedPage) {
  const std::vector<std::string> names = CCustodySimServer::PageNames();
  ASSERT_EQ(names.size(), static_cast<size_t>(kCustodyPageCount));
  for (int page = 0; page < kCustodyPageCount; ++page) {
    EXPECT_EQ(CustodyPageKey(page), names[page] + "Url");
    const std::string url = CustodyAddress("http://127.0.0.1:19320/" + names[page], "8001", "S1");
    EXPECT_EQ(CCustodySimServer::Answer(PathOf(url)).status, 200) << url;
  }
}

TEST(CustodyServer, AnswersWhatTheAddressCarriesAndNothingElse) {
  // An account with a slash, markup and a Chinese name survives the trip
  // as one segment and shows as text.
  const std::string account = std::string("a/<b>") + GBK("张");
  const auto page = CCustodySimServer::Answer(
      PathOf(CustodyAddress("http://h/TrusteeshipApply", account, "s&1")));
  ASSERT_EQ(page.status, 200);
  EXPECT_NE(page.body.find("a/&lt;b&gt;张"), std::string::npos);
  EXPECT_NE(page.body.find("s&amp;1"), std::string::npos);
  EXPECT_NE(page.body.find("托管申请"), std::string::npos);
  for (const char* path :
       {"/TrusteeshipApply/accountname/8001", "/Unknown/accountname/1/sessionid/2",
        "/TrusteeshipApply/accountname/a%2/sessionid/2", "", "/",
        "/TrusteeshipApply/account/1/sessionid/2"})
    EXPECT_EQ(CCustodySimServer::Answer(path).status, 404) << path;
}

TEST(CustodyServer, ServesOverLoopback) {
  CCustodySimServer server;
  const int port = server.Start(0);
  ASSERT_GT(port, 0);
  platform::SocketFd fd = platform::ConnectTcp("127.0.0.1", port, 2000);
  ASSERT_NE(fd, platform::kInvalidSocket);
  const std::string request =
      "GET /PickupOrderCancel/accountname/8001/sessionid/S HTTP/1.1\r\nHost: x\r\n\r\n";
  ASSERT_TRUE(platform::SendAll(fd, request.data(), request.size(), 2000));
  std::string reply;
  char buffer[4096];
  for (long n; (n = platform::RecvSome(fd, buffer, sizeof buffer, 2000)) > 0;)
    reply.append(buffer, n);
  platform::CloseSocket(fd);
  EXPECT_EQ(reply.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << reply;
  EXPECT_NE(reply.find("text/html"), std::string::npos);
  EXPECT_NE(reply.find("提货单注销"), std::string::npos);
  EXPECT_EQ(server.Requests(),
            std::vector<std::string>{"/PickupOrderCancel/accountname/8001/sessionid/S"});
}

}  // namespace
