#!/usr/bin/env bash
# The whole suite again, built with AddressSanitizer (LeakSanitizer included)
# and UndefinedBehaviorSanitizer: any finding fails the run. Run after
# scripts/run-tests.sh, which installs what the build needs.
#
# Reports go to files, one per process: a finding in a FIX.exe that a test
# runs and expects to fail would otherwise pass as that failure.
set -euo pipefail
cd "$(dirname "$0")/.."
reports="$PWD/build/asan/sanitizer-reports"
rm -rf "$reports"
mkdir -p "$reports"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:strict_string_checks=1}:log_path=$reports/asan"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}:log_path=$reports/ubsan"
cmake --preset asan
cmake --build --preset asan
status=0
ctest --preset asan || status=$?
if [ -n "$(ls -A "$reports")" ]; then
  echo "sanitizer findings:" >&2
  for report in "$reports"/*; do
    echo "== $report" >&2
    cat "$report" >&2
  done
  exit 1
fi
exit "$status"
