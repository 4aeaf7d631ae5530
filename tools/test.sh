#!/usr/bin/env bash
# Installs what is missing, checks the format of the C and C++ files the
# branch changed (tools/format-check.sh), builds, and runs every test:
#   1. the normal tree (clang) and its ctest suite, which runs every benchmark
#      program once, briefly (a benchmark that fails or reports an error
#      fails the suite; no figure is checked);
#   2. a second tree (clang) with AddressSanitizer and UndefinedBehaviorSanitizer,
#      which also builds the libFuzzer targets; each fuzzer runs for a bounded time,
#      starting from its corpus under fuzz/corpus (grown by tools/fuzz.sh); then the
#      chart view's memory ceiling under a hostile quote stream (tools/memory-ceiling.sh);
#   3. the sanitizer tree's ctest suite, whose summary is the last line printed
#      unless the memory ceiling failed.
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

echo "== normal build ($(date +%T))"
configure_normal_tree >/dev/null
cmake --build "$normal" -j "$jobs"
(cd "$normal" && ctest -j "$test_jobs" --output-on-failure)

echo "== sanitizer and fuzzing build ($(date +%T))"
build_sanitized_tree

shopt -s nullglob
fuzzers=("$sanitized"/bin/fuzz_*)
# Every fuzzer starts from its committed corpus (grown by tools/fuzz.sh) and
# runs all of it before anything else, so a short run re-checks what long
# runs found; the time left goes to new inputs (long searches are
# tools/fuzz.sh's). The whole phase gets about half a minute of wall time
# beyond the replays, each target between 2 and 20 seconds of it.
if [ -n "${FUZZ_SECONDS:-}" ]; then
  fuzz_seconds=$FUZZ_SECONDS
else
  fuzz_seconds=$(( ${#fuzzers[@]} > 0 ? 30 * jobs / ${#fuzzers[@]} : 20 ))
  fuzz_seconds=$(( fuzz_seconds > 20 ? 20 : (fuzz_seconds < 2 ? 2 : fuzz_seconds) ))
fi
echo "== fuzzing, ${fuzz_seconds}s per target, $jobs at a time ($(date +%T))"
run_fuzzer() {
  local fuzzer=$1 name corpus seeds=()
  name=$(basename "$fuzzer")
  corpus=$(mktemp -d)
  [ -d "$root/fuzz/corpus/$name" ] && seeds=("$root/fuzz/corpus/$name")
  # shellcheck disable=SC2086
  if "$fuzzer" -max_total_time="$fuzz_seconds" $fuzz_flags \
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
if [ ${#fuzzers[@]} -gt 0 ]; then
  printf '%s\n' "${fuzzers[@]}" | xargs -P "$jobs" -I{} bash -c 'run_fuzzer "$1"' _ {} || {
    echo "a fuzzer failed"; exit 1; }
fi

echo "== memory ceiling of the chart view ($(date +%T))"
ceiling=ok
BUILD_DIR=$normal "$root/tools/memory-ceiling.sh" || ceiling=FAILED

echo "== sanitizer tests ($(date +%T))"
(cd "$sanitized" && ctest -j "$test_jobs" --output-on-failure)
[ "$ceiling" = ok ] || { echo "the chart view's memory ceiling was not kept (see above)"; exit 1; }
