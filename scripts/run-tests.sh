#!/usr/bin/env bash
# Set-up, build and the whole test suite: the Linux build, then the Windows
# build (MinGW-w64) with its tests under Wine, in a private prefix the test
# run makes (build/windows/wine-prefix), headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
ctest --preset default
cmake --preset windows
cmake --build --preset windows
ctest --preset windows
