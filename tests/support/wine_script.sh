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
