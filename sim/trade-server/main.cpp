// sim_trade: a trade server on loopback for trying the trading client.
//
//   sim_trade [--port N | --ports P1,P2,P3,P4,P5 --listen I,J]
//             [--plain] [--cert-dir DIR] [--key-password PW]
//             [--user U] [--password P] [--heartbeat MS] [--drop-after N]
//             [--kick-at N] [--bad-checksum] [--split] [--coalesce] [--delay MS]
//             [--log FILE] [--verbose]
//
// --ports with --listen serves only the listed (1-based) entries of the
// five ports, so a client's server round-robin meets refused ports first.
// Without --cert-dir it writes throw-away test certificates to a temporary
// folder and prints where; with --cert-dir it uses that folder's, writing
// them there first when it has none. The client needs the folder's ca.pem,
// client.pem and client.key with the key password. A line per request goes
// to the --log file, and to standard output with --verbose.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "platform/socket.h"
#include "sim/ports.h"
#include "sim/serve/stop_signal.h"
#include "sim/serve/traffic_log.h"
#include "test_pki.h"
#include "trade_sim.h"

int main(int argc, char** argv) {
  platform::IgnoreBrokenPipe();
  if (!sim::ProgramLog().TakeOptions(&argc, argv)) return 2;
  STradeSimOptions options;
  int port = sim::kTradeSimPort;
  std::string certDir, keyPassword = "test";
  std::vector<int> ports, listen;
  auto numbers = [](const std::string& list) {
    std::vector<int> out;
    std::stringstream in(list);
    std::string item;
    while (std::getline(in, item, ',')) out.push_back(std::atoi(item.c_str()));
    return out;
  };
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
    if (a == "--port") port = std::atoi(next().c_str());
    else if (a == "--ports") ports = numbers(next());
    else if (a == "--listen") listen = numbers(next());
    else if (a == "--plain") options.tls = false;
    else if (a == "--cert-dir") certDir = next();
    else if (a == "--key-password") keyPassword = next();
    else if (a == "--user") options.user = next();
    else if (a == "--password") options.password = next();
    else if (a == "--heartbeat") options.heartbeatMs = std::atoi(next().c_str());
    else if (a == "--drop-after") options.dropAfterRequests = std::atoi(next().c_str());
    else if (a == "--kick-at") options.kickAtRequest = std::atoi(next().c_str());
    else if (a == "--bad-checksum") options.badChecksum = true;
    else if (a == "--split") options.split = true;
    else if (a == "--coalesce") options.coalesce = true;
    else if (a == "--delay") options.delayMs = std::atoi(next().c_str());
    else {
      std::fprintf(stderr, "usage: see the comment at the top of sim/trade-server/main.cpp\n");
      return 2;
    }
  }
  if (options.tls) {
    STestPki pki;
    if (certDir.empty()) {
      char dir[] = "/tmp/sim_trade_XXXXXX";
      if (!::mkdtemp(dir) || !GenerateTestPki(dir, keyPassword, &pki)) {
        std::fprintf(stderr, "sim_trade: cannot write test certificates\n");
        return 1;
      }
      std::printf("test certificates in %s (client key password \"%s\")\n", dir,
                  keyPassword.c_str());
    } else if (platform::FileExists(certDir + "/ca.pem")) {
      pki = TestPkiPaths(certDir, keyPassword);
    } else if (!GenerateTestPki(certDir, keyPassword, &pki)) {
      std::fprintf(stderr, "sim_trade: cannot write test certificates to %s\n", certDir.c_str());
      return 1;
    } else {
      std::printf("test certificates in %s (client key password \"%s\")\n", certDir.c_str(),
                  keyPassword.c_str());
    }
    options.caFile = pki.caCert;
    options.certFile = pki.serverCert;
    options.keyFile = pki.serverKey;
  }
  if (ports.empty()) ports.push_back(port);
  if (listen.empty())
    for (size_t i = 0; i < ports.size(); ++i) listen.push_back(static_cast<int>(i) + 1);
  std::vector<std::unique_ptr<CTradeSimServer>> servers;
  for (int index : listen) {
    if (index < 1 || index > static_cast<int>(ports.size())) continue;
    auto server = std::make_unique<CTradeSimServer>(options);
    const int chosen = server->Start(ports[static_cast<size_t>(index - 1)]);
    if (chosen < 0) {
      sim::ProgramLog().Error("sim_trade: cannot listen on port " +
                              std::to_string(ports[index - 1]));
      return 1;
    }
    sim::ProgramLog().Started("sim_trade: PORT " + std::to_string(chosen));
    servers.push_back(std::move(server));
  }
  sim::WaitForStopSignal();
  for (auto& server : servers) server->Stop();
  sim::ProgramLog().Event("sim_trade: stopped");
  return 0;
}
