# Sourced by tools/run.sh, tools/test.sh and tools/offscreen-tool.sh (with root
# set): the normal tree (clang) they share, configured the same way by each so
# that one never rebuilds what another built.
normal=${BUILD_DIR:-$root/build}

# Configures the tree; extra arguments go to cmake. clang, with each layer's
# headers precompiled, compiles the tree in about half the time g++ takes.
# Warnings are errors: the compilers of tools/packages.txt build our code
# without one. Line tables only: backtraces keep file and line, and the tree
# builds about a quarter faster than with full debug information. -O1
# compiles the Qt-heavy files a fifth faster than -O2, and the program and
# the tests run as fast; the tests' own code compiles at -O0, in half the
# time of -O1 (the benchmarks' figures come from their own Release tree,
# tools/bench.sh).
configure_normal_tree() {
  cmake -S "$root" -B "$normal" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEB_WERROR=ON -DZEB_TEST_COMPILE_OPTIONS=-O0 \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" "$@"
}
