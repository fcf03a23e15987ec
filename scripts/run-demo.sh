#!/usr/bin/env bash
# Set-up (only what the demo needs), the programs' build (no tests) and the
# sample application, run on a copy of examples/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --demo
cmake --preset demo
cmake --build --preset demo
exec scripts/demo.sh build/demo
