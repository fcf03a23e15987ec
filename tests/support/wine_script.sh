# Sourced by the shell tests under Wine: a fresh work folder, Wine's name of
# a Linux path, and a failure that stops the test.
# wine_script_start WORK
wine_script_start() {
  rm -rf "$1"
  mkdir -p "$1"
}
win() { printf 'Z:%s' "$1" | tr / '\\'; }
fail() {
  echo "FAILED: $*" >&2
  exit 1
}
# wine_prefix_own WINE PREFIX: the test's own Wine prefix, copied from the
# run's template (VELTRANO_WINE_TEMPLATE), and its server in $wineserver. The
# test's exit trap calls wine_prefix_end: a test that passes leaves no prefix.
wine_prefix_own() {
  wineserver="$(dirname "$1")/wineserver"
  [ -x "$wineserver" ] || wineserver=wineserver
  WINEPREFIX=$2
  export WINEPREFIX
  sh "$(dirname "$0")/../support/wine_prefix_clone.sh" \
    "${VELTRANO_WINE_TEMPLATE:?the Wine template of the run is not named}" "$2" || fail "no copy of the Wine template"
}
# wine_prefix_end STATUS: the prefix's session ends; the prefix goes if STATUS is 0.
wine_prefix_end() {
  "$wineserver" -k 2> /dev/null || true
  "$wineserver" -w 2> /dev/null || true
  [ "$1" -ne 0 ] || rm -rf "$WINEPREFIX"
}
