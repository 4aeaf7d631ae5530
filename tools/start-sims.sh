#!/usr/bin/env bash
# Starts every simulator that the build produced, on loopback, waits until
# they listen, then runs the program against them. Closing the program or
# Ctrl-C stops everything.
#   tools/start-sims.sh BUILD [--verbose]
# Each simulator writes its request lines to BUILD/logs/<simulator>.log (its
# start line names the file) and prints only its start, stop and errors;
# --verbose prints the request lines too.
set -uo pipefail
build=$1
shift
verbose=()
for arg in "$@"; do
  case $arg in
    --verbose) verbose=(--verbose) ;;
    *) echo "usage: tools/start-sims.sh BUILD [--verbose]" >&2; exit 2 ;;
  esac
done
bin="$build/bin"
logs="$build/logs"
mkdir -p "$logs"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; exit 0' INT TERM EXIT
shopt -s nullglob
for sim in "$bin"/sim_*; do
  args=()
  # The trading library finds the trade simulator's certificates beside the
  # program ("zeb.ini" [TRADESERVER], see the README).
  [ "$(basename "$sim")" = sim_trade ] && args=(--cert-dir "$bin/tradecerts")
  "$sim" "${args[@]}" --log "$logs/$(basename "$sim").log" "${verbose[@]}" &
  pids+=($!)
done
if [ ${#pids[@]} -eq 0 ]; then
  echo "no simulator built yet"
  exit 0
fi
# The ports of sim/ports.h: quote, trade, balance, update, custody pages.
# A port listens when the kernel's table has it in state LISTEN (0A); the
# table is read rather than a connection made, which a simulator would log.
listening() { grep -q ":$(printf '%04X' "$1") 00000000:0000 0A" /proc/net/tcp 2>/dev/null; }
for port in 17709 19310 19300 19340 19320; do
  for _ in $(seq 100); do
    listening "$port" && break
    sleep 0.1
  done
  listening "$port" || echo "nothing listens on 127.0.0.1:$port; the program starts anyway" >&2
done
if [ -x "$bin/ZEB" ]; then
  "$bin/ZEB"
else
  echo "simulators running; Ctrl-C stops them"
  wait
fi
