// A tick counter the tests move by hand, handed to the clock in place of
// the system's.
#pragma once
#include <atomic>
#include <cstdint>

inline std::atomic<uint32_t> g_ticks{0};
inline uint32_t FakeTicks() { return g_ticks.load(); }
