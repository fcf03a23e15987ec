#!/bin/sh
# Rostavel.exe, a program with windows, run with --batch from a console (a
# Command Prompt window: console_parent.exe) writes what it writes there and
# exits with the status it always had, the same as the Linux Rostavel on a
# terminal; and it is built as a program of the Windows GUI subsystem, which opens
# no console window of its own.
# rostavel_console_test.sh WINE OBJDUMP WINDOWS_BIN LINUX_BUILD WORK   (inside xvfb-run)
set -u
wine=$1 objdump=$2 windows_bin=$3 linux_build=$4 work=$5
. "$(dirname "$0")/../support/wine_script.sh"
wine_script_start "$work"
"$objdump" -p "$windows_bin/Rostavel.exe" | grep -q '^Subsystem[[:space:]]*00000002[[:space:]]*(Windows GUI)' ||
  fail "Rostavel.exe is not a Windows GUI program: $("$objdump" -p "$windows_bin/Rostavel.exe" | grep Subsystem)"
[ -x "$linux_build/bin/Rostavel" ] || { echo "SKIPPED: no Linux build in $linux_build"; exit 0; }

mkdir -p "$work/linux" "$work/windows" "$work/linux-pictures" "$work/windows-pictures"
cp "$linux_build/bin/Rostavel" "$work/linux/"
cp -r "$linux_build/bin/Kelmora" "$work/linux/"
cp "$windows_bin/Rostavel.exe" "$work/windows/"
cp -r "$windows_bin/Kelmora" "$work/windows/"

# case_ NAME STATUS ARGS...: both programs, each in a pictures folder of its
# own; what the console shows is what the Linux one writes on its terminal.
case_() {
  name=$1 status=$2
  shift 2
  (cd "$work/linux-pictures" && LD_LIBRARY_PATH="$linux_build/lib" "$work/linux/Rostavel" "$@" \
    > "$work/$name.linux" 2>&1)
  linux_status=$?
  (cd "$work/windows-pictures" && "$wine" "$windows_bin/console_parent.exe" \
    "$(win "$work/windows/Rostavel.exe")" "$@" > "$work/$name.console")
  console_status=$?
  [ "$linux_status" = "$status" ] || fail "$name: status $linux_status on Linux"
  [ "$console_status" = "$status" ] ||
    fail "$name: status $console_status from the console: $(cat "$work/$name.console")"
  cmp -s "$work/$name.linux" "$work/$name.console" ||
    fail "$name: the console shows otherwise: $(diff "$work/$name.linux" "$work/$name.console")"
  echo "$name: status $status, the same text"
}

case_ help 0 --help
case_ wrong 2 --files nothing
case_ new 0 --batch --folder .
case_ again 0 --batch --folder . --answers no,yes,no
# A failure reported: the Windows description of the missing file is Windows'.
rm "$work/windows/Kelmora/modInterpreter.bas"
(cd "$work" && "$wine" "$windows_bin/console_parent.exe" "$(win "$work/windows/Rostavel.exe")" \
  --batch --folder "$(win "$work")" > "$work/missing.console")
status=$?
[ "$status" = 1 ] || fail "missing: status $status from the console"
grep -q '^Rostavel: error in frmRostavel.cmdConfirm_Click: ' "$work/missing.console" ||
  fail "missing: the console shows $(cat "$work/missing.console")"
echo PASSED
