#!/usr/bin/env python3
"""Checks of the string-table generator: it must refuse inconsistent languages and write exact rc text."""
import importlib.util
import pathlib
import tempfile
import unittest

GENERATOR = pathlib.Path(__file__).resolve().parents[2] / "tools" / "strings" / "genrc.py"
spec = importlib.util.spec_from_file_location("genrc", GENERATOR)
genrc = importlib.util.module_from_spec(spec)
spec.loader.exec_module(genrc)

ENGLISH = """@language LANG_ENGLISH SUBLANG_ENGLISH_US
1\t%s - Installer Wizard
54\t&Next >
1045
1310\tError: Parameter %s must be numeric
2000\tWidth %04d of %s, 100%%
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
            ("same language twice", GERMAN.replace("LANG_GERMAN SUBLANG_GERMAN", "LANG_ENGLISH SUBLANG_ENGLISH_US"),
             "also used by en.txt"),
        ]
        for what, german, expected in cases:
            with self.subTest(what):
                errors = self.errors(en=ENGLISH, de=german)
                self.assertTrue(any(expected in e for e in errors), f"{expected!r} not in {errors}")

    def test_literal_ampersands_and_percent_signs_are_not_counted(self):
        english = ENGLISH + "3000\tR&&D 50%% done\n"
        german = GERMAN + "3000\tF&&E zu 50%% fertig\n"
        self.assertEqual([], self.errors(en=english, de=german))
        self.assertTrue(self.errors(en=english, de=GERMAN + "3000\tF&E %d\n"))

    def test_reference_language_is_required(self):
        self.assertTrue(any("no en.txt" in e for e in self.errors(de=GERMAN)))

    def test_command_line_fails_the_build_with_a_clear_message(self):
        folder = self.tables(en=ENGLISH, de=GERMAN.replace("54\t&Weiter >\n", ""))
        output = pathlib.Path(folder) / "out" / "strings.rc"
        self.assertEqual(1, genrc.main(["genrc.py", folder, str(output)]))
        self.assertFalse(output.exists())
        self.assertEqual(0, genrc.main(["genrc.py", self.tables(en=ENGLISH, de=GERMAN), str(output)]))
        self.assertTrue(output.exists())

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
