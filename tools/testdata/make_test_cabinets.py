#!/usr/bin/env python3
"""Makes the cabinets the Windows tests extract.

Usage: make_test_cabinets.py OUTPUT_FOLDER

Writes into OUTPUT_FOLDER:
  source/...          the files packed into sample.cab (compared byte for byte after extraction)
  sample.cab          an MSZIP cabinet made by gcab, with files in sub-folders
  sample.res          the same cabinet in the package resource layout (4-byte little-endian count first)
  truncated.cab, garbled.cab   damaged copies of sample.cab (cut short; undecodable data)
  other/..., other.cab   other files in another MSZIP cabinet, extracted side by side with sample.cab
  stamped.cab         an uncompressed cabinet with a known DOS date and time and a UTF-8 file name
  hostile_*.cab       uncompressed cabinets whose second entry tries to leave the destination
  spanning.cab        the first cabinet of a set: its file continues in a next cabinet ("next.cab")
  one_msi.cab         an MSZIP cabinet holding one .msi file and a file in a sub-folder
  two_msi.cab         an MSZIP cabinet holding two .msi files
  webview2_x64.cab    stands for the fixed WebView2 runtime: its top folder is the runtime folder
  transform_de.bin    stands for a German language transform
  payload_hashes.txt  a payload record (see tools/bundle/bundle.py) of the resources below: SAMPLE_CABINET
                      and UNPACKTEST_1031 as they are, DAMAGED_CABINET as if one byte of it had been
                      different, a MISSING_CABINET, and an extra named SAMPLE_CABINET that is not there
  test_cabinets.rc    resources for the test program: sample.res as type 40 "SAMPLE_CABINET" and as
                      "DAMAGED_CABINET", transform_de.bin as "UNPACKTEST_1031" in German, and the payload
                      record as "PAYLOAD_HASHES"
"""
import hashlib
import os
import shutil
import struct
import subprocess
import sys

BLOCK = 32768


def dos_date(year, month, day):
    return ((year - 1980) << 9) | (month << 5) | day


def dos_time(hour, minute, second):
    return (hour << 11) | (minute << 5) | (second // 2)


def write_stored_cabinet(path, entries, next_cabinet=None):
    """An uncompressed (type 0) single-folder cabinet. entries: (name bytes, data, date, time, attributes).
    With next_cabinet, the cabinet is the first of a set and its last file continues in the next one."""
    header_size = 36
    folder_size = 8
    flags = 0
    set_names = b""
    if next_cabinet:
        flags = 0x0002  # a next cabinet follows
        set_names = next_cabinet + b"\0" + b"disk2\0"
    files = b""
    offset = 0
    for index, (name, data, date, time, attributes) in enumerate(entries):
        continued = next_cabinet and index == len(entries) - 1
        size = len(data) * 2 if continued else len(data)
        folder_index = 0xFFFE if continued else 0  # continued to the next cabinet
        files += struct.pack("<IIHHHH", size, offset, folder_index, date, time, attributes) + name + b"\0"
        offset += len(data)
    stream = b"".join(entry[1] for entry in entries)
    blocks = [stream[i:i + BLOCK] for i in range(0, len(stream), BLOCK)] or [b""]
    files_start = header_size + len(set_names) + folder_size
    data_start = files_start + len(files)
    body = b"".join(struct.pack("<IHH", 0, len(block), len(block)) + block for block in blocks)
    if next_cabinet:  # the last block's data goes on in the next cabinet
        body = body[: -len(blocks[-1]) - 8] + struct.pack("<IHH", 0, len(blocks[-1]), 0) + blocks[-1]
    total = data_start + len(body)
    header = b"MSCF" + struct.pack("<IIIIIBBHHHHH", 0, total, 0, files_start, 0, 3, 1, 1, len(entries), flags,
                                   0x1234, 0) + set_names
    folder = struct.pack("<IHH", data_start, len(blocks), 0)
    with open(path, "wb") as out:
        out.write(header + folder + files + body)


def pseudo_random(size, seed):
    """Incompressible but reproducible bytes."""
    state = seed
    out = bytearray(size)
    for i in range(size):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        out[i] = (state >> 16) & 0xFF
    return bytes(out)


def make_source(folder):
    files = {
        "readme.txt": b"".join(b"Line %d of the readme, compressible text.\r\n" % i for i in range(200)),
        "empty.txt": b"",
        "docs/guide.txt": b"".join(b"Guide paragraph %05d: the quick brown fox.\r\n" % i for i in range(2500)),
        "docs/deep/data.bin": pseudo_random(300 * 1024, 7),
    }
    for name, data in files.items():
        path = os.path.join(folder, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            out.write(data)
    return list(files)


def gcab(cabinet, folder, names):
    subprocess.run(["gcab", "-c", "-z", os.path.abspath(cabinet)] + names, cwd=folder, check=True)


def main():
    out = os.path.abspath(sys.argv[1])
    shutil.rmtree(out, ignore_errors=True)
    source = os.path.join(out, "source")
    os.makedirs(source)
    names = make_source(source)
    sample = os.path.join(out, "sample.cab")
    gcab(sample, source, names)
    with open(sample, "rb") as f:
        cabinet = f.read()
    with open(os.path.join(out, "sample.res"), "wb") as f:
        f.write(struct.pack("<I", len(cabinet)) + cabinet)
    with open(os.path.join(out, "truncated.cab"), "wb") as f:
        f.write(cabinet[: len(cabinet) * 2 // 3])
    # The first data block's deflate stream starts with a reserved block type, which no decoder accepts.
    garbled = bytearray(cabinet)
    first_block = struct.unpack_from("<I", cabinet, 36)[0]
    assert cabinet[first_block + 8:first_block + 10] == b"CK"
    garbled[first_block + 10] = 0xFF
    with open(os.path.join(out, "garbled.cab"), "wb") as f:
        f.write(garbled)

    other = os.path.join(out, "other")
    other_files = {
        "notes.txt": b"".join(b"Note %05d, not a line of sample.cab.\r\n" % i for i in range(6000)),
        "bin/noise.bin": pseudo_random(500 * 1024, 11),
        "bin/more/zeros.bin": bytes(200 * 1024),
    }
    for name, data in other_files.items():
        os.makedirs(os.path.dirname(os.path.join(other, name)), exist_ok=True)
        with open(os.path.join(other, name), "wb") as f:
            f.write(data)
    gcab(os.path.join(out, "other.cab"), other, list(other_files))

    stamp = (dos_date(2021, 3, 4), dos_time(5, 6, 8))
    write_stored_cabinet(os.path.join(out, "stamped.cab"), [
        (b"stamp.txt", b"stamped\r\n", stamp[0], stamp[1], 0x20),
        ("Grüße/日本.txt".encode("utf-8"), b"utf-8 name\r\n", stamp[0], stamp[1], 0x20 | 0x80),
    ])

    hostile = {
        "parent": b"..\\e_escape_parent.txt",
        "nested": b"sub\\..\\..\\e_escape_nested.txt",
        "slash": b"../e_escape_slash.txt",
        "root": b"\\e_escape_root.txt",
        "drive": b"C:e_escape_drive.txt",
        "unc": b"\\\\localhost\\C$\\e_escape_unc.txt",
    }
    for case, name in hostile.items():
        write_stored_cabinet(os.path.join(out, "hostile_%s.cab" % case), [
            (b"ok.txt", b"harmless\r\n", stamp[0], stamp[1], 0x20),
            (name, b"escaped\r\n", stamp[0], stamp[1], 0x20),
        ])

    write_stored_cabinet(os.path.join(out, "spanning.cab"), [
        (b"part.txt", b"first half of a file\r\n", stamp[0], stamp[1], 0x20),
    ], next_cabinet=b"next.cab")
    with open(os.path.join(out, "spanning.cab"), "rb") as f:
        spanning = f.read()
    with open(os.path.join(out, "spanning.res"), "wb") as f:
        f.write(struct.pack("<I", len(spanning)) + spanning)

    for cabinet, names in (("one_msi", ["product.msi", "docs/notes.txt"]), ("two_msi", ["first.msi", "second.msi"])):
        folder = os.path.join(out, cabinet)
        for name in names:
            os.makedirs(os.path.dirname(os.path.join(folder, name)), exist_ok=True)
            with open(os.path.join(folder, name), "wb") as f:
                f.write(b"stands for %s\r\n" % name.encode())
        gcab(os.path.join(out, cabinet + ".cab"), folder, names)

    runtime = "Microsoft.WebView2.FixedVersionRuntime.115.0.1901.203.x64"
    folder = os.path.join(out, "webview2")
    runtime_files = {runtime + "/msedgewebview2.exe": b"stands for the runtime\r\n",
                     runtime + "/resources.pak": pseudo_random(300 * 1024, 5)}
    for name, data in runtime_files.items():
        os.makedirs(os.path.dirname(os.path.join(folder, name)), exist_ok=True)
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    gcab(os.path.join(out, "webview2_x64.cab"), folder, list(runtime_files))

    with open(os.path.join(out, "transform_de.bin"), "wb") as f:
        f.write(b"German transform " + pseudo_random(1000, 3))

    def sha256_of(name, flip_last_byte=False):
        with open(os.path.join(out, name), "rb") as f:
            data = bytearray(f.read())
        if flip_last_byte:
            data[-1] ^= 1
        return hashlib.sha256(data).hexdigest()

    records = [("package", "SAMPLE_CABINET", 1033, sha256_of("sample.res")),
               ("package", "DAMAGED_CABINET", 1033, sha256_of("sample.res", flip_last_byte=True)),
               ("package", "MISSING_CABINET", 1033, hashlib.sha256(b"").hexdigest()),
               ("transform", "UNPACKTEST_1031", 1031, sha256_of("transform_de.bin")),
               ("extra", "SAMPLE_CABINET", 1033, sha256_of("sample.res"))]
    text = "\n".join("%s\t%s\t%d\t%s" % record for record in records) + "\0"
    with open(os.path.join(out, "payload_hashes.txt"), "wb") as f:
        f.write(text.encode("utf-16-le"))

    def rc_path(name):
        return os.path.join(out, name).replace("\\", "/")

    with open(os.path.join(out, "test_cabinets.rc"), "w") as f:
        f.write('SAMPLE_CABINET 40 "%s"\n' % rc_path("sample.res"))
        f.write("LANGUAGE 0x07, 0x01\n")
        f.write('UNPACKTEST_1031 40 "%s"\n' % rc_path("transform_de.bin"))
        f.write("LANGUAGE 0x09, 0x01\n")
        f.write('DAMAGED_CABINET 40 "%s"\n' % rc_path("sample.res"))
        f.write('PAYLOAD_HASHES 40 "%s"\n' % rc_path("payload_hashes.txt"))


if __name__ == "__main__":
    main()
