#!/bin/sh
# Rostavel.exe --batch under Wine against the Linux Rostavel, run for run:
# the same exit statuses, the same output on redirected streams, the same
# transcript lines (the folders aside), the same files byte for byte, and the
# log beside each program.
# rostavel_windows_test.sh WINE WINDOWS_BIN LINUX_BUILD WORK
set -u
wine=$1
windows_bin=$2
linux_build=$3
work=$4
. "$(dirname "$0")/../support/wine_script.sh"
wine_script_start "$work"
[ -x "$linux_build/bin/Rostavel" ] || { echo "SKIPPED: no Linux build in $linux_build"; exit 0; }

# Each program from a folder of its own with the Linux build's templates.
setup() {  # setup NAME
  mkdir -p "$work/$1/linux" "$work/$1/windows" "$work/$1/pictures-linux" "$work/$1/pictures-windows"
  cp "$linux_build/bin/Rostavel" "$work/$1/linux/"
  cp -r "$linux_build/bin/Kelmora" "$work/$1/linux/"
  cp "$windows_bin/Rostavel.exe" "$windows_bin"/*.dll "$work/$1/windows/" 2>/dev/null
  cp -r "$windows_bin/Kelmora" "$work/$1/windows/"
}

# Transcript lines with each run's own folders named alike, and the time of a
# report left out (each platform writes it in its own regional format).
normalised() {  # normalised FILE PICTURES PROGRAM
  [ -f "$1" ] || return 0
  sed -e "s|$(win "$2" | sed 's/\\/\\\\\\\\/g')|PICTURES|g" -e "s|$2|PICTURES|g" \
      -e "s|$(win "$3" | sed 's/\\/\\\\\\\\/g')|PROGRAM|g" -e "s|$3|PROGRAM|g" \
      -e 's|\\\\|/|g' -e 's| Rostavel - [^\\]*\\r\\n| Rostavel - TIME\\r\\n|' "$1"
}

run_both() {  # run_both NAME ARGS...
  name=$1
  shift
  (cd "$work/$name" && LD_LIBRARY_PATH="$linux_build/lib" ./linux/Rostavel --batch \
    --folder "$work/$name/pictures-linux" --transcript "$work/$name/linux.jsonl" "$@" \
    >"$work/$name/linux.out" 2>"$work/$name/linux.err")
  linux_status=$?
  (cd "$work/$name" && "$wine" ./windows/Rostavel.exe --batch \
    --folder "$(win "$work/$name/pictures-windows")" \
    --transcript "$(win "$work/$name/windows.jsonl")" "$@" \
    >"$work/$name/windows.out" 2>"$work/$name/windows.err")
  windows_status=$?
  [ "$linux_status" = "$windows_status" ] ||
    fail "$name: exit status $linux_status on Linux, $windows_status under Wine: $(cat "$work/$name/windows.err")"
  # A failure's description is each system's own.
  if ! grep -q 'error in' "$work/$name/linux.err"; then
    for stream in out err; do
      cmp -s "$work/$name/linux.$stream" "$work/$name/windows.$stream" ||
        fail "$name: std$stream differs: $(diff "$work/$name/linux.$stream" "$work/$name/windows.$stream")"
    done
  fi
  normalised "$work/$name/linux.jsonl" "$work/$name/pictures-linux" "$work/$name/linux" \
    >"$work/$name/linux.lines"
  normalised "$work/$name/windows.jsonl" "$work/$name/pictures-windows" "$work/$name/windows" \
    >"$work/$name/windows.lines"
  cmp -s "$work/$name/linux.lines" "$work/$name/windows.lines" ||
    fail "$name: transcripts differ: $(diff "$work/$name/linux.lines" "$work/$name/windows.lines")"
  for file in Veltrano.xls Veltrano_Alm.xls Veltrano.ini modInterpreter.bas; do
    linux_file="$work/$name/pictures-linux/Veltrano/$file"
    windows_file="$work/$name/pictures-windows/Veltrano/$file"
    if [ -e "$linux_file" ] || [ -e "$windows_file" ]; then
      cmp -s "$linux_file" "$windows_file" || fail "$name: $file differs"
    fi
  done
  echo "$name: status $linux_status on both"
}

# The templates are the same bytes on both builds.
for file in Veltrano.xls Veltrano_Alm.xls Veltrano.ini modInterpreter.bas; do
  cmp -s "$linux_build/bin/Kelmora/$file" "$windows_bin/Kelmora/$file" ||
    fail "Kelmora/$file of the Windows build differs from the Linux one"
done

setup new
run_both new
[ "$linux_status" = 0 ] || fail "new: status $linux_status"
for file in Veltrano.xls Veltrano_Alm.xls Veltrano.ini modInterpreter.bas; do
  cmp -s "$windows_bin/Kelmora/$file" "$work/new/pictures-windows/Veltrano/$file" ||
    fail "new: $file is not the template"
done

# A second run on the same folders, No to every question.
run_both new --answers no,no,no,no

setup configuration
run_both configuration --files configuration

setup missing
rm "$work/missing/linux/Kelmora/modInterpreter.bas" "$work/missing/windows/Kelmora/modInterpreter.bas"
run_both missing
[ "$linux_status" = 1 ] || fail "missing: status $linux_status"
[ -s "$work/missing/windows/Rostavel.log" ] || fail "missing: no Rostavel.log beside Rostavel.exe"
grep -q ';frmRostavel;cmdConfirm_Click;' "$work/missing/windows/Rostavel.log" ||
  fail "missing: $(cat "$work/missing/windows/Rostavel.log")"
echo PASSED
