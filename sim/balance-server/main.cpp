// sim_balance: a balance server on loopback.
//
//   sim_balance [--port N] [--mode good|badsum|empty|silent|beyond]
//               [--trade-base PORT] [--quote-base PORT]
//
// The good reply lists five trade servers 127.0.0.1:trade-base+0..4 and five
// quote servers 127.0.0.1:quote-base+0..4.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "balance_sim.h"

int main(int argc, char** argv) {
  int port = 19300, tradeBase = 19310, quoteBase = 19320;
  EBalanceMode mode = EBalanceMode::Good;
  for (int i = 1; i < argc; i += 2) {
    const std::string a = argv[i];
    const std::string v = i + 1 < argc ? argv[i + 1] : "";
    if (a == "--port") port = std::atoi(v.c_str());
    else if (a == "--trade-base") tradeBase = std::atoi(v.c_str());
    else if (a == "--quote-base") quoteBase = std::atoi(v.c_str());
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
  std::vector<SBalancePair> pairs;
  for (int k = 0; k < 5; ++k) pairs.push_back({"127.0.0.1", tradeBase + k, "127.0.0.1", quoteBase + k});
  CBalanceSimServer server(mode, pairs);
  const int chosen = server.Start(port);
  if (chosen < 0) {
    std::fprintf(stderr, "sim_balance: cannot listen on port %d\n", port);
    return 1;
  }
  std::printf("PORT %d\n", chosen);
  std::fflush(stdout);
  WaitForStopSignal();
  server.Stop();
  return 0;
}
