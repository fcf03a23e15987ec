#!/bin/sh
# windows_fix_exe_test.sh WINE BIN EXAMPLES SCRIPTS WORK
# The Windows FIX.exe under Wine, in the test run's fresh prefix: regsvr32
# registers Veltrano.dll; a VBScript run by FIX.exe creates the interpreter
# by ProgID and reaches every public member; the one-shot commands give the
# exit statuses of the Linux build; FIX.exe regsvr -u removes the keys, and
# then the interpreter cannot be created.
set -eu
wine=$1 bin=$2 examples=$3 scripts=$4 work=$5
. "$(dirname "$0")/../support/wine_script.sh"
wine_script_start "$work"
pictures=$work/pictures
cp -r "$examples/pictures" "$pictures"
cp -r "$examples/forms" "$work/forms"
"$wine" "$bin/make-dictionary.exe" "$(win "$examples/source/Veltrano.csv")" \
  "$(win "$pictures/Veltrano/Veltrano.xls")" > /dev/null
"$wine" "$bin/make-dictionary.exe" "$(win "$examples/source/Veltrano_Alm.csv")" \
  "$(win "$pictures/Veltrano/Veltrano_Alm.xls")" > /dev/null
# fix STATUS ARGS...: runs FIX.exe in batch mode, stdout in out.txt without
# CRs, and requires the exit status.
fix() {
  want=$1
  shift
  set +e
  "$wine" "$bin/FIX.exe" --batch --transcript "$(win "$work/transcript.jsonl")" \
    --pictures "$(win "$pictures")" "$@" > "$work/raw.txt" 2> "$work/err.txt"
  got=$?
  set -e
  tr -d '\r' < "$work/raw.txt" > "$work/out.txt"
  [ "$got" -eq "$want" ] || fail "FIX.exe $* exited $got, not $want: $(cat "$work/err.txt")"
}

dll=$(win "$bin/Veltrano.dll")
"$wine" regsvr32 /s "$dll" || fail "regsvr32 $dll"

fix 0 --select '*' --lang-number 3 --answers ok,ok,yes,yes,ok,ok run "$(win "$scripts/all_members.vbs")" \
  "$(win "$work/forms/frmLogin.frm.json")" "$(win "$examples/alarms.csv")" "$(win "$work/alarms.csv")"
cat > "$work/expected.txt" << 'END'
TypeName VeltranoModule
GlobalLangNum 1
GlobalLangNum 2 Integer
GetObjectsPrefix False
GetObjectsPrefix True
TranslateString [  Starten  ]
TranslatePicture left MAIN
SetUserGlobalLang MANUTENTORE 3
TranslateForm UserForm Anmeldung
TranslateAlarmsRecordset Recordset, the list: Kesseldruck hoch
The list: Written through the result
TranslateAll 1 Anmeldung
ShowStartupConfig
UpdateAndVerifyDictionary
ChangeDevLang
Error 13 Type mismatch
Error 438
Error 429
MsgBox 1
released
END
diff -u "$work/expected.txt" "$work/out.txt" || fail "the members script (- expected, + got)"
# Batch mode starts nothing (no editor) and the library reported no failure.
! grep -q 'error in' "$work/err.txt" || fail "a failure was reported: $(cat "$work/err.txt")"
grep -q 'Boilerdruck hoch\|Kesseldruck hoch' "$work/alarms.csv" || fail "alarms not translated: $(cat "$work/alarms.csv")"
for line in '"form": "frmUpdateDictionary"' '"launch": "editor"' '"show": 3}' '"title": "Members", "style": 64, "text": "All members reached."'; do
  grep -qF "$line" "$work/transcript.jsonl" || fail "no transcript line with $line"
done

# The one-shot commands and their exit statuses.
fix 0 set-user-lang OPERATOR
[ "$(cat "$work/out.txt")" = 2 ] || fail "set-user-lang OPERATOR printed $(cat "$work/out.txt")"
fix 0 translate-string '  Start ' --lang 2
printf '  Starten \n' | cmp -s - "$work/raw.txt" || fail "translate-string printed [$(cat "$work/raw.txt")]"
fix 0 translate-alarms "$(win "$examples/alarms.csv")" --field 2 --lang 2
grep -q "$(printf 'Kesseldruck hoch,HIGH\r')\$" "$work/raw.txt" && ! grep -q "$(printf '\r\r')" "$work/raw.txt" ||
  fail "the alarm list is not CSV with CR LF: $(od -c "$work/raw.txt" | head -3)"
fix 0 translate-picture Main --lang 2
grep -q 'Starten' "$work/out.txt" || fail "translate-picture printed $(cat "$work/out.txt")"
cp "$pictures/Main.grf" "$pictures/Gamma.grf"  # one document per file, whatever the name's case
fix 0 translate-picture Gamma.GRF --lang 2 --save
grep -q 'Starten' "$work/out.txt" && grep -q 'Starten' "$pictures/Gamma.grf" || fail "Gamma.GRF printed $(cat "$work/out.txt")"
fix 2 translate-picture NoSuchPicture
fix 2 no-such-command
fix 2 translate-string Start --lang 9
printf 'Print "one"\nPrint 1 / 0\n' > "$work/fails.vbs"
fix 1 run "$(win "$work/fails.vbs")"
[ "$(cat "$work/out.txt")" = one ] || fail "the failing script printed $(cat "$work/out.txt")"
grep -q 'fails.vbs:2: Division by zero' "$work/err.txt" || fail "no place or cause: $(cat "$work/err.txt")"
printf 'Print "never"\nIf Then\n' > "$work/syntax.vbs"
fix 1 run "$(win "$work/syntax.vbs")"
[ ! -s "$work/out.txt" ] || fail "a script that does not compile ran: $(cat "$work/out.txt")"

# The pictures folder as System.FixPath(1) reports it: no trailing backslash.
printf 'Print GetObject("", "Workspace.Application").System.FixPath(1)\n' > "$work/folder.vbs"
"$wine" "$bin/FIX.exe" --batch --pictures "$(win "$pictures")\\" run "$(win "$work/folder.vbs")" |
  tr -d '\r' > "$work/out.txt"
[ "$(cat "$work/out.txt")" = "$(win "$pictures")" ] || fail "FixPath(1) is $(cat "$work/out.txt")"

fix 0 regsvr -u "$dll"
"$wine" reg query 'HKCR\Veltrano.VeltranoModule' > /dev/null 2>&1 && fail "the ProgID is still registered"
fix 1 translate-string Start --lang 2
grep -q '429' "$work/err.txt" || grep -q 'Veltrano.VeltranoModule' "$work/err.txt" ||
  fail "no word of the missing class: $(cat "$work/err.txt")"
echo "registered, every member reached from VBScript in FIX.exe, commands alike, unregistered"
