#!/usr/bin/env bash
# Installs what is missing, builds what a run needs (the program, the
# libraries it loads, its folder and the simulators; tests and benchmarks
# are tools/test.sh's), starts the local simulators of the outside peers
# and the program against them. Ctrl-C stops them all.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/tools/install-deps.sh"
build=${BUILD_DIR:-$root/build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target zeb_run
exec "$root/tools/start-sims.sh" "$build"
