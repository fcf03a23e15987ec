#!/bin/sh
# wine_prefix_clone.sh TEMPLATE PREFIX
# A fresh Wine prefix in a moment and for a few megabytes: Wine's own
# programs and libraries, nearly all of a prefix's 1.3 GB, are hard links to
# the template's, which nothing writes; every other file is a copy, since
# wineserver rewrites a registry file that has more than one link in place.
set -eu
template=$1 prefix=$2
[ -f "$template/system.reg" ] || { echo "no Wine prefix to copy at $template" >&2; exit 1; }
rm -rf "$prefix"
cp -al "$template" "$prefix"
find "$prefix" -type f ! -name '*.dll' ! -name '*.exe' -exec sh -c '
  for file; do cp -p "$file" "$file.copy" && mv -f "$file.copy" "$file"; done' sh {} +
