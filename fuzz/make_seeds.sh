#!/usr/bin/env bash
# Regenerates the reader's seed corpus: one workbook LibreOffice writes from
# seeds/small.fods, and one our engine creates and grows.
# Usage: fuzz/make_seeds.sh BUILD_DIR
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "$1" && pwd)"
out="$here/corpus/workbook"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
soffice -env:UserInstallation="file://$work/profile" --headless --convert-to xls \
  --outdir "$work" "$here/seeds/small.fods" >/dev/null 2>&1
cp "$work/small.xls" "$out/libreoffice-small.xls"
"$build/bin/workbook_tool" create "$out/dictionary.xls" Dictionary Language_1 Language_2
"$build/bin/workbook_tool" append "$out/dictionary.xls" Dictionary 1 "Zeile " 3
# Grown past the size that is saved in place, with the room INDEX keeps.
"$build/bin/workbook_tool" create "$out/grown.xls" Dictionary Language_1 Language_2 Language_3
"$build/bin/workbook_tool" append "$out/grown.xls" Dictionary 2 "Text é " 150
