#!/usr/bin/env python3
"""Makes the data of the extraction benchmark (see scripts/bench-extract.sh).

Usage: make_bench_data.py WORK_FOLDER MSI

Writes into WORK_FOLDER:
  bench/...            about 270 MB: 750 compressible text files of 250 KB, four incompressible files of
                       20 MB, two thousand tiny files; MSI copied beside them
  bench.bundle         a bundle description whose one package's cabinet holds all of it
  files.txt            the paths of the cabinet's members, one per line, in the cabinet's order
  bench.cab            the same members packed by gcab -c -z, for the native extractors
"""
import os
import random
import shutil
import subprocess
import sys

TEXT_FILES = 750
TEXT_SIZE = 250 * 1024
RANDOM_FILES = 4
RANDOM_SIZE = 20 * 1024 * 1024
TINY_FILES = 2000


def main():
    work = os.path.abspath(sys.argv[1])
    msi = sys.argv[2]
    data = os.path.join(work, "bench")
    shutil.rmtree(data, ignore_errors=True)
    os.makedirs(data)
    rng = random.Random(20240101)
    words = ["".join(rng.choice("abcdefghijklmnopqrstuvwxyz") for _ in range(rng.randint(2, 10)))
             for _ in range(3000)]
    lines = [" ".join(rng.choice(words) for _ in range(rng.randint(4, 14))) + "\r\n" for _ in range(20000)]

    names = []

    def write(name, content):
        path = os.path.join(data, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(content)
        names.append(name)

    for i in range(TEXT_FILES):
        text = []
        size = 0
        while size < TEXT_SIZE:
            line = rng.choice(lines)
            text.append(line)
            size += len(line)
        write("text/group%02d/document%04d.txt" % (i // 50, i), "".join(text).encode()[:TEXT_SIZE])
    for i in range(RANDOM_FILES):
        write("media/archive%d.bin" % i, rng.randbytes(RANDOM_SIZE))
    for i in range(TINY_FILES):
        write("tiny/%02d/item%04d.cfg" % (i // 100, i), ("setting%d=%d\r\n" % (i, rng.randint(0, 10**6))).encode()
              * rng.randint(1, 40))

    shutil.copy(msi, os.path.join(work, "Kestrum317.msi"))
    members = ["Kestrum317.msi"] + ["bench/" + name for name in names]
    with open(os.path.join(work, "files.txt"), "w") as f:
        f.write("\n".join(members) + "\n")
    with open(os.path.join(work, "bench.bundle"), "w") as f:
        f.write("[launcher]\nos = 6.1.1\n\n[package]\n")
        f.write("product_name = Quenlis Kestrum 3.17 (x64)\npackage_code = {F715BFB7-8D6E-4CB4-8DB2-7519907E260C}\n")
        f.write("product_id = KS::Z\nplatform = x64\nversion = 3.17\nmsi = Kestrum317.msi\n")
        f.write("files = " + ", ".join("bench/" + name for name in names) + "\n")
    cabinet = os.path.join(work, "bench.cab")
    if os.path.exists(cabinet):
        os.remove(cabinet)
    subprocess.run(["gcab", "-c", "-z", cabinet] + members,
                   cwd=work, check=True, stdout=subprocess.DEVNULL)


if __name__ == "__main__":
    main()
