"""Writes compound files (the structured-storage container of installer databases and transforms).

Only what a transform needs: one root storage with a class id and a handful of streams, version 3
(512-byte sectors), small streams kept in the mini stream as readers expect.
"""

import struct

SECTOR = 512
MINI_SECTOR = 64
MINI_CUTOFF = 4096
FREESECT = 0xFFFFFFFF
ENDOFCHAIN = 0xFFFFFFFE
FATSECT = 0xFFFFFFFD
NOSTREAM = 0xFFFFFFFF
HEADER_DIFAT_ENTRIES = 109


def _pad(data, size):
    return data + b"\0" * (-len(data) % size)


def _sort_key(name):
    # Directory entries are ordered by name length first, then by the upper-case name.
    return (len(name), name.upper())


class _Entry:
    def __init__(self, name, kind, data=b""):
        self.name = name
        self.kind = kind  # 2 stream, 5 root
        self.data = data
        self.left = self.right = self.child = NOSTREAM
        self.start = ENDOFCHAIN
        self.size = 0
        self.clsid = b"\0" * 16


def _balanced_tree(entries, indices):
    """Links the sorted entries into a balanced binary search tree; returns the root index."""
    if not indices:
        return NOSTREAM
    middle = len(indices) // 2
    root = indices[middle]
    entries[root].left = _balanced_tree(entries, indices[:middle])
    entries[root].right = _balanced_tree(entries, indices[middle + 1:])
    return root


def write_compound_file(streams, clsid=b"\0" * 16):
    """streams: {name (str, at most 31 UTF-16 units): bytes}. Returns the file's bytes."""
    root = _Entry("Root Entry", 5)
    root.clsid = clsid
    entries = [root]
    for name in sorted(streams, key=_sort_key):
        if len(name.encode("utf-16-le")) // 2 > 31:
            raise ValueError("stream name too long: %r" % name)
        entries.append(_Entry(name, 2, streams[name]))
    root.child = _balanced_tree(entries, list(range(1, len(entries))))

    # Small streams go to the mini stream, in 64-byte mini sectors chained by the mini FAT.
    mini_stream = b""
    mini_fat = []
    big = []
    for entry in entries[1:]:
        entry.size = len(entry.data)
        if entry.size == 0:
            continue
        if entry.size < MINI_CUTOFF:
            first = len(mini_stream) // MINI_SECTOR
            count = (entry.size + MINI_SECTOR - 1) // MINI_SECTOR
            mini_fat += [first + i + 1 for i in range(count - 1)] + [ENDOFCHAIN]
            mini_stream += _pad(entry.data, MINI_SECTOR)
            entry.start = first
        else:
            big.append(entry)

    # Sector layout after the header: directory, mini FAT, mini stream, big streams, then the FAT.
    chains = []  # (first sector, sector count) in file order
    next_sector = 0

    def place(byte_count):
        nonlocal next_sector
        count = (byte_count + SECTOR - 1) // SECTOR
        first = next_sector if count else ENDOFCHAIN
        chains.append((next_sector, count))
        next_sector += count
        return first

    directory_first = place(len(entries) * 128)
    mini_fat_bytes = b"".join(struct.pack("<I", v) for v in mini_fat)
    mini_fat_first = place(len(mini_fat_bytes))
    root.size = len(mini_stream)
    root.start = place(len(mini_stream))
    for entry in big:
        entry.start = place(entry.size)

    # The FAT must describe its own sectors as well.
    fat_count = 1
    while (next_sector + fat_count) > fat_count * (SECTOR // 4):
        fat_count += 1
    if fat_count > HEADER_DIFAT_ENTRIES:
        raise ValueError("compound file too large for this writer")
    fat_first = next_sector
    fat = []
    for first, count in chains:
        fat += [first + i + 1 for i in range(count - 1)] + ([ENDOFCHAIN] if count else [])
    fat += [FATSECT] * fat_count
    fat += [FREESECT] * (fat_count * (SECTOR // 4) - len(fat))

    directory = b""
    for entry in entries:
        name = entry.name.encode("utf-16-le") + b"\0\0"
        directory += struct.pack(
            "<64sHBBIII16sIQQIQ",
            name,
            len(name),
            entry.kind,
            1,  # black: every tree shape is a valid all-black tree for readers
            entry.left,
            entry.right,
            entry.child,
            entry.clsid,
            0,
            0,
            0,
            entry.start,
            entry.size,
        )
    empty = struct.pack("<64sHBBIII16sIQQIQ", b"", 0, 0, 0, NOSTREAM, NOSTREAM, NOSTREAM, b"\0" * 16, 0, 0, 0, 0, 0)
    while len(directory) % SECTOR:
        directory += empty

    difat = [fat_first + i for i in range(fat_count)] + [FREESECT] * (HEADER_DIFAT_ENTRIES - fat_count)
    header = struct.pack(
        "<8s16sHHHHH6sIIIIIIIII",
        b"\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1",
        b"\0" * 16,
        0x003E,
        0x0003,
        0xFFFE,
        9,
        6,
        b"\0" * 6,
        0,
        fat_count,
        directory_first,
        0,
        MINI_CUTOFF,
        mini_fat_first if mini_fat else ENDOFCHAIN,
        (len(mini_fat_bytes) + SECTOR - 1) // SECTOR,
        ENDOFCHAIN,
        0,
    )
    header += b"".join(struct.pack("<I", v) for v in difat)
    assert len(header) == SECTOR

    body = directory + _pad(mini_fat_bytes, SECTOR) + _pad(mini_stream, SECTOR)
    for entry in big:
        body += _pad(entry.data, SECTOR)
    body += b"".join(struct.pack("<I", v) for v in fat)
    return header + body
