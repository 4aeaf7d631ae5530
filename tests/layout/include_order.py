#!/usr/bin/env python3
# The tree's folders in link order, lowest first, as README.md's map lists
# them: a source or header may include its own folder and the folders above
# it in this list, never one below. A run prints every include that runs
# back up and fails; so the map cannot silently stop telling the truth.
# Usage: include_order.py SOURCE_DIR
import os
import pathlib
import re
import sys

ORDER = [
    "platform", "sharecode", "settings", "link", "parser-runtime", "vospel", "formula",
    "trade/host", "trade/quellan", "trade/core", "trade/ui",
    "zeb/messages.h", "zeb/store", "zeb/xml", "zeb/scheme", "zeb/controls", "zeb/painter",
    "zeb/tables", "zeb/charts", "zeb/core", "zeb/shell", "zeb/views/report", "zeb/views/stock",
    "zeb/app", "sim", "tools/screenshot",
]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def rank(path):
    """Index of the deepest folder of ORDER that holds path, or None."""
    found = None
    for i, folder in enumerate(ORDER):
        if path == folder or path.startswith(folder + "/"):
            if found is None or len(folder) > len(ORDER[found]):
                found = i
    return found


def main():
    root = pathlib.Path(sys.argv[1])
    sources = []
    for folder, children, names in os.walk(root):
        # Build trees and hidden folders hold no sources of ours.
        children[:] = [c for c in children if not c.startswith(("build", "."))]
        sources += [pathlib.Path(folder, n) for n in names if n.endswith((".h", ".cpp"))]
    faults = []
    for source in sorted(sources):
        relative = source.relative_to(root).as_posix()
        own = rank(relative)
        if own is None:
            continue
        text = source.read_text(encoding="utf-8", errors="replace")
        for included in INCLUDE.findall(text):
            other = rank(included)
            if other is not None and other > own:
                faults.append(f"{relative}: includes {included} ({ORDER[own]} links before "
                              f"{ORDER[other]})")
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} include(s) run back up the link order")
        return 1
    print("every include follows the link order")
    return 0


if __name__ == "__main__":
    sys.exit(main())
