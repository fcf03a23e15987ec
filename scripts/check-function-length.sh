#!/bin/sh
# check-function-length.sh [--max N] FOLDER...
# Fails when a C++ function defined under one of the folders (relative to the
# repository, e.g. platform/workbook) has a body of more than N lines (80):
# such a function wants splitting into named steps.
# Lines are counted as clang-tidy's readability-function-size counts them
# (the closing brace's line less the opening one's), so that the .clang-tidy
# beside the code and this check agree; universal-ctags finds the functions.
set -eu
max=80
if [ "${1:-}" = "--max" ]; then
  max=$2
  shift 2
fi
[ $# -gt 0 ] || {
  echo "usage: $0 [--max N] FOLDER..." >&2
  exit 2
}
cd "$(dirname "$0")/.."
command -v ctags > /dev/null || {
  echo "ctags (universal-ctags) is missing" >&2
  exit 2
}

files=$(find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
[ -n "$files" ] || {
  echo "no C++ sources under $*" >&2
  exit 2
}

# One line a function: its name's line, its closing brace's line, name, file.
# shellcheck disable=SC2086
ctags -x --_xformat='%{line} %{end} %N %F' --kinds-C++=f --fields=+ne --language-force=C++ \
  -o - $files |
  awk -v max="$max" '
    # The line of the opening brace: the first from the name on that ends
    # with one (a comment after it ignored).
    function brace_line(file, from,    n, text) {
      n = 0
      while ((getline text < file) > 0) {
        if (++n < from) continue
        sub(/[ \t]*\/\/.*$/, "", text)
        if (text ~ /\{[ \t]*$/) break
      }
      close(file)
      return n
    }
    NF >= 4 && $2 > $1 {
      lines = $2 - brace_line($4, $1)
      if (lines > max) {
        printf "%s:%s: %s has %d lines, more than %d: split it into named steps\n", $4, $1, $3, lines, max
        found = 1
      }
    }
    END { exit found }
  '
