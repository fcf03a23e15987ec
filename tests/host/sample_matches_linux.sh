#!/bin/sh
# sample_matches_linux.sh LINUX_BIN WINE WINDOWS_BIN EXAMPLES WORK
# The sample application's steps, in Lua by the Linux FIX.exe and in
# VBScript by the Windows one under Wine, each on its own copy of the
# examples, then the same one-shot commands by both: the same output, byte for
# byte, and exit statuses, the same transcript lines (the copies' folders and the
# platforms' separators aside), byte-identical workbooks, pictures, forms,
# alarm lists and coverage reports (CSV), and the same settings in Veltrano.ini
# (Wine writes INI files its own way: CR LF, no blanks around '=').
set -eu
linux=$1 wine=$2 windows=$3 examples=$4 work=$5
if [ ! -x "$linux/FIX.exe" ]; then
  echo "$linux/FIX.exe is missing: build the default preset first" >&2
  exit 1
fi
. "$(dirname "$0")/../support/wine_script.sh"
wine_script_start "$work"
answers=ok,ok,ok,ok,ok,ok,yes,yes,ok,ok,ok,ok

for side in linux windows; do
  copy=$work/$side
  mkdir -p "$copy"
  cp -r "$examples/pictures" "$copy/pictures"
  cp -r "$examples/forms" "$copy/forms"
  "$linux/make-dictionary" "$examples/source/Veltrano.csv" "$copy/pictures/Veltrano/Veltrano.xls"
  "$linux/make-dictionary" "$examples/source/Veltrano_Alm.csv" \
    "$copy/pictures/Veltrano/Veltrano_Alm.xls"
done

# Linux: the server through a private class registry.
export VELTRANO_CLASS_REGISTRY="$work/linux/classes.json"
"$linux/FIX.exe" regsvr "$linux/../lib/libveltrano.so" > /dev/null
copy=$work/linux
"$linux/FIX.exe" --batch --transcript "$copy/transcript.jsonl" --pictures "$copy/pictures" \
  --select '*' --lang-number 3 --answers "$answers" \
  run "$examples/scripts/sample_steps.lua" "$copy/forms/frmSettings.frm.json" \
  "$copy/forms/frmLogin.frm.json" "$examples/alarms.csv" "$copy/alarms.csv" \
  > "$copy/out.txt" 2> "$copy/err.txt" || fail "Linux: $(cat "$copy/err.txt")"

copy=$work/windows
"$wine" regsvr32 /s "$(win "$windows/Veltrano.dll")" || fail "regsvr32"
"$wine" "$windows/FIX.exe" --batch --transcript "$(win "$copy/transcript.jsonl")" \
  --pictures "$(win "$copy/pictures")" --select '*' --lang-number 3 --answers "$answers" \
  run "$(win "$examples/scripts/sample_steps.vbs")" "$(win "$copy/forms/frmSettings.frm.json")" \
  "$(win "$copy/forms/frmLogin.frm.json")" "$(win "$examples/alarms.csv")" "$(win "$copy/alarms.csv")" \
  > "$copy/raw.txt" 2> "$copy/err.txt" || fail "Windows: $(cat "$copy/err.txt")"
mv "$copy/raw.txt" "$copy/out.txt"

# one SIDE COMMAND ARGS...: the command by that side's FIX.exe; its name, exit
# status and output go to SIDE/commands.txt.
one() {
  side=$1
  shift
  out=$work/$side/commands.txt
  set +e
  if [ "$side" = linux ]; then
    "$linux/FIX.exe" --batch --answers ok,ok,ok,ok --transcript "$work/linux/transcript.jsonl" \
      --pictures "$work/linux/pictures" "$@" > "$work/cmd.txt" 2> /dev/null
  else
    "$wine" "$windows/FIX.exe" --batch --answers ok,ok,ok,ok \
      --transcript "$(win "$work/windows/transcript.jsonl")" \
      --pictures "$(win "$work/windows/pictures")" "$@" > "$work/cmd.txt" 2> /dev/null
  fi
  status=$?
  set -e
  printf '$ %s -> %s\n' "$1" "$status" >> "$out"
  cat "$work/cmd.txt" >> "$out"
}
for side in linux windows; do
  if [ "$side" = linux ]; then
    at() { printf '%s' "$work/linux/$1"; }
  else
    at() { win "$work/windows/$1"; }
  fi
  cp "$examples/alarms.csv" "$work/$side/alarms-in.csv"
  one "$side" set-user-lang OPERATOR
  one "$side" translate-string '  Boiler overview ' --lang 2
  one "$side" translate-string 'Steam drum' --lang 3 --warn
  one "$side" translate-string 'Password' --lang 9
  one "$side" translate-alarms "$(at alarms-in.csv)" --field 2 --lang 3
  one "$side" translate-picture Main --lang 1 --save
  one "$side" translate-picture Main --user MANUTENTORE
  one "$side" translate-picture NoSuchPicture
  one "$side" translate-form "$(at forms/frmSettings.frm.json)" --lang 3
  one "$side" translate-all --open Main --open Prefixed --form "$(at forms/frmLogin.frm.json)" --save
  one "$side" no-such-command
done
"$wine" regsvr32 /s /u "$(win "$windows/Veltrano.dll")" || fail "regsvr32 /u"
diff -u "$work/linux/commands.txt" "$work/windows/commands.txt" ||
  fail "the commands' statuses and output (- Linux, + Windows)"

# Transcript lines with each copy's folder as WORK; on Windows the folder is
# Z:\... and the separator a backslash (escaped in JSON).
sed "s|$work/linux|WORK|g" "$work/linux/transcript.jsonl" > "$work/linux.jsonl"
windows_work=$(win "$work/windows" | sed 's|\\|\\\\\\\\|g')
sed -e "s|$windows_work|WORK|g" -e 's|\\\\|/|g' "$work/windows/transcript.jsonl" > "$work/windows.jsonl"

diff -u "$work/linux/out.txt" "$work/windows/out.txt" || fail "printed lines (- Linux, + Windows)"
diff -u "$work/linux/err.txt" "$work/windows/err.txt" || fail "stderr (- Linux, + Windows)"
diff -u "$work/linux.jsonl" "$work/windows.jsonl" || fail "transcript lines (- Linux, + Windows)"
[ -s "$work/linux.jsonl" ] || fail "no transcript"
count=0
for file in pictures/Veltrano/Veltrano.xls pictures/Veltrano/Veltrano_Alm.xls pictures/Main.grf \
  pictures/Prefixed.grf pictures/Deep.grf forms/frmSettings.frm.json forms/frmLogin.frm.json alarms.csv \
  pictures/Veltrano/Veltrano_Report.csv; do
  cmp "$work/linux/$file" "$work/windows/$file" || fail "$file differs"
  count=$((count + 1))
done
settings() { tr -d '\r' < "$1" | sed -e 's/ *= */=/' -e '/^$/d'; }
settings "$work/linux/pictures/Veltrano/Veltrano.ini" > "$work/linux.ini"
settings "$work/windows/pictures/Veltrano/Veltrano.ini" > "$work/windows.ini"
diff -u "$work/linux.ini" "$work/windows.ini" || fail "Veltrano.ini's settings (- Linux, + Windows)"
cmp "$work/linux/pictures/Main.grf" "$examples/pictures/Main.grf" > /dev/null 2>&1 &&
  fail "Main.grf was not saved translated"
echo "$(wc -l < "$work/linux/out.txt") lines, $(wc -l < "$work/linux.jsonl") transcript lines and $count files alike"
