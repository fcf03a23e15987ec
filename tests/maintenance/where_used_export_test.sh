#!/bin/sh
# where_used_export_test.sh BIN EXAMPLES WORK
# A real update run over the sample application (and a picture shown in
# Language_2), then a real export for each language the pictures were shown
# in: every text the run walked carries its places in a note, as the run's own
# report lists them, and translate-toolkit reads the notes (xliff2po, then
# po2xliff back).
set -eu
bin=$1 examples=$2 work=$3
fail() {
  echo "where_used_export_test: $*" >&2
  exit 1
}

rm -rf "$work"
mkdir -p "$work"
cp -r "$examples/pictures" "$work/pictures"
"$bin/make-dictionary" "$examples/source/Veltrano.csv" "$work/pictures/Veltrano/Veltrano.xls"
"$bin/make-dictionary" "$examples/source/Veltrano_Alm.csv" "$work/pictures/Veltrano/Veltrano_Alm.xls"
cat > "$work/pictures/German.grf" << 'PICTURE'
{"Comments": 2, "ContainedObjects": [
  {"TypeName": "Fix2DText", "Name": "txtFlow", "Caption": "Durchfluss"},
  {"TypeName": "CommandButton", "Name": "cmdStart", "Caption": "Starten",
   "Description": "Startet die Speisepumpe"}]}
PICTURE
export VELTRANO_CLASS_REGISTRY="$work/classes.json"
"$bin/FIX.exe" regsvr "$bin/../lib/libveltrano.so" > /dev/null
# A picture in another language is left as it is once a run met a missing
# translation, so German goes first on its own; the second run, over every
# picture, keeps its rows whether it walks it again or not.
report=$work/pictures/Veltrano/Veltrano_Report.csv
for select in German '*'; do
  "$bin/FIX.exe" --batch --pictures "$work/pictures" --select "$select" --lang-number 3 \
    --answers ok,ok update-dictionary 2> "$work/err.txt" || fail "FIX.exe: $(cat "$work/err.txt")"
  cp "$report" "$work/report-$(echo "$select" | tr -d '*').csv"
done
book=$work/pictures/Veltrano/Veltrano.xls
for from in 1 2; do
  "$bin/veltrano-dict" export "$book" --from $from --to 3 -o "$work/from$from.xlf" \
    2> "$work/export.txt" || fail "export --from $from: $(cat "$work/export.txt")"
  xliff2po --progress=none "$work/from$from.xlf" "$work/from$from.po" ||
    fail "xliff2po does not read the export from Language_$from"
  po2xliff --progress=none "$work/from$from.po" "$work/back$from.xlf" ||
    fail "po2xliff does not read the PO from Language_$from"
done

/usr/bin/python3 - "$work" "$examples/source/Veltrano.csv" << 'CHECK'
import csv, os, sys
from translate.storage import factory

work, source = sys.argv[1], sys.argv[2]
# What the runs walked, from their own reports: picture, text, places; the
# German picture's texts stand in Language_2, the others' in Language_1.
report = []
for name in ("report-German.csv", "report-.csv"):
    with open(os.path.join(work, name), encoding="utf-8-sig") as f:
        report += [row for row in csv.DictReader(f) if row["Language_3"] != "not reached"]
with open(source, encoding="utf-8") as f:
    german = {row["Language_1"]: row["Language_2"] for row in csv.DictReader(f)}
expected = {1: {}, 2: {}}
for row in report:
    language = 2 if row["Picture"] == "German" else 1
    text = german[row["Text"]] if language == 2 else row["Text"]
    places = expected[language].setdefault(text, set())
    places.update(row["Picture"] + "/" + place for place in row["Places"].split("; "))
assert len(expected[1]) >= 14 and len(expected[2]) == 3, expected

def notes(path):
    """source -> the places of its note, as translate-toolkit reads the file."""
    found = {}
    for unit in factory.getobject(path).units:
        if unit.isheader() or not unit.source:
            continue
        note = unit.getnotes("developer") if path.endswith(".xlf") else unit.getnotes()
        for line in note.splitlines():
            if " at: " in line:
                found[unit.source] = set(line.split(" at: ", 1)[1].split("; "))
    return found

for language in (1, 2):
    for name in ("from%d.xlf", "from%d.po", "back%d.xlf"):
        path = os.path.join(work, name % language)
        got = notes(path)
        assert got == expected[language], (path, got, expected[language])
print("where_used_export_test: %d and %d texts with their places" %
      (len(expected[1]), len(expected[2])))
CHECK
