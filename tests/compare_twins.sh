#!/bin/sh
# compare_twins.sh LINUX_PROGRAM WINE WINDOWS_PROGRAM [ARGS...]
# Runs the Linux and the Windows build of one program with the same arguments
# and fails, showing the difference, unless both print the same lines.
set -eu
linux=$1 wine=$2 windows=$3
shift 3
if [ ! -x "$linux" ]; then
  echo "$linux is missing: build the default preset first" >&2
  exit 1
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/vt-twins.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$linux" "$@" > "$work/linux.txt"
"$wine" "$windows" "$@" | tr -d '\r' > "$work/windows.txt"
if ! diff -u "$work/linux.txt" "$work/windows.txt"; then
  echo "the Windows build differs from the Linux build (- Linux, + Windows)" >&2
  exit 1
fi
echo "$(wc -l < "$work/linux.txt") lines alike"
