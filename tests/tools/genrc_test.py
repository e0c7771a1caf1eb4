#!/usr/bin/env python3
"""Checks of the string-table generator: it must refuse inconsistent languages and bad string names, and
write exact rc text and string ids."""
import importlib.util
import os
import pathlib
import tempfile
import unittest

GENERATOR = pathlib.Path(__file__).resolve().parents[2] / "tools" / "strings" / "genrc.py"
spec = importlib.util.spec_from_file_location("genrc", GENERATOR)
genrc = importlib.util.module_from_spec(spec)
spec.loader.exec_module(genrc)

ENGLISH = """@language LANG_ENGLISH SUBLANG_ENGLISH_US
1\tWizardTitle\t%s - Installer Wizard
54\tNext\t&Next >
1045\tLegalNotice
1310\tPropertyNotNumeric\tError: Parameter %s must be numeric
2000\tWidthNote\tWidth %04d of %s, 100%%
"""
GERMAN = """@language LANG_GERMAN SUBLANG_GERMAN
1\t%s - Installations-Assistent
54\t&Weiter >
1045
1310\tFehler: Der Parameter %s muss numerisch sein.
2000\tBreite %04d von %s, 100%%
"""


class GeneratorTest(unittest.TestCase):
    def tables(self, **files):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        for name, text in files.items():
            (pathlib.Path(folder.name) / f"{name}.txt").write_text(text, encoding="utf-8")
        return folder.name

    def errors(self, **files):
        return genrc.run(self.tables(**files))

    def test_consistent_tables_pass(self):
        self.assertEqual([], self.errors(en=ENGLISH, de=GERMAN))

    def test_refuses_inconsistent_translations(self):
        cases = [
            ("missing id", GERMAN.replace("54\t&Weiter >\n", ""), "string 54 is missing"),
            ("extra id", GERMAN + "77\tZusatz\n", "string 77 does not exist in en.txt"),
            ("placeholder lost", GERMAN.replace("Der Parameter %s", "Der Parameter"), "placeholders []"),
            ("placeholder kind", GERMAN.replace("%s - Inst", "%d - Inst"), "placeholders ['%d']"),
            ("placeholder order", GERMAN.replace("Breite %04d von %s", "Breite %s von %04d"), "differ"),
            ("placeholder width", GERMAN.replace("%04d", "%d"), "differ"),
            ("accelerator lost", GERMAN.replace("&Weiter", "Weiter"), "0 accelerator(s)"),
            ("accelerator doubled", GERMAN.replace("&Weiter", "&We&iter"), "2 accelerator(s)"),
            ("unknown escape", GERMAN.replace("Assistent", "Assis\\qtent"), "unknown escape"),
            ("duplicate id", GERMAN + "54\t&Weiter >\n", "defined twice"),
            ("no language line", GERMAN.replace("@language LANG_GERMAN SUBLANG_GERMAN\n", ""), "no '@language"),
            ("malformed line", GERMAN + "abc\tdef\n", "expected '<id><TAB><text>'"),
            ("copied with the English names", GERMAN.replace("54\t&Weiter", "54\tNext\t&Weiter"),
             "string 54: a tab inside the text"),
            ("same language twice", GERMAN.replace("LANG_GERMAN SUBLANG_GERMAN", "LANG_ENGLISH SUBLANG_ENGLISH_US"),
             "also used by en.txt"),
        ]
        for what, german, expected in cases:
            with self.subTest(what):
                errors = self.errors(en=ENGLISH, de=german)
                self.assertTrue(any(expected in e for e in errors), f"{expected!r} not in {errors}")

    def test_refuses_bad_string_names(self):
        # what, English file, line the error must name, expected error
        cases = [
            ("no name", ENGLISH.replace("54\tNext\t&Next >", "54"), 3, "string 54: no name"),
            ("translation's layout", ENGLISH.replace("54\tNext\t", "54\t"), 3,
             "name '&Next >' is not a C++ identifier"),
            ("leading digit", ENGLISH.replace("\tNext\t", "\t2Next\t"), 3, "name '2Next' is not a C++ identifier"),
            ("not ASCII", ENGLISH.replace("\tNext\t", "\tN\u00e4chste\t"), 3, "not a C++ identifier"),
            ("keyword", ENGLISH.replace("\tLegalNotice", "\tdelete"), 4, "name 'delete' is a C++ keyword"),
            ("underscore and capital", ENGLISH.replace("\tNext\t", "\t_Next\t"), 3, "is reserved"),
            ("double underscore", ENGLISH.replace("\tWidthNote\t", "\tWidth__Note\t"), 6, "is reserved"),
            ("duplicate name", ENGLISH.replace("\tLegalNotice", "\tNext"), 4,
             "string 1045: name 'Next' is already used by string 54 on line 3"),
            ("tab in the text", ENGLISH.replace("Error: Parameter", "Error:\tParameter"), 5,
             "string 1310: a tab inside the text"),
            ("malformed line", ENGLISH + "x\tOops\ttext\n", 7, "expected '<id><TAB><name><TAB><text>'"),
        ]
        for what, english, line, expected in cases:
            with self.subTest(what):
                errors = self.errors(en=english, de=GERMAN)
                self.assertTrue(any(f"en.txt:{line}: " in e and expected in e for e in errors),
                                f"line {line}: {expected!r} not in {errors}")

    def test_refused_name_does_not_make_the_translations_fail_too(self):
        for what, english in (("duplicate", ENGLISH.replace("\tLegalNotice", "\tNext")),
                              ("missing", ENGLISH.replace("1045\tLegalNotice", "1045"))):
            with self.subTest(what):
                self.assertEqual(1, len(self.errors(en=english, de=GERMAN)))

    def test_literal_ampersands_and_percent_signs_are_not_counted(self):
        english = ENGLISH + "3000\tResearchDone\tR&&D 50%% done\n"
        german = GERMAN + "3000\tF&&E zu 50%% fertig\n"
        self.assertEqual([], self.errors(en=english, de=german))
        self.assertTrue(self.errors(en=english, de=GERMAN + "3000\tF&E %d\n"))

    def test_reference_language_is_required(self):
        self.assertTrue(any("no en.txt" in e for e in self.errors(de=GERMAN)))

    def test_command_line_fails_the_build_with_a_clear_message(self):
        output = pathlib.Path(self.tables()) / "out"
        rc, header = output / "strings.rc", output / "StringIds.h"
        for broken in (dict(en=ENGLISH, de=GERMAN.replace("54\t&Weiter >\n", "")),
                       dict(en=ENGLISH.replace("\tNext\t", "\t\t"), de=GERMAN)):
            self.assertEqual(1, genrc.main(["genrc.py", self.tables(**broken), str(rc), str(header)]))
            self.assertFalse(rc.exists())
            self.assertFalse(header.exists())
        self.assertEqual(0, genrc.main(["genrc.py", self.tables(en=ENGLISH, de=GERMAN), str(rc), str(header)]))
        self.assertTrue(rc.exists())
        self.assertTrue(header.exists())

    def test_writes_string_ids_in_id_order(self):
        english = ENGLISH.replace("54\tNext\t&Next >\n", "") + "54\tNext\t&Next >\n"
        folder = self.tables(en=english, de=GERMAN)
        header = pathlib.Path(folder) / "StringIds.h"
        self.assertEqual([], genrc.run(folder, pathlib.Path(folder) / "strings.rc", header))
        self.assertEqual(
            "// Generated by tools/strings/genrc.py from resources/strings/en.txt; do not edit.\n"
            "#pragma once\n"
            "\n"
            "namespace StringId {\n"
            "\n"
            "inline constexpr unsigned WizardTitle = 1;\n"
            "inline constexpr unsigned Next = 54;\n"
            "inline constexpr unsigned LegalNotice = 1045;\n"
            "inline constexpr unsigned PropertyNotNumeric = 1310;\n"
            "inline constexpr unsigned WidthNote = 2000;\n"
            "\n"
            "} // namespace StringId\n",
            header.read_text(encoding="utf-8"))

    def test_new_wording_leaves_the_ids_untouched(self):
        # The header's time stamp decides whether every user of the ids is recompiled.
        folder = pathlib.Path(self.tables(en=ENGLISH, de=GERMAN))
        rc, header = folder / "strings.rc", folder / "StringIds.h"
        self.assertEqual([], genrc.run(folder, rc, header))
        for path in (rc, header):
            os.utime(path, ns=(1_000_000_000, 1_000_000_000))
        (folder / "en.txt").write_text(ENGLISH.replace("Installer Wizard", "Setup Wizard"), encoding="utf-8")
        self.assertEqual([], genrc.run(folder, rc, header))
        self.assertEqual(1_000_000_000, header.stat().st_mtime_ns)
        self.assertNotEqual(1_000_000_000, rc.stat().st_mtime_ns)

    def test_writes_exact_rc_text(self):
        japanese = ("@language LANG_JAPANESE SUBLANG_NEUTRAL\n1\t%s - \u30a6\u30a3\u30b6\u30fc\u30c9\n"
                    "54\t\u6b21\u3078(&N) >\n1045\n1310\t\"%s\" \\\\ \\t\\n\u00e9\n2000\t%04d %s 100%%\U0001F600\n")
        folder = self.tables(en=ENGLISH, de=GERMAN, ja=japanese)
        output = pathlib.Path(folder) / "strings.rc"
        self.assertEqual([], genrc.run(folder, output))
        text = output.read_text(encoding="utf-8")
        self.assertTrue(text.isascii())
        # English first, then the others in file-name order; Japanese under the neutral sublanguage.
        self.assertLess(text.index("LANG_ENGLISH"), text.index("LANG_GERMAN"))
        self.assertLess(text.index("LANG_GERMAN"), text.index("LANG_JAPANESE"))
        self.assertIn("LANGUAGE LANG_JAPANESE, SUBLANG_NEUTRAL", text)
        self.assertIn('    54, L"\\x6b21\\x3078(&N) >"', text)
        self.assertIn('    1045, L""', text)
        self.assertIn('    1310, L"""%s"" \\\\ \\t\\n\\x00e9"', text)
        self.assertIn('    2000, L"%04d %s 100%%\\xd83d\\xde00"', text)


if __name__ == "__main__":
    unittest.main()
