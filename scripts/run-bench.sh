#!/usr/bin/env bash
# The benchmark suite: installs what is missing, builds the suite with what
# it runs (FIX.exe, libveltrano.so, and the Windows builds' FIX.exe and
# Veltrano.dll for the windows case), runs every case or the ones named and
# prints one table. Options go to the suite (bin/veltrano_bench --list).
#
#   scripts/run-bench.sh [--runs N] [--process-runs N] [CASE...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target veltrano_bench
# The windows case runs the Windows builds' FIX.exe and Veltrano.dll under Wine.
if [[ $# -eq 0 || " $* " == *" windows "* ]]; then
  for arch in x64 x86; do
    cmake --preset "windows-$arch" >/dev/null
    targets=(fix_exe veltrano)
    # The runtime DLLs beside them, where the build copies them.
    if ninja -C "build/windows-$arch" -t targets all | grep -q '^mingw_runtime:'; then
      targets+=(mingw_runtime)
    fi
    cmake --build --preset "windows-$arch" --target "${targets[@]}"
  done
fi
exec build/default/bin/veltrano_bench "$@"
