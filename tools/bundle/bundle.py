#!/usr/bin/env python3
"""Turns a bundle description into the resources of a launcher (a .res file to link with it).

A bundle description is a small INI-like text file (the README shows how to use one):

    # comment
    [launcher]
    os = 6.1.1                 minimum Windows version (the "OS" text)
    os_language = 1033         language the "OS" text is stored in (decides a one-language launcher's UI)
    text_language = 1033       language of the other manifest texts
    properties = A=1 B=2       optional "PROPERTIES" text, handed to every package's installer

    [extra]                    optional resources of the named type "40", name = file
    EVERGREEN_DOWNLOADER = MicrosoftEdgeWebview2Setup.exe

    [package]                  one section per package, in order; the first is the main package
    product_name = Quenlis Halvora Server 10.1 (x64)
    product_code = {...}
    package_code = {...}
    product_id = HV::Z
    platform = x64
    version = 10.1.0.1
    installer_type = msi       optional
    msi = HalvoraServer.msi    the installer database; the package cabinet holds it...
    files = a.txt, doc/b.pdf   ...and these files, under these relative paths (optional)
    raw = data.zip             instead of msi/files: the package resource is this file as it is
    transform.1031 = HalvoraServer_1031.mst      one per language code

Texts become UTF-16LE with a terminating zero under the numeric type 40; "PACKAGE_n" is a 4-byte
little-endian length followed by an MSZIP cabinet made by gcab; "PACKAGE_n_<code>" holds the transform
in the language <code>. A key left out leaves its resource out, so incomplete launchers can be made on
purpose (the launcher's /v switch reports them). Product and package codes that are given must match
the database they describe. The same inputs make the same .res: cabinet members keep their files'
modification times.

"PAYLOAD_HASHES" (numeric type 40, language 1033, a text like the others) records the SHA-256 of every
package, transform and extra resource exactly as stored (a cabinet's length prefix included), so that
the launcher's /v switch and its unpacking notice a damaged launcher. One line per resource, in the
order of the resources, lines separated by "\n" (none after the last), fields by a tab:

    kind<TAB>name<TAB>language<TAB>sha256

kind is "package" (PACKAGE_n, numeric type 40), "transform" (PACKAGE_n_<code>, numeric type 40) or
"extra" (named type "40"); language is the resource's language id in decimal; sha256 is 64 lowercase
hex digits.

Usage: bundle.py DESCRIPTION OUT.res [--search DIR]... [--depfile FILE]
Files are looked up beside the description first, then in each --search folder.
"""

import argparse
import hashlib
import os
import shutil
import struct
import subprocess
import sys
import tempfile

MANIFEST_TYPE = 40  # numeric type of texts, packages and transforms
EXTRA_TYPE = "40"  # named type of embedded installers
ENGLISH = 1033
# The time every cabinet member is stored with (SOURCE_DATE_EPOCH when set, else 2000-01-01 00:00 UTC), so
# that building one description twice gives the same bytes.
CABINET_TIME = int(os.environ.get("SOURCE_DATE_EPOCH", "946684800"))
PAYLOAD_HASHES = "PAYLOAD_HASHES"

LAUNCHER_KEYS = {"os", "os_language", "text_language", "properties"}
PACKAGE_TEXTS = [
    ("product_name", "PRODUCT_NAME_%d"),
    ("product_code", "PRODUCT_CODE_%d"),
    ("package_code", "PACKAGE_CODE_%d"),
    ("product_id", "PRODUCT_ID_%d"),
    ("platform", "PRODUCT_PLATFORM_%d"),
    ("version", "PRODUCT_VERSION_%d"),
    ("installer_type", "INSTALLER_TYPE_%d"),
]
PACKAGE_KEYS = {key for key, _ in PACKAGE_TEXTS} | {"msi", "files", "raw"}


class DescriptionError(Exception):
    pass


def parse_description(path):
    """Returns (launcher dict, extra list of (name, file), packages list of dicts), keeping order."""
    launcher, extra, packages = {}, [], []
    section = None
    with open(path, encoding="utf-8-sig") as f:
        for number, raw in enumerate(f, 1):
            line = raw.strip()
            where = "%s:%d" % (path, number)
            if not line or line.startswith("#") or line.startswith(";"):
                continue
            if line.startswith("[") and line.endswith("]"):
                section = line[1:-1].strip().lower()
                if section == "package":
                    packages.append({})
                elif section not in ("launcher", "extra"):
                    raise DescriptionError("%s: unknown section [%s]" % (where, section))
                continue
            key, separator, value = line.partition("=")
            key, value = key.strip(), value.strip()
            if not separator or not key:
                raise DescriptionError("%s: expected key = value" % where)
            if section is None:
                raise DescriptionError("%s: key outside a section" % where)
            if section == "extra":
                extra.append((key, value))
                continue
            target = launcher if section == "launcher" else packages[-1]
            known = LAUNCHER_KEYS if section == "launcher" else PACKAGE_KEYS
            if key.lower() not in known and not (section == "package" and key.lower().startswith("transform.")):
                raise DescriptionError("%s: unknown key '%s' in [%s]" % (where, key, section))
            if key.lower() in target:
                raise DescriptionError("%s: '%s' given twice" % (where, key))
            target[key.lower()] = value
    return launcher, extra, packages


def language_id(text, where):
    try:
        value = int(text, 10)
    except ValueError:
        raise DescriptionError("%s: '%s' is not a language id" % (where, text))
    if not 0 < value < 0x10000:
        raise DescriptionError("%s: language id %d out of range" % (where, value))
    return value


class Files:
    def __init__(self, description, search):
        self.folders = [os.path.dirname(os.path.abspath(description))] + [os.path.abspath(s) for s in search]
        self.used = [os.path.abspath(description)]

    def find(self, name):
        for folder in self.folders:
            path = os.path.join(folder, name)
            if os.path.isfile(path):
                self.used.append(path)
                return path
        raise DescriptionError("file '%s' not found in %s" % (name, ", ".join(self.folders)))


def text_bytes(text):
    return (text + "\0").encode("utf-16-le")


def res_field(value):
    if isinstance(value, int):
        return struct.pack("<HH", 0xFFFF, value)
    return value.encode("utf-16-le") + b"\0\0"


def res_entry(resource_type, name, language, data):
    names = res_field(resource_type) + res_field(name)
    names += b"\0" * (-len(names) % 4)
    header = struct.pack("<II", len(data), 8 + len(names) + 16) + names
    header += struct.pack("<IHHII", 0, 0x1030, language, 0, 0)  # movable, pure, discardable
    return header + data + b"\0" * (-len(data) % 4)


def res_file(entries):
    empty = struct.pack("<IIHHHHIHHII", 0, 32, 0xFFFF, 0, 0xFFFF, 0, 0, 0, 0, 0, 0)
    return empty + b"".join(res_entry(*entry) for entry in entries)


def msi_facts(path):
    """ProductCode and package code of an installer database, read with msiinfo."""
    rows = subprocess.run(["msiinfo", "export", path, "Property"], check=True, capture_output=True, text=True).stdout
    properties = dict(line.split("\t", 1) for line in rows.splitlines()[3:] if "\t" in line)
    package_code = None
    summary = subprocess.run(["msiinfo", "suminfo", path], check=True, capture_output=True, text=True).stdout
    for line in summary.splitlines():
        if line.startswith("Revision number"):
            package_code = line.split(": ", 1)[1].strip()
    return properties.get("ProductCode"), package_code


def make_cabinet(members):
    """members: [(path inside the cabinet, file)]. Returns the cabinet's bytes."""
    with tempfile.TemporaryDirectory() as stage:
        for inside, source in members:
            target = os.path.join(stage, inside)
            os.makedirs(os.path.dirname(target), exist_ok=True)
            shutil.copyfile(source, target)
            # gcab stores each member's modification time: the copy's, or the input's, would make every
            # build of one description differ.
            os.utime(target, (CABINET_TIME, CABINET_TIME))
        cabinet = os.path.join(stage, "..package.cab")
        # The stored time is local time; UTC makes it the same on every build machine.
        subprocess.run(["gcab", "-c", "-z", cabinet] + [inside for inside, _ in members], cwd=stage, check=True,
                       env=dict(os.environ, TZ="UTC"))
        with open(cabinet, "rb") as f:
            return f.read()


def payload_hashes(payload):
    """The "PAYLOAD_HASHES" text of [(kind, resource entry)]."""
    for _, (_, name, _, _) in payload:
        if "\t" in name:
            raise DescriptionError("resource name '%s' holds a tab" % name)
    return "\n".join("%s\t%s\t%d\t%s" % (kind, name, language, hashlib.sha256(data).hexdigest())
                     for kind, (_, name, language, data) in payload)


def package_resources(n, package, files, text_language):
    """[(kind, entry)] of package n: kind "package" or "transform" for payload, None for a text."""
    where = "package %d (%s)" % (n, package.get("product_name", "no name"))
    entries = []
    for key, resource in PACKAGE_TEXTS:
        if key in package:
            entries.append((None, (MANIFEST_TYPE, resource % n, text_language, text_bytes(package[key]))))

    if "raw" in package:
        if "msi" in package or "files" in package:
            raise DescriptionError("%s: 'raw' excludes 'msi' and 'files'" % where)
        with open(files.find(package["raw"]), "rb") as f:
            entries.append(("package", (MANIFEST_TYPE, "PACKAGE_%d" % n, ENGLISH, f.read())))
    elif "msi" in package:
        msi = files.find(package["msi"])
        product_code, package_code = msi_facts(msi)
        for key, actual in (("product_code", product_code), ("package_code", package_code)):
            if key in package and package[key].upper() != (actual or "").upper():
                raise DescriptionError("%s: %s %s differs from %s in %s" % (where, key, package[key], actual, msi))
        members = [(os.path.basename(package["msi"]), msi)]
        for inside in filter(None, (m.strip() for m in package.get("files", "").split(","))):
            members.append((inside.replace("\\", "/"), files.find(inside)))
        cabinet = make_cabinet(members)
        entries.append(("package", (MANIFEST_TYPE, "PACKAGE_%d" % n, ENGLISH,
                                    struct.pack("<I", len(cabinet)) + cabinet)))

    for key in sorted(k for k in package if k.startswith("transform.")):
        code = language_id(key.split(".", 1)[1], where)
        with open(files.find(package[key]), "rb") as f:
            entries.append(("transform", (MANIFEST_TYPE, "PACKAGE_%d_%d" % (n, code), code, f.read())))
    return entries


def build(description, search):
    launcher, extra, packages = parse_description(description)
    files = Files(description, search)
    text_language = language_id(launcher.get("text_language", str(ENGLISH)), "text_language")
    entries = [(MANIFEST_TYPE, "PACKAGE_COUNT", text_language, text_bytes(str(len(packages))))]
    if "os" in launcher:
        os_language = language_id(launcher.get("os_language", str(ENGLISH)), "os_language")
        entries.append((MANIFEST_TYPE, "OS", os_language, text_bytes(launcher["os"])))
    if "properties" in launcher:
        entries.append((MANIFEST_TYPE, "PROPERTIES", text_language, text_bytes(launcher["properties"])))
    kinds = [None] * len(entries)
    for name, file in extra:
        with open(files.find(file), "rb") as f:
            entries.append((EXTRA_TYPE, name, ENGLISH, f.read()))
            kinds.append("extra")
    for n, package in enumerate(packages):
        for kind, entry in package_resources(n, package, files, text_language):
            entries.append(entry)
            kinds.append(kind)
    payload = [(kind, entry) for kind, entry in zip(kinds, entries) if kind]
    entries.append((MANIFEST_TYPE, PAYLOAD_HASHES, ENGLISH, text_bytes(payload_hashes(payload))))
    return res_file(entries), files.used


def write_depfile(path, target, inputs):
    def escape(p):
        return p.replace("\\", "/").replace(" ", "\\ ")

    with open(path, "w") as f:
        f.write("%s: %s\n" % (escape(target), " \\\n  ".join(escape(p) for p in inputs)))


def main(argv):
    parser = argparse.ArgumentParser(description="Makes a launcher's resources from a bundle description.")
    parser.add_argument("description")
    parser.add_argument("output")
    parser.add_argument("--search", action="append", default=[])
    parser.add_argument("--depfile")
    args = parser.parse_args(argv)
    try:
        data, used = build(args.description, args.search)
    except (DescriptionError, OSError, subprocess.CalledProcessError) as error:
        sys.stderr.write("bundle: %s\n" % error)
        return 1
    with open(args.output, "wb") as f:
        f.write(data)
    if args.depfile:
        write_depfile(args.depfile, args.output, used + [os.path.abspath(__file__)])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
