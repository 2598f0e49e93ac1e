#!/usr/bin/env python3
"""Fails when an #include in the source tree points up the layer order.

The order, lowest first (CONTRIBUTING.md explains it):

    core/base < core/lang < core/tables < core/nodes < core/mapping < core/image < core/update
              < core/report < core/sim < core/flow < core/app
    core < cli, core < gui

A core folder may include its own folder and the folders below it. The core includes neither
gui nor cli, and cli does not include gui. Inside gui, only the program's entry and the main
window itself include the main window: other windows get what they need passed in, or signal.

Usage: check_layers.py [SOURCE_ROOT]   (default: the src folder beside this script's folder)
Exit code 0 when every include points down or sideways within its folder, 1 otherwise.
"""

import pathlib
import re
import sys

CORE_ORDER = ["base", "lang", "tables", "nodes", "mapping", "image", "update", "report", "sim", "flow", "app"]
MAIN_WINDOW = "gui/app/mainwindow.h"
MAIN_WINDOW_USERS = {"gui/main.cpp", "gui/app/mainwindow.cpp", "gui/app/mainwindow.h"}
SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc"}
INCLUDE = re.compile(r'^\s*#\s*include\s*"((?:core|gui|cli)/[^"]+)"')


def violation(source: str, target: str):
    """The reason `source` must not include `target`, or None when it may."""
    src_parts = source.split("/")
    dst_parts = target.split("/")
    src_top, dst_top = src_parts[0], dst_parts[0]
    if src_top == "core":
        if dst_top != "core":
            return "the core includes " + dst_top
        if len(src_parts) < 3 or len(dst_parts) < 3:
            return "a core file outside the layer folders"
        src_layer, dst_layer = src_parts[1], dst_parts[1]
        for layer in (src_layer, dst_layer):
            if layer not in CORE_ORDER:
                return "core/" + layer + " has no place in the layer order"
        if CORE_ORDER.index(dst_layer) > CORE_ORDER.index(src_layer):
            return "core/" + src_layer + " includes the higher layer core/" + dst_layer
        return None
    if src_top == "cli" and dst_top == "gui":
        return "cli includes gui"
    if src_top == "gui" and target == MAIN_WINDOW and source not in MAIN_WINDOW_USERS:
        return "a window reaches into the main window"
    return None


def check(root: pathlib.Path) -> list:
    found = []
    for path in sorted(root.rglob("*")):
        if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
            continue
        source = path.relative_to(root).as_posix()
        with path.open(encoding="utf-8", errors="replace") as lines:
            for number, line in enumerate(lines, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                reason = violation(source, match.group(1))
                if reason:
                    found.append(f"{source}:{number}: includes {match.group(1)}: {reason}")
    return found


def main() -> int:
    default_root = pathlib.Path(__file__).resolve().parent.parent / "src"
    root = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else default_root
    if not root.is_dir():
        print(f"{root}: not a folder", file=sys.stderr)
        return 2
    found = check(root)
    for line in found:
        print(line)
    print(f"{len(found)} includes point up the layer order")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
