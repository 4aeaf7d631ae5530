#!/usr/bin/env bash
# tools/screenshot.sh OUTDIR [--quote HOST:PORT] [--balance HOST:PORT] [--trade HOST:PORT]
#
# Builds what is missing (the picture tool and everything the program
# loads, as tools/run.sh does), then runs the real start-up offscreen in a
# temporary program folder whose "zeb.ini" points at the given servers
# (local simulators on free ports for those not given, stopped afterwards),
# types the account, password and shown verification code into the login
# dialog, waits for the main frame and saves PNG pictures of the login
# dialog, the main frame, each view of the market pane, the main frame on
# each market tab (02-main-frame-<tab>.png) and on a sorted page, the chart
# view with its analysis and panel pages, the K-line page by period and
# zoomed and with its cursor box (13-kline-*.png), the trading window
# and its order entry, each panel of the trading window (after two orders),
# the keyboard-input box, the menu bar's pop-ups, the formula dialogs, the
# notice, user-information, information and settings dialogs (15-*.png) and
# the time-share chart, chip distribution and drawing tools (14-*.png) into
# OUTDIR, one line per picture. Exits non-zero when a stage is not reached
# in time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -lt 1 ] || [ "${1#-}" != "$1" ]; then
  echo "usage: tools/screenshot.sh OUTDIR [--quote HOST:PORT] [--balance HOST:PORT] [--trade HOST:PORT]" >&2
  exit 2
fi
source "$root/tools/normal-tree.sh"
if [ ! -x "$normal/bin/zeb_screenshot" ]; then
  "$root/tools/install-deps.sh" >&2
  configure_normal_tree >/dev/null
fi
cmake --build "$normal" -j "$(nproc)" --target zeb_screenshot >&2
export QT_QPA_PLATFORM="offscreen:configfile=$root/platform/testing/offscreen_screen.json"
exec "$normal/bin/zeb_screenshot" "$@"
