// sim_custody: the custody business's web pages on loopback.
//
//   sim_custody [--port N] [--log FILE] [--verbose]
//
// Writes the base address of every page to its log (--log FILE; on the
// terminal with --verbose); "zeb.ini" [TRUSTBUSINESS] takes them
// (CollectionPublishedApplyUrl=http://127.0.0.1:19320/CollectionPublishedApply
// and so on, the key being the page name followed by "Url").
#include <cstdio>
#include <cstdlib>
#include <string>

#include "custody_sim.h"
#include "platform/socket.h"
#include "sim/ports.h"
#include "sim/serve/stop_signal.h"
#include "sim/serve/traffic_log.h"

int main(int argc, char** argv) {
  platform::IgnoreBrokenPipe();
  if (!sim::ProgramLog().TakeOptions(&argc, argv)) return 2;
  int port = sim::kCustodySimPort;
  for (int i = 1; i < argc; i += 2) {
    const std::string a = argv[i];
    if (a == "--port" && i + 1 < argc) {
      port = std::atoi(argv[i + 1]);
    } else {
      std::fprintf(stderr, "usage: see the comment at the top of sim/custody-server/main.cpp\n");
      return 2;
    }
  }
  CCustodySimServer server;
  const int chosen = server.Start(port);
  if (chosen < 0) {
    sim::ProgramLog().Error("sim_custody: cannot listen on port " + std::to_string(port));
    return 1;
  }
  sim::ProgramLog().Started("sim_custody: PORT " + std::to_string(chosen));
  // The pages' addresses, as "zeb.ini" [TRUSTBUSINESS] takes them: in the
  // log, on the terminal with --verbose.
  for (const std::string& name : CCustodySimServer::PageNames())
    sim::ProgramLog().Request(name + "Url=http://127.0.0.1:" + std::to_string(chosen) + "/" + name);
  sim::WaitForStopSignal();
  server.Stop();
  sim::ProgramLog().Event("sim_custody: stopped");
  return 0;
}
