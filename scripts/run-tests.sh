#!/usr/bin/env bash
# Set-up, build and the whole test suite: the Linux build, then the Windows
# build (MinGW-w64) with its tests under Wine, in a private prefix the test
# run makes (build/windows/wine-prefix), headless. VELTRANO_PRESET names the
# Linux build's preset (default: default; CI takes release, at -O3).
set -euo pipefail
cd "$(dirname "$0")/.."
linux=${VELTRANO_PRESET:-default}
scripts/build.sh "$linux"
ctest --preset "$linux"
cmake --preset windows -DVELTRANO_LINUX_BUILD_DIR="$PWD/build/$linux"
cmake --build --preset windows
ctest --preset windows
