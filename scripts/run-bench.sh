#!/usr/bin/env bash
# The benchmark suite: installs what is missing, builds the suite with what
# it runs (FIX.exe, libveltrano.so), runs every case or the ones named and
# prints one table. Options go to the suite (bin/veltrano_bench --list).
#
#   scripts/run-bench.sh [--runs N] [--process-runs N] [CASE...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target veltrano_bench
exec build/default/bin/veltrano_bench "$@"
