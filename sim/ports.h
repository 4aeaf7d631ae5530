// The loopback ports where the run command starts the simulators of the
// outside peers. The balance simulator's default reply names the quote and
// trade simulators here, so a login through it reaches servers that listen.
#pragma once

namespace sim {

constexpr int kQuoteSimPort = 17709;
constexpr int kTradeSimPort = 19310;
constexpr int kBalanceSimPort = 19300;
constexpr int kUpdateSimPort = 19340;

}  // namespace sim
