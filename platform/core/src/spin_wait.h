// Bounded spinning for the hand-over between a worker and the
// user-interface thread (private to window.cpp).
//
// A thread about to sleep for a hand-over that usually completes within a
// microsecond first spins, so neither side pays a scheduler round trip. It
// spins with pause instructions at first, then gives the processor away
// between checks: the scheduler likes to put a woken thread on its waker's
// processor, where a pure spin would keep the awaited thread from running.
// Each side notes the processor it waits on, so a side that finds its
// partner on its own processor gives it away at once. The spin is bounded,
// so nothing spins while nothing is being handed over.
#pragma once
#include <atomic>
#include <chrono>
#include <thread>

#include <sched.h>

namespace platform::detail {

inline void CpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#endif
}

// Where one side of a hand-over last waited (-1: not known yet).
using WaitingCpu = std::atomic<int>;

// True as soon as ready() is; false when about `spinFor` passed without it.
// `mine` is noted for the partner, whose own note is `theirs` (either may
// be null).
template <typename Ready>
bool SpinUntil(Ready ready, std::chrono::steady_clock::duration spinFor, WaitingCpu* mine,
               const WaitingCpu* theirs) {
  using Clock = std::chrono::steady_clock;
  constexpr auto kPauseFor = std::chrono::microseconds(4);
  constexpr unsigned kFirstSpins = 128;  // about a microsecond: most hand-overs end within it
  const int cpu = sched_getcpu();        // cheap: the kernel keeps it in the thread's memory
  if (mine && mine->load(std::memory_order_relaxed) != cpu)
    mine->store(cpu, std::memory_order_relaxed);
  bool yielding = theirs && theirs->load(std::memory_order_relaxed) == cpu;
  for (unsigned i = 0; i < kFirstSpins && !yielding; ++i) {
    if (ready()) return true;
    CpuRelax();
  }
  const auto start = Clock::now();
  for (unsigned i = 1;; ++i) {
    if (ready()) return true;
    if (yielding) {
      std::this_thread::yield();
    } else {
      CpuRelax();
    }
    if (yielding || (i & 15) == 0) {
      const auto spent = Clock::now() - start;
      if (spent >= spinFor) return ready();  // the partner may have run while this one gave way
      yielding = yielding || spent >= kPauseFor;
    }
  }
}

}  // namespace platform::detail
