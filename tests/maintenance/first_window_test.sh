#!/bin/sh
# The first window of a Wine session in a fresh prefix, as a person meets it:
# the prefix copied from the run's template, the server registered, and
# FIX.exe update-dictionary without --batch shows its dialog (pressed from
# press_window.exe), then the message of Cancel, and no error box. The host's
# folder holds a DLL named comctl32.dll that is not the system's, and the
# loader prefers a DLL beside the program, as Windows does: the library must
# take the common controls from the system folder.
# first_window_test.sh WINE BIN EXAMPLES DICTIONARIES WORK   (inside xvfb-run)
set -u
wine=$1 bin=$2 examples=$3 dictionaries=$4 work=$5
. "$(dirname "$0")/../support/wine_script.sh"
wine_script_start "$work"
wine_prefix_own "$wine" "$work/prefix"
trap 'wine_prefix_end $?' EXIT

host=$work/host
mkdir -p "$host"
cp "$bin/FIX.exe" "$bin/Veltrano.dll" "$host/"
cp "$bin/Veltrano.dll" "$host/comctl32.dll"
pictures=$work/pictures
cp -r "$examples/pictures" "$pictures"
cp "$dictionaries/Veltrano.xls" "$dictionaries/Veltrano_Alm.xls" "$pictures/Veltrano/" ||
  fail "no sample dictionaries in $dictionaries"
"$wine" regsvr32 /s "$(win "$host/Veltrano.dll")" || fail "regsvr32"

transcript=$work/transcript.jsonl
WINEDLLOVERRIDES="comctl32=n,b;$WINEDLLOVERRIDES" "$wine" "$host/FIX.exe" \
  --transcript "$(win "$transcript")" --pictures "$(win "$pictures")" update-dictionary \
  > "$work/out.txt" 2> "$work/err.txt" &
fix=$!
"$wine" "$bin/press_window.exe" " Veltrano - Update and verify dictionary (only pictures)" \
  cmdCancel || fail "no dialog: $(cat "$transcript" "$work/err.txt" 2> /dev/null)"
"$wine" "$bin/press_window.exe" " Veltrano - Warning" ok ||
  fail "no message after Cancel: $(cat "$transcript" "$work/err.txt" 2> /dev/null)"
wait $fix || fail "FIX.exe update-dictionary exited with $?: $(cat "$work/err.txt")"
cat > "$work/expected.jsonl" <<'LINES'
{"form": "frmUpdateDictionary", "caption": " Veltrano - Update and verify dictionary (only pictures)"}
{"title": " Veltrano - Warning", "style": 48, "text": "Dictionary update procedure has been interrupted !", "answer": "ok"}
LINES
diff -u "$work/expected.jsonl" "$transcript" || fail "the session's first window (- expected, + got)"
[ ! -s "$work/err.txt" ] || fail "FIX.exe said: $(cat "$work/err.txt")"
echo PASSED
