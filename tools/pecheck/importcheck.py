#!/usr/bin/env python3
"""Checks the imports of Windows programs against the DLLs they name.

For every ordinary and delay-loaded import of each program it checks that
- the import address table entry is bound: a delay-load entry holds the address of a loading thunk inside
  the program (an entry of 0 makes the first call jump to address 0), an ordinary entry names its function;
- the DLL exists among the reference DLLs of the program's bitness and exports the function.

The reference DLLs are Wine's own PE DLLs of the program's bitness (--dlls); a DLL not found there is
looked up in mingw-w64's import libraries instead (--implibs, read with --nm), which list what the
DLL exports by name.

Usage: importcheck.py [--dlls FOLDER]... [--implibs FOLDER --nm NM]... PROGRAM...
Exit code 0 when every import of every program is sound, 1 otherwise (each fault on a line of its own).
"""

import argparse
import os
import struct
import subprocess
import sys

MACHINE_I386 = 0x14C
MACHINE_AMD64 = 0x8664
DIR_EXPORT, DIR_IMPORT, DIR_DELAY_IMPORT = 0, 1, 13


class PeImage:
    """The headers, sections and data directories of one PE file, read whole into memory."""

    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        self.path = path
        if self.data[:2] != b"MZ":
            raise ValueError("not a PE file")
        pe = struct.unpack_from("<I", self.data, 0x3C)[0]
        if self.data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", self.data, pe + 4)
        optional = pe + 24
        magic = struct.unpack_from("<H", self.data, optional)[0]
        self.is64 = magic == 0x20B
        self.pointer_size = 8 if self.is64 else 4
        if self.is64:
            self.image_base = struct.unpack_from("<Q", self.data, optional + 24)[0]
            self.image_size = struct.unpack_from("<I", self.data, optional + 56)[0]
            dirs = optional + 112
        else:
            self.image_base = struct.unpack_from("<I", self.data, optional + 28)[0]
            self.image_size = struct.unpack_from("<I", self.data, optional + 56)[0]
            dirs = optional + 96
        count = struct.unpack_from("<I", self.data, dirs - 4)[0]
        self.directories = [struct.unpack_from("<II", self.data, dirs + 8 * i) for i in range(count)]
        table = optional + optional_size
        self.sections = []
        for i in range(sections):
            _, vsize, vaddr, rawsize, rawptr = struct.unpack_from("<8sIIII", self.data, table + 40 * i)
            self.sections.append((vaddr, max(vsize, rawsize), rawptr, rawsize))

    def offset(self, rva):
        for vaddr, size, rawptr, rawsize in self.sections:
            if vaddr <= rva < vaddr + size:
                if rva - vaddr >= rawsize:
                    return None  # in the section's zero-filled tail
                return rawptr + rva - vaddr
        return None

    def u32(self, rva):
        off = self.offset(rva)
        return 0 if off is None else struct.unpack_from("<I", self.data, off)[0]

    def pointer(self, rva):
        off = self.offset(rva)
        if off is None:
            return 0
        return struct.unpack_from("<Q" if self.is64 else "<I", self.data, off)[0]

    def text(self, rva):
        off = self.offset(rva)
        if off is None:
            return None
        end = self.data.index(b"\0", off)
        return self.data[off:end].decode("latin-1")

    def directory(self, index):
        return self.directories[index] if index < len(self.directories) else (0, 0)

    def exports(self):
        rva, size = self.directory(DIR_EXPORT)
        if not rva:
            return set()
        count, names = self.u32(rva + 24), self.u32(rva + 32)
        return {self.text(self.u32(names + 4 * i)) for i in range(count)}

    def thunk_names(self, table):
        """The names (or '#ordinal') of an import name table, in order."""
        ordinal_flag = 1 << (self.pointer_size * 8 - 1)
        names = []
        while True:
            entry = self.pointer(table + self.pointer_size * len(names))
            if not entry:
                return names
            names.append("#%d" % (entry & 0xFFFF) if entry & ordinal_flag else self.text((entry & 0x7FFFFFFF) + 2))

    def delay_descriptors(self):
        """The RVAs of the delay-import descriptors. GNU ld leaves the data directory of delay imports
        empty, so they are found by their form: attribute 1 (RVAs), the DLL's name, its handle, address
        table and name table inside the image, followed by further descriptors and an empty one."""
        rva, _ = self.directory(DIR_DELAY_IMPORT)
        if rva:
            starts = [rva]
        else:
            starts = []
            for vaddr, _, rawptr, rawsize in self.sections:
                for off in range(rawptr, rawptr + rawsize - 32, 4):
                    if self._is_delay_descriptor(vaddr + off - rawptr):
                        starts.append(vaddr + off - rawptr)
            # Only the first of each run of descriptors starts a table.
            starts = [start for start in starts if start - 32 not in starts]
        found = []
        for start in starts:
            while self._is_delay_descriptor(start):
                found.append(start)
                start += 32
        return found

    def _is_delay_descriptor(self, rva):
        off = self.offset(rva)
        if off is None or off + 32 > len(self.data):
            return False
        attributes, name, handle, iat, names = struct.unpack_from("<IIIII", self.data, off)
        if attributes != 1 or not all(0 < value < self.image_size for value in (name, handle, iat, names)):
            return False
        dll = self.text(name)
        return bool(dll) and dll.lower().endswith(".dll") and all(32 <= ord(c) < 127 for c in dll)

    def executable_sections(self):
        return [(vaddr, rawptr, rawsize) for vaddr, _, rawptr, rawsize, flags in self.section_flags()
                if flags & 0x20000000]

    def section_flags(self):
        pe = struct.unpack_from("<I", self.data, 0x3C)[0]
        optional_size = struct.unpack_from("<H", self.data, pe + 20)[0]
        table = pe + 24 + optional_size
        for i, (vaddr, size, rawptr, rawsize) in enumerate(self.sections):
            yield vaddr, size, rawptr, rawsize, struct.unpack_from("<I", self.data, table + 40 * i + 36)[0]

    def code_refers_to(self, slots):
        """The entries of `slots` (RVAs) that an instruction of the program names: an absolute address
        in i386 code, a RIP-relative displacement ending at the instruction's end in amd64 code."""
        named = set()
        for vaddr, rawptr, rawsize in self.executable_sections():
            code = self.data[rawptr:rawptr + rawsize]
            if self.is64:
                for at in range(len(code) - 3):
                    target = vaddr + at + 4 + struct.unpack_from("<i", code, at)[0]
                    if target in slots:
                        named.add(target)
            else:
                for slot in slots:
                    if struct.pack("<I", self.image_base + slot) in code:
                        named.add(slot)
        return named

    def imports(self):
        """(kind, dll, function, entry value, entry RVA) for every import, ordinary and delay-loaded."""
        found = []
        rva, _ = self.directory(DIR_IMPORT)
        while rva:
            lookup, _, _, name, iat = struct.unpack_from("<IIIII", self.data, self.offset(rva))
            if not name:
                break
            dll = self.text(name)
            for i, function in enumerate(self.thunk_names(lookup or iat)):
                slot = iat + self.pointer_size * i
                found.append(("import", dll, function, self.pointer(slot), slot))
            rva += 20
        for descriptor in self.delay_descriptors():
            attributes, name, _, iat, names = struct.unpack_from("<IIIII", self.data, self.offset(descriptor))
            dll = self.text(name)
            for i, function in enumerate(self.thunk_names(names)):
                slot = iat + self.pointer_size * i
                found.append(("delay", dll, function, self.pointer(slot), slot))
        return found


def import_library_exports(nm, path):
    """The names an import library's members import: its __imp_ symbols without decoration."""
    listing = subprocess.run([nm, "-g", "--defined-only", path], capture_output=True, text=True).stdout
    names = set()
    for line in listing.splitlines():
        parts = line.split()
        if len(parts) == 3 and parts[1] == "I" and parts[2].startswith("__imp_"):
            name = parts[2][len("__imp_"):]
            if "i686" in os.path.basename(nm):
                name = name[1:] if name.startswith("_") else name
                name = name.split("@")[0] if "@" in name[1:] else name
            names.add(name)
    return names


def reference_exports(folders, libraries, machine, cache):
    """A lookup from a DLL's name to its exports (None: not found), over the reference DLLs of one
    machine and then the import libraries given for it ([(folder, nm)])."""
    def lookup(dll):
        key = (machine, dll.lower())
        if key not in cache:
            cache[key] = None
            for folder in folders:
                path = os.path.join(folder, dll.lower())
                if os.path.exists(path):
                    image = PeImage(path)
                    if image.machine == machine:
                        cache[key] = image.exports()
                        break
            if cache[key] is None:
                for folder, nm in libraries:
                    path = os.path.join(folder, "lib%s.a" % os.path.splitext(dll.lower())[0])
                    if os.path.exists(path):
                        cache[key] = import_library_exports(nm, path)
                        break
        return cache[key]
    return lookup


def faults(program, folders, libraries, cache):
    image = PeImage(program)
    lookup = reference_exports(folders, libraries.get(image.machine, []), image.machine, cache)
    code = [(image.image_base + vaddr, image.image_base + vaddr + rawsize)
            for vaddr, _, rawsize in image.executable_sections()]
    imports = image.imports()
    unbound = {slot for kind, _, _, entry, slot in imports
               if kind == "delay" and not any(low <= entry < high for low, high in code)}
    called = image.code_refers_to(unbound)
    found = []
    for kind, dll, function, entry, slot in imports:
        where = "%s %s!%s" % (kind, dll, function)
        if slot in unbound and slot in called:
            found.append("%s: its address table entry holds 0x%x, not a loading thunk in the program's code,"
                         " and the program calls through it" % (where, entry))
        elif kind == "import" and not entry:
            found.append("%s: its address table entry is empty" % where)
        exports = lookup(dll)
        if exports is None:
            found.append("%s: no such DLL among the reference DLLs" % where)
        elif not function.startswith("#") and function not in exports:
            found.append("%s: the DLL does not export it" % where)
    return image, found


def main(argv):
    parser = argparse.ArgumentParser()
    parser.add_argument("--dlls", action="append", default=[], help="a folder of reference DLLs")
    parser.add_argument("--implibs", action="append", default=[], help="a folder of mingw-w64 import libraries")
    parser.add_argument("--nm", action="append", default=[], help="the nm of each --implibs folder, in order")
    parser.add_argument("programs", nargs="+")
    args = parser.parse_args(argv)
    if len(args.implibs) != len(args.nm):
        parser.error("each --implibs folder needs its --nm")
    libraries = {}
    for folder, nm in zip(args.implibs, args.nm):
        machine = MACHINE_I386 if "i686" in os.path.basename(nm) else MACHINE_AMD64
        libraries.setdefault(machine, []).append((folder, nm))
    cache = {}
    failed = False
    for program in args.programs:
        image, found = faults(program, args.dlls, libraries, cache)
        for fault in found:
            print("%s: %s" % (program, fault))
        imports = image.imports()
        delayed = sum(1 for kind, *_ in imports if kind == "delay")
        print("%s: %d imports (%d delay-loaded) from %d DLLs, %d faults" % (
            program, len(imports), delayed, len({dll.lower() for _, dll, *_ in imports}), len(found)))
        failed = failed or bool(found)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
