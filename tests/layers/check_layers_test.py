#!/usr/bin/env python3
"""The layer checker fails on each kind of fault, on a small tree made for it,
and passes a tree that keeps its layers."""
import pathlib
import subprocess
import sys
import tempfile

CHECKER = sys.argv[1]


def run(files):
    with tempfile.TemporaryDirectory() as root:
        for name, text in files.items():
            path = pathlib.Path(root, name)
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text(text)
        done = subprocess.run([sys.executable, CHECKER, root], capture_output=True, text=True)
        return done.returncode, done.stdout


ok = {
    "base/A.h": '#include <string>\n',
    "model/B.h": '#include "base/A.h"\n#include "presentation/C.h"\n',
    "presentation/C.h": '#include "base/A.h"\n',
    "session/D.cpp": '#include "model/B.h"\n#include "resources/EmbeddedGifs.h"\n#include "analysis/E.h"\n',
    "analysis/E.h": '#include "base/A.h"\n',
}
faults = {
    "a lower layer includes a higher one": {"base/A.h": '#include "model/B.h"\n', "model/B.h": ""},
    "the platform pieces reach the model": {"platform/P.cpp": '#include "model/B.h"\n', "model/B.h": ""},
    "the core includes Qt": {"generator/G.cpp": "#include <QString>\n"},
    "the core includes the editor": {"session/S.cpp": '#include "app/TMain.h"\n'},
    "the statistics reach the session": {"analysis/A.cpp": '#include "session/QuizSession.h"\n'},
    "the statistics reach the platform exports": {"analysis/A.cpp": '#include "exchange/GiftReader.h"\n'},
}

failures = 0
code, out = run(ok)
if code != 0:
    print(f"a tree that keeps its layers was refused:\n{out}")
    failures += 1
for what, files in faults.items():
    code, out = run(files)
    if code == 0 or not out.strip():
        print(f"not caught: {what}")
        failures += 1
sys.exit(1 if failures else 0)
