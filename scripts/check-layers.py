#!/usr/bin/env python3
"""Fails when a folder of the core includes a header of a layer above it, or
when anything in the core includes Qt.

The layers, lowest first, each allowed to include only itself and the ones
below it:

    base  <-  presentation  <-  model  <-  generator  <-  exchange  <-  session
                                           generator  <-  analysis  <-  session
                                           generator  <-  print     <-  session
    base  <-  presentation  <-  platform

base holds the utilities (code page, files, value stream, INI, text helpers),
presentation the style preferences and page texts, model the quiz and its
document formats, generator the produced pages, exchange the platform exports
and imports, analysis the marks table and the item statistics, print the
exam as PDF files, session the open quiz both front ends drive; platform the
settings file, the program's folders and the desktop registration. The editor (app) and the command line
(cli) sit on top.

Usage: check-layers.py [ROOT]  (default: the repository holding this script)
"""
import pathlib
import re
import sys

ALLOWED = {
    "base": {"base"},
    "presentation": {"base", "presentation"},
    "model": {"base", "presentation", "model"},
    "generator": {"base", "presentation", "model", "generator"},
    "exchange": {"base", "presentation", "model", "generator", "exchange"},
    "analysis": {"base", "presentation", "model", "generator", "analysis"},
    "print": {"base", "presentation", "model", "generator", "print"},
    "session": {"base", "presentation", "model", "generator", "exchange", "analysis", "print", "session"},
    "platform": {"base", "presentation", "platform"},
}
# Folders outside the core that a core file may name: the embedded images
# are plain bytes behind the generator's small interface.
OUTSIDE = {"resources"}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)
QT_HEADER = re.compile(r"^(Q[A-Z]\w*|Qt\w*/)")


def problems(root: pathlib.Path):
    for layer, allowed in ALLOWED.items():
        folder = root / layer
        if not folder.is_dir():
            continue
        for source in sorted(folder.rglob("*")):
            if source.suffix not in {".h", ".cpp"}:
                continue
            text = source.read_text(encoding="utf-8", errors="replace")
            for kind, name in INCLUDE.findall(text):
                where = source.relative_to(root)
                if kind == "<" and QT_HEADER.match(name):
                    yield f"{where}: includes Qt ({name}); the core links no Qt"
                    continue
                if kind != '"' or "/" not in name:
                    continue
                target = name.split("/", 1)[0]
                if target in OUTSIDE:
                    continue
                if target in ALLOWED and target not in allowed:
                    yield f"{where}: {layer} includes {name}, a header of the {target} layer above it"
                elif target not in ALLOWED:
                    yield f"{where}: includes {name}, outside the core's layers"


def main(argv):
    root = pathlib.Path(argv[1]) if len(argv) > 1 else pathlib.Path(__file__).resolve().parent.parent
    found = list(problems(root))
    for line in found:
        print(line)
    if not any((root / layer).is_dir() for layer in ALLOWED):
        print(f"no core layer under {root}")
        return 1
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
