#!/usr/bin/env python3
"""Keeps the source folders in one-way layers: a file may include headers of its own layer and
of the layers below it, never of one above. The order below is the one place it is written.

Usage: check-layers.py [SRC_DIR]   (default: the src folder next to this tool's folder)
Prints each offending include and exits 1 when there is one.
"""
import pathlib
import re
import sys

# Bottom to top. The first three are the portable core: no Windows header there.
LAYERS = ["text", "regex", "analysis", "win", "host", "render", "menus", "hook", "control", "plugin"]
PORTABLE = {"text", "regex", "analysis"}
# Headers the build generates from the interface definitions, by the lowest layer that may use them.
GENERATED = {"host_h.h": "host", "tintmark_h.h": "control"}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
# The platform's headers: windows.h and what it pulls in, COM and the common controls.
WINDOWS_HEADER = re.compile(r"^(win|ole|obj|oa|oc|unknwn|commctrl|shl|shell|rpc|wtypes|guiddef|mmsystem|dwm|uxtheme)\w*\.h$",
                            re.IGNORECASE)


def layer_of(header, including, src):
    if header.startswith("."):
        # A relative path: the folder it reaches from the including file.
        try:
            header = (including.parent / header).resolve().relative_to(src.resolve()).as_posix()
        except ValueError:
            return None
    if header in GENERATED:
        return GENERATED[header]
    first = header.split("/", 1)[0]
    return first if "/" in header and first in LAYERS else None


def check(src):
    faults = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp", ".inc") or not path.is_file():
            continue
        own = path.relative_to(src).parts[0]
        if own not in LAYERS:
            faults.append(f"{path.relative_to(src)}: the folder '{own}' is in no layer (add it to LAYERS)")
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            bracket, header = m.groups()
            where = f"{path.relative_to(src)}:{number}"
            if bracket == "<" and WINDOWS_HEADER.match(header):
                if own in PORTABLE:
                    faults.append(f"{where}: the portable layer '{own}' includes <{header}>")
                continue
            theirs = layer_of(header, path, src)
            if theirs and LAYERS.index(theirs) > LAYERS.index(own):
                faults.append(f"{where}: '{own}' includes \"{header}\" of the layer above it, '{theirs}'")
    return faults


def main():
    src = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent / "src"
    faults = check(src)
    for f in faults:
        print(f)
    print(f"layers {' < '.join(LAYERS)}: {len(faults)} fault(s)")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
