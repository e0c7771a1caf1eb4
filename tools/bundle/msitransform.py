#!/usr/bin/env python3
"""Makes a language transform (.mst) for an installer database.

The transform sets rows of the database's Property table: it updates the properties the database
already has and inserts the others. That is what a language transform of the test products needs
(ProductLanguage and the product's own language property), and it is written in the transform format
Windows Installer reads: a compound file of class {000C1082-0000-0000-C000-000000000046} holding the
transform's own string pool and one stream of row changes per table, plus a summary information stream.

Usage: msitransform.py BASE.msi OUT.mst LANGUAGE_ID NAME=VALUE...
The database is read with msiinfo (msitools) to learn its properties and summary information.
"""

import struct
import subprocess
import sys
import uuid

sys.path.insert(0, __import__("os").path.dirname(__file__))
from compoundfile import write_compound_file  # noqa: E402

TRANSFORM_CLSID = uuid.UUID("000C1082-0000-0000-C000-000000000046").bytes_le
SUMMARY_FMTID = uuid.UUID("F29F85E0-4FF9-1068-AB91-08002B27B3D9").bytes_le
ALPHABET = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz._"


def encode_table_stream_name(name):
    """The stream name under which a table (or the string pool) is stored."""
    out = [chr(0x4840)]
    i = 0
    while i < len(name):
        first = ALPHABET.find(name[i])
        if first < 0:
            out.append(name[i])
            i += 1
            continue
        second = ALPHABET.find(name[i + 1]) if i + 1 < len(name) else -1
        if second >= 0:
            out.append(chr(0x3800 + first + (second << 6)))
            i += 2
        else:
            out.append(chr(0x4800 + first))
            i += 1
    return "".join(out)


class StringPool:
    """The transform's strings, referred to by 1-based ids (0 is the null string)."""

    def __init__(self, codepage=0):
        self.codepage = codepage
        self.ids = {}
        self.strings = []
        self.refs = []

    def ref(self, text):
        if text == "":
            return 0
        if text not in self.ids:
            self.strings.append(text)
            self.refs.append(0)
            self.ids[text] = len(self.strings)
        self.refs[self.ids[text] - 1] += 1
        return self.ids[text]

    def streams(self):
        pool = struct.pack("<HH", self.codepage & 0xFFFF, self.codepage >> 16)
        data = b""
        for text, refs in zip(self.strings, self.refs):
            encoded = text.encode("cp1252" if self.codepage in (0, 1252) else "cp%d" % self.codepage)
            if len(encoded) > 0xFFFF:
                raise ValueError("string too long for this writer")
            pool += struct.pack("<HH", len(encoded), refs)
            data += encoded
        return {encode_table_stream_name("_StringPool"): pool, encode_table_stream_name("_StringData"): data}


def property_rows(pool, changes, existing):
    """Row changes of the Property table (key column Property, column Value; both strings)."""
    rows = b""
    for name, value in changes:
        if name in existing:
            rows += struct.pack("<HHH", 0x0002, pool.ref(name), pool.ref(value))  # update: Value present
        else:
            rows += struct.pack("<HHH", (2 << 8) | 1, pool.ref(name), pool.ref(value))  # insert: 2 columns
    return rows


def summary_information(properties):
    """A property set stream; properties: [(id, 'str'|'i2'|'i4', value)]."""
    values = b""
    index = b""
    offset = 8 + 8 * len(properties)
    for pid, kind, value in properties:
        if kind == "i2":
            blob = struct.pack("<IhH", 2, value, 0)
        elif kind == "i4":
            blob = struct.pack("<Ii", 3, value)
        else:
            text = value.encode("cp1252") + b"\0"
            blob = struct.pack("<II", 30, len(text)) + text
            blob += b"\0" * (-len(blob) % 4)
        index += struct.pack("<II", pid, offset + len(values))
        values += blob
    section = struct.pack("<II", 8 + len(index) + len(values), len(properties)) + index + values
    header = struct.pack("<HHI16sI", 0xFFFE, 0, 0x00020006, b"\0" * 16, 1) + SUMMARY_FMTID + struct.pack("<I", 48)
    return header + section


def msiinfo(*args):
    return subprocess.run(["msiinfo", *args], check=True, capture_output=True, text=True).stdout


def read_database(path):
    rows = msiinfo("export", path, "Property").splitlines()[3:]
    properties = dict(line.split("\t", 1) for line in rows if "\t" in line)
    summary = {}
    for line in msiinfo("suminfo", path).splitlines():
        key, _, value = line.partition(": ")
        summary[key] = value
    return properties, summary


def make_transform(base, language, changes):
    properties, summary = read_database(base)
    pool = StringPool()
    rows = property_rows(pool, changes, properties)
    streams = pool.streams()
    streams[encode_table_stream_name("Property")] = rows

    platform = summary.get("Template", "Intel;1033").split(";")[0]
    product = properties.get("ProductCode", "") + properties.get("ProductVersion", "")
    revision = "%s;%s;%s" % (product, product, properties.get("UpgradeCode", ""))
    no_validation = 0  # applies to any database; no error conditions suppressed
    streams["\x05SummaryInformation"] = summary_information(
        [
            (1, "i2", 1252),  # code page of the texts
            (2, "str", "Transform"),
            (7, "str", summary.get("Template", "")),  # the database it was made for
            (8, "str", "%s;%d" % (platform, language)),  # the database it makes
            (9, "str", revision),
            (14, "i4", 200),
            (16, "i4", no_validation),
        ]
    )
    return write_compound_file(streams, TRANSFORM_CLSID)


def main(argv):
    if len(argv) < 4:
        sys.stderr.write(__doc__)
        return 2
    base, out, language = argv[0], argv[1], int(argv[2])
    changes = []
    for assignment in argv[3:]:
        name, separator, value = assignment.partition("=")
        if not separator or not name:
            sys.stderr.write("expected NAME=VALUE, got %r\n" % assignment)
            return 2
        changes.append((name, value))
    with open(out, "wb") as f:
        f.write(make_transform(base, language, changes))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
