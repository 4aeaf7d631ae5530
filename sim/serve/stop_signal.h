// The wait every simulator program ends its main with: it runs until Ctrl-C
// or a termination signal, so the run command and the tests can stop it.
#pragma once

namespace sim {

// Blocks until SIGINT or SIGTERM arrives.
void WaitForStopSignal();

}  // namespace sim
