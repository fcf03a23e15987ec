#!/bin/sh
# windows_unicode_test.sh WINE WINDOWS_BIN LINUX_BIN EXAMPLES WORK
# Non-ASCII everywhere on the Windows build: FIX.exe and Veltrano.dll installed
# in a folder named "Programme 工厂", and pictures folders named "Übersicht"
# and "工厂". The Windows FIX.exe under Wine and the Linux one run the same
# commands (a new text given on the command line, a translation, a picture
# translated and saved, the dictionary updated from every picture): the same
# output and exit statuses, the same transcript lines (the folders aside), and
# byte-identical workbooks and pictures. The new text "Übersicht ä 温度" must
# arrive whole and be appended exactly so.
set -eu
wine=$1 windows=$2 linux=$3 examples=$4 work=$5
if [ ! -x "$linux/FIX.exe" ]; then
  echo "$linux/FIX.exe is missing: build the default preset first" >&2
  exit 1
fi
# Wine turns the words of its command line into UTF-16 through the locale's
# character set: a UTF-8 locale, whatever the caller's.
export LC_ALL=C.UTF-8
. "$(dirname "$0")/../support/wine_script.sh"
wine_script_start "$work"
text='Übersicht ä 温度'

# The programs from a folder whose name the ANSI code page cannot hold.
programs="$work/Programme 工厂"
mkdir -p "$programs"
cp "$windows"/*.dll "$windows/FIX.exe" "$windows/make-dictionary.exe" "$programs/"
export VELTRANO_CLASS_REGISTRY="$work/classes.json"
"$linux/FIX.exe" regsvr "$linux/../lib/libveltrano.so" > /dev/null
"$wine" "$programs/FIX.exe" regsvr "$(win "$programs/Veltrano.dll")" > "$work/regsvr.txt" ||
  fail "FIX.exe regsvr: $(cat "$work/regsvr.txt")"
grep -qF "$(win "$programs/Veltrano.dll")\" succeeded" "$work/regsvr.txt" ||
  fail "regsvr named the library wrong: $(cat "$work/regsvr.txt")"

# one SIDE FOLDER COMMAND ARGS...: the command by that side's FIX.exe on the
# copy in FOLDER; its name, exit status and output go to SIDE/commands.txt.
one() {
  side=$1 folder=$2
  shift 2
  set +e
  if [ "$side" = linux ]; then
    "$linux/FIX.exe" --batch --select '*' --lang-number 2 --answers ok,ok,ok,ok \
      --transcript "$work/linux/transcript.jsonl" --pictures "$work/linux/$folder/pictures" \
      "$@" > "$work/cmd.txt" 2> "$work/err.txt"
  else
    "$wine" "$programs/FIX.exe" --batch --select '*' --lang-number 2 --answers ok,ok,ok,ok \
      --transcript "$(win "$work/windows/transcript.jsonl")" \
      --pictures "$(win "$work/windows/$folder/pictures")" \
      "$@" > "$work/cmd.txt" 2> "$work/err.txt"
  fi
  status=$?
  set -e
  printf '$ %s %s -> %s\n' "$folder" "$1" "$status" >> "$work/$side/commands.txt"
  cat "$work/cmd.txt" >> "$work/$side/commands.txt"
  [ "$status" -eq 0 ] || fail "$side: FIX.exe $* in $folder exited $status: $(cat "$work/err.txt")"
}

for folder in Übersicht 工厂; do
  for side in linux windows; do
    copy=$work/$side/$folder
    mkdir -p "$copy"
    cp -r "$examples/pictures" "$copy/pictures"
    "$linux/make-dictionary" "$examples/source/Veltrano_Alm.csv" \
      "$copy/pictures/Veltrano/Veltrano_Alm.xls"
  done
  "$linux/make-dictionary" "$examples/source/Veltrano.csv" \
    "$work/linux/$folder/pictures/Veltrano/Veltrano.xls"
  "$wine" "$programs/make-dictionary.exe" "$(win "$examples/source/Veltrano.csv")" \
    "$(win "$work/windows/$folder/pictures/Veltrano/Veltrano.xls")" > /dev/null ||
    fail "make-dictionary.exe into $folder"
  cmp "$work/linux/$folder/pictures/Veltrano/Veltrano.xls" \
    "$work/windows/$folder/pictures/Veltrano/Veltrano.xls" ||
    fail "make-dictionary.exe wrote a different workbook into $folder"

  for side in linux windows; do
    one "$side" "$folder" translate-string "$text" --lang 2
    # The text came back as it went in: it arrived whole.
    printf '%s\n' "$text" | cmp -s - "$work/cmd.txt" ||
      fail "$side: translate-string printed $(od -c "$work/cmd.txt" | head -2)"
    one "$side" "$folder" translate-string 'Start' --lang 2
    one "$side" "$folder" translate-picture Main --lang 2 --save
    one "$side" "$folder" update-dictionary
  done
done
"$wine" regsvr32 /s /u "$(win "$programs/Veltrano.dll")" || fail "regsvr32 /u"
diff -u "$work/linux/commands.txt" "$work/windows/commands.txt" ||
  fail "the commands' statuses and output (- Linux, + Windows)"

# Transcript lines with each side's folder as WORK; on Windows the folder is
# Z:\... and the separator a backslash (escaped in JSON).
sed "s|$work/linux|WORK|g" "$work/linux/transcript.jsonl" > "$work/linux.jsonl"
windows_work=$(win "$work/windows" | sed 's|\\|\\\\\\\\|g')
sed -e "s|$windows_work|WORK|g" -e 's|\\\\|/|g' "$work/windows/transcript.jsonl" > "$work/windows.jsonl"
diff -u "$work/linux.jsonl" "$work/windows.jsonl" || fail "transcript lines (- Linux, + Windows)"
grep -q '"form": "frmUpdateDictionary"' "$work/linux.jsonl" || fail "no dictionary update ran"

for folder in Übersicht 工厂; do
  for file in Veltrano/Veltrano.xls Main.grf Prefixed.grf Deep.grf; do
    cmp "$work/linux/$folder/pictures/$file" "$work/windows/$folder/pictures/$file" ||
      fail "$folder/pictures/$file differs"
  done
  cmp -s "$examples/pictures/Main.grf" "$work/linux/$folder/pictures/Main.grf" &&
    fail "$folder/pictures/Main.grf was not saved translated"
  # The text is in the dictionary exactly once, as given, read by xlrd.
  /usr/bin/python3 "$(dirname "$0")/../support/xls_cells.py" \
    "$work/windows/$folder/pictures/Veltrano/Veltrano.xls" > "$work/cells.json"
  /usr/bin/python3 - "$work/cells.json" "$text" << 'END' || fail "$folder: the dictionary does not hold the text once"
import json, sys
rows = json.load(open(sys.argv[1], encoding="utf-8"))["rows"]
found = [r for r in rows if r and r[0] == ["text", sys.argv[2]]]
sys.exit(0 if len(found) == 1 else 1)
END
done
echo "FIX.exe in \"Programme 工厂\", pictures in \"Übersicht\" and \"工厂\": $(grep -c '^\$' "$work/linux/commands.txt") commands, output, transcript and files as on Linux"
