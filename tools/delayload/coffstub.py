"""Writes the COFF object of one delay-loaded function, for i386 and amd64.

The object holds four pieces, each in a section of its own:
- `.text`: the function's symbol, `jmp *__imp_X`, for callers declared without dllimport;
- `.text$dl`: the loader stub that the address table entry holds until the first call (the entry's address
  into eax/rax, then the DLL's tail-merge code, which calls the delay-load helper and jumps to the result);
- `.idata$5`: the address table entry `__imp_X`, holding the stub's address;
- `.idata$4` and `.idata$6`: the name table entry and the hint and name it points at.

The stub must not share a section with the function's symbol: GNU ld drops the section of an import
library member's jump symbol when only `__imp_X` is referenced (every dllimport call), and an entry whose
stub went with it holds 0, so the first call jumps to address 0.
"""

import struct

I386, AMD64 = 0x14C, 0x8664

# Relocation types.
I386_DIR32, I386_DIR32NB, I386_REL32 = 0x06, 0x07, 0x14
AMD64_ADDR64, AMD64_ADDR32NB, AMD64_REL32 = 0x01, 0x03, 0x04

# Section characteristics.
CODE = 0x00000020 | 0x20000000 | 0x40000000          # code, execute, read
DATA = 0x00000040 | 0x40000000 | 0x80000000          # initialised data, read, write
# The stub is code, but flagged as read-only data: ld's section garbage collection keeps the data sections
# of a member it links without following their relocations, so an entry's stub flagged as code would be
# dropped once the last call through the entry is (the entry then holds 0). In `.text` of the image it
# runs like the code beside it.
STUB = 0x00000040 | 0x40000000                       # initialised data, read
ALIGN = {2: 0x00200000, 4: 0x00300000, 8: 0x00400000}

STORAGE_EXTERNAL, STORAGE_STATIC = 2, 3
FUNCTION_TYPE = 0x20


class _Section:
    def __init__(self, name, data, flags, align):
        self.name, self.data, self.flags, self.align = name, data, flags | ALIGN[align], align
        self.relocations = []  # (offset, symbol index, type)


def function_object(machine, import_name, thunk_symbol, imp_symbol, tail_merge_symbol, hint=0):
    """The bytes of the object that delay-imports `import_name`."""
    is64 = machine == AMD64
    pointer = 8 if is64 else 4
    name_entry = struct.pack("<H", hint) + import_name.encode("ascii") + b"\0"
    if len(name_entry) % 2:
        name_entry += b"\0"

    # Symbol indexes: five section symbols with one auxiliary record each (0..9), then the externals.
    sym_text, sym_stub, sym_iat, sym_int, sym_name = 0, 2, 4, 6, 8
    sym_thunk, sym_imp, sym_tail = 10, 11, 12

    if is64:
        text = _Section(".text", b"\xff\x25\0\0\0\0", CODE, 4)
        text.relocations.append((2, sym_imp, AMD64_REL32))
        stub = _Section(".text$dl", b"\x48\x8d\x05\0\0\0\0\xe9\0\0\0\0", STUB, 4)
        stub.relocations += [(3, sym_imp, AMD64_REL32), (8, sym_tail, AMD64_REL32)]
        iat = _Section(".idata$5", bytes(8), DATA, 8)
        iat.relocations.append((0, sym_stub, AMD64_ADDR64))
        name_table = _Section(".idata$4", bytes(8), DATA, 8)
        name_table.relocations.append((0, sym_name, AMD64_ADDR32NB))
    else:
        text = _Section(".text", b"\xff\x25\0\0\0\0", CODE, 4)
        text.relocations.append((2, sym_imp, I386_DIR32))
        stub = _Section(".text$dl", b"\xb8\0\0\0\0\xe9\0\0\0\0", STUB, 4)
        stub.relocations += [(1, sym_imp, I386_DIR32), (6, sym_tail, I386_REL32)]
        iat = _Section(".idata$5", bytes(4), DATA, 4)
        iat.relocations.append((0, sym_stub, I386_DIR32))
        name_table = _Section(".idata$4", bytes(4), DATA, 4)
        name_table.relocations.append((0, sym_name, I386_DIR32NB))
    names = _Section(".idata$6", name_entry, DATA, 2)
    sections = [text, stub, iat, name_table, names]
    assert len(iat.data) == pointer

    strings = bytearray()

    def symbol_name(name):
        raw = name.encode("ascii")
        if len(raw) <= 8:
            return raw.ljust(8, b"\0")
        offset = 4 + len(strings)
        strings.extend(raw + b"\0")
        return struct.pack("<II", 0, offset)

    header_size, section_header_size = 20, 40
    offset = header_size + section_header_size * len(sections)
    layout = []
    for section in sections:
        data_at = offset
        offset += len(section.data)
        relocs_at = offset if section.relocations else 0
        offset += 10 * len(section.relocations)
        layout.append((data_at, relocs_at))
    symbol_table_at = offset

    symbols = bytearray()
    for number, section in enumerate(sections, start=1):
        symbols += struct.pack("<8sIhHBB", section.name.encode("ascii").ljust(8, b"\0"), 0, number, 0,
                               STORAGE_STATIC, 1)
        symbols += struct.pack("<IHHIHB3x", len(section.data), len(section.relocations), 0, 0, 0, 0)
    for name, number in ((thunk_symbol, 1), (imp_symbol, 3), (tail_merge_symbol, 0)):
        symbols += struct.pack("<8sIhHBB", symbol_name(name), 0, number,
                               FUNCTION_TYPE if name != imp_symbol else 0, STORAGE_EXTERNAL, 0)
    symbol_count = len(symbols) // 18

    out = bytearray(struct.pack("<HHIIIHH", machine, len(sections), 0, symbol_table_at, symbol_count, 0, 0))
    for section, (data_at, relocs_at) in zip(sections, layout):
        out += struct.pack("<8sIIIIIIHHI", section.name.encode("ascii").ljust(8, b"\0"), 0, 0,
                           len(section.data), data_at, relocs_at, 0, len(section.relocations), 0, section.flags)
    for section in sections:
        out += section.data
        for at, symbol, kind in section.relocations:
            out += struct.pack("<IIH", at, symbol, kind)
    out += symbols
    out += struct.pack("<I", 4 + len(strings)) + strings
    return bytes(out)
