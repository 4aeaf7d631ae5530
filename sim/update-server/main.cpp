// sim_update: an update server on loopback.
//
//   sim_update [--port N] [--mode normal|silent|slow|chunked] [--servers N] [--time YYYYMMDD]
//              [--log FILE] [--verbose]
//
// Serves the update list at /zeb/update.xml (the program's [UPDATE]
// UPDATETAG) naming N download servers (all this one, under /files/) and
// two components, "ZEB" and "Trade", listed with the given update time, and
// a small file for each under /files/.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/socket.h"
#include "sim/ports.h"
#include "sim/serve/stop_signal.h"
#include "sim/serve/traffic_log.h"
#include "update_sim.h"

int main(int argc, char** argv) {
  platform::IgnoreBrokenPipe();
  if (!sim::ProgramLog().TakeOptions(&argc, argv)) return 2;
  int port = sim::kUpdateSimPort, servers = 1;
  std::string time = "20261210";
  EUpdateSimMode mode = EUpdateSimMode::Normal;
  for (int i = 1; i < argc; i += 2) {
    const std::string a = argv[i];
    const std::string v = i + 1 < argc ? argv[i + 1] : "";
    if (a == "--port") port = std::atoi(v.c_str());
    else if (a == "--servers") servers = std::atoi(v.c_str());
    else if (a == "--time") time = v;
    else if (a == "--mode" && v == "normal") mode = EUpdateSimMode::Normal;
    else if (a == "--mode" && v == "silent") mode = EUpdateSimMode::Silent;
    else if (a == "--mode" && v == "slow") mode = EUpdateSimMode::Slow;
    else if (a == "--mode" && v == "chunked") mode = EUpdateSimMode::Chunked;
    else {
      std::fprintf(stderr, "usage: see the comment at the top of sim/update-server/main.cpp\n");
      return 2;
    }
  }
  CUpdateSimServer server(mode);
  const int chosen = server.Start(port);
  if (chosen < 0) {
    sim::ProgramLog().Error("sim_update: cannot listen on port " + std::to_string(port));
    return 1;
  }
  const std::string files = "http://127.0.0.1:" + std::to_string(chosen) + "/files/";
  std::vector<std::pair<std::string, std::string>> list;
  for (int i = 1; i <= servers && i <= 10; ++i)
    list.emplace_back("server" + std::to_string(i), files);
  server.SetFile(
      "/zeb/update.xml",
      CUpdateSimServer::BuildList(list, {{"ZEB", time, "ZEB.zip"}, {"Trade", time, "Trade.zip"}}));
  server.SetFile("/files/ZEB.zip", "demo component ZEB\n");
  server.SetFile("/files/Trade.zip", "demo component Trade\n");
  sim::ProgramLog().Started("sim_update: PORT " + std::to_string(chosen) +
                            " (update list at /zeb/update.xml)");
  sim::WaitForStopSignal();
  server.Stop();
  sim::ProgramLog().Event("sim_update: stopped");
  return 0;
}
