#!/usr/bin/env bash
# Installs what is missing, builds what a run needs (the program, the
# libraries it loads, its folder and the simulators; tests and benchmarks
# are tools/test.sh's), starts the local simulators of the outside peers
# and the program against them. Ctrl-C stops them all.
#   tools/run.sh [--verbose]
# The simulators write their request lines to <build>/logs/; --verbose
# prints them on the terminal too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
sims=()
for arg in "$@"; do
  case $arg in
    --verbose) sims=(--verbose) ;;
    *) echo "usage: tools/run.sh [--verbose]" >&2; exit 2 ;;
  esac
done
"$root/tools/install-deps.sh"
source "$root/tools/normal-tree.sh"
if [ ! -x "$normal/bin/ZEB" ]; then
  echo "run: the first build takes under a minute on 8 cores, a little over one on 2" \
       "(later runs build only what changed)"
fi
echo "run: configuring $normal"
configure_normal_tree
echo "run: building the program, its libraries and the simulators"
cmake --build "$normal" -j "$(nproc)" --target zeb_run
echo "run: starting the simulators and ZEB"
exec "$root/tools/start-sims.sh" "$normal" "${sims[@]}"
