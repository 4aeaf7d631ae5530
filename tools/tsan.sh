#!/usr/bin/env bash
# Builds the ThreadSanitizer tree (clang, build-tsan) and runs its ctest
# suite. Not part of CI: run it whenever threads, queues or the window
# plumbing change.
#   tools/tsan.sh [ctest arguments...]     e.g. tools/tsan.sh -R test_platform
#   TSAN_BUILD_DIR=dir                     another tree (default build-tsan)
#   TSAN_JOBS=n                            build and test jobs (default 4)
# Every test of the tree runs with halt_on_error, so one report fails it and
# a green run has none. TSAN_OPTIONS given here come after the tree's own
# and win, e.g. TSAN_OPTIONS="halt_on_error=0 log_path=/tmp/tsan" to
# collect every report of a run. The only suppressions are those of
# tools/tsan.supp, which names libraries we do not build, never our code.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree=${TSAN_BUILD_DIR:-$root/build-tsan}
jobs=${TSAN_JOBS:-4}
"$root/tools/install-deps.sh"

echo "== ThreadSanitizer build in $tree ($(date +%T))"
# -O1 with full debug information: instrumented programs stay quick enough
# for the end-to-end tests, and reports show every inlined frame.
CC=clang CXX=clang++ cmake -S "$root" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g" \
  -DZEB_TSAN=ON -DZEB_SANITIZE=OFF -DZEB_FUZZ=OFF -DZEB_BENCH=OFF >/dev/null
cmake --build "$tree" -j "$jobs"

echo "== ThreadSanitizer tests ($(date +%T))"
cd "$tree" && ctest -j "$jobs" --output-on-failure "$@"
