#!/bin/sh
# wine_template.sh WINE TEMPLATE PREFIX
# The Windows tests' Wine, made once a run: a pristine prefix that the tests
# needing one of their own copy (wine_prefix_clone.sh), and the suite's
# shared prefix copied from it.
set -eu
wine=$1 template=$2 prefix=$3
rm -rf "$template" "$prefix"
WINEPREFIX=$template "$wine" wineboot -i
# The prefix whole (its first session ended) before anything copies it.
WINEPREFIX=$template "$(dirname "$wine")/wineserver" -w
sh "$(dirname "$0")/wine_prefix_clone.sh" "$template" "$prefix"
