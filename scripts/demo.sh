#!/usr/bin/env bash
# The sample application, run on a copy of examples/: registers the library
# in a private class registry, makes the dictionaries from their readable
# sources, and drives FIX.exe through the host's commands. Then Rostavel
# prepares a new application unattended, and FIX.exe translates there. When
# Wine and the Windows build are there, the Windows FIX.exe runs the host
# scripts in VBScript on a fresh copy, with Veltrano.dll registered by regsvr32.
set -euo pipefail
build=${1:-build/default}
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/$build/bin"
lib="$root/$build/lib"

work=$(mktemp -d "${TMPDIR:-/tmp}/veltrano-demo.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp -r "$root/examples/pictures" "$work/pictures"
cp -r "$root/examples/forms" "$work/forms"
"$bin/make-dictionary" "$root/examples/source/Veltrano.csv" "$work/pictures/Veltrano/Veltrano.xls"
"$bin/make-dictionary" "$root/examples/source/Veltrano_Alm.csv" \
  "$work/pictures/Veltrano/Veltrano_Alm.xls"
export VELTRANO_CLASS_REGISTRY="$work/classes.json"

fix() { "$bin/FIX.exe" --batch --transcript "$work/transcript.jsonl" --pictures "$work/pictures" "$@"; }
step() { printf '\n== %s\n' "$*"; }

step "Register the server library"
"$bin/FIX.exe" regsvr "$lib/libveltrano.so"

step "Users and their languages (Veltrano.ini)"
for user in OPERATOR MANUTENTORE ENGINEER VISITOR; do
  printf '%-12s -> GlobalLangNum ' "$user"
  fix set-user-lang "$user"
done

step "Single strings, outer blanks kept"
for lang in 2 3; do
  printf 'Language_%s: [%s]\n' "$lang" "$(fix translate-string '  Boiler overview ' --lang "$lang")"
done
printf 'Language_3, no translation yet: [%s]\n' "$(fix translate-string 'Password' --lang 3)"
printf 'Not in the dictionary (appended): [%s]\n' "$(fix translate-string 'Steam drum' --lang 2)"

step "Alarm list translated into Language_2 (column 2)"
fix translate-alarms "$root/examples/alarms.csv" --field 2 --lang 2

step "The picture Main as drawn (Language_1)"
fix translate-picture Main --lang 1

step "The picture Main in Language_2, saved"
fix translate-picture Main --lang 2 --save

step "The picture Main for the user MANUTENTORE (Language_3), from its marker 2"
fix translate-picture Main --user MANUTENTORE

step "The form frmSettings in Language_2 (MultiPage pages, frames, an unlisted tab strip)"
fix translate-form "$work/forms/frmSettings.frm.json" --lang 2

step "Everything open at once back into GlobalLangNum (the starting language, 1)"
fix translate-all --open Main --open Prefixed --form "$work/forms/frmSettings.frm.json"

step "A host script (Lua): MANUTENTORE's language, the picture Main and a form"
fix run "$root/examples/scripts/translate_main.lua" MANUTENTORE "$work/forms/frmLogin.frm.json"

# The windows and message boxes a maintenance command showed (new transcript lines).
shown_since() { tail -n "+$(($1 + 1))" "$work/transcript.jsonl"; }
lines() { wc -l <"$work/transcript.jsonl" 2>/dev/null || echo 0; }

step "Update and verify the dictionary for Language_3, every picture checked (batch dialog)"
mark=$(lines)
fix --select '*' --lang-number 3 --answers ok,ok update-dictionary
shown_since "$mark"

step "Make Language_3 the development language: the check pass finds translations missing"
mark=$(lines)
fix --select '*' --lang-number 3 --answers yes,yes,ok change-dev-lang
shown_since "$mark"

step "Make Language_2 the development language: both passes, the pictures saved in Language_2"
mark=$(lines)
fix --select '*' --lang-number 2 --answers yes,yes,ok change-dev-lang
shown_since "$mark"
grep -E '^(DevelopmentLanguageNumber|StartingLanguageNumber)=' "$work/pictures/Veltrano/Veltrano.ini"
fix translate-picture Prefixed --lang 2

step "The configuration in the editor (batch: recorded, not started)"
mark=$(lines)
fix show-config
shown_since "$mark"

step "Message boxes the run showed"
cat "$work/transcript.jsonl" 2>/dev/null || echo "(none)"

step "Rostavel prepares a new application, unattended"
mkdir "$work/new-app"
"$bin/Rostavel" --batch --answers ok --folder "$work/new-app" --transcript "$work/rostavel.jsonl"
ls "$work/new-app/Veltrano"
cat "$work/rostavel.jsonl"

step "The new application is ready: a text met there is appended to its dictionary"
new_app() {
  "$bin/FIX.exe" --batch --answers ok --transcript "$work/new-app.jsonl" --pictures "$work/new-app" "$@"
}
printf 'Language_2, not translated yet: [%s]\n' "$(new_app translate-string "Boiler overview" --lang 2 --warn)"
# Only an object that started Ready on the new folder warns about the text it appended.
cat "$work/new-app.jsonl"

step "The Windows builds under Wine: the host scripts in VBScript"
# Each architecture's programs under the Wine loader of their bitness, in one
# 64-bit prefix, as on a 64-bit Windows.
export WINEPREFIX="$work/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= DISPLAY=
win() { printf 'Z:%s' "$1" | tr / '\\'; }
ran=
for arch in x64 x86; do
  windows_bin="$root/build/windows-$arch/bin"
  if [ "$arch" = x64 ]; then wine=/usr/lib/wine/wine64; else wine=/usr/lib/wine/wine; fi
  if [ ! -x "$wine" ] || [ ! -x "$windows_bin/FIX.exe" ]; then
    echo "($arch skipped: it needs $wine and build/windows-$arch, made by cmake --preset windows-$arch)"
    continue
  fi
  [ -n "$ran" ] || "$wine" wineboot -i > /dev/null 2>&1
  ran=1
  copy="$work/windows-$arch"
  mkdir "$copy"
  cp -r "$root/examples/pictures" "$copy/pictures"
  cp -r "$root/examples/forms" "$copy/forms"
  "$bin/make-dictionary" "$root/examples/source/Veltrano.csv" "$copy/pictures/Veltrano/Veltrano.xls"
  "$bin/make-dictionary" "$root/examples/source/Veltrano_Alm.csv" \
    "$copy/pictures/Veltrano/Veltrano_Alm.xls"
  "$wine" regsvr32 /s "$(win "$windows_bin/Veltrano.dll")"
  echo "regsvr32 Veltrano.dll ($arch): registered"
  windows_fix() {
    "$wine" "$windows_bin/FIX.exe" --batch --transcript "$(win "$copy/transcript.jsonl")" \
      --pictures "$(win "$copy/pictures")" "$@" | tr -d '\r'
  }
  echo "-- $arch: translate_main.vbs MANUTENTORE frmLogin"
  windows_fix run "$(win "$root/examples/scripts/translate_main.vbs")" MANUTENTORE \
    "$(win "$copy/forms/frmLogin.frm.json")"
  echo "-- $arch: sample_steps.vbs (the same steps as sample_steps.lua)"
  windows_fix --select '*' --lang-number 3 --answers ok,ok,ok,ok,ok,ok,yes,yes,ok,ok,ok,ok \
    run "$(win "$root/examples/scripts/sample_steps.vbs")" \
    "$(win "$copy/forms/frmSettings.frm.json")" "$(win "$copy/forms/frmLogin.frm.json")" \
    "$(win "$root/examples/alarms.csv")" "$(win "$copy/alarms.csv")"
  "$wine" regsvr32 /s /u "$(win "$windows_bin/Veltrano.dll")"
  echo "regsvr32 /u Veltrano.dll ($arch): unregistered"
done
