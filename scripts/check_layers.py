#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Fails when a tool source includes a header from a later folder of the core, or from a sibling on
the same step, naming the file, its line and the include. The order is read from tools/core/README.md,
the one place it is stated."""
import pathlib
import re
import sys

# The checkout to check: this script's own, or the folder given (the check's self-test uses one).

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent).resolve()
readme = (root / "tools/core/README.md").read_text()
order = re.search(r"^Order: (.+)$", readme, re.M)
if not order:
    sys.exit("check_layers: tools/core/README.md states no 'Order:' line")
rank = {}
for step, names in enumerate(order.group(1).split("→")):
    for name in names.split("|"):
        rank[name.strip()] = step

# The tables that list readers, writers and views: their rows never include them.
TABLES = {"readers/input_formats.hpp", "writers/output_formats.hpp", "reports/dump_views.hpp"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def folder_of(path):
    """The core folder of a source under tools/core, or None for the command line and the page."""
    parts = path.relative_to(root).parts
    if parts[:2] == ("tools", "core") and len(parts) > 3:
        return parts[2]
    return None


def problem(path, included):
    folder = folder_of(path)
    if folder is None:
        return None  # the command line and the page may include anything in the core
    if folder not in rank:
        return f"tools/core/{folder}/ is not in the core's order"
    if included == "gattdb.h":
        return None
    if not included.startswith("core/"):
        return "the core includes only its own headers, by their path from tools/, and gattdb.h"
    target = included.split("/")[1]
    if target not in rank:
        return f"core/{target}/ is not a folder of the core's order"
    if rank[target] > rank[folder]:
        return f"{target}/ comes after {folder}/"
    if rank[target] == rank[folder] and target != folder:
        return f"{target}/ and {folder}/ are siblings on one step"
    table = included[len("core/"):]
    own = "/".join(path.relative_to(root / "tools/core").parts)
    if table in TABLES and own.rsplit(".", 1)[0] != table.rsplit(".", 1)[0]:
        return f"{table} lists what its folder holds, so nothing there includes it"
    return None


sources = [p for d in ("tools", "web") for p in (root / d).rglob("*") if p.suffix in (".cpp", ".hpp")]
faults = 0
for path in sorted(sources):
    for number, line in enumerate(path.read_text().splitlines(), 1):
        match = INCLUDE.match(line)
        if match and (reason := problem(path, match.group(1))):
            print(f"{path.relative_to(root)}:{number}: #include \"{match.group(1)}\": {reason}")
            faults += 1
if faults:
    sys.exit(f"check_layers: {faults} include(s) break the core's order")
print(f"check_layers: {len(sources)} files follow the core's order")
