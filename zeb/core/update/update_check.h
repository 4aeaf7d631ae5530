// The update check at start-up: asks the update server for its list,
// compares each component's time with "lastupdate.dat", and when anything
// is newer writes the outdated components to "update.xml" (download
// addresses prefixed with the chosen server) and starts the update program.
// It only decides and hands over; it keeps nothing when it returns.
//
// Sound behaviour kept here: an empty update server fails at once without
// a request; the fetch has connect and read time-outs and a size cap;
// cancelling the server choice (or a choice that names no server, or a
// server without an address) ends the check with nothing written and
// nothing started; so does a list the update program must not be handed
// (CUpdateList::Fault), with one trace line saying why.
#pragma once
#include <functional>
#include <string>

#include "zeb/core/update/http_get.h"
#include "zeb/core/update/update_list.h"

constexpr const char* kUpdateListFileName = "update.xml";
// The time-out when no update server is configured (the check then ends
// before any request).
constexpr int kUpdateDefaultTimeoutMs = 8000;

// The server choice when the list names several (the dialog
// CDlgUpdateSelect in the program): given the servers in name order,
// returns true with the chosen name, false when the user cancels.
using UpdateServerChooser =
    std::function<bool(const UpdateServerMap& servers, std::string* chosenName)>;

struct SUpdateCheckSetup {
  std::string programDir;                   // ends in "/"
  std::string server;                       // [UPDATE] UPDATESERVER
  int port = 80;                            // UPDATEPORT
  std::string path;                         // UPDATETAG
  int timeoutMs = kUpdateDefaultTimeoutMs;  // UPDATETMOUT: connect and read each
  size_t maxListBytes = kHttpDefaultMaxBody;
  std::string systemTitle;           // caption of the failure box
  IHttpGetter* http = nullptr;       // null: Qt Network
  UpdateServerChooser chooseServer;  // unset: several servers end the check
  std::function<bool()> launch;      // unset: LaunchUpdater(1)
};

// The whole check; true when the update program was started. A start that
// fails shows "启动自动更新程序失败".
bool CheckForUpdate(const SUpdateCheckSetup& setup);

// The program's check: the program folder, the store's [UPDATE] settings
// and SYSTEMTITLE, Qt Network and the chooser set below.
bool CheckForUpdate();
// The shell sets the dialog that chooses among several servers.
void SetUpdateServerChooser(UpdateServerChooser chooser);
