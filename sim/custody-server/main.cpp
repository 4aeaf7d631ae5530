// sim_custody: the custody business's web pages on loopback.
//
//   sim_custody [--port N]
//
// Prints the base address of every page; "zeb.ini" [TRUSTBUSINESS] takes
// them (CollectionPublishedApplyUrl=http://127.0.0.1:19320/CollectionPublishedApply
// and so on, the key being the page name followed by "Url").
#include <cstdio>
#include <cstdlib>
#include <string>

#include "custody_sim.h"
#include "platform/socket.h"
#include "sim/ports.h"
#include "sim/serve/stop_signal.h"

int main(int argc, char** argv) {
  platform::IgnoreBrokenPipe();
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
    std::fprintf(stderr, "sim_custody: cannot listen on port %d\n", port);
    return 1;
  }
  std::printf("PORT %d\n", chosen);
  for (const std::string& name : CCustodySimServer::PageNames())
    std::printf("%sUrl=http://127.0.0.1:%d/%s\n", name.c_str(), chosen, name.c_str());
  std::fflush(stdout);
  sim::WaitForStopSignal();
  server.Stop();
  return 0;
}
