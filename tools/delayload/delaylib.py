#!/usr/bin/env python3
"""Makes a delay-load import library from mingw-w64's ordinary import library of a system DLL.

A program that imports a DLL in its import table has it loaded by the loader before any of its own code
runs, searched for in the program's folder first. Imported through a delay-load library instead, the DLL
is loaded on the first call, after the program has restricted the search to the system folder.

dlltool writes the library's head (the delay-import descriptor, the DLL's handle and its tail-merge code)
and tail (the ends of its tables and the DLL's name); each function's own member is written by
`coffstub`, whose layout keeps every address table entry bound to its loader stub (see there).

Usage: delaylib.py --nm NM --dlltool DLLTOOL --ar AR IMPORT_LIB OUTPUT_LIB
"""

import argparse
import os
import subprocess
import sys
import tempfile

import coffstub


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
    parser.add_argument("--ar", required=True)
    parser.add_argument("import_lib")
    parser.add_argument("output")
    args = parser.parse_args(argv)
    dll = subprocess.run([args.dlltool, "--identify", args.import_lib], check=True, capture_output=True,
                         text=True).stdout.split()[0]
    names = exported_names(args.nm, args.import_lib)
    if not names:
        sys.stderr.write("delaylib: no imports found in %s\n" % args.import_lib)
        return 1
    i686 = "i686" in os.path.basename(args.nm)
    machine = coffstub.I386 if i686 else coffstub.AMD64
    output = os.path.abspath(args.output)
    with tempfile.TemporaryDirectory() as stage:
        definition = os.path.join(stage, "exports.def")
        with open(definition, "w") as f:
            f.write("LIBRARY %s\nEXPORTS\n%s\n" % (dll, "\n".join(names)))
        # A name relative to the stage folder: the members' and symbols' names then do not depend on
        # where the build tree is. -k: the i686 import names lose their @n, as the DLLs export them.
        stem = "delay_" + os.path.splitext(os.path.basename(args.import_lib))[0][3:]
        subprocess.run([args.dlltool, "-k", "--input-def", definition, "--dllname", dll,
                        "--output-delaylib", stem + ".a"], check=True, cwd=stage)
        members = subprocess.run([args.ar, "t", stem + ".a"], check=True, capture_output=True, text=True,
                                 cwd=stage).stdout.split()
        head = [m for m in members if m.endswith("_h.o")]
        tail = [m for m in members if m.endswith("_t.o")]
        if len(head) != 1 or len(tail) != 1:
            sys.stderr.write("delaylib: dlltool wrote no head or tail for %s\n" % dll)
            return 1
        subprocess.run([args.ar, "x", stem + ".a", head[0], tail[0]], check=True, cwd=stage)
        symbols = subprocess.run([args.nm, head[0]], check=True, capture_output=True, text=True,
                                 cwd=stage).stdout.split()
        tail_merge = [s for s in symbols if "__tailMerge_" in s]
        if len(tail_merge) != 1:
            sys.stderr.write("delaylib: no tail-merge symbol in the head of %s\n" % dll)
            return 1
        # Members sort between the head and the tail by name, which is how the linker orders the
        # library's table entries.
        prefix = head[0][:-len("_h.o")]
        functions = []
        for number, name in enumerate(names, start=1):
            import_name = name.split("@")[0] if i686 and "@" in name[1:] else name
            symbol = "_" + name if i686 else name
            member = "%s_s%05d.o" % (prefix, number)
            with open(os.path.join(stage, member), "wb") as f:
                f.write(coffstub.function_object(machine, import_name, symbol, "__imp_" + symbol, tail_merge[0]))
            functions.append(member)
        if os.path.exists(output):
            os.remove(output)
        subprocess.run([args.ar, "rcsD", output, head[0]] + functions + [tail[0]], check=True, cwd=stage)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
