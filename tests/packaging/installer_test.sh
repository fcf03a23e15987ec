#!/bin/sh
# installer_test.sh WINE PACKAGES VERSION ARCH WIXL WORK
# The packages of one architecture, in a fresh Wine prefix of their own (a
# 64-bit Windows): msiexec installs the MSI, which puts the installed tree
# (PACKAGES/stage/Veltrano) byte for byte into Program Files and a shortcut to
# the wizard into the Start menu; a VBScript of the same bitness creates
# Veltrano.VeltranoModule (the host check's box, as no host runs); Rostavel
# deploys an application from the install folder; the registry rows equal what
# regsvr32 writes for the installed DLL; a package of a higher version made
# from the same source replaces the product; msiexec /x leaves no file and no
# key naming ours. Then the zip unpacks to the same tree and its DLL registers
# with regsvr32, and the sample host's zip runs FIX.exe on its sample, and its
# steps on a copy, leaving the sample as it was.
set -eu
wine=$1 packages=$2 version=$3 arch=$4 wixl=$5 work=$6
. "$(dirname "$0")/../support/wine_script.sh"
wine_script_start "$work"
# No menu entries on the Linux desktop for the shortcut.
WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export WINEDLLOVERRIDES
wine_prefix_own "$wine" "$work/prefix"
trap 'wine_prefix_end $?' EXIT

stage=$packages/stage/Veltrano
name=Veltrano-$version-$arch
if [ "$arch" = x64 ]; then
  program_files='Program Files' product='Veltrano (64-bit)'
else
  program_files='Program Files (x86)' product='Veltrano (32-bit)'
fi
folder="$WINEPREFIX/drive_c/$program_files/Veltrano"
dll="C:\\$program_files\\Veltrano\\Veltrano.dll"
clsid='{7C3E9A41-2B5D-4E8F-9A16-0D4B8C2F5E73}'
libid='{E0B1C286-71C6-4EF0-9543-D2FF05EA585F}'
iid='{4EBE1143-1005-4961-B42D-4E3211D98919}'

msiexec() {  # msiexec OPTION PACKAGE
  "$wine" msiexec "$1" "$(win "$2")" /qn || fail "msiexec $1 $2 exited with $?"
}
ours() {  # the values of the classes root (both views) that name ours, one a line
  "$wine" reg export HKCR "$(win "$work/$1.reg")" /y /reg:64 > /dev/null ||
    fail "$1: reg export exited with $?"
  iconv -f UTF-16 -t UTF-8 "$work/$1.reg" > "$work/$1.utf8" || fail "$1: the export is not UTF-16"
  tr -d '\r' < "$work/$1.utf8" > "$work/$1.all"
  awk '/^\[/ { key = $0; next } NF { print key " " $0 }' "$work/$1.all" |
    grep -i -e 'Veltrano\.VeltranoModule' -e "$clsid" -e "$libid" -e "$iid" -e 'Veltrano\.dll' |
    sort > "$work/$1.txt" || true
}
products() {  # the products installed by the package's name
  grep -c "\"ProductName\"=\"$product\"" "$work/$1.all" || true
}
entry() {  # VALUE of the package's entry in the installed programs' list (either view)
  for view in 64 32; do
    "$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s /reg:$view 2> /dev/null
  done | tr -d '\r' | awk -v name="$product" -v value="$1" '
      /^HKEY/ { if (found) exit; shown = "" }
      $1 == "DisplayName" { sub(/^ *DisplayName +REG_SZ +/, ""); found = ($0 == name) }
      $1 == value { sub(/^ *[^ ]+ +REG_[A-Z_]+ +/, ""); shown = $0 }
      END { if (found) print shown }'
}
shortcuts() { find "$WINEPREFIX/drive_c" -name Rostavel.lnk | wc -l; }
printf 'Set objModule = CreateObject("Veltrano.VeltranoModule")\r\nWScript.Echo "created"\r\n' \
  > "$work/create.vbs"
printf '%s\n' '{"title": " Veltrano - WARNING", "style": 16, "text": "Veltrano can be referenced only by iFix !\r\nNo translation will be executed...", "answer": "ok"}' \
  > "$work/box.json"
creates() {  # a script host of the server's bitness creates the object
  rm -f "$work/transcript.jsonl"
  VELTRANO_BATCH=1 VELTRANO_TRANSCRIPT=$(win "$work/transcript.jsonl") \
    "$wine" cscript //nologo "$(win "$work/create.vbs")" > "$work/out.txt" 2> "$work/err.txt" ||
    fail "$1: cscript: $(cat "$work/out.txt" "$work/err.txt")"
  [ "$(tr -d '\r' < "$work/out.txt")" = created ] || fail "$1: $(cat "$work/out.txt")"
  diff "$work/box.json" "$work/transcript.jsonl" || fail "$1: not the host check's one box"
}

ours before
[ ! -s "$work/before.txt" ] || fail "registered before the install: $(cat "$work/before.txt")"
msiexec /i "$packages/$name.msi"

# The installed tree, byte for byte, and what users need in it.
diff -r "$stage" "$folder" || fail "the installed files differ from the installed tree"
for file in Veltrano.dll Rostavel.exe Kelmora/Veltrano.xls Kelmora/Veltrano_Alm.xls \
  Kelmora/Veltrano.ini Kelmora/modInterpreter.bas Veltrano.UserGuide-EN.pdf \
  Veltrano.GuidaUtente-IT.pdf EULA-EN.txt; do
  [ -f "$folder/$file" ] || fail "not installed: $file"
done
[ ! -e "$folder/FIX.exe" ] || fail "the sample host was installed"
[ "$(shortcuts)" -eq 1 ] || fail "no shortcut to Rostavel in the Start menu"
# The installed programs' list names the architecture, the folder and the size.
[ "$(entry InstallLocation)" = "C:\\$program_files\\Veltrano\\" ] ||
  fail "the installed programs' list gives the folder as [$(entry InstallLocation)]"
size=$(du -sk --apparent-size "$stage" | cut -f1)
listed=$(entry Size)
[ -n "$listed" ] && [ "$listed" -ge $((size * 9 / 10)) ] && [ "$listed" -le $((size * 11 / 10 + 1)) ] ||
  fail "the installed programs' list gives the size as [$listed] kB for a tree of $size kB"

ours installed
grep -qiF "InprocServer32] @=\"$(printf '%s' "$dll" | sed 's/\\/\\\\/g')\"" "$work/installed.txt" ||
  fail "the class's server is not the installed DLL: $(cat "$work/installed.txt")"
creates "installed"

mkdir "$work/app"
"$wine" "$folder/Rostavel.exe" --batch --folder "$(win "$work/app")" > /dev/null 2>&1 ||
  fail "Rostavel.exe --batch from the install folder exited with $?"
for file in Veltrano.xls Veltrano_Alm.xls Veltrano.ini modInterpreter.bas; do
  cmp -s "$folder/Kelmora/$file" "$work/app/Veltrano/$file" || fail "Rostavel did not deploy $file"
done

# regsvr32 /u removes the package's rows, regsvr32 writes them back as they were.
"$wine" regsvr32 /s /u "$dll" || fail "regsvr32 /u $dll"
ours unregistered
[ ! -s "$work/unregistered.txt" ] || fail "regsvr32 /u left: $(cat "$work/unregistered.txt")"
"$wine" regsvr32 /s "$dll" || fail "regsvr32 $dll"
ours regsvr32
diff -u "$work/installed.txt" "$work/regsvr32.txt" ||
  fail "the package's registry rows differ from regsvr32's (- package, + regsvr32)"

# A higher version made from the same source, with a changed file.
next="$version.1"
cp -r "$stage" "$work/next"
printf 'Version %s\r\n' "$next" >> "$work/next/EULA-EN.txt"
(cd "$work/next" && "$wixl" -a "$arch" -D Version="$next" -I "$packages/wix" \
  -o "$work/next.msi" "$packages/wix/Veltrano.wxs") || fail "wixl for version $next"
msiexec /i "$work/next.msi"
cmp -s "$work/next/EULA-EN.txt" "$folder/EULA-EN.txt" || fail "the upgrade did not install its files"
ours upgraded
[ "$(products upgraded)" -eq 1 ] || fail "not one product after the upgrade: $(products upgraded)"
grep -q '"PackageName"="next.msi"' "$work/upgraded.all" || fail "the product is not the upgrade's"
diff -u "$work/installed.txt" "$work/upgraded.txt" || fail "the upgrade's registry rows differ"

msiexec /x "$work/next.msi"
[ -z "$(find "$WINEPREFIX/drive_c/$program_files" -path '*Veltrano*' -type f)" ] ||
  fail "files left: $(find "$WINEPREFIX/drive_c/$program_files" -path '*Veltrano*' -type f)"
[ "$(shortcuts)" -eq 0 ] || fail "the shortcut is left"
ours removed
[ ! -s "$work/removed.txt" ] || fail "keys left: $(cat "$work/removed.txt")"
[ "$(products removed)" -eq 0 ] || fail "the product is still installed"

# The zip: the same tree, registered where it was unpacked.
mkdir "$work/zip"
(cd "$work/zip" && cmake -E tar xf "$packages/$name.zip") || fail "unpacking $name.zip"
diff -r "$stage" "$work/zip/Veltrano" || fail "the zip does not hold the installed tree"
"$wine" regsvr32 /s "$(win "$work/zip/Veltrano/Veltrano.dll")" || fail "regsvr32 from the zip"
creates "unpacked"

# The sample host, with the server from the zip.
samplehost=Veltrano-$version-samplehost-$arch
(cd "$work/zip" && cmake -E tar xf "$packages/$samplehost.zip") || fail "unpacking $samplehost.zip"
sample=$work/zip/Veltrano-samplehost
for file in FIX.exe pictures/Main.grf pictures/Veltrano/Veltrano.xls \
  pictures/Veltrano/Veltrano_Alm.xls pictures/Veltrano/Veltrano.ini forms/frmSettings.frm.json \
  alarms.csv scripts/sample_steps.vbs scripts/run_sample_steps.cmd scripts/translate_main.vbs \
  scripts/beside_fix.vbs; do
  [ -f "$sample/$file" ] || fail "not in $samplehost.zip: $file"
done
"$wine" "$sample/FIX.exe" --batch --pictures "$(win "$sample/pictures")" \
  translate-string Start --lang 2 > "$work/out.txt" 2> "$work/err.txt" ||
  fail "FIX.exe of the sample host: $(cat "$work/err.txt")"
[ "$(cat "$work/out.txt")" = Starten ] || fail "FIX.exe translated Start as [$(cat "$work/out.txt")]"

# The sample's steps on a copy of their own: the same lines each time, the
# sample itself left as it was.
cp -r "$sample" "$work/sample-before"
for run in 1 2; do
  "$wine" cmd /c "$(win "$sample/scripts/run_sample_steps.cmd")" > "$work/steps$run.txt" \
    2> "$work/steps$run.err" || fail "run_sample_steps.cmd, run $run: $(cat "$work/steps$run.err")"
done
grep -q '^== Change the development language' "$work/steps1.txt" ||
  fail "run_sample_steps.cmd did not run the steps: $(cat "$work/steps1.txt" "$work/steps1.err")"
cmp -s "$work/steps1.txt" "$work/steps2.txt" || fail "the sample steps answered otherwise the second time"
diff -r "$work/sample-before" "$sample" || fail "the sample steps changed the sample"

"$wine" regsvr32 /s /u "$(win "$work/zip/Veltrano/Veltrano.dll")" || fail "regsvr32 /u from the zip"
ours unzipped
[ ! -s "$work/unzipped.txt" ] || fail "regsvr32 /u left: $(cat "$work/unzipped.txt")"
echo "$name.msi installed, registered as regsvr32 does, upgraded and removed without a trace;" \
  "the zips unpack to the installed tree and run"
