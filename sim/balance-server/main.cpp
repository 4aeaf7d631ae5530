// sim_balance: a balance server on loopback.
//
//   sim_balance [--port N] [--mode good|badsum|empty|silent|beyond]
//               [--trade-port PORT] [--quote-port PORT] [--log FILE] [--verbose]
//
// The good reply lists five pairs of servers, each naming the trade server
// 127.0.0.1:trade-port and the quote server 127.0.0.1:quote-port; by default
// the trade and quote simulators where the run command starts them.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "balance_sim.h"
#include "platform/socket.h"
#include "sim/ports.h"
#include "sim/serve/stop_signal.h"
#include "sim/serve/traffic_log.h"

int main(int argc, char** argv) {
  platform::IgnoreBrokenPipe();
  if (!sim::ProgramLog().TakeOptions(&argc, argv)) return 2;
  int port = sim::kBalanceSimPort, tradePort = sim::kTradeSimPort, quotePort = sim::kQuoteSimPort;
  EBalanceMode mode = EBalanceMode::Good;
  for (int i = 1; i < argc; i += 2) {
    const std::string a = argv[i];
    const std::string v = i + 1 < argc ? argv[i + 1] : "";
    if (a == "--port") port = std::atoi(v.c_str());
    else if (a == "--trade-port") tradePort = std::atoi(v.c_str());
    else if (a == "--quote-port") quotePort = std::atoi(v.c_str());
    else if (a == "--mode") {
      if (v == "good") mode = EBalanceMode::Good;
      else if (v == "badsum") mode = EBalanceMode::BadChecksum;
      else if (v == "empty") mode = EBalanceMode::EmptyPayload;
      else if (v == "silent") mode = EBalanceMode::Silent;
      else if (v == "beyond") mode = EBalanceMode::LengthBeyond;
      else {
        std::fprintf(stderr, "sim_balance: unknown mode %s\n", v.c_str());
        return 2;
      }
    } else {
      std::fprintf(stderr, "usage: see the comment at the top of sim/balance-server/main.cpp\n");
      return 2;
    }
  }
  CBalanceSimServer server(mode, SimulatorPairs(tradePort, quotePort));
  const int chosen = server.Start(port);
  if (chosen < 0) {
    sim::ProgramLog().Error("sim_balance: cannot listen on port " + std::to_string(port));
    return 1;
  }
  sim::ProgramLog().Started("sim_balance: PORT " + std::to_string(chosen));
  sim::WaitForStopSignal();
  server.Stop();
  sim::ProgramLog().Event("sim_balance: stopped");
  return 0;
}
