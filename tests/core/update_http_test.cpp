// The Qt Network getter against the update-server simulator, and the whole
// check against it with the stand-in update program: bounded waits for
// silent and slow servers, the size cap, no redirects, and what the update
// program is handed.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "platform/msgbox.h"
#include "platform/socket.h"
#include "update_test_support.h"
#include "zeb/store/public_store.h"
#include "zeb/core/update/update_check.h"

using namespace update_test;

namespace {

using Clock = std::chrono::steady_clock;

SHttpRequest Request(int port, const std::string& path, int timeoutMs = 5000) {
  SHttpRequest r;
  r.host = "127.0.0.1";
  r.port = port;
  r.path = path;
  r.connectTimeoutMs = timeoutMs;
  r.readTimeoutMs = timeoutMs;
  return r;
}

TEST(QtHttpGetter, AnswersAndRefusals) {
  shell_test::EnsureQtApp();
  CUpdateSimServer server;
  server.SetFile("/list.xml", "<Product/>");
  server.SetFile("/big", std::string(5000, 'b'));
  server.SetRedirect("/moved", "/list.xml");
  const int port = server.Start(0);
  ASSERT_GT(port, 0);
  CQtHttpGetter http;

  SHttpResult ok = http.Get(Request(port, "list.xml"));  // "/" put in front
  EXPECT_TRUE(ok.Ok());
  EXPECT_EQ(ok.status, 200);
  EXPECT_EQ(ok.body, "<Product/>");

  SHttpRequest capped = Request(port, "/big");
  capped.maxBodyBytes = 1000;
  EXPECT_EQ(http.Get(capped).error, EHttpError::TooLarge);
  capped.maxBodyBytes = 5000;
  EXPECT_EQ(http.Get(capped).body.size(), 5000u);

  SHttpResult moved = http.Get(Request(port, "/moved"));
  EXPECT_EQ(moved.error, EHttpError::Status);
  EXPECT_EQ(moved.status, 302);
  SHttpResult missing = http.Get(Request(port, "/nothing"));
  EXPECT_EQ(missing.error, EHttpError::Status);
  EXPECT_EQ(missing.status, 404);
  EXPECT_TRUE(missing.body.empty());
  // The redirect was not followed.
  EXPECT_EQ(server.Requests(),
            (std::vector<std::string>{"/list.xml", "/big", "/big", "/moved", "/nothing"}));

  std::string text;
  int status = -1;
  EXPECT_FALSE(HttpGet(http, text, "127.0.0.1", port, "/nothing", &status, 5000));
  EXPECT_EQ(status, 404);
  server.Stop();
  EXPECT_FALSE(HttpGet(http, text, "127.0.0.1", port, "/list.xml", &status, 5000));
  EXPECT_EQ(status, 504);  // refused: no answer
  EXPECT_EQ(http.Get(Request(port, "/x")).error, EHttpError::Network);
  SHttpRequest nowhere = Request(port, "/x");
  nowhere.host.clear();
  EXPECT_EQ(http.Get(nowhere).error, EHttpError::BadRequest);
  nowhere.host = "127.0.0.1";
  nowhere.port = 70000;
  EXPECT_EQ(http.Get(nowhere).error, EHttpError::BadRequest);
}

// Neither a server that never answers nor one that drips its answer can
// hold the caller much past the read time-out.
TEST(QtHttpGetter, SilentAndSlowServersTimeOut) {
  shell_test::EnsureQtApp();
  for (EUpdateSimMode mode : {EUpdateSimMode::Silent, EUpdateSimMode::Slow}) {
    CUpdateSimServer server(mode, 50);
    server.SetFile("/list.xml", std::string(2000, 'x'));  // 100 s at one byte per 50 ms
    const int port = server.Start(0);
    ASSERT_GT(port, 0);
    CQtHttpGetter http;
    const auto start = Clock::now();
    SHttpResult r = http.Get(Request(port, "/list.xml", 400));
    const auto took = Clock::now() - start;
    EXPECT_EQ(r.error, EHttpError::ReadTimeout) << (int)mode;
    EXPECT_TRUE(r.body.empty());
    EXPECT_GE(took, std::chrono::milliseconds(350));
    EXPECT_LT(took, std::chrono::seconds(10)) << (int)mode;
    server.Stop();
  }
}

// The peak resident size since the last reset, in bytes; -1 when the
// system cannot reset it.
long long ResetPeakMemory() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return clear ? 0 : -1;
}
long long PeakMemory() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::atoll(line.c_str() + 6) * 1024;
  return -1;
}
long long CurrentMemory() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::atoll(line.c_str() + 6) * 1024;
  return -1;
}

// A chunked answer declares no length: a list in chunks is read whole, and
// a server streaming chunks without end is cut at the cap, within the
// time-out and without holding much more than the cap in memory.
TEST(QtHttpGetter, ChunkedAnswersAreCappedAndTimed) {
  shell_test::EnsureQtApp();
  CUpdateSimServer server(EUpdateSimMode::Chunked, 0);
  const std::string list =
      List({{"a", "http://a/"}}, {{"ZEB", "20261210", std::string(200000, 'z')}});
  server.SetFile("/list.xml", list);  // several chunks
  constexpr size_t kFlood = 256u << 20;
  server.SetFlood("/flood", kFlood);
  const int port = server.Start(0);
  ASSERT_GT(port, 0);
  CQtHttpGetter http;
  SHttpResult whole = http.Get(Request(port, "/list.xml"));
  ASSERT_TRUE(whole.Ok());
  EXPECT_EQ(whole.body, list);

  const bool measured = ResetPeakMemory() == 0;
  const long long before = CurrentMemory();
  const auto start = Clock::now();
  SHttpResult flood = http.Get(Request(port, "/flood", 3000));
  const auto took = Clock::now() - start;
  EXPECT_EQ(flood.error, EHttpError::TooLarge);
  EXPECT_TRUE(flood.body.empty());
  EXPECT_LT(took, std::chrono::milliseconds(3000));
  // Past the cap the client stopped reading: the server got rid of little
  // more than the cap and what the sockets' buffers hold.
  EXPECT_LT(server.BodyBytesSent(), kHttpDefaultMaxBody + (32u << 20));
  if (measured) {
    EXPECT_LT(PeakMemory() - before, 64ll << 20) << "before " << before;
  }
  server.Stop();

  // Chunks that keep coming below the cap end at the read time-out.
  CUpdateSimServer paced(EUpdateSimMode::Chunked, 2);
  paced.SetFlood("/flood", kFlood);
  const int pacedPort = paced.Start(0);
  ASSERT_GT(pacedPort, 0);
  SHttpRequest endless = Request(pacedPort, "/flood", 400);
  endless.maxBodyBytes = kFlood;
  const auto begun = Clock::now();
  EXPECT_EQ(http.Get(endless).error, EHttpError::ReadTimeout);
  EXPECT_LT(Clock::now() - begun, std::chrono::milliseconds(400 + 1500));
  paced.Stop();
}

// A listener whose accept queue is full takes no more connections: the
// connect itself hangs, and the connect time-out ends it.
TEST(QtHttpGetter, ConnectTimeOut) {
  shell_test::EnsureQtApp();
  const int listener = socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(listener, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(bind(listener, (sockaddr*)&address, sizeof address), 0);
  ASSERT_EQ(listen(listener, 0), 0);
  ASSERT_EQ(getsockname(listener, (sockaddr*)&address, &length), 0);
  const int port = ntohs(address.sin_port);
  std::vector<platform::SocketFd> fillers;
  for (int i = 0; i < 8; ++i) {
    platform::SocketFd fd = platform::ConnectTcp("127.0.0.1", port, 300);
    if (fd == platform::kInvalidSocket) break;
    fillers.push_back(fd);
  }
  ASSERT_LT(fillers.size(), 8u) << "the accept queue never filled";

  CQtHttpGetter http;
  SHttpRequest request = Request(port, "/list.xml", 400);
  request.readTimeoutMs = 60000;
  const auto start = Clock::now();
  EXPECT_EQ(http.Get(request).error, EHttpError::ConnectTimeout);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
  for (platform::SocketFd fd : fillers) platform::CloseSocket(fd);
  close(listener);
}

std::string StandInUpdater() {
  const char* bin = std::getenv("ZEB_BIN_DIR");
  return bin ? std::string(bin) + "/Novarel" : "";
}

// The program's check from "zeb.ini" to the update program: the list comes
// from the simulator, the stand-in updater records what it was handed.
TEST(UpdateEndToEnd, StartsTheUpdaterWithTheList) {
  shell_test::EnsureQtApp();
  shell_test::TempFolders program;
  ASSERT_TRUE(std::filesystem::exists(StandInUpdater()));
  std::filesystem::copy_file(StandInUpdater(), program.Path("Novarel"));
  CUpdateSimServer server;
  const int port = server.Start(0);
  ASSERT_GT(port, 0);
  server.SetFile("/zeb/update.xml",
                 List({{"one", "http://127.0.0.1:1/files/"}, {"two", "http://127.0.0.1:2/files/"}},
                      {{"ZEB", "20261210", "ZEB.zip"}}));
  program.Write(
      "zeb.ini",
      "[UPDATE]\r\nUPDATESERVER=127.0.0.1\r\nUPDATEPORT=" + std::to_string(port) +
          "\r\nUPDATETAG=/zeb/update.xml\r\nUPDATETMOUT=5000\r\n[SYSTEM]\r\nSYSTEMTITLE=ZEB\r\n");
  platform::ScopedRecordingBoxes boxes;
  CPublic::GetInstance()->LoadConfig();
  std::vector<std::string> offered;
  SetUpdateServerChooser([&](const UpdateServerMap& servers, std::string* name) {
    for (const auto& s : servers) offered.push_back(s.first);
    *name = "two";
    return true;
  });

  EXPECT_TRUE(CheckForUpdate());
  EXPECT_EQ(offered, (std::vector<std::string>{"one", "two"}));
  ASSERT_TRUE(WaitFor([&] { return program.Has("novarel-record.txt"); }));
  const std::string record = program.Read("novarel-record.txt");
  const std::string expected = "argc 4\narg1 " + platform::GetExecutablePath() + "\narg2 " +
                               std::to_string(getpid()) + "\narg3 quenlirt\narg4 1\nupdate.xml\n";
  EXPECT_EQ(record.substr(0, expected.size()), expected);
  EXPECT_NE(record.find("<DownAddress>http://127.0.0.1:2/files/ZEB.zip</DownAddress>"),
            std::string::npos);
  EXPECT_TRUE(boxes.Boxes().empty());

  SetUpdateServerChooser(nullptr);
  CPublic::ReleaseInstance();
}

}  // namespace
