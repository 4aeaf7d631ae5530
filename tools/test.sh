#!/usr/bin/env bash
# Installs what is missing, checks the format of the C and C++ files the
# branch changed (tools/format-check.sh), builds, and runs every test:
#   1. the normal tree (clang) and its ctest suite, which runs every benchmark
#      program once, briefly (a benchmark that fails or reports an error
#      fails the suite; no figure is checked); then the chart view's memory
#      ceiling under a hostile quote stream (tools/memory-ceiling.sh);
#   2. a second tree (clang) with AddressSanitizer and UndefinedBehaviorSanitizer,
#      which also builds the libFuzzer targets; it builds at the lowest priority
#      while step 1 runs, in the time step 1 leaves idle;
#   3. the sanitizer tree's ctest suite, while each fuzzer runs at low priority
#      for a bounded time, starting from its corpus under fuzz/corpus (grown by
#      tools/fuzz.sh). The last line printed says how it all went.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/tools/install-deps.sh"

echo "== format of the changed files ($(date +%T))"
"$root/tools/format-check.sh"

jobs=$(nproc)
# Many tests spend their time waiting (on simulators, timers, whole program
# runs): two more at a time than there are cores keep the cores busy.
test_jobs=$((jobs + 2))
source "$root/tools/normal-tree.sh"
source "$root/tools/sanitized-tree.sh"

# The sanitizer tree builds behind the normal tree's build and tests, at the
# lowest priority, so that it takes only the time they leave idle (their
# configure steps, links waiting on one another, tests waiting on timers).
mkdir -p "$sanitized"
sanitized_log=$sanitized/build.log
echo "== sanitizer and fuzzing build, in the background: $sanitized_log ($(date +%T))"
# Each background step runs in a process group of its own (set -m), so that
# a failure elsewhere stops it with everything it started.
set -m
( renice -n 19 "$BASHPID" >/dev/null; build_sanitized_tree ) >"$sanitized_log" 2>&1 &
sanitized_build=$!
set +m
stop_background() { kill -- "-$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; }
trap 'stop_background "$sanitized_build"' ERR

echo "== normal build ($(date +%T))"
configure_normal_tree >/dev/null
cmake --build "$normal" -j "$jobs"

echo "== normal tests ($(date +%T))"
(cd "$normal" && ctest -j "$test_jobs" --output-on-failure) || {
  stop_background "$sanitized_build"; echo "the normal tree's tests failed"; exit 1; }

echo "== memory ceiling of the chart view ($(date +%T))"
ceiling=ok
BUILD_DIR=$normal "$root/tools/memory-ceiling.sh" || ceiling=FAILED

echo "== waiting for the sanitizer and fuzzing build ($(date +%T))"
if ! wait "$sanitized_build"; then
  grep -A30 '^FAILED:' "$sanitized_log" | head -150 || tail -60 "$sanitized_log"
  echo "the sanitizer and fuzzing build failed (whole log: $sanitized_log)"
  exit 1
fi
tail -1 "$sanitized_log"

shopt -s nullglob
fuzzers=("$sanitized"/bin/fuzz_*)
# Every fuzzer starts from its committed corpus (grown by tools/fuzz.sh) and
# runs all of it before anything else, so a short run re-checks what long
# runs found; the time left goes to new inputs (long searches are
# tools/fuzz.sh's). Each target gets between 2 and 20 seconds beyond its
# replay, about half a minute of the phase's wall time in all. They run at
# a low priority beside the sanitizer tests, which wait on simulators and
# timers much of their time. A unit's wall time then says more about the
# tests' load than about the unit (the first unit, which also sets up the
# fuzzer's screen, once took 15 s starved at the lowest priority), so here a
# unit fails only past a minute: still a hang, never a busy neighbour.
# tools/fuzz.sh, which runs alone, keeps the 10-second bound.
if [ -n "${FUZZ_SECONDS:-}" ]; then
  fuzz_seconds=$FUZZ_SECONDS
else
  fuzz_seconds=$(( ${#fuzzers[@]} > 0 ? 30 * jobs / ${#fuzzers[@]} : 20 ))
  fuzz_seconds=$(( fuzz_seconds > 20 ? 20 : (fuzz_seconds < 2 ? 2 : fuzz_seconds) ))
fi
run_fuzzer() {
  local fuzzer=$1 name corpus seeds=()
  name=$(basename "$fuzzer")
  corpus=$(mktemp -d)
  [ -d "$root/fuzz/corpus/$name" ] && seeds=("$root/fuzz/corpus/$name")
  # shellcheck disable=SC2086
  if "$fuzzer" -max_total_time="$fuzz_seconds" $fuzz_flags -timeout=60 \
      -print_final_stats=0 "$corpus" "${seeds[@]}" >"$corpus.log" 2>&1; then
    echo "-- $name: $(grep -E '^#[0-9]+\s+DONE' "$corpus.log" | tail -1)"
    rm -rf "$corpus" "$corpus.log"
  else
    tail -60 "$corpus.log"
    echo "-- $name: FAILED"
    rm -rf "$corpus" "$corpus.log"
    return 1
  fi
}
export -f run_fuzzer
export root fuzz_seconds
fuzz_log=$sanitized/fuzz.log
echo "== fuzzing, ${fuzz_seconds}s per target, $jobs at a time, in the background: $fuzz_log ($(date +%T))"
set -m
(
  renice -n 10 "$BASHPID" >/dev/null
  if [ ${#fuzzers[@]} -gt 0 ]; then
    printf '%s\n' "${fuzzers[@]}" | xargs -P "$jobs" -I{} bash -c 'run_fuzzer "$1"' _ {}
  fi
) >"$fuzz_log" 2>&1 &
fuzzing=$!
set +m
trap 'stop_background "$fuzzing"' ERR

echo "== sanitizer tests ($(date +%T))"
sanitized_tests=ok
(cd "$sanitized" && ctest -j "$test_jobs" --output-on-failure) | tee "$sanitized/tests.log" ||
  sanitized_tests=FAILED

echo "== fuzzing results ($(date +%T))"
fuzz=ok
wait "$fuzzing" || fuzz=FAILED
cat "$fuzz_log"

[ "$ceiling" = ok ] || echo "the chart view's memory ceiling was not kept (see above)"
[ "$fuzz" = ok ] || echo "a fuzzer failed (see above)"
[ "$sanitized_tests" = ok ] || echo "the sanitizer tree's tests failed (see above)"
if [ "$ceiling$fuzz$sanitized_tests" != okokok ]; then
  exit 1
fi
echo "all passed: the normal tree's tests, the memory ceiling, the fuzzers, and the sanitizer tree's $(grep -E 'tests passed' "$sanitized/tests.log")"
