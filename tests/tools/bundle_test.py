#!/usr/bin/env python3
"""Checks of the bundle tools: compound files read back as written, transforms in the layout installer
databases use, descriptions refused when they are wrong, and the resource file a launcher links."""
import hashlib
import os
import pathlib
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

ROOT = pathlib.Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tools" / "bundle"))
import bundle  # noqa: E402
import compoundfile  # noqa: E402
import msitransform  # noqa: E402
import wixmsi  # noqa: E402

HAVE_WIX = all(shutil.which(tool) for tool in ("wixl", "msiinfo", "msibuild", "gcab"))


def read_compound_file(data):
    """A small independent reader: {name: bytes} and the root's class id; checks the tree order."""
    header = struct.unpack_from("<8s16sHHHHH6sIIIIIIIII", data)
    assert header[0] == b"\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1"
    fat_count, directory_first, cutoff, mini_fat_first = header[9], header[10], header[12], header[13]
    difat = struct.unpack_from("<109I", data, 76)
    fat = []
    for sector in difat[:fat_count]:
        fat += struct.unpack_from("<128I", data, 512 + sector * 512)

    def chain(first):
        out = b""
        while first != compoundfile.ENDOFCHAIN:
            out += data[512 + first * 512 : 512 + (first + 1) * 512]
            first = fat[first]
        return out

    directory = chain(directory_first)
    entries = []
    for offset in range(0, len(directory), 128):
        raw = struct.unpack_from("<64sHBBIII16sIQQIQ", directory, offset)
        name = raw[0][: max(raw[1] - 2, 0)].decode("utf-16-le")
        entries.append(dict(name=name, kind=raw[2], left=raw[4], right=raw[5], child=raw[6], clsid=raw[7],
                            start=raw[11], size=raw[12]))
    root = entries[0]
    mini_stream = chain(root["start"]) if root["size"] else b""
    mini_fat = struct.unpack("<%dI" % (len(chain(mini_fat_first)) // 4), chain(mini_fat_first)) if root["size"] else ()

    def mini_chain(first):
        out = b""
        while first != compoundfile.ENDOFCHAIN:
            out += mini_stream[first * 64 : (first + 1) * 64]
            first = mini_fat[first]
        return out

    streams = {}

    def walk(index, low, high):
        if index == compoundfile.NOSTREAM:
            return
        entry = entries[index]
        key = compoundfile._sort_key(entry["name"])
        assert (low is None or low < key) and (high is None or key < high), "directory tree out of order"
        walk(entry["left"], low, key)
        if entry["size"] == 0:
            body = b""
        elif entry["size"] < cutoff:
            body = mini_chain(entry["start"])
        else:
            body = chain(entry["start"])
        streams[entry["name"]] = body[: entry["size"]]
        walk(entry["right"], key, high)

    walk(root["child"], None, None)
    return streams, root["clsid"]


def read_res(data):
    """[(type, name, language, bytes)] of a resource file, skipping its empty first entry."""

    def field(offset):
        if struct.unpack_from("<H", data, offset)[0] == 0xFFFF:
            return struct.unpack_from("<H", data, offset + 2)[0], offset + 4
        end = offset
        while data[end : end + 2] != b"\0\0":
            end += 2
        return data[offset:end].decode("utf-16-le"), end + 2

    entries, offset = [], 0
    while offset < len(data):
        size, header_size = struct.unpack_from("<II", data, offset)
        kind, after = field(offset + 8)
        name, after = field(after)
        after += -after % 4
        language = struct.unpack_from("<IHH", data, after)[2]
        body = data[offset + header_size : offset + header_size + size]
        if offset:
            entries.append((kind, name, language, body))
        offset += header_size + size + (-size % 4)
    return entries


def build_test_msi(folder):
    source = ROOT / "tests" / "products" / "Kestrum317.wxs"
    out = os.path.join(folder, "Kestrum317.msi")
    subprocess.run([sys.executable, str(ROOT / "tools" / "bundle" / "wixmsi.py"), str(source), out], check=True,
                   capture_output=True)
    return out


class CompoundFileTest(unittest.TestCase):
    def test_streams_of_every_size_read_back(self):
        sizes = [0, 1, 63, 64, 65, 4095, 4096, 4097, 70000]
        streams = {"s%02d" % i: bytes((i * 7 + n) % 251 for n in range(size)) for i, size in enumerate(sizes)}
        streams["a much longer stream name"] = b"x" * 300
        clsid = bytes(range(16))
        read, read_clsid = read_compound_file(compoundfile.write_compound_file(streams, clsid))
        self.assertEqual(streams, read)
        self.assertEqual(clsid, read_clsid)

    def test_many_streams_keep_the_tree_ordered(self):
        streams = {"%s%d" % ("x" * (i % 5), i): b"%d" % i for i in range(200)}
        self.assertEqual(streams, read_compound_file(compoundfile.write_compound_file(streams))[0])

    def test_name_longer_than_31_characters_is_refused(self):
        with self.assertRaises(ValueError):
            compoundfile.write_compound_file({"n" * 32: b""})


class TransformTest(unittest.TestCase):
    def test_stream_names(self):
        # Pairs of characters share one code point; a lone one, and characters outside the alphabet.
        self.assertEqual("\u4840\u3f3f", msitransform.encode_table_stream_name("_S"))
        self.assertEqual("\u4840\u4801", msitransform.encode_table_stream_name("1"))
        self.assertEqual("\u4840\u3801\u4801", msitransform.encode_table_stream_name("101"))
        self.assertEqual("\u4840\u4801-", msitransform.encode_table_stream_name("1-"))

    def test_string_pool_counts_references(self):
        pool = msitransform.StringPool()
        self.assertEqual(0, pool.ref(""))
        self.assertEqual(1, pool.ref("a"))
        self.assertEqual(2, pool.ref("bc"))
        self.assertEqual(1, pool.ref("a"))
        streams = pool.streams()
        self.assertEqual(struct.pack("<HHHHHH", 0, 0, 1, 2, 2, 1), streams[msitransform.encode_table_stream_name("_StringPool")])
        self.assertEqual(b"abc", streams[msitransform.encode_table_stream_name("_StringData")])

    @unittest.skipUnless(HAVE_WIX, "wixl and msitools are needed")
    def test_transform_of_a_real_database(self):
        with tempfile.TemporaryDirectory() as folder:
            msi = build_test_msi(folder)
            # The database stores its tables under the same encoded names the transform uses.
            database, _ = read_compound_file(pathlib.Path(msi).read_bytes())
            for table in ("Property", "_StringPool", "_StringData", "LaunchCondition"):
                self.assertIn(msitransform.encode_table_stream_name(table), database)

            streams, clsid = read_compound_file(
                msitransform.make_transform(msi, 1031, [("ProductLanguage", "1031"), ("NEW_ONE", "x")]))
            self.assertEqual(msitransform.TRANSFORM_CLSID, clsid)
            pool = streams[msitransform.encode_table_stream_name("_StringPool")]
            data = streams[msitransform.encode_table_stream_name("_StringData")]
            self.assertEqual(b"ProductLanguage1031NEW_ONEx", data)
            self.assertEqual(struct.pack("<HH", 0, 0), pool[:4])
            rows = streams[msitransform.encode_table_stream_name("Property")]
            # An update of an existing row (mask: the Value column), an insert of two columns.
            self.assertEqual(struct.pack("<HHH", 0x0002, 1, 2) + struct.pack("<HHH", 0x0201, 3, 4), rows)
            summary = streams["\x05SummaryInformation"]
            self.assertIn(b"x64;1033\0", summary)
            self.assertIn(b"x64;1031\0", summary)
            self.assertIn(b"{46BC85D8-173B-42A3-B70E-87E7DFA1E4B9}3.17;", summary)


class WixMsiTest(unittest.TestCase):
    SOURCE = """<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi"><Product>
  <Condition Message="launch">NOT FAIL</Condition>
  <Directory Id="TARGETDIR"><Directory Id="Inner">
    <Component Id="Plain"/>
    <Component Id="Asked"><Condition> ANSWER OR REMOVE </Condition></Component>
  </Directory></Directory></Product></Wix>"""

    def test_component_conditions_are_taken_out_and_launch_conditions_kept(self):
        root = wixmsi.ElementTree.fromstring(self.SOURCE)
        self.assertEqual([("Asked", "ANSWER OR REMOVE")], wixmsi.take_component_conditions(root))
        self.assertEqual([], root.findall(".//%sComponent/%sCondition" % (wixmsi.WIX, wixmsi.WIX)))
        self.assertEqual(1, len(root.findall("%sProduct/%sCondition" % (wixmsi.WIX, wixmsi.WIX))))
        with self.assertRaises(ValueError):
            wixmsi.sql_string("A = 'x'")

    @unittest.skipUnless(HAVE_WIX, "wixl and msitools are needed")
    def test_component_condition_reaches_the_database(self):
        with tempfile.TemporaryDirectory() as folder:
            msi = build_test_msi(folder)
            table = subprocess.run(["msiinfo", "export", msi, "Component"], check=True, capture_output=True,
                                   text=True).stdout
            conditions = {row[0]: row[4] for row in (line.split("\t") for line in table.splitlines()[3:])}
            self.assertEqual({"Application": "", "UserAnswer": "QUENLIS_USER_ANSWER OR REMOVE"}, conditions)


class DescriptionTest(unittest.TestCase):
    def write(self, folder, text, name="test.bundle"):
        path = os.path.join(folder, name)
        with open(path, "w") as f:
            f.write(text)
        return path

    def test_mistakes_are_refused_with_their_line(self):
        cases = [
            ("[launcher]\nos = 6.1\n[packages]\n", "unknown section"),
            ("[package]\nproduct_nme = x\n", "unknown key 'product_nme'"),
            ("[package]\nversion = 1\nversion = 2\n", "given twice"),
            ("os = 6.1\n", "outside a section"),
            ("[launcher]\nos\n", "expected key = value"),
            ("[launcher]\nos_language = German\nos = 1\n", "not a language id"),
            ("[package]\ntransform.99999 = a.mst\n", "out of range"),
            ("[package]\nmsi = missing.msi\n", "not found"),
        ]
        with tempfile.TemporaryDirectory() as folder:
            for text, message in cases:
                with self.subTest(text=text), self.assertRaises(bundle.DescriptionError) as caught:
                    bundle.build(self.write(folder, text), [])
                self.assertIn(message, str(caught.exception))

    def test_resources_of_a_description(self):
        with tempfile.TemporaryDirectory() as folder:
            self.write(folder, "raw data", "data.bin")
            self.write(folder, "broker", "broker.exe")
            self.write(folder, "transform", "de.mst")
            description = self.write(folder, "\n".join([
                "# comment", "[launcher]", "os = 6.1.1", "os_language = 1031", "properties = A=1 B=\"two\"",
                "[extra]", "MOSQUITTO_INSTALLER_WIN64 = broker.exe",
                "[package]", "product_name = Pr\u00f6dukt", "product_id = HV::Z", "raw = data.bin",
                "transform.1031 = de.mst", "[package]", "installer_type = taxonomy", ""]))
            data, used = bundle.build(description, [])
        entries = {(kind, name): (language, body) for kind, name, language, body in read_res(data)}
        text = lambda s: (s + "\0").encode("utf-16-le")  # noqa: E731
        self.assertEqual((1033, text("2")), entries[(40, "PACKAGE_COUNT")])
        self.assertEqual((1031, text("6.1.1")), entries[(40, "OS")])
        self.assertEqual((1033, text("A=1 B=\"two\"")), entries[(40, "PROPERTIES")])
        self.assertEqual((1033, b"broker"), entries[("40", "MOSQUITTO_INSTALLER_WIN64")])
        self.assertEqual((1033, text("Pr\u00f6dukt")), entries[(40, "PRODUCT_NAME_0")])
        self.assertEqual((1033, b"raw data"), entries[(40, "PACKAGE_0")])
        self.assertEqual((1031, b"transform"), entries[(40, "PACKAGE_0_1031")])
        self.assertEqual((1033, text("taxonomy")), entries[(40, "INSTALLER_TYPE_1")])
        self.assertNotIn((40, "PACKAGE_CODE_0"), entries)  # left out: not invented
        self.assertNotIn((40, "PACKAGE_1"), entries)
        self.assertEqual(4, len(used))
        # The resources' order; each hash of the stored bytes; no texts.
        sha = lambda b: hashlib.sha256(b).hexdigest()  # noqa: E731
        self.assertEqual((1033, text("extra\tMOSQUITTO_INSTALLER_WIN64\t1033\t" + sha(b"broker") + "\n"
                                     "package\tPACKAGE_0\t1033\t" + sha(b"raw data") + "\n"
                                     "transform\tPACKAGE_0_1031\t1031\t" + sha(b"transform"))),
                         entries[(40, "PAYLOAD_HASHES")])

    def test_payload_hashes_of_a_launcher_without_payload_and_of_a_name_with_a_tab(self):
        with tempfile.TemporaryDirectory() as folder:
            data, _ = bundle.build(self.write(folder, "[package]\nproduct_name = x\n"), [])
            self.assertIn((40, "PAYLOAD_HASHES", 1033, b"\0\0"), read_res(data))
            self.write(folder, "x", "x.exe")
            with self.assertRaises(bundle.DescriptionError):
                bundle.build(self.write(folder, "[extra]\nA\tB = x.exe\n"), [])

    @unittest.skipUnless(HAVE_WIX, "wixl, msitools and gcab are needed")
    def test_package_cabinet_and_codes_checked_against_the_database(self):
        with tempfile.TemporaryDirectory() as folder:
            build_test_msi(folder)
            os.makedirs(os.path.join(folder, "doc"))
            self.write(folder, "readme", os.path.join("doc", "ReadMe.txt"))
            package = ("[package]\nmsi = Kestrum317.msi\nfiles = doc/ReadMe.txt\n"
                       "product_code = {46bc85d8-173b-42a3-b70e-87e7dfa1e4b9}\n")
            data, _ = bundle.build(self.write(folder, package), [])
            bodies = {name: body for _, name, _, body in read_res(data)}
            body = bodies["PACKAGE_0"]
            self.assertEqual(len(body) - 4, struct.unpack("<I", body[:4])[0])
            # The hash covers the length prefix: the resource as the launcher finds it.
            line = "package\tPACKAGE_0\t1033\t%s\0" % hashlib.sha256(body).hexdigest()
            self.assertEqual(line.encode("utf-16-le"), bodies["PAYLOAD_HASHES"])
            self.assertEqual(b"MSCF", body[4:8])
            cab = os.path.join(folder, "out.cab")
            pathlib.Path(cab).write_bytes(body[4:])
            listing = subprocess.run(["gcab", "-t", cab], check=True, capture_output=True, text=True).stdout
            self.assertEqual(["Kestrum317.msi", "doc\\ReadMe.txt"], sorted(line.split()[0] for line in listing.splitlines()))

            # Inputs made again later (other file times) give the same bytes.
            for name in ("Kestrum317.msi", os.path.join("doc", "ReadMe.txt")):
                os.utime(os.path.join(folder, name), (1_700_000_000, 1_700_000_000))
            self.assertEqual(data, bundle.build(self.write(folder, package), [])[0])

            wrong = package + "package_code = {00000000-0000-0000-0000-000000000000}\n"
            with self.assertRaises(bundle.DescriptionError) as caught:
                bundle.build(self.write(folder, wrong), [])
            self.assertIn("package_code", str(caught.exception))


if __name__ == "__main__":
    unittest.main()
