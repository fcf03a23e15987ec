#!/bin/sh
# coverage_browser_test.sh CHROMIUM BIN EXAMPLES WORK ARTEFACTS
# An update run over the sample application: its report's summary and what
# translation does not reach, in a real browser. Then one with a picture whose
# caption is markup: the sheet "Where used" read by xlrd and LibreOffice, then
# the coverage report in a real browser: screenshots and a printout kept in
# ARTEFACTS, the bars drawn, the caption shown as text, the printout one page
# per language after the summary.
set -eu
chromium=$1 bin=$2 examples=$3 work=$4 artefacts=$5
fail() {
  echo "coverage_browser_test: $*" >&2
  exit 1
}
command -v "$chromium" > /dev/null 2>&1 ||
  fail "$chromium is missing: run scripts/install-deps.sh"

rm -rf "$work"
mkdir -p "$work" "$artefacts"
cp -r "$examples/pictures" "$work/pictures"
"$bin/make-dictionary" "$examples/source/Veltrano.csv" "$work/pictures/Veltrano/Veltrano.xls"
"$bin/make-dictionary" "$examples/source/Veltrano_Alm.csv" "$work/pictures/Veltrano/Veltrano_Alm.xls"
export VELTRANO_CLASS_REGISTRY="$work/classes.json"
"$bin/FIX.exe" regsvr "$bin/../lib/libveltrano.so" > /dev/null
report=$work/pictures/Veltrano/Veltrano_Report.html
update() {
  "$bin/FIX.exe" --batch --pictures "$work/pictures" --select '*' --lang-number 3 \
    --answers ok,ok update-dictionary 2> "$work/err.txt" || fail "FIX.exe: $(cat "$work/err.txt")"
  [ -f "$report" ] || fail "no report"
}

# No profile, crash reporter or sandbox of the user's; the page's own file only.
run_chromium() {
  HOME=$work timeout 120 "$chromium" --headless --no-sandbox --disable-gpu --no-first-run \
    --user-data-dir="$work/profile" --hide-scrollbars "$@" 2> "$work/chromium.txt"
}

# The sample as it is: 13 of its 14 texts in Language_2 (92.857 %), and the
# text nested too deep for translation.
update
run_chromium --window-size=1100,1100 --screenshot="$artefacts/coverage_sample.png" \
  "file://$report" > /dev/null || fail "screenshot: $(cat "$work/chromium.txt")"
run_chromium --dump-dom "file://$report" > "$work/dom.html" ||
  fail "DOM: $(cat "$work/chromium.txt")"
grep -q 'Language_2</a></td><td class="n">14</td><td class="n">13</td>.*>92.9&nbsp;%</span>' \
  "$work/dom.html" || fail "the summary does not show 13 of 14 as 92.9 %"
grep -q 'Counted: the 14 distinct texts of the 3 verified pictures.*The dictionary holds 29 texts' \
  "$work/dom.html" || fail "the header does not say what it counts"
grep -q '<td class="text">Pressure</td><td class="places">Deep/txtBelowLimit.Caption</td>' \
  "$work/dom.html" || fail "Pressure in Deep is not listed as not reached"

cat > "$work/pictures/Odd.grf" << 'EOF'
{"Comments": "", "ContainedObjects": [
  {"TypeName": "Fix2DText", "Name": "txtOdd", "Caption": "<b>Tom & \"Jerry\"</b>"}]}
EOF
update

# The same run wrote the sheet "Where used" beside "Dictionary", as xlrd reads it.
/usr/bin/python3 - "$work/pictures/Veltrano/Veltrano.xls" << 'EOF' || fail "the sheet \"Where used\""
import sys, xlrd
book = xlrd.open_workbook(sys.argv[1])
assert book.sheet_names() == ["Dictionary", "Where used"], book.sheet_names()
sheet = book.sheet_by_name("Where used")
rows = {tuple(sheet.row_values(r)[:4]) for r in range(sheet.nrows)}
# The pictures are drawn in Language_1, whichever language the run verified.
for row in [("Text", "Language", "Places", "Pictures"),
            ("Flow", "Language_1", "Main/txtFlow.Caption; Prefixed/lblFlow.Caption; "
             "Prefixed/txtFlow.Caption", 2),
            ('<b>Tom & "Jerry"</b>', "Language_1", "Odd/txtOdd.Caption", 1)]:
    assert row in rows, row
assert all(sheet.cell(r, 3).ctype == xlrd.XL_CELL_NUMBER for r in range(1, sheet.nrows))
EOF

# LibreOffice opens the workbook too, both sheets (one CSV each).
mkdir -p "$work/lo"
HOME=$work timeout 180 soffice --headless -env:UserInstallation="file://$work/lo-profile" \
  --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1' \
  --outdir "$work/lo" "$work/pictures/Veltrano/Veltrano.xls" > "$work/lo.txt" 2>&1 ||
  fail "LibreOffice: $(cat "$work/lo.txt")"
grep -qx 'Flow,Language_1,Main/txtFlow.Caption; Prefixed/lblFlow.Caption; Prefixed/txtFlow.Caption,2,,[0-9-]*' \
  "$work/lo/Veltrano-Where used.csv" || fail "LibreOffice does not read the sheet \"Where used\""
grep -q '^Flow,Durchfluss,Portata' "$work/lo/Veltrano-Dictionary.csv" ||
  fail "LibreOffice does not read the sheet \"Dictionary\""

run_chromium --window-size=1100,1500 --screenshot="$artefacts/coverage_report.png" \
  "file://$report" > /dev/null || fail "screenshot: $(cat "$work/chromium.txt")"
run_chromium --print-to-pdf="$artefacts/coverage_report.pdf" --no-pdf-header-footer \
  "file://$report" > /dev/null || fail "printout: $(cat "$work/chromium.txt")"
run_chromium --dump-dom "file://$report" > "$work/dom.html" ||
  fail "DOM: $(cat "$work/chromium.txt")"

# The caption is text of its cell, not markup.
grep -q '<td class="text">&lt;b&gt;Tom &amp; "Jerry"&lt;/b&gt;</td>' "$work/dom.html" ||
  fail "the caption is not shown as written"
! grep -q '<b>' "$work/dom.html" || fail "the caption became markup"

python3 - "$artefacts/coverage_report.png" << 'EOF' || fail "the screenshot shows no bar"
# Counts the bars' green (#2e7d32) in the screenshot (8-bit RGB or RGBA PNG).
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n"
at, idat = 8, b""
while at < len(data):
    size, kind = struct.unpack(">I4s", data[at:at + 8])
    body = data[at + 8:at + 8 + size]
    if kind == b"IHDR":
        width, height, depth, colour = struct.unpack(">IIBB", body[:10])
    elif kind == b"IDAT":
        idat += body
    at += 12 + size
assert depth == 8 and colour in (2, 6), (depth, colour)
step = 3 if colour == 2 else 4
raw, stride = zlib.decompress(idat), width * step
rows, previous, at = [], bytearray(stride), 0
for _ in range(height):
    kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
    at += 1 + stride
    for i in range(stride):
        a = line[i - step] if i >= step else 0
        b = previous[i]
        c = previous[i - step] if i >= step else 0
        if kind == 1: line[i] = (line[i] + a) & 255
        elif kind == 2: line[i] = (line[i] + b) & 255
        elif kind == 3: line[i] = (line[i] + (a + b) // 2) & 255
        elif kind == 4:
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
    rows.append(line)
    previous = line
green = sum(1 for line in rows for i in range(0, stride, step)
            if tuple(line[i:i + 3]) == (0x2E, 0x7D, 0x32))
print(f"{width}x{height}, {green} pixels of the bars' green")
sys.exit(0 if green > 1000 else 1)
EOF

# Printed: the summary, then each language from a page of its own.
pages=$(pdfinfo "$artefacts/coverage_report.pdf" | sed -n 's/^Pages: *//p')
[ "$pages" -ge 3 ] || fail "the printout has $pages pages"
pdftotext -layout "$artefacts/coverage_report.pdf" - | grep -q '<b>Tom & "Jerry"</b>' ||
  fail "the printout does not show the caption as written"
echo "coverage_browser_test: $artefacts/coverage_report.png and .pdf"
