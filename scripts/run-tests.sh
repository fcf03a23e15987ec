#!/usr/bin/env bash
# Set-up, build and the whole test suite: the Linux build, then the Windows
# builds (MinGW-w64, x64 and x86) with their tests under the Wine of their
# bitness, each in a private prefix the test run makes
# (build/windows-<arch>/wine-prefix), headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
ctest --preset default
for arch in x64 x86; do
  cmake --preset "windows-$arch"
  cmake --build --preset "windows-$arch"
  ctest --preset "windows-$arch"
done
