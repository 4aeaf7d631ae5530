#!/usr/bin/env bash
# Builds the normal tree and runs every benchmark program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/tools/install-deps.sh"
build=${BUILD_DIR:-$root/build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
for b in "$build"/bin/bench_*; do
  echo "== $(basename "$b")"
  "$b" "$@"
done
