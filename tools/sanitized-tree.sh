# Sourced by tools/test.sh and tools/fuzz.sh (with root and jobs set): the
# clang tree with AddressSanitizer, UndefinedBehaviorSanitizer and the
# libFuzzer targets, and the settings every run in it uses.
sanitized=${SANITIZE_BUILD_DIR:-$root/build-sanitize}

# Configures and builds the tree (a build that is up to date costs seconds);
# with target names, only those and what they need.
build_sanitized_tree() {
  # Line tables only: the sanitizers' reports keep file and line, and the
  # tree compiles and links faster than with full debug information.
  # Warnings are errors, as in the normal tree.
  CC=clang CXX=clang++ cmake -S "$root" -B "$sanitized" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-g1" -DCMAKE_C_FLAGS_DEBUG="-g1" \
    -DZEB_SANITIZE=ON -DZEB_FUZZ=ON -DZEB_BENCH=OFF -DZEB_WERROR=ON >/dev/null
  cmake --build "$sanitized" -j "$jobs" ${1:+--target "$@"}
}

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen
# Every fuzzer run: a unit slower than 10 s, or a process above 2 GB, is a
# failure. A string, so that it reaches the runs xargs starts.
export fuzz_flags="-timeout=10 -rss_limit_mb=2048"
