#!/bin/sh
# same_workbook.sh LINUX_TOOL WINE WINDOWS_TOOL TEXTS
# Both builds of workbook_tool create a dictionary and append the same texts
# with the same saves; the two workbooks must be byte for byte the same.
set -eu
linux=$1 wine=$2 windows=$3 texts=$4
if [ ! -x "$linux" ]; then
  echo "$linux is missing: build the default preset first" >&2
  exit 1
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/vt-same-workbook.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$linux" create "$work/linux.xls" Dictionary Language_1 Language_2 Language_3
"$linux" append-lines "$work/linux.xls" Dictionary "$texts" 7
"$wine" "$windows" create "Z:$work/windows.xls" Dictionary Language_1 Language_2 Language_3
"$wine" "$windows" append-lines "Z:$work/windows.xls" Dictionary "Z:$texts" 7
cmp "$work/linux.xls" "$work/windows.xls"
echo "$(wc -c < "$work/linux.xls") bytes alike"
