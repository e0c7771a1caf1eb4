#!/usr/bin/env python3
"""Makes a delay-load import library from mingw-w64's ordinary import library of a system DLL.

A program that imports a DLL in its import table has it loaded by the loader before any of its own code
runs, searched for in the program's folder first. Imported through a delay-load library instead, the DLL
is loaded on the first call, after the program has restricted the search to the system folder.

Usage: delaylib.py --nm NM --dlltool DLLTOOL IMPORT_LIB OUTPUT_LIB
"""

import argparse
import os
import subprocess
import sys
import tempfile


def exported_names(nm, import_lib):
    """The names the import library imports, as a .def file spells them (i686: with their @n)."""
    listing = subprocess.run([nm, "-g", "--defined-only", import_lib], check=True, capture_output=True,
                             text=True).stdout
    names = set()
    for line in listing.splitlines():
        parts = line.split()
        if len(parts) == 3 and parts[1] == "I" and parts[2].startswith("__imp_"):
            name = parts[2][len("__imp_"):]
            names.add(name[1:] if "i686" in os.path.basename(nm) and name.startswith("_") else name)
    return sorted(names)


def main(argv):
    parser = argparse.ArgumentParser()
    parser.add_argument("--nm", required=True)
    parser.add_argument("--dlltool", required=True)
    parser.add_argument("import_lib")
    parser.add_argument("output")
    args = parser.parse_args(argv)
    dll = subprocess.run([args.dlltool, "--identify", args.import_lib], check=True, capture_output=True,
                         text=True).stdout.split()[0]
    names = exported_names(args.nm, args.import_lib)
    if not names:
        sys.stderr.write("delaylib: no imports found in %s\n" % args.import_lib)
        return 1
    with tempfile.TemporaryDirectory() as stage:
        definition = os.path.join(stage, "exports.def")
        with open(definition, "w") as f:
            f.write("LIBRARY %s\nEXPORTS\n%s\n" % (dll, "\n".join(names)))
        # -k: the i686 import names lose their @n, as the DLLs export them.
        subprocess.run([args.dlltool, "-k", "--input-def", definition, "--dllname", dll,
                        "--output-delaylib", args.output], check=True, cwd=stage)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
