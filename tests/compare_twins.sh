#!/bin/sh
# compare_twins.sh LINUX_PROGRAM WINE WINDOWS_PROGRAM [ARGS...]
# Runs the Linux and the Windows build of one program with the same arguments
# and fails, showing the difference, unless both print the same lines. Lines
# that begin with "~" are differences listed in docs/architecture.md: shown,
# not compared.
set -eu
linux=$1 wine=$2 windows=$3
shift 3
if [ ! -x "$linux" ]; then
  echo "$linux is missing: build the default preset first" >&2
  exit 1
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/vt-twins.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$linux" "$@" > "$work/linux.all"
"$wine" "$windows" "$@" | tr -d '\r' > "$work/windows.all"
grep -v '^~' "$work/linux.all" > "$work/linux.txt" || true
grep -v '^~' "$work/windows.all" > "$work/windows.txt" || true
echo "listed differences, on Linux:"
grep '^~' "$work/linux.all" || true
echo "and on Windows:"
grep '^~' "$work/windows.all" || true
if [ ! -s "$work/linux.txt" ] || ! diff -u "$work/linux.txt" "$work/windows.txt"; then
  echo "the Windows build differs from the Linux build (- Linux, + Windows)" >&2
  exit 1
fi
echo "$(wc -l < "$work/linux.txt") results alike"
