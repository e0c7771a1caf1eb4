#!/usr/bin/env python3
"""Builds an installer database from a WiX source with wixl, keeping the source's package code.

wixl gives every database it builds a new package code and ignores Package/@Id. The launcher names a
package's folder after its package code and compares it with the installed product's, so a package
must keep the code its bundle description states: this sets the database's summary information to the
Id the source gives. Relative file sources are found beside the WiX source.

wixl cannot compile a Component's Condition either: such conditions are taken out of the source before
wixl sees it and written into the Component table afterwards.

The database's creation and save times are fixed, so that two builds of one source are byte-identical.

Usage: wixmsi.py SOURCE.wxs OUT.msi [ARCH]     (ARCH: x64 (default) or x86)
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

WIX_NAMESPACE = "http://schemas.microsoft.com/wix/2006/wi"
WIX = "{%s}" % WIX_NAMESPACE


def take_component_conditions(root):
    """Removes the Condition of each Component in the tree; returns [(component id, condition)]."""
    conditions = []
    for component in root.iter(WIX + "Component"):
        for condition in component.findall(WIX + "Condition"):
            conditions.append((component.get("Id"), (condition.text or "").strip()))
            component.remove(condition)
    return conditions


# The time the databases say they were made and saved, and the time of every file they carry: wixl takes
# the clock's and the files', which would make every build's databases, cabinets and launchers differ.
# 2000-01-01 00:00 UTC, as a Unix time and as a FILETIME.
FIXED_TIME = 946684800
FIXED_FILETIME = struct.pack("<Q", (FIXED_TIME + 11644473600) * 10_000_000)
SUMMARY_TIMES = (12, 13)  # the summary information's creation and last-save times


def fix_summary_times(path):
    """Sets the database's creation and last-save times to FIXED_FILETIME, in place. The summary stream is
    read with msiinfo; its time values are then found in the file and overwritten (the stream is stored
    uncompressed, and wixl writes it in one piece)."""
    stream = subprocess.run(["msiinfo", "extract", path, "\x05SummaryInformation"], check=True,
                            capture_output=True).stdout
    section = struct.unpack_from("<I", stream, 44)[0]
    count = struct.unpack_from("<I", stream, section + 4)[0]
    times = set()
    for n in range(count):
        pid, offset = struct.unpack_from("<II", stream, section + 8 + 8 * n)
        if pid in SUMMARY_TIMES and struct.unpack_from("<I", stream, section + offset)[0] == 0x40:
            times.add(stream[section + offset + 4:section + offset + 12])
    with open(path, "rb") as f:
        data = f.read()
    for value in times:
        if data.count(value) != stream.count(value):
            raise SystemExit("wixmsi: cannot find the summary times of %s in one piece" % path)
        data = data.replace(value, FIXED_FILETIME)
    with open(path, "wb") as f:
        f.write(data)


def sql_string(text):
    # The installer's SQL has no escape for a quote inside a literal.
    if "'" in text:
        raise ValueError("a component condition cannot hold a single quote: %s" % text)
    return "'%s'" % text


def main(argv):
    if len(argv) < 2:
        sys.stderr.write(__doc__)
        return 2
    source, out = os.path.abspath(argv[0]), os.path.abspath(argv[1])
    arch = argv[2] if len(argv) > 2 else "x64"
    with tempfile.TemporaryDirectory() as stage:
        # wixl stores the files' modification times in the database's cabinet: a copy of the source's
        # folder whose files all carry the fixed time gives the same database from every checkout.
        folder = os.path.join(stage, "source")
        shutil.copytree(os.path.dirname(source), folder, copy_function=shutil.copyfile)
        for parent, _, names in os.walk(folder):
            for name in names:
                os.utime(os.path.join(parent, name), (FIXED_TIME, FIXED_TIME))
        return build(os.path.join(folder, os.path.basename(source)), out, arch)


def build(source, out, arch):
    folder = os.path.dirname(source)
    run = dict(cwd=folder, check=True, env=dict(os.environ, TZ="UTC"))  # cabinet times are local times
    preprocessed = subprocess.run(["wixl", "-E", "-I", folder, source], capture_output=True, text=True, **run).stdout
    root = ElementTree.fromstring(preprocessed)
    package = root.find("%sProduct/%sPackage" % (WIX, WIX))
    if package is None or not package.get("Id", "").startswith("{"):
        sys.stderr.write("%s: Package needs an Id in braces\n" % source)
        return 1
    platform = "x64" if arch == "x64" else "Intel"
    if os.path.exists(out):
        os.remove(out)
    updates = ["UPDATE `Component` SET `Condition` = %s WHERE `Component` = %s" % (sql_string(condition),
                                                                                sql_string(component))
               for component, condition in take_component_conditions(root)]
    if updates:
        # The preprocessed source without the conditions; relative sources still resolve in the folder.
        ElementTree.register_namespace("", WIX_NAMESPACE)
        with tempfile.TemporaryDirectory() as scratch:
            stripped = os.path.join(scratch, os.path.basename(source))
            ElementTree.ElementTree(root).write(stripped, encoding="utf-8", xml_declaration=True)
            subprocess.run(["wixl", "-a", arch, "-o", out, stripped], **run)
        for update in updates:
            subprocess.run(["msibuild", out, "-q", update], **run)
    else:
        subprocess.run(["wixl", "-a", arch, "-I", folder, "-o", out, source], **run)
    subprocess.run(["msibuild", out, "-s", "Installation Database", "Quenlis", platform + ";1033", package.get("Id")],
                   **run)
    fix_summary_times(out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
