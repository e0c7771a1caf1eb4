#!/usr/bin/env python3
"""Builds an installer database from a WiX source with wixl, keeping the source's package code.

wixl gives every database it builds a new package code and ignores Package/@Id. The launcher names a
package's folder after its package code and compares it with the installed product's, so a package
must keep the code its bundle description states: this sets the database's summary information to the
Id the source gives. Relative file sources are found beside the WiX source.

wixl cannot compile a Component's Condition either: such conditions are taken out of the source before
wixl sees it and written into the Component table afterwards.

Usage: wixmsi.py SOURCE.wxs OUT.msi [ARCH]     (ARCH: x64 (default) or x86)
"""

import os
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
    folder = os.path.dirname(source)
    run = dict(cwd=folder, check=True)
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
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
