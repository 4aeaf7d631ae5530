#!/usr/bin/env bash
# Grows the fuzzing corpus kept in the repository, fuzz/corpus/<target>/,
# from which CI's short runs start (tools/test.sh). Run it for at least ten
# minutes per target whenever a parser changes, and commit the corpus:
#   tools/fuzz.sh [SECONDS]        (default 600 per target)
#   FUZZ_JOBS=n                    targets run at once (default nproc)
#   FUZZ_TARGETS="fuzz_a fuzz_b"   only these targets, and only they are built (default all)
# It builds or reuses the sanitizer and fuzzing tree, runs every libFuzzer
# target for SECONDS from its corpus, then merges the corpus and what the
# run found into the smallest set that covers the same features, which
# replaces fuzz/corpus/<target>/. Files with names of their own (hand-made
# seeds, inputs of faults that were fixed) always stay; merged files are
# named by the SHA-1 of their content. Prints per target the run's figures
# and the corpus: files, bytes, edges (cov) and features (ft) it covers.
# A target that fails leaves its input in the tree's fuzz-failures folder
# and makes the script fail, after every other target was merged.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/tools/install-deps.sh"

seconds=${1:-600}
jobs=$(nproc)
source "$root/tools/sanitized-tree.sh"
echo "== sanitizer and fuzzing build ($(date +%T))"
# shellcheck disable=SC2086
build_sanitized_tree ${FUZZ_TARGETS:-}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures="$sanitized/fuzz-failures"
mkdir -p "$failures" "$work/summary"

grow_corpus() {
  local fuzzer=$1 name corpus found merged log run_line
  name=$(basename "$fuzzer")
  corpus="$root/fuzz/corpus/$name"
  found="$work/$name.found"
  merged="$work/$name.merged"
  log="$work/$name.log"
  mkdir -p "$corpus" "$found" "$merged"
  local status=ok
  # shellcheck disable=SC2086
  if ! "$fuzzer" -max_total_time="$seconds" $fuzz_flags -artifact_prefix="$failures/$name-" \
      -print_final_stats=1 "$found" "$corpus" >"$log" 2>&1; then
    status=FAILED
    tail -40 "$log"
  fi
  run_line=$(grep -E '^#[0-9]+\s+DONE' "$log" | tail -1 || true)
  # Named files are the merge's base, so they stay whatever they cover.
  find "$corpus" -maxdepth 1 -type f -regextype posix-extended ! -regex '.*/[0-9a-f]{40}' -exec cp {} "$merged/" \;
  # shellcheck disable=SC2086
  "$fuzzer" -merge=1 $fuzz_flags "$merged" "$corpus" "$found" >"$log.merge" 2>&1 || {
    tail -20 "$log.merge"
    echo "-- $name: merge FAILED"
    return 1
  }
  find "$corpus" -maxdepth 1 -type f -delete
  cp "$merged"/* "$corpus/" 2>/dev/null || true
  # shellcheck disable=SC2086
  "$fuzzer" -runs=0 $fuzz_flags "$corpus" >"$log.check" 2>&1 || true
  local inited files bytes
  inited=$(grep -oE 'INITED cov: [0-9]+ ft: [0-9]+' "$log.check" | tail -1)
  files=$(find "$corpus" -type f | wc -l)
  bytes=$(find "$corpus" -type f -printf '%s\n' | awk '{ sum += $1 } END { print sum + 0 }')
  printf '%-24s %-6s %6s files %8s bytes  %s  (run: %s)\n' "$name" "$status" "$files" "$bytes" \
    "${inited#INITED }" "${run_line:-none}" | tee "$work/summary/$name"
  [ "$status" = ok ]
}
export -f grow_corpus
export root seconds work failures

echo "== fuzzing, ${seconds}s per target, ${FUZZ_JOBS:-$jobs} at a time ($(date +%T))"
shopt -s nullglob
fuzzers=("$sanitized"/bin/fuzz_*)
if [ -n "${FUZZ_TARGETS:-}" ]; then
  chosen=()
  for name in $FUZZ_TARGETS; do
    [ -x "$sanitized/bin/$name" ] || { echo "no fuzz target $name in $sanitized/bin"; exit 1; }
    chosen+=("$sanitized/bin/$name")
  done
  fuzzers=("${chosen[@]}")
fi
[ ${#fuzzers[@]} -gt 0 ] || { echo "no fuzz targets in $sanitized/bin"; exit 1; }
result=0
printf '%s\n' "${fuzzers[@]}" | xargs -P "${FUZZ_JOBS:-$jobs}" -I{} bash -c 'grow_corpus "$1"' _ {} || result=1

echo "== corpus after the run ($(date +%T))"
cat "$work"/summary/* 2>/dev/null || true
[ $result -eq 0 ] || echo "a target failed; its inputs are in $failures"
exit $result
