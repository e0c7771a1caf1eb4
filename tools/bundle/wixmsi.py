#!/usr/bin/env python3
"""Builds an installer database from a WiX source with wixl, keeping the source's package code.

wixl gives every database it builds a new package code and ignores Package/@Id. The launcher names a
package's folder after its package code and compares it with the installed product's, so a package
must keep the code its bundle description states: this sets the database's summary information to the
Id the source gives. Relative file sources are found beside the WiX source.

Usage: wixmsi.py SOURCE.wxs OUT.msi [ARCH]     (ARCH: x64 (default) or x86)
"""

import os
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

WIX = "{http://schemas.microsoft.com/wix/2006/wi}"


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
    subprocess.run(["wixl", "-a", arch, "-I", folder, "-o", out, source], **run)
    subprocess.run(["msibuild", out, "-s", "Installation Database", "Quenlis", platform + ";1033", package.get("Id")],
                   **run)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
