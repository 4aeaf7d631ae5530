# Sourced by tools/run.sh, tools/test.sh and tools/offscreen-tool.sh (with root
# set): the normal tree (g++) they share, configured the same way by each so
# that one never rebuilds what another built.
normal=${BUILD_DIR:-$root/build}

# Configures the tree; extra arguments go to cmake. Warnings are errors:
# the compilers of tools/packages.txt build our code without one. Line
# tables only: backtraces keep file and line, and the tree builds about a
# quarter faster than with full debug information. -O1 compiles the
# Qt-heavy files a fifth faster than -O2; the program and the tests run as
# fast (the benchmarks' figures come from their own Release tree,
# tools/bench.sh).
configure_normal_tree() {
  cmake -S "$root" -B "$normal" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEB_WERROR=ON \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" "$@"
}
