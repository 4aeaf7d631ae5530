#!/bin/sh
# The run and picture commands build exactly what one run of the program
# loads: the picture tool brings the trading library, its secure-socket
# library, the updater, the simulators and the empty formula store with it,
# and the run's set holds no test or benchmark.
# usage: run_targets.sh NINJA BUILD_DIR
ninja=$1
build=$2
commands=$("$ninja" -C "$build" -t commands zeb_screenshot) || exit 1
for needed in bin/libTrade.so bin/libQuellan.so bin/Novarel bin/sim_quote make_empty_formula_store; do
  if ! printf '%s\n' "$commands" | grep -q "$needed"; then
    echo "zeb_screenshot does not build $needed"
    exit 1
  fi
done
run=$("$ninja" -C "$build" -t commands zeb_run) || exit 1
if printf '%s\n' "$run" | grep -q "bin/test_\|bin/bench_"; then
  echo "zeb_run builds tests or benchmarks"
  exit 1
fi
printf '%s\n' "$run" | grep -q "bin/ZEB" || { echo "zeb_run does not build the program"; exit 1; }
