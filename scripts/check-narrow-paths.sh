#!/bin/sh
# check-narrow-paths.sh SOURCE_DIR WINDOWS_BUILD_DIR [NINJA]
# The rule of docs/architecture.md ("Unicode on Windows"): in what the Windows
# build compiles of library/, platform/, host/, wizard/, dict/, tools/ and
# tests/support/ (sources and the headers they include, as ninja recorded
# them), no text reaches the system through the ANSI code page. A line that
# must keep a pattern says why with "unicode-ok:".
set -eu
source_dir=$1 build_dir=$2 ninja=${3:-ninja}

source_dir=$(realpath "$source_dir")
files=$("$ninja" -C "$build_dir" -t deps | sed -n 's/^  *//p' | sort -u |
  (cd "$build_dir" && xargs -r realpath -m) |
  grep -E "^$source_dir/(library|platform|host|wizard|dict|tools|tests/support)/" | sort -u)
[ -n "$files" ] || {
  echo "no sources recorded in $build_dir: build it first" >&2
  exit 1
}

found=0
# check PATTERN WHAT: every line matching PATTERN is reported with WHAT.
check() {
  # shellcheck disable=SC2086
  hits=$(grep -nE "$1" $files | grep -v 'unicode-ok:' || true)
  if [ -n "$hits" ]; then
    printf '%s\n' "$hits" | sed "s|^$source_dir/||; s|\$|    <- $2|"
    found=1
  fi
}
check '\.(generic_)?string\(\)' 'path::string(): use system::Utf8FromPath'
check '\b(std::)?(getenv|_wgetenv)\(' 'getenv: use system::EnvironmentVariable'
check '\b(fopen|freopen|_popen|popen|_?stat|_stati?64)\(' 'a narrow CRT file function: use Env, or a std::filesystem::path'
check 'CLI::Existing(File|Directory|Path)' "CLI11's path check: use ui::ExistingFile / ExistingDirectory"
check '\b[A-Z][A-Za-z0-9]*[a-z0-9]A\(' 'a narrow (...A) Win32 function: use the W one'
# A program's main() hands on its words through Utf8Arguments.
for file in $(grep -lE '\bmain\(int [a-z_]+, char' $files || true); do
  grep -q 'Utf8Arguments' "$file" || {
    echo "${file#"$source_dir"/}: main() without system::Utf8Arguments"
    found=1
  }
done
if [ "$found" -ne 0 ]; then
  echo "FAILED: text reaches Windows through the ANSI code page (see docs/architecture.md)" >&2
  exit 1
fi
echo "$(echo "$files" | wc -l) files of the Windows build keep to UTF-8 and UTF-16"
