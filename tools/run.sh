#!/usr/bin/env bash
# Installs what is missing, builds everything, starts the local simulators of
# the outside peers and the program against them. Ctrl-C stops them all.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/tools/install-deps.sh"
build=${BUILD_DIR:-$root/build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"
exec "$root/tools/start-sims.sh" "$build"
