#!/usr/bin/env bash
# The chart view's memory ceiling under a hostile quote server: builds and
# runs zeb_chart_flood (tools/chart-flood), the real program offscreen
# against the local simulators with two minutes of floods played into it
# (pushed ticks with impossible minutes, cascades of huge history replies,
# pushed deals of ten items), keys timed in between. Fails when the
# program's peak resident memory reaches the limit (400 MB unless given).
#   tools/memory-ceiling.sh [--only ticks|history|deals] [--limit-mb N]
# CI runs it in its fuzz stage (tools/test.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/offscreen-tool.sh"
run_offscreen_tool zeb_chart_flood "$@"
