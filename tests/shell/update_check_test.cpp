// The update check's decisions with a scripted server: what is written,
// what is started, and every way the check ends without either.
#include <sys/stat.h>

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "update_test_support.h"
#include "zeb/shell/update/update_check.h"
#include "zeb/shell/update/updater_launch.h"

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

const std::vector<Component> kTwo = {{"Main", "20261210", "main.zip"}, {"Trade", "20261210", "trade.zip"}};

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
       [](UpdateCheckTest& t, SUpdateCheckSetup&) { t.http.Serve(List({{"a", ""}}, kTwo)); }, 1},
      {"everything current",
       [](UpdateCheckTest& t, SUpdateCheckSetup&) {
         t.program.Write("lastupdate.dat",
                         LastUpdateRecord("MAIN", "20261210") + LastUpdateRecord("trade", "20261211"));
         t.http.Serve(List({{"a", "http://a/"}}, kTwo));
       },
       1},
      {"no servers listed", [](UpdateCheckTest& t, SUpdateCheckSetup&) { t.http.Serve(List({}, kTwo)); }, 1},
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
