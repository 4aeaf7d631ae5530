// The update check's decisions with a scripted server: what is written,
// what is started, and every way the check ends without either.
#include <sys/stat.h>

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "sharecode/mythread.h"
#include "update_test_support.h"
#include "zeb/core/update/update_check.h"
#include "zeb/core/update/updater_launch.h"

using namespace update_test;

namespace {

class UpdateCheckTest : public ::testing::Test {
 public:  // the case table below arranges through these
  shell_test::TempFolders program;
  ScriptedHttp http;
  platform::ScopedRecordingBoxes boxes;
  int launches = 0;
  bool launchSucceeds = true;
  std::vector<UpdateServerMap> offered;  // what the chooser was shown
  bool chooserAnswers = true;
  std::string chosen;

  SUpdateCheckSetup MakeSetup() {
    SUpdateCheckSetup s;
    s.programDir = program.ProgramDir();
    s.server = "updates.example";
    s.port = 8080;
    s.path = "/zeb/update.xml";
    s.timeoutMs = 3000;
    s.systemTitle = "ZEB";
    s.http = &http;
    s.chooseServer = [this](const UpdateServerMap& servers, std::string* name) {
      offered.push_back(servers);
      *name = chosen;
      return chooserAnswers;
    };
    s.launch = [this] {
      ++launches;
      return launchSucceeds;
    };
    return s;
  }
  // Nothing written, nothing started.
  void ExpectNoHandOver(const char* what) {
    EXPECT_FALSE(program.Has(kUpdateListFileName)) << what;
    EXPECT_EQ(launches, 0) << what;
  }
};

const std::vector<Component> kTwo = {{"Main", "20261210", "main.zip"},
                                     {"Trade", "20261210", "trade.zip"}};

TEST_F(UpdateCheckTest, OneServerWritesTheListAndStartsTheUpdater) {
  program.Write("lastupdate.dat", LastUpdateRecord("main", "20261210"));
  http.Serve(List({{"only", "http://dl/"}}, kTwo));
  EXPECT_TRUE(CheckForUpdate(MakeSetup()));
  ASSERT_EQ(http.requests.size(), 1u);
  EXPECT_EQ(http.requests[0].host, "updates.example");
  EXPECT_EQ(http.requests[0].port, 8080);
  EXPECT_EQ(http.requests[0].path, "/zeb/update.xml");
  EXPECT_EQ(http.requests[0].connectTimeoutMs, 3000);
  EXPECT_EQ(http.requests[0].readTimeoutMs, 3000);
  EXPECT_TRUE(offered.empty());  // no choice with one server
  EXPECT_EQ(launches, 1);
  const std::string saved = program.Read(kUpdateListFileName);
  EXPECT_EQ(saved.find("main.zip"), std::string::npos);  // up to date: left out
  EXPECT_NE(saved.find("<DownAddress>http://dl/trade.zip</DownAddress>"), std::string::npos);
}

TEST_F(UpdateCheckTest, SeveralServersAskWhichOne) {
  http.Serve(List({{"north", "http://n/"}, {"south", "http://s/"}}, kTwo));
  chosen = "south";
  EXPECT_TRUE(CheckForUpdate(MakeSetup()));
  ASSERT_EQ(offered.size(), 1u);
  EXPECT_EQ(offered[0], (UpdateServerMap{{"north", "http://n/"}, {"south", "http://s/"}}));
  EXPECT_NE(program.Read(kUpdateListFileName).find("http://s/main.zip"), std::string::npos);
  EXPECT_EQ(launches, 1);
}

TEST_F(UpdateCheckTest, EndsWithoutHandingOver) {
  struct Case {
    const char* what;
    std::function<void(UpdateCheckTest&, SUpdateCheckSetup&)> arrange;
    size_t requests;
  } cases[] = {
      {"choice cancelled",
       [](UpdateCheckTest& t, SUpdateCheckSetup&) {
         t.http.Serve(List({{"a", "http://a/"}, {"b", "http://b/"}}, kTwo));
         t.chooserAnswers = false;
       },
       1},
      {"choice names no server",
       [](UpdateCheckTest& t, SUpdateCheckSetup&) {
         t.http.Serve(List({{"a", "http://a/"}, {"b", "http://b/"}}, kTwo));
         t.chosen = "c";
       },
       1},
      {"several servers and no chooser",
       [](UpdateCheckTest& t, SUpdateCheckSetup& s) {
         t.http.Serve(List({{"a", "http://a/"}, {"b", "http://b/"}}, kTwo));
         s.chooseServer = nullptr;
       },
       1},
      {"a server without an address",
       [](UpdateCheckTest& t, SUpdateCheckSetup&) {
         t.http.Serve(List({{"a", ""}}, kTwo));
       },
       1},
      {"everything current",
       [](UpdateCheckTest& t, SUpdateCheckSetup&) {
         t.program.Write("lastupdate.dat", LastUpdateRecord("MAIN", "20261210") +
                                               LastUpdateRecord("trade", "20261211"));
         t.http.Serve(List({{"a", "http://a/"}}, kTwo));
       },
       1},
      {"no servers listed",
       [](UpdateCheckTest& t, SUpdateCheckSetup&) { t.http.Serve(List({}, kTwo)); }, 1},
      {"no Product", [](UpdateCheckTest& t, SUpdateCheckSetup&) { t.http.Serve("<List/>"); }, 1},
      {"no answer",
       [](UpdateCheckTest& t, SUpdateCheckSetup&) {
         t.http.answer = SHttpResult{};
         t.http.answer.error = EHttpError::ReadTimeout;
       },
       1},
      {"empty update server: no request at all",
       [](UpdateCheckTest& t, SUpdateCheckSetup& s) {
         t.http.Serve(List({{"a", "http://a/"}}, kTwo));
         s.server.clear();
       },
       0},
  };
  for (const Case& c : cases) {
    http.requests.clear();
    offered.clear();
    chooserAnswers = true;
    chosen.clear();
    std::filesystem::remove(program.Path("lastupdate.dat"));
    SUpdateCheckSetup setup = MakeSetup();
    c.arrange(*this, setup);
    EXPECT_FALSE(CheckForUpdate(setup)) << c.what;
    EXPECT_EQ(http.requests.size(), c.requests) << c.what;
    ExpectNoHandOver(c.what);
  }
  EXPECT_TRUE(boxes.Boxes().empty());
}

// Lists the update program must never be handed: refused whole, nothing
// written or started, one trace line.
TEST_F(UpdateCheckTest, RefusesHostileLists) {
  const std::vector<std::pair<std::string, std::string>> good = {{"a", "http://a/"}};
  auto component = [](const std::string& name) {
    return std::vector<Component>{{name, "20261210", "x.zip"}};
  };
  std::vector<Component> many;
  for (int i = 0; i <= kUpdateMaxComponents; ++i)
    many.push_back({"c" + std::to_string(i), "1", "c.zip"});
  std::string unknownEncoding = List(good, kTwo);
  unknownEncoding.replace(unknownEncoding.find("GBK"), 3, "X-NOWHERE");
  const struct Case {
    const char* what;
    std::string list;
  } cases[] = {
      {"a file: server", List({{"a", "file:///etc/"}}, kTwo)},
      {"one good server and one without a scheme we fetch",
       List({{"a", "http://a/"}, {"b", "ftp://b/"}}, kTwo)},
      {"an http server without a host", List({{"a", "http:///files/"}}, kTwo)},
      {"a host with only a port", List({{"a", "https://:8080/"}}, kTwo)},
      {"credentials in the address", List({{"a", "http://user:pw@a/"}}, kTwo)},
      {"a space in the address", List({{"a", "http://a/x y/"}}, kTwo)},
      {"an address past the bound",
       List({{"a", "http://a/" + std::string(kUpdateMaxAddress, 'x')}}, kTwo)},
      {"a 3,000,000-byte server name", List({{std::string(3000000, 'n'), "http://a/"}}, kTwo)},
      {"a server name with a line break", List({{"a&#10;b", "http://a/"}}, kTwo)},
      {"an unknown encoding", unknownEncoding},
      {"a component climbing out of the folder", List(good, component("../../../../tmp/x"))},
      {"an absolute component name", List(good, component("/etc/shadow"))},
      {"a backslash in a component name", List(good, component("a\\x"))},
      {"a component named dot-dot", List(good, component(".."))},
      {"a control byte in a component name", List(good, component("a\tb"))},
      {"an empty component name", List(good, component(""))},
      {"a component name past its record",
       List(good, component(std::string(kUpdateMaxComponentName + 1, 'n')))},
      {"an update time past its record", List(good, {{"main", "202612101", "m.zip"}})},
      {"a line break in a download address",
       List(good, {{"main", "1", "m.zip&#13;&#10;Host: evil"}})},
      {"too many components", List(good, many)},
  };
  std::vector<std::string> trace;
  CMyThread::SetTraceSink([&](const std::string& line) { trace.push_back(line); });
  for (const Case& c : cases) {
    trace.clear();
    http.Serve(c.list);
    EXPECT_FALSE(CheckForUpdate(MakeSetup())) << c.what;
    ExpectNoHandOver(c.what);
    ASSERT_LE(trace.size(), 1u) << c.what;
    const std::string line = trace.empty() ? "(no trace line)" : trace[0];
    EXPECT_NE(line.find("update list refused"), std::string::npos) << c.what << ": " << line;
    EXPECT_LT(line.size(), 300u) << c.what;
  }
  CMyThread::SetTraceSink(nullptr);
  EXPECT_TRUE(offered.empty());

  // Within the bounds, names of any script and https servers pass.
  http.Serve(List({{"a", "HTTPS://a.example:8443/files/"}, {GBK("备用"), "http://[::1]/"}},
                  {{GBK("行情"), "20261210", "q.zip"},
                   {std::string(kUpdateMaxComponentName, 'n'), "1", "n.zip"}}));
  chosen = GBK("备用");
  EXPECT_TRUE(CheckForUpdate(MakeSetup()));
  EXPECT_EQ(launches, 1);
}

TEST_F(UpdateCheckTest, UpdaterThatDoesNotStartIsReported) {
  http.Serve(List({{"a", "http://a/"}}, kTwo));
  launchSucceeds = false;
  EXPECT_FALSE(CheckForUpdate(MakeSetup()));
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, GBK("启动自动更新程序失败"));
  EXPECT_EQ(boxes.Boxes()[0].caption, "ZEB");
  EXPECT_EQ(boxes.Boxes()[0].type, (UINT)MB_ICONINFORMATION);
}

// A new updater left in "update/" replaces the old one before the check,
// still executable, and its source is gone.
TEST_F(UpdateCheckTest, PendingUpdaterReplacesTheOldOne) {
  program.Write("Novarel", "old");
  program.Write("update/Novarel", "new");
  chmod(program.Path("update/Novarel").c_str(), 0755);
  SUpdateCheckSetup setup = MakeSetup();
  setup.server.clear();
  CheckForUpdate(setup);
  EXPECT_EQ(program.Read("Novarel"), "new");
  EXPECT_FALSE(program.Has("update/Novarel"));
  struct stat st {};
  ASSERT_EQ(stat(program.Path("Novarel").c_str(), &st), 0);
  EXPECT_TRUE(st.st_mode & S_IXUSR);
  EXPECT_FALSE(InstallPendingUpdater(program.ProgramDir()));  // nothing left to move
}

TEST(UpdaterArguments, ProgramPathPidWordAndFlag) {
  EXPECT_EQ(UpdaterArguments("/opt/zeb/ZEB", 4242, 1),
            (std::vector<std::string>{"/opt/zeb/ZEB", "4242", "quenlirt", "1"}));
  EXPECT_EQ(UpdaterArguments("/opt/zeb/ZEB", 7, 0).back(), "0");
}

}  // namespace
