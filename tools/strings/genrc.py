#!/usr/bin/env python3
"""Generates the .rc string tables from the per-language string files."""
import pathlib
import sys


def parse(path):
    language = None
    strings = {}
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if not line or line.startswith("#"):
            continue
        if line.startswith("@language "):
            language = line.split()[1:]
            continue
        ident, sep, text = line.partition("\t")
        if not sep or not ident.isdigit():
            sys.exit(f"{path}:{number}: expected '<id><TAB><text>'")
        if int(ident) in strings:
            sys.exit(f"{path}:{number}: string {ident} defined twice")
        strings[int(ident)] = text
    if not language:
        sys.exit(f"{path}: no @language line")
    return language, strings


def rc_literal(text):
    # Unescape the file's escapes, then write an rc wide literal.
    out = []
    i = 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            n = text[i + 1]
            out.append({"n": "\\n", "r": "\\r", "t": "\\t", "\\": "\\\\"}.get(n, "\\\\" + n))
            i += 2
            continue
        if c == '"':
            out.append('""')
        elif ord(c) > 126:
            out.append("\\x%04x" % ord(c))
        else:
            out.append(c)
        i += 1
    return 'L"' + "".join(out) + '"'


def main():
    source_dir, output = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    lines = ["// Generated from resources/strings; do not edit.", ""]
    for path in sorted(source_dir.glob("*.txt")):
        language, strings = parse(path)
        lines.append(f"LANGUAGE {language[0]}, {language[1]}")
        lines.append("STRINGTABLE")
        lines.append("BEGIN")
        for ident in sorted(strings):
            lines.append(f"    {ident}, {rc_literal(strings[ident])}")
        lines.append("END")
        lines.append("")
    output.parent.mkdir(parents=True, exist_ok=True)
    output.write_text("\n".join(lines), encoding="utf-8")


if __name__ == "__main__":
    main()
