#!/usr/bin/env python3
"""Checks that every source file includes only headers of its own layer or of the layers below it.

The layers, bottom to top:
    support/                                   nothing of the project
    launcher/ (without launcher/app/)          the model: packages, products, log, results, languages
    extraction/                                cabinets and package unpacking
    installer/                                 Windows Installer operations
    wizard/, server/, prerequisites/           the wizard framework and its pages
    launcher/app/                              the application object alone

A portable file (one whose name does not end in _win.cpp or _win.h) also includes no Windows header and no
_win header, since it builds natively as well. Prints one line per offending include and exits 1 when there
is any.
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent

# Folder (relative to the root) -> rank; the longest matching folder decides.
LAYERS = {
    "support": 0,
    "launcher": 1,
    "extraction": 2,
    "installer": 3,
    "wizard": 4,
    "server": 4,
    "prerequisites": 4,
    "launcher/app": 5,
}
LAYER_NAMES = {rank: " ".join(sorted(f + "/" for f, r in LAYERS.items() if r == rank)) for rank in LAYERS.values()}

# System headers that only the Windows layer may include.
WINDOWS_HEADERS = {
    "windows.h", "commctrl.h", "shlobj.h", "shellapi.h", "shlwapi.h", "msi.h", "msiquery.h", "fdi.h",
    "richedit.h", "objbase.h", "wincrypt.h", "winreg.h", "winuser.h", "winbase.h", "aclapi.h", "sddl.h",
    "d2d1.h", "knownfolders.h", "winver.h", "process.h", "io.h", "bcrypt.h",
}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def rank_of(relative):
    """The layer of a path relative to the root, or None outside the layers."""
    best = None
    for folder, rank in LAYERS.items():
        if relative == folder or relative.startswith(folder + "/"):
            if best is None or len(folder) > len(best[0]):
                best = (folder, rank)
    return None if best is None else best[1]


def is_windows_file(path):
    return re.search(r"_win\.(cpp|h)$", path.name) is not None


def check(root):
    problems = []
    for folder in LAYERS:
        for path in sorted((root / folder).glob("*")):
            if path.suffix not in (".cpp", ".h") or not path.is_file():
                continue
            relative = path.relative_to(root).as_posix()
            own = rank_of(relative)
            portable = not is_windows_file(path)
            for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                quote, header = match.groups()
                where = f"{relative}:{number}"
                if quote == "<":
                    if portable and header.lower() in WINDOWS_HEADERS:
                        problems.append(f"{where}: portable file includes <{header}>")
                    continue
                if portable and re.search(r"_win\.h$", header):
                    problems.append(f"{where}: portable file includes the Windows header {header}")
                target = rank_of(header)
                if target is not None and target > own:
                    problems.append(f"{where}: {LAYER_NAMES[own]} includes {header} of the higher layer "
                                    f"{LAYER_NAMES[target]}")
    return problems


def main():
    root = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else ROOT
    problems = check(root)
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) against the layers (see scripts/check-layers.py)")
        return 1
    print("Layers: every include points to the same layer or one below it")
    return 0


if __name__ == "__main__":
    sys.exit(main())
