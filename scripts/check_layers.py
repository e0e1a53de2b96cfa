#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer above its own.

The layers, top first: a folder may include its own headers and those of any folder below it.
Platform back ends (win32/, fake/) sit in their layer's folder and follow the same rule."""
import pathlib
import re
import sys

LAYERS = ["app", "wizard", "uninstall", "install", "script", "convert", "language", "ui", "platform"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/')


def main(root: pathlib.Path) -> int:
    rank = {name: i for i, name in enumerate(LAYERS)}
    faults = []
    for path in sorted(root.rglob("*")):
        if path.suffix not in (".h", ".cpp") or path.relative_to(root).parts[0] not in rank:
            continue
        own = rank[path.relative_to(root).parts[0]]
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if match and match.group(1) in rank and rank[match.group(1)] < own:
                faults.append(f"{path}:{number}: {line.strip()} runs upwards")
    for fault in faults:
        print(fault)
    print(f"layers: {len(faults)} upward includes")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src")))
