// The signal wait of the simulator programs (stop_signal.h). The handler
// only sets a flag; the wait polls it, which is all a signal handler may
// safely share with the rest of the program.
#include "sim/serve/stop_signal.h"

#include <chrono>
#include <csignal>
#include <thread>

namespace {
volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }
}  // namespace

namespace sim {

void WaitForStopSignal() {
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  while (!g_stop) std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

}  // namespace sim
