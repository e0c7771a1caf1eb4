#!/usr/bin/env python3
"""Prints a setup log whose parts come in two encodings: the launcher's lines in UTF-16LE and Windows
Installer's own log, which it writes into the same file in 8-bit text. Each run of bytes is decoded the
way it was most likely written; a character that fits both is read in the run it belongs to."""
import sys


def utf16_starts(data, at):
    """Four UTF-16LE characters of plain text start here (every second byte zero)."""
    chunk = data[at:at + 8]
    return len(chunk) == 8 and all(chunk[i] == 0 for i in range(1, 8, 2)) and all(chunk[i] for i in range(0, 8, 2))


def decode(data):
    parts, at = [], 0
    while at < len(data):
        end = at
        if utf16_starts(data, at):
            # Text goes on until the 8-bit text of the installer starts.
            while end + 1 < len(data) and not (data[end + 1] != 0 and not utf16_starts(data, end) and
                                               32 <= data[end] < 127 and 32 <= data[end + 1] < 127):
                end += 2
            parts.append(data[at:end].decode("utf-16-le", errors="replace"))
        else:
            while end < len(data) and not utf16_starts(data, end):
                end += 1
            parts.append(data[at:end].decode("cp1252", errors="replace"))
        at = max(end, at + 1)
    return "".join(parts)


def main():
    with open(sys.argv[1], "rb") as f:
        sys.stdout.write(decode(f.read()).replace("\r", ""))


if __name__ == "__main__":
    main()
