#!/usr/bin/env bash
# Checks that the C and C++ files changed since a base commit are formatted
# as .clang-format at the top of the tree says; prints each place that is
# not (the first five of each file) and fails. Nothing is rewritten
# (clang-format -i does that).
#   tools/format-check.sh [BASE]
# BASE is any commit; by default the merge-base with origin/main, else with
# main, else HEAD~1. Files changed in the working tree count too; deleted
# files do not. Without clang-format (tools/packages.txt) the check is
# skipped with a message, so a machine without it can still run the tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

formatter=${CLANG_FORMAT:-clang-format}
if ! command -v "$formatter" >/dev/null 2>&1; then
  echo "format-check: $formatter is not installed; skipped (tools/install-deps.sh installs it)"
  exit 0
fi

base=${1:-}
if [ -z "$base" ]; then
  for candidate in origin/main main; do
    if git rev-parse -q --verify "$candidate^{commit}" >/dev/null &&
       base=$(git merge-base HEAD "$candidate" 2>/dev/null); then
      break
    fi
    base=
  done
fi
if [ -z "$base" ]; then
  if ! base=$(git rev-parse -q --verify 'HEAD~1^{commit}'); then
    echo "format-check: no base to compare with (a single commit); skipped"
    exit 0
  fi
fi

mapfile -t files < <(git diff --name-only --diff-filter=d "$base" -- \
  '*.c' '*.cc' '*.cpp' '*.cxx' '*.h' '*.hh' '*.hpp')
if [ ${#files[@]} -eq 0 ]; then
  echo "format-check: no C or C++ file changed since $(git rev-parse --short "$base")"
  exit 0
fi
echo "format-check: ${#files[@]} C/C++ file(s) changed since $(git rev-parse --short "$base")"
if ! "$formatter" --style=file --dry-run -Werror --ferror-limit=5 "${files[@]}"; then
  echo "format-check: not formatted as .clang-format says; run: $formatter -i FILE..."
  exit 1
fi
echo "format-check: every changed file is formatted"
