#!/bin/sh
# wine_prefix_remove.sh WINE PREFIX...
# Removes the suite's prefixes at the end of a run. A session that is still
# closing keeps writing its registry files for a moment, so each prefix's
# wineserver is ended and waited for first, and a removal that races it is
# tried again.
set -u
wineserver="$(dirname "$1")/wineserver"
[ -x "$wineserver" ] || wineserver=wineserver
shift
status=0
for prefix in "$@"; do
  [ -d "$prefix" ] || continue
  WINEPREFIX=$prefix "$wineserver" -k 2> /dev/null || true
  WINEPREFIX=$prefix "$wineserver" -w 2> /dev/null || true
  tries=0
  until rm -rf "$prefix" 2> /dev/null && [ ! -e "$prefix" ]; do
    tries=$((tries + 1))
    if [ "$tries" -ge 20 ]; then
      echo "cannot remove $prefix" >&2
      status=1
      break
    fi
    sleep 0.5
  done
done
exit $status
