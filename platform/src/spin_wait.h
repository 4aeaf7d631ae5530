// Bounded spinning for the hand-over between a worker and the
// user-interface thread (private to window.cpp).
//
// A thread about to sleep for a hand-over that usually completes within a
// microsecond first spins, so neither side pays a scheduler round trip. It
// spins with pause instructions at first, then gives the processor away
// between checks: the scheduler likes to put a woken thread on its waker's
// processor, where a pure spin would keep the awaited thread from running.
// The spin is bounded, so nothing spins while nothing is being handed over.
#pragma once
#include <chrono>
#include <thread>

namespace platform::detail {

inline void CpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#endif
}

// True as soon as ready() is; false when about `spinFor` passed without it.
template <typename Ready>
bool SpinUntil(Ready ready, std::chrono::steady_clock::duration spinFor) {
  using Clock = std::chrono::steady_clock;
  constexpr auto kPauseFor = std::chrono::microseconds(4);
  constexpr unsigned kFirstSpins = 16;  // most hand-overs end here, before the clock is read
  for (unsigned i = 0; i < kFirstSpins; ++i) {
    if (ready()) return true;
    CpuRelax();
  }
  const auto start = Clock::now();
  bool yielding = false;
  for (unsigned i = 1;; ++i) {
    if (ready()) return true;
    if (yielding) {
      std::this_thread::yield();
    } else {
      CpuRelax();
    }
    if (yielding || (i & 15) == 0) {
      const auto spent = Clock::now() - start;
      if (spent >= spinFor) return false;
      yielding = spent >= kPauseFor;
    }
  }
}

}  // namespace platform::detail
