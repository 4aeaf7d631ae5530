#!/usr/bin/env bash
# Starts every simulator that the build produced, on loopback, and waits.
# Each one prints the address it listens on.
set -uo pipefail
build=$1
bin="$build/bin"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; exit 0' INT TERM EXIT
shopt -s nullglob
for sim in "$bin"/sim_*; do
  args=()
  # The trading library finds the trade simulator's certificates beside the
  # program ("zeb.ini" [TRADESERVER], see the README).
  [ "$(basename "$sim")" = sim_trade ] && args=(--cert-dir "$bin/tradecerts")
  "$sim" "${args[@]}" &
  pids+=($!)
done
if [ ${#pids[@]} -eq 0 ]; then
  echo "no simulator built yet"
  exit 0
fi
if [ -x "$bin/ZEB" ]; then
  "$bin/ZEB"
else
  echo "simulators running; Ctrl-C stops them"
  wait
fi
