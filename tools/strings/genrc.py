#!/usr/bin/env python3
"""Generates the .rc string tables and the C++ string ids from the per-language string files, and refuses
inconsistent ones.

Usage: genrc.py SOURCE_DIR [OUTPUT.rc [StringIds.h]]
Without OUTPUT only the checks run. The English file (en.txt) is the reference: every other language must
hold exactly its ids, with the same printf placeholders in the same order and the same number of menu
accelerators ("&X"; "&&" is a literal ampersand). Any failure is reported with file and line and makes the
script exit with status 1, so that the build stops. The header gives every English string's name as a
constant StringId::<name>, so C++ code names strings instead of numbering them.

File format: UTF-8 text, one string per line. In en.txt a line is "<id><TAB><name><TAB><text>", the name a
C++ identifier no other string has; in the translations it is "<id><TAB><text>". A line without the text is an
intentionally empty string. Escapes in the text: \\n line feed, \\r carriage return, \\t tab, \\\\ backslash;
a tab character in the text is refused, so that a translation copied with the English names cannot slip through.
Empty lines and lines starting with "#" are ignored. One line "@language LANG_X SUBLANG_Y" names the
Windows language identifier under which the table is stored.
"""
import pathlib
import re
import sys

REFERENCE = "en.txt"
ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "\\": "\\"}
# A printf conversion as the launcher's formatter understands it; "%%" is a literal percent sign.
PLACEHOLDER = re.compile(r"%(?:%|[-+ #0]*(?:\d+|\*)?(?:\.(?:\d+|\*)?)?(?:hh|h|ll|l|L|z|j|t|I64|I32|I)?[diouxXeEfgGcsSp])")
LANGUAGE_NAME = re.compile(r"^(LANG|SUBLANG)_[A-Z_]+$")
MAX_ID = 65535
IDENTIFIER = re.compile(r"^[A-Za-z_][A-Za-z0-9_]*$")
# A name equal to one of these would not compile; alternative spellings (and, or, ...) included.
CPP_KEYWORDS = frozenset("""
    alignas alignof and and_eq asm auto bitand bitor bool break case catch char char8_t char16_t char32_t class
    compl concept const consteval constexpr constinit const_cast continue co_await co_return co_yield decltype
    default delete do double dynamic_cast else enum explicit export extern false float for friend goto if inline
    int long mutable namespace new noexcept not not_eq nullptr operator or or_eq private protected public
    register reinterpret_cast requires return short signed sizeof static static_assert static_cast struct switch
    template this thread_local throw true try typedef typeid typename union unsigned using virtual void volatile
    wchar_t while xor xor_eq
""".split())


class StringFile:
    def __init__(self, path):
        self.path = path
        self.language = None  # (primary, sub) symbol names
        self.strings = {}  # id -> unescaped text
        self.lines = {}  # id -> line number
        self.names = {}  # id -> C++ name; only the reference language has names


def unescape(text):
    """Returns (text, error) with the file's escapes resolved."""
    out = []
    i = 0
    while i < len(text):
        c = text[i]
        if c == "\\":
            if i + 1 >= len(text) or text[i + 1] not in ESCAPES:
                return None, "unknown escape '\\%s' (use \\n, \\r, \\t or \\\\)" % text[i + 1 : i + 2]
            out.append(ESCAPES[text[i + 1]])
            i += 2
            continue
        out.append(c)
        i += 1
    return "".join(out), None


def name_problem(name):
    """Why `name` cannot be a string's constant, or None."""
    if not name:
        return "no name"
    if not IDENTIFIER.match(name):
        return f"name {name!r} is not a C++ identifier (letters, digits and '_', not starting with a digit)"
    if name in CPP_KEYWORDS:
        return f"name {name!r} is a C++ keyword"
    if "__" in name or re.match(r"^_[A-Z]", name):
        return f"name {name!r} is reserved to the implementation ('__' anywhere or '_' and a capital at the start)"
    return None


def parse(path, errors, named=False):
    """Reads one language file; `named`: its lines carry a name between id and text (the reference's form)."""
    result = StringFile(path)
    layout = "<id><TAB><name><TAB><text>" if named else "<id><TAB><text>"
    first_use = {}  # name -> id of the string that has it
    try:
        content = path.read_text(encoding="utf-8")
    except UnicodeDecodeError as error:
        errors.append(f"{path}: not UTF-8 text ({error})")
        return result
    for number, line in enumerate(content.splitlines(), 1):
        where = f"{path}:{number}"
        if not line.strip() or line.startswith("#"):
            continue
        if line.startswith("@language"):
            words = line.split()
            if len(words) != 3 or not all(LANGUAGE_NAME.match(w) for w in words[1:]):
                errors.append(f"{where}: expected '@language LANG_X SUBLANG_Y'")
            elif result.language:
                errors.append(f"{where}: second @language line")
            else:
                result.language = (words[1], words[2])
            continue
        ident, _, text = line.partition("\t")
        if not ident.isdigit() or int(ident) > MAX_ID:
            errors.append(f"{where}: expected '{layout}' with an id from 0 to {MAX_ID}")
            continue
        name = None
        if named:
            name, _, text = text.partition("\t")
            problem = name_problem(name)
            if problem:
                errors.append(f"{where}: string {ident}: {problem} (expected '{layout}')")
                name = None
        if "\t" in text:
            errors.append(f"{where}: string {ident}: a tab inside the text (write \\t; expected '{layout}')")
            continue
        value, error = unescape(text)
        if error:
            errors.append(f"{where}: string {ident}: {error}")
            continue
        if int(ident) in result.strings:
            errors.append(f"{where}: string {ident} defined twice (first on line {result.lines[int(ident)]})")
            continue
        if name is not None and name in first_use:
            other = first_use[name]
            errors.append(f"{where}: string {ident}: name {name!r} is already used by string {other} "
                          f"on line {result.lines[other]}")
            name = None
        # A string whose name is refused still counts, so the translations are not blamed for it as well.
        result.strings[int(ident)] = value
        result.lines[int(ident)] = number
        if name is not None:
            result.names[int(ident)] = name
            first_use[name] = int(ident)
    if not result.language:
        errors.append(f"{path}: no '@language LANG_X SUBLANG_Y' line")
    return result


def placeholders(text):
    return [p for p in PLACEHOLDER.findall(text) if p != "%%"]


def accelerators(text):
    return len(re.findall(r"&[^&]|&$", text.replace("&&", "")))


def check(reference, translation, errors):
    name = translation.path
    for ident in sorted(set(reference.strings) - set(translation.strings)):
        errors.append(f"{name}: string {ident} is missing (English: {reference.strings[ident]!r})")
    for ident in sorted(set(translation.strings) - set(reference.strings)):
        errors.append(f"{name}:{translation.lines[ident]}: string {ident} does not exist in {REFERENCE}")
    for ident in sorted(set(reference.strings) & set(translation.strings)):
        where = f"{name}:{translation.lines[ident]}: string {ident}"
        english, text = reference.strings[ident], translation.strings[ident]
        if placeholders(english) != placeholders(text):
            errors.append(
                f"{where}: placeholders {placeholders(text)} differ from the English {placeholders(english)}")
        if accelerators(english) != accelerators(text):
            errors.append(f"{where}: {accelerators(text)} accelerator(s) where English has {accelerators(english)}")


def rc_literal(text):
    out = []
    for c in text:
        if c == '"':
            out.append('""')
        elif c == "\\":
            out.append("\\\\")
        elif c == "\n":
            out.append("\\n")
        elif c == "\r":
            out.append("\\r")
        elif c == "\t":
            out.append("\\t")
        elif 32 <= ord(c) < 127:
            out.append(c)
        else:
            # windres reads the source in the ANSI code page; escapes keep every character exact. Characters
            # beyond the basic plane become their UTF-16 surrogate pair.
            units = c.encode("utf-16-le")
            for i in range(0, len(units), 2):
                out.append("\\x%04x" % int.from_bytes(units[i : i + 2], "little"))
    return 'L"' + "".join(out) + '"'


def generate(files):
    lines = ["// Generated by tools/strings/genrc.py from resources/strings; do not edit.", ""]
    for table in files:
        lines.append(f"// {table.path.name}: {len(table.strings)} strings")
        lines.append(f"LANGUAGE {table.language[0]}, {table.language[1]}")
        lines.append("STRINGTABLE")
        lines.append("BEGIN")
        for ident in sorted(table.strings):
            lines.append(f"    {ident}, {rc_literal(table.strings[ident])}")
        lines.append("END")
        lines.append("")
    return "\n".join(lines)


def generate_header(reference):
    lines = [f"// Generated by tools/strings/genrc.py from resources/strings/{REFERENCE}; do not edit.",
             "#pragma once", "", "namespace StringId {", ""]
    for ident in sorted(reference.strings):
        lines.append(f"inline constexpr unsigned {reference.names[ident]} = {ident};")
    lines.extend(["", "} // namespace StringId", ""])
    return "\n".join(lines)


def write_if_changed(path, text):
    # An untouched file keeps its time stamp, so a changed wording does not recompile every user of the ids.
    path = pathlib.Path(path)
    if not path.exists() or path.read_text(encoding="utf-8") != text:
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text, encoding="utf-8")


def run(source_dir, output=None, header=None):
    """Checks (and writes) the tables and the ids; returns the list of error lines, empty on success."""
    errors = []
    paths = sorted(pathlib.Path(source_dir).glob("*.txt"), key=lambda p: (p.name != REFERENCE, p.name))
    if not paths or paths[0].name != REFERENCE:
        return [f"{source_dir}: no {REFERENCE}, the reference language"]
    files = [parse(path, errors, named=path.name == REFERENCE) for path in paths]
    seen = {}
    for table in files:
        if table.language in seen:
            errors.append(f"{table.path}: language {' '.join(table.language)} is also used by {seen[table.language]}")
        elif table.language:
            seen[table.language] = table.path.name
    for table in files[1:]:
        check(files[0], table, errors)
    if errors or output is None:
        return errors
    write_if_changed(output, generate(files))
    if header is not None:
        write_if_changed(header, generate_header(files[0]))
    return []


def main(argv):
    if len(argv) not in (2, 3, 4):
        print(next(line for line in __doc__.splitlines() if line.startswith("Usage:")), file=sys.stderr)
        return 2
    errors = run(*argv[1:])
    for error in errors:
        print(f"error: {error}", file=sys.stderr)
    if errors:
        print(f"error: the string tables in {argv[1]} are inconsistent ({len(errors)} problem(s))", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
