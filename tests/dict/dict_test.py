#!/usr/bin/python3
"""veltrano-dict against independent readers: xlrd for the workbooks, xmllint
for the XML, translate-toolkit's xliff2po and gettext's msgfmt for the counts.

  dict_test.py VELTRANO_DICT MAKE_DICTIONARY
"""
import csv
import fcntl
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import xml.etree.ElementTree as ET

import xlrd
import xlwt

DICT, MAKE_DICTIONARY = sys.argv[1], sys.argv[2]
NS = "{urn:oasis:names:tc:xliff:document:1.2}"

# Language_1, Note, Language_3, language_2 (letter case ignored), Language_05
# (not a language column: the library writes no leading zero).
HEADER = ["Language_1", "Note", "Language_3", "language_2", "Language_05"]
ROWS = [
    ["Start", "n", "Avvia", "Starten", "x"],
    ["  Stop ", "", "", "Stoppen", ""],
    ["   ", "", "Solo", "", ""],
    ["Pump", "", "  ", "", ""],
    ["Start", "", "", "", ""],
    ['A & B <c> "d" \'e\'', "", "", "x > y", ""],
    ["line 1\nline 2\r\nend", "", "", "", ""],
    ["Über\t温度 😀", "", "Sopra", "", ""],
]


def run(*args):
    done = subprocess.run([DICT, *args], capture_output=True, text=True, encoding="utf-8")
    return done.returncode, done.stdout, done.stderr


def make_book(path, rows, header=HEADER, where_used=None, ours=False):
    """Ours: written by our engine (make-dictionary); else by xlwt, which can
    add the sheet "Where used"."""
    if ours:
        source = path + ".csv"
        with open(source, "w", newline="", encoding="utf-8") as f:
            csv.writer(f).writerows([header] + rows)
        subprocess.run([MAKE_DICTIONARY, source, path], check=True)
        return
    book = xlwt.Workbook(encoding="utf-8")
    sheets = [("Dictionary", [header] + rows)]
    if where_used is not None:
        sheets.append(("Where used", [["Text", "Language", "Places", "Pictures", "Was", "Seen"]]
                       + where_used))
    for name, table in sheets:
        sheet = book.add_sheet(name)
        for r, row in enumerate(table):
            for c, value in enumerate(row):
                if value != "":
                    sheet.write(r, c, value)
    book.save(path)


def cells(path):
    book = xlrd.open_workbook(path)
    return {s.name: [[str(v) for v in s.row_values(r)] for r in range(s.nrows)]
            for s in book.sheets()}


def units(xlf):
    root = ET.parse(xlf).getroot()
    return {u.get("id"): u for u in root.iter(NS + "trans-unit")}


def fill(xlf, out, text, only_empty=True, edit=None):
    """A translator's tool: targets filled with text(source), marked translated."""
    ET.register_namespace("", NS[1:-1])
    tree = ET.parse(xlf)
    for unit in tree.getroot().iter(NS + "trans-unit"):
        target = unit.find(NS + "target")
        if only_empty and target.get("state") != "needs-translation":
            continue
        target.text = text(unit.find(NS + "source").text)
        target.set("state", "translated")
        if edit:
            edit(unit)
    tree.write(out, encoding="UTF-8", xml_declaration=True)


def stats_table(out):
    return {line.split()[0]: [int(n) for n in line.split()[1:]]
            for line in out.splitlines()[2:]}


class DictTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="veltrano-dict-")
        self.book = os.path.join(self.dir, "Veltrano.xls")
        make_book(self.book, ROWS)

    def tearDown(self):
        shutil.rmtree(self.dir)

    def path(self, name):
        return os.path.join(self.dir, name)

    def test_stats_and_check(self):
        cases = [  # args, status, {column: [texts, translated, missing]}, stderr
            ([], 0, {"Language_1": [7, 7, 0], "Language_2": [7, 3, 4], "Language_3": [7, 2, 5]}, ""),
            (["--from", "3"], 0, {"Language_1": [3, 2, 1], "Language_2": [3, 1, 2]}, ""),
            (["--check", "1"], 0, {}, ""),
            (["--check", "1", "3"], 1, {}, "Language_3 misses 5 of 7 texts"),
            (["--check", "9"], 2, {}, "no column Language_9 (it has Language_1, Language_2, Language_3)"),
            (["--from", "5"], 2, {}, "no column Language_5"),
        ]
        for args, status, table, err in cases:
            with self.subTest(args=args):
                got, out, stderr = run("stats", self.book, *args)
                self.assertEqual(got, status, stderr)
                self.assertIn(err, stderr)
                for column, figures in table.items():
                    self.assertEqual(stats_table(out)[column], figures)

    def test_export_is_xliff_that_translate_toolkit_counts_as_stats_does(self):
        for source, target in [(1, 2), (1, 3), (3, 1)]:
            with self.subTest(source=source, target=target):
                xlf, po = self.path("out.xlf"), self.path("out.po")
                status, _, err = run("export", self.book, "--from", str(source),
                                     "--to", str(target), "-o", xlf)
                self.assertEqual(status, 0, err)
                subprocess.run(["xmllint", "--noout", xlf], check=True)
                subprocess.run(["xliff2po", "--progress=none", xlf, po], check=True)
                done = subprocess.run(["msgfmt", "--statistics", "-o", os.devnull, po],
                                      capture_output=True, text=True, check=True)
                counts = dict((w, int(n)) for n, w in
                              re.findall(r"(\d+) (translated|untranslated|fuzzy)", done.stderr))
                _, out, _ = run("stats", self.book, "--from", str(source))
                texts, translated, missing = stats_table(out)["Language_%d" % target]
                self.assertEqual(counts.get("translated", 0), translated, done.stderr)
                self.assertEqual(counts.get("untranslated", 0), missing, done.stderr)
                self.assertNotIn("fuzzy", counts)

    def test_export_texts_ids_and_width(self):
        rows = ROWS + [["Bell\x07", "", "", "", ""]]
        make_book(self.book, rows)
        xlf = self.path("out.xlf")
        status, _, err = run("export", self.book, "--to", "2", "-o", xlf)
        self.assertEqual(status, 1)  # the bell cannot be written in XML 1.0
        self.assertIn("left out row 10: Language_1 holds U+0007", err)
        sheet = cells(self.book)["Dictionary"]
        got = units(xlf)
        expected = {str(r + 1): row for r, row in enumerate(sheet) if r and row[0].strip(" ")
                    and "\x07" not in row[0]}
        self.assertEqual(sorted(got, key=int), sorted(expected, key=int))
        for id, row in expected.items():
            unit = got[id]
            source = row[0].strip(" ")
            self.assertEqual(unit.get("resname"), id)
            self.assertEqual(unit.find(NS + "source").text, source)
            self.assertEqual(unit.find(NS + "target").text or "", row[3].strip(" "))
            self.assertEqual(int(unit.get("maxwidth")), int(len(source) * 1.5))
            self.assertEqual(unit.findall(NS + "note"), [])

    def test_notes_from_where_used(self):
        make_book(self.book, [["Start", ""], ["Stop", "Halt"], ["Pump", ""]],
                  header=["Language_1", "Language_2"],
                  where_used=[["Start", 1, "MAIN/txtStart.Caption; PUMP/cmdGo.Caption", 2, "Begin",
                               "2026-12-08"],
                              ["Start", 2, "ELSEWHERE/x.Caption", 1, "", ""],
                              ["Stop", "Language_1", "MAIN/cmdStop.Caption", "1", "", ""]])
        xlf = self.path("out.xlf")
        self.assertEqual(run("export", self.book, "--to", "2", "-o", xlf)[0], 0)
        notes = {id: [n.text for n in u.findall(NS + "note")] for id, u in units(xlf).items()}
        self.assertEqual(notes, {
            "2": ["Used in 2 picture(s) at: MAIN/txtStart.Caption; PUMP/cmdGo.Caption",
                  "Earlier text at the same place: Begin"],
            "3": ["Used in 1 picture(s) at: MAIN/cmdStop.Caption"],
            "4": []})

    def test_round_trip_fills_exactly_the_empty_cells(self):
        for ours in (True, False):
            with self.subTest(ours=ours):
                make_book(self.book, ROWS, ours=ours)
                before = cells(self.book)
                xlf, filled = self.path("out.xlf"), self.path("filled.xlf")
                run("export", self.book, "--to", "2", "-o", xlf)
                fill(xlf, filled, lambda s: "T:" + s)
                status, out, err = run("import", self.book, filled)
                self.assertEqual((status, err), (0, ""))
                self.assertIn("written 4, kept 0", out)
                expected = before
                for row in expected["Dictionary"][1:]:
                    if row[0].strip(" ") and not row[3].strip(" "):
                        # ElementTree writes a CR as it is, and reads it back as LF.
                        row[3] = "T:" + row[0].strip(" ").replace("\r\n", "\n")
                self.assertEqual(cells(self.book), expected)
                # Again: nothing to write, and the file is not saved.
                mtime = os.stat(self.book).st_mtime_ns
                self.assertIn("written 0", run("import", self.book, filled)[1])
                self.assertEqual(os.stat(self.book).st_mtime_ns, mtime)

    def test_overwrite(self):
        xlf, filled = self.path("out.xlf"), self.path("filled.xlf")
        run("export", self.book, "--to", "2", "-o", xlf)
        fill(xlf, filled, lambda s: "O:" + s, only_empty=False)
        for args, summary, replaced in [([], "written 4, kept 3", False),
                                        (["--overwrite"], "written 3, kept 0", True)]:
            with self.subTest(args=args):
                status, out, _ = run("import", self.book, filled, *args)
                self.assertEqual(status, 0)
                self.assertIn(summary, out)
                sheet = cells(self.book)["Dictionary"]
                self.assertEqual(sheet[1][3], "O:Start" if replaced else "Starten")
                self.assertEqual(sheet[4][3], "O:Pump")

    def test_refused_units_are_told_and_the_rest_written(self):
        xlf = self.path("out.xlf")
        run("export", self.book, "--to", "2", "-o", xlf)
        cases = [  # the unit changed, what the refusal says
            ("source", 'the source no longer matches row 5: expected "Pomp", found "Pump"'),
            ("id", "no row 1 in the sheet Dictionary"),
            ("markup", "the target holds markup (g)"),
        ]
        for change, message in cases:
            with self.subTest(change=change):
                make_book(self.book, ROWS)

                def edit(unit):
                    if unit.get("id") != "5":
                        return
                    if change == "source":
                        unit.find(NS + "source").text = "Pomp"
                    elif change == "id":
                        unit.set("id", "1")
                    else:
                        ET.SubElement(unit.find(NS + "target"), NS + "g").text = "bold"
                filled = self.path("filled.xlf")
                fill(xlf, filled, lambda s: "T:" + s, edit=edit)
                status, out, err = run("import", self.book, filled)
                self.assertEqual(status, 1)
                self.assertRegex(err, r"filled\.xlf:\d+: unit \"(5|1)\": " + re.escape(message))
                self.assertIn("written 3", out)
                self.assertEqual(cells(self.book)["Dictionary"][4][3], "")

    def test_bad_files_write_nothing(self):
        xlf = self.path("out.xlf")
        run("export", self.book, "--to", "2", "-o", xlf)
        with open(xlf, "rb") as f:
            good = f.read()
        cases = [  # bytes, line, message
            (good.replace(b"</source>", b"</sourc>", 1), 6, "not well-formed XML"),
            (good.replace(b"<xliff version", b"<xlif version").replace(b"</xliff>", b"</xlif>"),
             2, "not XLIFF"),
            (good.replace(b'version="1.2"', b'version="1.1"', 1), 2, 'XLIFF version "1.1"'),
            (good.replace(b'target-language="x-lang-2"', b'target-language="de"'), 3,
             'target-language "de" names no dictionary column'),
            (good.replace(b'target-language="x-lang-2"', b'target-language="x-lang-7"'), 3,
             "no column Language_7"),
            (good.replace(b'target-language="x-lang-2"', b'target-language="x-lang-1"'), 3,
             "source and target are the same column"),
            (good.replace(b"Starten", b"Start\xffen"), 7, "not UTF-8"),
        ]
        with open(self.book, "rb") as f:
            bytes_before = f.read()
        for data, line, message in cases:
            with self.subTest(message=message):
                bad = self.path("bad.xlf")
                with open(bad, "wb") as f:
                    f.write(fill_all(data))
                status, out, err = run("import", self.book, bad, "--overwrite")
                self.assertEqual((status, out), (2, ""))
                self.assertIn("%s:%d: " % (bad, line), err)
                self.assertIn(message, err)
                with open(self.book, "rb") as f:
                    self.assertEqual(f.read(), bytes_before)

    def test_import_waits_for_another_writer(self):
        xlf, filled = self.path("out.xlf"), self.path("filled.xlf")
        run("export", self.book, "--to", "2", "-o", xlf)
        fill(xlf, filled, lambda s: "T:" + s)
        with open(self.book, "rb") as f:
            before = f.read()
        folder = os.open(self.dir, os.O_RDONLY)  # the writers' lock is the folder's
        try:
            fcntl.flock(folder, fcntl.LOCK_EX)
            child = subprocess.Popen([DICT, "import", self.book, filled],
                                     stdout=subprocess.PIPE, text=True)
            time.sleep(1)
            self.assertIsNone(child.poll(), "import did not wait for the lock")
            with open(self.book, "rb") as f:
                self.assertEqual(f.read(), before)
        finally:
            fcntl.flock(folder, fcntl.LOCK_UN)
            os.close(folder)
        out, _ = child.communicate(timeout=60)
        self.assertEqual(child.returncode, 0)
        self.assertIn("written 4", out)
        self.assertEqual(cells(self.book)["Dictionary"][4][3], "T:Pump")


def fill_all(data):
    """Every empty target of an exported file given a text."""
    return data.replace(b'<target state="needs-translation"></target>',
                        b'<target state="translated">T</target>')


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
