#!/bin/sh
# The Windows FIX.exe run as a person runs it, without --batch, under Wine on
# a virtual display: update-dictionary shows the dialog, its buttons are
# pressed from another process (press_window.exe), and the outcome message
# comes; with ShowInfoPanelOnStartup=Y creating the interpreter shows the
# panel, which waits for Ok. The boxes are read back from the transcript.
# interactive_fix_exe_test.sh WINE BIN EXAMPLES WORK   (inside xvfb-run)
set -eu
wine=$1 bin=$2 examples=$3 work=$4
. "$(dirname "$0")/../support/wine_script.sh"
wine_script_start "$work"
pictures=$work/pictures
cp -r "$examples/pictures" "$pictures"
"$wine" "$bin/make-dictionary.exe" "$(win "$examples/source/Veltrano.csv")" \
  "$(win "$pictures/Veltrano/Veltrano.xls")" > /dev/null
"$wine" "$bin/make-dictionary.exe" "$(win "$examples/source/Veltrano_Alm.csv")" \
  "$(win "$pictures/Veltrano/Veltrano_Alm.xls")" > /dev/null
"$wine" regsvr32 /s "$(win "$bin/Veltrano.dll")" || fail "regsvr32"
transcript=$work/transcript.jsonl
press() { "$wine" "$bin/press_window.exe" "$@" || fail "press_window $*"; }

# The dialog: Ok with nothing checked is refused, then Check all and Ok run
# the update; its closing message is answered.
"$wine" "$bin/FIX.exe" --transcript "$(win "$transcript")" --pictures "$(win "$pictures")" \
  update-dictionary > "$work/out.txt" 2> "$work/err.txt" &
fix=$!
dialog=" Veltrano - Update and verify dictionary (only pictures)"
press "$dialog" cmdUpdateDictionary
press " Veltrano - Warning" ok
press "$dialog" cmdCheckAll cmdUpdateDictionary
# The run's notices and its outcome, each answered OK until FIX.exe ends.
while kill -0 $fix 2>/dev/null; do
  "$wine" "$bin/press_window.exe" --wait=2 " Veltrano - *" ok 2>/dev/null || true
done
wait $fix || fail "FIX.exe update-dictionary: $(cat "$work/err.txt")"
grep -q '"form": "frmUpdateDictionary"' "$transcript" || fail "no dialog: $(cat "$transcript")"
grep -q 'You must select one or more pictures !' "$transcript" || fail "no refusal: $(cat "$transcript")"
tail -n 1 "$transcript" | grep -q -e 'has been UPDATED' -e 'translations' ||
  fail "no outcome: $(tail -n 1 "$transcript")"

# The panel at creation waits for Ok.
sed -i 's/^ShowInfoPanelOnStartup=N/ShowInfoPanelOnStartup=Y/' "$pictures/Veltrano/Veltrano.ini"
: > "$transcript"
"$wine" "$bin/FIX.exe" --transcript "$(win "$transcript")" --pictures "$(win "$pictures")" \
  translate-string Start --lang 2 > "$work/out.txt" 2> "$work/err.txt" &
fix=$!
press "" cmdOk
wait $fix || fail "FIX.exe translate-string: $(cat "$work/err.txt")"
grep -q '"form": "frmSplash"' "$transcript" || fail "no panel: $(cat "$transcript")"
"$wine" regsvr32 /s /u "$(win "$bin/Veltrano.dll")"
echo PASSED
