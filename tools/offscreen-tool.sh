# Sourced by the scripts that run a program of the normal tree offscreen
# (with root set): run_offscreen_tool TARGET ARGS... builds what is missing
# of the target (configuring the tree first when it has no build yet) and
# runs it on the offscreen screen the tests use, in place of the script.
run_offscreen_tool() {
  local target=$1
  shift
  source "$root/tools/normal-tree.sh"
  if [ ! -x "$normal/bin/$target" ]; then
    "$root/tools/install-deps.sh" >&2
    configure_normal_tree >/dev/null
  fi
  cmake --build "$normal" -j "$(nproc)" --target "$target" >&2
  export QT_QPA_PLATFORM="offscreen:configfile=$root/platform/testing/offscreen_screen.json"
  exec "$normal/bin/$target" "$@"
}
