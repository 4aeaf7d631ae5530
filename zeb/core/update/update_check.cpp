// The update check (update_check.h).
#include "zeb/core/update/update_check.h"

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/paths.h"
#include "sharecode/mythread.h"
#include "zeb/store/public_store.h"
#include "zeb/core/update/updater_launch.h"

namespace {

UpdateServerChooser& ProgramChooser() {
  static UpdateServerChooser chooser;
  return chooser;
}

// The download base: the one server's URL, or the chosen one's; empty
// when the choice was cancelled or names nothing usable.
std::string ChooseBase(const UpdateServerMap& servers, const UpdateServerChooser& choose) {
  if (servers.size() == 1) return servers.begin()->second;
  std::string name;
  if (!choose || !choose(servers, &name)) return "";
  auto it = servers.find(name);
  return it == servers.end() ? "" : it->second;
}

}  // namespace

bool CheckForUpdate(const SUpdateCheckSetup& setup) {
  std::string bytes;
  const LastUpdateMap recorded = platform::ReadFile(setup.programDir + kLastUpdateFileName, bytes)
                                     ? ParseLastUpdate(bytes)
                                     : LastUpdateMap();
  InstallPendingUpdater(setup.programDir);

  if (setup.server.empty()) return false;
  CQtHttpGetter qtHttp;
  IHttpGetter& http = setup.http ? *setup.http : qtHttp;
  std::string text;
  int status = 0;
  if (!HttpGet(http, text, setup.server, setup.port, setup.path, &status, setup.timeoutMs,
               setup.maxListBytes))
    return false;

  CUpdateList list;
  if (!list.Parse(text) || list.Servers().empty()) return false;
  if (const std::string fault = list.Fault(); !fault.empty()) {
    WriteTraceLine(TRACE_HERE, 0, "update list refused, nothing written or started: %s\n",
                   fault.c_str());
    return false;
  }
  if (list.DropCurrent(recorded) == 0) return false;
  const std::string base = ChooseBase(list.Servers(), setup.chooseServer);
  if (base.empty()) return false;
  list.PrefixDownAddresses(base);
  if (!list.Save(setup.programDir + kUpdateListFileName)) return false;

  const bool started = setup.launch ? setup.launch() : LaunchUpdater(1);
  if (!started)
    MessageBox(nullptr, GBK("启动自动更新程序失败"), setup.systemTitle.c_str(), MB_ICONINFORMATION);
  return started;
}

void SetUpdateServerChooser(UpdateServerChooser chooser) { ProgramChooser() = std::move(chooser); }

bool CheckForUpdate() {
  const CPublic* store = CPublic::GetInstance();
  SUpdateCheckSetup setup;
  setup.programDir = platform::GetProgramDir();
  short port = 80;
  store->GetUpdateServer(setup.server, &port, setup.path, &setup.timeoutMs);
  setup.port = (unsigned short)port;  // the store hands ports above 32767 over as negative shorts
  setup.systemTitle = store->GetSystemTitle();
  setup.chooseServer = ProgramChooser();
  return CheckForUpdate(setup);
}
