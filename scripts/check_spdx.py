#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Every source, header, script, CMake and web file the project wrote opens with its licence's SPDX line
(after a #! line), in the file's own comment syntax. Fails naming each file that lacks it; with --add,
writes the line into those files instead. Data, golden files, corpora and documents are not sources:
the UUID data carries its own notice, and golden files are what the tool writes."""
import pathlib
import subprocess
import sys

LICENCE = "MIT"
# A file's comment syntax, by its name's ending.
COMMENTS = {
    (".c", ".h", ".cpp", ".hpp", ".js"): "// {}",
    (".css", ".map"): "/* {} */",
    (".html",): "<!-- {} -->",
    (".def",): "; {}",
    (".sh", ".bash", ".py", ".cmake", ".txt", ".in", ".toml", ".jq", ".dict", "/run"): "# {}",
}
NOT_SOURCES = ("tests/tool/golden/", "fuzz/corpus/", "tests/tool/captures/", "tests/tool/data/")


def comment_for(path):
    if path.startswith(NOT_SOURCES):
        return None
    for endings, form in COMMENTS.items():
        if path.endswith(endings):
            return form.format(f"SPDX-License-Identifier: {LICENCE}")
    return None


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    add = "--add" in sys.argv[1:]
    files = subprocess.run(["git", "ls-files"], cwd=root, capture_output=True, text=True, check=True).stdout
    checked, missing = 0, []
    for name in files.split():
        line = comment_for(name)
        if line is None or not (root / name).is_file():
            continue
        checked += 1
        text = (root / name).read_text()
        lines = text.split("\n")
        first = 1 if lines[0].startswith("#!") else 0
        if len(lines) > first and lines[first] == line:
            continue
        if add:
            lines.insert(first, line)
            (root / name).write_text("\n".join(lines))
        else:
            missing.append(name)
    for name in missing:
        print(f"{name}:1: no '{comment_for(name)}' line")
    if missing:
        sys.exit(f"check_spdx: {len(missing)} of {checked} sources lack their SPDX line (scripts/check_spdx.py --add)")
    print(f"check_spdx: {checked} sources carry their SPDX line")


main()
