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
            (good.replace(b'version="1.2"', b'version="1.1"', 1), 2,
             'XLIFF version "1.1": version not supported'),
            (good.replace(b'target-language="x-lang-2"', b'target-language="de"'), 3,
             'target-language "de" names no dictionary column'),
            (good.replace(b'target-language="x-lang-2"', b'target-language="x-lang-7"'), 3,
             "no column Language_7"),
            (good.replace(b'target-language="x-lang-2"', b'target-language="x-lang-1"'), 3,
             "source and target are the same column"),
            (good.replace(b"Starten", b"Start\xffen"), 7, "not UTF-8"),
            (good.replace(b'version="1.0" encoding="UTF-8"?>\n', b'version="1.0" encoding="UTF-8"?>'
                          b'\n<!DOCTYPE xliff [<!ENTITY x SYSTEM "file:///etc/passwd">]>\n', 1)
             .replace(b"Starten", b"&x;"), 2, "a document type declaration is not allowed"),
            (good.replace(b"?>\n", b'?>\n<!DOCTYPE xliff [<!ENTITY x "Avvio">]>', 1)
             .replace(b"Starten", b"&x;"), 2, "a document type declaration is not allowed"),
            (good.replace(b"Starten", b"&x;"), 7, "the entity reference &x; is not one of XML's own"),
            (good.replace(b'<trans-unit id="3"', b'<trans-unit id="&y;"'), 9,
             "attribute id: the entity reference &y;"),
            (good.replace(b"Starten", b"Start\x01en"), 7,
             "a character XML 1.0 does not allow (U+0001)"),
            (good.replace(b"Starten", b"Liv&#x1;ello"), 7,
             "a reference to a character XML 1.0 does not allow (U+0001, &#x1;)"),
            (good.replace(b"Starten", b"&#xFFFE;"), 7, "(U+FFFE, &#xFFFE;)"),
            (good.replace(b"Starten", b"&#12a;"), 7, 'a malformed character reference "&#12a;"'),
            (good.replace(b"Starten", b"A & B"), 7, "an & that begins no reference"),
            (good.replace(b"document:1.2", b"document:1.1").replace(b'version="1.2"', b'version="1.1"'),
             2, 'XLIFF version "1.1": version not supported'),
            (b'<?xml version="1.0"?>\n<xliff xmlns="urn:oasis:names:tc:xliff:document:2.0" '
             b'version="2.0" srcLang="x-lang-1"><file id="f"><unit id="2"><segment><source>Start'
             b'</source><target>Avvio</target></segment></unit></file></xliff>\n', 2,
             'XLIFF version "2.0": version not supported'),
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

    def test_no_command_writes_over_a_file_it_reads(self):
        os.symlink("Veltrano.xls", self.path("link.xls"))
        os.link(self.book, self.path("hard.xls"))
        xlf = self.path("out.xlf")
        run("export", self.book, "--to", "2", "-o", xlf)
        with open(self.book, "rb") as f:
            before = f.read()
        cases = [  # arguments, what the message names
            (["export", self.book, "--to", "3", "-o", self.book], "the output"),
            (["export", self.book, "--to", "3", "-o", "Veltrano.xls"], "the output"),
            (["export", self.book, "--to", "3", "-o", self.path("link.xls")], "the output"),
            (["export", self.book, "--to", "3", "-o", self.path("hard.xls")], "the output"),
            (["import", self.book, self.path("link.xls")], "the XLIFF file"),
            (["fill", self.book, "--from-workbook", self.path("hard.xls")], "--from-workbook"),
        ]
        for args, what in cases:
            with self.subTest(args=args):
                done = subprocess.run([DICT, *args], capture_output=True, text=True,
                                      cwd=self.dir)
                self.assertEqual((done.returncode, done.stdout), (2, ""), done.stderr)
                self.assertIn(what, done.stderr)
                self.assertIn("itself: nothing written", done.stderr)
                with open(self.book, "rb") as f:
                    self.assertEqual(f.read(), before)
        self.assertEqual(run("export", self.book, "--to", "3", "-o", xlf)[0], 0)
        source = self.path("Dictionary.csv")
        with open(source, "w") as f:
            f.write("Language_1\nStart\n")
        done = subprocess.run([MAKE_DICTIONARY, source, source], capture_output=True, text=True)
        self.assertEqual(done.returncode, 2, done.stderr)
        with open(source) as f:
            self.assertEqual(f.read(), "Language_1\nStart\n")

    def test_targets_marked_untranslated_are_told_and_taken_when_accepted(self):
        xlf, filled = self.path("out.xlf"), self.path("filled.xlf")
        run("export", self.book, "--to", "2", "-o", xlf)
        ET.register_namespace("", NS[1:-1])
        tree = ET.parse(xlf)
        for unit in tree.getroot().iter(NS + "trans-unit"):
            target = unit.find(NS + "target")
            if target.get("state") == "needs-translation":
                target.text = "T:" + unit.find(NS + "source").text
                target.set("state", "new" if unit.get("id") == "5" else "needs-translation")
        tree.write(filled, encoding="UTF-8", xml_declaration=True)
        before = cells(self.book)
        cases = [  # arguments, status, summary, units told, Language_2 of row 5 (Pump)
            ([], 0, "written 0, kept 0, unchanged 3, untranslated 0, unreviewed 4", 4, ""),
            (["--accept-state", "new"], 0, "written 1,", 3, "T:Pump"),
            (["--accept-state", "new,needs-translation"], 0, "written 3,", 0, "T:Pump"),
            (["--accept-state", "translated"], 2, "", 0, "T:Pump"),
        ]
        for args, status, summary, told, pump in cases:
            with self.subTest(args=args):
                got, out, err = run("import", self.book, filled, *args)
                self.assertEqual(got, status, err)
                self.assertIn(summary, out)
                notes = re.findall(r'filled\.xlf:\d+: unit "(\d+)": state "([a-z-]+)", source '
                                   r'"([^"]*)": target left out', err)
                self.assertEqual(len(notes), told, err)
                if not args:
                    self.assertIn(("5", "new", "Pump"), notes)
                    self.assertEqual(cells(self.book), before)
                self.assertEqual(cells(self.book)["Dictionary"][4][3], pump)

    def test_a_save_killed_midway_leaves_nothing_after_the_next_import(self):
        rows = [["Text %d" % i, "", "", "Übersetzung %d" % i if i % 2 else "", ""]
                for i in range(40000)]
        make_book(self.book, rows, ours=True)
        with open(self.book, "rb") as f:
            old = f.read()
        xlf, filled = self.path("out.xlf"), self.path("filled.xlf")
        run("export", self.book, "--to", "2", "-o", xlf)
        fill(xlf, filled, lambda s: "T:" + s)

        def temporaries():
            return [n for n in os.listdir(self.dir) if n.startswith(".Veltrano.xls.tmp-")]

        left = []
        for _ in range(20):
            with open(self.book, "wb") as f:
                f.write(old)
            child = subprocess.Popen([DICT, "import", self.book, filled],
                                     stdout=subprocess.DEVNULL)
            while child.poll() is None and not temporaries():
                pass
            child.kill()
            child.wait()
            left = temporaries()
            if left:
                break
        self.assertTrue(left, "no import was caught writing its temporary file")
        with open(self.book, "rb") as f:
            self.assertEqual(f.read(), old)  # the rename had not happened
        status, out, err = run("import", self.book, filled)
        self.assertEqual(status, 0, err)
        self.assertIn("written 20000,", out)
        self.assertEqual(temporaries(), [])
        self.assertEqual(cells(self.book)["Dictionary"][1][3], "T:Text 0")

    def test_fill_from_another_application_on_workbooks_of_libreoffice(self):
        mine = [["Language_1", "Language_2", "Note", "Language_3"],
                ["Start", "", 7, ""],
                [" Stop ", "Halt", "", ""],
                ["Pump", "", "", ""],
                ["Valve", "", "", ""],
                ["Start", "", "", ""],
                ["start", "", "", ""],
                ["Tank", "Behälter", "", ""]]
        theirs = [["Language_1", "Language_3", "Language_2"],
                  ["Start", "Avvia", "Starten"],
                  ["Stop", "Arresta", "Stoppen"],
                  ["Pump", "Pompa", ""],
                  ["Pump", "", "Pumpe"],  # the first row of a text is the one the lookup finds
                  ["Start", "Inizia", "Beginnen"],
                  ["Tank", "", "Behälter"]]
        book, other = libreoffice_books(self.dir, {
            "Mine": [("Dictionary", mine), ("Notes", [["Seen", 3.5], ["by", "me"]])],
            "Theirs": [("Dictionary", theirs)]})
        before = cells(book)
        status, out, err = run("fill", book, "--from-workbook", other)
        self.assertEqual((status, err), (0, ""))
        self.assertEqual(out.splitlines(), [
            "Language_2: filled 2 (2 from %s), kept 1, unchanged 1, not found 3" % other,
            "Language_3: filled 4 (4 from %s), kept 0, unchanged 0, not found 3" % other,
            "filled 6 (6 from %s), kept 1 (translated already; --overwrite replaces them), "
            "unchanged 1, not found 6, refused 0" % other])
        expected = before
        for r, l2, l3 in [(1, "Starten", "Avvia"), (2, "Halt", "Arresta"), (3, "", "Pompa"),
                          (5, "Starten", "Avvia")]:
            expected["Dictionary"][r][1], expected["Dictionary"][r][3] = l2, l3
        after = cells(book)
        self.assertEqual(after.pop("Reused"), [
            ["Text", "Language", "Language_2", "Language_3"],
            ["Start", "Language_1", "Starten", "Avvia"],
            ["Stop", "Language_1", "", "Arresta"],
            ["Pump", "Language_1", "", "Pompa"]])
        self.assertEqual(after, expected)
        self.assertEqual(cells(other)["Dictionary"], [[str(v) for v in r] for r in theirs])

        def reused(language):
            xlf = self.path("out.xlf")
            self.assertEqual(run("export", book, "--to", str(language), "-o", xlf)[0], 0)
            subprocess.run(["xliff2po", "--progress=none", xlf, self.path("out.po")], check=True)
            done = subprocess.run(["msgfmt", "--statistics", "-o", os.devnull,
                                   self.path("out.po")], capture_output=True, text=True)
            self.assertNotIn("fuzzy", done.stderr)  # a reused target counts as translated
            return sorted((id for id, u in units(xlf).items()
                           if u.find(NS + "target").get("state-qualifier") == "exact-match"),
                          key=int)

        self.assertEqual(reused(2), ["2", "6"])
        self.assertEqual(reused(3), ["2", "3", "4", "6"])
        # A translator's own text is no longer marked; --overwrite takes the other's back.
        xlf, changed = self.path("3.xlf"), self.path("changed.xlf")
        run("export", book, "--to", "3", "-o", xlf)
        with open(xlf, "rb") as f:
            data = f.read().replace(b">Arresta<", b">Ferma<")
        with open(changed, "wb") as f:
            f.write(data)
        self.assertIn("written 1,", run("import", book, changed, "--overwrite")[1])
        self.assertEqual(reused(3), ["2", "4", "6"])
        status, out, _ = run("fill", book, "--from-workbook", other, "--to", "3", "--overwrite")
        self.assertEqual(out.splitlines()[0],
                         "Language_3: filled 1 (1 from %s), kept 0, unchanged 3, not found 3" % other)
        self.assertEqual(reused(3), ["2", "3", "4", "6"])
        self.assertEqual(cells(book)["Dictionary"][2][3], "Arresta")

    def test_fill_sources_in_order_and_what_a_cell_cannot_take(self):
        make_book(self.book, [["Start", "", ""], ["Stop", "", ""], ["Bell", "", ""]],
                  header=["Language_1", "Language_2", "Language_3"])
        first, second = self.path("first.xls"), self.path("second.xls")
        make_book(first, [["Start", "Avvio"], ["Bell", "Campana\x07"]],
                  header=["Language_1", "Language_2"])
        make_book(second, [["Start", "Inizio", "Starten"], ["Stop", "Ferma", "Stoppen"]],
                  header=["Language_1", "Language_2", "Language_3"])
        with open(self.book, "rb") as f:
            before = f.read()
        for args, message in [
                (["--to", "3"], "first.xls: the sheet Dictionary has no column Language_3"),
                (["--to", "1"], "--from and --to name the same column Language_1"),
                (["--from", "4"], "no column Language_4"),
                (["--from-workbook", self.path("missing.xls")], "cannot open the workbook")]:
            with self.subTest(args=args):
                status, _, err = run("fill", self.book, "--from-workbook", first, second, *args)
                self.assertEqual(status, 2)
                self.assertIn(message, err)
                with open(self.book, "rb") as f:
                    self.assertEqual(f.read(), before)
        status, out, err = run("fill", self.book, "--from-workbook", first, second)
        self.assertEqual(status, 1)
        self.assertIn("first.xls: row 3: Language_2 holds U+0007, which a cell cannot take", err)
        self.assertIn("Language_2: filled 2 (1 from %s, 1 from %s)" % (first, second), out)
        self.assertIn("Language_3: filled 2 (2 from %s)" % second, out)
        self.assertEqual(cells(self.book)["Dictionary"][1:],
                         [["Start", "Avvio", "Starten"], ["Stop", "Ferma", "Stoppen"],
                          ["Bell", "", ""]])


def libreoffice_books(folder, books):
    """Workbooks saved by LibreOffice (headless, one run) from flat ODF: {name: [(sheet, rows)]}
    with texts and numbers; the paths of NAME.xls in `books`' order."""
    def cell(value):
        if value == "":
            return "<table:table-cell/>"
        if isinstance(value, str):
            text = value.replace("&", "&amp;").replace("<", "&lt;")
            return ('<table:table-cell office:value-type="string"><text:p>%s</text:p>'
                    "</table:table-cell>" % text)
        return ('<table:table-cell office:value-type="float" office:value="%s"><text:p>%s'
                "</text:p></table:table-cell>" % (value, value))
    sources = []
    for name, sheets in books.items():
        tables = "".join(
            '<table:table table:name="%s">%s</table:table>' % (sheet, "".join(
                "<table:table-row>%s</table:table-row>" % "".join(cell(v) for v in row)
                for row in rows))
            for sheet, rows in sheets)
        source = os.path.join(folder, name + ".fods")
        with open(source, "w", encoding="utf-8") as f:
            f.write('<?xml version="1.0" encoding="UTF-8"?>\n<office:document '
                    'xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
                    'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
                    'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
                    'office:version="1.2" '
                    'office:mimetype="application/vnd.oasis.opendocument.spreadsheet">'
                    "<office:body><office:spreadsheet>%s</office:spreadsheet></office:body>"
                    "</office:document>\n" % tables)
        sources.append(source)
    subprocess.run(["soffice", "-env:UserInstallation=file://" + os.path.join(folder, "profile"),
                    "--headless", "--convert-to", "xls", "--outdir", folder, *sources],
                   check=True, capture_output=True)
    return [os.path.join(folder, name + ".xls") for name in books]


def fill_all(data):
    """Every empty target of an exported file given a text."""
    return data.replace(b'<target state="needs-translation"></target>',
                        b'<target state="translated">T</target>')


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
