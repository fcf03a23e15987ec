#!/usr/bin/env bash
# Set-up, build and the whole test suite: the Linux build, then the Windows
# builds (MinGW-w64, x64 and x86) with their tests under the Wine of their
# bitness, in private prefixes the test run makes and removes again
# (build/windows-<arch>/wine-*), headless. VELTRANO_PRESET names the
# Linux build's preset (default: default; CI takes release, at -O3).
set -euo pipefail
cd "$(dirname "$0")/.."
linux=${VELTRANO_PRESET:-default}
scripts/build.sh "$linux"
ctest --preset "$linux"
for arch in x64 x86; do
  cmake --preset "windows-$arch" -DVELTRANO_LINUX_BUILD_DIR="$PWD/build/$linux"
  cmake --build --preset "windows-$arch"
  ctest --preset "windows-$arch"
done
