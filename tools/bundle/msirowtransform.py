#!/usr/bin/env python3
"""Makes a transform (.mst) that inserts rows into existing tables of an installer database.

The tests of the transform step need transforms that add files (File rows, and Media rows naming
their cabinets); this writes them in the same format as msitransform.py. Column types are read from
the database with msiinfo, so integers get the width the database gives them.

Usage: msirowtransform.py BASE.msi OUT.mst TABLE:VALUE:VALUE:... ...
Each row argument gives every column of TABLE in order; an empty value is null.
"""

import struct
import sys

sys.path.insert(0, __import__("os").path.dirname(__file__))
from compoundfile import write_compound_file  # noqa: E402
from msitransform import (  # noqa: E402
    TRANSFORM_CLSID,
    StringPool,
    encode_table_stream_name,
    msiinfo,
    read_database,
    summary_information,
)


def column_types(base, table):
    lines = msiinfo("export", base, table).splitlines()
    return lines[1].split("\t")


def encode_row(pool, types, values):
    if len(values) != len(types):
        raise ValueError("expected %d values, got %d" % (len(types), len(values)))
    data = struct.pack("<H", (len(types) << 8) | 1)  # insert: every column present
    for kind, value in zip(types, values):
        letter, width = kind[0].lower(), int(kind[1:] or "0")
        if letter in "sl":
            data += struct.pack("<H", pool.ref(value))
        elif letter == "i" and width == 2:
            data += struct.pack("<H", 0 if value == "" else (int(value) + 0x8000) & 0xFFFF)
        elif letter == "i" and width == 4:
            data += struct.pack("<I", 0 if value == "" else (int(value) ^ 0x80000000) & 0xFFFFFFFF)
        else:
            raise ValueError("column type %s is not supported" % kind)
    return data


def make_transform(base, rows):
    properties, summary = read_database(base)
    pool = StringPool()
    streams = {}
    for table, values in rows:
        types = column_types(base, table)
        name = encode_table_stream_name(table)
        streams[name] = streams.get(name, b"") + encode_row(pool, types, values)
    streams.update(pool.streams())
    template = summary.get("Template", "Intel;1033")
    product = properties.get("ProductCode", "") + properties.get("ProductVersion", "")
    streams["\x05SummaryInformation"] = summary_information(
        [
            (1, "i2", 1252),
            (2, "str", "Transform"),
            (7, "str", template),
            (8, "str", template),
            (9, "str", "%s;%s;%s" % (product, product, properties.get("UpgradeCode", ""))),
            (14, "i4", 200),
            (16, "i4", 0),  # applies to any database
        ]
    )
    return write_compound_file(streams, TRANSFORM_CLSID)


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    rows = []
    for argument in argv[2:]:
        table, _, rest = argument.partition(":")
        rows.append((table, rest.split(":")))
    with open(argv[1], "wb") as f:
        f.write(make_transform(argv[0], rows))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
