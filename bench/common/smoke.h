// CI runs every benchmark program once, briefly, so that one which breaks or
// reports an error fails the suite (cmake/zeb.cmake sets ZEB_BENCH_SMOKE for
// those runs). Workloads of a fixed size shrink then: every path still runs,
// and no figure of such a run means anything.
#pragma once
#include <cstdlib>

namespace bench_smoke {

inline bool On() {
  static const bool on = std::getenv("ZEB_BENCH_SMOKE") != nullptr;
  return on;
}

// full when measuring, smoke in the CI run.
template <class T>
T Scaled(T full, T smoke) {
  return On() ? smoke : full;
}

}  // namespace bench_smoke
